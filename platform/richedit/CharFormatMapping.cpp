// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/richedit/CharFormatMapping.h"

#include <QString>
#include <algorithm>
#include <cmath>

namespace RichEdit {

namespace {

constexpr std::uint32_t kEffectBits[] = {CFE_BOLD, CFE_ITALIC, CFE_UNDERLINE, CFE_STRIKEOUT,
                                         CFE_PROTECTED};

std::string FaceNameOf(const QString& family) {
    return family.left(31).toStdString();
}

}  // namespace

QColor FromColorRef(std::uint32_t color) {
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

std::uint32_t ToColorRef(const QColor& color) {
    return std::uint32_t(color.red()) | std::uint32_t(color.green()) << 8 |
           std::uint32_t(color.blue()) << 16;
}

CharFormat DefaultFormatOf(const QFont& font, int dpi) {
    CharFormat f;
    f.Mask = CFM_ALL;
    f.Effects = CFE_AUTOCOLOR;
    f.FaceName = FaceNameOf(font.family());
    const double px = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * dpi / 72.0;
    f.Height = int(std::lround(px * 1440.0 / dpi));
    f.CharSet = 1;
    return f;
}

QFont FontOf(const CharFormat& format, int dpi) {
    QFont f(QString::fromStdString(format.FaceName));
    f.setPixelSize(std::max(1, int(std::lround(format.Height * dpi / 1440.0))));
    f.setBold(format.Effects & CFE_BOLD);
    f.setItalic(format.Effects & CFE_ITALIC);
    f.setUnderline(format.Effects & CFE_UNDERLINE);
    f.setStrikeOut(format.Effects & CFE_STRIKEOUT);
    return f;
}

CharFormat MergedFormat(CharFormat current, const CharFormat& change) {
    const std::uint32_t m = change.Mask;
    for (std::uint32_t bit : kEffectBits)
        if (m & bit) current.Effects = (current.Effects & ~bit) | (change.Effects & bit);
    if (m & CFM_COLOR) {
        current.Effects = (current.Effects & ~CFE_AUTOCOLOR) | (change.Effects & CFE_AUTOCOLOR);
        current.TextColor = change.TextColor;
    }
    if (m & CFM_FACE) current.FaceName = FaceNameOf(QString::fromStdString(change.FaceName));
    if (m & CFM_CHARSET) current.CharSet = change.CharSet;
    if ((m & CFM_SIZE) && change.Height > 0) current.Height = change.Height;
    return current;
}

QTextCharFormat ToTextFormat(const CharFormat& format) {
    const std::uint32_t m = format.Mask;
    QTextCharFormat f;
    if (m & CFM_BOLD) f.setFontWeight(format.Effects & CFE_BOLD ? QFont::Bold : QFont::Normal);
    if (m & CFM_ITALIC) f.setFontItalic(format.Effects & CFE_ITALIC);
    if (m & CFM_UNDERLINE) f.setFontUnderline(format.Effects & CFE_UNDERLINE);
    if (m & CFM_STRIKEOUT) f.setFontStrikeOut(format.Effects & CFE_STRIKEOUT);
    if (m & CFM_PROTECTED) f.setProperty(kProtectedProperty, bool(format.Effects & CFE_PROTECTED));
    if (m & CFM_FACE) f.setFontFamilies({QString::fromStdString(format.FaceName).left(31)});
    if (m & CFM_CHARSET) f.setProperty(kCharsetProperty, int(format.CharSet));
    if ((m & CFM_SIZE) && format.Height > 0) f.setFontPointSize(format.Height / 20.0);
    if ((m & CFM_COLOR) && !WantsAutoColor(format)) f.setForeground(FromColorRef(format.TextColor));
    return f;
}

bool WantsAutoColor(const CharFormat& format) {
    return (format.Mask & CFM_COLOR) && (format.Effects & CFE_AUTOCOLOR);
}

CharFormat DescribeFormat(const QTextCharFormat& format, const QFont& defaults,
                          const CharFormat& fallback, const QColor& autoColor) {
    CharFormat r;
    r.Mask = CFM_ALL;
    const QFont font = format.font().resolve(defaults);
    r.FaceName = FaceNameOf(font.family());
    if (font.bold()) r.Effects |= CFE_BOLD;
    if (font.italic()) r.Effects |= CFE_ITALIC;
    if (font.underline()) r.Effects |= CFE_UNDERLINE;
    if (font.strikeOut()) r.Effects |= CFE_STRIKEOUT;
    if (format.boolProperty(kProtectedProperty)) r.Effects |= CFE_PROTECTED;
    r.Height = format.hasProperty(QTextFormat::FontPointSize)
                   ? int(std::lround(format.fontPointSize() * 20))
                   : fallback.Height;
    if (format.hasProperty(QTextFormat::ForegroundBrush) &&
        format.foreground().style() != Qt::NoBrush) {
        r.TextColor = ToColorRef(format.foreground().color());
    } else {
        r.Effects |= CFE_AUTOCOLOR;
        r.TextColor = ToColorRef(autoColor);
    }
    r.CharSet = format.hasProperty(kCharsetProperty)
                    ? std::uint8_t(format.intProperty(kCharsetProperty))
                    : fallback.CharSet;
    return r;
}

std::uint32_t CommonMask(std::uint32_t mask, const CharFormat& a, const CharFormat& b) {
    if (a.FaceName != b.FaceName) mask &= ~CFM_FACE;
    if (a.Height != b.Height) mask &= ~CFM_SIZE;
    if (a.CharSet != b.CharSet) mask &= ~CFM_CHARSET;
    if (a.TextColor != b.TextColor || (a.Effects ^ b.Effects) & CFE_AUTOCOLOR) mask &= ~CFM_COLOR;
    for (std::uint32_t bit : kEffectBits)
        if ((a.Effects ^ b.Effects) & bit) mask &= ~bit;
    return mask;
}

std::optional<Qt::Alignment> ToQtAlignment(std::uint16_t alignment) {
    switch (alignment) {
        case PFA_LEFT:
            return Qt::AlignLeft | Qt::AlignAbsolute;
        case PFA_RIGHT:
            return Qt::AlignRight | Qt::AlignAbsolute;
        case PFA_CENTER:
            return Qt::AlignHCenter;
        case PFA_JUSTIFY:
            return Qt::AlignJustify;
        default:
            return std::nullopt;
    }
}

std::uint16_t FromQtAlignment(Qt::Alignment alignment) {
    if (alignment & Qt::AlignRight) return PFA_RIGHT;
    if (alignment & Qt::AlignHCenter) return PFA_CENTER;
    if (alignment & Qt::AlignJustify) return PFA_JUSTIFY;
    return PFA_LEFT;
}

}  // namespace RichEdit
