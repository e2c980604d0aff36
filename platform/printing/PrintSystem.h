// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The printers this machine offers: the print system's queues (CUPS, reached through Qt) and the
// print-to-file printer, which writes PDF files and is always there. Also the translation between
// a printer name with its settings block and a QPrinter set up for it.
#include <QPrinter>
#include <functional>
#include <string>
#include <vector>

#include "platform/printing/DeviceSettings.h"

// What the print system reports: its queue names and its default queue ("" when none), and
// whether PDF files can be written here (the print-to-file printer can be made).
struct PrinterQueues {
    std::vector<std::string> Names;
    std::string DefaultName;
    bool PrintToFile = true;
};

class PrintSystem {
public:
    // The print-to-file printer's name.
    static const char* const PrintToFileName;

    // The queues, then the print-to-file printer (where it can be made).
    static std::vector<std::string> PrinterNames();
    // The default queue; "" when the print system has none (or is not running).
    static std::string DefaultPrinterName();
    // True for the print-to-file printer (where it can be made) and for every queue the print
    // system lists now.
    static bool PrinterExists(const std::string& name);
    // The printer's current settings, or nullptr when no such printer can be opened.
    static TSettingsHandle ReadDeviceSettings(const std::string& name);

    // Sets `printer` up for the named printer and settings (nullptr: the printer's defaults).
    static void ConfigurePrinter(QPrinter& printer, const std::string& name,
                                 const DeviceSettings* settings);
    // The printer name and a new settings block from a QPrinter that a dialog has set up.
    static std::string PrinterName(const QPrinter& printer);
    static TSettingsHandle SettingsFrom(const QPrinter& printer);

    // Where the queue list comes from. The default asks the print system each time; a machine
    // with other queues (or none at all) is given as a source returning them. An empty function
    // restores the print system's own.
    using QueueSource = std::function<PrinterQueues()>;
    static void SetQueueSource(QueueSource source);
    static PrinterQueues Queues();
};
