#pragma once

#include "ui/ModalRunner.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QDialog;

// One window as it was about to be shown.
struct TShownDialog {
    QString Form;         // "TfrmCustomDialog", "TfrmCustomInput", "TfrmSaleSuccessDialog",
                          // "TfrmPayment", or the class of a scripted window
    QString Title;        // the header text
    QString Text;         // the message, the prompt, or the receipt number of a sale
    int DlgType = -1;     // TDialogType of a message, -1 otherwise
    int AutoCloseMs = 0;  // auto-close time, 0 = none
    QString DefaultValue; // the input's default text; the payment's cash box
    QStringList Buttons;  // captions of the visible buttons, left to right
    QString Amount;       // sale and payment: the amount as shown
    QString Payment;      // sale: the payment word as shown
};

// An answer a test gives in advance: the modal result and, for an input, the typed text (no
// value = the default text left as it was). The payment window reads Value as the cash box's
// text and CardValue as the card box's. A Step, when set, is run on the window instead: it
// acts on the window's controls as a person would, and the window's result is its answer.
struct TDialogAnswer {
    int Result = mrOk;
    std::optional<QString> Value;
    std::optional<QString> CardValue;
    std::function<void(QDialog&)> Step;
};

// The test runner of the modal seam. While intercepting, every window that runs through
// RunModal is recorded in Shown() and answered from the queue instead of running modally: the
// runner finds the window's controls by their object names, types the answer into its box and
// clicks the button a person would. With no answer queued it takes the safe answer: a
// confirmation is refused, any other message is acknowledged, an input is cancelled, a sale
// notice closed, a payment cancelled. Nothing is shown on screen, so a test can drive a whole
// screen without a person:
//
//   TDialogAnswers answers;              // intercepts until it goes out of scope
//   answers.Ok().Input("2,5");           // consent to the next confirmation, then type "2,5"
//   form.btnSatirSilClick();
//   QCOMPARE(answers.Last().Text, "Seçili satırı silmek istediğinizden emin misiniz?");
//
// Any other window (the shift dialog, the Z report, a stand-in sales screen) is answered by a
// queued Step; without one it runs for real and is not recorded. Without interception every
// window runs modally as in the program; tests of a window's own keys answer it through a timer
// (WhenModalOpens).
class TDialogTestHooks {
public:
    TDialogTestHooks() = delete;

    static void SetIntercepting(bool on);
    static bool Intercepting();
    static void QueueAnswer(const TDialogAnswer& answer);
    static std::optional<TDialogAnswer> TakeAnswer();
    static int PendingAnswers();
    static void Record(const TShownDialog& shown);
    static const QList<TShownDialog>& Shown();
    // Forgets recorded windows and queued answers.
    static void Reset();
};

// Intercepts the windows for the lifetime of the object (see TDialogTestHooks).
class TDialogAnswers {
public:
    TDialogAnswers();
    ~TDialogAnswers();
    TDialogAnswers(const TDialogAnswers&) = delete;
    TDialogAnswers& operator=(const TDialogAnswers&) = delete;

    TDialogAnswers& Ok();                        // "Tamam", "Evet", "Kapat"
    TDialogAnswers& Cancel();                    // "Hayır", "İptal"
    TDialogAnswers& Input(const QString& value); // type `value`, then confirm
    TDialogAnswers& AcceptDefault();             // confirm the input's default text
    // Payment window: type these into the cash and card boxes, then "Satışı Tamamla" (when it
    // is enabled; otherwise the payment is cancelled). Ok() pays the whole total in cash.
    TDialogAnswers& Pay(const QString& cash, const QString& card);
    // Any window: run `step` on it, e.g. type into a box found by name and click a button.
    TDialogAnswers& Step(std::function<void(QDialog&)> step);

    const QList<TShownDialog>& Shown() const { return TDialogTestHooks::Shown(); }
    int Count() const { return int(Shown().size()); }
    // The last window shown; an empty record when none was.
    TShownDialog Last() const;
    int Pending() const { return TDialogTestHooks::PendingAnswers(); }
};
