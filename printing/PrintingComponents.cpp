// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "printing/PrintingComponents.h"

#include "printing/TPrintDialog.h"
#include "printing/TPrinterSetupDialog.h"
#include "toolkit/ComponentRegistry.h"

void RegisterPrintingComponents() {
    RegisterComponentClass<TPrintDialog>("TPrintDialog");
    RegisterComponentClass<TPrinterSetupDialog>("TPrinterSetupDialog");
}
