// Times the ways of selling without a scanner on a large SQLite database (made with
// kirvelo-seed), headless (QT_QPA_PLATFORM=offscreen unless set):
//
//   kirvelo_catalogue_bench search PATH [ROUNDS] [--no-check] [--odbc]
//       the product search: opening the database, then every prefix of each term searched once
//       with what it cost (statements, rows returned, the database's steps and full-scan steps
//       from SQLite's counters, pages read on QSQLITE), then the terms typed key by key into the
//       search dialog, each keystroke timed until the result grid has been painted again.
//       Every prefix's results are first compared with the plain statement's (the same rows in
//       the same order), and the plain statement's cost per whole term is printed (--no-check
//       leaves both out: they take minutes at a million). --odbc opens the file through QODBC
//       and the SQLite ODBC driver, the road of SQL Server's statements.
//
//   kirvelo_catalogue_bench opening PATH
//       opening the file (as the login window does), 100,000 prices and 100,000 names changed,
//       the next opening, then the file without its search key: the opening and the filler's
//       fill. Changes PATH: run it on a copy.
//
//   kirvelo_catalogue_bench catalogue PATH [ROUNDS]
//       the sales screen's catalogue at the screen's size: "TÜMÜ" and the largest seeded
//       category opened, and a category of 2,000 products with a picture each (made in the
//       file the first time: "Tezgah 2000", its pictures in PATH.pictures/), each timed until
//       its first screen of tiles has been painted, and until every picture of that screen is
//       in, with the longest the window was held meanwhile.
#include "BenchTill.h"
#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/SessionManager.h"
#include "database/SqliteEngine.h"
#include "database/SqliteSearchKey.h"
#include "sales/ProductSearch.h"
#include "sales/SalesScreenRules.h"
#include "support/TestDatabase.h"
#include "support/WidgetTestSupport.h"
#include "ui/ProductCatalogue.h"
#include "ui/ProductSelectForm.h"
#include "ui/ProductTileView.h"
#include "ui/SalesHeader.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QSqlDriver>
#include <QTableWidget>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <clocale>
#include <functional>

#include <sqlite3.h>
#include <stdexcept>
#include <vector>

