// Times the ways of selling without a scanner on a large SQLite database (made with
// kirvelo-seed), headless (QT_QPA_PLATFORM=offscreen unless set):
//
//   kirvelo_catalogue_bench search PATH [ROUNDS] [--no-check]
//       the product search: opening the database (and building its search index when the
//       seeded file has none yet), then terms typed key by key into the search dialog, each
//       keystroke timed until the result grid has been painted again (and the search alone,
//       without the window). Every term's results are first compared with the search
//       statement's (the same rows in the same order), and the statement itself is timed
//       (--no-check leaves that out: it takes minutes at a million).
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
#include <QTableWidget>
#include <QTextStream>

#include <algorithm>
#include <clocale>
#include <functional>
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

int BenchSearch(QTextStream& out, const QString& path, int rounds, bool check)
{
    TdmMain db;
    db.SetAttempts({{QStringLiteral("QSQLITE"), path}});
    const double openMs = TimedMs([&db] { db.Connect(); });
    const TBenchTill till = FirstTill();
    const int products = BenchScalar(QStringLiteral("SELECT COUNT(*) FROM Stok"));
    out << QStringLiteral("%1 products; open (index built when missing) %2 ms")
               .arg(products)
               .arg(openMs, 0, 'f', 0)
        << Qt::endl;

    // The same rows in the same order as the statement, for every prefix typed.
    std::vector<double> statementTimes;
    for (const QString& term : check ? SearchTerms() : QStringList()) {
        for (qsizetype n = 1; n <= term.size(); ++n) {
            const QString typed = term.left(n);
            QList<int> expected;
            const double ms = TimedMs(
                [&] { expected = IdsOf(TProductSearch::SearchByStatement(typed, till.SubeID)); });
            if (n == term.size())
                statementTimes.push_back(ms);
            const QList<int> got = IdsOf(TProductSearch::Search(typed, till.SubeID));
            if (got != expected)
                throw std::runtime_error(
                    QString(QStringLiteral("results differ from the statement for: ") + typed)
                        .toStdString());
        }
    }
    if (check)
        out << QStringLiteral("Same rows and order as the statement for every keystroke; the "
                              "statement alone (folded LIKE), whole terms: median %1 ms, max %2 ms")
                   .arg(Percentile(statementTimes, 0.5), 0, 'f', 1)
                   .arg(Percentile(statementTimes, 1.0), 0, 'f', 1)
            << Qt::endl;

    TSessionInfo session;
    session.SubeID = till.SubeID;
    session.KullaniciID = till.KullaniciID;
    TSessionManager::Instance().Login(session);
    TfrmProductSelect form;
    form.show();
    QApplication::processEvents();
    auto* edtSearch = Named<QLineEdit>(&form, "edtSearch");
    auto* gridProducts = Named<QTableWidget>(&form, "gridProducts");

    std::vector<double> times;
    std::vector<double> searchTimes;
    for (const QString& term : SearchTerms()) {
        std::vector<double> termTimes;
        for (int round = 0; round < rounds; ++round) {
            edtSearch->clear();
            for (qsizetype n = 1; n <= term.size(); ++n) {
                termTimes.push_back(TimedMs([&] {
                    edtSearch->setText(term.left(n));
                    gridProducts->viewport()->repaint();
                }));
                searchTimes.push_back(
                    TimedMs([&] { TProductSearch::Search(term.left(n), till.SubeID); }));
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
    out << QStringLiteral("The search alone (index and rows): median %1 ms, p95 %2 ms, max %3 ms")
               .arg(Percentile(searchTimes, 0.5), 0, 'f', 2)
               .arg(Percentile(searchTimes, 0.95), 0, 'f', 2)
               .arg(Percentile(searchTimes, 1.0), 0, 'f', 2)
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
    TSqliteEngine::Register();
    QTextStream out(stdout);
    const QStringList args = QCoreApplication::arguments();
    try {
        if (args.value(1) == QLatin1String("search") && args.size() > 2)
            return BenchSearch(out, args.at(2), args.size() > 3 ? args.at(3).toInt() : 3,
                               !args.contains(QStringLiteral("--no-check")));
        if (args.value(1) == QLatin1String("catalogue") && args.size() > 2)
            return BenchCatalogue(out, args.at(2), args.size() > 3 ? args.at(3).toInt() : 5);
    } catch (const std::exception& e) {
        out << "error: " << e.what() << Qt::endl;
        return 1;
    }
    out << "usage: kirvelo_catalogue_bench search PATH [ROUNDS] | catalogue PATH [ROUNDS]"
        << Qt::endl;
    return 2;
}
