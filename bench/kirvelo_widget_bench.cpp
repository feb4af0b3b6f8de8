// Screen benchmarks, run headless (QT_QPA_PLATFORM=offscreen unless set):
//
//   kirvelo_widget_bench login
//       the login window as the program starts it, on the database KIRVELO_DATABASE names (the
//       embedded demo database when unset): time from process start to the window shown, to
//       its branches listed (connected) and to the end of its fade-in.
//
//   kirvelo_widget_bench scan PATH [ROUNDS]
//       the sales screen on a large SQLite database (made with kirvelo-seed; the run opens a
//       shift in it): each round scans 100 different products into an empty cart by typing the
//       code into edtBarkod and pressing Enter; every scan is timed from the Enter to the cart
//       grid repainted. Then the process's resident memory with that catalogue and the 100-line
//       cart.
#include "BenchTill.h"
#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/SessionManager.h"
#include "database/SqliteEngine.h"
#include "support/DialogTestHooks.h"
#include "ui/LoginForm.h"
#include "ui/MainPOSForm.h"
#include "ui/POSUITheme.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTableWidget>
#include <QTextStream>
#include <QtTest>

#include <algorithm>
#include <clocale>
#include <ctime>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace {
// Milliseconds since the kernel started this process (10 ms resolution).
double MsSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command name, which is in parentheses and may hold blanks.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = double(now.tv_sec) * 1000 + double(now.tv_nsec) / 1e6;
    return nowMs - startTicks * 1000 / double(sysconf(_SC_CLK_TCK));
}

// The headless platform warns about every opacity step of the fade-in.
void QuietPlatformWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg && message.contains(QLatin1String("This plugin does not support")))
        return;
    QTextStream(stderr) << message << Qt::endl;
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

int BenchLogin(QTextStream& out)
{
    RegisterFontSubstitutions();
    TdmMain db;
    TfrmLogin login;
    login.show();
    const bool exposed = QTest::qWaitForWindowExposed(&login, 5000);
    const double shownMs = MsSinceProcessStart();
    auto* branches = login.findChild<QComboBox*>(QStringLiteral("scGPComboBox1"));
    const bool listed = branches && WaitFor([branches] { return branches->count() > 0; }, 10000);
    const double listedMs = MsSinceProcessStart();
    const bool faded =
        WaitFor([&login] { return qFuzzyCompare(login.windowOpacity(), 1.0); }, 10000);
    const double fadedMs = MsSinceProcessStart();
    if (!exposed || !listed || !faded) {
        out << "error: the login window did not show, connect or fade in" << Qt::endl;
        return 1;
    }
    out << QStringLiteral("Login: shown %1 ms, branches listed %2 ms, faded in %3 ms after the "
                          "process started (%4)")
               .arg(shownMs, 0, 'f', 0)
               .arg(listedMs, 0, 'f', 0)
               .arg(fadedMs, 0, 'f', 0)
               .arg(dmMain->Description())
        << Qt::endl;
    return 0;
}
// A cashier logged in on the first active branch, with a shift of their own open.
void LogInWithOpenShift()
{
    const TBenchTill till = FirstTill();
    OpenBenchShift(till, 0);
    TSessionInfo session;
    session.SubeID = till.SubeID;
    session.KullaniciID = till.KullaniciID;
    session.TerminalID = till.TerminalID;
    session.AdSoyad = QStringLiteral("Kasiyer");
    session.SubeAdi = QStringLiteral("Şube");
    TSessionManager::Instance().Login(session);
}

// 100 different counted products that may be sold (no expired lot in stock): 90 by their own
// barcode, 10 by a case barcode.
const QString kSellable = QStringLiteral(
    "NOT EXISTS (SELECT 1 FROM StokLotDetay L WHERE L.StokID = S.StokID AND L.MevcutMiktar > 0 "
    "AND L.SonKullanmaTarihi < date('now','localtime'))");

std::vector<QString> ScanCodes()
{
    std::vector<QString> codes;
    TDbQuery cases(QString(
        QStringLiteral("SELECT D.KoliBarkod FROM StokBirimDonusum D JOIN Stok S ON S.StokID = "
                       "D.StokID WHERE S.IsDeleted = 0 AND S.IsActive = 1 AND S.TartimliMi = 0 "
                       "AND ") +
        kSellable + QStringLiteral(" ORDER BY D.StokID LIMIT 10")));
    cases.Exec();
    while (cases.Next())
        codes.push_back(cases.Value(0).toString());
    TDbQuery plain(QString(
        QStringLiteral("SELECT Barkod FROM Stok S WHERE IsDeleted = 0 AND IsActive = 1 AND "
                       "TartimliMi = 0 AND NOT EXISTS (SELECT 1 FROM StokBirimDonusum D WHERE "
                       "D.StokID = S.StokID) AND ") +
        kSellable + QStringLiteral(" ORDER BY StokID LIMIT 90 OFFSET 2000")));
    plain.Exec();
    while (plain.Next())
        codes.push_back(plain.Value(0).toString());
    if (codes.size() < 100)
        throw std::runtime_error("database holds too few products; run kirvelo-seed first");
    return codes;
}

