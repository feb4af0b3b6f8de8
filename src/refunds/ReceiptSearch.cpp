#include "refunds/ReceiptSearch.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/OwnedSchema.h"
#include "core/POSTextUtils.h"
#include "core/SearchText.h"
#include "customers/CustomerList.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace {
// Status words compare as on the server: letter case and trailing blanks do not count.
const QString kNewestSql = QStringLiteral(
    "SELECT TOP 500 F.FisID, F.FisNo, F.Tarih, C.CariAdi AS Musteri, K.AdSoyad AS Kasiyer, "
    "ISNULL(F.GenelToplam, 0) AS GenelToplam, ISNULL(F.OdemeTipi, '') AS OdemeTipi, "
    "ISNULL(F.FisDurumu, 'AKTIF') AS FisDurumu FROM SatisFis F LEFT JOIN CariKart C ON C.CariID "
    "= F.MusteriID LEFT JOIN Kullanici K ON K.KullaniciID = F.KullaniciID WHERE F.SubeID = "
    ":SubeID AND UPPER(RTRIM(ISNULL(F.FisDurumu, 'AKTIF'))) = 'AKTIF' ORDER BY F.Tarih DESC, "
    "F.FisID DESC");
// How the two engines spell the receipt search's statements. SQL Server folds letter case by
// its collation; SQLite's LIKE folds only ASCII letters, so its texts also compare the Turkish
// folding of both sides (TRFOLD and the folded pattern). The typed text is a LIKE pattern with
// every special character escaped ("!" is the escape).
struct TSpelling {
    bool Sqlite = false;

    QString IsNull() const { return Sqlite ? QStringLiteral("IFNULL") : QStringLiteral("ISNULL"); }
    QString Top(const QString& n) const
    {
        return Sqlite ? QString() : QStringLiteral("TOP (%1) ").arg(n);
    }
    QString Limit(const QString& n) const
    {
        return Sqlite ? QStringLiteral(" LIMIT %1").arg(n) : QString();
    }
    QString Number(const QString& row) const
    {
        return Sqlite ? QStringLiteral("IFNULL(NULLIF(RTRIM(%1.FisNo), ''), 'FIS-' || %1.FisID)")
                            .arg(row)
                      : QStringLiteral("ISNULL(NULLIF(RTRIM(%1.FisNo), ''), 'FIS-' + "
                                       "CAST(%1.FisID AS NVARCHAR(20)))")
                            .arg(row);
    }
    QString Id(const QString& row) const
    {
        return Sqlite ? QStringLiteral("CAST(%1.FisID AS TEXT)").arg(row)
                      : QStringLiteral("CAST(%1.FisID AS NVARCHAR(20))").arg(row);
    }
    // `text` holds the filter: its plain pattern :P<plain>, and on SQLite its folded pattern
    // :T<folded> against the folded text.
    QString Holds(const QString& text, int plain, int folded, bool foldable = true) const
    {
        const QString like = QStringLiteral("%1 LIKE :P%2 ESCAPE '!'").arg(text).arg(plain);
        if (!Sqlite || !foldable)
            return like;
        return like + QStringLiteral(" OR TRFOLD(%1) LIKE :T%2 ESCAPE '!'").arg(text).arg(folded);
    }
    QString CustomerHolds(int plain, int folded) const
    {
        return Holds(IsNull() + QStringLiteral("(C.CariAdi, '')"), plain, folded);
    }
    QString CashierHolds(int plain, int folded) const
    {
        return Holds(IsNull() + QStringLiteral("(K.AdSoyad, '')"), plain, folded);
    }
    // The filter in the number as listed, the id's digits, the customer's or the cashier's name;
    // the patterns from :P<plain> (four) and :T<folded> (three) on.
    QString Matches(int plain, int folded) const
    {
        return QStringLiteral("(%1 OR %2 OR %3 OR %4)")
            .arg(Holds(Number(QStringLiteral("F")), plain, folded),
                 Holds(Id(QStringLiteral("F")), plain + 1, 0, false),
                 CustomerHolds(plain + 2, folded + 1), CashierHolds(plain + 3, folded + 2));
    }
    // The listed receipts of the branch :SubeID<sube>.
    QString Listed(int sube) const
    {
        return QStringLiteral("F.SubeID = :S%1 AND UPPER(RTRIM(%2(F.FisDurumu, 'AKTIF'))) = "
                              "'AKTIF'")
            .arg(sube)
            .arg(IsNull());
    }
    // The listed columns of the receipts `from` names (SatisFis F, joined to what it is read
    // through).
    QString Columns(const QString& from = QStringLiteral("SatisFis F")) const
    {
        return QStringLiteral("F.FisID, F.FisNo, F.Tarih, C.CariAdi AS Musteri, K.AdSoyad AS "
                              "Kasiyer, %1(F.GenelToplam, 0) AS GenelToplam, %1(F.OdemeTipi, '') "
                              "AS OdemeTipi, %1(F.FisDurumu, 'AKTIF') AS FisDurumu FROM %2 LEFT "
                              "JOIN CariKart C ON C.CariID = F.MusteriID LEFT JOIN Kullanici K ON "
                              "K.KullaniciID = F.KullaniciID ")
            .arg(IsNull(), from);
    }
    // Receipts the key does not hold yet: those above the fill's mark, none once it is done.
    QString Unkeyed() const
    {
        return QStringLiteral("F.FisID > %1((SELECT %1(DoluID, %2) FROM AramaDurum WHERE Tablo "
                              "= 'SatisFis'), 0)")
            .arg(IsNull(),
                 Sqlite ? QStringLiteral("9223372036854775807") : QStringLiteral("2147483647"));
    }
    QString Json(const QString& param, const QString& columns, const QString& server,
                 const QString& sqlite) const
    {
        return Sqlite ? QStringLiteral("SELECT %1 FROM json_each(:%2)").arg(sqlite, param)
                      : QStringLiteral("SELECT %1 FROM OPENJSON(:%2) WITH (%3)")
                            .arg(columns, param, server);
    }
};

