// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Widths of text in one font as the document layout counts them: in 1/64 px, summed from the
// shaped glyph advances, so that a line breaker can add them up and compare with a line width
// exactly as the layout does. Every answer is measured once and then kept.
#include <QFont>
#include <QFontMetricsF>
#include <QStringView>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/richedit/TextKeyMap.h"

namespace RichEdit {

// A width in 1/64 px, the layout's own unit.
using Fixed = std::int64_t;

// A real width in the layout's unit, cut towards zero as the layout converts it.
Fixed ToFixed(qreal value);

class FontMeasure {
public:
    explicit FontMeasure(const QFont& font);
    const QFont& Font() const { return FFont; }

    // Advance of `text` shaped on its own.
    Fixed Advance(QStringView text);
    // What shaping two characters together adds to their advances apart: the kerning of the
    // pair, carried by the first one's advance. Both characters are below U+0100.
    Fixed PairAdjust(char16_t first, char16_t second);
    // How far the ink of a character's glyph reaches past its advance (0 if not at all).
    // Below U+0100.
    Fixed Overhang(char16_t c);
    // The font's own bound for Overhang: the layout only looks at a glyph's ink when the line
    // is within this distance of being full.
    Fixed MaxOverhang() const { return FMaxOverhang; }
    // Whether the two characters are drawn as one glyph. Below U+0100.
    bool Ligates(char16_t first, char16_t second);

private:
    static constexpr std::int32_t kUnknown = INT32_MIN;

    Fixed MeasureText(const QString& text) const;

    QFont FFont;
    QFontMetricsF FMetrics;
    Fixed FMaxOverhang;
    TextKeyMap<Fixed> FAdvances;
    // By first character, each row made when first asked: kUnknown until measured.
    std::array<std::unique_ptr<std::array<std::int32_t, 256>>, 256> FPairs;
    std::vector<std::int8_t> FLigatures;  // 256 x 256, -1 until shaped
    std::array<std::int32_t, 256> FOverhangs;
};

}  // namespace RichEdit
