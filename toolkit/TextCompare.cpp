// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TextCompare.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <cstdint>

#include "toolkit/TCanvas.h"

namespace {

// One collator per case rule for the life of the program: building one is costly, and the
// locale is read once at start-up.
const QCollator& Collator(Qt::CaseSensitivity cs) {
    static const QCollator insensitive = [] {
        QCollator c(QLocale::system());
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    static const QCollator sensitive = [] {
        QCollator c(QLocale::system());
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    return cs == Qt::CaseInsensitive ? insensitive : sensitive;
}

int Sign(int v) {
    return (v > 0) - (v < 0);
}

bool IsCLocale(const QCollator& collator) {
    return collator.locale().language() == QLocale::C;
}

}  // namespace

int AnsiCompareText(const QString& a, const QString& b) {
    return Sign(Collator(Qt::CaseInsensitive).compare(a, b));
}

int AnsiCompareText(const std::string& a, const std::string& b) {
    return AnsiCompareText(ToQString(a), ToQString(b));
}

int AnsiCompareStr(const std::string& a, const std::string& b) {
    return Sign(Collator(Qt::CaseSensitive).compare(ToQString(a), ToQString(b)));
}

bool AnsiSameText(const std::string& a, const std::string& b) {
    if (a == b) return true;
    const QString qa = ToQString(a), qb = ToQString(b);
    // Bytes that are not UTF-8 all decode to the same replacement character: such texts are
    // the same only when their bytes are.
    if (qa.toUtf8().toStdString() != a || qb.toUtf8().toStdString() != b) return false;
    return qa.compare(qb, Qt::CaseInsensitive) == 0;
}

TTextSortKeys::TTextSortKeys(const std::vector<QString>& texts)
    : FFolding(IsCLocale(Collator(Qt::CaseInsensitive))) {
    if (FFolding) {
        // The collator of the C locale compares code units ignoring case: the same order as
        // comparing the case-folded texts.
        FFolded.reserve(texts.size());
        for (const QString& t : texts) FFolded.push_back(t.toCaseFolded());
        return;
    }
    FKeys.reserve(texts.size());
    for (const QString& t : texts) FKeys.push_back(Collator(Qt::CaseInsensitive).sortKey(t));
}

std::vector<std::size_t> TTextSortKeys::StableOrder() const {
    const std::size_t n = FFolding ? FFolded.size() : FKeys.size();
    if (!FFolding) {
        std::vector<std::size_t> order(n);
        for (std::size_t i = 0; i < n; ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [this](std::size_t a, std::size_t b) { return Compare(a, b) < 0; });
        return order;
    }
    // The first sixteen code units of each key ride along with its index, so that most
    // comparisons are integer comparisons in a contiguous array instead of a visit to each text
    // (which for 100,000 texts no longer fits the processor's caches).
    constexpr int kWords = 4;
    struct TItem {
        std::uint64_t Prefix[kWords];
        std::size_t Index;
    };
    std::vector<TItem> items(n);
    for (std::size_t i = 0; i < n; ++i) {
        const QString& key = FFolded[i];
        TItem& item = items[i];
        item.Index = i;
        for (int w = 0; w < kWords; ++w) {
            std::uint64_t word = 0;
            for (int u = 0; u < 4; ++u) {
                const qsizetype at = w * 4 + u;
                word = word << 16 | (at < key.size() ? key[at].unicode() : 0u);
            }
            item.Prefix[w] = word;
        }
    }
    std::sort(items.begin(), items.end(), [this](const TItem& a, const TItem& b) {
        for (int w = 0; w < kWords; ++w)
            if (a.Prefix[w] != b.Prefix[w]) return a.Prefix[w] < b.Prefix[w];
        const int c = Compare(a.Index, b.Index);
        return c != 0 ? c < 0 : a.Index < b.Index;
    });
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = items[i].Index;
    return order;
}

int TTextSortKeys::Compare(std::size_t a, std::size_t b) const {
    if (FFolding) return Sign(QStringView(FFolded[a]).compare(QStringView(FFolded[b])));
    return Sign(FKeys[a].compare(FKeys[b]));
}
