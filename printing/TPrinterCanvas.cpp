// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "printing/TPrinterCanvas.h"

#include "printing/TPrinter.h"

void TPrinterCanvas::CreateHandle() {
    FPrinter.SetHandleState(InfoHandle);
    RescaleFont();
    SetPainter(FPrinter.DeviceHandle()->Painter());
    FHandleAllocated = true;
}

void TPrinterCanvas::DetachHandle() {
    SetPainter(nullptr);
    FHandleAllocated = false;
    FCacheValid = false;
}

void TPrinterCanvas::Refresh() {
    FCacheValid = false;
    if (FHandleAllocated) SetPainter(FPrinter.DeviceHandle()->Painter());
}

void TPrinterCanvas::RescaleFont() {
    const int pixelsPerInch = FPrinter.DeviceHandle()->LogPixelsY();
    if (Font.PixelsPerInch == pixelsPerInch) return;
    const int points = Font.Size();
    Font.PixelsPerInch = pixelsPerInch;
    Font.SetSize(points);
}

void TPrinterCanvas::Changing() {
    FPrinter.RequirePrinting(true);
    if (!FHandleAllocated) CreateHandle();
    // The job's painter exists only once the document has started.
    if (!GetPainter()) SetPainter(FPrinter.DeviceHandle()->Painter());
    RescaleFont();
}

QFont TPrinterCanvas::DeviceFont() {
    const QPaintDevice* device = GetPainter() ? GetPainter()->device() : nullptr;
    if (!FCacheValid || FCachedDevice != device || !(FCachedFor == Font)) {
        FCachedFor = Font;
        FCachedDevice = device;
        FCachedFont = TCanvas::DeviceFont();
        FCacheValid = true;
    }
    return FCachedFont;
}
