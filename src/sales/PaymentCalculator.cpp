#include "sales/PaymentCalculator.h"

#include "core/Money.h"
#include "core/POSTextUtils.h"

#include <algorithm>
#include <cmath>

namespace {
bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Decimals behind the separator that typing over the selection would keep.
int KeptDecimals(const QString& Text, int separatorAt, int SelectionStart, int SelectionLength)
{
    const int decimals = int(Text.size()) - separatorAt - 1;
    const int from = std::max(SelectionStart, separatorAt + 1);
    const int to = std::min(SelectionStart + SelectionLength, int(Text.size()));
    return decimals - std::max(0, to - from);
}
} // namespace

double TPaymentCalculator::ReadAmount(const QString& Text)
{
    return std::max(0.0, ParseDecimalText(Text, 0));
}

double TPaymentCalculator::AmountDue(double Total)
{
    return TMoney::KurusAsShown(Total);
}

QString TPaymentCalculator::EntryText(double Amount)
{
    return FormatFloat(QStringLiteral("0.00"), Amount);
}

QString TPaymentCalculator::NormalisedEntry(const QString& Text)
{
    return EntryText(ReadAmount(Text));
}

QString TPaymentCalculator::RestOfTotal(double Total, const QString& OtherBoxText)
{
    return EntryText(Total - ReadAmount(OtherBoxText));
}

TPaymentSummary TPaymentCalculator::Summarize(double Total, const QString& CashText,
                                              const QString& CardText)
{
    TPaymentSummary summary;
    summary.Cash = ReadAmount(CashText);
    summary.Card = ReadAmount(CardText);
    const double due = AmountDue(Total);
    double remaining = due - (summary.Cash + summary.Card);
    const double cashDue = std::max(0.0, due - summary.Card);
    summary.Change = std::max(0.0, summary.Cash - cashDue);
    if (std::fabs(remaining) < TMoney::Tolerance)
        remaining = 0;
    summary.Due = remaining > TMoney::Tolerance;
    summary.Remaining = summary.Due ? remaining : 0;
    summary.CanComplete = remaining <= TMoney::Tolerance;
    return summary;
}

TPaymentOutcome TPaymentCalculator::Complete(double Total, const QString& CashText,
                                             const QString& CardText)
{
    TPaymentOutcome outcome;
    outcome.PaymentNakit = ReadAmount(CashText);
    outcome.PaymentKart = ReadAmount(CardText);
    outcome.VerilenNakit = outcome.PaymentNakit;
    const double due = AmountDue(Total);
    if (due - TMoney::ShortPaymentTolerance > outcome.PaymentNakit + outcome.PaymentKart) {
        outcome.Short = true;
        return outcome;
    }
    const TPaymentAmounts settled = Settle(due, outcome.PaymentNakit, outcome.PaymentKart);
    outcome.PaymentNakit = settled.Nakit;
    outcome.PaymentKart = settled.Kart;
    outcome.PaymentType = PaymentTypeWord(outcome.PaymentNakit, outcome.PaymentKart);
    return outcome;
}

TPaymentAmounts TPaymentCalculator::Settle(double Due, double Nakit, double Kart)
{
    TPaymentAmounts amounts;
    amounts.Kart = std::min(Kart, Due);
    // Due minus the card is a difference of two doubles: 512.30 - 312.30 is 199.99999999999994.
    amounts.Nakit = std::min(Nakit, TMoney::RoundKurus(std::max(0.0, Due - amounts.Kart)));
    return amounts;
}

QString TPaymentCalculator::PaymentTypeWord(double Nakit, double Kart)
{
    const bool cash = Nakit > TMoney::Tolerance;
    const bool card = Kart > TMoney::Tolerance;
    if (cash && card)
        return QStringLiteral("KARMA");
    if (cash)
        return QStringLiteral("NAKIT");
    return QStringLiteral("KART");
}

TAmountKeyDecision TPaymentCalculator::FilterKey(QChar Typed, const QString& Text,
                                                 int SelectionStart, int SelectionLength,
                                                 QChar Separator)
{
    if (Typed == u'\r' || Typed == u'\n')
        return {TAmountKeyDecision::Complete};
    if (Typed == u'\b')
        return {TAmountKeyDecision::Accept};
    if (Typed == u'.' || Typed == u',') {
        if (Text.contains(Separator))
            return {TAmountKeyDecision::Swallow};
        return {TAmountKeyDecision::Separator};
    }
    if (!IsAsciiDigit(Typed))
        return {TAmountKeyDecision::Swallow};
    const int separatorAt = int(Text.indexOf(Separator));
    if (separatorAt < 0 || SelectionStart <= separatorAt)
        return {TAmountKeyDecision::Accept};
    if (KeptDecimals(Text, separatorAt, SelectionStart, SelectionLength) >= 2)
        return {TAmountKeyDecision::Swallow};
    return {TAmountKeyDecision::Accept};
}
