#include "support/DialogTestHooks.h"

#include "ui/CustomDialogForm.h"
#include "ui/SaleSuccessDialogForm.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QQueue>
#include <QTimer>

namespace {
enum class TWindow { Message, Input, Sale, Payment, Other };

TWindow KindOf(const QDialog& dialog)
{
    const QString name = dialog.objectName();
    if (name == QLatin1String("frmCustomDialog"))
        return TWindow::Message;
    if (name == QLatin1String("frmCustomInput"))
        return TWindow::Input;
    if (name == QLatin1String("frmSaleSuccessDialog"))
        return TWindow::Sale;
    if (name == QLatin1String("frmPayment"))
        return TWindow::Payment;
    return TWindow::Other;
}

template <typename T> T* Find(QDialog& dialog, const char* name)
{
    return dialog.findChild<T*>(QLatin1String(name));
}

QString Text(QDialog& dialog, const char* name)
{
    if (auto* label = Find<QLabel>(dialog, name))
        return label->text();
    if (auto* edit = Find<QLineEdit>(dialog, name))
        return edit->text();
    if (auto* button = Find<QAbstractButton>(dialog, name))
        return button->text();
    return {};
}

void Click(QDialog& dialog, const char* name)
{
    if (auto* button = Find<QAbstractButton>(dialog, name))
        button->click();
}

void Type(QDialog& dialog, const char* name, const std::optional<QString>& text)
{
    if (auto* edit = Find<QLineEdit>(dialog, name); edit && text)
        edit->setText(*text);
}

TShownDialog Describe(QDialog& dialog, TWindow kind)
{
    TShownDialog shown;
    shown.Form = QString::fromLatin1(dialog.metaObject()->className());
    switch (kind) {
    case TWindow::Message: {
        shown.Title = Text(dialog, "lblTitle");
        shown.Text = Text(dialog, "lblMessage");
        shown.DlgType = qobject_cast<TfrmCustomDialog*>(&dialog)->DlgType();
        const QTimer* timer = Find<QTimer>(dialog, "tmrAutoClose");
        shown.AutoCloseMs = timer && timer->isActive() ? timer->interval() : 0;
        shown.Buttons << Text(dialog, "btnOk");
        if (Find<QWidget>(dialog, "btnCancel")->isVisibleTo(&dialog))
            shown.Buttons << Text(dialog, "btnCancel");
        break;
    }
    case TWindow::Input:
        shown.Title = Text(dialog, "lblTitle");
        shown.Text = Text(dialog, "lblPrompt");
        shown.DefaultValue = Text(dialog, "edtInput");
        shown.Buttons << Text(dialog, "btnOk") << Text(dialog, "btnCancel");
        break;
    case TWindow::Sale:
        shown.Title = Text(dialog, "lblHeaderTitle");
        shown.Text = Text(dialog, "lblFisValue");
        shown.AutoCloseMs = qobject_cast<TfrmSaleSuccessDialog*>(&dialog)->AutoCloseMs();
        shown.Buttons << Text(dialog, "btnOk");
        shown.Amount = Text(dialog, "lblAmount");
        shown.Payment = Text(dialog, "lblPaymentValue");
        break;
    case TWindow::Payment:
        shown.Title = Text(dialog, "lblTotalTitle");
        shown.Amount = Text(dialog, "lblTotalAmount");
        shown.DefaultValue = Text(dialog, "edtNakit");
        shown.Buttons << Text(dialog, "btnCancel") << Text(dialog, "btnComplete");
        break;
    case TWindow::Other:
        shown.Title =
            Find<QLabel>(dialog, "lblTitle") ? Text(dialog, "lblTitle") : dialog.windowTitle();
        break;
    }
    return shown;
}

bool Consents(const std::optional<TDialogAnswer>& answer)
{
    return answer && answer->Result == mrOk;
}

// Answers a window of a known kind as a person would.
void Answer(QDialog& dialog, TWindow kind, const std::optional<TDialogAnswer>& answer)
{
    switch (kind) {
    case TWindow::Message: {
        const bool confirmation =
            qobject_cast<TfrmCustomDialog*>(&dialog)->DlgType() == dtConfirmation;
        Click(dialog, confirmation && !Consents(answer) ? "btnCancel" : "btnOk");
        return;
    }
    case TWindow::Input:
        if (!Consents(answer)) {
            Click(dialog, "btnCancel");
            return;
        }
        Type(dialog, "edtInput", answer->Value);
        Click(dialog, "btnOk");
        return;
    case TWindow::Sale:
        Click(dialog, "btnOk");
        return;
    case TWindow::Payment: {
        auto* complete = Find<QAbstractButton>(dialog, "btnComplete");
        if (Consents(answer)) {
            Type(dialog, "edtNakit", answer->Value);
            Type(dialog, "edtKart", answer->CardValue);
        }
        Click(dialog, Consents(answer) && complete->isEnabled() ? "btnComplete" : "btnCancel");
        return;
    }
    case TWindow::Other:
        return;
    }
}

class TAnsweringRunner : public TModalRunner {
public:
    int Run(QDialog& dialog) override;
};

struct THookState {
    TAnsweringRunner Runner;
    TModalRunner* Previous = nullptr;
    bool Intercepting = false;
    QQueue<TDialogAnswer> Answers;
    QList<TShownDialog> Shown;
};

THookState& State()
{
    static THookState state;
    return state;
}

int TAnsweringRunner::Run(QDialog& dialog)
{
    const TWindow kind = KindOf(dialog);
    const bool stepQueued = !State().Answers.isEmpty() && State().Answers.head().Step;
    if (kind == TWindow::Other && !stepQueued)
        return dialog.exec();
    TDialogTestHooks::Record(Describe(dialog, kind));
    const std::optional<TDialogAnswer> answer = TDialogTestHooks::TakeAnswer();
    if (stepQueued)
        answer->Step(dialog);
    else
        Answer(dialog, kind, answer);
    return dialog.result();
}
} // namespace

