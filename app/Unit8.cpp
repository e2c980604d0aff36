// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "app/Unit8.h"

#include "toolkit/TApplication.h"

TAboutBox1* AboutBox1 = nullptr;

TAboutBox1::TAboutBox1(QWidget* parent) : TForm(parent) {
    Handlers["SpeedButton1Click"] = [this](QObject* sender) { SpeedButton1Click(sender); };
    LoadLayout(QStringLiteral(":/layouts/Unit8.json"));
}

void TAboutBox1::SpeedButton1Click(QObject*) {
    // The window has no title bar: this button is the only way to close it.
    Application->CloseWindow(AboutBox1);
}
