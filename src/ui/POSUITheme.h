#pragma once

#include <QColor>

// The till's palette.
namespace POSPalette {
inline const QColor Header{0x1A, 0x3A, 0x5F};
inline const QColor Footer{0xF5, 0xF7, 0xFA};
inline const QColor Content{0xFF, 0xFF, 0xFF};
inline const QColor Text{0x15, 0x1C, 0x25};
inline const QColor Primary{0x22, 0x4A, 0x78};
inline const QColor GridTitle{0xEC, 0xF1, 0xF5};
inline const QColor Selected{0xB3, 0xD7, 0xF6};
} // namespace POSPalette

// Registers fonts that stand in for the fonts the screens name.
void RegisterFontSubstitutions();
