// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A font described the way layouts and the printer object describe it: face name, height in
// pixels (negative: character height without internal leading), style, colour and character set.
#include <QFont>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/Graphics.h"

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;  // a set of TFontStyle bits

constexpr std::uint8_t DEFAULT_CHARSET = 1;

class TFont {
public:
    std::string Name = "MS Sans Serif";
    int Height = -11;
    int PixelsPerInch = 96;
    TFontStyles Style = 0;
    TColor Color = clWindowText;
    std::uint8_t Charset = DEFAULT_CHARSET;
    // Called after every change made through the setters below.
    std::function<void()> OnChange;

    int Size() const;  // point size, rounded
    void SetSize(int points);
    void SetHeight(int height);
    void SetName(const std::string& name);
    void SetStyle(TFontStyles style);
    void SetColor(TColor color);
    void SetCharset(std::uint8_t charset);
    // Copies face, height, style, colour and character set, keeping the point size when the
    // two fonts differ in pixels per inch.
    void Assign(const TFont& other);

    // The Qt font at this font's pixel height. Faces missing here are substituted (see
    // InstallFontSubstitutes).
    QFont ToQFont() const;
    bool operator==(const TFont& o) const;

private:
    void Changed();
};

// The faces with the widths that the windows' fixed places were measured in, in order of
// preference: Liberation Sans and the faces metric-compatible with it.
QStringList MeasuredFaces();
// Registers the stand-ins for faces that Linux lacks: "MS Sans Serif" is the first measured face
// installed, else DejaVu Sans (too wide for some places, but a plain sans rather than whatever
// face the font system would pick for a name it does not know).
void InstallFontSubstitutes();
