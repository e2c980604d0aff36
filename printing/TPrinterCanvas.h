// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The printer's drawing surface. Every drawing or measuring call first checks that a job is
// running and brings the font to the printer's resolution, so text measured and drawn here has
// the font's point size on paper.
#include "toolkit/TCanvas.h"

class TPrinter;

class TPrinterCanvas : public TCanvas {
public:
    explicit TPrinterCanvas(TPrinter& printer) : FPrinter(printer) {}

    // Takes the printer's context: at least an information context.
    void CreateHandle();
    bool HandleAllocated() const { return FHandleAllocated; }
    // Lets go of the context (the printer is about to delete it).
    void DetachHandle();
    // Selects the drawing tools into the context afresh, as after a new page.
    void Refresh();
    // Keeps the font's point size at the printer's vertical resolution.
    void RescaleFont();

protected:
    void Changing() override;
    QFont DeviceFont() override;

private:
    TPrinter& FPrinter;
    bool FHandleAllocated = false;
    // The Qt font for the current TFont, made once per font rather than per call.
    TFont FCachedFor;
    QFont FCachedFont;
    const QPaintDevice* FCachedDevice = nullptr;
    bool FCacheValid = false;
};
