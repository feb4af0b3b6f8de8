#pragma once

#include <QString>

// Comparing text the way a Turkish reader does: letter case folded by the Turkish rules, where
// "i" and "İ" are one letter and "ı" and "I" another. Nothing else is folded: "ş" and "s" stay
// different letters, and blanks and punctuation count as typed. For filters that match as a
// person expects whatever case the data or the cashier used.

// `Text` in upper case by the Turkish rules ("istanbul" -> "İSTANBUL", "ılık" -> "ILIK"),
// composed first so that an "İ" stored as "I" with a combining dot equals a typed "i".
QString TurkishUpper(const QString& Text);
// Whether `Part` occurs in `Text`, letter case folded by the Turkish rules; an empty `Part`
// occurs everywhere. Every character of `Part` stands for itself.
bool TurkishContains(const QString& Text, const QString& Part);
