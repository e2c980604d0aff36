// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/printing/PrintSystem.h"

#include <QPageLayout>
#include <QPrinterInfo>
#include <algorithm>

const char* const PrintSystem::PrintToFileName = "Print to File (PDF)";

namespace {
PrintSystem::QueueSource& Source() {
    static PrintSystem::QueueSource source;
    return source;
}

PrinterQueues SystemQueues() {
    PrinterQueues queues;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        queues.Names.push_back(name.toStdString());
    queues.DefaultName = QPrinterInfo::defaultPrinterName().toStdString();
    return queues;
}

bool IsPrintToFile(const std::string& name) {
    return name == PrintSystem::PrintToFileName;
}

constexpr std::uint32_t AllFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_COLLATE;
}  // namespace

void PrintSystem::SetQueueSource(QueueSource source) {
    Source() = std::move(source);
}

PrinterQueues PrintSystem::Queues() {
    return Source() ? Source()() : SystemQueues();
}

std::vector<std::string> PrintSystem::PrinterNames() {
    const PrinterQueues queues = Queues();
    std::vector<std::string> names = queues.Names;
    if (queues.PrintToFile) names.emplace_back(PrintToFileName);
    return names;
}

std::string PrintSystem::DefaultPrinterName() {
    return Queues().DefaultName;
}

bool PrintSystem::PrinterExists(const std::string& name) {
    const std::vector<std::string> names = PrinterNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

TSettingsHandle PrintSystem::ReadDeviceSettings(const std::string& name) {
    if (!PrinterExists(name)) return nullptr;
    // A queue listed a moment ago may be gone by now; ask the print system itself.
    if (!IsPrintToFile(name) && QPrinterInfo::printerInfo(QString::fromStdString(name)).isNull())
        return nullptr;
    QPrinter printer(QPrinter::HighResolution);
    ConfigurePrinter(printer, name, nullptr);
    return SettingsFrom(printer);
}

void PrintSystem::ConfigurePrinter(QPrinter& printer, const std::string& name,
                                   const DeviceSettings* settings) {
    if (IsPrintToFile(name)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        // An empty name would switch the printer back to the default queue: leave it unset, so
        // that a job without an output file fails instead of printing elsewhere.
        if (settings && !settings->OutputFile.empty()) {
            printer.setOutputFileName(QString::fromStdString(settings->OutputFile));
            printer.setOutputFormat(QPrinter::PdfFormat);
        }
    } else {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(QString::fromStdString(name));
    }
    if (!settings) return;
    if (settings->Fields & DM_COPIES) printer.setCopyCount(std::max(1, settings->Copies));
    if (settings->Fields & DM_COLLATE) printer.setCollateCopies(settings->Collate);
    if ((settings->Fields & DM_PAPERSIZE) && settings->PageSize.isValid())
        printer.setPageSize(settings->PageSize);
    if (settings->Fields & DM_ORIENTATION)
        printer.setPageOrientation(settings->Orientation == DMORIENT_LANDSCAPE
                                       ? QPageLayout::Landscape
                                       : QPageLayout::Portrait);
}

std::string PrintSystem::PrinterName(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat) return PrintToFileName;
    return printer.printerName().toStdString();
}

TSettingsHandle PrintSystem::SettingsFrom(const QPrinter& printer) {
    auto settings = std::make_shared<DeviceSettings>();
    settings->Fields = AllFields;
    settings->Copies = printer.copyCount();
    settings->Collate = printer.collateCopies();
    settings->Orientation = printer.pageLayout().orientation() == QPageLayout::Landscape
                                ? DMORIENT_LANDSCAPE
                                : DMORIENT_PORTRAIT;
    settings->PageSize = printer.pageLayout().pageSize();
    if (printer.outputFormat() == QPrinter::PdfFormat)
        settings->OutputFile = printer.outputFileName().toStdString();
    return settings;
}
