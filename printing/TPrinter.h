// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The printer object: the current printer, its device context and drawing surface, and the
// document and page calls of a print job. One instance serves the whole program
// (GlobalPrinter()); tests may make their own.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/printing/DeviceSettings.h"
#include "platform/printing/PrinterDC.h"
#include "platform/system/Exception.h"
#include "printing/TPrinterCanvas.h"
#include "printing/TPrinterDevice.h"

class EPrinter : public Exception {
public:
    using Exception::Exception;
};

enum TPrinterState { NoHandle, InfoHandle, DrawHandle };

enum TPrinterCapability : std::uint8_t { pcCopies = 1, pcOrientation = 2, pcCollation = 4 };
using TPrinterCapabilities = std::uint8_t;  // a set of TPrinterCapability bits

// An entry of the printer list: its display name and its device.
struct TPrinterListEntry {
    std::string Name;
    std::unique_ptr<TPrinterDevice> Device;
};

class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // Starts a job on the current printer: device context, canvas, first page.
    void BeginDocument();
    // Ends the page and the job, which goes to the print system (or its file).
    void EndDocument();
    // Ends the page and starts the next.
    void NextPage();

    // The drawing surface, created on first use.
    TPrinterCanvas* PrinterCanvas();
    // The device context: at least an information context.
    PrinterDC* DeviceHandle();
    // Printable size in device pixels.
    int PageWidthPixels();
    int PageHeightPixels();
    int PageNumber() const { return FPageNumber; }

    // The current printer's index in PrinterList(); chooses the default printer first when none
    // is chosen yet.
    int CurrentIndex();
    const std::vector<TPrinterListEntry>& PrinterList();
    // The print system's default queue, else the print-to-file printer.
    void SelectDefaultPrinter();
    // Makes a printer current. `settings` may be the held block, a new one or nullptr (then the
    // printer's own current settings are read when it can be opened).
    void ChoosePrinter(const std::string& device, const std::string& driver,
                       const std::string& port, TSettingsHandle settings);
    void ReadPrinter(std::string& device, std::string& driver, std::string& port,
                     TSettingsHandle& settings);

    int CopyCount();
    void SetCopyCount(int count);
    TPrinterCapabilities Capabilities() const { return FCapabilities; }

    std::string JobTitle;
    bool IsPrinting() const { return FPrinting; }
    bool IsAborted() const { return FAborted; }

    TPrinterState HandleState() const { return FState; }
    void SetHandleState(TPrinterState target);
    // Raises EPrinter unless IsPrinting equals `expected`.
    void RequirePrinting(bool expected) const;
    // Runs while a job is spooled: lets the application handle what is pending, so the user
    // interface stays live. False (stop spooling) only once the job is aborted.
    bool SpoolAbortCallback();
    // Asks the spooler's callback between lines and pages of a running job.
    void QueryAbort();

private:
    // Chooses the first listed printer of that name; false when none is listed.
    bool ChooseListed(const std::string& name, bool ignoringCase);
    void TakeCapabilities();
    void CreateContext(PrinterDC::Kind kind);
    void DetachCanvas();

    std::unique_ptr<TPrinterCanvas> FCanvas;
    int FPageNumber = 0;
    std::unique_ptr<std::vector<TPrinterListEntry>> FPrinters;
    int FPrinterIndex = -1;
    bool FPrinting = false;
    bool FAborted = false;
    TPrinterCapabilities FCapabilities = 0;
    TPrinterState FState = NoHandle;
    std::unique_ptr<PrinterDC> FDC;
    TSettingsHandle FSettings;
};

// The program's printer object, created on first use and freed when the application ends.
TPrinter* GlobalPrinter();
// Frees the program's printer object now (tests start afresh with it); the next GlobalPrinter()
// makes a new one.
void FreeGlobalPrinter();
