// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// How the bar draws itself: the frame around the bar and one button with its bevel, glyph and
// focus mark, in the system colours window frame, button face, shadow and highlight. Functions
// of (painter, place, state), so that a test can paint into an image and check the pixels.
#include <QPainter>
#include <QRect>

#include "toolkit/TBitmap.h"

struct TPlayerButtonLook {
    int X = 0;       // left edge of the button's slot
    int Width = 0;   // the slot width, both border columns included
    int Height = 0;  // the bar's height
    bool Down = false;
    bool Focused = false;  // draw the focus mark
    const TBitmap* Glyph = nullptr;
};

// The outline of the whole bar in the window-frame colour, not filled.
void DrawPlayerBarFrame(QPainter& painter, const QRect& client);
void DrawPlayerButton(QPainter& painter, const TPlayerButtonLook& look);
