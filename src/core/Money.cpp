#include "core/Money.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

double TMoney::RoundHalfAway(double Value, int Places)
{
    const double factor = std::pow(10.0, Places);
    return std::round(Value * factor + std::copysign(1e-7, Value)) / factor;
}

double TMoney::RoundKurus(double Value)
{
    return RoundHalfAway(Value, 2);
}

double TMoney::RoundLineAmount(double Value)
{
    return RoundHalfAway(Value, 4);
}

double TMoney::RoundQuantity(double Value)
{
    return RoundHalfAway(Value, 3);
}

double TMoney::RoundRate(double Value)
{
    return RoundHalfAway(Value, 2);
}

TDecimalDigits TMoney::ShownDigits(double Value, int Places)
{
    const double value = std::isfinite(Value) ? Value : 0.0;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    const QString text = QString::fromLatin1(buffer);
    const int e = int(text.indexOf(u'e'));
    QString digits = text.left(e).remove(u'.');
    const int exponent = text.mid(e + 1).toInt();
    // digits d0 d1 ... with the decimal point after position exponent + 1
    int pointAt = exponent + 1;
    if (pointAt <= 0) {
        digits.prepend(QString(-pointAt + 1, u'0'));
        pointAt = 1;
    }
    if (digits.size() < pointAt + Places + 1)
        digits.append(QString(pointAt + Places + 1 - int(digits.size()), u'0'));
    QString kept = digits.left(pointAt + Places);
    if (digits.at(pointAt + Places) >= u'5') {
        int i = int(kept.size()) - 1;
        for (; i >= 0; --i) {
            if (kept[i] == u'9') {
                kept[i] = u'0';
                continue;
            }
            kept[i] = QChar(kept[i].unicode() + 1);
            break;
        }
        if (i < 0) {
            kept.prepend(u'1');
            ++pointAt;
        }
    }
    TDecimalDigits result;
    result.Integer = kept.left(pointAt);
    result.Fraction = kept.mid(pointAt);
    while (result.Integer.size() > 1 && result.Integer.startsWith(u'0'))
        result.Integer.remove(0, 1);
    // Every amount of a report passes here: a plain scan, not a pattern compiled per call.
    const bool zero =
        std::none_of(kept.cbegin(), kept.cend(), [](QChar c) { return c >= u'1' && c <= u'9'; });
    result.Negative = value < 0 && !zero;
    return result;
}

double TMoney::KurusAsShown(double Value)
{
    const TDecimalDigits d = ShownDigits(Value, 2);
    QString text = d.Integer + u'.' + d.Fraction;
    if (d.Negative)
        text.prepend(u'-');
    return text.toDouble();
}
