// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Locale-aware ordering of the program's strings (UTF-8 bytes), as lists sort their entries.
#include <QCollatorSortKey>
#include <QString>
#include <string>
#include <vector>

// The system locale's order, ignoring letter case. Negative, 0 or positive.
int AnsiCompareText(const std::string& a, const std::string& b);
int AnsiCompareText(const QString& a, const QString& b);
// The system locale's order, letter case counting.
int AnsiCompareStr(const std::string& a, const std::string& b);
// True when the two texts are the same but for letter case.
bool AnsiSameText(const std::string& a, const std::string& b);

// Sort keys for many texts at once: two keys compare as AnsiCompareText compares their texts,
// at a fraction of the cost, so sorting n texts costs n key computations and cheap comparisons.
class TTextSortKeys {
public:
    explicit TTextSortKeys(const std::vector<QString>& texts);
    // Negative, 0 or positive, as AnsiCompareText(texts[a], texts[b]).
    int Compare(std::size_t a, std::size_t b) const;
    // The indices of the texts in sorted order; texts that compare equal keep their order.
    std::vector<std::size_t> StableOrder() const;

private:
    // The C locale orders by case-folded code units; other locales by their collation keys.
    bool FFolding;
    std::vector<QString> FFolded;
    std::vector<QCollatorSortKey> FKeys;
};
