// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TListControl.h"

#include <QEvent>
#include <QWidget>

#include "toolkit/ControlColor.h"

TListControl::TListControl(QWidget* control) : FControl(control) {
    PublishEvent("OnClick", OnClick);
}

void TListControl::ControlBuilt() {
    FLastFont = Font();
    ApplyColor();
}

void TListControl::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    ApplyColor();
}

void TListControl::ApplyColor() {
    // Only the background is the control's own; the rest (text colours) follows the window.
    ApplyControlColor(FControl, QPalette::Base, FColor);
    ColorApplied();
}

void TListControl::WatchFontChange(const QEvent* event) {
    if (event->type() != QEvent::FontChange) return;
    const TFont font = Font();
    if (font.Name == FLastFont.Name && font.Height == FLastFont.Height &&
        font.Style == FLastFont.Style)
        return;
    FLastFont = font;
    SafeCall([this] { FontChanged(); });
}
