#pragma once

#include <QString>

// The four-function desk calculator without its window: the accumulator, the last operand read
// from the display, the pending operation and the display text. Operations chain from left to
// right without precedence (2 + 3 × 4 = gives 20).
//
// The display never shows "inf", "nan" or an exponent: a result is written with at most 15
// significant digits in plain decimals with the regional separator. Dividing by zero, or a
// result of 10^15 or more that 15 digits cannot hold, shows "0" and the next operator continues
// from 0. An entry takes at most 15 digits.
class TCalculator {
public:
    // Pending operations; None while a number is typed, ResultShown after "=" (the next digit
    // starts a new number).
    enum TOperation { ResultShown = -1, None = 0, Add = 1, Subtract = 2, Multiply = 3, Divide = 4 };

    static constexpr int MaxDigits = 15;

    void Digit(int digit);
    void Separator();
    void Operator(TOperation operation);
    void Equals();
    void ToggleSign();
    void Backspace();
    void Clear();

    // A key typed on the keyboard: digits, "," and ".", "+", "-", "*", "/", "x" and "X", "=",
    // "C" and "c". Returns whether the key was one of them.
    bool Key(QChar key);

    const QString& Display() const { return FDisplay; }
    double First() const { return FFirst; }
    double Second() const { return FSecond; }
    int Operation() const { return FCurrentOperation; }

    // The value of a display text: empty or "-" alone read as 0.
    static double DisplayValue(const QString& text);
    // `value` as the display shows a result.
    static QString ResultText(double value);

private:
    void Calculate();
    void StartEntryAfterResult();
    void ShowZeroResult();

    double FFirst = 0;
    double FSecond = 0;
    int FCurrentOperation = None;
    QString FDisplay;
};
