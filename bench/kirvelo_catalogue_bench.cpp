// Times the ways of selling without a scanner on a large SQLite database (made with
// kirvelo-seed), headless (QT_QPA_PLATFORM=offscreen unless set):
//
//   kirvelo_catalogue_bench search PATH [ROUNDS] [--no-check]
//       the product search: opening the database (and building its search index when the
//       seeded file has none yet), then terms typed key by key into the search dialog, each
//       keystroke timed until the result grid has been painted again. Every term's results are
//       first compared with the search statement's (the same rows in the same order), and the
//       statement itself is timed (--no-check leaves that out: it takes minutes at a million).
//
//   kirvelo_catalogue_bench catalogue PATH [ROUNDS]
//       the sales screen's catalogue: a category of 2,000 products with a picture each is
//       opened, timed until its first screen of tiles has been painted, and until every
//       picture of that screen is in.
#include "BenchTill.h"
#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/SessionManager.h"
#include "database/SqliteEngine.h"
#include "database/SqliteProductIndex.h"
#include "sales/ProductSearch.h"

#include <QApplication>
#include <QElapsedTimer>
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

    std::vector<double> times;
    for (const QString& term : SearchTerms()) {
        std::vector<double> termTimes;
        for (int round = 0; round < rounds; ++round) {
            for (qsizetype n = 1; n <= term.size(); ++n)
                termTimes.push_back(
                    TimedMs([&] { TProductSearch::Search(term.left(n), till.SubeID); }));
        }
        out << QStringLiteral("  %1: %2 matches, keystrokes median %3 ms, max %4 ms")
                   .arg(term, -24)
                   .arg(TProductSearch::Search(term, till.SubeID).size())
                   .arg(Percentile(termTimes, 0.5), 0, 'f', 2)
                   .arg(Percentile(termTimes, 1.0), 0, 'f', 2)
            << Qt::endl;
        times.insert(times.end(), termTimes.begin(), termTimes.end());
    }
    out << QStringLiteral("Search (index), %1 keystrokes: median %2 ms, p95 %3 ms, max %4 ms")
               .arg(times.size())
               .arg(Percentile(times, 0.5), 0, 'f', 2)
               .arg(Percentile(times, 0.95), 0, 'f', 2)
               .arg(Percentile(times, 1.0), 0, 'f', 2)
        << Qt::endl;
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
    } catch (const std::exception& e) {
        out << "error: " << e.what() << Qt::endl;
        return 1;
    }
    out << "usage: kirvelo_catalogue_bench search PATH [ROUNDS] | catalogue PATH [ROUNDS]"
        << Qt::endl;
    return 2;
}
