// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TFont.h"

#include <cmath>

namespace {
int MulDivRound(int a, int b, int c) {
    return int(std::lround(double(a) * double(b) / double(c)));
}
}  // namespace

int TFont::Size() const {
    return -MulDivRound(Height, 72, PixelsPerInch);
}

void TFont::SetSize(int points) {
    SetHeight(-MulDivRound(points, PixelsPerInch, 72));
}

void TFont::SetHeight(int height) {
    if (Height == height) return;
    Height = height;
    Changed();
}

void TFont::SetName(const std::string& name) {
    if (Name == name) return;
    Name = name;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (Style == style) return;
    Style = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (Color == color) return;
    Color = color;
    Changed();
}

void TFont::SetCharset(std::uint8_t charset) {
    if (Charset == charset) return;
    Charset = charset;
    Changed();
}

void TFont::Assign(const TFont& other) {
    Name = other.Name;
    Style = other.Style;
    Color = other.Color;
    Charset = other.Charset;
    if (PixelsPerInch == other.PixelsPerInch)
        Height = other.Height;
    else
        Height = -MulDivRound(other.Size(), PixelsPerInch, 72);
    Changed();
}

QFont TFont::ToQFont() const {
    QFont f(QString::fromStdString(Name));
    // A negative height is the character height (the em); a positive one is the cell height,
    // of which the em is about 7/8 in the faces we use.
    int px = Height < 0 ? -Height : std::max(1, Height * 7 / 8);
    f.setPixelSize(std::max(1, px));
    f.setBold(Style & fsBold);
    f.setItalic(Style & fsItalic);
    f.setUnderline(Style & fsUnderline);
    f.setStrikeOut(Style & fsStrikeOut);
    return f;
}

bool TFont::operator==(const TFont& o) const {
    return Name == o.Name && Height == o.Height && PixelsPerInch == o.PixelsPerInch &&
           Style == o.Style && Color == o.Color && Charset == o.Charset;
}

void TFont::Changed() {
    if (OnChange) OnChange();
}

QStringList MeasuredFaces() {
    return {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Arial")};
}

void InstallFontSubstitutes() {
    // Liberation Sans keeps the fixed captions inside their places; DejaVu Sans is too wide.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               MeasuredFaces() << QStringLiteral("DejaVu Sans"));
}
