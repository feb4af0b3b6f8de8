#include "customers/TaxNumbers.h"

#include <QList>

namespace TaxNumbers {
namespace {
// The digits of `number` when it is exactly `length` ASCII digits; empty otherwise.
QList<int> Digits(const QString& number, int length)
{
    if (number.size() != length)
        return {};
    QList<int> digits;
    for (const QChar c : number) {
        if (c < u'0' || c > u'9')
            return {};
        digits << c.unicode() - u'0';
    }
    return digits;
}
} // namespace

bool IsValidVKN(const QString& Number)
{
    const QList<int> d = Digits(Number, 10);
    if (d.isEmpty())
        return false;
    int sum = 0;
    for (int i = 0; i < 9; ++i) {
        const int shifted = (d[i] + 9 - i) % 10;
        if (shifted == 0)
            continue;
        const int weighted = (shifted * (1 << (9 - i))) % 9;
        sum += weighted == 0 ? 9 : weighted;
    }
    return (10 - sum % 10) % 10 == d[9];
}

bool IsValidTCKN(const QString& Number)
{
    const QList<int> d = Digits(Number, 11);
    if (d.isEmpty() || d[0] == 0)
        return false;
    const int odd = d[0] + d[2] + d[4] + d[6] + d[8];
    const int even = d[1] + d[3] + d[5] + d[7];
    // The difference can be negative; its remainder is taken in 0..9.
    const int tenth = ((odd * 7 - even) % 10 + 10) % 10;
    int firstTen = 0;
    for (int i = 0; i < 10; ++i)
        firstTen += d[i];
    return tenth == d[9] && firstTen % 10 == d[10];
}
} // namespace TaxNumbers