constexpr int kBoundedCount = 50000;

// The same receipts where the filter occurs in the number as listed, the id's digits, the
// customer's or the cashier's name, in one statement of two halves, of which one reads:
// - the receipts that can hold the filter, through the search key, when they are few: those of
//   the customers and cashiers whose names hold it (found in their own small tables), the
//   receipts the key notes for a number other than "FIS-" and their id (SatisFisNo), those the
//   key does not hold yet, and the ids whose "FIS-" number can hold it (:Araliklar, ranges of
//   ids that begin with the typed digits; :Dilimler, the ids that hold the typed digits
//   somewhere, as steps through the ids up to the highest one). A filter that no receipt holds
//   costs a look at these, not a pass over the history;
// - otherwise the branch's receipts newest first, tested one by one, which stops early when many
//   match.
// How many there are is counted up to kBoundedCount each, or reckoned for the ids, and the
// first half reads them when that count, squared, is at most 250 times the highest receipt id
// (a pass newest first reads about 500 times the history over that count to find 500).
QString FilteredText(const TSpelling& s)
{
    const QString ranges = s.Json(QStringLiteral("Araliklar"), QStringLiteral("Lo, Hi"),
                                  QStringLiteral("Lo BIGINT '$.a', Hi BIGINT '$.b'"),
                                  QStringLiteral("json_extract(value, '$.a') AS Lo, "
                                                 "json_extract(value, '$.b') AS Hi"));
    const QString steps =
        s.Json(QStringLiteral("Dilimler"), QStringLiteral("Lo, Genislik, Adim"),
               QStringLiteral("Lo BIGINT '$.a', Genislik BIGINT '$.g', Adim BIGINT '$.s'"),
               QStringLiteral("json_extract(value, '$.a') AS Lo, json_extract(value, '$.g') AS "
                              "Genislik, json_extract(value, '$.s') AS Adim"));
    const QString bound = QString::number(kBoundedCount + 1);
    const auto counted = [&](const QString& from) {
        return QStringLiteral("(SELECT COUNT(*) FROM (SELECT %1 1 AS X FROM %2%3) Z)")
            .arg(s.Top(bound), from, s.Limit(bound));
    };
    const QString real = s.Sqlite ? QStringLiteral("REAL") : QStringLiteral("FLOAT");
    const QString order = QStringLiteral(" ORDER BY F.Tarih DESC, F.FisID DESC");
    return QStringLiteral("WITH N AS (SELECT %1(MAX(FisID), 0) AS EnBuyuk FROM SatisFis), B AS "
                          "(%2), D AS (%3), ")
               .arg(s.IsNull(), ranges, steps) +
           QStringLiteral("R (Lo, Genislik, Adim) AS (SELECT D.Lo, D.Genislik, D.Adim FROM D "
                          "CROSS JOIN N WHERE D.Lo <= N.EnBuyuk UNION ALL SELECT R.Lo + R.Adim, "
                          "R.Genislik, R.Adim FROM R CROSS JOIN N WHERE R.Lo + R.Adim <= "
                          "N.EnBuyuk), ") +
           QStringLiteral("Cm AS (SELECT C.CariID FROM CariKart C WHERE %1), Kz AS (SELECT "
                          "K.KullaniciID FROM Kullanici K WHERE %2), ")
               .arg(s.CustomerHolds(9, 7), s.CashierHolds(10, 8)) +
           QStringLiteral("Say AS (SELECT %1 + %2 + %3 + %4 + (SELECT %5(SUM(CASE WHEN B.Lo <= "
                          "N.EnBuyuk THEN (CASE WHEN B.Hi < N.EnBuyuk THEN B.Hi ELSE N.EnBuyuk "
                          "END) - B.Lo + 1 ELSE 0 END), 0) FROM B CROSS JOIN N) + (SELECT "
                          "%5(SUM(CASE WHEN D.Lo <= N.EnBuyuk THEN ((N.EnBuyuk - D.Lo) / D.Adim + "
                          "1) * D.Genislik ELSE 0 END), 0) FROM D CROSS JOIN N) AS Adet), ")
               .arg(counted(QStringLiteral("SatisFis F WHERE F.SubeID = :S1 AND F.MusteriID IN "
                                           "(SELECT CariID FROM Cm)")),
                    counted(QStringLiteral("SatisFis F WHERE F.SubeID = :S2 AND F.KullaniciID IN "
                                           "(SELECT KullaniciID FROM Kz)")),
                    counted(QStringLiteral("SatisFisNo")),
                    counted(QStringLiteral("SatisFis F WHERE ") + s.Unkeyed()), s.IsNull()) +
           QStringLiteral("K AS (SELECT CASE WHEN Say.Adet <= %1 AND CAST(Say.Adet AS %2) * "
                          "Say.Adet <= 250.0 * N.EnBuyuk THEN 500 ELSE 0 END AS Seyrek FROM Say "
                          "CROSS JOIN N), ")
               .arg(kBoundedCount)
               .arg(real) +
           QStringLiteral("A (FisID) AS (SELECT F.FisID FROM SatisFis F WHERE F.SubeID = :S3 AND "
                          "F.MusteriID IN (SELECT CariID FROM Cm) UNION SELECT F.FisID FROM "
                          "SatisFis F WHERE F.SubeID = :S4 AND F.KullaniciID IN (SELECT "
                          "KullaniciID FROM Kz) UNION SELECT FisID FROM SatisFisNo UNION SELECT "
                          "F.FisID FROM SatisFis F WHERE %1 UNION SELECT F.FisID FROM B JOIN "
                          "SatisFis F ON F.FisID BETWEEN B.Lo AND B.Hi UNION SELECT F.FisID FROM "
                          "R JOIN SatisFis F ON F.FisID BETWEEN R.Lo AND R.Lo + R.Genislik - 1) ")
               .arg(s.Unkeyed()) +
           QStringLiteral("SELECT * FROM (SELECT %1%2WHERE %3 AND %4%5%6) A1 UNION ALL ")
               .arg(s.Top(QStringLiteral("(SELECT Seyrek FROM K)")),
                    // SQLite is told to read the candidates first: its planner would rather walk
                    // the branch's receipts in time order.
                    s.Columns(s.Sqlite
                                  ? QStringLiteral("A CROSS JOIN SatisFis F ON F.FisID = A.FisID")
                                  : QStringLiteral("A JOIN SatisFis F ON F.FisID = A.FisID")),
                    s.Listed(5), s.Matches(1, 1), order,
                    s.Limit(QStringLiteral("(SELECT Seyrek FROM K)"))) +
           QStringLiteral("SELECT * FROM (SELECT %1%2WHERE %3 AND %4%5%6) A2 ORDER BY Tarih DESC, "
                          "FisID DESC%7")
               .arg(s.Top(QStringLiteral("(SELECT 500 - Seyrek FROM K)")), s.Columns(), s.Listed(6),
                    s.Matches(5, 4), order, s.Limit(QStringLiteral("(SELECT 500 - Seyrek FROM K)")),
                    s.Sqlite ? QString() : QStringLiteral(" OPTION (MAXRECURSION 0)"));
}

