// Opens a database file the way the program opens its embedded default, so that tests can start
// several at the same moment on one new file.
//   opendemo_probe PATH
#include "core/DataModule.h"
#include "core/Exceptions.h"
#include "database/EmbeddedDatabase.h"
#include "database/SqliteEngine.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    try {
        TSqliteEngine::Register();
        TdmMain db;
        db.SetAttempts({{QStringLiteral("QSQLITE"), QString::fromLocal8Bit(argv[1])}});
        db.Connect();
        EmbeddedDatabase::Prepare(true);
    } catch (const std::exception& e) {
        std::fputs(qPrintable(ErrorMessage(e) + u'\n'), stderr);
        return 1;
    }
    return 0;
}
