// Times the report windows on a large SQLite database (made with kirvelo-seed), headless
// (QT_QPA_PLATFORM=offscreen unless set), and prints medians of repeated runs:
//
//   kirvelo_report_bench PATH [RUNS] [receipts]
//
//   - the reporting screen: "Listele" for the last 30 and the last 365 days of the first branch,
//     timed from the click to both grids filled, the chart drawn and the window repainted; and
//     the same reads in core alone (shifts with each day's turnover, the first page of receipts);
//   - the next page of receipts, as scrolling to the end of the sales grid reads it;
//   - a past shift's printed listing of 2,000 receipts, built in core (the shift is copied into
//     the database inside a transaction that is rolled back afterwards);
//   - the refund screen's receipt search (alone with "receipts"), each filter checked against
//     the plain statement and that statement timed too.
#include "BenchTill.h"
#include "core/Clock.h"
#include "core/DataModule.h"
#include "core/SessionManager.h"
#include "database/SqliteEngine.h"
#include "refunds/ReceiptSearch.h"
#include "reports/PastShiftReports.h"
#include "reports/ReportingForm.h"
#include "reports/SalesReporting.h"
#include "support/WidgetTestSupport.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QTableView>
#include <QTextStream>

#include <algorithm>
#include <clocale>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {
QString Text(const TBenchTimes& t)
{
    return QStringLiteral("median %1 ms (min %2, max %3)")
        .arg(t.Median, 0, 'f', 1)
        .arg(t.Min, 0, 'f', 1)
        .arg(t.Max, 0, 'f', 1);
}

void BenchReporting(QTextStream& out, const TBenchTill& till, int runs)
{
    TfrmReporting form;
    form.show();
    QApplication::processEvents();
    auto* start = Named<QDateEdit>(&form, "dtpStart");
    auto* end = Named<QDateEdit>(&form, "dtpEnd");
    auto* filter = Named<TPOSButton>(&form, "btnFilter");
    auto* shifts = Named<QTableView>(&form, "gridVardiya");
    auto* sales = Named<QTableView>(&form, "gridSales");
    const QDate today = TClock::Today();
    for (const int days : {30, 365}) {
        start->setDate(today.addDays(-(days - 1)));
        end->setDate(today);
        const TBenchTimes screen = MeasureMs(runs, [&] {
            filter->click();
            form.repaint();
        });
        const TReportRange range = TReportRange::Days(today.addDays(-(days - 1)), today);
        TReportingShifts loaded;
        TSalesPage first;
        const TBenchTimes core = MeasureMs(runs, [&] {
            loaded = TSalesReporting::LoadShifts(range, till.SubeID);
            first = TSalesReporting::LoadSalesPage(range, till.SubeID, nullptr);
        });
        TSalesPage next;
        const TBenchTimes page = MeasureMs(
            runs, [&] { next = TSalesReporting::LoadSalesPage(range, till.SubeID, &first); });
        out << QStringLiteral("Reporting, %1 days: %2 shifts, %3 days charted, %4 + %5 receipts "
                              "shown")
                   .arg(days)
                   .arg(shifts->model()->rowCount())
                   .arg(loaded.Days.size())
                   .arg(sales->model()->rowCount())
                   .arg(next.Rows.size())
            << Qt::endl
            << QStringLiteral("  Listele to both grids and the chart shown: ") + Text(screen)
            << Qt::endl
            << QStringLiteral("  core reads (shifts and days, first page): ") + Text(core)
            << Qt::endl
            << QStringLiteral("  next page of receipts: ") + Text(page) << Qt::endl;
    }
}

// A shift of `receipts` receipts of the first branch copied, with their lines and payments, from
// the oldest receipts; the caller rolls it back.
int CopyShift(const TBenchTill& till, int receipts)
{
    const int offset = BenchScalar(QStringLiteral("SELECT MAX(FisID) FROM SatisFis"));
    const int last =
        dmMain
            ->GetScalar(QStringLiteral("SELECT MAX(FisID) FROM (SELECT FisID FROM "
                                       "SatisFis WHERE SubeID = :S ORDER BY FisID "
                                       "LIMIT :N)"),
                        {{QStringLiteral("S"), till.SubeID}, {QStringLiteral("N"), receipts}})
            .toInt();
    const int vardiya = OpenBenchShift(till, 500);
    const TSqlParams copy = {{QStringLiteral("Offset"), offset},
                             {QStringLiteral("Vardiya"), vardiya},
                             {QStringLiteral("Last"), last},
                             {QStringLiteral("S"), till.SubeID}};
    dmMain->ExecSql(
        QStringLiteral("INSERT INTO SatisFis (FisID, FisNo, SubeID, KullaniciID, TerminalID, "
                       "VardiyaID, Tarih, AraToplam, ToplamKDV, Indirim, GenelToplam, OdemeTipi, "
                       "MusteriID, FisDurumu) SELECT FisID + :Offset, 'FIS-' || (FisID + "
                       ":Offset), SubeID, KullaniciID, TerminalID, :Vardiya, Tarih, AraToplam, "
                       "ToplamKDV, Indirim, GenelToplam, OdemeTipi, MusteriID, FisDurumu FROM "
                       "SatisFis WHERE FisID <= :Last AND SubeID = :S"),
        copy);
    dmMain->ExecSql(
        QStringLiteral("INSERT INTO SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Barkod, Birim, "
                       "Miktar, BirimFiyat, KDVOrani, KDVTutari, IndirimOrani, IndirimTutari, "
                       "AraToplam, SatirToplam) SELECT S.FisID + :Offset, S.SiraNo, S.StokID, "
                       "S.StokAdi, S.Barkod, S.Birim, S.Miktar, S.BirimFiyat, S.KDVOrani, "
                       "S.KDVTutari, S.IndirimOrani, S.IndirimTutari, S.AraToplam, S.SatirToplam "
                       "FROM SatisFisSatir S JOIN SatisFis F ON F.FisID = S.FisID WHERE S.FisID "
                       "<= :Last AND F.SubeID = :S"),
        copy);
    dmMain->ExecSql(QStringLiteral("INSERT INTO SatisOdeme (FisID, OdemeTipi, Tutar) SELECT "
                                   "O.FisID + :Offset, O.OdemeTipi, O.Tutar FROM SatisOdeme O "
                                   "JOIN SatisFis F ON F.FisID = O.FisID WHERE O.FisID <= :Last "
                                   "AND F.SubeID = :S"),
                    copy);
    return vardiya;
}

