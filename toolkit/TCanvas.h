// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A drawing surface over QPainter: the font, brush and pen that owner-drawn controls and the
// printer object draw with, and the handful of drawing and measuring calls they make.
#include <QPainter>
#include <QRect>
#include <QSize>
#include <string>

#include "platform/system/QtStrings.h"
#include "toolkit/Graphics.h"
#include "toolkit/TBitmap.h"
#include "toolkit/TFont.h"

// Flags of DrawText, as the owner-drawn combo boxes pass them.
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_NOPREFIX = 0x0800;

struct TTextMetric {
    int tmHeight = 0;  // ascent + descent
    int tmAscent = 0;
    int tmDescent = 0;
    int tmAveCharWidth = 0;
};

class TCanvas {
public:
    TCanvas() = default;
    explicit TCanvas(QPainter* painter) : FPainter(painter) {}
    virtual ~TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    void SetPainter(QPainter* painter) { FPainter = painter; }
    QPainter* GetPainter() { return FPainter; }

    TFont Font;
    TColor BrushColor = clWhite;
    TColor PenColor = clBlack;

    void FillRect(const QRect& rect);
    // A one-pixel frame along the inside of `rect`, in the brush colour.
    void FrameRect(const QRect& rect);
    // Text with its cell's top-left corner at (x, y), in the font's colour.
    void TextOut(int x, int y, const std::string& text);
    // DrawText over a rectangle; honours DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX.
    void DrawText(const std::string& text, const QRect& rect, unsigned flags);
    QSize TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).width(); }
    int TextHeight(const std::string& text) { return TextExtent(text).height(); }
    TTextMetric TextMetrics();
    // Draws the bitmap with its transparent colour replaced by the brush colour.
    void DrawTransparent(int x, int y, const TBitmap& bitmap);

protected:
    // Runs before every drawing or measuring call: a subclass checks its state here and may
    // rescale the font for its device.
    virtual void Changing() {}
    // The font as Qt draws it on this surface.
    virtual QFont DeviceFont();

private:
    QPainter* FPainter = nullptr;
};
