// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "printing/TPrinter.h"

#include <QCoreApplication>
#include <QString>

#include "platform/printing/PrintSystem.h"

namespace {
const char* const SPrinting = "Printing in progress";
const char* const SNotPrinting = "Printer is not currently printing";
const char* const SInvalidPrinter = "Printer selected is not valid";
const char* const SNoDefaultPrinter = "There is no default printer currently selected";
const char* const SNotSupported = "Operation not supported on selected printer";
const char* const SPageFailed = "Printer could not start page ";

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}
}  // namespace

TPrinter::TPrinter() = default;

TPrinter::~TPrinter() {
    // Destructors must not throw: a job that cannot be ended cleanly is dropped with its context.
    try {
        if (FPrinting) EndDocument();
    } catch (...) {
    }
    try {
        SetHandleState(NoHandle);
    } catch (...) {
    }
}

void TPrinter::RequirePrinting(bool expected) const {
    if (FPrinting != expected) throw EPrinter(expected ? SNotPrinting : SPrinting);
}

void TPrinter::BeginDocument() {
    RequirePrinting(false);
    SetHandleState(DrawHandle);
    PrinterCanvas()->Refresh();
    FCanvas->RescaleFont();
    FPrinting = true;
    FAborted = false;
    FPageNumber = 1;
    FDC->SetAbortProc([this] { return SpoolAbortCallback(); });
    if (!FDC->StartDoc(JobTitle) || !FDC->StartPage()) {
        // The job never started: the printer is free for a later attempt.
        FPrinting = false;
        FPageNumber = 0;
        const std::string reason = FDC->ErrorText();
        FDC->AbortDoc();
        throw EPrinter(reason.empty() ? SInvalidPrinter : reason);
    }
}

void TPrinter::EndDocument() {
    RequirePrinting(true);
    FDC->EndPage();
    const bool ended = FAborted || FDC->EndDoc();
    FPrinting = false;
    FAborted = false;
    FPageNumber = 0;
    if (ended) return;
    const std::string reason = FDC->ErrorText();
    throw EPrinter(reason.empty() ? SInvalidPrinter : reason);
}

void TPrinter::NextPage() {
    RequirePrinting(true);
    FDC->EndPage();
    if (!FDC->StartPage()) {
        // The job is still running; it is the new page that the printer refused.
        const std::string reason = FDC->ErrorText();
        throw EPrinter(SPageFailed + std::to_string(FPageNumber + 1) +
                       (reason.empty() ? std::string() : ". " + reason));
    }
    ++FPageNumber;
    FCanvas->Refresh();
}

TPrinterCanvas* TPrinter::PrinterCanvas() {
    if (!FCanvas) FCanvas = std::make_unique<TPrinterCanvas>(*this);
    return FCanvas.get();
}

PrinterDC* TPrinter::DeviceHandle() {
    if (FState == NoHandle) SetHandleState(InfoHandle);
    return FDC.get();
}

int TPrinter::PageWidthPixels() {
    return DeviceHandle()->HorzRes();
}

int TPrinter::PageHeightPixels() {
    return DeviceHandle()->VertRes();
}

void TPrinter::DetachCanvas() {
    if (FCanvas) FCanvas->DetachHandle();
}

void TPrinter::CreateContext(PrinterDC::Kind kind) {
    const TPrinterDevice& device = *PrinterList()[std::size_t(CurrentIndex())].Device;
    FDC = PrinterDC::Create(kind, device.DeviceName, FSettings.get());
    if (!FDC) throw EPrinter(SInvalidPrinter);
}

void TPrinter::SetHandleState(TPrinterState target) {
    if (target == FState) return;
    switch (target) {
        case NoHandle:
            RequirePrinting(false);
            DetachCanvas();
            FDC.reset();
            break;
        case InfoHandle:
            if (FState == DrawHandle) return;  // a drawing context answers queries too
            CreateContext(PrinterDC::Kind::Information);
            break;
        case DrawHandle:
            DetachCanvas();
            FDC.reset();
            FState = NoHandle;
            CreateContext(PrinterDC::Kind::Drawing);
            break;
    }
    FState = target;
}

int TPrinter::CurrentIndex() {
    if (FPrinterIndex == -1) SelectDefaultPrinter();
    return FPrinterIndex;
}

