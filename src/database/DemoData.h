#pragma once

#include <QString>

// The small demo shop of a new embedded database: one firm with the branches MERKEZ, KADIKÖY
// (both active) and BORNOVA (passive), a manager, two cashiers and an inactive user, this
// workstation's terminal, nine categories and sixty products (weighed goods with scale codes,
// case barcodes, lot-tracked goods with an expired lot, an inactive and a deleted product),
// branch stock, and a few customers. The logins and barcodes are listed in README.md.
namespace DemoData {
// True when none of the required tables holds a row.
bool DatabaseIsEmpty();
// Writes the demo shop in one transaction when the database is empty; true when it did.
bool WriteIfEmpty();

// The SHA-256 of the UTF-8 bytes of the password exactly as typed, as 64 lower-case hex digits:
// what Kullanici.SifreHash holds.
QString PasswordHash(const QString& password);
// The EAN-13 check digit of twelve digits.
QChar Ean13CheckDigit(const QString& twelveDigits);
} // namespace DemoData
