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

bool Matches(const TDbQuery& account, const QString& folded)
{
    if (folded.isEmpty())
        return true;
    for (const char* field : {"CariKodu", "CariAdi", "Telefon", "VKN", "TCKN", "YetkiliKisi"}) {
        if (TurkishUpper(account.Value(QLatin1String(field)).toString()).contains(folded))
            return true;
    }
    return false;
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
        if (IsSupplier(accounts.Value(QStringLiteral("CariTipi"))) || !Matches(accounts, folded))
            continue;
        rows.append({accounts.Value(QStringLiteral("CariID")).toInt(),
                     accounts.Value(QStringLiteral("CariKodu")).toString(),
                     accounts.Value(QStringLiteral("CariAdi")).toString(),
                     accounts.Value(QStringLiteral("Telefon")).toString(),
                     FieldToFloatDef(accounts, QStringLiteral("Bakiye"), 0)});
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
