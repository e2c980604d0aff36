// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A bitmap from the program's resources. Glyphs are drawn with the colour of their bottom-left
// pixel transparent (TCanvas::DrawTransparent).
#include <QImage>
#include <string>

class TBitmap {
public:
    TBitmap() = default;
    explicit TBitmap(QImage image) : Image(std::move(image)) {}

    // Loads the resource of that name (":/glyphs/NAME.bmp"); throws EResNotFound when missing.
    static TBitmap FromResource(const std::string& name);

    int Width() const { return Image.width(); }
    int Height() const { return Image.height(); }
    bool Empty() const { return Image.isNull(); }
    // The colour that drawing leaves out: the pixel at column 0, row Height - 1.
    QRgb TransparentColor() const;

    QImage Image;
};