void BenchListing(QTextStream& out, const TBenchTill& till, int runs)
{
    dmMain->BeginTransaction();
    try {
        const int vardiya = CopyShift(till, 2000);
        int lines = 0;
        const TBenchTimes listing = MeasureMs(runs, [&] {
            lines = int(
                TPastShiftReports::BuildShiftListing(vardiya, till.SubeID, TClock::Now()).size());
        });
        out << QStringLiteral("Past shift listing, shift of 2,000 receipts (%1 lines): ")
                       .arg(lines) +
                   Text(listing)
            << Qt::endl;
    } catch (...) {
        dmMain->Rollback();
        throw;
    }
    dmMain->Rollback();
}
QList<int> ReceiptIds(const QList<TReceiptRow>& rows)
{
    QList<int> ids;
    for (const TReceiptRow& row : rows)
        ids << row.FisID;
    return ids;
}

// The refund screen's receipt search: the newest receipts, filters that many receipts hold (a
// number's beginning, a cashier), filters that few hold (a whole number, an id's digits, a
// customer) and filters that none holds. Each is checked against the plain statement (the same
// receipts in the same order), which is timed as well.
void BenchReceiptSearch(QTextStream& out, const TBenchTill& till, int runs)
{
    const int last = BenchScalar(QStringLiteral("SELECT MAX(FisID) FROM SatisFis WHERE SubeID = ") +
                                 QString::number(till.SubeID));
    // The seed names every sixth customer "Ayşe" and its number.
    const QString customer =
        QString::number(6 * (BenchScalar(QStringLiteral("SELECT COUNT(*) FROM CariKart")) / 12));
    for (const QString& filter :
         {QString(), QStringLiteral("FIS-1"), QStringLiteral("Mehmet"),
          QStringLiteral("FIS-%1").arg(last - 7), QString::number(last - 7).right(6),
          QStringLiteral("Ayşe %1").arg(customer), QStringLiteral("zzzz yok"), QStringLiteral("q"),
          QStringLiteral("FIS-99999999")}) {
        QList<TReceiptRow> rows;
        const TBenchTimes search =
            MeasureMs(runs, [&] { rows = TReceiptSearch::LoadReceipts(filter, till.SubeID); });
        QList<TReceiptRow> plain;
        const TBenchTimes statement = MeasureMs(std::max(1, runs / 3), [&] {
            plain = TReceiptSearch::LoadReceiptsByStatement(filter, till.SubeID);
        });
        if (ReceiptIds(rows) != ReceiptIds(plain))
            throw std::runtime_error("receipt search differs from the statement for: " +
                                     filter.toStdString());
        out << QStringLiteral("Receipt search, filter \"%1\" (%2 rows): ")
                       .arg(filter)
                       .arg(rows.size()) +
                   Text(search) + QStringLiteral("; the plain statement: ") + Text(statement)
            << Qt::endl;
    }
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    RegisterFontSubstitutions();
    QTextStream out(stdout);
    if (argc < 2) {
        out << "usage: kirvelo_report_bench PATH [RUNS]" << Qt::endl;
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 15;
    const bool receiptsOnly = argc > 3 && QString::fromLocal8Bit(argv[3]) == u"receipts";
    try {
        TSqliteEngine::Register();
        TdmMain db;
        db.SetAttempts({{QStringLiteral("QSQLITE"), path}});
        db.Connect();
        const TBenchTill till = FirstTill();
        TSessionInfo session;
        session.KullaniciID = till.KullaniciID;
        session.SubeID = till.SubeID;
        session.TerminalID = till.TerminalID;
        TSessionManager::Instance().Login(session);
        out << "database: " << path << ", runs: " << runs << Qt::endl;
        if (!receiptsOnly) {
            BenchReporting(out, till, runs);
            BenchListing(out, till, runs);
        }
        BenchReceiptSearch(out, till, runs);
    } catch (const std::exception& e) {
        out << "error: " << e.what() << Qt::endl;
        return 1;
    }
    return 0;
}
