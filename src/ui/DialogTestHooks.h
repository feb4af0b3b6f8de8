#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Results of the modal windows. A confirmation counts as consent only for mrOk.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

// One message, input or sale-completed window as it was about to be shown.
struct TShownDialog {
    QString Form;         // "TfrmCustomDialog", "TfrmCustomInput", "TfrmSaleSuccessDialog", ...
    QString Title;        // the header text
    QString Text;         // the message, the prompt, or the receipt number of a sale
    int DlgType = -1;     // TDialogType of a message, -1 otherwise
    int AutoCloseMs = 0;  // auto-close time, 0 = none
    QString DefaultValue; // the input's default text
    QStringList Buttons;  // captions of the visible buttons, left to right
    QString Amount;       // sale and payment: the amount as shown
    QString Payment;      // sale: the payment word as shown
};

// An answer a test gives in advance: the modal result and, for an input, the typed text (no
// value = the default text left as it was). The payment window reads Value as the cash box's
// text and CardValue as the card box's.
struct TDialogAnswer {
    int Result = mrOk;
    std::optional<QString> Value;
    std::optional<QString> CardValue;
};

// Test hook of the dialogs. While intercepting, TfrmCustomDialog::ShowDialog,
// TfrmCustomInput::ShowInput and TfrmSaleSuccessDialog::ShowSale build their window as usual,
// record it in Shown() and, instead of running it modally, take the next queued answer and
// return at once. With no answer queued they take the safe answer: a confirmation is refused
// (mrCancel), any other message is acknowledged (mrOk), an input is cancelled, a sale notice is
// closed. Nothing is shown on screen, so a test can drive a whole screen without a person:
//
//   TDialogAnswers answers;              // intercepts until it goes out of scope
//   answers.Ok().Input("2,5");           // consent to the next confirmation, then type "2,5"
//   form.btnSatirSilClick();
//   QCOMPARE(answers.Last().Text, "Seçili satırı silmek istediğinizden emin misiniz?");
//
// Without interception the windows run modally as in the program; tests of the windows
// themselves then answer with keys through a timer.
class TDialogTestHooks {
public:
    TDialogTestHooks() = delete;

    static void SetIntercepting(bool on);
    static bool Intercepting();
    static void QueueAnswer(const TDialogAnswer& answer);
    // The next queued answer, or none; used by the dialogs.
    static std::optional<TDialogAnswer> TakeAnswer();
    static int PendingAnswers();
    static void Record(const TShownDialog& shown);
    static const QList<TShownDialog>& Shown();
    // Forgets recorded windows and queued answers.
    static void Reset();
};

// Intercepts the dialogs for the lifetime of the object (see TDialogTestHooks).
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

    const QList<TShownDialog>& Shown() const { return TDialogTestHooks::Shown(); }
    int Count() const { return int(Shown().size()); }
    // The last window shown; an empty record when none was.
    TShownDialog Last() const;
    int Pending() const { return TDialogTestHooks::PendingAnswers(); }
};
