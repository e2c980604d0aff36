// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The About window: product name, version and the maker's lines; "Close" hides it.
#include "toolkit/TForm.h"

class TAboutBox1 : public TForm {
    Q_OBJECT

public:
    explicit TAboutBox1(QWidget* parent = nullptr);

    void SpeedButton1Click(QObject* Sender);
};

extern TAboutBox1* AboutBox1;
