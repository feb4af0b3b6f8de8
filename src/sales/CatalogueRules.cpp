#include "sales/CatalogueRules.h"

#include <QDir>
#include <QFileInfo>

#include <initializer_list>

namespace {
// The first rule whose keywords the key holds.
template <typename T> struct TRule {
    std::initializer_list<const char*> Keywords;
    T Result;
};

template <typename T>
T FirstMatch(const QString& key, std::initializer_list<TRule<T>> rules, T otherwise)
{
    for (const TRule<T>& rule : rules) {
        if (CatalogueRules::HasKeyword(key, rule.Keywords))
            return rule.Result;
    }
    return otherwise;
}

bool FileExists(const QString& path)
{
    return !path.trimmed().isEmpty() && QFileInfo(path).isFile();
}

// A path relative to a folder, with the relative part written with either separator.
QString Joined(const QString& folder, const QString& relative)
{
    return folder + QDir::fromNativeSeparators(relative).replace(u'\\', u'/');
}

QString FullPath(const QString& path)
{
    return QDir::cleanPath(path);
}

QString FallbackPicture(const QString& stokAdi)
{
    const QString name = stokAdi.toLower();
    if (name.contains(QLatin1String("coca")))
        return QStringLiteral("coca_cola.jpg");
    if (name.contains(QLatin1String("ayran")))
        return QStringLiteral("ayran.jpg");
    if (name.contains(QLatin1String("antep")) || name.contains(QLatin1String("fistik")))
        return QStringLiteral("pistachios.jpg");
    return {};
}

QString FirstExisting(const QStringList& candidates)
{
    for (const QString& candidate : candidates) {
        if (FileExists(candidate))
            return candidate;
    }
    return {};
}
} // namespace

namespace CatalogueRules {
QString FoldKeyword(const QString& name)
{
    static const QString from = QStringLiteral("ÇçĞğİıÖöŞşÜü");
    static const QString to = QStringLiteral("ccggiioossuu");
    QString key = name.trimmed();
    for (QChar& c : key) {
        const qsizetype at = from.indexOf(c);
        if (at >= 0)
            c = to.at(at);
    }
    return key.toLower();
}

bool HasKeyword(const QString& key, std::initializer_list<const char*> keywords)
{
    for (const char* keyword : keywords) {
        if (key.contains(QLatin1String(keyword)))
            return true;
    }
    return false;
}

QString CategoryIconName(const QString& name, bool isAll)
{
    if (isAll)
        return QStringLiteral("grid-dots");
    return QString::fromLatin1(
        FirstMatch<const char*>(FoldKeyword(name),
                                {{{"kisisel"}, "user"},
                                 {{"temiz"}, "spray"},
                                 {{"icecek", "mesrubat", "meyve suyu"}, "bottle"},
                                 {{"sut"}, "milk"},
                                 {{"su"}, "droplet"},
                                 {{"baharat"}, "pepper"},
                                 {{"bakliyat"}, "bowl"},
                                 {{"gida"}, "basket"},
                                 {{"cekirdek"}, "seeding"},
                                 {{"kuruyemis", "fistik", "findik"}, "brand-peanut"},
                                 {{"ekmek", "unlu"}, "bread"},
                                 {{"et", "sarkuteri"}, "sausage"}},
                                "package"));
}

TPlaceholder PlaceholderGlyph(const QString& name)
{
    using P = TPlaceholder;
    return FirstMatch<P>(FoldKeyword(name),
                         {{{"temiz"}, P::Clear},
                          {{"icecek", "mesrubat", "meyve suyu", "su", "sut"}, P::ColorMarker},
                          {{"gida", "bakliyat", "baharat"}, P::InBoxTray},
                          {{"kuruyemis", "fistik", "findik", "cekirdek"}, P::Star},
                          {{"kisisel"}, P::User},
                          {{"ekmek", "unlu"}, P::ShoppingBasket},
                          {{"et", "sarkuteri"}, P::Flag}},
                         P::Objects);
}

char16_t IconCodepoint(const QString& iconName)
{
    static const QList<QPair<QString, char16_t>> codes{
        {QStringLiteral("grid-dots"), 0xEABA},    {QStringLiteral("user"), 0xEB4D},
        {QStringLiteral("spray"), 0xF50B},        {QStringLiteral("bottle"), 0xEF0B},
        {QStringLiteral("droplet"), 0xEA97},      {QStringLiteral("pepper"), 0xEF15},
        {QStringLiteral("bowl"), 0xF4FA},         {QStringLiteral("basket"), 0xEBE1},
        {QStringLiteral("brand-peanut"), 0xF39B}, {QStringLiteral("star"), 0xEB2E},
        {QStringLiteral("seeding"), 0xED51},      {QStringLiteral("sausage"), 0xEF17},
        {QStringLiteral("bread"), 0xEFA3},        {QStringLiteral("milk"), 0xEF13},
        {QStringLiteral("cup"), 0xEF28},          {QStringLiteral("package"), 0xEAFF}};
    for (const auto& [name, code] : codes) {
        if (name == iconName)
            return code;
    }
    return 0;
}

QString NormalizeCaption(const QString& caption)
{
    QString text = caption.trimmed();
    text.replace(u'_', u' ');
    text.replace(QStringLiteral(" ,"), QStringLiteral(","));
    while (text.contains(QStringLiteral("  ")))
        text.replace(QStringLiteral("  "), QStringLiteral(" "));
    return text;
}

QString ResolveImagePath(const QString& resim, const QString& stokAdi, const QString& programFolder)
{
    const QString upFolder = FullPath(programFolder + QStringLiteral("..")) + u'/';
    QStringList candidates{resim};
    if (!resim.trimmed().isEmpty()) {
        candidates << Joined(programFolder, resim) << Joined(upFolder, resim);
        const QString name =
            QFileInfo(QDir::fromNativeSeparators(resim).replace(u'\\', u'/')).fileName();
        if (!name.isEmpty())
            candidates << programFolder + QStringLiteral("Images/") + name
                       << upFolder + QStringLiteral("Images/") + name
                       << FullPath(upFolder + QStringLiteral("../Images/") + name);
    }
    const QString fallback = FallbackPicture(stokAdi);
    if (!fallback.isEmpty())
        candidates << upFolder + QStringLiteral("Images/") + fallback
                   << FullPath(upFolder + QStringLiteral("../Images/") + fallback);
    return FirstExisting(candidates);
}

QStringList IconFontCandidates(const QString& programFolder, const QString& currentFolder)
{
    const QString font = QStringLiteral("Assets/TablerIcons/fonts/tabler-icons.ttf");
    return {programFolder + font,
            FullPath(programFolder + QStringLiteral("../") + font),
            programFolder + QStringLiteral("Source/") + font,
            FullPath(programFolder + QStringLiteral("../Source/") + font),
            currentFolder + font,
            currentFolder + QStringLiteral("Source/") + font};
}

QString FindIconFontFile(const QString& programFolder, const QString& currentFolder)
{
    return FirstExisting(IconFontCandidates(programFolder, currentFolder));
}
} // namespace CatalogueRules
