#pragma once

#include "sales/QuantityRules.h"

#include <QString>

#include <functional>

class TCartManager;

// A scanned or typed code split into the code that is looked up and the quantity it came with.
struct TScannedCode {
    QString LookupCode;
    double PresetQty = 0;         // 0 = none given
    bool InvalidQuantity = false; // an n*code whose n is no quantity ("abc*", "0*", "-2*")
};

// A case barcode mapped to the product's own barcode and the base units per case.
struct TPackBarcode {
    bool Found = false;
    QString BaseBarcode;
    double Factor = 1;
};

struct TExpiryBlock {
    bool Blocked = false;
    QString Message;
};

// How a scan or a touch ended. NotFound is reported by the timed "not found" message that
// empties the barcode field; Refused by an error message; NothingAdded needs no message.
enum class TAddStatus { Added, NotFound, Refused, NothingAdded };

struct TAddResult {
    TAddStatus Status = TAddStatus::NothingAdded;
    QString Message;

    bool Added() const { return Status == TAddStatus::Added; }
};

// Asks the cashier for a quantity: true with the typed text, false when cancelled. The screen
// answers with its input dialog; tests answer directly.
using TQuantityPrompt = std::function<bool(const QString& Title, const QString& Prompt,
                                           const QString& DefaultValue, QString& Value)>;

// The roads from a scanned code or a chosen product into the cart, with the checks that decide
// whether a product may be sold: deleted products are never found, inactive ones and ones with
// an expired lot in stock are refused, goods sold by weight ask for the weight, and a quantity
// goes through the quantity rules (read whole, confirmed above its bound, never above the hard
// limit; an empty confirmation refuses a quantity that needs one). Case barcodes
// (StokBirimDonusum) and lots (StokLotDetay) are optional tables; without them scanning works
// without case barcodes or expiry checks. Database errors pass to the caller.
class TBarcodeResolver {
public:
    TBarcodeResolver() = delete;

    // Scale labels (13 characters starting "27" or "28": product code and grams), "n*code"
    // entries (n read as every typed quantity is) and plain codes. Only splits; nothing is
    // looked up.
    static TScannedCode SplitScannedCode(const QString& Code);

    // Code as typed, without surrounding blanks. An n*code whose n is no quantity is refused
    // with "Geçersiz miktar!" before anything is looked up.
    static TAddResult ParseScannedCode(TCartManager& Cart, int SubeID, const QString& Code,
                                       const TQuantityPrompt& Ask,
                                       const TQuantityConfirm& Confirm = {});
    static TAddResult AddProductByBarcode(TCartManager& Cart, int SubeID, const QString& Code,
                                          double PresetQty, const TQuantityPrompt& Ask,
                                          const TQuantityConfirm& Confirm = {});
    static TPackBarcode ResolvePackBarcode(const QString& Code);
    static TExpiryBlock CheckExpiryBlock(int StokID);
    // A product touched on a tile or chosen in the search: only with an open shift, and never a
    // product that is deleted or closed for sale, however stale the list it was chosen from.
    // A weight that is no quantity is refused as on the barcode road.
    static TAddResult AddProductByStokID(TCartManager& Cart, int VardiyaID, int StokID,
                                         const TQuantityPrompt& Ask,
                                         const TQuantityConfirm& Confirm = {});
};
