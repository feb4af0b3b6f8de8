#include "DatabaseProbe.h"

#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/OwnedSchema.h"
#include "core/StoredProc.h"
#include "database/EmbeddedDatabase.h"
#include "database/EmbeddedSchema.h"
#include "database/SqliteSearchKey.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

// The embedded schema against the SQL Server set-up script, and the guarded creation of the
// program-owned tables.
class TestEmbeddedSchema : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void newFileHasTheWholeSchema();
    void creatingTwiceChangesNothing();
    void requiredTablesOnlyGainOwnedTablesOnFirstUse();
    void shortCustomerTableGainsTheLaterColumns();
    void reopeningCompletesAMissingPart();
    void scriptAndSqliteNameTheSameTablesAndColumns();
    void scriptHoldsTheSchemaStatementsWordForWord();
    void scriptHoldsTheSearchKeyWordForWord();
    void scriptRoutinesHaveTheirParameters_data();
    void scriptRoutinesHaveTheirParameters();
    void defaultsAndTypes();
    void foreignKeysAreEnforced();
    void routinesAreFoundByName_data();
    void routinesAreFoundByName();
};

namespace {
QString ScriptText()
{
    QFile file(QStringLiteral(KIRVELO_SOURCE_DIR "/database/kirvelo_sqlserver.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(file.readAll());
    static const QRegularExpression comment(QStringLiteral("--[^\n]*"));
    return text.remove(comment);
}

// Whitespace-insensitive form of a statement, so that the script may lay it out over lines.
QString Normalized(QString sql)
{
    static const QRegularExpression space(QStringLiteral(R"(\s+)"));
    static const QRegularExpression afterOpen(QStringLiteral(R"(\(\s+)"));
    static const QRegularExpression beforeClose(QStringLiteral(R"(\s+\))"));
    sql.replace(space, QStringLiteral(" "));
    sql.replace(afterOpen, QStringLiteral("("));
    sql.replace(beforeClose, QStringLiteral(")"));
    return sql.trimmed();
}

QStringList Batches(const QString& script)
{
    static const QRegularExpression go(QStringLiteral(R"(^\s*GO\s*$)"),
                                       QRegularExpression::MultilineOption);
    return script.split(go, Qt::SkipEmptyParts);
}

// Splits a column list at the commas outside parentheses.
QStringList TopLevelItems(const QString& body)
{
    QStringList items;
    QString current;
    int depth = 0;
    for (const QChar c : body) {
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        if (c == u',' && depth == 0) {
            items << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    items << current.trimmed();
    return items;
}

// Table -> columns in order, as the script creates and extends them.
QMap<QString, QStringList> ScriptTables()
{
    static const QRegularExpression create(
        QStringLiteral(R"(CREATE\s+TABLE\s+dbo\.(\w+)\s*\((.*)\)\s*;?\s*$)"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression add(
        QStringLiteral(R"(ALTER\s+TABLE\s+dbo\.(\w+)\s+ADD\s+(\w+))"));
    static const QStringList notColumns{"CONSTRAINT", "PRIMARY", "FOREIGN",
                                        "UNIQUE",     "CHECK",   "INDEX"};
    QMap<QString, QStringList> tables;
    for (const QString& batch : Batches(ScriptText())) {
        if (batch.contains(QStringLiteral("PROCEDURE")) || batch.contains(QStringLiteral("VIEW")))
            continue;
        if (const auto m = create.match(batch); m.hasMatch()) {
            QStringList& columns = tables[m.captured(1)];
            for (const QString& item : TopLevelItems(m.captured(2))) {
                const QString first = item.section(u' ', 0, 0);
                if (!notColumns.contains(first.toUpper()))
                    columns << first;
            }
        }
        // A guarded column is added only where the table does not have it yet.
        if (const auto m = add.match(batch);
            m.hasMatch() && !tables[m.captured(1)].contains(m.captured(2)))
            tables[m.captured(1)] << m.captured(2);
    }
    return tables;
}

void DropOwnedObjects()
{
    for (const char* table :
         {"SistemParametre", "SubeStok", "SatisFisLot", "CariKart", "BelgeBaslik", "BelgeSatir"})
        dmMain->ExecSql(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table)));
    dmMain->ExecSql("ALTER TABLE Stok DROP COLUMN GorselYol");
    dmMain->ExecSql("ALTER TABLE Stok DROP COLUMN Resim");
    dmMain->ExecSql("DROP INDEX IX_SatisFis_OrijinalFisID");
    dmMain->ExecSql("ALTER TABLE SatisFis DROP COLUMN OrijinalFisID");
}

int SchemaVersion()
{
    return dmMain->GetScalar("PRAGMA schema_version").toInt();
}
} // namespace

void TestEmbeddedSchema::initTestCase()
{
    UseTestPaths();
    QVERIFY2(!ScriptText().isEmpty(), "database/kirvelo_sqlserver.sql is missing");
}

void TestEmbeddedSchema::newFileHasTheWholeSchema()
{
    TTestDatabase db;
    QVERIFY(EmbeddedSchema::IsComplete());
    const QStringList tables = DatabaseProbe::Tables();
    for (const char* table :
         {"Firma",         "Sube",        "Terminal",         "Rol",          "Kullanici",
          "Kategori",      "Stok",        "StokBirimDonusum", "StokLotDetay", "SatisFis",
          "SatisFisSatir", "SatisOdeme",  "Vardiya",          "Musteri",      "SistemParametre",
          "SubeStok",      "SatisFisLot", "CariKart",         "BelgeBaslik",  "BelgeSatir"})
        QVERIFY2(tables.contains(QLatin1String(table)), table);
    QVERIFY(DatabaseProbe::Columns("Stok").contains("GorselYol"));
    QVERIFY(DatabaseProbe::Columns("Stok").contains("Resim"));
    QVERIFY(DatabaseProbe::Columns("SatisFis").contains("OrijinalFisID"));
    const QStringList view = DatabaseProbe::Columns("vw_VardiyaOzet");
    for (const char* column :
         {"VardiyaID", "AcilisTutar", "NakitSatis", "KartSatis", "IadeToplam", "BeklenenNakit"})
        QVERIFY2(view.contains(QLatin1String(column)), column);
    // Two tables for a shop that has neither case barcodes nor lots are still probed as present.
    QVERIFY(!db.Scalar("SELECT OBJECT_ID('dbo.StokBirimDonusum', 'U')").isNull());
    QVERIFY(!db.Scalar("SELECT OBJECT_ID('dbo.StokLotDetay', 'U')").isNull());
}

void TestEmbeddedSchema::creatingTwiceChangesNothing()
{
    TTestDatabase db;
    const QString before = DatabaseProbe::Schema();
    const int version = SchemaVersion();
    EmbeddedSchema::Create();
    QCOMPARE(SchemaVersion(), version); // a complete schema is not even touched
    for (const QString& statement :
         EmbeddedSchema::RequiredStatements() + OwnedSchema::AllStatements())
        db.Exec(statement);
    OwnedSchema::Run(OwnedSchema::CustomerCardStatements());
    QCOMPARE(DatabaseProbe::Schema(), before);
    db.Db().Disconnect();
    db.Db().Connect();
    QCOMPARE(DatabaseProbe::Schema(), before);
}

void TestEmbeddedSchema::requiredTablesOnlyGainOwnedTablesOnFirstUse()
{
    TTestDatabase db;
    db.Exec("INSERT INTO Kategori (KategoriAdi) VALUES ('K')");
    db.Exec("INSERT INTO Stok (StokAdi, Barkod) VALUES ('Urun', '1')");
    DropOwnedObjects();
    QVERIFY(!EmbeddedSchema::IsComplete());
    QVERIFY(db.Scalar("SELECT OBJECT_ID('dbo.SubeStok', 'U')").isNull());

    // Each owner brings in its own tables, columns and indexes, and a second run adds nothing.
    const QList<QPair<QStringList, QStringList>> owners{
        {OwnedSchema::BranchStockStatements(), {"SubeStok"}},
        {OwnedSchema::SaleLotStatements(), {"SatisFisLot"}},
        {OwnedSchema::CustomerListStatements(), {"CariKart"}},
        {OwnedSchema::SettingsStatements(), {"SistemParametre"}},
        {OwnedSchema::InvoiceDocumentStatements(), {"BelgeBaslik", "BelgeSatir"}},
        {OwnedSchema::StokImageStatements(), {}},
        {OwnedSchema::RefundStatements(), {}},
    };
    for (const auto& [statements, tables] : owners) {
        OwnedSchema::Run(statements);
        for (const QString& table : tables)
            QVERIFY2(!db.Scalar(QString("SELECT OBJECT_ID('dbo.%1', 'U')").arg(table)).isNull(),
                     qPrintable(table));
        const QString once = DatabaseProbe::Schema();
        OwnedSchema::Run(statements);
        QCOMPARE(DatabaseProbe::Schema(), once);
    }
    // Columns join a table that has rows; the product keeps its row.
    QCOMPARE(db.Count("Stok"), 1);
    QVERIFY(db.Scalar("SELECT GorselYol FROM Stok").isNull());
    QVERIFY(DatabaseProbe::Columns("SatisFis").contains("OrijinalFisID"));
    QVERIFY(DatabaseProbe::Columns("CariKart").contains("Notlar"));
    QCOMPARE(db.Scalar("SELECT COUNT(*) FROM sqlite_master WHERE name IN ('UX_SubeStok_Sube_Stok', "
                       "'IX_SubeStok_StokID', 'UX_CariKart_CariKodu', 'UX_BelgeBaslik_BelgeNo', "
                       "'IX_SatisFis_OrijinalFisID')")
                 .toInt(),
             5);
    QVERIFY(EmbeddedSchema::IsComplete());
}

void TestEmbeddedSchema::shortCustomerTableGainsTheLaterColumns()
{
    TTestDatabase db;
    db.Exec("DROP TABLE CariKart");
    OwnedSchema::Run(OwnedSchema::InvoiceDocumentStatements());
    const QStringList later{"YetkiliKisi", "ParaBirimi", "RiskLimiti", "VadeGunu", "Notlar"};
    for (const QString& column : later)
        QVERIFY(!DatabaseProbe::Columns("CariKart").contains(column));
    db.Exec(
        "INSERT INTO CariKart (CariKodu, CariAdi, CariTipi) VALUES ('C00001', 'Ahmet', 'MUSTERI')");

    OwnedSchema::Run(OwnedSchema::CustomerCardStatements());
    QStringList columns = DatabaseProbe::Columns("CariKart");
    QCOMPARE(columns.mid(columns.size() - 5), later);
    // The row that was there takes the defaults of the new NOT NULL columns.
    QCOMPARE(db.Scalar("SELECT ParaBirimi FROM CariKart").toString(), QString("TRY"));
    QCOMPARE(db.Scalar("SELECT RiskLimiti FROM CariKart").toDouble(), 0.0);
    QCOMPARE(db.Scalar("SELECT VadeGunu FROM CariKart").toInt(), 0);

    // The list brings in the same columns; on this table it has nothing left to add.
    const QString once = DatabaseProbe::Schema();
    OwnedSchema::Run(OwnedSchema::CustomerListStatements());
    QCOMPARE(DatabaseProbe::Schema(), once);
    QCOMPARE(
        OwnedSchema::CariKartColumn("RiskLimiti"),
        QString("IF COL_LENGTH('dbo.CariKart', 'RiskLimiti') IS NULL ALTER TABLE dbo.CariKart ADD "
                "RiskLimiti DECIMAL(18,2) NOT NULL DEFAULT(0)"));
    QCOMPARE(
        OwnedSchema::CariKartColumn("CariTipi"),
        QString("IF COL_LENGTH('dbo.CariKart', 'CariTipi') IS NULL ALTER TABLE dbo.CariKart ADD "
                "CariTipi NVARCHAR(20) NOT NULL DEFAULT('MUSTERI')"));
    QVERIFY(OwnedSchema::CariKartColumn("CariKodu").isEmpty());
}

void TestEmbeddedSchema::reopeningCompletesAMissingPart()
{
    TTestDatabase db;
    DropOwnedObjects();
    db.Exec("DROP INDEX IX_SatisFis_VardiyaID");
    db.Exec("DROP VIEW vw_VardiyaOzet");
    db.Exec("CREATE VIEW vw_VardiyaOzet AS SELECT VardiyaID FROM Vardiya");
    db.Db().Disconnect();
    db.Db().Connect();
    QVERIFY(EmbeddedSchema::IsComplete());
    QVERIFY(DatabaseProbe::Columns("vw_VardiyaOzet").contains("BeklenenNakit"));
    QVERIFY(DatabaseProbe::Tables().contains("SubeStok"));
    QVERIFY(
        !db.Scalar("SELECT 1 FROM sqlite_master WHERE name = 'IX_SatisFis_VardiyaID'").isNull());
}

void TestEmbeddedSchema::scriptAndSqliteNameTheSameTablesAndColumns()
{
    TTestDatabase db;
    const QMap<QString, QStringList> script = ScriptTables();
    QMap<QString, QStringList> sqlite;
    for (const QString& table : DatabaseProbe::Tables()) {
        if (!table.startsWith("sqlite_"))
            sqlite[table] = DatabaseProbe::Columns(table);
    }
    QCOMPARE(script.keys(), sqlite.keys());
    for (auto it = script.cbegin(); it != script.cend(); ++it)
        QCOMPARE(it.value(), sqlite.value(it.key()));
}

void TestEmbeddedSchema::scriptHoldsTheSchemaStatementsWordForWord()
{
    const QString script = Normalized(ScriptText());
    QStringList statements = EmbeddedSchema::RequiredStatements() + OwnedSchema::AllStatements();
    // The short customer table only ever comes from the invoice path, never from a set-up.
    statements.removeAll(OwnedSchema::CariKartShortTable);
    for (const QString& statement : statements)
        QVERIFY2(script.contains(Normalized(statement)), qPrintable(statement));
    QVERIFY(script.contains(
        Normalized("ALTER VIEW dbo.vw_VardiyaOzet AS " + EmbeddedSchema::ShiftSummaryViewBody())));
}

// The search key's batch, as the program sends it to SQL Server: its tables and state rows word
// for word, its function and triggers (inside EXEC) as the script defines them, where the
// grammar check parses them.
void TestEmbeddedSchema::scriptHoldsTheSearchKeyWordForWord()
{
    const QString script = Normalized(ScriptText());
    for (const QString& statement :
         {QString(OwnedSchema::AramaDurumTable), QString(OwnedSchema::StokParcaTable),
          QString(OwnedSchema::StokParcaAdetTable), QString(OwnedSchema::SatisFisNoTable),
          QString(OwnedSchema::AramaDurumRows)})
        QVERIFY2(script.contains(Normalized(statement)), qPrintable(statement));
    static const QRegularExpression wrapped(QStringLiteral(R"(EXEC\(N'(.*)'\);$)"),
                                            QRegularExpression::DotMatchesEverythingOption);
    for (const QString& statement :
         {QString(OwnedSchema::StokParcaFunction), QString(OwnedSchema::StokParcaTrigger),
          QString(OwnedSchema::SatisFisNoTrigger)}) {
        const QRegularExpressionMatch m = wrapped.match(statement);
        QVERIFY2(m.hasMatch(), qPrintable(statement));
        QString body = m.captured(1).replace(QStringLiteral("''"), QStringLiteral("'"));
        body.replace(0, 6, QStringLiteral("ALTER"));
        QVERIFY2(script.contains(Normalized(body)), qPrintable(body));
    }
    QStringList parts;
    for (const QString& statement :
         {QString(OwnedSchema::AramaDurumTable), QString(OwnedSchema::StokParcaTable),
          QString(OwnedSchema::StokParcaAdetTable), QString(OwnedSchema::SatisFisNoTable),
          QString(OwnedSchema::AramaDurumRows), QString(OwnedSchema::StokParcaFunction),
          QString(OwnedSchema::StokParcaTrigger), QString(OwnedSchema::SatisFisNoTrigger)})
        parts << statement;
    QCOMPARE(OwnedSchema::SearchKeyStatements(), QStringList{parts.join(u'\n')});
}

void TestEmbeddedSchema::scriptRoutinesHaveTheirParameters_data()
{
    QTest::addColumn<QString>("routine");
    QTest::addColumn<QStringList>("parameters");
    QTest::newRow("sp_CloseVardiya") << "sp_CloseVardiya"
                                     << QStringList{"@VardiyaID INT",
                                                    "@KapanisTutar FLOAT",
                                                    "@KapatanKullaniciID INT",
                                                    "@Success BIT OUTPUT",
                                                    "@Message NVARCHAR(500) OUTPUT",
                                                    "@SistemTutar MONEY OUTPUT",
                                                    "@Fark MONEY OUTPUT",
                                                    "@ToplamSatis INT OUTPUT",
                                                    "@NakitSatis MONEY OUTPUT",
                                                    "@KartSatis MONEY OUTPUT",
                                                    "@NakitAdet INT OUTPUT",
                                                    "@KartAdet INT OUTPUT",
                                                    "@IadeToplam MONEY OUTPUT",
                                                    "@IadeAdet INT OUTPUT",
                                                    "@AcilisTutarOut MONEY OUTPUT",
                                                    "@KapanisZamaniOut DATETIME OUTPUT"};
    QTest::newRow("sp_ProcessRefund")
        << "sp_ProcessRefund"
        << QStringList{"@OriginalFisID INT",  "@KullaniciID INT",
                       "@VardiyaID INT",      "@RefundItemsXML NVARCHAR(MAX)",
                       "@Success BIT OUTPUT", "@Message NVARCHAR(500) OUTPUT"};
    QTest::newRow("sp_CreateSale") << "sp_CreateSale"
                                   << QStringList{"@SubeID INT",
                                                  "@KullaniciID INT",
                                                  "@TerminalID INT",
                                                  "@VardiyaID INT",
                                                  "@GeciciFisNo NVARCHAR(50)",
                                                  "@AraToplam FLOAT",
                                                  "@ToplamKDV FLOAT",
                                                  "@Indirim FLOAT",
                                                  "@GenelToplam FLOAT",
                                                  "@OdemeTipi NVARCHAR(20)",
                                                  "@MusteriID INT",
                                                  "@SatisXML NVARCHAR(MAX)",
                                                  "@Success BIT OUTPUT",
                                                  "@Message NVARCHAR(500) OUTPUT",
                                                  "@FisID INT OUTPUT"};
}

void TestEmbeddedSchema::scriptRoutinesHaveTheirParameters()
{
    QFETCH(QString, routine);
    QFETCH(QStringList, parameters);
    const QRegularExpression header(
        QStringLiteral(R"(ALTER\s+PROCEDURE\s+dbo\.%1\s+(.*?)\s+AS\s+BEGIN\s+SET NOCOUNT ON;)")
            .arg(routine),
        QRegularExpression::DotMatchesEverythingOption);
    const auto m = header.match(ScriptText());
    QVERIFY(m.hasMatch());
    QStringList actual;
    for (const QString& p : TopLevelItems(m.captured(1)))
        actual << Normalized(p);
    QCOMPARE(actual, parameters);
}

void TestEmbeddedSchema::defaultsAndTypes()
{
    TTestDatabase db;
    db.Exec("INSERT INTO Firma (Unvan) VALUES ('F')");
    db.Exec("INSERT INTO Sube (SubeAdi, FirmaID) VALUES ('MERKEZ', 1)");
    db.Exec("INSERT INTO Rol (RolAdi) VALUES ('Kasiyer')");
    db.Exec("INSERT INTO Kullanici (KullaniciAdi, SifreHash, AdSoyad, RolID, SubeID) VALUES ('k', "
            "'h', 'K', 1, 1)");
    db.Exec("INSERT INTO Terminal (TerminalAdi) VALUES ('T')");
    db.Exec(
        "INSERT INTO Vardiya (KullaniciID, TerminalID, SubeID, AcilisTutar) VALUES (1, 1, 1, 100)");
    db.Exec("INSERT INTO SatisFis (FisNo, SubeID, KullaniciID, TerminalID, VardiyaID, GenelToplam) "
            "VALUES ('FIS-1', 1, 1, 1, 1, 3)");
    db.Exec("INSERT INTO Stok (StokAdi) VALUES ('U')");
    QCOMPARE(db.Scalar("SELECT FisDurumu FROM SatisFis").toString(), QString("AKTIF"));
    QCOMPARE(db.Scalar("SELECT VardiyaDurumu FROM Vardiya").toString(), QString("ACIK"));
    QCOMPARE(db.Scalar("SELECT AktifMi || IsDeleted FROM Kullanici").toString(), QString("10"));
    QCOMPARE(db.Scalar("SELECT IsActive || IsDeleted || IsSKTTakibi || IsSatisEngelle || "
                       "TartimliMi FROM Stok")
                 .toString(),
             QString("10010"));
    QCOMPARE(db.Scalar("SELECT IsActive || IsDeleted FROM Sube").toString(), QString("10"));
    // Money is REAL, so 3 reads back as a double; times are text the dialect can compare.
    QCOMPARE(db.Scalar("SELECT typeof(GenelToplam) FROM SatisFis").toString(), QString("real"));
    QCOMPARE(db.Scalar("SELECT typeof(MevcutStok) FROM Stok").toString(), QString("real"));
    const QString tarih = db.Scalar("SELECT Tarih FROM SatisFis").toString();
    QVERIFY2(QDateTime::fromString(tarih, "yyyy-MM-dd HH:mm:ss").isValid(), qPrintable(tarih));
}

void TestEmbeddedSchema::foreignKeysAreEnforced()
{
    TTestDatabase db;
    QVERIFY_THROWS_EXCEPTION(EDatabaseError,
                             db.Exec("INSERT INTO Sube (SubeAdi, FirmaID) VALUES ('X', 42)"));
    QVERIFY_THROWS_EXCEPTION(
        EDatabaseError,
        db.Exec("INSERT INTO SatisOdeme (FisID, OdemeTipi, Tutar) VALUES (7, 'NAKIT', 1)"));
    QVERIFY_THROWS_EXCEPTION(
        EDatabaseError,
        db.Exec("INSERT INTO Kullanici (KullaniciAdi, SifreHash, AdSoyad, RolID, SubeID) "
                "VALUES ('a', 'h', 'A', 1, 1)"));
}

void TestEmbeddedSchema::routinesAreFoundByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << "sp_CloseVardiya";
    QTest::newRow("schema") << "dbo.sp_CloseVardiya";
    QTest::newRow("letter case") << "SP_CLOSEVARDIYA";
    QTest::newRow("brackets") << "[dbo].[sp_CloseVardiya]";
}

void TestEmbeddedSchema::routinesAreFoundByName()
{
    QFETCH(QString, name);
    TTestDatabase db;
    TStoredProc call(name);
    call.In("@VardiyaID", 999).In("@KapanisTutar", 1.0).In("@KapatanKullaniciID", 1);
    call.Out("@Success", QMetaType::Bool).Out("@Message", QMetaType::QString, 500);
    call.Exec();
    QCOMPARE(call.Value("@Success").toBool(), false);
    QCOMPARE(call.Value("@Message").toString(), QString("Vardiya bulunamadı."));

    TStoredProc unknown("sp_NoSuchRoutine");
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, unknown.Exec());
}

QTEST_GUILESS_MAIN(TestEmbeddedSchema)
#include "tst_EmbeddedSchema.moc"
