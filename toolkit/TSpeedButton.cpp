// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TSpeedButton.h"

#include "platform/system/Exception.h"

TSpeedButton::TSpeedButton(QWidget* parent) : QToolButton(parent) {
    PublishEvent("OnClick", OnClick);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(this, &QAbstractButton::clicked, this,
            [this] { SafeCall([this] { Fire(OnClick, this); }); });
}

void TSpeedButton::SetCaption(const QString& caption) {
    if (caption == text()) return;
    setText(caption);
}

void TSpeedButton::SetNumGlyphs(int count) {
    if (count < 1 || count > 4) throw Exception("Invalid glyph count " + std::to_string(count));
    FNumGlyphs = count;
}
