// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "player/PlayerButtonDrawing.h"

#include "player/PlayerGlyphs.h"
#include "toolkit/DeviceImage.h"
#include "toolkit/Graphics.h"

namespace {

QColor System(TColor color) {
    return ToQColor(ColorToRGB(color));
}

// A line from (x1, y1) towards (x2, y2), horizontal or vertical, without its end point, as the
// toolkit's line drawing leaves it out.
void Line(QPainter& p, int x1, int y1, int x2, int y2, const QColor& color) {
    const int dx = x2 > x1 ? 1 : x2 < x1 ? -1 : 0;
    const int dy = y2 > y1 ? 1 : y2 < y1 ? -1 : 0;
    for (int x = x1, y = y1; x != x2 || y != y2; x += dx, y += dy) p.fillRect(x, y, 1, 1, color);
}

void Outline(QPainter& p, const QRect& r, const QColor& color) {
    p.fillRect(r.left(), r.top(), r.width(), 1, color);
    p.fillRect(r.left(), r.bottom(), r.width(), 1, color);
    p.fillRect(r.left(), r.top(), 1, r.height(), color);
    p.fillRect(r.right(), r.top(), 1, r.height(), color);
}

// The glyph with every key-coloured pixel turned into the button face.
QImage OnFace(const TBitmap& glyph, const QColor& face) {
    QImage image = glyph.Image.convertToFormat(QImage::Format_RGB32);
    const QRgb key = qRgb(kGlyphKeyRgb >> 16 & 0xFF, kGlyphKeyRgb >> 8 & 0xFF, kGlyphKeyRgb & 0xFF);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) line[x] = face.rgb();
    }
    return image;
}

// The dotted focus rectangle: every other pixel along the edges.
void FocusMark(QPainter& p, const QRect& r) {
    const QColor ink = System(clWindowText);
    for (int x = r.left(); x <= r.right(); x += 2) {
        p.fillRect(x, r.top(), 1, 1, ink);
        p.fillRect(x, r.bottom(), 1, 1, ink);
    }
    for (int y = r.top(); y <= r.bottom(); y += 2) {
        p.fillRect(r.left(), y, 1, 1, ink);
        p.fillRect(r.right(), y, 1, 1, ink);
    }
}

}  // namespace

void DrawPlayerBarFrame(QPainter& painter, const QRect& client) {
    Outline(painter, client, System(clWindowFrame));
}

void DrawPlayerButton(QPainter& p, const TPlayerButtonLook& b) {
    const int x = b.X, w = b.Width, h = b.Height;
    const QColor face = System(clBtnFace);
    p.fillRect(x, 0, w, h, face);
    Outline(p, QRect(x, 0, w, h), System(clWindowFrame));
    const QColor shadow = System(clBtnShadow);
    if (b.Down) {
        Line(p, x + 1, h - 2, x + 1, 1, shadow);
        Line(p, x + 1, 1, x + w - 1, 1, shadow);
    } else {
        const QColor highlight = System(clBtnHighlight);
        Line(p, x + 1, h - 2, x + 1, 1, highlight);
        Line(p, x + 1, 1, x + w - 1, 1, highlight);
        Line(p, x + 2, h - 2, x + w - 2, h - 2, shadow);
        Line(p, x + w - 2, h - 2, x + w - 2, 1, shadow);
    }
    const int shift = b.Down ? 1 : 0;
    if (b.Glyph && !b.Glyph->Empty()) {
        const int left = w / 2 - b.Glyph->Width() / 2 + shift;
        const int top = h / 2 - b.Glyph->Height() / 2 + shift;
        p.drawImage(QPointF(x + left, top), GlyphForRatio(OnFace(*b.Glyph, face), PaintRatio(p)));
    }
    if (b.Focused) {
        // The slot less 3 pixels on every side; right and bottom edges are exclusive.
        const QRect mark(x + 3 + shift, 3 + shift, w - 6, h - 6);
        FocusMark(p, mark);
    }
}
