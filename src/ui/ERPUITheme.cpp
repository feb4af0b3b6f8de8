#include "ui/ERPUITheme.h"

#include "ui/POSUITheme.h"

void TERPUITheme::StyleForm(QWidget* form)
{
    TPOSUITheme::StyleForm(form);
}
