// Saves a new customer card on an SQLite file as another till would, at a signal.
//   cari_worker PATH NAME GOFILE
// Connects, proposes a code as a new card does, prints "READY <code>", waits until GOFILE
// exists, saves, then prints "OK <CariID> <code>" or "FAIL <message>".
#include "core/DataModule.h"
#include "core/Exceptions.h"
#include "customers/CariCard.h"
#include "database/SqliteEngine.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <QThread>

#include <clocale>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 4)
        return 2;
    TSqliteEngine::Register();
    TdmMain db;
    db.SetAttempts({{QStringLiteral("QSQLITE"), QString::fromLocal8Bit(argv[1])}});
    db.Connect();
    TCariCardData card;
    card.CariAdi = QString::fromLocal8Bit(argv[2]);
    const QString go = QString::fromLocal8Bit(argv[3]);

    QTextStream out(stdout);
    TCariCard::EnsureCariKartColumns();
    card.CariKodu = TCariCard::GenerateCariKodu();
    out << "READY " << card.CariKodu << Qt::endl;
    while (!QFile::exists(go))
        QThread::usleep(200);
    try {
        const TCariSaveResult saved = TCariCard::SaveCard(card, card.CariKodu);
        out << "OK " << saved.CariID << ' ' << saved.CariKodu << Qt::endl;
    } catch (const std::exception& e) {
        out << "FAIL " << ErrorMessage(e) << Qt::endl;
    }
    return 0;
}
