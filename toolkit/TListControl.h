// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// What the owner-drawn list and combo bases share: a background colour of the control's own
// (text colours keep following the window), the window's font, which the entries are drawn with
// and whose changes the control hears of, and the click notification.
#include "toolkit/Graphics.h"
#include "toolkit/TComponent.h"
#include "toolkit/TFont.h"
#include "toolkit/TOwnerDrawDelegate.h"

class QEvent;
class QWidget;

class TListControl : public TComponent, public TOwnerDrawn {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    // The window's font, which the entries are drawn with.
    TFont Font() const { return ControlFont(FControl); }

    TNotifyEvent OnClick;

protected:
    // `control` is the Qt side of the same object.
    explicit TListControl(QWidget* control);

    // The control's constructor calls this last: notes the font the entries start with and
    // shows the colour.
    void ControlBuilt();
    // The rest of showing a new colour: the parts beside the control that take it, the repaint.
    virtual void ColorApplied() = 0;
    // The control's changeEvent passes every change on: a change of the window font's face,
    // height or style runs FontChanged() (errors go to the error box).
    void WatchFontChange(const QEvent* event);
    // Runs after the window's font has changed (face, height or style).
    virtual void FontChanged() {}

private:
    void ApplyColor();

    QWidget* FControl;
    TColor FColor = clWindow;
    TFont FLastFont;
};
