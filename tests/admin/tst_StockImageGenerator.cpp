#include "LocalHttpsServer.h"
#include "admin/ProductImageService.h"
#include "admin/StockImageGenerator.h"
#include "admin/StockImageRules.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "support/TestDatabase.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryFile>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {
QByteArray Jpeg(int width, int height)
{
    QRandomGenerator random(7);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000u);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

QByteArray ProductPath(const QByteArray& encodedBarcode)
{
    return "/api/v2/product/" + encodedBarcode +
           ".json?fields=status,product,image_url,image_front_url";
}

QByteArray FrontUrlAnswer(const QString& address)
{
    return R"({"status":1,"product":{"image_front_url":")" + address.toUtf8() + R"("}})";
}

TTestAnswer Json(const QByteArray& body)
{
    return Answered(200, body);
}

TTestAnswer Picture(const QByteArray& body)
{
    return Answered(200, body, "image/jpeg");
}
TStockImageHooks LogInto(QStringList& log)
{
    TStockImageHooks hooks;
    hooks.Log = [&log](const QString& line) {
        log << line;
    };
    return hooks;
}
} // namespace

Q_DECLARE_METATYPE(TTestAnswer)

// The look-ups of the product databases and the downloads against local HTTPS servers, and
// whole runs of the generator on a real SQLite database named KIRVELO.
class TestStockImageGenerator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void productUrlEncodesBarcode_data();
    void productUrlEncodesBarcode();
    void answerNamesPicture_data();
    void answerNamesPicture();
    void servicesAskedInOrder();
    void slowAnswerCountsAsNone();
    void nonHttpsAddressNotFollowed();
    void oversizedAnswerRefused_data();
    void oversizedAnswerRefused();
    void download_data();
    void download();
    void runGivesEveryProductAPicture();
    void secondRunFindsNothingToDo();
    void sharedBarcodeKeepsBothPictures();
    void databaseChecked_data();
    void databaseChecked();
    void stopEndsRunDuringLookup();
    void failedSaveEndsRun();

private:
    TProductImageSettings Settings() const;
    int AddProduct(const QString& kod, const QString& ad, const QVariant& barkod,
                   const QString& resim = {}, const QString& gorsel = {}, bool deleted = false);
    QString Resim(int stokID);
    QString GorselYol(int stokID);
    QStringList TempLeftovers() const;

    std::unique_ptr<TTestCertificate> FCertificate;
    std::unique_ptr<TLocalHttpsServer> FFood;
    std::unique_ptr<TLocalHttpsServer> FBeauty;
    std::unique_ptr<TLocalHttpsServer> FProducts;
    std::unique_ptr<TTestDatabase> FDb;
    std::unique_ptr<QTemporaryDir> FFolder;
    QTemporaryDir FTemp;
    QByteArray FPicture;
};

void TestStockImageGenerator::initTestCase()
{
    UseTestPaths();
    QVERIFY(FTemp.isValid());
    // The downloads' temporary files land here, where the tests can see what is left behind.
    qputenv("TMPDIR", FTemp.path().toUtf8());
    FCertificate = std::make_unique<TTestCertificate>();
    QVERIFY2(FCertificate->Valid(), qPrintable(FCertificate->Error()));
    FPicture = Jpeg(600, 300);
    QVERIFY(FPicture.size() > 4096);
}

void TestStockImageGenerator::init()
{
    FFood = std::make_unique<TLocalHttpsServer>(*FCertificate);
    FBeauty = std::make_unique<TLocalHttpsServer>(*FCertificate);
    FProducts = std::make_unique<TLocalHttpsServer>(*FCertificate);
    QVERIFY(FFood->isListening() && FBeauty->isListening() && FProducts->isListening());
    FDb = std::make_unique<TTestDatabase>("KIRVELO.db");
    TStockImageGenerator::EnsureImageColumns();
    FFolder = std::make_unique<QTemporaryDir>();
}

void TestStockImageGenerator::cleanup()
{
    FDb.reset();
    FFood.reset();
    FBeauty.reset();
    FProducts.reset();
    FFolder.reset();
}

