#include "core/SearchText.h"

#include <QSet>

#include <algorithm>

namespace {
uint KeyFoldOf(uint c)
{
    switch (c) {
    case u'I':
        return u'ı';
    case u'İ':
        return u'i';
    case u'Ç':
        return u'ç';
    case u'Ğ':
        return u'ğ';
    case u'Ö':
        return u'ö';
    case u'Ş':
        return u'ş';
    case u'Ü':
        return u'ü';
    case 0x212A: // KELVIN SIGN, whose small letter is k
        return u'k';
    default:
        return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
    }
}

// The folded characters some spelling of which KeyFold leaves apart from Fold's result: "é"
// (from "É"), and every letter of other alphabets.
const QSet<uint>& KeyUnsafe()
{
    static const QSet<uint> unsafe = [] {
        QSet<uint> set;
        for (uint c = 0; c <= 0xFFFF; ++c) {
            if (QChar::isSurrogate(c))
                continue;
            const QString folded = SearchText::Fold(QString(QChar(c)));
            if (folded.size() == 1 && KeyFoldOf(c) != folded.at(0).unicode())
                set.insert(folded.at(0).unicode());
        }
        return set;
    }();
    return unsafe;
}

// The literal runs of a folded term between its wildcards, as code points with the position of
// their first one.
QList<QPair<int, QList<uint>>> LiteralRuns(QStringView folded)
{
    QList<QPair<int, QList<uint>>> runs;
    QList<uint> run;
    int start = 0;
    int at = 0;
    for (const uint c : folded.toUcs4()) {
        if (c == u'%' || c == u'_') {
            if (!run.isEmpty())
                runs.append({start, run});
            run.clear();
        } else {
            if (run.isEmpty())
                start = at;
            run << c;
        }
        ++at;
    }
    if (!run.isEmpty())
        runs.append({start, run});
    return runs;
}

QString FromPoints(const uint* points, qsizetype length)
{
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(points), length);
}
} // namespace

namespace SearchText {
QString Fold(QStringView text)
{
    QString folded;
    folded.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'I')
            folded += u'ı';
        else if (c == u'İ')
            folded += u'i';
        else
            folded += c;
    }
    return folded.toLower();
}

QString KeyFold(QStringView text)
{
    QList<uint> points = text.toUcs4();
    for (uint& c : points)
        c = KeyFoldOf(c);
    return FromPoints(points.constData(), points.size());
}

QList<TKeyPiece> KeyPieces(QStringView folded)
{
    const QSet<uint>& unsafe = KeyUnsafe();
    QList<TKeyPiece> pieces;
    for (const auto& [start, run] : LiteralRuns(folded)) {
        for (qsizetype i = 0; i + 3 <= run.size(); ++i) {
            const bool usable = std::none_of(run.begin() + i, run.begin() + i + 3, [&](uint c) {
                return c > 0xFFFF || unsafe.contains(c);
            });
            const QString text = FromPoints(run.constData() + i, 3);
            const bool seen = std::any_of(pieces.cbegin(), pieces.cend(),
                                          [&](const TKeyPiece& p) { return p.Text == text; });
            if (usable && !seen)
                pieces.append({text, start + int(i)});
        }
    }
    return pieces;
}

QString ShortRun(QStringView folded)
{
    QList<uint> longest;
    for (const auto& run : LiteralRuns(folded)) {
        if (run.second.size() > longest.size())
            longest = run.second;
    }
    return FromPoints(longest.constData(), std::min<qsizetype>(longest.size(), 3));
}
} // namespace SearchText