// Counts the paintings of a widget.
class TPaintCounter : public QObject {
public:
    explicit TPaintCounter(QWidget* widget)
        : QObject(widget)
    {
        widget->installEventFilter(this);
    }
    int Count() const { return FCount; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++FCount;
        return QObject::eventFilter(watched, event);
    }

private:
    int FCount = 0;
};

// Types the code, then times Enter until the grid has been painted again.
double TimedScan(TfrmMainPOS& screen, const TPaintCounter& paints, const QString& code)
{
    QTest::keyClicks(screen.findChild<QLineEdit*>("edtBarkod"), code);
    QCoreApplication::processEvents();
    const int before = paints.Count();
    const int lines = screen.Cart().Count();
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(screen.findChild<QLineEdit*>("edtBarkod"), Qt::Key_Return);
    while (paints.Count() == before && clock.elapsed() < 5000)
        QCoreApplication::processEvents();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (screen.Cart().Count() != lines + 1 || paints.Count() == before)
        throw std::runtime_error(
            QString(QStringLiteral("scan did not add a painted line: ") + code).toStdString());
    return ms;
}

void ClearCart(TfrmMainPOS& screen)
{
    screen.Cart().Clear();
    screen.RefreshCart();
    QCoreApplication::processEvents();
}

double Percentile(std::vector<double> times, double share)
{
    std::sort(times.begin(), times.end());
    const size_t at = std::min(times.size() - 1, size_t(share * double(times.size())));
    return times[at];
}

// "VmRSS" or "VmHWM" of this process in MB.
int BenchScan(QTextStream& out, const QString& path, int rounds)
{
    RegisterFontSubstitutions();
    TdmMain db;
    db.SetAttempts({{QStringLiteral("QSQLITE"), path}});
    db.Connect();
    LogInWithOpenShift();
    const std::vector<QString> codes = ScanCodes();
    const TDialogAnswers noDialogs; // a refused scan must fail the run, not wait for a person
    TfrmMainPOS screen;
    screen.resize(1366, 768);
    screen.show();
    if (!QTest::qWaitForWindowExposed(&screen, 5000))
        throw std::runtime_error("the sales screen did not show");
    if (screen.VardiyaID() <= 0)
        throw std::runtime_error("the sales screen found no open shift");
    TPaintCounter paints(screen.findChild<QTableWidget*>("gridCart")->viewport());

    const double firstMs = TimedScan(screen, paints, codes.front());
    ClearCart(screen);
    std::vector<double> times;
    std::vector<double> last;
    for (int round = 0; round < rounds; ++round) {
        ClearCart(screen);
        for (const QString& code : codes) {
            times.push_back(TimedScan(screen, paints, code));
            if (screen.Cart().Count() > 90)
                last.push_back(times.back());
        }
    }
    if (noDialogs.Count() > 0)
        throw std::runtime_error(
            QString(QStringLiteral("a dialog was shown: ") + noDialogs.Last().Text).toStdString());
    out << QStringLiteral("Scan to repainted grid, %1 scans: median %2 ms, p95 %3 ms, max %4 ms; "
                          "lines 91-100: median %5 ms; first scan of the run %6 ms")
               .arg(times.size())
               .arg(Percentile(times, 0.5), 0, 'f', 2)
               .arg(Percentile(times, 0.95), 0, 'f', 2)
               .arg(Percentile(times, 1.0), 0, 'f', 2)
               .arg(Percentile(last, 0.5), 0, 'f', 2)
               .arg(firstMs, 0, 'f', 1)
        << Qt::endl;
    out << QStringLiteral("Memory with a %1-line cart: VmRSS %2 MB, VmHWM %3 MB")
               .arg(screen.Cart().Count())
               .arg(ProcessMemoryMb("VmRSS"), 0, 'f', 1)
               .arg(ProcessMemoryMb("VmHWM"), 0, 'f', 1)
        << Qt::endl;
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietPlatformWarnings);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setOrganizationName(QStringLiteral("KIRVELO"));
    QCoreApplication::setApplicationName(QStringLiteral("KIRVELO"));
    TSqliteEngine::Register();
    QTextStream out(stdout);
    const QStringList args = QCoreApplication::arguments();
    try {
        if (args.value(1) == QLatin1String("login"))
            return BenchLogin(out);
        if (args.value(1) == QLatin1String("scan") && args.size() > 2)
            return BenchScan(out, args.at(2), args.size() > 3 ? args.at(3).toInt() : 3);
    } catch (const std::exception& e) {
        out << "error: " << e.what() << Qt::endl;
        return 1;
    }
    out << "usage: kirvelo_widget_bench login | scan PATH [ROUNDS]" << Qt::endl;
    return 2;
}
