#include "core/POSTextUtils.h"

#include "core/DbQuery.h"
#include "core/Money.h"
#include "core/TypedNumber.h"

#include <QLocale>

namespace {
bool IsNumberType(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Float:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

double ReadRegionalNumber(const QString& text, double fallback)
{
    const QLocale locale;
    const QString separator = locale.decimalPoint();
    QString normalised = text;
    normalised.replace(u'.', separator).replace(u',', separator);
    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double value = strict.toDouble(normalised, &ok);
    if (!ok && normalised.endsWith(separator)) // "7." reads as 7
        value = strict.toDouble(normalised.chopped(separator.size()), &ok);
    return ok ? value : fallback;
}

QString Grouped(const QString& integer, const QString& separator)
{
    QString out;
    const int n = int(integer.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += integer.at(i);
    }
    return out;
}
} // namespace

double VariantToFloatDef(const QVariant& Value, double Default)
{
    if (!Value.isValid() || Value.isNull())
        return Default;
    if (IsNumberType(Value))
        return Value.toDouble();
    if (Value.metaType().id() != QMetaType::QString &&
        Value.metaType().id() != QMetaType::QByteArray)
        return Default;
    const QString text = Value.toString().trimmed();
    if (text.isEmpty())
        return Default;
    return ReadRegionalNumber(text, Default);
}

double FieldToFloatDef(const TDbQuery& Query, const QString& Field, double Default)
{
    if (!Query.HasField(Field))
        return Default;
    return VariantToFloatDef(Query.Value(Field), Default);
}

double ParseDecimalText(const QString& Text, double Default)
{
    return ReadTypedNumber(Text, TNumberRules::SignedDecimal()).value_or(Default);
}

QString FoldKey(const QString& Text)
{
    QString result;
    for (const QChar c : Text.trimmed()) {
        const char16_t u = c.unicode();
        if (u == u' ' || u == u'-' || u == u'_')
            continue;
        if (u >= u'a' && u <= u'z')
            result += QChar(u - 32);
        else if (u == u'Ç' || u == u'ç')
            result += u'C';
        else if (u == u'Ö' || u == u'ö')
            result += u'O';
        else if (u == u'Ü' || u == u'ü')
            result += u'U';
        else if (u == u'Ğ' || u == u'ğ')
            result += u'G';
        else if (u == u'İ' || u == u'ı')
            result += u'I';
        else if (u == u'Ş' || u == u'ş')
            result += u'S';
        else
            result += c;
    }
    return result;
}

namespace {
struct TDisplayWord {
    const char16_t* Key;
    const char16_t* Upper;
    const char16_t* Mixed;
};

QString DisplayWord(const QString& value, bool upperCase, std::initializer_list<TDisplayWord> words)
{
    const QString key = FoldKey(value);
    for (const TDisplayWord& w : words) {
        if (key == QStringView(w.Key))
            return QString::fromUtf16(upperCase ? w.Upper : w.Mixed);
    }
    return value.trimmed();
}
} // namespace

QString PaymentTypeDisplay(const QString& Value, bool UpperCase)
{
    return DisplayWord(Value, UpperCase,
                       {{u"NAKIT", u"NAKİT", u"Nakit"},
                        {u"KART", u"KART", u"Kart"},
                        {u"PARCALI", u"PARÇALI", u"Parçalı"},
                        {u"KARMA", u"PARÇALI", u"Parçalı"}});
}

QString StatusDisplay(const QString& Value, bool UpperCase)
{
    return DisplayWord(Value, UpperCase,
                       {{u"ACIK", u"AÇIK", u"Açık"},
                        {u"KAPALI", u"KAPALI", u"Kapalı"},
                        {u"AKTIF", u"AKTİF", u"Aktif"},
                        {u"PASIF", u"PASİF", u"Pasif"},
                        {u"IADE", u"İADE", u"İade"},
                        {u"IPTAL", u"İPTAL", u"İptal"}});
}

QString FormatFloat(const QString& Pattern, double Value)
{
    int end = 0;
    while (end < Pattern.size() && QStringView(u"#,0.").contains(Pattern.at(end)))
        ++end;
    const QString number = Pattern.left(end);
    const QString suffix = Pattern.mid(end);
    const int dot = int(number.indexOf(u'.'));
    const QString fraction = dot < 0 ? QString() : number.mid(dot + 1);
    const int minDecimals = int(fraction.count(u'0'));
    const int maxDecimals = int(fraction.size());
    const bool grouping = number.left(dot < 0 ? number.size() : dot).contains(u',');

    const TDecimalDigits d = TMoney::ShownDigits(Value, maxDecimals);
    QString digits = d.Fraction;
    while (digits.size() > minDecimals && digits.endsWith(u'0'))
        digits.chop(1);
    const QLocale locale;
    QString text = grouping ? Grouped(d.Integer, locale.groupSeparator()) : d.Integer;
    if (!digits.isEmpty())
        text += locale.decimalPoint() + digits;
    if (d.Negative)
        text.prepend(u'-');
    return text + suffix;
}

QString FormatMoney(double Value)
{
    return FormatFloat(QStringLiteral("#,##0.00 TL"), Value);
}

QDateTime VariantToDateTime(const QVariant& Value)
{
    if (Value.metaType().id() == QMetaType::QDateTime)
        return Value.toDateTime();
    if (Value.metaType().id() == QMetaType::QDate)
        return Value.toDate().startOfDay();
    const QString text = Value.toString().trimmed();
    for (const QString& format :
         {QStringLiteral("yyyy-MM-dd HH:mm:ss"), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"),
          QStringLiteral("yyyy-MM-ddTHH:mm:ss"), QStringLiteral("yyyy-MM-dd HH:mm"),
          QStringLiteral("yyyy-MM-dd")}) {
        const QDateTime parsed = QDateTime::fromString(text, format);
        if (parsed.isValid())
            return parsed;
    }
    return {};
}