void TDialogTestHooks::SetIntercepting(bool on)
{
    THookState& state = State();
    if (on == state.Intercepting)
        return;
    state.Intercepting = on;
    if (on)
        state.Previous = InstallModalRunner(&state.Runner);
    else
        InstallModalRunner(state.Previous);
}

bool TDialogTestHooks::Intercepting()
{
    return State().Intercepting;
}

void TDialogTestHooks::QueueAnswer(const TDialogAnswer& answer)
{
    State().Answers.enqueue(answer);
}

std::optional<TDialogAnswer> TDialogTestHooks::TakeAnswer()
{
    if (State().Answers.isEmpty())
        return std::nullopt;
    return State().Answers.dequeue();
}

int TDialogTestHooks::PendingAnswers()
{
    return int(State().Answers.size());
}

void TDialogTestHooks::Record(const TShownDialog& shown)
{
    State().Shown.append(shown);
}

const QList<TShownDialog>& TDialogTestHooks::Shown()
{
    return State().Shown;
}

void TDialogTestHooks::Reset()
{
    State().Answers.clear();
    State().Shown.clear();
}

TDialogAnswers::TDialogAnswers()
{
    TDialogTestHooks::Reset();
    TDialogTestHooks::SetIntercepting(true);
}

TDialogAnswers::~TDialogAnswers()
{
    TDialogTestHooks::SetIntercepting(false);
    TDialogTestHooks::Reset();
}

TDialogAnswers& TDialogAnswers::Ok()
{
    TDialogTestHooks::QueueAnswer({mrOk, std::nullopt, std::nullopt, {}});
    return *this;
}

TDialogAnswers& TDialogAnswers::Cancel()
{
    TDialogTestHooks::QueueAnswer({mrCancel, std::nullopt, std::nullopt, {}});
    return *this;
}

TDialogAnswers& TDialogAnswers::Input(const QString& value)
{
    TDialogTestHooks::QueueAnswer({mrOk, value, std::nullopt, {}});
    return *this;
}

TDialogAnswers& TDialogAnswers::Pay(const QString& cash, const QString& card)
{
    TDialogTestHooks::QueueAnswer({mrOk, cash, card, {}});
    return *this;
}

TDialogAnswers& TDialogAnswers::AcceptDefault()
{
    return Ok();
}

TDialogAnswers& TDialogAnswers::Step(std::function<void(QDialog&)> step)
{
    TDialogTestHooks::QueueAnswer({mrOk, std::nullopt, std::nullopt, std::move(step)});
    return *this;
}

TShownDialog TDialogAnswers::Last() const
{
    return Shown().isEmpty() ? TShownDialog{} : Shown().constLast();
}
