// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TBitBtn.h"

TBitBtn::TBitBtn(QWidget* parent) : QPushButton(parent) {
    PublishEvent("OnClick", OnClick);
    setAutoDefault(false);  // Enter belongs to the focused control, not to a default button
    connect(this, &QAbstractButton::clicked, this,
            [this] { SafeCall([this] { Fire(OnClick, this); }); });
}

void TBitBtn::SetCaption(const QString& caption) {
    if (caption == text()) return;
    setText(caption);  // Qt turns the "&" letter into the Alt shortcut
}