namespace {
double Percentile(std::vector<double> times, double share)
{
    std::sort(times.begin(), times.end());
    const size_t at = std::min(times.size() - 1, size_t(share * double(times.size())));
    return times[at];
}

double TimedMs(const std::function<void()>& work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return double(clock.nsecsElapsed()) / 1e6;
}

// The terms a cashier types, each timed key by key: words of the catalogue, a whole barcode and
// stock code, one-letter and very rare terms, wildcards and SQL metacharacters.
QStringList SearchTerms()
{
    return {QStringLiteral("süt"),
            QStringLiteral("SÜT"),
            QStringLiteral("yayla süt 1 l"),
            QStringLiteral("çikolata"),
            QStringLiteral("KAŞAR PEYNİRİ"),
            QStringLiteral("ıI"),
            QStringLiteral("maden suyu 6x200"),
            QStringLiteral("8690000123456"),
            QStringLiteral("stk012345"),
            QStringLiteral("qwerty"),
            QStringLiteral("zzz"),
            QStringLiteral("s_t"),
            QStringLiteral("yay%süt"),
            QStringLiteral("%"),
            QStringLiteral("x"),
            QStringLiteral("ö"),
            QStringLiteral("'; DROP TABLE Stok; --"),
            QStringLiteral("[a]")};
}

QList<int> IdsOf(const QList<TProductSearchRow>& rows)
{
    QList<int> ids;
    for (const TProductSearchRow& row : rows)
        ids << row.StokID;
    return ids;
}

// What the database did for the statements run since the last reading, from SQLite's own
// counters of the connection's prepared statements (the sqlite_stmt table, which SQLite keeps
// for any driver): its virtual machine's steps, and the steps of full scans, which walk a whole
// table or index (the catalogue, for the plain statement).
struct TStatementWork {
    qint64 Steps = 0;
    qint64 ScanSteps = 0;
};

TStatementWork StatementWork()
{
    TDbQuery work(QStringLiteral("SELECT IFNULL(SUM(nstep), 0), IFNULL(SUM(nscan), 0) FROM "
                                 "sqlite_stmt WHERE sql NOT LIKE '%sqlite_stmt%'"));
    work.Exec();
    work.Next();
    return {work.Value(0).toLongLong(), work.Value(1).toLongLong()};
}

// Pages of the file read from SQLite's page cache or from the disk, on a QSQLITE connection.
qint64 PagesRead()
{
    const QVariant handle = dmMain->Database().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return -1;
    sqlite3* db = *static_cast<sqlite3* const*>(handle.constData());
    int hit = 0;
    int miss = 0;
    int high = 0;
    sqlite3_db_status(db, SQLITE_DBSTATUS_CACHE_HIT, &hit, &high, 0);
    sqlite3_db_status(db, SQLITE_DBSTATUS_CACHE_MISS, &miss, &high, 0);
    return qint64(hit) + miss;
}

// One search of `typed` with what it cost: time, statements (round trips), rows returned, the
// database's steps and the pages it read.
struct TKeystroke {
    double Ms = 0;
    int Statements = 0;
    int Rows = 0;
    TStatementWork Work;
    qint64 Pages = -1;
};

TKeystroke MeasureSearch(const std::function<int()>& search)
{
    const TStatementWork before = StatementWork();
    const qint64 pages = PagesRead();
    const int trips = dmMain->RoundTrips().Count();
    TKeystroke k;
    k.Ms = TimedMs([&] { k.Rows = search(); });
    k.Statements = dmMain->RoundTrips().Count() - trips;
    k.Pages = pages < 0 ? -1 : PagesRead() - pages;
    const TStatementWork after = StatementWork();
    k.Work = {after.Steps - before.Steps, after.ScanSteps - before.ScanSteps};
    return k;
}

QString Median(std::vector<double> values, int decimals)
{
    return QString::number(values.empty() ? 0 : Percentile(values, 0.5), 'f', decimals);
}

QString Max(std::vector<double> values, int decimals)
{
    return QString::number(values.empty() ? 0 : Percentile(values, 1.0), 'f', decimals);
}

// Every prefix of every term searched once: the search's cost per keystroke, and the plain
// statement's for the whole term.
void ReportWork(QTextStream& out, int sube, bool plain)
{
    out << (plain ? QStringLiteral("The plain statement, per whole term:")
                  : QStringLiteral("Per keystroke (every prefix of every term):"))
        << Qt::endl;
    std::vector<double> all;
    for (const QString& term : SearchTerms()) {
        std::vector<double> ms, statements, rows, steps, scans, pages;
        TKeystroke whole;
        for (qsizetype n = plain ? term.size() : 1; n <= term.size(); ++n) {
            const QString typed = term.left(n);
            const TKeystroke k = MeasureSearch([&] {
                return int(plain ? TProductSearch::SearchByStatement(typed, sube).size()
                                 : TProductSearch::Search(typed, sube).size());
            });
            whole = k;
            ms.push_back(k.Ms);
            statements.push_back(k.Statements);
            rows.push_back(k.Rows);
            steps.push_back(double(k.Work.Steps));
            scans.push_back(double(k.Work.ScanSteps));
            pages.push_back(double(k.Pages));
        }
        all.insert(all.end(), ms.begin(), ms.end());
        if (!plain)
            out << QStringLiteral("  %1  whole term: %2 rows, database steps %3, of full scans %4, "
                                  "pages read %5, %6 ms")
                       .arg(QString(), -24)
                       .arg(whole.Rows)
                       .arg(whole.Work.Steps)
                       .arg(whole.Work.ScanSteps)
                       .arg(whole.Pages < 0 ? QStringLiteral("n/a") : QString::number(whole.Pages))
                       .arg(whole.Ms, 0, 'f', 2)
                << Qt::endl;
        out << QStringLiteral("  %1: statements %2 (max %3), rows returned max %4, database "
                              "steps median %5 (max %6), of full scans max %7, pages read "
                              "median %8 (max %9), time median %10 ms (max %11)")
                   .arg(term, -24)
                   .arg(Median(statements, 0), Max(statements, 0), Max(rows, 0), Median(steps, 0),
                        Max(steps, 0), Max(scans, 0),
                        pages.front() < 0 ? QStringLiteral("n/a") : Median(pages, 0),
                        pages.front() < 0 ? QStringLiteral("n/a") : Max(pages, 0))
                   .arg(Median(ms, 2), Max(ms, 2))
            << Qt::endl;
    }
    out << QStringLiteral("  all: median %1 ms, p95 %2 ms, max %3 ms")
               .arg(Median(all, 2))
               .arg(Percentile(all, 0.95), 0, 'f', 2)
               .arg(Max(all, 2))
        << Qt::endl;
}

int BenchSearch(QTextStream& out, const QString& path, int rounds, bool check, bool odbc)
{
    TdmMain db;
    db.SetAttempts(
        {odbc ? SqliteOdbcAttempt(path) : TConnectionAttempt{QStringLiteral("QSQLITE"), path}});
    const double openMs = TimedMs([&db] { db.Connect(); });
    const TBenchTill till = FirstTill();
    const int products = BenchScalar(QStringLiteral("SELECT COUNT(*) FROM Stok"));
    out << QStringLiteral("%1 products, %2; opening %3 ms; search key %4")
               .arg(products)
               .arg(db.Description())
               .arg(openMs, 0, 'f', 0)
               .arg(BenchScalar(QStringLiteral("SELECT COUNT(*) FROM AramaDurum WHERE Tablo = "
                                               "'Stok' AND DoluID IS NULL")) == 1
                        ? QStringLiteral("complete")
                        : QStringLiteral("being filled"))
        << Qt::endl;

    // The same rows in the same order as the statement, for every prefix typed.
    for (const QString& term : check ? SearchTerms() : QStringList()) {
        for (qsizetype n = 1; n <= term.size(); ++n) {
            const QString typed = term.left(n);
            if (IdsOf(TProductSearch::Search(typed, till.SubeID)) !=
                IdsOf(TProductSearch::SearchByStatement(typed, till.SubeID)))
                throw std::runtime_error(
                    QString(QStringLiteral("results differ from the statement for: ") + typed)
                        .toStdString());
        }
    }
    if (check)
        out << QStringLiteral("Same rows and order as the plain statement for every keystroke")
            << Qt::endl;
    ReportWork(out, till.SubeID, false);
    if (check)
        ReportWork(out, till.SubeID, true);

    TSessionInfo session;
    session.SubeID = till.SubeID;
    session.KullaniciID = till.KullaniciID;
    TSessionManager::Instance().Login(session);
    TfrmProductSelect form;
    form.show();
    QApplication::processEvents();
    auto* edtSearch = Named<QLineEdit>(&form, "edtSearch");
    auto* gridProducts = Named<QTableWidget>(&form, "gridProducts");

    // A keystroke: the text changes, the window takes its events (the search of the change),
    // the grid is painted again.
    std::vector<double> times;
    for (const QString& term : SearchTerms()) {
        std::vector<double> termTimes;
        for (int round = 0; round < rounds; ++round) {
            edtSearch->clear();
            QApplication::processEvents();
            for (qsizetype n = 1; n <= term.size(); ++n) {
                termTimes.push_back(TimedMs([&] {
                    edtSearch->setText(term.left(n));
                    QApplication::processEvents();
                    gridProducts->viewport()->repaint();
                }));
            }
        }
        out << QStringLiteral("  %1: %2 matches, keystroke to painted grid median %3 ms, max %4 ms")
                   .arg(term, -24)
                   .arg(TProductSearch::Search(term, till.SubeID).size())
                   .arg(Percentile(termTimes, 0.5), 0, 'f', 2)
                   .arg(Percentile(termTimes, 1.0), 0, 'f', 2)
            << Qt::endl;
        times.insert(times.end(), termTimes.begin(), termTimes.end());
    }
    out << QStringLiteral("Keystroke to painted grid, %1 keystrokes: median %2 ms, p95 %3 ms, "
                          "max %4 ms")
               .arg(times.size())
               .arg(Percentile(times, 0.5), 0, 'f', 2)
               .arg(Percentile(times, 0.95), 0, 'f', 2)
               .arg(Percentile(times, 1.0), 0, 'f', 2)
        << Qt::endl;
    return 0;
}

// The opening of a large file, as the login window opens it, and what a large change of the
// catalogue costs: 100,000 prices and 100,000 names changed in one transaction each (the
// triggers keep the key of every renamed product), then the next opening. Then the file made
// as if it came from before the search key (its key dropped): the opening, and the fill that
// the filler does meanwhile on its own connection. PATH is changed: run it on a copy.
int BenchOpening(QTextStream& out, const QString& path)
{
    const auto open = [&](TdmMain& db) {
        db.SetAttempts({{QStringLiteral("QSQLITE"), path}});
        return TimedMs([&db] { db.Connect(); });
    };
    {
        TdmMain db;
        out << QStringLiteral("Opening: %1 ms").arg(open(db), 0, 'f', 1) << Qt::endl;
        const double prices = TimedMs([] {
            dmMain->BeginTransaction();
            dmMain->ExecSql(QStringLiteral("UPDATE Stok SET SatisFiyati = SatisFiyati + 1 WHERE "
                                           "StokID % 10 = 0"));
            dmMain->Commit();
        });
        const double names = TimedMs([] {
            dmMain->BeginTransaction();
            dmMain->ExecSql(QStringLiteral("UPDATE Stok SET StokAdi = StokAdi || ' Yeni' WHERE "
                                           "StokID % 10 = 1"));
            dmMain->Commit();
        });
        out << QStringLiteral("100,000 prices changed: %1 ms; 100,000 names changed: %2 ms")
                   .arg(prices, 0, 'f', 0)
                   .arg(names, 0, 'f', 0)
            << Qt::endl;
    }
    {
        TdmMain db;
        out << QStringLiteral("Opening after the change: %1 ms").arg(open(db), 0, 'f', 1)
            << Qt::endl;
        for (const QString& table : SqliteSearchKey::Tables())
            dmMain->ExecSql(QStringLiteral("DROP TABLE ") + table);
    }
    QElapsedTimer fill;
    TdmMain db;
    out << QStringLiteral("Opening a file without the key (made empty, the fill left to the "
                          "filler): %1 ms")
               .arg(open(db), 0, 'f', 1)
        << Qt::endl;
    fill.start();
    // Meanwhile a write transaction now and then, as a sale begins one: how long it waits for
    // the fill's step under way.
    double longestWait = 0;
    while (BenchScalar(QStringLiteral("SELECT COUNT(*) FROM AramaDurum WHERE Tablo IN ('Stok', "
                                      "'SatisFis') AND DoluID IS NOT NULL")) > 0) {
        longestWait = std::max(longestWait, TimedMs([] {
                                   dmMain->BeginTransaction();
                                   dmMain->Commit();
                               }));
        QThread::msleep(200);
    }
    out << QStringLiteral("The filler's fill of the key: %1 s; a write transaction waited at most "
                          "%2 ms meanwhile")
               .arg(fill.elapsed() / 1000.0, 0, 'f', 1)
               .arg(longestWait, 0, 'f', 0)
        << Qt::endl;
    return 0;
}

constexpr int kBenchCategorySize = 2000;

// A picture of its own for every product of the bench category, as a shop's photographs are:
// 640 x 480 JPEG files.
void WritePictures(const QString& folder, const QList<int>& ids)
{
    QDir().mkpath(folder);
    for (const int id : ids) {
        const QString file = folder + QStringLiteral("/p%1.jpg").arg(id);
        if (QFile::exists(file))
            continue;
        QImage image(640, 480, QImage::Format_RGB32);
        image.fill(QColor::fromHsv(id * 37 % 360, 120, 230));
        QPainter painter(&image);
        painter.setPen(Qt::black);
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 60));
        painter.drawText(image.rect(), Qt::AlignCenter, QString::number(id));
        painter.end();
        if (!image.save(file, "JPG", 85))
            throw std::runtime_error("picture not written: " + file.toStdString());
    }
}

