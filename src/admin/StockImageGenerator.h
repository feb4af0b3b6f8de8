#pragma once

#include "admin/ProductImageService.h"

#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

// The figures of one run.
struct TStockImageCounts {
    int Scanned = 0;  // products looked at
    int Needed = 0;   // products without a usable picture
    int Online = 0;   // pictures found in a product database
    int Fallback = 0; // substitute pictures drawn
    bool Stopped = false;
};

// What a run tells whoever started it, as it goes: each log line, and after each product the
// number of products looked at out of all listed.
struct TStockImageHooks {
    std::function<void(const QString&)> Log;
    std::function<void(int, int)> Progress;
};

// One product as the run lists it.
struct TStockImageProduct {
    int StokID = 0;
    QString Barkod;
    QString StokKodu;
    QString StokAdi;
    QString Resim;
    QString GorselYol;
};

// Gives every product of the KIRVELO database that lacks a usable picture a picture file:
// found online by barcode and made a transparent square PNG, or a substitute card drawn from
// its code and name. The file's full path goes into the product's Resim and GorselYol. All on
// the calling thread; a run can be stopped from a handler that runs while it waits.
class TStockImageGenerator {
public:
    TStockImageGenerator(TProductImageSettings Service, QString ImageFolder, QString ProgramFolder);

    // The program's own folder plus "StockImages" (the per-user data folder when the program's
    // folder cannot be written).
    static QString DefaultImageFolder();
    // Adds the picture columns GorselYol and Resim to Stok when they are missing.
    static void EnsureImageColumns();
    // The name of the open database ("SELECT DB_NAME()").
    static QString DatabaseName();

    TStockImageCounts Run(const TStockImageHooks& Hooks);
    // Ends the run after the product under way; a look-up or download under way is abandoned
    // and that product keeps what it had.
    void Stop();
    bool Running() const { return FRunning; }

    // The products the run looks at, in the order the database gives them.
    static QList<TStockImageProduct> LoadProducts();
    // The picture file name of each product: its base name cleaned, with "_" and the product id
    // added when another listed product's base name comes out the same, and ".png".
    static QString PictureFileName(const TStockImageProduct& Product,
                                   const QSet<QString>& SharedNames);
    static QSet<QString> SharedNames(const QList<TStockImageProduct>& Products);

    // Looks the barcode up and converts the picture it names into `TargetPath`.
    bool TryOnlineImage(const QString& Barkod, const QString& TargetPath);

private:
    // False when the run was stopped before the product got its picture.
    bool GivePicture(const TStockImageProduct& Product, const QString& FileName,
                     TStockImageCounts& Counts, const TStockImageHooks& Hooks);
    static void UpdatePicturePath(int StokID, const QString& Path);

    TProductImageSettings FServiceSettings;
    QString FImageFolder;
    QString FProgramFolder;
    std::unique_ptr<TProductImageService> FService;
    bool FRunning = false;
    bool FStopped = false;
};
