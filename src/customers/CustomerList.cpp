#include "customers/CustomerList.h"

#include "core/DbQuery.h"
#include "core/OwnedSchema.h"
#include "core/POSTextUtils.h"
#include "core/TurkishText.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace {
// The filter runs here rather than in SQL: both engines then fold letter case by the same
// Turkish rules (SQLite folds only ASCII letters, SQL Server by its collation) and the typed
// text never becomes a LIKE pattern. Suppliers are left out here for the same reason: a type
// typed as "Tedarikçi" or "TEDARİKCİ" is a supplier too.
const QString kAccounts = QStringLiteral(
    "SELECT CariID, CariKodu, CariAdi, CariTipi, Telefon, VKN, TCKN, YetkiliKisi, CAST(0 AS "
    "DECIMAL(18,2)) AS Bakiye FROM CariKart WHERE ISNULL(IsDeleted, 0) = 0 AND ISNULL(IsActive, "
    "1) = 1");

bool IsSupplier(const QVariant& cariTipi)
{
    return FoldKey(cariTipi.toString()) == QLatin1String("TEDARIKCI");
}

// The positions of the fields in kAccounts.
enum TField { CariID, CariKodu, CariAdi, CariTipi, Telefon, VKN, TCKN, YetkiliKisi, Bakiye };

// The six searched fields are folded together, one per line: a filter typed into one line of
// text never spans two of them.
bool Matches(const TDbQuery& account, const QString& folded)
{
    if (folded.isEmpty())
        return true;
    QString fields;
    for (const TField field : {CariKodu, CariAdi, Telefon, VKN, TCKN, YetkiliKisi})
        fields += account.Value(field).toString() + u'\n';
    return TurkishUpper(fields).contains(folded);
}

void SortByName(QList<TCustomerRow>& rows)
{
    QCollator collator{QLocale(QLocale::Turkish, QLocale::Turkey)};
    std::stable_sort(rows.begin(), rows.end(), [&](const TCustomerRow& a, const TCustomerRow& b) {
        return collator.compare(a.CariAdi, b.CariAdi) < 0;
    });
}
} // namespace

void TCustomerList::EnsureCariKartTable()
{
    OwnedSchema::Run(OwnedSchema::CustomerListStatements());
}

QList<TCustomerRow> TCustomerList::LoadCustomers(const QString& Filter)
{
    const QString folded = TurkishUpper(Filter.trimmed());
    TDbQuery accounts(kAccounts);
    accounts.Exec();
    QList<TCustomerRow> rows;
    while (accounts.Next()) {
        if (IsSupplier(accounts.Value(CariTipi)) || !Matches(accounts, folded))
            continue;
        rows.append({accounts.Value(CariID).toInt(), accounts.Value(CariKodu).toString(),
                     accounts.Value(CariAdi).toString(), accounts.Value(Telefon).toString(),
                     VariantToFloatDef(accounts.Value(Bakiye), 0)});
    }
    SortByName(rows);
    return rows;
}

QList<int> TCustomerList::ColumnWidths(int Available)
{
    if (Available <= 0)
        return {};
    QList<int> widths;
    int used = 0;
    for (const int weight : {70, 130, 430, 170}) {
        widths << qRound(double(weight) * Available / 930);
        used += widths.last();
    }
    widths << Available - used;
    return widths;
}
