#include "ui/POSUITheme.h"

#include <QFont>
#include <QStringList>

void RegisterFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("Segoe UI"), {QStringLiteral("Open Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Segoe UI Semibold"), {QStringLiteral("Open Sans SemiBold"), QStringLiteral("Open Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Consolas"), {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Inconsolata"), QStringLiteral("Noto Mono")});
}
