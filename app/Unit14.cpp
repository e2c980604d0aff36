// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "app/Unit14.h"

#include "platform/system/ProgramFiles.h"
#include "toolkit/TWebBrowser.h"

Thowto* howto = nullptr;

QString HowToPageAddress() {
    return QUrl::fromLocalFile(QString::fromStdString(ProgramDataDir()) +
                               QStringLiteral("/howto.html"))
        .toString();
}

Thowto::Thowto(QWidget* parent) : TForm(parent) {
    Handlers["FormCreate"] = [this](QObject* sender) { FormCreate(sender); };
    LoadLayout(QStringLiteral(":/layouts/Unit14.json"));
}

void Thowto::FormCreate(QObject*) {
    WebBrowser1 = Component<TWebBrowser>("WebBrowser1");
    WebBrowser1->setFocus();  // the window's active control: it has the focus once activated
    WebBrowser1->Navigate(HowToPageAddress());
}
