// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "printing/PrinterChoice.h"

#include "platform/printing/PrintSystem.h"
#include "printing/TPrinter.h"

void LoadCurrentPrinter(TPrinter& source, QPrinter& printer) {
    std::string device, driver, port;
    TSettingsHandle settings;
    source.ReadPrinter(device, driver, port, settings);
    PrintSystem::ConfigurePrinter(printer, device, settings.get());
}

void ChooseFromPrinter(TPrinter& target, const QPrinter& printer) {
    target.ChoosePrinter(PrintSystem::PrinterName(printer), "", "",
                         PrintSystem::SettingsFrom(printer));
}
