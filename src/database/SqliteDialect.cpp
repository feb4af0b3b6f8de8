#include "database/SqliteDialect.h"

#include <QRegularExpression>

namespace {
using RX = QRegularExpression;
constexpr auto CI = QRegularExpression::CaseInsensitiveOption;
constexpr auto DOT = QRegularExpression::DotMatchesEverythingOption;

// Splits a batch at the semicolons that are not inside a quoted literal.
QStringList SplitBatch(const QString& sql)
{
    QStringList parts;
    QString current;
    bool quoted = false;
    for (const QChar c : sql) {
        if (c == u'\'')
            quoted = !quoted;
        if (c == u';' && !quoted) {
            parts << current;
            current.clear();
            continue;
        }
        current += c;
    }
    parts << current;
    return parts;
}

// SQLite would give DECIMAL columns NUMERIC affinity and store 3.0 as the integer 3; money and
// quantities are kept as REAL so that they always read back as doubles.
QString TranslateColumnTypes(QString definition)
{
    static const RX decimal(
        QStringLiteral(
            R"(\b(?:DECIMAL|NUMERIC)\s*\(\s*\d+\s*(?:,\s*\d+\s*)?\)|\b(?:SMALLMONEY|MONEY|FLOAT)\b)"),
        CI);
    definition.replace(decimal, QStringLiteral("REAL"));
    return definition;
}

QString TranslateCreateTableBody(QString body)
{
    static const RX identity(
        QStringLiteral(R"(\bINT\s+IDENTITY\s*\(\s*1\s*,\s*1\s*\)\s+PRIMARY\s+KEY)"), CI);
    static const RX nowDefault(QStringLiteral(R"(DEFAULT\s*\(\s*GETDATE\(\)\s*\))"), CI);
    body.replace(identity, QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"));
    // Column defaults keep SQLite's own clock, out of TClock's reach: a default calling our
    // GETDATE() would leave the file unwritable for any SQLite client without our functions.
    body.replace(nowDefault, QStringLiteral("DEFAULT (datetime('now','localtime'))"));
    return TranslateColumnTypes(body);
}

TSqlStep TranslateStatement(const QString& statement)
{
    static const RX createTable(
        QStringLiteral(
            R"(^IF\s+OBJECT_ID\s*\([^)]*\)\s+IS\s+NULL\s+CREATE\s+TABLE\s+(\w+)\s*\((.*)\)$)"),
        CI | DOT);
    static const RX createIndex(
        QStringLiteral(
            R"(^IF\s+NOT\s+EXISTS\s*\(.*?\)\s*CREATE\s+(UNIQUE\s+)?INDEX\s+(\w+)\s+ON\s+(.*)$)"),
        CI | DOT);
    static const RX addColumn(
        QStringLiteral(
            R"(^IF\s+COL_LENGTH\s*\(\s*'(\w+)'\s*,\s*'(\w+)'\s*\)\s+IS\s+NULL\s+ALTER\s+TABLE\s+(\w+)\s+ADD\s+(.*)$)"),
        CI | DOT);
    static const RX selectTop(QStringLiteral(R"(^SELECT\s+TOP\s+(\d+)\s+(.*)$)"), CI | DOT);

    if (auto m = createTable.match(statement); m.hasMatch())
        return {QStringLiteral("CREATE TABLE IF NOT EXISTS ") + m.captured(1) +
                    QStringLiteral(" (") + TranslateCreateTableBody(m.captured(2)) + u')',
                {},
                {}};
    if (auto m = createIndex.match(statement); m.hasMatch())
        return {QStringLiteral("CREATE ") + m.captured(1).toUpper().trimmed() +
                    (m.captured(1).isEmpty() ? QString() : QStringLiteral(" ")) +
                    QStringLiteral("INDEX IF NOT EXISTS ") + m.captured(2) +
                    QStringLiteral(" ON ") + m.captured(3),
                {},
                {}};
    if (auto m = addColumn.match(statement); m.hasMatch())
        return {QStringLiteral("ALTER TABLE ") + m.captured(3) + QStringLiteral(" ADD COLUMN ") +
                    TranslateColumnTypes(m.captured(4)),
                m.captured(1), m.captured(2)};
    if (auto m = selectTop.match(statement); m.hasMatch())
        return {QStringLiteral("SELECT ") + m.captured(2) + QStringLiteral(" LIMIT ") +
                    m.captured(1),
                {},
                {}};
    return {statement, {}, {}};
}

bool IsSessionOption(const QString& statement)
{
    static const RX option(
        QStringLiteral(
            R"(^SET\s+(NOCOUNT|QUOTED_IDENTIFIER|XACT_ABORT|ANSI_\w+|ARITHABORT)\s+(ON|OFF)$)"),
        CI);
    return option.match(statement).hasMatch();
}

// SQL Server's table hints (WITH (UPDLOCK, HOLDLOCK) and the like) keep rows locked for the rest
// of a transaction; SQLite has none, and its write transactions begin IMMEDIATE instead.
QString WithoutTableHints(const QString& text)
{
    static const RX hint(
        QStringLiteral(
            R"(\s+WITH\s*\(\s*(?:UPDLOCK|HOLDLOCK|ROWLOCK|XLOCK|NOLOCK|READPAST|SERIALIZABLE)(?:\s*,\s*(?:UPDLOCK|HOLDLOCK|ROWLOCK|XLOCK|NOLOCK|READPAST|SERIALIZABLE))*\s*\))"),
        CI);
    QString result = text;
    return result.replace(hint, QString());
}
} // namespace

QList<TSqlStep> TSqliteDialect::TranslateForSqlite(const QString& tsql)
{
    static const RX schema(QStringLiteral(R"(\bdbo\.)"), CI);
    static const RX isnull(QStringLiteral(R"(\bISNULL\s*\()"), CI);
    QString text = WithoutTableHints(tsql);
    text.replace(schema, QString());
    text.replace(isnull, QStringLiteral("IFNULL("));

    QList<TSqlStep> steps;
    for (const QString& part : SplitBatch(text)) {
        const QString statement = part.trimmed();
        if (statement.isEmpty() || IsSessionOption(statement))
            continue;
        steps << TranslateStatement(statement);
        steps.last().LaterInBatch = steps.size() > 1;
    }
    return steps;
}

QList<TSqlStep> TSqliteDialect::Steps(const QString& sql) const
{
    if (const QList<TSqlStep>* cached = FCache.object(sql))
        return *cached;
    const QList<TSqlStep> steps = TranslateForSqlite(sql);
    FCache.insert(sql, new QList<TSqlStep>(steps));
    return steps;
}

qsizetype TSqliteDialect::CachedTranslations() const
{
    return FCache.size();
}

// Today comes from GETDATE(), the program's clock, in a sub-select: read once per statement, as
// SQL Server does, not once per row.
QString TSqliteDialect::Today() const
{
    return QStringLiteral("(SELECT date(GETDATE()))");
}

QString TSqliteDialect::DateText104(const QString& expr) const
{
    return QStringLiteral("strftime('%d.%m.%Y', ") + expr + u')';
}

QString TSqliteDialect::Top(int) const
{
    return {};
}

QString TSqliteDialect::Limit(int n) const
{
    return QStringLiteral(" LIMIT %1").arg(n);
}

QVariant TSqliteDialect::TimeValue(const QDateTime& time) const
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
