#pragma once

#include <QString>

#include <functional>
#include <optional>

// Asks the cashier to confirm a quantity above its bound: true to go on. The screen answers
// with its confirmation dialog; an empty one refuses.
using TQuantityConfirm = std::function<bool(const QString& Message)>;

enum class TQuantityVerdict { Accepted, Confirm, Refused };

// What a quantity about to enter a cart line needs: nothing, the cashier's confirmation (with
// the question to ask), or it is refused (with the message).
struct TQuantityCheck {
    TQuantityVerdict Verdict = TQuantityVerdict::Accepted;
    QString Message;
};

// How a typed quantity is read and how large a quantity a cart line takes. Every road into the
// cart (scan, n*code, scale label, weight prompt, tile, search, quantity change) goes through
// both.
class TQuantityRules {
public:
    TQuantityRules() = delete;

    static inline const QString MsgInvalidQuantity = QStringLiteral("Geçersiz miktar!");
    // The bounds above which a quantity is confirmed, for counted goods and goods sold by
    // weight: whole numbers in SistemParametre, 9999 units and 999 kg when not set, held to
    // MinBound..HardLimit.
    static inline const QString MaxUnitsKey = QStringLiteral("MaxQuantityUnits");
    static inline const QString MaxKgKey = QStringLiteral("MaxQuantityKg");
    static constexpr int DefaultMaxUnits = 9999;
    static constexpr int DefaultMaxKg = 999;
    // No bound is set lower, so a quantity up to it never reads the parameters: an ordinary
    // scan stays one statement.
    static constexpr int MinBound = 100;
    // No line holds more, confirmed or not.
    static constexpr double HardLimit = 1000000;

    // A quantity as typed (a weight, the n of n*code, a line's new quantity): a positive number
    // read by ReadTypedNumber; none for anything else.
    static std::optional<double> ReadQuantity(const QString& Text);

    // The bound of counted goods or of goods sold by weight, as configured.
    static int MaxQuantity(bool Weighed);

    // `Entered` is the quantity typed or scanned (times the case factor), `LineQuantity` what
    // the line will hold with it (a counted product scanned again adds to its line). Above
    // HardLimit the line is refused; an entry above its bound asks for confirmation.
    static TQuantityCheck Check(double Entered, double LineQuantity, bool Weighed,
                                const QString& Birim, const QString& StokAdi);
    // Whether a quantity that is not refused may go on: accepted, or confirmed by the cashier
    // when the check asks.
    static bool Confirmed(const TQuantityCheck& Check, const TQuantityConfirm& Confirm);
};
