#include "core/TypedNumber.h"

#include <cmath>

namespace {
bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool OnlyDigitsAndMarks(QStringView text)
{
    for (const QChar c : text) {
        if (!IsAsciiDigit(c) && c != u'.' && c != u',')
            return false;
    }
    return true;
}

// The mark written once at `at` stands where a thousands mark would.
bool StandsAsThousandsMark(QStringView text, qsizetype at)
{
    const qsizetype before = at;
    const qsizetype after = text.size() - at - 1;
    return before >= 1 && before <= 3 && text.at(0) != u'0' && after == 3;
}

bool ProperGroups(QStringView integer, QChar mark)
{
    const QList<QStringView> groups = integer.split(mark);
    const QStringView first = groups.first();
    if (first.isEmpty() || first.size() > 3 || first.at(0) == u'0')
        return false;
    for (qsizetype i = 1; i < groups.size(); ++i) {
        if (groups.at(i).size() != 3)
            return false;
    }
    return true;
}

struct TMarks {
    QChar Decimal; // null: the number has no decimal separator
    QChar Group;   // null: no grouping
    bool Valid = true;
};

TMarks FindMarks(QStringView text, const QLocale& locale)
{
    const qsizetype dot = text.lastIndexOf(u'.');
    const qsizetype comma = text.lastIndexOf(u',');
    if (dot >= 0 && comma >= 0) {
        const QChar decimal = dot > comma ? u'.' : u',';
        return {decimal, dot > comma ? u',' : u'.', text.count(decimal) == 1};
    }
    if (dot < 0 && comma < 0)
        return {};
    const QChar mark = dot >= 0 ? u'.' : u',';
    if (text.count(mark) > 1)
        return {QChar(), mark};
    if (locale.groupSeparator() == QString(mark) &&
        StandsAsThousandsMark(text, dot >= 0 ? dot : comma))
        return {QChar(), mark};
    return {mark, QChar()};
}
} // namespace

std::optional<double> ReadTypedNumber(const QString& Text, const TNumberRules& Rules,
                                      const QLocale& Locale)
{
    QStringView text = QStringView(Text).trimmed();
    if (Rules.CurrencyUnit && text.endsWith(u"TL", Qt::CaseInsensitive))
        text = text.chopped(2).trimmed();
    bool negative = false;
    if (Rules.Signed && text.startsWith(u'-')) {
        negative = true;
        text = text.mid(1);
    }
    if (!OnlyDigitsAndMarks(text))
        return std::nullopt;

    const TMarks marks = FindMarks(text, Locale);
    if (!marks.Valid)
        return std::nullopt;
    const qsizetype point = marks.Decimal.isNull() ? -1 : text.indexOf(marks.Decimal);
    const QStringView integer = point < 0 ? text : text.left(point);
    const QStringView fraction = point < 0 ? QStringView() : text.mid(point + 1);
    if (integer.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    if (!marks.Group.isNull() && !ProperGroups(integer, marks.Group))
        return std::nullopt;
    if (Rules.MaxDecimals >= 0 && fraction.size() > Rules.MaxDecimals)
        return std::nullopt;

    QString digits = integer.isEmpty() ? QStringLiteral("0") : integer.toString();
    if (!marks.Group.isNull())
        digits.remove(marks.Group);
    if (!fraction.isEmpty())
        digits += u'.' + fraction.toString();
    bool ok = false;
    const double value = QLocale::c().toDouble(digits, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    if (value == 0)
        return 0.0;
    return negative ? -value : value;
}
