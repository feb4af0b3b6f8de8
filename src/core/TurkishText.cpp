#include "core/TurkishText.h"

QString TurkishUpper(const QString& Text)
{
    QString upper = Text.normalized(QString::NormalizationForm_C);
    for (QChar& c : upper) {
        if (c == u'i')
            c = u'İ';
        else if (c == u'ı')
            c = u'I';
    }
    return upper.toUpper();
}

bool TurkishContains(const QString& Text, const QString& Part)
{
    return TurkishUpper(Text).contains(TurkishUpper(Part));
}
