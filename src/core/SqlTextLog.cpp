#include "core/SqlTextLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace SqlTextLog {
namespace {
QString Folder()
{
    static const QString folder = qEnvironmentVariable("KIRVELO_SQL_TEXT_LOG");
    return folder;
}

QString FilePath()
{
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return QDir(Folder()).filePath(QStringLiteral("%1-%2.jsonl")
                                       .arg(program.isEmpty() ? QStringLiteral("kirvelo") : program)
                                       .arg(QCoreApplication::applicationPid()));
}
} // namespace

bool Enabled()
{
    return !Folder().isEmpty();
}

void Record(const QString& sqlServer, const QString& sqlite, const std::source_location& origin)
{
    if (!Enabled())
        return;
    const QString where =
        QString::fromUtf8(origin.file_name()) + u':' + QString::number(origin.line());
    static QSet<QString> seen;
    const QString key = where + u'\n' + sqlServer;
    if (seen.contains(key))
        return;
    seen.insert(key);
    QDir().mkpath(Folder());
    QFile file(FilePath());
    if (!file.open(QIODevice::Append))
        return;
    const QJsonObject line{
        {QStringLiteral("origin"), where},
        {QStringLiteral("sql"), sqlServer},
        {QStringLiteral("sqlite"), sqlite},
    };
    file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
}
} // namespace SqlTextLog
