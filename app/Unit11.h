// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The Descriptions window: a description of the program in an editable memo. Hiding it keeps
// whatever the user typed there.
#include "toolkit/TForm.h"

class TMemo;

class TForm11 : public TForm {
    Q_OBJECT

public:
    explicit TForm11(QWidget* parent = nullptr);

    void SpeedButton1Click(QObject* Sender);

    TMemo* Memo1 = nullptr;
};

extern TForm11* Form11;
