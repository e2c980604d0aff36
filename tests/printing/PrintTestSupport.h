// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Shared by the printing tests: a printer object printing to a PDF file in a temporary folder,
// and a stand-in list of print-system queues for the duration of a test.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <string>

#include "platform/printing/PrintSystem.h"
#include "printing/TPrinter.h"
#include "printing/TPrinterTextFile.h"
#include "tests/printing/PdfWords.h"

// Settings of the print-to-file printer writing `file` on A4 portrait.
inline TSettingsHandle PdfSettings(const std::string& file) {
    auto settings = std::make_shared<DeviceSettings>();
    settings->Fields = DM_COPIES | DM_ORIENTATION | DM_COLLATE | DM_PAPERSIZE;
    settings->PageSize = QPageSize(QPageSize::A4);
    settings->OutputFile = file;
    return settings;
}

// The print system reports these queues until the scope ends.
class QueuesScope {
public:
    explicit QueuesScope(const PrinterQueues& queues) {
        PrintSystem::SetQueueSource([queues] { return queues; });
    }
    ~QueuesScope() { PrintSystem::SetQueueSource(nullptr); }
    QueuesScope(const QueuesScope&) = delete;
    QueuesScope& operator=(const QueuesScope&) = delete;
};

// A printer object of its own, its current printer the PDF printer writing Pdf.
class PdfPrinterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Pdf = PathIn("out.pdf");
        Printer = std::make_unique<TPrinter>();
        Printer->ChoosePrinter(PrintSystem::PrintToFileName, "", "", PdfSettings(Pdf));
    }

    std::string PathIn(const std::string& name) const {
        return Dir.filePath(QString::fromStdString(name)).toStdString();
    }

    // Opens `channel` on the printer and reads the page geometry of the job.
    void Open(TPrinterTextFile& channel) {
        channel.AttachPrinter(*Printer);
        channel.Rewrite();
        ASSERT_EQ(channel.IOResult(), 0);
        QPrinter& device = Printer->DeviceHandle()->Printer();
        Dpi = device.resolution();
        const QRectF paint = device.pageLayout().paintRectPoints();
        OriginX = paint.left();
        OriginY = paint.top();
    }

    double Px(double points, double origin) const { return PointsToPixels(points, origin, Dpi); }
    double X(const PdfWord& w) const { return Px(w.XMin, OriginX); }
    double Y(const PdfWord& w) const { return Px(w.YMin, OriginY); }
    // Half a point, in device pixels: how closely the PDF reproduces a position.
    double Tolerance() const { return Dpi / 144.0; }

    QTemporaryDir Dir;
    std::string Pdf;
    std::unique_ptr<TPrinter> Printer;
    int Dpi = 0;
    double OriginX = 0, OriginY = 0;
};