TProductImageSettings TestStockImageGenerator::Settings() const
{
    TProductImageSettings settings;
    settings.Hosts = {FFood->Host(), FBeauty->Host(), FProducts->Host()};
    settings.ConnectTimeoutMs = 3000;
    settings.LookupTimeoutMs = 400;
    settings.DownloadTimeoutMs = 800;
    settings.MaxAnswerBytes = 64 * 1024;
    settings.MaxPictureBytes = 512 * 1024;
    settings.Tls = FCertificate->ClientConfiguration();
    return settings;
}

int TestStockImageGenerator::AddProduct(const QString& kod, const QString& ad,
                                        const QVariant& barkod, const QString& resim,
                                        const QString& gorsel, bool deleted)
{
    TDbQuery q("INSERT INTO Stok (StokKodu, StokAdi, Barkod, Resim, GorselYol, IsDeleted) "
               "VALUES (:K, :A, :B, :R, :G, :D)");
    q.Param("K", kod)
        .Param("A", ad)
        .Param("B", barkod)
        .Param("R", resim)
        .Param("G", gorsel)
        .Param("D", deleted ? 1 : 0)
        .Exec();
    return FDb->Scalar("SELECT MAX(StokID) FROM Stok").toInt();
}

QString TestStockImageGenerator::Resim(int stokID)
{
    return FDb->Scalar(QString("SELECT Resim FROM Stok WHERE StokID = %1").arg(stokID)).toString();
}

QString TestStockImageGenerator::GorselYol(int stokID)
{
    return FDb->Scalar(QString("SELECT GorselYol FROM Stok WHERE StokID = %1").arg(stokID))
        .toString();
}

QStringList TestStockImageGenerator::TempLeftovers() const
{
    return QDir(FTemp.path()).entryList({"kirvelo_stock_*"}, QDir::Files);
}

void TestStockImageGenerator::productUrlEncodesBarcode_data()
{
    QTest::addColumn<QString>("barcode");
    QTest::addColumn<QByteArray>("encoded");
    QTest::newRow("digits, trimmed") << " 8690504001010 " << QByteArray("8690504001010");
    QTest::newRow("slash, blank, question mark, hash, percent")
        << "12/34 5?#%" << QByteArray("12%2F34%205%3F%23%25");
    QTest::newRow("no climbing out of the path") << "../../x" << QByteArray("..%2F..%2Fx");
    QTest::newRow("non-ASCII as UTF-8") << "Ç1" << QByteArray("%C3%871");
}

void TestStockImageGenerator::productUrlEncodesBarcode()
{
    QFETCH(QString, barcode);
    QFETCH(QByteArray, encoded);
    QCOMPARE(TProductImageService::ProductUrl("h.example:8443", barcode).toEncoded(),
             "https://h.example:8443" + ProductPath(encoded));
    TProductImageService service(Settings());
    QCOMPARE(service.FindOnlineImageUrl(barcode), QString());
    QCOMPARE(FFood->Requests().size(), 1);
    QCOMPARE(FFood->Requests().first().Path, ProductPath(encoded));
}