// The bench category: 2,000 active products moved into it, each with its picture.
int BenchCategory(const QString& path)
{
    const QString name = QStringLiteral("Tezgah 2000");
    TDbQuery find(QStringLiteral("SELECT KategoriID FROM Kategori WHERE KategoriAdi = :Ad"));
    find.Param(QStringLiteral("Ad"), name).Exec();
    if (find.Next())
        return find.Value(QStringLiteral("KategoriID")).toInt();
    TDbQuery add(QStringLiteral("INSERT INTO Kategori (KategoriAdi, IsActive, Sira) VALUES (:Ad, "
                                "1, 0)"));
    add.Param(QStringLiteral("Ad"), name).Exec();
    const int category = BenchScalar(QStringLiteral("SELECT MAX(KategoriID) FROM Kategori"));
    QList<int> ids;
    TDbQuery pick(QStringLiteral("SELECT StokID FROM Stok WHERE IsActive = 1 AND IsDeleted = 0 "
                                 "ORDER BY StokID DESC LIMIT :N"));
    pick.Param(QStringLiteral("N"), kBenchCategorySize).Exec();
    while (pick.Next())
        ids << pick.Value(QStringLiteral("StokID")).toInt();
    const QString folder = path + QStringLiteral(".pictures");
    WritePictures(folder, ids);
    for (const int id : ids) {
        TDbQuery move(QStringLiteral("UPDATE Stok SET KategoriID = :Cat, Resim = :Resim WHERE "
                                     "StokID = :Id"));
        move.Param(QStringLiteral("Cat"), category)
            .Param(QStringLiteral("Resim"), QString(folder + QStringLiteral("/p%1.jpg").arg(id)))
            .Param(QStringLiteral("Id"), id)
            .Exec();
    }
    return category;
}

