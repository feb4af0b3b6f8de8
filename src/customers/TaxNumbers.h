#pragma once

#include <QString>

// The check-digit rules of the two Turkish identity numbers an account carries.
namespace TaxNumbers {
// A tax number (vergi kimlik numarası): ten digits, the last one computed from the other nine.
bool IsValidVKN(const QString& Number);
// A national identity number (T.C. kimlik numarası): eleven digits, the first not 0, the tenth
// and eleventh computed from the ones before them.
bool IsValidTCKN(const QString& Number);
} // namespace TaxNumbers
