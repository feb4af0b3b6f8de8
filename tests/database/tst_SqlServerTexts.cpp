#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

// Every text the program can send to SQL Server is parsed with the T-SQL grammar
// (tools/tsql-check).
//
// How the texts are collected, and why none is missed:
// - Every statement reaches the database through TDbQuery, TdmMain's ExecSql and GetScalar, or
//   TStoredProc; each writes down the SQL Server form of its text with the place it was sent
//   from (core/SqlTextLog), whatever the engine: a text with an SQLite twin (SqlText) as its
//   SQL Server member, a text composed from dialect pieces in SQL Server's composition, a
//   routine call as the batch the SQL Server engine sends. Every test runs with the log on
//   (ctest sets KIRVELO_SQL_TEXT_LOG), and this test runs after all of them.
// - The texts sent from the program's sources (src/, except the embedded engine's own in
//   src/database, which SQL Server never gets) are kept; the tests' own texts are not.
// - A text no test sent would be missing, so the sources are read as well: every string
//   literal of src/ that begins a statement (its adjacent literals joined, cut at "%n"
//   arguments), and every routine name, must appear in a text the log holds. A statement the
//   tests never run fails here by file and line; so does a raw QSqlQuery outside the units
//   that run statements for everyone.
class TestSqlServerTexts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void everyProgramTextWasSent();
    void noStatementBypassesTheLog();
    void everyTextParsesAsTsql();

private:
    struct TRecorded {
        QString Origin;
        QString Sql;
        QString Sqlite;
    };
    struct TLiteral {
        QString Text;
        int Line = 0;
        qsizetype Start = 0; // the literal's first character, its prefix included
        qsizetype End = 0;   // just after its closing quote
    };

    static QString ProgramOrigin(const QString& origin);
    static QString Normalized(const QString& sql);
    static QList<TLiteral> Literals(const QString& source);
    static QList<TLiteral> JoinedLiterals(const QString& source);
    static QStringList ProgramSources();

    QList<TRecorded> FProgram;
    QString FHaystack;
};

namespace {
const QString kSourceDir = QStringLiteral(KIRVELO_SOURCE_DIR);
const QString kBinaryDir = QStringLiteral(KIRVELO_BINARY_DIR);
const QString kLogDir = QStringLiteral(KIRVELO_SQL_TEXT_DIR);
} // namespace

// "src/sales/SaleManager.cpp:42" for a text the program sent, empty for any other. The compiler
// names a file relative to the build folder or absolutely.
QString TestSqlServerTexts::ProgramOrigin(const QString& origin)
{
    const qsizetype colon = origin.lastIndexOf(u':');
    const QString file = QDir::cleanPath(QDir(kBinaryDir).absoluteFilePath(origin.left(colon)));
    const QString relative = QDir(kSourceDir).relativeFilePath(file);
    if (!relative.startsWith(QStringLiteral("src/")) ||
        relative.startsWith(QStringLiteral("src/database/")))
        return {};
    return relative + origin.mid(colon);
}

QString TestSqlServerTexts::Normalized(const QString& sql)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return QString(sql).replace(space, QStringLiteral(" ")).trimmed();
}

void TestSqlServerTexts::initTestCase()
{
    const QStringList logs = QDir(kLogDir).entryList({QStringLiteral("*.jsonl")}, QDir::Files);
    QVERIFY2(!logs.isEmpty(), qPrintable("no SQL text log in " + kLogDir +
                                         ": run the whole suite (ctest), which writes it"));
    for (const QString& name : logs) {
        QFile log(QDir(kLogDir).filePath(name));
        QVERIFY(log.open(QIODevice::ReadOnly));
        for (const QByteArray& line : log.readAll().split('\n')) {
            const QJsonObject text = QJsonDocument::fromJson(line).object();
            const QString origin = ProgramOrigin(text.value(QStringLiteral("origin")).toString());
            if (origin.isEmpty())
                continue;
            FProgram << TRecorded{origin, text.value(QStringLiteral("sql")).toString(),
                                  text.value(QStringLiteral("sqlite")).toString()};
            FHaystack += Normalized(FProgram.last().Sql) + u'\n' +
                         Normalized(FProgram.last().Sqlite) + u'\n';
        }
    }
    QVERIFY(!FProgram.isEmpty());
}