struct TOpening {
    double FirstScreenMs = 0;
    double PicturesMs = 0;
    double LongestHoldMs = 0;
    int Tiles = 0;
    int PicturesShown = 0; // on the first screen
};

// Opens what `open` opens on a fresh catalogue the size of the sales screen's centre: until the
// first screen of tiles is painted, then the event loop runs until every picture of that screen
// has been looked for, each turn of it timed.
TOpening OpenCatalogue(const std::function<void(TProductCatalogue&)>& open)
{
    constexpr int kWidth = 1314;
    constexpr int kHeight = 752;
    TProductCatalogue catalogue(nullptr, [](int) {});
    catalogue.resize(kWidth - TSalesScreenRules::CartPanelWidth(kWidth),
                     kHeight - TSalesHeader::Height);
    catalogue.show();
    QApplication::processEvents();
    auto* scroll = Named<QScrollArea>(&catalogue, "scrollProducts");
    TOpening opening;
    QElapsedTimer clock;
    clock.start();
    open(catalogue);
    scroll->viewport()->repaint();
    opening.FirstScreenMs = double(clock.nsecsElapsed()) / 1e6;
    TProductTileView* tiles = catalogue.Tiles();
    const QRect visible(QPoint(0, 0), scroll->viewport()->size());
    auto settled = [&] {
        for (int i = 0; i < tiles->TileCount(); ++i) {
            if (tiles->TileRect(i).intersects(visible) && !tiles->PictureSettled(i))
                return false;
        }
        return true;
    };
    while (!settled() || catalogue.LoadingParts()) {
        const double hold =
            TimedMs([] { QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5); });
        opening.LongestHoldMs = std::max(opening.LongestHoldMs, hold);
        if (opening.PicturesMs == 0 && settled())
            opening.PicturesMs = double(clock.nsecsElapsed()) / 1e6;
        if (clock.elapsed() > 60000)
            throw std::runtime_error("the catalogue did not settle in a minute");
    }
    if (opening.PicturesMs == 0)
        opening.PicturesMs = double(clock.nsecsElapsed()) / 1e6;
    opening.Tiles = tiles->TileCount();
    for (int i = 0; i < tiles->TileCount(); ++i) {
        if (tiles->TileRect(i).intersects(visible) && tiles->HasPicture(i))
            ++opening.PicturesShown;
    }
    return opening;
}

