#include "ui/CustomInputForm.h"

#include "ui/MessageLabel.h"
#include "ui/POSButton.h"
#include "ui/SlotGuard.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int kWidth = 400;
constexpr int kHeight = 220;
constexpr int kFrame = 2;
constexpr int kHeaderHeight = 40;
constexpr int kFooterHeight = 60;
constexpr int kButtonWidth = 112;
constexpr int kButtonHeight = 40;
const QString kDefaultPrompt = QStringLiteral("Lütfen değer giriniz:");
} // namespace

TfrmCustomInput::TfrmCustomInput(QWidget* parent)
    : TBaseWindow(parent, TWindowKind::Dialog,
                  {{kWidth, kHeight},
                   kFrame,
                   "pnlTop",
                   kHeaderHeight,
                   "pnlContent",
                   "pnlBottom",
                   kFooterHeight})
    , lblTitle(CreateTitle("lblTitle"))
    , lblPrompt(new TMessageLabel(Content()))
    , edtInput(new QLineEdit(Content()))
    , btnOk(CreateButton(Footer(), "btnOk", QStringLiteral("Tamam"), TGlyph::None,
                         TButtonVariant::Primary))
    , btnCancel(CreateButton(Footer(), "btnCancel", QStringLiteral("İptal"), TGlyph::None,
                             TButtonVariant::Default))
{
    setObjectName(QStringLiteral("frmCustomInput"));
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    // The prompt of a weight names the product as the database holds it (plain text): a long
    // name takes a second line rather than running to the frame.
    lblPrompt->setText(kDefaultPrompt);
    edtInput->setObjectName(QStringLiteral("edtInput"));

    QFont promptFont = TPOSUITheme::TextFont(10);
    promptFont.setPixelSize(14);
    lblPrompt->setFont(promptFont);
    lblPrompt->setStyleSheet(QStringLiteral("color: %1;").arg(POSPalette::Text.name()));
    lblPrompt->setGeometry(18, 6, 360, 40);

    TPOSUITheme::StyleEdit(edtInput);
    QFont editFont = edtInput->font();
    editFont.setPixelSize(27);
    edtInput->setFont(editFont);
    edtInput->setGeometry(18, 50, 360, 45);

    const int top = (kFooterHeight - kButtonHeight) / 2;
    const int cancelLeft = kWidth - 2 * kFrame - 20 - kButtonWidth;
    btnCancel->setGeometry(cancelLeft, top, kButtonWidth, kButtonHeight);
    btnOk->setGeometry(cancelLeft - 10 - kButtonWidth, top, kButtonWidth, kButtonHeight);

    GuardedConnect(edtInput, &QLineEdit::returnPressed, this, [this] { done(mrOk); });
    GuardedConnect(btnOk, &QPushButton::clicked, this, [this] { done(mrOk); });
    GuardedConnect(btnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TfrmCustomInput::Setup(const QString& Title, const QString& Prompt,
                            const QString& DefaultValue)
{
    lblTitle->setText(Title);
    setWindowTitle(Title);
    lblPrompt->setText(Prompt.isEmpty() ? kDefaultPrompt : Prompt);
    edtInput->setText(DefaultValue);
    edtInput->selectAll();
}

void TfrmCustomInput::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    edtInput->setFocus();
    edtInput->selectAll();
}

void TfrmCustomInput::reject()
{
    done(mrCancel);
}

void TfrmCustomInput::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    TBaseWindow::keyPressEvent(event);
}

bool TfrmCustomInput::ShowInput(const QString& Title, const QString& Prompt,
                                const QString& DefaultValue, QString& Value)
{
    TfrmCustomInput dialog(DialogOwner());
    dialog.Setup(Title, Prompt, DefaultValue);
    if (dialog.ShowModal() != mrOk)
        return false;
    Value = dialog.edtInput->text();
    return true;
}
