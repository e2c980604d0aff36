// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/StandardComponents.h"

#include "toolkit/ComponentRegistry.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TColorDialog.h"
#include "toolkit/TEdit.h"
#include "toolkit/TGroupBox.h"
#include "toolkit/TImage.h"
#include "toolkit/TLabel.h"
#include "toolkit/TMemo.h"
#include "toolkit/TOpenDialog.h"
#include "toolkit/TPanel.h"
#include "toolkit/TProgressBar.h"
#include "toolkit/TSaveDialog.h"
#include "toolkit/TSpeedButton.h"
#include "toolkit/TStaticText.h"
#include "toolkit/TTimer.h"
#include "toolkit/TWebBrowser.h"

void RegisterStandardComponents() {
    RegisterComponentClass<TLabel>("TLabel");
    RegisterComponentClass<TStaticText>("TStaticText");
    RegisterComponentClass<TEdit>("TEdit");
    RegisterComponentClass<TBitBtn>("TBitBtn");
    RegisterComponentClass<TSpeedButton>("TSpeedButton");
    RegisterComponentClass<TGroupBox>("TGroupBox");
    RegisterComponentClass<TPanel>("TPanel");
    RegisterComponentClass<TImage>("TImage");
    RegisterComponentClass<TMemo>("TMemo");
    RegisterComponentClass<TProgressBar>("TProgressBar");
    RegisterComponentClass<TTimer>("TTimer");
    RegisterComponentClass<TOpenDialog>("TOpenDialog");
    RegisterComponentClass<TSaveDialog>("TSaveDialog");
    RegisterComponentClass<TWebBrowser>("TWebBrowser");
    RegisterComponentClass<TColorDialog>("TColorDialog");
}
