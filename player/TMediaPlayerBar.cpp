// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The player's bar: which buttons show and how they enable, the size rule, painting, and the
// mouse and keyboard that run the buttons' actions.
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "player/PlayerButtonDrawing.h"
#include "player/TMediaPlayer.h"

// --- Button sets ---------------------------------------------------------------------------------

int TMediaPlayer::VisibleCount() const {
    const int n = __builtin_popcount(FVisibleButtons);
    return n == 0 ? 1 : n;
}

void TMediaPlayer::SetVisibleButtons(TButtonSet buttons) {
    FVisibleButtons = buttons;
    if (Loading()) {
        FSlotWidth = (width() - 1) / VisibleCount() + 1;
    } else {
        resize(VisibleCount() * (FSlotWidth - 1) + 1, height());
    }
    update();
}

void TMediaPlayer::SetEnabledButtons(TButtonSet buttons) {
    FEnabledButtons = buttons;
    update();
}

void TMediaPlayer::SetColoredButtons(TButtonSet buttons) {
    FColoredButtons = buttons;
    update();
}

void TMediaPlayer::SetAutoEnable(bool on) {
    if (on == FAutoEnable) return;
    FAutoEnable = on;
    if (on)
        PushAutoEnabled();
    else
        SetEnabledButtons(FEnabledButtons);
}

void TMediaPlayer::PushAutoEnabled() {
    FButtonAutoEnabled = FAutoEnabledSet;
    update();
    Q_EMIT StateChanged();
}

bool TMediaPlayer::Usable(TMPBtnType button) const {
    const TButtonSet set = FAutoEnable ? FButtonAutoEnabled : FEnabledButtons;
    return (set & ButtonBit(button)) != 0;
}

TGlyphLook TMediaPlayer::ShownLook(TMPBtnType button) const {
    if (!isEnabled() || !Usable(button)) return TGlyphLook::Disabled;
    return FColoredButtons & ButtonBit(button) ? TGlyphLook::Colored : TGlyphLook::Enabled;
}

// --- Size and layout -----------------------------------------------------------------------------

void TMediaPlayer::SizeRule() {
    const int n = VisibleCount();
    const int minWidth = n * (MinSlotWidth() - 1) + 1;
    FSlotWidth = (width() - 1) / n + 1;
    const int newWidth = std::max(n * (FSlotWidth - 1) + 1, minWidth);
    const int newHeight = std::max(height(), MinSlotHeight());
    if (newWidth != width() || newHeight != height()) resize(newWidth, newHeight);
    FSlotWidth = (width() - 1) / n + 1;
}

void TMediaPlayer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!Loading()) SizeRule();
}

void TMediaPlayer::Loaded() {
    FLoaded = true;
    // The slot width comes from the stored width, which the size rule then snaps.
    if (FSlotWidth == 0) FSlotWidth = (width() - 1) / VisibleCount() + 1;
    resize(VisibleCount() * (FSlotWidth - 1) + 1, height());
    SizeRule();
    update();
    if (FAutoOpen) Open();
}

void TMediaPlayer::CreateWnd() {
    SizeRule();
}

int TMediaPlayer::ButtonX(TMPBtnType button) const {
    int x = 0;
    for (int b = 0; b < button; ++b)
        if (FVisibleButtons & ButtonBit(TMPBtnType(b))) x += FSlotWidth - 1;
    return x;
}

// --- Painting ------------------------------------------------------------------------------------

void TMediaPlayer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawPlayerBarFrame(painter, rect());
    for (int b = 0; b < kPlayerButtonCount; ++b) {
        const auto button = TMPBtnType(b);
        if (!(FVisibleButtons & ButtonBit(button))) continue;
        TPlayerButtonLook look;
        look.X = ButtonX(button);
        look.Width = FSlotWidth;
        look.Height = height();
        look.Down = FShownDown && button == FPressedButton;
        look.Focused = hasFocus() && button == FFocusButton;
        look.Glyph = &FGlyphs.Glyph(button, ShownLook(button));
        DrawPlayerButton(painter, look);
    }
}

