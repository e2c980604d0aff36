// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "app/Unit11.h"

#include "app/Unit7.h"
#include "toolkit/TMemo.h"

TForm11* Form11 = nullptr;

TForm11::TForm11(QWidget* parent) : TForm(parent) {
    Handlers["SpeedButton1Click"] = [this](QObject* sender) { SpeedButton1Click(sender); };
    LoadLayout(QStringLiteral(":/layouts/Unit11.json"));
    Memo1 = Component<TMemo>("Memo1");
}

void TForm11::SpeedButton1Click(QObject*) {
    Form11->SetVisible(false);
    Form7->SetVisible(true);  // visible all along: changes nothing
}