const std::vector<TPrinterListEntry>& TPrinter::PrinterList() {
    if (!FPrinters) {
        auto list = std::make_unique<std::vector<TPrinterListEntry>>();
        for (const std::string& name : PrintSystem::PrinterNames())
            list->push_back({name, std::make_unique<TPrinterDevice>("", name, "")});
        FPrinters = std::move(list);
    }
    return *FPrinters;
}

void TPrinter::SelectDefaultPrinter() {
    // Without a default queue in the print system the print-to-file printer, which is always
    // there, stands in; only a machine without even that has no printer to offer.
    const std::string name = PrintSystem::DefaultPrinterName();
    if (!name.empty() && ChooseListed(name, true)) return;
    if (ChooseListed(PrintSystem::PrintToFileName, false)) return;
    throw EPrinter(SNoDefaultPrinter);
}

bool TPrinter::ChooseListed(const std::string& name, bool ignoringCase) {
    for (const TPrinterListEntry& entry : PrinterList()) {
        const TPrinterDevice& device = *entry.Device;
        const bool same = ignoringCase ? SameNameIgnoringCase(device.DeviceName, name)
                                       : device.DeviceName == name;
        if (!same) continue;
        // Copies, because choosing may append to the list these names live in.
        const TPrinterDevice chosen = device;
        ChoosePrinter(chosen.DeviceName, chosen.DriverName, chosen.PortName, nullptr);
        return true;
    }
    return false;
}

void TPrinter::TakeCapabilities() {
    FCapabilities = 0;
    if (!FSettings) return;
    if (FSettings->Fields & DM_COPIES) FCapabilities |= pcCopies;
    if (FSettings->Fields & DM_ORIENTATION) FCapabilities |= pcOrientation;
    if (FSettings->Fields & DM_COLLATE) FCapabilities |= pcCollation;
}

void TPrinter::ChoosePrinter(const std::string& device, const std::string& driver,
                             const std::string& port, TSettingsHandle settings) {
    RequirePrinting(false);
    if (settings != FSettings) FSettings = std::move(settings);
    TakeCapabilities();
    SetHandleState(NoHandle);
    PrinterList();
    std::vector<TPrinterListEntry>& list = *FPrinters;
    std::size_t index = 0;
    while (index < list.size() && !list[index].Device->MatchesDevice(device, port)) ++index;
    if (index < list.size())
        list[index].Device->PortName = port;
    else
        list.push_back(
            {device + " on " + port, std::make_unique<TPrinterDevice>(driver, device, port)});
    FPrinterIndex = int(index);
    if (!FSettings) {
        FSettings = PrintSystem::ReadDeviceSettings(device);
        TakeCapabilities();
    }
}

void TPrinter::ReadPrinter(std::string& device, std::string& driver, std::string& port,
                           TSettingsHandle& settings) {
    const TPrinterDevice& current = *PrinterList()[std::size_t(CurrentIndex())].Device;
    device = current.DeviceName;
    driver = current.DriverName;
    port = current.PortName;
    settings = FSettings;
}

int TPrinter::CopyCount() {
    CurrentIndex();
    if (!FSettings) throw EPrinter(SNotSupported);
    return FSettings->Copies;
}

void TPrinter::SetCopyCount(int count) {
    CurrentIndex();
    if (!FSettings) throw EPrinter(SNotSupported);
    RequirePrinting(false);
    FSettings->Copies = count;
    FSettings->Fields |= DM_COPIES;
    // The next context is made with the new count.
    SetHandleState(NoHandle);
}

bool TPrinter::SpoolAbortCallback() {
    QCoreApplication::processEvents();
    return !FAborted;
}

void TPrinter::QueryAbort() {
    if (FPrinting && FDC) FDC->QueryAbort();
}

namespace {
TPrinter*& GlobalInstance() {
    static TPrinter* instance = nullptr;
    return instance;
}
}  // namespace

void FreeGlobalPrinter() {
    delete GlobalInstance();
    GlobalInstance() = nullptr;
}

TPrinter* GlobalPrinter() {
    TPrinter*& instance = GlobalInstance();
    if (!instance) {
        instance = new TPrinter();
        // Freed while the application still exists: the printer's context is a Qt object.
        static const bool registered = [] {
            qAddPostRoutine(FreeGlobalPrinter);
            return true;
        }();
        (void)registered;
    }
    return instance;
}