void TMediaPlayer::RepaintButton(TMPBtnType button) {
    repaint(ButtonX(button), 0, FSlotWidth, height());
}

void TMediaPlayer::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    repaint();
}

void TMediaPlayer::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    repaint();
}

// --- Mouse ---------------------------------------------------------------------------------------

void TMediaPlayer::Press(int pointerX) {
    int x = 0;
    for (int b = 0; b < kPlayerButtonCount; ++b) {
        const auto button = TMPBtnType(b);
        if (!(FVisibleButtons & ButtonBit(button))) continue;
        if (x <= pointerX && pointerX <= x + FSlotWidth) {
            if (!Usable(button)) return;
            FPressedButton = button;
            if (button != FFocusButton) {
                FFocusButton = button;
                repaint();
            }
            FPressedRect = QRect(x, 0, FSlotWidth, height());
            FPressActive = true;
            FShownDown = true;
            RepaintButton(button);
            return;
        }
        x += FSlotWidth - 1;
    }
}

void TMediaPlayer::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) SafeCall([&] { Press(int(event->position().x())); });
}

void TMediaPlayer::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void TMediaPlayer::mouseMoveEvent(QMouseEvent* event) {
    if (!FPressActive) return;
    const bool inside = FPressedRect.contains(event->position().toPoint());
    if (inside != FShownDown) {
        FShownDown = inside;
        RepaintButton(FPressedButton);
    }
}

// The pressed button's action, then with AutoEnable on its auto-enabled buttons: after a mouse
// click only when the action left no error and a device open, after Space whatever happened.
void TMediaPlayer::RunClickSequence(bool onlyAfterSuccess) {
    SafeCall([&] {
        Click();
        if (FAutoEnable && (!onlyAfterSuccess || (FErrorCode == 0 && FMciDevice != 0))) {
            AutoButtonSet(FPressedButton);
            PushAutoEnabled();
        }
    });
    Q_EMIT StateChanged();
}

void TMediaPlayer::ClickButton(TMPBtnType button) {
    if (!(FVisibleButtons & ButtonBit(button)) || !Usable(button)) return;
    FPressedButton = button;
    if (button != FFocusButton) FFocusButton = button;
    repaint();
    RunClickSequence(true);
}

void TMediaPlayer::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const bool run = FPressActive && FShownDown;
    // The press ends here whatever the action does, so no button stays held down.
    FPressActive = false;
    if (!run) return;
    FShownDown = false;
    RepaintButton(FPressedButton);
    RunClickSequence(true);
}

// --- Clicks and keys -----------------------------------------------------------------------------

void TMediaPlayer::Click() {
    bool doDefault = true;
    if (OnClick) OnClick(this, FPressedButton, doDefault);
    if (!doDefault) return;
    DoAction(FPressedButton);
    if (OnPostClick) OnPostClick(this, FPressedButton);
}

void TMediaPlayer::DoAction(TMPBtnType button) {
    switch (button) {
        case btPlay:
            Play();
            break;
        case btPause:
            TogglePause();
            break;
        case btStop:
            Stop();
            break;
        case btNext:
            Next();
            break;
        case btPrev:
            Previous();
            break;
        case btStep:
            Step();
            break;
        case btBack:
            Back();
            break;
        case btRecord:
            StartRecording();
            break;
        case btEject:
            Eject();
            break;
    }
}

void TMediaPlayer::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Space:
            if (!(FEnabledButtons & ButtonBit(FFocusButton))) return;
            FPressedButton = FFocusButton;
            RunClickSequence(false);
            return;
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const bool left = event->key() == Qt::Key_Left;
            int b = FFocusButton;
            do {
                if (left ? b == btPlay : b == btEject) break;
                b += left ? -1 : 1;
            } while (!(FVisibleButtons & ButtonBit(TMPBtnType(b))));
            if (b != FFocusButton) {
                FFocusButton = TMPBtnType(b);
                repaint();
            }
            return;
        }
        default:
            QWidget::keyPressEvent(event);
    }
}
