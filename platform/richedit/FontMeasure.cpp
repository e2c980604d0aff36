// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/richedit/FontMeasure.h"

#include <QGlyphRun>
#include <QTextLayout>
#include <cmath>

namespace RichEdit {

Fixed ToFixed(qreal value) {
    return Fixed(value * 64.0);
}

FontMeasure::FontMeasure(const QFont& font)
    : FFont(font),
      FMetrics(font),
      FMaxOverhang(-std::min<Fixed>(ToFixed(FMetrics.minRightBearing()), 0)) {
    FOverhangs.fill(kUnknown);
}

Fixed FontMeasure::MeasureText(const QString& text) const {
    // The advance is a sum of fixed-point glyph advances: exact in a double.
    return std::llround(FMetrics.horizontalAdvance(text) * 64.0);
}

Fixed FontMeasure::Advance(QStringView text) {
    const std::u16string_view key = TextKey(text);
    const auto found = FAdvances.find(key);
    if (found != FAdvances.end()) return found->second;
    const Fixed advance = MeasureText(text.toString());
    FAdvances.emplace(std::u16string(key), advance);
    return advance;
}

Fixed FontMeasure::PairAdjust(char16_t first, char16_t second) {
    auto& row = FPairs[first];
    if (!row) {
        row = std::make_unique<std::array<std::int32_t, 256>>();
        row->fill(kUnknown);
    }
    std::int32_t& slot = (*row)[second];
    if (slot == kUnknown) {
        const QChar pair[2] = {QChar(first), QChar(second)};
        slot = std::int32_t(MeasureText(QString(pair, 2)) - Advance(QStringView(pair, 1)) -
                            Advance(QStringView(pair + 1, 1)));
    }
    return slot;
}

Fixed FontMeasure::Overhang(char16_t c) {
    std::int32_t& slot = FOverhangs[c];
    if (slot == kUnknown)
        slot = std::int32_t(-std::min<Fixed>(ToFixed(FMetrics.rightBearing(QChar(c))), 0));
    return slot;
}

bool FontMeasure::Ligates(char16_t first, char16_t second) {
    if (FLigatures.empty()) FLigatures.assign(std::size_t(256) * 256, -1);
    std::int8_t& slot = FLigatures[size_t(first) * 256 + second];
    if (slot < 0) {
        const QChar pair[2] = {QChar(first), QChar(second)};
        QTextLayout layout(QString(pair, 2), FFont);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        qsizetype glyphs = 0;
        for (const QGlyphRun& run : layout.glyphRuns()) glyphs += run.glyphIndexes().size();
        slot = glyphs < 2 ? 1 : 0;
    }
    return slot == 1;
}

}  // namespace RichEdit
