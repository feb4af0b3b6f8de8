// Screen benchmarks, run headless (QT_QPA_PLATFORM=offscreen unless set):
//
//   kirvelo_widget_bench login
//       the login window as the program starts it, on the database KIRVELO_DATABASE names (the
//       embedded demo database when unset): time from process start to the window shown, to
//       its branches listed (connected) and to the end of its fade-in.
#include "core/DataModule.h"
#include "ui/LoginForm.h"
#include "ui/POSUITheme.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <QtTest>

#include <clocale>
#include <ctime>
#include <unistd.h>

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
    QTextStream out(stdout);
    const QStringList args = QCoreApplication::arguments();
    if (args.value(1) == QLatin1String("login"))
        return BenchLogin(out);
    out << "usage: kirvelo_widget_bench login" << Qt::endl;
    return 2;
}
