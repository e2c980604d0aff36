// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/printing/PrinterDC.h"

#include <sys/statvfs.h>

#include <QFile>
#include <QPrinterInfo>
#include <cerrno>
#include <cstring>

#include "platform/printing/PrintSystem.h"

std::unique_ptr<PrinterDC> PrinterDC::Create(Kind kind, const std::string& device,
                                             const DeviceSettings* settings) {
    if (!PrintSystem::PrinterExists(device)) return nullptr;
    if (device != PrintSystem::PrintToFileName &&
        QPrinterInfo::printerInfo(QString::fromStdString(device)).isNull())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    PrintSystem::ConfigurePrinter(*printer, device, settings);
    return std::unique_ptr<PrinterDC>(new PrinterDC(kind, std::move(printer)));
}

PrinterDC::PrinterDC(Kind kind, std::unique_ptr<QPrinter> printer)
    : FKind(kind), FPrinter(std::move(printer)) {}

PrinterDC::~PrinterDC() {
    // A context deleted in the middle of a job abandons it.
    if (FPainter.isActive()) AbortDoc();
}

int PrinterDC::HorzRes() const {
    return FPrinter->width();
}
int PrinterDC::VertRes() const {
    return FPrinter->height();
}
int PrinterDC::LogPixelsX() const {
    return FPrinter->logicalDpiX();
}
int PrinterDC::LogPixelsY() const {
    return FPrinter->logicalDpiY();
}

bool PrinterDC::QueryAbort() {
    if (!FAbortProc || FAbortProc()) return true;
    AbortDoc();
    return false;
}

bool PrinterDC::Fail(std::string reason) {
    FError = std::move(reason);
    return false;
}

bool PrinterDC::StartDoc(const std::string& documentName) {
    FError.clear();
    if (FKind != Kind::Drawing) return Fail("");
    if (FPainter.isActive()) return Fail("");
    const bool toFile = FPrinter->outputFormat() == QPrinter::PdfFormat;
    if (toFile && FPrinter->outputFileName().isEmpty()) return Fail("");
    // A queue removed since this context was made would swallow the job without a word.
    if (!toFile && QPrinterInfo::printerInfo(FPrinter->printerName()).isNull()) return Fail("");
    FPrinter->setDocName(QString::fromStdString(documentName));
    if (!FPainter.begin(FPrinter.get())) {
        if (!toFile) return Fail("");
        // Tell the user why the file could not be written, in the words the file system uses.
        QFile probe(FPrinter->outputFileName());
        const bool existed = probe.exists();
        std::string reason = probe.open(QIODevice::WriteOnly | QIODevice::Append)
                                 ? std::string()
                                 : probe.errorString().toStdString();
        probe.close();
        if (!existed) probe.remove();
        return Fail("Cannot create file \"" + FPrinter->outputFileName().toStdString() + "\". " +
                    reason);
    }
    // QPainter::begin has opened the first page already.
    FPageOpen = false;
    FPagesStarted = 0;
    return true;
}

bool PrinterDC::StartPage() {
    if (!FPainter.isActive() || FPageOpen) return false;
    if (FPagesStarted > 0 && !FPrinter->newPage()) return false;
    ++FPagesStarted;
    FPageOpen = true;
    return true;
}

bool PrinterDC::EndPage() {
    if (!FPainter.isActive() || !FPageOpen) return false;
    FPageOpen = false;
    return QueryAbort();
}

namespace {

// The PDF writer does not report a write that failed: a file cut short by a full disk lacks
// the end-of-file marker that the writer puts last.
bool PdfComplete(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 6) return false;
    file.seek(file.size() - 16 > 0 ? file.size() - 16 : 0);
    return file.readAll().trimmed().endsWith("%%EOF");
}

// Why a file could not be written whole: a full disk, as the file system says, or a general
// input/output failure.
std::string WriteFailureReason(const QString& fileName) {
    struct statvfs fs {};
    const QByteArray path = QFile::encodeName(fileName);
    const bool full = ::statvfs(path.constData(), &fs) == 0 && fs.f_bavail == 0;
    return std::strerror(full ? ENOSPC : EIO);
}

}  // namespace

bool PrinterDC::EndDoc() {
    if (!FPainter.isActive()) return false;
    FPageOpen = false;
    const bool ok = FPainter.end() && FPrinter->printerState() != QPrinter::Error;
    if (!ok || FPrinter->outputFormat() != QPrinter::PdfFormat) return ok;
    const QString file = FPrinter->outputFileName();
    if (PdfComplete(file)) return true;
    // A broken file is worse than none: it is removed, and the user told why.
    const std::string reason = WriteFailureReason(file);
    QFile::remove(file);
    RenewPrinter();
    return Fail("Cannot create file \"" + file.toStdString() + "\". " + reason);
}

// The PDF writer ignores every write after a failed one, in later jobs too: a failed job's
// printer is replaced by a fresh one with the same settings.
void PrinterDC::RenewPrinter() {
    auto fresh = std::make_unique<QPrinter>(QPrinter::HighResolution);
    PrintSystem::ConfigurePrinter(*fresh, PrintSystem::PrinterName(*FPrinter),
                                  PrintSystem::SettingsFrom(*FPrinter).get());
    FPrinter = std::move(fresh);
}

bool PrinterDC::AbortDoc() {
    if (!FPainter.isActive()) return false;
    FPrinter->abort();
    if (FPainter.isActive()) FPainter.end();
    // An abandoned job leaves nothing behind: the print system has dropped it, and a partial
    // PDF file is removed.
    if (FPrinter->outputFormat() == QPrinter::PdfFormat) QFile::remove(FPrinter->outputFileName());
    FPageOpen = false;
    return true;
}
