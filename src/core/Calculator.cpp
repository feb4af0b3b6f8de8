#include "core/Calculator.h"

#include "core/POSTextUtils.h"

#include <QLocale>

#include <cmath>

namespace {
// The largest magnitude 15 significant digits hold before the decimal separator.
constexpr double kLimit = 1e15;
// A small result keeps its 15 significant digits behind at most this many zeros; smaller
// values lose digits at the far end, and below 10^-20 the display shows 0.
constexpr int MaxDecimalZeros = 5;
constexpr int MaxDecimals = 20;

QString DecimalSeparator()
{
    return QLocale().decimalPoint();
}

int DigitCount(const QString& text)
{
    int digits = 0;
    for (const QChar c : text)
        digits += c.isDigit() ? 1 : 0;
    return digits;
}
} // namespace

double TCalculator::DisplayValue(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed == u'-')
        return 0;
    return ParseDecimalText(trimmed, 0);
}

QString TCalculator::ResultText(double value)
{
    if (!std::isfinite(value) || std::fabs(value) >= kLimit - 0.5)
        return QStringLiteral("0");
    // Digits before the separator; 0 or less for a value below 1 (-3 for 0.000123).
    const int integerDigits = value == 0 ? 1 : int(std::floor(std::log10(std::fabs(value)))) + 1;
    const int decimals = qBound(0, MaxDigits - qMax(integerDigits, -MaxDecimalZeros), MaxDecimals);
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(value, 'f', decimals);
    const QString separator = DecimalSeparator();
    if (text.contains(separator)) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(separator))
            text.chop(separator.size());
    }
    // A tiny negative value rounds to "-0".
    if (text == QStringLiteral("-0"))
        text = QStringLiteral("0");
    return text;
}

void TCalculator::StartEntryAfterResult()
{
    if (FCurrentOperation >= 0)
        return;
    FDisplay.clear();
    FCurrentOperation = None;
}

void TCalculator::Digit(int digit)
{
    StartEntryAfterResult();
    if (DigitCount(FDisplay) >= MaxDigits)
        return;
    FDisplay += QChar(u'0' + digit);
}

void TCalculator::Separator()
{
    StartEntryAfterResult();
    const QString separator = DecimalSeparator();
    if (FDisplay.isEmpty()) {
        FDisplay = u'0' + separator;
        return;
    }
    if (!FDisplay.contains(u'.') && !FDisplay.contains(u','))
        FDisplay += separator;
}

void TCalculator::ShowZeroResult()
{
    FDisplay = QStringLiteral("0");
    FFirst = 0;
    FCurrentOperation = ResultShown;
}

void TCalculator::Calculate()
{
    if (FDisplay.trimmed().isEmpty())
        return;
    FSecond = DisplayValue(FDisplay);
    switch (FCurrentOperation) {
    case Add:
        FFirst += FSecond;
        break;
    case Subtract:
        FFirst -= FSecond;
        break;
    case Multiply:
        FFirst *= FSecond;
        break;
    case Divide:
        if (FSecond == 0) {
            ShowZeroResult();
            return;
        }
        FFirst /= FSecond;
        break;
    default:
        FFirst = FSecond;
        break;
    }
    if (!std::isfinite(FFirst) || std::fabs(FFirst) >= kLimit)
        ShowZeroResult();
}

void TCalculator::Operator(TOperation operation)
{
    Calculate();
    FCurrentOperation = operation;
    FDisplay.clear();
}

void TCalculator::Equals()
{
    Calculate();
    FDisplay = ResultText(FFirst);
    FSecond = 0;
    FCurrentOperation = ResultShown;
}

void TCalculator::ToggleSign()
{
    if (FDisplay.isEmpty())
        FDisplay = QStringLiteral("-");
    else if (FDisplay.startsWith(u'-'))
        FDisplay.remove(0, 1);
    else
        FDisplay.prepend(u'-');
}

void TCalculator::Backspace()
{
    FDisplay.chop(1);
}

void TCalculator::Clear()
{
    FFirst = 0;
    FSecond = 0;
    FCurrentOperation = ResultShown;
    FDisplay.clear();
}

bool TCalculator::Key(QChar key)
{
    if (key >= u'0' && key <= u'9') {
        Digit(key.unicode() - u'0');
        return true;
    }
    switch (key.unicode()) {
    case u',':
    case u'.':
        Separator();
        return true;
    case u'+':
        Operator(Add);
        return true;
    case u'-':
        Operator(Subtract);
        return true;
    case u'*':
    case u'x':
    case u'X':
        Operator(Multiply);
        return true;
    case u'/':
        Operator(Divide);
        return true;
    case u'=':
        Equals();
        return true;
    case u'C':
    case u'c':
        Clear();
        return true;
    default:
        return false;
    }
}
