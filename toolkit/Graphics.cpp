// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/Graphics.h"

#include <QApplication>
#include <QPalette>

namespace {

TColor Rgb(int r, int g, int b) {
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

TColor FromPalette(QPalette::ColorGroup group, QPalette::ColorRole role) {
    return FromQColor(QApplication::palette().color(group, role));
}

}  // namespace

TColor SystemColorRGB(int index) {
    using P = QPalette;
    switch (index) {
        case 0:
            return Rgb(0xC8, 0xC8, 0xC8);  // scroll bar
        case 1:
            return Rgb(0x3A, 0x6E, 0xA5);  // desktop
        case 2:
            return FromPalette(P::Active, P::Highlight);  // active caption
        case 3:
            return Rgb(0x80, 0x80, 0x80);  // inactive caption
        case 4:
            return FromPalette(P::Active, P::Window);  // menu
        case 5:
            return FromPalette(P::Active, P::Base);  // window
        case 6:
            return Rgb(0, 0, 0);  // window frame
        case 7:
            return FromPalette(P::Active, P::WindowText);  // menu text
        case 8:
            return FromPalette(P::Active, P::Text);  // window text
        case 9:
            return FromPalette(P::Active, P::HighlightedText);
        case 10:  // active border
        case 11:  // inactive border
            return FromPalette(P::Active, P::Button);
        case 12:
            return FromPalette(P::Active, P::Mid);  // application work space
        case 13:
            return FromPalette(P::Active, P::Highlight);
        case 14:
            return FromPalette(P::Active, P::HighlightedText);
        case 15:
            return FromPalette(P::Active, P::Button);  // button face
        case 16:
            return FromPalette(P::Active, P::Dark);  // button shadow
        case 17:
            return FromPalette(P::Disabled, P::Text);  // grey text
        case 18:
            return FromPalette(P::Active, P::ButtonText);
        case 19:
            return FromPalette(P::Inactive, P::WindowText);
        case 20:
            return FromPalette(P::Active, P::Light);  // button highlight
        case 21:
            return FromPalette(P::Active, P::Shadow);  // 3-D dark shadow
        case 22:
            return FromPalette(P::Active, P::Midlight);  // 3-D light
        case 23:
            return FromPalette(P::Active, P::ToolTipText);
        case 24:
            return FromPalette(P::Active, P::ToolTipBase);
        case 26:
            return FromPalette(P::Active, P::Link);  // hot-tracked item
        case 27:
            return FromPalette(P::Active, P::Highlight);  // gradient of the active caption
        case 28:
            return Rgb(0xA0, 0xA0, 0xA0);  // gradient of an inactive caption
        case 29:
            return FromPalette(P::Active, P::Highlight);  // menu highlight
        case 30:
            return FromPalette(P::Active, P::Window);  // menu bar
        default:
            return Rgb(0, 0, 0);
    }
}

TColor ColorToRGB(TColor color) {
    if (color & 0x80000000u) return SystemColorRGB(int(color & 0xFF));
    return color;
}

QColor ToQColor(TColor color) {
    if (color == clDefault || color == clNone) return QColor();
    TColor rgb = ColorToRGB(color);
    return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}

TColor FromQColor(const QColor& color) {
    return Rgb(color.red(), color.green(), color.blue());
}

const TNamedColor NamedColors[52] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clActiveBorder", clActiveBorder},
    {"clActiveCaption", clActiveCaption},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clBackground", clBackground},
    {"clBtnFace", clBtnFace},
    {"clBtnHighlight", clBtnHighlight},
    {"clBtnShadow", clBtnShadow},
    {"clBtnText", clBtnText},
    {"clCaptionText", clCaptionText},
    {"clDefault", clDefault},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clGrayText", clGrayText},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clHotLight", clHotLight},
    {"clInactiveBorder", clInactiveBorder},
    {"clInactiveCaption", clInactiveCaption},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clInfoBk", clInfoBk},
    {"clInfoText", clInfoText},
    {"clMenu", clMenu},
    {"clMenuBar", clMenuBar},
    {"clMenuHighlight", clMenuHighlight},
    {"clMenuText", clMenuText},
    {"clNone", clNone},
    {"clScrollBar", clScrollBar},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clWindowText", clWindowText},
};

bool IdentToColor(const std::string& name, TColor& color) {
    for (const TNamedColor& c : NamedColors) {
        if (QLatin1StringView(c.Identifier)
                .compare(QLatin1StringView(name.data(), qsizetype(name.size())),
                         Qt::CaseInsensitive) == 0) {
            color = c.Value;
            return true;
        }
    }
    return false;
}
