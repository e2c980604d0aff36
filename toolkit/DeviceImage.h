// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Pictures and glyphs on screens of any density. Every size in a layout is a logical pixel; a
// screen with a pixel ratio of 2 draws each of them as 2 x 2 device pixels. An image is brought
// to the device's own resolution before it is drawn, so the painter copies it pixel for pixel
// instead of stretching it on the fly (which doubles some rows and not others at 1.5).
#include <QImage>
#include <QString>

class QPainter;

// The pixel ratio of the surface a painter draws on (1 for printers and plain images).
qreal PaintRatio(const QPainter& painter);

// A glyph drawn one image pixel per logical pixel, made for a surface of `ratio`: every pixel
// becomes a block of whole device pixels (2 x 2 at 2, so edges stay hard), and at a fractional
// ratio the next whole multiple is shrunk smoothly, so every line keeps the same weight.
QImage GlyphForRatio(const QImage& glyph, qreal ratio);

// A picture drawn at `sourceRatio` device pixels per logical pixel (2 for a NAME@2x file)
// resampled smoothly for a surface of `ratio`; unchanged when the two agree.
QImage PictureForRatio(const QImage& picture, qreal sourceRatio, qreal ratio);

// The name of a picture's high-density version: "Banner.jpg" -> "Banner@2x.jpg".
QString HighDensityName(const QString& path);

class QIcon;
// An icon from `path`: a picture file, or a folder laid out as an icon theme's (NxN/apps/*.png),
// whose every size the icon then holds, so a task bar or a switcher at any scale picks a sharp
// one. It is built once for each path and shared by every window that asks.
QIcon IconAtEverySize(const QString& path);
