#include "ui/CustomInputForm.h"

#include "ui/POSButton.h"
#include "ui/POSUITheme.h"

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
    : TFramelessDialog(parent)
    , pnlTop(new QWidget(this))
    , lblTitle(new QLabel(pnlTop))
    , pnlContent(new QWidget(this))
    , lblPrompt(new QLabel(kDefaultPrompt, pnlContent))
    , edtInput(new QLineEdit(pnlContent))
    , pnlBottom(new QWidget(this))
    , btnOk(new TPOSButton(pnlBottom))
    , btnCancel(new TPOSButton(pnlBottom))
{
    setObjectName(QStringLiteral("frmCustomInput"));
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    pnlContent->setObjectName(QStringLiteral("pnlContent"));
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    edtInput->setObjectName(QStringLiteral("edtInput"));
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    SetUpBands({kWidth, kHeight}, kFrame,
               {pnlTop, kHeaderHeight, pnlContent, pnlBottom, kFooterHeight});

    StyleHeaderTitle(lblTitle, kHeaderHeight);

    QFont promptFont = TPOSUITheme::TextFont(10);
    promptFont.setPixelSize(14);
    lblPrompt->setFont(promptFont);
    lblPrompt->setStyleSheet(QStringLiteral("color: #151C25;"));
    lblPrompt->setGeometry(18, 8, 360, 24);

    TPOSUITheme::StyleEdit(edtInput);
    QFont editFont = edtInput->font();
    editFont.setPixelSize(27);
    edtInput->setFont(editFont);
    edtInput->setGeometry(18, 36, 360, 45);

    const int top = (kFooterHeight - kButtonHeight) / 2;
    const int cancelLeft = kWidth - 2 * kFrame - 20 - kButtonWidth;
    btnCancel->setGeometry(cancelLeft, top, kButtonWidth, kButtonHeight);
    btnOk->setGeometry(cancelLeft - 10 - kButtonWidth, top, kButtonWidth, kButtonHeight);
    TPOSUITheme::StyleButton(btnOk, QStringLiteral("Tamam"), TGlyph::None, true, false);
    TPOSUITheme::StyleButton(btnCancel, QStringLiteral("İptal"), TGlyph::None, false, false);

    connect(edtInput, &QLineEdit::returnPressed, this, [this] { done(mrOk); });
    connect(btnOk, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TfrmCustomInput::Setup(const QString& Title, const QString& Prompt,
                            const QString& DefaultValue)
{
    lblTitle->setText(Title);
    setWindowTitle(Title);
    lblPrompt->setText(Prompt.isEmpty() ? kDefaultPrompt : Prompt);
    FDefaultValue = DefaultValue;
    edtInput->setText(DefaultValue);
    edtInput->selectAll();
}

TShownDialog TfrmCustomInput::Describe() const
{
    TShownDialog shown;
    shown.Form = QStringLiteral("TfrmCustomInput");
    shown.Title = lblTitle->text();
    shown.Text = lblPrompt->text();
    shown.DefaultValue = FDefaultValue;
    shown.Buttons << btnOk->text() << btnCancel->text();
    return shown;
}

void TfrmCustomInput::showEvent(QShowEvent* event)
{
    TFramelessDialog::showEvent(event);
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
    TFramelessDialog::keyPressEvent(event);
}

bool TfrmCustomInput::ShowInput(const QString& Title, const QString& Prompt,
                                const QString& DefaultValue, QString& Value)
{
    TfrmCustomInput dialog(DialogOwner());
    dialog.Setup(Title, Prompt, DefaultValue);
    if (TDialogTestHooks::Intercepting()) {
        TDialogTestHooks::Record(dialog.Describe());
        const std::optional<TDialogAnswer> answer = TDialogTestHooks::TakeAnswer();
        if (!answer || answer->Result != mrOk)
            return false;
        Value = answer->Value.value_or(DefaultValue);
        return true;
    }
    if (dialog.exec() != mrOk)
        return false;
    Value = dialog.edtInput->text();
    return true;
}
