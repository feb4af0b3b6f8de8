// Times the customer list's filter on a SQLite database with many customer accounts: every
// keystroke in the list's filter box lists the accounts again. Fills the file up to ACCOUNTS
// accounts first (names, phones and contact persons that vary), then prints the median of RUNS
// listings for an empty filter, a name met by one account in eight and a text that no account
// holds.
//
//   kirvelo_customer_bench PATH [ACCOUNTS] [RUNS]
#include "BenchTill.h"
#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/DbTransaction.h"
#include "customers/CustomerList.h"
#include "database/SqliteEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <clocale>
#include <vector>

namespace {
double MedianMs(int runs, const std::function<void()>& work)
{
    return MeasureMs(runs, work).Median;
}

void FillAccounts(int accounts)
{
    TCustomerList::EnsureCariKartTable();
    TDbQuery count(QStringLiteral("SELECT COUNT(*) FROM CariKart"));
    count.Exec();
    count.Next();
    const QStringList names{QStringLiteral("Ayşe"),  QStringLiteral("Mehmet"),
                            QStringLiteral("Çınar"), QStringLiteral("Işık"),
                            QStringLiteral("İnci"),  QStringLiteral("Zeynep"),
                            QStringLiteral("Ömer"),  QStringLiteral("Şahin")};
    TDbTransaction transaction;
    for (int i = count.Value(0).toInt(); i < accounts; ++i) {
        TDbQuery insert(QStringLiteral(
            "INSERT INTO CariKart (CariKodu, CariAdi, CariTipi, Telefon, VKN, TCKN, YetkiliKisi) "
            "VALUES (:K, :A, 'MUSTERI', :T, '', '', :Y)"));
        insert.Param(QStringLiteral("K"), QStringLiteral("B%1").arg(i, 6, 10, QLatin1Char('0')))
            .Param(QStringLiteral("A"),
                   QString(names.at(i % 8) + QStringLiteral(" Ticaret %1").arg(i)))
            .Param(QStringLiteral("T"), QStringLiteral("0555 %1").arg(i, 7, 10, QLatin1Char('0')))
            .Param(QStringLiteral("Y"), names.at((i / 8) % 8))
            .Exec();
    }
    transaction.Commit();
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTextStream out(stdout);
    if (argc < 2) {
        out << "usage: kirvelo_customer_bench PATH [ACCOUNTS] [RUNS]" << Qt::endl;
        return 2;
    }
    const int accounts = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 10000;
    const int runs = argc > 3 ? QString::fromLocal8Bit(argv[3]).toInt() : 15;
    TSqliteEngine::Register();
    TdmMain db;
    db.SetAttempts({{QStringLiteral("QSQLITE"), QString::fromLocal8Bit(argv[1])}});
    db.Connect();
    FillAccounts(accounts);
    out << "accounts: " << accounts << ", runs: " << runs << Qt::endl;
    for (const QString& filter :
         {QString(), QStringLiteral("ayşe"), QStringLiteral("yok böyle biri")}) {
        int listed = 0;
        const double ms =
            MedianMs(runs, [&] { listed = int(TCustomerList::LoadCustomers(filter).size()); });
        out << QStringLiteral("filter \"%1\": %2 listed, median %3 ms")
                   .arg(filter)
                   .arg(listed)
                   .arg(ms, 0, 'f', 1)
            << Qt::endl;
    }
    return 0;
}
