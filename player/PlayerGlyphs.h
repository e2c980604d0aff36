// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The bar's 27 glyphs: for each button an enabled, a disabled and a coloured picture, read from
// the program's resources as EN_, DI_ and CL_ followed by the button's glyph name. Their key
// colour, olive, stands for the button face.
#include <array>

#include "player/PlayerTypes.h"
#include "toolkit/TBitmap.h"

enum class TGlyphLook { Enabled, Disabled, Colored };

class TPlayerGlyphs {
public:
    // Loads all 27; throws when one is missing from the resources.
    TPlayerGlyphs();

    const TBitmap& Glyph(TMPBtnType button, TGlyphLook look) const;
    // The widest glyph + 8 and the tallest + 4: the smallest slot a button fits in.
    int MinSlotWidth() const { return FMinSlotWidth; }
    int MinSlotHeight() const { return FMinSlotHeight; }

    // The glyph name of a button ("MPPLAY").
    static const char* GlyphName(TMPBtnType button);

private:
    std::array<std::array<TBitmap, 3>, kPlayerButtonCount> FGlyphs;
    int FMinSlotWidth = 0;
    int FMinSlotHeight = 0;
};

// The key colour of the glyphs: olive.
constexpr unsigned kGlyphKeyRgb = 0x808000;  // as 0xRRGGBB
