// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A push button. "&" in the caption marks the accelerator: Alt plus that letter presses it.
#include <QPushButton>

#include "toolkit/TComponent.h"

class TBitBtn : public QPushButton, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    explicit TBitBtn(QWidget* parent = nullptr);

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption);
    // Presses the button as a click would.
    void Click() { click(); }

    TNotifyEvent OnClick;
};