void ReportOpenings(QTextStream& out, const QString& what, const std::vector<TOpening>& runs)
{
    std::vector<double> first;
    std::vector<double> pictures;
    std::vector<double> holds;
    for (const TOpening& run : runs) {
        first.push_back(run.FirstScreenMs);
        pictures.push_back(run.PicturesMs);
        holds.push_back(run.LongestHoldMs);
    }
    out << QStringLiteral("  %1 (%2 tiles, %8 pictures on the first screen): first screen painted "
                          "median %3 ms (max %4); its pictures in median %5 ms; longest hold of "
                          "the window median %6 ms (max %7)")
               .arg(what, -28)
               .arg(runs.back().Tiles)
               .arg(Percentile(first, 0.5), 0, 'f', 1)
               .arg(Percentile(first, 1.0), 0, 'f', 1)
               .arg(Percentile(pictures, 0.5), 0, 'f', 1)
               .arg(Percentile(holds, 0.5), 0, 'f', 1)
               .arg(Percentile(holds, 1.0), 0, 'f', 1)
               .arg(runs.back().PicturesShown)
        << Qt::endl;
}

int BenchCatalogue(QTextStream& out, const QString& path, int rounds)
{
    TdmMain db;
    db.SetAttempts({{QStringLiteral("QSQLITE"), path}});
    db.Connect();
    const int bench = BenchCategory(path);
    const int largest = BenchScalar(QStringLiteral(
        "SELECT KategoriID FROM Stok GROUP BY KategoriID ORDER BY COUNT(*) DESC LIMIT 1"));
    out << QStringLiteral("%1 products; largest category %2 products")
               .arg(BenchScalar(QStringLiteral("SELECT COUNT(*) FROM Stok")))
               .arg(BenchScalar(
                   QStringLiteral("SELECT COUNT(*) FROM Stok WHERE KategoriID = %1").arg(largest)))
        << Qt::endl;
    const std::vector<std::pair<QString, std::function<void(TProductCatalogue&)>>> cases{
        {QStringLiteral("categories and TÜMÜ"),
         [](TProductCatalogue& c) {
             c.LoadCategories();
         }},
        {QStringLiteral("largest category"),
         [largest](TProductCatalogue& c) {
             c.CategoryClick(largest);
         }},
        {QStringLiteral("2,000 products with pictures"),
         [bench](TProductCatalogue& c) {
             c.CategoryClick(bench);
         }},
    };
    for (const auto& [what, open] : cases) {
        std::vector<TOpening> runs;
        for (int round = 0; round < rounds; ++round)
            runs.push_back(OpenCatalogue(open));
        ReportOpenings(out, what, runs);
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setOrganizationName(QStringLiteral("KIRVELO"));
    QCoreApplication::setApplicationName(QStringLiteral("KIRVELO"));
    UseEmbeddedEngine();
    QTextStream out(stdout);
    const QStringList args = QCoreApplication::arguments();
    try {
        if (args.value(1) == QLatin1String("search") && args.size() > 2)
            return BenchSearch(out, args.at(2),
                               args.size() > 3 && args.at(3).toInt() > 0 ? args.at(3).toInt() : 3,
                               !args.contains(QStringLiteral("--no-check")),
                               args.contains(QStringLiteral("--odbc")));
        if (args.value(1) == QLatin1String("opening") && args.size() > 2)
            return BenchOpening(out, args.at(2));
        if (args.value(1) == QLatin1String("catalogue") && args.size() > 2)
            return BenchCatalogue(out, args.at(2), args.size() > 3 ? args.at(3).toInt() : 5);
    } catch (const std::exception& e) {
        out << "error: " << e.what() << Qt::endl;
        return 1;
    }
    out << "usage: kirvelo_catalogue_bench search PATH [ROUNDS] [--no-check] [--odbc] | opening "
           "PATH | catalogue PATH [ROUNDS]"
        << Qt::endl;
    return 2;
}
