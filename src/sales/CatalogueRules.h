#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>

// The catalogue's rules that depend on names alone: the icon and placeholder glyph of a
// category chosen by keywords of its name (the screens choose its colours the same way), the tabler
// icon font's characters, the caption of a category button, and where a tile's picture and the icon
// font file are looked for.
namespace CatalogueRules {
// The keyword key of a name: trimmed, Ç ç Ğ ğ İ ı Ö ö Ş ş Ü ü made c c g g i i o o s s u u,
// then lower-cased. Every keyword rule tests whether the key holds a keyword, in its order.
QString FoldKeyword(const QString& name);
// Whether the keyword key holds one of the keywords.
bool HasKeyword(const QString& key, std::initializer_list<const char*> keywords);

// "grid-dots" for the all-products button, else by keywords ("package" when none matches).
QString CategoryIconName(const QString& name, bool isAll);

// The glyph of a tile without a picture.
enum class TPlaceholder {
    Clear,
    ColorMarker,
    InBoxTray,
    Star,
    User,
    ShoppingBasket,
    Flag,
    Objects
};
TPlaceholder PlaceholderGlyph(const QString& name);

// The character of an icon in the tabler icon font; 0 for a name the font is not asked for.
char16_t IconCodepoint(const QString& iconName);

// Trimmed, "_" as blanks, " ," as ",", runs of blanks as one.
QString NormalizeCaption(const QString& caption);

// The picture of a tile: Resim as it stands, then beside the program and in its parent folder,
// then the file name alone in an "Images" folder there or one folder higher, then a picture
// known by the product's name. `programFolder` ends in "/". Empty when no candidate exists.
QString ResolveImagePath(const QString& resim, const QString& stokAdi,
                         const QString& programFolder);
// The places of the optional icon font "tabler-icons.ttf", in the order they are tried.
QStringList IconFontCandidates(const QString& programFolder, const QString& currentFolder);
// The first of them that exists; empty when none does.
QString FindIconFontFile(const QString& programFolder, const QString& currentFolder);
} // namespace CatalogueRules
