#include "admin/StockImageGenerator.h"

#include "admin/StockImagePainter.h"
#include "admin/StockImageRules.h"
#include "core/AppPaths.h"
#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/OwnedSchema.h"

#include <QDir>
#include <QHash>
#include <QTemporaryFile>

namespace {
const QString kExpectedDatabase = QStringLiteral("KIRVELO");

QString SharedKey(const TStockImageProduct& product)
{
    return TStockImageRules::SanitizeFileName(
               TStockImageRules::FileBaseName(product.Barkod, product.StokKodu, product.StokID))
        .toLower();
}

QString Figures(const TStockImageCounts& c)
{
    return QStringLiteral("Taranan: %1, Kaydedilen: %2 / %3, Online: %4, Fallback: %5")
        .arg(c.Scanned)
        .arg(c.Online + c.Fallback)
        .arg(c.Needed)
        .arg(c.Online)
        .arg(c.Fallback);
}

void Tell(const TStockImageHooks& hooks, const QString& line)
{
    if (hooks.Log)
        hooks.Log(line);
}

// Clears the running flag however the run ends.
class TRunning {
public:
    explicit TRunning(bool& flag)
        : FFlag(flag)
    {
        FFlag = true;
    }
    ~TRunning() { FFlag = false; }
    TRunning(const TRunning&) = delete;
    TRunning& operator=(const TRunning&) = delete;

private:
    bool& FFlag;
};
} // namespace

TStockImageGenerator::TStockImageGenerator(TProductImageSettings Service, QString ImageFolder,
                                           QString ProgramFolder)
    : FServiceSettings(std::move(Service))
    , FImageFolder(QDir::cleanPath(ImageFolder))
    , FProgramFolder(std::move(ProgramFolder))
{
}

QString TStockImageGenerator::DefaultImageFolder()
{
    return AppPaths::WritableFolder() + QStringLiteral("StockImages");
}

void TStockImageGenerator::EnsureImageColumns()
{
    OwnedSchema::Run(OwnedSchema::StokImageStatements());
}

QString TStockImageGenerator::DatabaseName()
{
    if (!dmMain)
        throw EDatabaseError(QStringLiteral("Veritabanı modülü oluşturulmadı."));
    return dmMain->GetScalar(QStringLiteral("SELECT DB_NAME()")).toString();
}

QList<TStockImageProduct> TStockImageGenerator::LoadProducts()
{
    TDbQuery query(QStringLiteral(
        "SELECT StokID, ISNULL(Barkod, '') AS Barkod, ISNULL(StokKodu, '') AS StokKodu, "
        "ISNULL(StokAdi, '') AS StokAdi, ISNULL(Resim, '') AS Resim, ISNULL(GorselYol, '') AS "
        "GorselYol FROM Stok WHERE ISNULL(IsDeleted,0) = 0"));
    query.Exec();
    QList<TStockImageProduct> products;
    while (query.Next())
        products.append({query.Value(0).toInt(), query.Value(1).toString(),
                         query.Value(2).toString(), query.Value(3).toString(),
                         query.Value(4).toString(), query.Value(5).toString()});
    return products;
}

QSet<QString> TStockImageGenerator::SharedNames(const QList<TStockImageProduct>& Products)
{
    QHash<QString, int> uses;
    for (const TStockImageProduct& product : Products)
        ++uses[SharedKey(product)];
    QSet<QString> shared;
    for (auto it = uses.cbegin(); it != uses.cend(); ++it)
        if (it.value() > 1)
            shared.insert(it.key());
    return shared;
}

QString TStockImageGenerator::PictureFileName(const TStockImageProduct& Product,
                                              const QSet<QString>& SharedNames)
{
    QString name = TStockImageRules::SanitizeFileName(
        TStockImageRules::FileBaseName(Product.Barkod, Product.StokKodu, Product.StokID));
    if (SharedNames.contains(name.toLower()))
        name += u'_' + QString::number(Product.StokID);
    return name + QStringLiteral(".png");
}

