// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A device context of one printer. An information context answers measurements only (printable
// size, resolution); a drawing context also runs a job: StartDoc opens the output and the first
// page, EndPage/StartPage move to the next page, EndDoc finishes the job and hands it to the
// print system (or closes the PDF file). Text is drawn through Painter() while a job is open.
#include <QPainter>
#include <QPrinter>
#include <functional>
#include <memory>
#include <string>

#include "platform/printing/DeviceSettings.h"

class PrinterDC {
public:
    enum class Kind { Information, Drawing };

    // A context for the named printer with its settings (nullptr: the printer's defaults), or
    // nullptr when the print system has no such printer.
    static std::unique_ptr<PrinterDC> Create(Kind kind, const std::string& device,
                                             const DeviceSettings* settings);
    ~PrinterDC();
    PrinterDC(const PrinterDC&) = delete;
    PrinterDC& operator=(const PrinterDC&) = delete;

    // Printable size in device pixels; the origin is the printable area's top-left corner.
    int HorzRes() const;
    int VertRes() const;
    // Device pixels per inch.
    int LogPixelsX() const;
    int LogPixelsY() const;

    QPrinter& Printer() { return *FPrinter; }
    // The painter of the open job; nullptr outside a job.
    QPainter* Painter() { return FPainter.isActive() ? &FPainter : nullptr; }

    // Called while the job is spooled (at every page end and whenever QueryAbort is asked); its
    // false answer aborts the job.
    void SetAbortProc(std::function<bool()> proc) { FAbortProc = std::move(proc); }
    bool QueryAbort();

    // Each returns false on failure; ErrorText() then tells why when the reason is known.
    bool StartDoc(const std::string& documentName);
    bool StartPage();
    bool EndPage();
    bool EndDoc();
    bool AbortDoc();
    const std::string& ErrorText() const { return FError; }

private:
    PrinterDC(Kind kind, std::unique_ptr<QPrinter> printer);
    bool Fail(std::string reason);
    void RenewPrinter();

    Kind FKind;
    std::unique_ptr<QPrinter> FPrinter;
    QPainter FPainter;
    std::function<bool()> FAbortProc;
    bool FPageOpen = false;
    int FPagesStarted = 0;
    std::string FError;
};
