// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The How-to window: an embedded browser showing the how-to page, loaded at start-up.
#include <QString>

#include "toolkit/TForm.h"

class TWebBrowser;

// The address of the how-to page: "howto.html" in the program's "appfiles" folder.
QString HowToPageAddress();

class Thowto : public TForm {
    Q_OBJECT

public:
    explicit Thowto(QWidget* parent = nullptr);

    void FormCreate(QObject* Sender);

    TWebBrowser* WebBrowser1 = nullptr;
};

extern Thowto* howto;
