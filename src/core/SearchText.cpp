#include "core/SearchText.h"

namespace {
// One character of `text` from `at`: a surrogate pair is one character.
qsizetype CharLength(QStringView text, qsizetype at)
{
    return at + 1 < text.size() && text[at].isHighSurrogate() && text[at + 1].isLowSurrogate() ? 2
                                                                                               : 1;
}

// Iterative wildcard matching with one back-tracking point, the last "%" seen: on a mismatch
// the text position after that "%" moves one character on. Linear in practice, never
// exponential.
bool MatchLike(QStringView pattern, QStringView text)
{
    qsizetype p = 0;
    qsizetype t = 0;
    qsizetype starP = -1;
    qsizetype starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == u'%') {
            starP = ++p;
            starT = t;
            continue;
        }
        if (p < pattern.size() && pattern[p] == u'_') {
            ++p;
            t += CharLength(text, t);
            continue;
        }
        if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
            continue;
        }
        if (starP < 0)
            return false;
        p = starP;
        starT += CharLength(text, starT);
        t = starT;
    }
    while (p < pattern.size() && pattern[p] == u'%')
        ++p;
    return p == pattern.size();
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
} // namespace SearchText

TLikePattern::TLikePattern(QString pattern)
    : FPattern(std::move(pattern))
{
}

bool TLikePattern::Matches(QStringView text) const
{
    return MatchLike(FPattern, text);
}
