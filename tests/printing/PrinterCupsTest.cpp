// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// One job through the real print system: the default printer is the PDF queue that
// .ci/setup-cups.sh creates, and the PDF that the queue writes is read back.
#include <QCoreApplication>
#include <QDateTime>
#include <QDirIterator>
#include <QPrinterInfo>
#include <QProcess>

#include "tests/TestSupport.h"
#include "tests/printing/PrintTestSupport.h"

namespace {
const char* const Queue = "QuilletPDF";
const char* const Spool = "/var/spool/cups-pdf";

std::string RunTool(const QString& program, const QStringList& arguments, int* exitCode = nullptr) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) return {};
    if (exitCode) *exitCode = process.exitCode();
    return process.readAllStandardOutput().toStdString();
}

// The queue's output for a job title, once it is a whole PDF file; "" when none came.
std::string FindOutput(const QString& title) {
    QDirIterator files(QString::fromLatin1(Spool), {title + QStringLiteral("*.pdf")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        int status = -1;
        RunTool(QStringLiteral("pdfinfo"), {file}, &status);
        if (status == 0) return file.toStdString();
    }
    return {};
}
}  // namespace

TEST(PrinterCupsTest, DefaultPrinterPrintsThroughThePrintSystem) {
    if (RunTool(QStringLiteral("lpstat"), {QStringLiteral("-r")}).find("is running") ==
        std::string::npos)
        GTEST_SKIP() << "no CUPS scheduler is reachable; .ci/setup-cups.sh (as root) starts one";
    if (QPrinterInfo::printerInfo(QString::fromLatin1(Queue)).isNull() ||
        QPrinterInfo::defaultPrinterName() != QLatin1String(Queue))
        GTEST_SKIP() << Queue
                     << " is not the default printer; .ci/setup-cups.sh (as root) sets it up";

    TPrinter printer;
    std::string device, driver, port;
    TSettingsHandle settings;
    printer.ReadPrinter(device, driver, port, settings);
    EXPECT_EQ(device, Queue);
    ASSERT_NE(settings, nullptr);
    const QString title = QStringLiteral("QuilletTest%1x%2")
                              .arg(QCoreApplication::applicationPid())
                              .arg(QDateTime::currentMSecsSinceEpoch());
    printer.JobTitle = title.toStdString();

    TPrinterTextFile channel;
    channel.AttachPrinter(printer);
    channel.Rewrite();
    ASSERT_EQ(channel.IOResult(), 0);
    TFont font;
    font.Name = "Liberation Sans";
    font.SetSize(12);
    printer.PrinterCanvas()->Font.Assign(font);
    const int dpi = printer.DeviceHandle()->LogPixelsY();
    const QRectF paint = printer.DeviceHandle()->Printer().pageLayout().paintRectPoints();
    const int line = printer.PrinterCanvas()->TextExtent("Hello").height() + 2;
    const int cell = printer.PrinterCanvas()->TextMetrics().tmHeight;
    const int tab = printer.PrinterCanvas()->TextMetrics().tmAveCharWidth * 8;
    channel.WriteLine("Hello");
    channel.WriteLine("");
    channel.WriteLine("\tWorld");
    channel.WriteLine("\fSecond");
    channel.Close();
    ASSERT_EQ(channel.IOResult(), 0);

    // The print system converts and writes the job in its own time: wait for it, boundedly.
    std::string output;
    WaitUntil([&] { return !(output = FindOutput(title)).empty(); }, 60000);
    ASSERT_FALSE(output.empty()) << "no PDF for job " << title.toStdString() << " under " << Spool;
    const auto pages = ReadPdfWords(output);
    ASSERT_EQ(pages.size(), 2u);
    ASSERT_EQ(pages[0].Words.size(), 2u);
    ASSERT_EQ(pages[1].Words.size(), 1u);
    const PdfWord& hello = pages[0].Words[0];
    const PdfWord& world = pages[0].Words[1];
    const PdfWord& second = pages[1].Words[0];
    EXPECT_EQ(hello.Text, "Hello");
    EXPECT_EQ(world.Text, "World");
    EXPECT_EQ(second.Text, "Second");
    // Across the print system's conversions the fonts keep their outlines but not their exact
    // ascent, so tops are compared with one another and with the page within a few points.
    const double tolerance = dpi / 72.0;  // a point
    auto x = [&](const PdfWord& w) { return PointsToPixels(w.XMin, paint.left(), dpi); };
    auto y = [&](const PdfWord& w) { return PointsToPixels(w.YMin, paint.top(), dpi); };
    EXPECT_NEAR(x(hello), 0, tolerance);
    EXPECT_NEAR(y(hello), 0, 4 * tolerance);
    EXPECT_NEAR(x(world), tab, tolerance);
    EXPECT_NEAR(y(world) - y(hello), line + cell, tolerance);
    EXPECT_NEAR(x(second), 0, tolerance);
    EXPECT_NEAR(y(second), y(hello), tolerance);
}