TStockImageCounts TStockImageGenerator::Run(const TStockImageHooks& Hooks)
{
    const TRunning running(FRunning);
    FStopped = false;
    FService = std::make_unique<TProductImageService>(FServiceSettings);
    TStockImageCounts counts;
    const QString database = DatabaseName();
    if (database.compare(kExpectedDatabase, Qt::CaseInsensitive) != 0) {
        Tell(Hooks, QStringLiteral("Hata: Beklenen veritabani KIRVELO, aktif: ") + database);
        return counts;
    }
    QDir().mkpath(FImageFolder);
    Tell(Hooks, QStringLiteral("Klasor: ") + QDir::toNativeSeparators(FImageFolder));

    const QList<TStockImageProduct> products = LoadProducts();
    const QSet<QString> shared = SharedNames(products);
    if (Hooks.Progress)
        Hooks.Progress(0, int(products.size()));
    for (const TStockImageProduct& product : products) {
        if (FStopped)
            break;
        ++counts.Scanned;
        const QString current = TStockImageRules::CurrentPicture(product.Resim, product.GorselYol);
        if (!TStockImageRules::HasUsableImage(current, FProgramFolder) &&
            !GivePicture(product, PictureFileName(product, shared), counts, Hooks))
            break;
        if (Hooks.Progress)
            Hooks.Progress(counts.Scanned, int(products.size()));
    }
    counts.Stopped = FStopped;
    if (counts.Stopped)
        Tell(Hooks, QStringLiteral("Durduruldu. ") + Figures(counts));
    else if (counts.Needed > 0)
        Tell(Hooks, QStringLiteral("Tamamlandı. ") + Figures(counts));
    else
        Tell(Hooks, QStringLiteral("Taranan: %1, üretilmesi gereken resimsiz stok yok.")
                        .arg(counts.Scanned));
    return counts;
}

bool TStockImageGenerator::GivePicture(const TStockImageProduct& Product, const QString& FileName,
                                       TStockImageCounts& Counts, const TStockImageHooks& Hooks)
{
    const int n = ++Counts.Needed;
    const QString path = FImageFolder + u'/' + FileName;
    if (TryOnlineImage(Product.Barkod, path)) {
        ++Counts.Online;
        Tell(Hooks, QStringLiteral("%1) ONLINE %2 -> %3").arg(n).arg(Product.Barkod, FileName));
    } else {
        if (FStopped)
            return false;
        TStockImagePainter::DrawFallbackImage(path, Product.StokKodu, Product.StokAdi);
        ++Counts.Fallback;
        Tell(Hooks, QStringLiteral("%1) FALLBACK %2 -> %3").arg(n).arg(Product.StokKodu, FileName));
    }
    UpdatePicturePath(Product.StokID, QDir::toNativeSeparators(path));
    return true;
}

bool TStockImageGenerator::TryOnlineImage(const QString& Barkod, const QString& TargetPath)
{
    if (!FService)
        FService = std::make_unique<TProductImageService>(FServiceSettings);
    const QString address = FService->FindOnlineImageUrl(Barkod);
    if (address.isEmpty())
        return false;
    // Created exclusively under a name nobody can foresee, readable by this user only, and
    // removed whatever the outcome.
    QTemporaryFile download(QDir::tempPath() + QStringLiteral("/kirvelo_stock_XXXXXX.jpg"));
    if (!download.open())
        return false;
    return FService->DownloadToFile(address, download) &&
           TStockImagePainter::ConvertToTransparentPng(download.fileName(), TargetPath);
}

void TStockImageGenerator::Stop()
{
    FStopped = true;
    if (FService)
        FService->Cancel();
}

void TStockImageGenerator::UpdatePicturePath(int StokID, const QString& Path)
{
    TDbQuery query(QStringLiteral("UPDATE Stok SET Resim = :Yol, GorselYol = :Yol, UpdatedAt = "
                                  "GETDATE() WHERE StokID = :Sid"));
    query.Param(QStringLiteral("Yol"), Path).Param(QStringLiteral("Sid"), StokID).Exec();
}