void TestStockImageGenerator::answerNamesPicture_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("address");
    QTest::newRow("front picture, trimmed")
        << QByteArray(
               R"({"product":{"image_front_url":" https://p/a.jpg ","image_url":"https://p/b.jpg"}})")
        << "https://p/a.jpg";
    QTest::newRow("blank front: the other picture")
        << QByteArray(R"({"product":{"image_front_url":"  ","image_url":"https://p/b.jpg"}})")
        << "https://p/b.jpg";
    QTest::newRow("status is not looked at")
        << QByteArray(R"({"status":0,"product":{"image_url":"https://p/b.jpg"}})")
        << "https://p/b.jpg";
    QTest::newRow("product is no object") << QByteArray(R"({"product":"x"})") << "";
    QTest::newRow("root is no object") << QByteArray(R"([{"product":{}}])") << "";
    QTest::newRow("no JSON") << QByteArray("<html>") << "";
    QTest::newRow("http is not followed")
        << QByteArray(R"({"product":{"image_front_url":"http://p/a.jpg"}})") << "";
    QTest::newRow("file is not followed")
        << QByteArray(R"({"product":{"image_front_url":"file:///etc/passwd"}})") << "";
}

void TestStockImageGenerator::answerNamesPicture()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, address);
    QCOMPARE(TProductImageService::ImageUrlFromAnswer(json), address);
}

void TestStockImageGenerator::servicesAskedInOrder()
{
    const QByteArray path = ProductPath("8690000000011");
    FBeauty->Answer(path, Json(R"({"product":{}})"));
    FProducts->Answer(path, Json(FrontUrlAnswer("https://img.example/p.jpg")));
    TProductImageService service(Settings());
    QCOMPARE(service.FindOnlineImageUrl("8690000000011"), QString("https://img.example/p.jpg"));
    for (TLocalHttpsServer* server : {FFood.get(), FBeauty.get(), FProducts.get()}) {
        QCOMPARE(server->RequestsFor(path), 1);
        QCOMPARE(server->Requests().first().UserAgent,
                 QByteArray("KIRVELO/1.0 product-image-helper"));
    }
    QCOMPARE(service.FindOnlineImageUrl("   "), QString());
    QCOMPARE(FFood->Requests().size(), 1);
}

void TestStockImageGenerator::slowAnswerCountsAsNone()
{
    const QByteArray path = ProductPath("1");
    FFood->Answer(path, NoAnswer());
    FBeauty->Answer(path, Json(FrontUrlAnswer("https://img.example/b.jpg")));
    TProductImageService service(Settings());
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(service.FindOnlineImageUrl("1"), QString("https://img.example/b.jpg"));
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(clock.elapsed() >= 400);
}

void TestStockImageGenerator::nonHttpsAddressNotFollowed()
{
    const QByteArray path = ProductPath("2");
    FFood->Answer(path, Json(FrontUrlAnswer("http://" + FProducts->Host() + "/img/plain.jpg")));
    FProducts->Answer("/img/plain.jpg", Picture(FPicture));
    const int stokID = AddProduct("K2", "Deneme", "2");
    TStockImageGenerator generator(Settings(), FFolder->path(), QString());
    const TStockImageCounts counts = generator.Run({});
    QCOMPARE(counts.Online, 0);
    QCOMPARE(counts.Fallback, 1);
    QCOMPARE(FProducts->RequestsFor("/img/plain.jpg"), 0);
    QCOMPARE(FBeauty->RequestsFor(path), 1);
    QCOMPARE(Resim(stokID), FFolder->filePath("2.png"));
}

void TestStockImageGenerator::oversizedAnswerRefused_data()
{
    QTest::addColumn<bool>("withoutLength");
    QTest::newRow("announced length") << false;
    QTest::newRow("no length, cut while it arrives") << true;
}

void TestStockImageGenerator::oversizedAnswerRefused()
{
    QFETCH(bool, withoutLength);
    const QByteArray path = ProductPath("3");
    const QByteArray padding(200 * 1024, 'x');
    TTestAnswer answer =
        Json(R"({"pad":")" + padding + R"(","product":{"image_url":"https://img.example/p.jpg"}})");
    answer.WithoutLength = withoutLength;
    FFood->Answer(path, answer);
    TProductImageService service(Settings());
    QCOMPARE(service.FindOnlineImageUrl("3"), QString());
    QCOMPARE(FBeauty->RequestsFor(path), 1);
    QCOMPARE(FProducts->RequestsFor(path), 1);
}

void TestStockImageGenerator::download_data()
{
    QTest::addColumn<TTestAnswer>("answer");
    QTest::addColumn<bool>("fetched");
    const TTestAnswer redirectToHttps = Redirect("/img/target.jpg");
    const TTestAnswer redirectToHttp = Redirect("http://127.0.0.1:9/img/target.jpg");
    TTestAnswer hugeWithoutLength = Picture(QByteArray(600 * 1024, 'p'));
    hugeWithoutLength.WithoutLength = true;
    QTest::newRow("picture") << Picture(FPicture) << true;
    QTest::newRow("exactly 4096 bytes") << Picture(QByteArray(4096, 'p')) << false;
    QTest::newRow("4097 bytes") << Picture(QByteArray(4097, 'p')) << true;
    QTest::newRow("404 with a body") << Answered(404, FPicture, "image/jpeg") << false;
    QTest::newRow("over the limit, announced") << Picture(QByteArray(600 * 1024, 'p')) << false;
    QTest::newRow("over the limit, not announced") << hugeWithoutLength << false;
    QTest::newRow("no answer") << NoAnswer() << false;
    QTest::newRow("redirect to https") << redirectToHttps << true;
    QTest::newRow("redirect to http") << redirectToHttp << false;
}

void TestStockImageGenerator::download()
{
    QFETCH(TTestAnswer, answer);
    QFETCH(bool, fetched);
    FProducts->Answer("/img/p.jpg", answer);
    FProducts->Answer("/img/target.jpg", Picture(FPicture));
    TProductImageService service(Settings());
    QTemporaryFile file;
    QVERIFY(file.open());
    QCOMPARE(service.DownloadToFile(FProducts->Url("/img/p.jpg"), file), fetched);
    QVERIFY(file.size() <= Settings().MaxPictureBytes);
}

void TestStockImageGenerator::runGivesEveryProductAPicture()
{
    const QString usable = FFolder->filePath("kept.jpg");
    {
        QFile file(usable);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(FPicture);
    }
    FBeauty->Answer(ProductPath("8690000000101"),
                    Json(FrontUrlAnswer(FProducts->Url("/img/online.jpg"))));
    FProducts->Answer("/img/online.jpg", Picture(FPicture));
    const int online = AddProduct("K1", "Kola 1 L", "8690000000101");
    const int fallback = AddProduct("K2", "Sucuk", "8690000000102");
    const int byCode = AddProduct("K3", "Tuz", TDbQuery::NullText());
    const int byId = AddProduct("", "Adsiz", "  ");
    const int kept = AddProduct("K5", "Resimli", "8690000000105", usable);
    const int resimFirst = AddProduct("K6", "Yanlis Resim", "", "/nowhere/missing.png", usable);
    AddProduct("K7", "Silinmis", "8690000000107", {}, {}, true);

    QStringList log;
    QList<QPair<int, int>> progress;
    TStockImageGenerator generator(Settings(), FFolder->path(), QString());
    const TStockImageCounts counts =
        generator.Run({.Log = [&](const QString& line) { log << line; },
                       .Progress =
                           [&](int done, int total) {
                               progress.append({done, total});
                           }});

    QCOMPARE(counts.Scanned, 6);
    QCOMPARE(counts.Needed, 5);
    QCOMPARE(counts.Online, 1);
    QCOMPARE(counts.Fallback, 4);
    const QString byIdName = QString("STOK_%1.png").arg(byId);
    QCOMPARE(log, QStringList({"Klasor: " + QDir::toNativeSeparators(FFolder->path()),
                               "1) ONLINE 8690000000101 -> 8690000000101.png",
                               "2) FALLBACK K2 -> 8690000000102.png", "3) FALLBACK K3 -> K3.png",
                               "4) FALLBACK  -> " + byIdName, "5) FALLBACK K6 -> K6.png",
                               "Tamamlandı. Taranan: 6, Kaydedilen: 5 / 5, Online: 1, "
                               "Fallback: 4"}));
    QCOMPARE(progress.first(), qMakePair(0, 6));
    QCOMPARE(progress.last(), qMakePair(6, 6));
    QCOMPARE(progress.size(), 7);

    const QImage square(FFolder->filePath("8690000000101.png"));
    QCOMPARE(square.size(), QSize(512, 512));
    QVERIFY(square.hasAlphaChannel());
    const QImage card(FFolder->filePath("8690000000102.png"));
    QCOMPARE(card.size(), QSize(600, 600));
    for (const auto& [id, name] : {std::pair{online, QString("8690000000101.png")},
                                   {fallback, QString("8690000000102.png")},
                                   {byCode, QString("K3.png")},
                                   {byId, byIdName},
                                   {resimFirst, QString("K6.png")}}) {
        QCOMPARE(Resim(id), FFolder->filePath(name));
        QCOMPARE(GorselYol(id), FFolder->filePath(name));
    }
    QCOMPARE(Resim(kept), usable);
    QVERIFY(
        FDb->Scalar(QString("SELECT UpdatedAt FROM Stok WHERE StokID = %1").arg(online)).isValid());
    QVERIFY(
        FDb->Scalar(QString("SELECT UpdatedAt FROM Stok WHERE StokID = %1").arg(kept)).isNull());
    // Products without a barcode never go online.
    QCOMPARE(FFood->Requests().size(), 2);
    QCOMPARE(TempLeftovers(), QStringList());
}

void TestStockImageGenerator::secondRunFindsNothingToDo()
{
    AddProduct("K1", "Sucuk", "8690000000201");
    AddProduct("K2", "Tuz", "");
    TStockImageGenerator generator(Settings(), FFolder->path(), QString());
    QCOMPARE(generator.Run({}).Needed, 2);
    QStringList log;
    const TStockImageCounts again = generator.Run(LogInto(log));
    QCOMPARE(again.Scanned, 2);
    QCOMPARE(again.Needed, 0);
    QCOMPARE(log.last(), QString("Taranan: 2, üretilmesi gereken resimsiz stok yok."));
}

void TestStockImageGenerator::sharedBarcodeKeepsBothPictures()
{
    const int first = AddProduct("A1", "Sucuk", "8690000000301");
    const int second = AddProduct("A2", "Tuz", " 8690000000301 ");
    const int sameName = AddProduct("8690000000301", "Un", "");
    const int alone = AddProduct("A4", "Kola", "8690000000302");
    TStockImageGenerator generator(Settings(), FFolder->path(), QString());
    QCOMPARE(generator.Run({}).Fallback, 4);
    const QString a = Resim(first);
    const QString b = Resim(second);
    const QString c = Resim(sameName);
    QCOMPARE(a, FFolder->filePath(QString("8690000000301_%1.png").arg(first)));
    QCOMPARE(b, FFolder->filePath(QString("8690000000301_%1.png").arg(second)));
    QCOMPARE(c, FFolder->filePath(QString("8690000000301_%1.png").arg(sameName)));
    QCOMPARE(Resim(alone), FFolder->filePath("8690000000302.png"));
    QVERIFY(QImage(a) != QImage(b));
    QVERIFY(QImage(b) != QImage(c));
}

void TestStockImageGenerator::databaseChecked_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("other letter case") << "kirvelo.db"
                                       << "";
    QTest::newRow("another database") << "magaza.db"
                                      << "Hata: Beklenen veritabani KIRVELO, aktif: magaza";
}

void TestStockImageGenerator::databaseChecked()
{
    QFETCH(QString, file);
    QFETCH(QString, refusal);
    FDb.reset();
    FDb = std::make_unique<TTestDatabase>(file);
    TStockImageGenerator::EnsureImageColumns();
    const int stokID = AddProduct("K1", "Tuz", "");
    QStringList log;
    const QString folder = FFolder->filePath("pictures");
    TStockImageGenerator generator(Settings(), folder, QString());
    const TStockImageCounts counts = generator.Run(LogInto(log));
    if (refusal.isEmpty()) {
        QCOMPARE(counts.Fallback, 1);
        QCOMPARE(Resim(stokID), folder + "/K1.png");
        return;
    }
    QCOMPARE(log, QStringList{refusal});
    QCOMPARE(counts.Scanned, 0);
    QCOMPARE(Resim(stokID), QString());
    QVERIFY(!QDir(folder).exists());
}

void TestStockImageGenerator::stopEndsRunDuringLookup()
{
    const QByteArray path = ProductPath("8690000000401");
    FFood->Answer(path, NoAnswer());
    const int first = AddProduct("K1", "Sucuk", "8690000000401");
    const int second = AddProduct("K2", "Tuz", "");
    TProductImageSettings settings = Settings();
    settings.LookupTimeoutMs = 20000;
    TStockImageGenerator generator(settings, FFolder->path(), QString());
    QTimer::singleShot(300, [&generator] { generator.Stop(); });
    QStringList log;
    QElapsedTimer clock;
    clock.start();
    const TStockImageCounts counts = generator.Run(LogInto(log));
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(counts.Stopped);
    QCOMPARE(counts.Scanned, 1);
    QCOMPARE(log.last(),
             QString("Durduruldu. Taranan: 1, Kaydedilen: 0 / 1, Online: 0, Fallback: 0"));
    QCOMPARE(Resim(first), QString());
    QCOMPARE(Resim(second), QString());
    QCOMPARE(QDir(FFolder->path()).entryList(QDir::Files), QStringList());
    QVERIFY(!generator.Running());
}

void TestStockImageGenerator::failedSaveEndsRun()
{
    const int first = AddProduct("K1", "Tuz", "");
    QFile blocker(FFolder->filePath("not-a-folder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TStockImageGenerator generator(Settings(), blocker.fileName() + "/StockImages", QString());
    QVERIFY_THROWS_EXCEPTION(EInOutError, generator.Run({}));
    QVERIFY(!generator.Running());
    QCOMPARE(Resim(first), QString());
}

QTEST_MAIN(TestStockImageGenerator)
#include "tst_StockImageGenerator.moc"
