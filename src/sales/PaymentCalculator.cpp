#include "sales/PaymentCalculator.h"

#include "core/Money.h"
#include "core/POSTextUtils.h"
#include "core/TypedNumber.h"

#include <algorithm>
#include <cmath>

std::optional<double> TPaymentCalculator::ReadAmount(const QString& Text)
{
    if (Text.trimmed().isEmpty())
        return 0.0;
    return ReadTypedNumber(Text, TNumberRules::Money());
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
    const std::optional<double> amount = ReadAmount(Text);
    return amount ? EntryText(*amount) : Text;
}

QString TPaymentCalculator::RestOfTotal(double Total, const QString& OtherBoxText)
{
    return EntryText(std::max(0.0, Total - ReadAmount(OtherBoxText).value_or(0)));
}

TPaymentSummary TPaymentCalculator::Summarize(double Total, const QString& CashText,
                                              const QString& CardText)
{
    TPaymentSummary summary;
    const std::optional<double> cash = ReadAmount(CashText);
    const std::optional<double> card = ReadAmount(CardText);
    summary.Invalid = !cash || !card;
    summary.Cash = cash.value_or(0);
    summary.Card = card.value_or(0);
    const double due = AmountDue(Total);
    double remaining = due - (summary.Cash + summary.Card);
    const double cashDue = std::max(0.0, due - summary.Card);
    summary.Change = std::max(0.0, summary.Cash - cashDue);
    if (std::fabs(remaining) < TMoney::Tolerance)
        remaining = 0;
    summary.Due = remaining > TMoney::Tolerance;
    summary.Remaining = summary.Due ? remaining : 0;
    summary.CanComplete = !summary.Invalid && remaining <= TMoney::Tolerance;
    return summary;
}

TPaymentOutcome TPaymentCalculator::Complete(double Total, const QString& CashText,
                                             const QString& CardText)
{
    TPaymentOutcome outcome;
    const std::optional<double> cash = ReadAmount(CashText);
    const std::optional<double> card = ReadAmount(CardText);
    if (!cash || !card) {
        outcome.Invalid = true;
        return outcome;
    }
    outcome.PaymentNakit = *cash;
    outcome.PaymentKart = *card;
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