// The shape of the receipt numbers the program writes, "FIS-" and the id, that the filter can
// occur in, read loosely (letter case, the Turkish i's and full-width forms alike), so that no
// receipt whose number holds the filter by either engine's rule is left out.
struct TNumberShape {
    enum class TKind { None, Every, StartsWith, Contains };
    TKind Kind = TKind::None;
    QString Digits;
};

TNumberShape NumberShape(const QString& filter)
{
    QString loose;
    for (const QChar c : filter.normalized(QString::NormalizationForm_KC)) {
        if (c == u'I' || c == u'ı' || c == u'İ')
            loose += u'i';
        else
            loose += c.unicode() < 128 ? c.toLower() : c;
    }
    const auto digits = [](const QString& text) {
        return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(),
                                              [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    const QString prefix = QStringLiteral("fis-");
    if (prefix.contains(loose))
        return {TNumberShape::TKind::Every, {}};
    if (digits(loose))
        return {TNumberShape::TKind::Contains, loose};
    for (qsizetype from = 0; from < prefix.size(); ++from) {
        const QString head = prefix.mid(from);
        if (loose.startsWith(head) && digits(loose.mid(head.size())))
            return {TNumberShape::TKind::StartsWith, loose.mid(head.size())};
    }
    return {};
}

constexpr qint64 kLargestId = 2147483647;

// The ids whose digits begin with `digits`: digits, digits0 to digits9, digits00 to digits99...
QString StartRanges(const QString& digits)
{
    QJsonArray ranges;
    if (!digits.startsWith(u'0') && digits.size() <= 10) {
        for (qint64 scale = 1, lo = digits.toLongLong(); lo <= kLargestId; scale *= 10) {
            lo = digits.toLongLong() * scale;
            if (lo > kLargestId)
                break;
            ranges.append(
                QJsonObject{{QStringLiteral("a"), lo},
                            {QStringLiteral("b"), (digits.toLongLong() + 1) * scale - 1}});
        }
    }
    return QString::fromUtf8(QJsonDocument(ranges).toJson(QJsonDocument::Compact));
}

// The ids whose digits hold `digits` somewhere: for each place p from the right, the runs of
// 10^p ids beginning at (h * 10^k + digits) * 10^p for h = 0, 1, 2 ... (k the number of digits;
// h from 1 when the digits begin with 0, which no id begins with), as a first run, its width and
// the step to the next.
QString ContainSteps(const QString& digits)
{
    QJsonArray steps;
    const qsizetype k = digits.size();
    if (k <= 10) {
        qint64 width = 1;
        qint64 span = 1;
        for (qsizetype i = 0; i < k; ++i)
            span *= 10;
        for (qsizetype p = 0; p + k <= 10; ++p, width *= 10) {
            const qint64 step = span * width;
            qint64 lo = digits.toLongLong() * width;
            if (digits.startsWith(u'0'))
                lo += step;
            if (lo > kLargestId)
                break;
            steps.append(QJsonObject{{QStringLiteral("a"), lo},
                                     {QStringLiteral("g"), width},
                                     {QStringLiteral("s"), step}});
        }
    }
    return QString::fromUtf8(QJsonDocument(steps).toJson(QJsonDocument::Compact));
}

// "%" + the text with "!", "%", "_" and "[" escaped by "!" + "%".
QString ContainsPattern(const QString& text)
{
    QString pattern(u'%');
    for (const QChar c : text) {
        if (c == u'!' || c == u'%' || c == u'_' || c == u'[')
            pattern += u'!';
        pattern += c;
    }
    return pattern + u'%';
}

QString OrDash(const QString& Text)
{
    const QString trimmed = Text.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("-") : trimmed;
}

// The branch's listed receipts holding the filter, newest first, each tested in turn.
QString PlainText(const TSpelling& s)
{
    return QStringLiteral("SELECT %1%2WHERE %3 AND %4 ORDER BY F.Tarih DESC, F.FisID DESC%5")
        .arg(s.Top(QStringLiteral("500")), s.Columns(), s.Listed(1), s.Matches(1, 1),
             s.Limit(QStringLiteral("500")));
}

void BindPatterns(TDbQuery& query, const QString& filter, int plain, int folded)
{
    const QString plainPattern = ContainsPattern(filter);
    const QString foldedPattern = ContainsPattern(SearchText::Fold(filter));
    for (int i = 1; i <= plain; ++i)
        query.Param(QStringLiteral("P%1").arg(i), plainPattern);
    for (int i = 1; i <= folded && dmMain->Dialect().IsSqlite(); ++i)
        query.Param(QStringLiteral("T%1").arg(i), foldedPattern);
}

QList<TReceiptRow> Read(TDbQuery& query)
{
    query.Exec();
    QList<TReceiptRow> rows;
    while (rows.size() < TReceiptSearch::MaxRows && query.Next()) {
        TReceiptRow row;
        row.FisID = query.Value(QStringLiteral("FisID")).toInt();
        const QString fisNo = query.Value(QStringLiteral("FisNo")).toString().trimmed();
        row.FisNo = fisNo.isEmpty() ? QStringLiteral("FIS-%1").arg(row.FisID) : fisNo;
        row.Tarih = VariantToDateTime(query.Value(QStringLiteral("Tarih")));
        row.Musteri = OrDash(query.Value(QStringLiteral("Musteri")).toString());
        row.Kasiyer = OrDash(query.Value(QStringLiteral("Kasiyer")).toString());
        row.GenelToplam = FieldToFloatDef(query, QStringLiteral("GenelToplam"), 0);
        row.OdemeTipi = query.Value(QStringLiteral("OdemeTipi")).toString();
        row.FisDurumu = query.Value(QStringLiteral("FisDurumu")).toString();
        rows << row;
    }
    return rows;
}
} // namespace

QList<TReceiptRow> TReceiptSearch::LoadReceipts(const QString& Filter, int SubeID)
{
    TCustomerList::EnsureCariKartTable();
    const QString filter = Filter.trimmed();
    if (filter.isEmpty()) {
        TDbQuery query(kNewestSql);
        query.Param(QStringLiteral("SubeID"), SubeID);
        return Read(query);
    }
    const TNumberShape shape = NumberShape(filter);
    // Every number the program writes holds "FIS" or "-": the plain statement finds 500 at once.
    if (shape.Kind == TNumberShape::TKind::Every)
        return LoadReceiptsByStatement(filter, SubeID);
    OwnedSchema::Run(OwnedSchema::SearchKeyStatements());
    TDbQuery query(dmMain->Composed(
        [](const SqlDialect& d) { return FilteredText(TSpelling{d.IsSqlite()}); }));
    for (int i = 1; i <= 6; ++i)
        query.Param(QStringLiteral("S%1").arg(i), SubeID);
    query
        .Param(QStringLiteral("Araliklar"), shape.Kind == TNumberShape::TKind::StartsWith
                                                ? StartRanges(shape.Digits)
                                                : QStringLiteral("[]"))
        .Param(QStringLiteral("Dilimler"), shape.Kind == TNumberShape::TKind::Contains
                                               ? ContainSteps(shape.Digits)
                                               : QStringLiteral("[]"));
    BindPatterns(query, filter, 10, 8);
    return Read(query);
}

QList<TReceiptRow> TReceiptSearch::LoadReceiptsByStatement(const QString& Filter, int SubeID)
{
    const QString filter = Filter.trimmed();
    if (filter.isEmpty())
        return LoadReceipts(Filter, SubeID);
    TCustomerList::EnsureCariKartTable();
    TDbQuery query(
        dmMain->Composed([](const SqlDialect& d) { return PlainText(TSpelling{d.IsSqlite()}); }));
    query.Param(QStringLiteral("S1"), SubeID);
    BindPatterns(query, filter, 4, 3);
    return Read(query);
}

QList<int> TReceiptSearch::ColumnWidths(int Available)
{
    if (Available <= 0)
        return {};
    QList<int> widths{0};
    int used = 0;
    for (const int weight : {120, 150, 250, 160, 120, 100}) {
        widths << int(std::lround(double(weight) * Available / 990));
        used += widths.last();
    }
    widths << qMax(0, Available - used);
    return widths;
}
