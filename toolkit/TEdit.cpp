// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TEdit.h"

#include "toolkit/ControlColor.h"

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {
    PublishEvent("OnChange", OnChange);
    ApplyControlColor(this, QPalette::Base, FColor);
    connect(this, &QLineEdit::textChanged, this,
            [this] { SafeCall([this] { Fire(OnChange, this); }); });
}

void TEdit::SetText(const QString& text) {
    if (text == QLineEdit::text()) return;
    setText(text);
}

void TEdit::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    ApplyControlColor(this, QPalette::Base, color);
}
