// Opens a shift on an SQLite file as another till would, at a signal.
//   shift_worker PATH KULLANICIID SUBEID TERMINALID GOFILE
// Connects, prints "READY", waits until GOFILE exists, then prints "OK <VardiyaID>" or
// "FAIL <message>".
#include "core/DataModule.h"
#include "core/Exceptions.h"
#include "database/SqliteEngine.h"
#include "shifts/ShiftManager.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <QThread>

#include <clocale>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 6)
        return 2;
    TSqliteEngine::Register();
    TdmMain db;
    db.SetAttempts({{QStringLiteral("QSQLITE"), QString::fromLocal8Bit(argv[1])}});
    db.Connect();
    TSessionInfo session;
    session.KullaniciID = QString::fromLocal8Bit(argv[2]).toInt();
    session.SubeID = QString::fromLocal8Bit(argv[3]).toInt();
    session.TerminalID = QString::fromLocal8Bit(argv[4]).toInt();
    const QString go = QString::fromLocal8Bit(argv[5]);

    QTextStream out(stdout);
    out << "READY" << Qt::endl;
    while (!QFile::exists(go))
        QThread::usleep(200);
    try {
        const int vardiyaID = TShiftManager::OpenShift(session, 100).VardiyaID;
        out << "OK " << vardiyaID << Qt::endl;
    } catch (const std::exception& e) {
        out << "FAIL " << ErrorMessage(e) << Qt::endl;
    }
    return 0;
}