// String literals of a C++ source outside comments, decoded; raw literals taken as written.
QList<TestSqlServerTexts::TLiteral> TestSqlServerTexts::Literals(const QString& source)
{
    QList<TLiteral> literals;
    const auto identifier = [](QChar c) {
        return c.isLetterOrNumber() || c == u'_';
    };
    qsizetype i = 0;
    int line = 1;
    const qsizetype n = source.size();
    while (i < n) {
        const QChar c = source.at(i);
        if (c == u'\n') {
            ++line;
            ++i;
        } else if (source.mid(i, 2) == u"//") {
            while (i < n && source.at(i) != u'\n')
                ++i;
        } else if (source.mid(i, 2) == u"/*") {
            const qsizetype end = source.indexOf(QStringLiteral("*/"), i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            line += int(source.mid(i, stop - i).count(u'\n'));
            i = stop;
        } else if (c == u'\'') {
            for (++i; i < n && source.at(i) != u'\''; ++i) {
                if (source.at(i) == u'\\')
                    ++i;
            }
            ++i;
        } else if (c == u'R' && i + 1 < n && source.at(i + 1) == u'"' &&
                   (i == 0 || !identifier(source.at(i - 1)) ||
                    QStringList{"u8", "u", "U", "L"}.contains(source.mid(i - 1, 1)))) {
            const qsizetype open = source.indexOf(u'(', i + 2);
            const QString close = u')' + source.mid(i + 2, open - i - 2) + u'"';
            const qsizetype end = source.indexOf(close, open);
            TLiteral literal{source.mid(open + 1, end - open - 1), line, i, end + close.size()};
            line += int(source.mid(i, literal.End - i).count(u'\n'));
            literals << literal;
            i = literal.End;
        } else if (c == u'"') {
            QString text;
            const qsizetype start = i;
            for (++i; i < n && source.at(i) != u'"'; ++i) {
                if (source.at(i) != u'\\') {
                    text += source.at(i);
                    continue;
                }
                ++i;
                const QChar e = source.at(i);
                text += e == u'n' ? QChar(u'\n') : e == u't' ? QChar(u'\t') : e;
            }
            literals << TLiteral{text, line, start, i + 1};
            ++i;
        } else {
            ++i;
        }
    }
    return literals;
}

// Literals only joined by C++ string concatenation, "+" and QStringLiteral(...) read as one.
QList<TestSqlServerTexts::TLiteral> TestSqlServerTexts::JoinedLiterals(const QString& source)
{
    static const QRegularExpression glue(
        QStringLiteral(R"(^(?:\)|\}|\+|QStringLiteral\(|QLatin1String[({]|QString\(|u8|u|R)*$)"));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    QList<TLiteral> joined;
    for (const TLiteral& literal : Literals(source)) {
        if (!joined.isEmpty()) {
            const QString between =
                source.mid(joined.last().End, literal.Start - joined.last().End).remove(space);
            if (glue.match(between).hasMatch()) {
                joined.last().Text += literal.Text;
                joined.last().End = literal.End;
                continue;
            }
        }
        joined << literal;
    }
    return joined;
}

QStringList TestSqlServerTexts::ProgramSources()
{
    QStringList files;
    QDirIterator it(kSourceDir + QStringLiteral("/src"),
                    {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (!file.contains(QStringLiteral("/src/database/")))
            files << file;
    }
    files.sort();
    return files;
}

void TestSqlServerTexts::everyProgramTextWasSent()
{
    static const QRegularExpression statement(QStringLiteral(
        R"(^(SELECT|INSERT|UPDATE|DELETE|IF|SET|EXEC|CREATE|ALTER|DECLARE|MERGE)\s)"));
    static const QRegularExpression routine(QStringLiteral(R"(^sp_\w+$)"));
    static const QRegularExpression argument(QStringLiteral("%\\d"));
    QStringList missing;
    for (const QString& file : ProgramSources()) {
        QFile source(file);
        QVERIFY(source.open(QIODevice::ReadOnly));
        for (const TLiteral& literal : JoinedLiterals(QString::fromUtf8(source.readAll()))) {
            const QString text = literal.Text.trimmed();
            if (!statement.match(text).hasMatch() && !routine.match(text).hasMatch())
                continue;
            for (const QString& piece : text.split(argument)) {
                const QString wanted = Normalized(piece);
                if (!wanted.isEmpty() && !FHaystack.contains(wanted))
                    missing << QStringLiteral("%1:%2: %3")
                                   .arg(QDir(kSourceDir).relativeFilePath(file))
                                   .arg(literal.Line)
                                   .arg(wanted.left(120));
            }
        }
    }
    QVERIFY2(missing.isEmpty(), qPrintable("texts no test sent:\n" + missing.join(u'\n')));
}

void TestSqlServerTexts::noStatementBypassesTheLog()
{
    // The units that run statements for everyone; anything else goes through them.
    const QStringList allowed = {
        QStringLiteral("src/core/DataModule.cpp"), QStringLiteral("src/core/StatementCache.cpp"),
        QStringLiteral("src/core/StatementCache.h"), QStringLiteral("src/core/SqlServerEngine.cpp"),
        QStringLiteral("src/core/SqlServerEngine.h")};
    static const QRegularExpression raw(QStringLiteral(R"(\bQSqlQuery\b)"));
    QStringList bypassing;
    for (const QString& file : ProgramSources()) {
        const QString relative = QDir(kSourceDir).relativeFilePath(file);
        QFile source(file);
        QVERIFY(source.open(QIODevice::ReadOnly));
        if (!allowed.contains(relative) &&
            raw.match(QString::fromUtf8(source.readAll())).hasMatch())
            bypassing << relative;
    }
    QVERIFY2(bypassing.isEmpty(), qPrintable(bypassing.join(u'\n')));
}

void TestSqlServerTexts::everyTextParsesAsTsql()
{
    QJsonArray texts;
    QSet<QString> seen;
    for (const TRecorded& text : std::as_const(FProgram)) {
        if (seen.contains(text.Sql))
            continue;
        seen.insert(text.Sql);
        texts.append(QJsonObject{{QStringLiteral("origin"), text.Origin},
                                 {QStringLiteral("sql"), text.Sql}});
    }
    const QString file = QDir(kLogDir).filePath(QStringLiteral("program-texts.json"));
    QFile json(file);
    QVERIFY(json.open(QIODevice::WriteOnly | QIODevice::Truncate));
    json.write(QJsonDocument(texts).toJson());
    json.close();

    QProcess node;
    node.setProcessChannelMode(QProcess::MergedChannels);
    node.start(QStringLiteral("node"),
               {kSourceDir + QStringLiteral("/tools/tsql-check/tsql-check.js"), file});
    QVERIFY2(node.waitForStarted(), "node is not installed (scripts/test installs it)");
    QVERIFY(node.waitForFinished(300000));
    const QString output = QString::fromUtf8(node.readAll());
    QVERIFY2(node.exitCode() == 0, qPrintable(output));
    qInfo().noquote() << output.trimmed();
}

QTEST_GUILESS_MAIN(TestSqlServerTexts)
#include "tst_SqlServerTexts.moc"
