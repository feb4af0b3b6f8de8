#include "app/ErrorLogger.h"
#include "core/Exceptions.h"
#include "support/DialogTestHooks.h"
#include "ui/CustomDialogForm.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

// The error log file: its entry format, appending, and real runs of a failing program.
class TestErrorLog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void firstEntryIsThreeLines();
    void entriesAppendInOrder();
    void messageWithLineBreaksIsKept();
    void unhandledEventErrorIsLoggedAndProgramCarriesOn();
    void startupErrorEndsTheProgram();
    void handlerShowsTheErrorBoxThroughTheSeam();
    void startupShowsTheErrorBoxThroughTheSeam();

private:
    static QString ReadLog(const QString& path);
    QString ProbeLog() const;
    int RunProbe(const QString& mode, const QString& workingFolder);
};

static const QRegularExpression kStamp(R"(^\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] )");

void TestErrorLog::init()
{
    QFile::remove(ErrorLogPath());
    QFile::remove(ProbeLog());
}

QString TestErrorLog::ReadLog(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString TestErrorLog::ProbeLog() const
{
    return QCoreApplication::applicationDirPath() + "/KIRVELO_error.log";
}

int TestErrorLog::RunProbe(const QString& mode, const QString& workingFolder)
{
    QProcess probe;
    probe.setWorkingDirectory(workingFolder);
    probe.start(QCoreApplication::applicationDirPath() + "/errorlog_probe", {mode});
    if (!probe.waitForFinished(20000))
        return -1;
    return probe.exitCode();
}

void TestErrorLog::firstEntryIsThreeLines()
{
    WriteErrorLog("Application.OnException", EDatabaseError("Bağlantı koptu"));
    const QStringList lines = ReadLog(ErrorLogPath()).split('\n');
    QCOMPARE(lines.size(), 4); // three lines, the last empty, each ended by a line break
    QVERIFY2(kStamp.match(lines[0]).hasMatch(), qPrintable(lines[0]));
    QVERIFY(lines[0].endsWith("] Application.OnException"));
    QCOMPARE(lines[1], QString("EDatabaseError: Bağlantı koptu"));
    QCOMPARE(lines[2], QString());
    QVERIFY(QDateTime::fromString(lines[0].mid(1, 19), "yyyy-MM-dd HH:mm:ss").isValid());
}

void TestErrorLog::entriesAppendInOrder()
{
    WriteErrorLog("Application.OnException", Exception("birinci"));
    WriteErrorLog("Application.OnException", std::runtime_error("ikinci"));
    const QStringList lines = ReadLog(ErrorLogPath()).split('\n');
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines[1], QString("Exception: birinci"));
    QVERIFY(kStamp.match(lines[3]).hasMatch());
    QCOMPARE(lines[4], QString("Exception: ikinci"));
}

void TestErrorLog::messageWithLineBreaksIsKept()
{
    WriteErrorLog("Startup exception", EInOutError("satır bir\nsatır iki"));
    const QStringList lines = ReadLog(ErrorLogPath()).split('\n');
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[1], QString("EInOutError: satır bir"));
    QCOMPARE(lines[2], QString("satır iki"));
    QCOMPARE(lines[3], QString());
}

void TestErrorLog::unhandledEventErrorIsLoggedAndProgramCarriesOn()
{
    QTemporaryDir elsewhere;
    QCOMPARE(RunProbe("event", elsewhere.path()), 0);
    QVERIFY(!QFile::exists(elsewhere.filePath("KIRVELO_error.log")));
    const QStringList lines = ReadLog(ProbeLog()).split('\n');
    QCOMPARE(lines.size(), 5);
    QVERIFY(lines[0].endsWith("] Application.OnException"));
    QCOMPARE(lines[1], QString("EConvertError: Olay hatası"));
    QCOMPARE(lines[2], QString("ikinci satır"));
}

void TestErrorLog::startupErrorEndsTheProgram()
{
    QTemporaryDir elsewhere;
    QCOMPARE(RunProbe("startup", elsewhere.path()), 1);
    const QStringList lines = ReadLog(ProbeLog()).split('\n');
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[0].endsWith("] Startup exception"));
    QCOMPARE(lines[1], QString("EDatabaseError: Başlangıç hatası"));
}

void TestErrorLog::handlerShowsTheErrorBoxThroughTheSeam()
{
    QGuiApplication::setApplicationDisplayName(kApplicationTitle);
    TDialogAnswers answers;
    TAppExceptionLogger logger;
    logger.AppException(nullptr, EDatabaseError("Sorgu çalışmadı"));
    const QStringList lines = ReadLog(ErrorLogPath()).split('\n');
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[0].endsWith("] Application.OnException"));
    QCOMPARE(lines[1], QString("EDatabaseError: Sorgu çalışmadı"));
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Form, QString("TfrmCustomDialog"));
    QCOMPARE(answers.Last().DlgType, int(dtError));
    QCOMPARE(answers.Last().Title, kApplicationTitle);
    QCOMPARE(answers.Last().Text, QString("Sorgu çalışmadı"));
    QCOMPARE(answers.Last().Buttons, QStringList({"Kapat"}));
}

void TestErrorLog::startupShowsTheErrorBoxThroughTheSeam()
{
    TDialogAnswers answers;
    QCOMPARE(RunGuarded([]() -> int { throw EInOutError("Dosya açılamadı"); }), 1);
    const QStringList lines = ReadLog(ErrorLogPath()).split('\n');
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[0].endsWith("] Startup exception"));
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Title, kApplicationTitle);
    QCOMPARE(answers.Last().Text, QString("Dosya açılamadı"));
}

QTEST_MAIN(TestErrorLog)
#include "tst_ErrorLog.moc"
