// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TCanvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>

#include "toolkit/DeviceImage.h"

QFont TCanvas::DeviceFont() {
    return FPainter ? QFont(Font.ToQFont(), FPainter->device()) : Font.ToQFont();
}

void TCanvas::FillRect(const QRect& rect) {
    Changing();
    if (FPainter) FPainter->fillRect(rect, ToQColor(BrushColor));
}

void TCanvas::FrameRect(const QRect& rect) {
    Changing();
    if (!FPainter || rect.isEmpty()) return;
    const QColor c = ToQColor(BrushColor);
    FPainter->fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), c);
    FPainter->fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), c);
    FPainter->fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), c);
    FPainter->fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), c);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    Changing();
    if (!FPainter) return;
    QFont f = DeviceFont();
    FPainter->setFont(f);
    QColor c = ToQColor(Font.Color);
    FPainter->setPen(c.isValid() ? c : QGuiApplication::palette().color(QPalette::Text));
    QFontMetrics fm(f, FPainter->device());
    FPainter->drawText(x, y + fm.ascent(), ToQString(text));
}

void TCanvas::DrawText(const std::string& text, const QRect& rect, unsigned flags) {
    Changing();
    if (!FPainter) return;
    QFont f = DeviceFont();
    QFontMetrics fm(f, FPainter->device());
    int y = rect.top();
    if ((flags & DT_SINGLELINE) && (flags & DT_VCENTER))
        y = rect.top() + (rect.height() - fm.height()) / 2;
    FPainter->save();
    FPainter->setClipRect(rect);
    FPainter->setFont(f);
    QColor c = ToQColor(Font.Color);
    FPainter->setPen(c.isValid() ? c : QGuiApplication::palette().color(QPalette::Text));
    FPainter->drawText(rect.left(), y + fm.ascent(), ToQString(text));
    FPainter->restore();
}

QSize TCanvas::TextExtent(const std::string& text) {
    Changing();
    QFont f = DeviceFont();
    QFontMetrics fm = FPainter ? QFontMetrics(f, FPainter->device()) : QFontMetrics(f);
    return {fm.horizontalAdvance(ToQString(text)), fm.height()};
}

TTextMetric TCanvas::TextMetrics() {
    Changing();
    QFont f = DeviceFont();
    QFontMetrics fm = FPainter ? QFontMetrics(f, FPainter->device()) : QFontMetrics(f);
    TTextMetric tm;
    tm.tmAscent = fm.ascent();
    tm.tmDescent = fm.descent();
    tm.tmHeight = fm.ascent() + fm.descent();
    tm.tmAveCharWidth = fm.averageCharWidth();
    return tm;
}

void TCanvas::DrawTransparent(int x, int y, const TBitmap& bitmap) {
    Changing();
    if (!FPainter || bitmap.Empty()) return;
    QImage img = bitmap.Image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = bitmap.TransparentColor();
    const QRgb brush = ToQColor(BrushColor).rgb();
    for (int row = 0; row < img.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(row));
        for (int col = 0; col < img.width(); ++col)
            if ((line[col] & 0xFFFFFF) == (key & 0xFFFFFF)) line[col] = brush;
    }
    FPainter->drawImage(QPointF(x, y), GlyphForRatio(img, PaintRatio(*FPainter)));
}
