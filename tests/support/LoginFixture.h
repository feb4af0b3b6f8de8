#pragma once

#include <QString>

// Firms, branches, terminals, roles and users for login tests, on the connected dmMain. The
// tables are created when missing, in the shape the embedded schema gives them.
//
// Firms:     1 "Kırvelo Gıda A.Ş." (active), 2 "Pasif Firma" (inactive), 3 "  " (no title)
// Branches:  1 "Merkez" F1, 2 "Kadıköy" F1, 3 "Eski Şube" F1 inactive, 4 "Pasif Firma Şubesi"
//            F2, 5 "Depo" F3, 6 "Silinmiş Şube" F1 deleted
// Roles:     1 "Kasiyer", 2 "Yönetici"
// Users:     1 "kasiyer" deleted (password "1234", role 2), 2 "kasiyer" inactive ("1234",
//            role 2), 3 "kasiyer" active ("1234", role 1, "Ayşe Kasiyer", branch 1),
//            4 "yonetici" ("Admin!" stored as an upper-case hash, branch 2), 5 "bosluk"
//            ("pass " with a trailing space), 6 "diger" ("1234", branch 4 of firm 2)
// Terminals: 1 "KASA-01", 2 "TESTHOST" deleted, 3 "testhost", 4 "" (no name)
namespace LoginFixture {
void CreateTables();
void Fill();
QString Sha256Hex(const QString& text);
} // namespace LoginFixture
