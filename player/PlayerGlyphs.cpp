// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "player/PlayerGlyphs.h"

#include <algorithm>
#include <cstdio>

TPlayerGlyphs::TPlayerGlyphs() {
    static const char* const prefixes[] = {"EN", "DI", "CL"};
    for (int b = 0; b < kPlayerButtonCount; ++b) {
        for (int look = 0; look < 3; ++look) {
            char name[32];
            std::snprintf(name, sizeof name, "%s_%s", prefixes[look], GlyphName(TMPBtnType(b)));
            const TBitmap& glyph = FGlyphs[std::size_t(b)][std::size_t(look)] =
                TBitmap::FromResource(name);
            FMinSlotWidth = std::max(FMinSlotWidth, glyph.Width() + 8);
            FMinSlotHeight = std::max(FMinSlotHeight, glyph.Height() + 4);
        }
    }
}

const TBitmap& TPlayerGlyphs::Glyph(TMPBtnType button, TGlyphLook look) const {
    return FGlyphs[std::size_t(button)][std::size_t(look)];
}

const char* TPlayerGlyphs::GlyphName(TMPBtnType button) {
    static const char* const names[kPlayerButtonCount] = {"MPPLAY", "MPPAUSE",  "MPSTOP",
                                                          "MPNEXT", "MPPREV",   "MPSTEP",
                                                          "MPBACK", "MPRECORD", "MPEJECT"};
    return names[button];
}
