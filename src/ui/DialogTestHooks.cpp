#include "ui/DialogTestHooks.h"

#include <QQueue>

namespace {
struct THookState {
    bool Intercepting = false;
    QQueue<TDialogAnswer> Answers;
    QList<TShownDialog> Shown;
};

THookState& State()
{
    static THookState state;
    return state;
}
} // namespace

void TDialogTestHooks::SetIntercepting(bool on)
{
    State().Intercepting = on;
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
    TDialogTestHooks::QueueAnswer({mrOk, std::nullopt, std::nullopt});
    return *this;
}

TDialogAnswers& TDialogAnswers::Cancel()
{
    TDialogTestHooks::QueueAnswer({mrCancel, std::nullopt, std::nullopt});
    return *this;
}

TDialogAnswers& TDialogAnswers::Input(const QString& value)
{
    TDialogTestHooks::QueueAnswer({mrOk, value, std::nullopt});
    return *this;
}

TDialogAnswers& TDialogAnswers::Pay(const QString& cash, const QString& card)
{
    TDialogTestHooks::QueueAnswer({mrOk, cash, card});
    return *this;
}

TDialogAnswers& TDialogAnswers::AcceptDefault()
{
    return Ok();
}

TShownDialog TDialogAnswers::Last() const
{
    return Shown().isEmpty() ? TShownDialog{} : Shown().constLast();
}
