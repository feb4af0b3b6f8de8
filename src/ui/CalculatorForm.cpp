#include "ui/CalculatorForm.h"

#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int kWidth = 336;
constexpr int kHeight = 556;
constexpr int kFrame = 1;
constexpr int kHeaderHeight = 80;
constexpr int kKeyWidth = 75;
constexpr int kKeyHeight = 73;
constexpr int kGap = 6;
constexpr int kPadLeft = (kWidth - 2 * kFrame - 4 * kKeyWidth - 3 * kGap) / 2;
constexpr int kScreenTop = 12;
constexpr int kScreenHeight = 56;
constexpr int kKeysTop = kScreenTop + kScreenHeight + 10;
constexpr int kCloseSize = 40;

QString ScreenStyle()
{
    return QStringLiteral("QLineEdit { background: %1; color: %2; border: 1px solid %3; "
                          "border-radius: 8px; padding: 0 10px; }")
        .arg(POSPalette::Content.name(), POSPalette::Header.name(), POSPalette::FrameLight.name());
}
} // namespace

TfrmCalculator::TfrmCalculator(QWidget* parent)
    : TBaseWindow(
          parent, TWindowKind::Dialog,
          {{kWidth, kHeight}, kFrame, "pnlTop", kHeaderHeight, "pnlContent", "pnlBottom", 0})
    , lblTitle(CreateScreenTitle("lblTitle"))
    , lblSubTitle(CreateSubTitle("lblSubTitle"))
    , btnClose(TPOSUITheme::CreateLookButton(Header(), QStringLiteral("btnClose"), QString(),
                                             TGlyph::Close, TPOSUITheme::HeaderButtonLook()))
    , screen(new QLineEdit(Content()))
{
    setObjectName(QStringLiteral("frmCalculator"));
    setWindowTitle(QStringLiteral("Hesap Makinesi"));
    lblTitle->setText(QStringLiteral("HESAP MAKİNESİ"));
    lblTitle->setGeometry(20, 12, 240, 32);
    lblSubTitle->setText(QStringLiteral("POS Hesap Makinesi"));
    lblSubTitle->setGeometry(22, 44, 240, 22);
    btnClose->setGeometry(kWidth - 2 * kFrame - kCloseSize - 12, (kHeaderHeight - kCloseSize) / 2,
                          kCloseSize, kCloseSize);
    GuardedConnect(btnClose, &QPushButton::clicked, this, [this] { done(mrCancel); });

    screen->setObjectName(QStringLiteral("screen"));
    screen->setReadOnly(true);
    screen->setFocusPolicy(Qt::NoFocus);
    screen->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont font = TPOSUITheme::SemiboldFont(10, true);
    font.setPixelSize(26);
    screen->setFont(font);
    screen->setStyleSheet(ScreenStyle());
    screen->setGeometry(kPadLeft, kScreenTop, 4 * kKeyWidth + 3 * kGap, kScreenHeight);
    AddKeys();
}

void TfrmCalculator::AddKeys()
{
    using V = TButtonVariant;
    TCalculator& c = FCalculator;
    AddKey("btnClear", QStringLiteral("C"), 0, 0, 2, V::Danger, [&c] { c.Clear(); });
    AddKey("btnBack", QStringLiteral("⌫"), 0, 2, 1, V::Default, [&c] { c.Backspace(); });
    AddKey("btnDivide", QStringLiteral("/"), 0, 3, 1, V::Default,
           [&c] { c.Operator(TCalculator::Divide); });
    const struct {
        const char* Name;
        int Digit;
        int Row;
        int Column;
    } digits[] = {{"btn7", 7, 1, 0}, {"btn8", 8, 1, 1}, {"btn9", 9, 1, 2}, {"btn4", 4, 2, 0},
                  {"btn5", 5, 2, 1}, {"btn6", 6, 2, 2}, {"btn1", 1, 3, 0}, {"btn2", 2, 3, 1},
                  {"btn3", 3, 3, 2}, {"btn0", 0, 4, 1}};
    for (const auto& d : digits) {
        const int digit = d.Digit;
        AddKey(d.Name, QString::number(digit), d.Row, d.Column, 1, V::Default,
               [&c, digit] { c.Digit(digit); });
    }
    AddKey("btnMultiply", QStringLiteral("*"), 1, 3, 1, V::Default,
           [&c] { c.Operator(TCalculator::Multiply); });
    AddKey("btnSubtract", QStringLiteral("-"), 2, 3, 1, V::Default,
           [&c] { c.Operator(TCalculator::Subtract); });
    AddKey("btnAdd", QStringLiteral("+"), 3, 3, 1, V::Default,
           [&c] { c.Operator(TCalculator::Add); });
    AddKey("btnSign", QStringLiteral("±"), 4, 0, 1, V::Default, [&c] { c.ToggleSign(); });
    AddKey("btnSeparator", QStringLiteral(","), 4, 2, 1, V::Default, [&c] { c.Separator(); });
    AddKey("btnEquals", QStringLiteral("="), 4, 3, 1, V::Primary, [&c] { c.Equals(); });
}

void TfrmCalculator::AddKey(const char* name, const QString& caption, int row, int column, int span,
                            TButtonVariant variant, const std::function<void()>& action)
{
    TPOSButton* key = CreateButton(Content(), name, caption, TGlyph::None, variant);
    key->setFont(TPOSUITheme::SemiboldFont(20, true));
    key->setGeometry(kPadLeft + column * (kKeyWidth + kGap), kKeysTop + row * (kKeyHeight + kGap),
                     span * kKeyWidth + (span - 1) * kGap, kKeyHeight);
    GuardedConnect(key, &QPushButton::clicked, this, [this, action] { Press(action); });
}

void TfrmCalculator::Press(const std::function<void()>& action)
{
    action();
    screen->setText(FCalculator.Display());
}

void TfrmCalculator::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        done(mrCancel);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Press([this] { FCalculator.Equals(); });
        return;
    case Qt::Key_Backspace:
        Press([this] { FCalculator.Backspace(); });
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() == 1 && FCalculator.Key(text.at(0))) {
        screen->setText(FCalculator.Display());
        return;
    }
    TBaseWindow::keyPressEvent(event);
}

void TfrmCalculator::Execute()
{
    TfrmCalculator form(DialogOwner());
    form.ShowModal();
}
