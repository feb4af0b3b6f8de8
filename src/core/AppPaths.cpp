#include "core/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString WithSlash(QString path)
{
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

QString EnsureFolder(const QString& path)
{
    QDir().mkpath(path);
    return WithSlash(path);
}
} // namespace

namespace AppPaths {
QString ProgramFolder()
{
    return WithSlash(QCoreApplication::applicationDirPath());
}

QString WritableFolder()
{
    const QString program = ProgramFolder();
    if (QFileInfo(program).isWritable())
        return program;
    return UserDataFolder();
}

QString UserDataFolder()
{
    return EnsureFolder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString UserConfigFolder()
{
    return EnsureFolder(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

QString ReportsFolder()
{
    return EnsureFolder(WritableFolder() + QStringLiteral("Reports"));
}
} // namespace AppPaths
