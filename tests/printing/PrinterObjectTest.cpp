// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The printer object: choosing printers, the default printer, contexts, job states and their
// errors, copy count.
#include <sys/mount.h>
#include <sys/stat.h>

#include <QFileInfo>
#include <QScopeGuard>

#include "tests/printing/PrintTestSupport.h"

namespace {
std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EPrinter& e) {
        return e.Message;
    }
    return "(no EPrinter)";
}

const char* const NoDefault = "There is no default printer currently selected";
const char* const Invalid = "Printer selected is not valid";
const char* const InProgress = "Printing in progress";
const char* const NotPrinting = "Printer is not currently printing";
const char* const NotSupported = "Operation not supported on selected printer";
}  // namespace

TEST(PrinterObjectTest, WithoutAnyPrinterAtAllEveryQueryFailsAndNothingStarts) {
    // No queue, and not even PDF files can be written here.
    QueuesScope none({{}, "", false});
    TPrinter printer;
    EXPECT_TRUE(printer.PrinterList().empty());
    EXPECT_EQ(ErrorOf([&] { printer.CurrentIndex(); }), NoDefault);
    EXPECT_EQ(ErrorOf([&] { printer.BeginDocument(); }), NoDefault);
    EXPECT_EQ(ErrorOf([&] { printer.PageWidthPixels(); }), NoDefault);
    EXPECT_FALSE(printer.IsPrinting());
    EXPECT_EQ(printer.HandleState(), NoHandle);

    TPrinterTextFile channel;
    channel.AttachPrinter(printer);
    EXPECT_EQ(ErrorOf([&] { channel.Rewrite(); }), NoDefault);
    EXPECT_EQ(channel.Mode(), TPrinterTextFile::fmClosed);
}

TEST(PrinterObjectTest, DefaultNamedByThePrintSystemIsFoundIgnoringCase) {
    QueuesScope queues({{"Quillet Test Lab", "Quillet Test Office"}, "quillet test OFFICE"});
    TPrinter printer;
    EXPECT_EQ(printer.CurrentIndex(), 1);
    std::string device, driver, port;
    TSettingsHandle settings;
    printer.ReadPrinter(device, driver, port, settings);
    EXPECT_EQ(device, "Quillet Test Office");
    EXPECT_EQ(driver, "");
    EXPECT_EQ(port, "");
    // The print system cannot open this queue: no settings block, and no context for it.
    EXPECT_EQ(settings, nullptr);
    EXPECT_EQ(ErrorOf([&] { printer.CopyCount(); }), NotSupported);
    EXPECT_EQ(ErrorOf([&] { printer.SetCopyCount(2); }), NotSupported);
    EXPECT_EQ(ErrorOf([&] { printer.BeginDocument(); }), Invalid);
    EXPECT_FALSE(printer.IsPrinting());
}

TEST(PrinterObjectTest, WithoutADefaultQueueThePdfPrinterStandsIn) {
    const struct {
        PrinterQueues Queues;
        const char* Chosen;  // or the error
    } rows[] = {
        {{{}, ""}, PrintSystem::PrintToFileName},
        {{{"Quillet Test Lab"}, ""}, PrintSystem::PrintToFileName},
        {{{"Quillet Test Lab"}, "Quillet Test Gone"}, PrintSystem::PrintToFileName},
        {{{"Quillet Test Lab"}, "QUILLET TEST LAB"}, "Quillet Test Lab"},
        {{{"Quillet Test Lab"}, "Quillet Test Gone", false}, NoDefault},
    };
    for (const auto& row : rows) {
        QueuesScope queues(row.Queues);
        TPrinter printer;
        std::string device;
        const std::string error = ErrorOf([&] {
            std::string driver, port;
            TSettingsHandle settings;
            printer.ReadPrinter(device, driver, port, settings);
        });
        const std::string chosen = error == "(no EPrinter)" ? device : error;
        EXPECT_EQ(chosen, row.Chosen) << row.Queues.DefaultName;
    }
}

TEST_F(PdfPrinterTest, APageThePrinterRefusesIsReportedAsAPageFailure) {
    Printer->BeginDocument();
    Printer->NextPage();
    EXPECT_EQ(Printer->PageNumber(), 2);
    Printer->DeviceHandle()->Painter()->end();  // the device drops the job: no page starts now
    const std::string error = ErrorOf([&] { Printer->NextPage(); });
    EXPECT_EQ(error.rfind("Printer could not start page 3", 0), 0u) << error;
    EXPECT_TRUE(Printer->IsPrinting()) << "the job itself is still there to be ended";
}

TEST(PrinterObjectTest, ChoosingAnUnlistedDeviceAppendsOneEntryAndReusesIt) {
    QueuesScope queues({{"Quillet Test Lab"}, "Quillet Test Lab"});
    TPrinter printer;
    printer.ChoosePrinter("Quillet Test Far", "drv", "lpt9", nullptr);
    ASSERT_EQ(printer.PrinterList().size(), 3u);
    const TPrinterListEntry& added = printer.PrinterList()[2];
    EXPECT_EQ(added.Name, "Quillet Test Far on lpt9");
    EXPECT_EQ(added.Device->DriverName, "drv");
    EXPECT_EQ(printer.CurrentIndex(), 2);
    // A listed device without a port matches whatever port is given, and takes it.
    printer.ChoosePrinter("Quillet Test Lab", "", "usb1", nullptr);
    EXPECT_EQ(printer.CurrentIndex(), 0);
    EXPECT_EQ(printer.PrinterList()[0].Device->PortName, "usb1");
    printer.ChoosePrinter("Quillet Test Far", "drv", "lpt9", nullptr);
    EXPECT_EQ(printer.CurrentIndex(), 2);
    EXPECT_EQ(printer.PrinterList().size(), 3u);
    // An entry with a port matches only that port.
    printer.ChoosePrinter("Quillet Test Far", "drv", "lpt7", nullptr);
    EXPECT_EQ(printer.PrinterList().size(), 4u);
}

TEST(PrinterObjectTest, PrinterThatVanishedAfterChoosingIsNotValid) {
    QueuesScope queues({{"Quillet Test Lab"}, ""});
    TPrinter printer;
    // Chosen with a settings block, as the print dialog does, then gone from the system.
    printer.ChoosePrinter("Quillet Test Lab", "", "", std::make_shared<DeviceSettings>());
    EXPECT_EQ(ErrorOf([&] { printer.BeginDocument(); }), Invalid);
    EXPECT_EQ(ErrorOf([&] { printer.PageHeightPixels(); }), Invalid);
    EXPECT_FALSE(printer.IsPrinting());
}

TEST_F(PdfPrinterTest, JobStatesGuardEveryCall) {
    EXPECT_EQ(ErrorOf([&] { Printer->EndDocument(); }), NotPrinting);
    EXPECT_EQ(ErrorOf([&] { Printer->NextPage(); }), NotPrinting);
    EXPECT_EQ(ErrorOf([&] { Printer->PrinterCanvas()->TextExtent("x"); }), NotPrinting);
    EXPECT_EQ(ErrorOf([&] { Printer->PrinterCanvas()->TextOut(0, 0, "x"); }), NotPrinting);

    Printer->BeginDocument();
    EXPECT_TRUE(Printer->IsPrinting());
    EXPECT_EQ(Printer->PageNumber(), 1);
    EXPECT_EQ(Printer->HandleState(), DrawHandle);
    EXPECT_EQ(ErrorOf([&] { Printer->BeginDocument(); }), InProgress);
    EXPECT_EQ(
        ErrorOf([&] { Printer->ChoosePrinter(PrintSystem::PrintToFileName, "", "", nullptr); }),
        InProgress);
    EXPECT_EQ(ErrorOf([&] { Printer->SetCopyCount(2); }), InProgress);
    EXPECT_EQ(ErrorOf([&] { Printer->SetHandleState(NoHandle); }), InProgress);
    // An information context is not asked for while drawing: the drawing context answers.
    Printer->SetHandleState(InfoHandle);
    EXPECT_EQ(Printer->HandleState(), DrawHandle);
    Printer->NextPage();
    EXPECT_EQ(Printer->PageNumber(), 2);
    Printer->EndDocument();
    EXPECT_FALSE(Printer->IsPrinting());
    EXPECT_EQ(Printer->PageNumber(), 0);
    EXPECT_EQ(ReadPdfWords(Pdf).size(), 2u);
}

TEST_F(PdfPrinterTest, PrintableSizeAndResolutionComeFromThePrinter) {
    // A4 at the PDF printer's resolution, less its margins.
    const int width = Printer->PageWidthPixels();
    const int height = Printer->PageHeightPixels();
    EXPECT_EQ(Printer->HandleState(), InfoHandle);
    const int dpi = Printer->DeviceHandle()->LogPixelsY();
    EXPECT_GE(dpi, 300);
    const QMarginsF margins =
        Printer->DeviceHandle()->Printer().pageLayout().margins(QPageLayout::Point);
    EXPECT_NEAR(width, (595.28 - margins.left() - margins.right()) * dpi / 72, dpi / 72.0);
    EXPECT_NEAR(height, (841.89 - margins.top() - margins.bottom()) * dpi / 72, dpi / 72.0);
    EXPECT_EQ(Printer->Capabilities(), pcCopies | pcOrientation | pcCollation);

    // Landscape swaps them.
    auto landscape = PdfSettings(Pdf);
    landscape->Orientation = DMORIENT_LANDSCAPE;
    Printer->ChoosePrinter(PrintSystem::PrintToFileName, "", "", landscape);
    EXPECT_EQ(Printer->HandleState(), NoHandle);
    EXPECT_EQ(Printer->PageWidthPixels(), height);
    EXPECT_EQ(Printer->PageHeightPixels(), width);
}

TEST_F(PdfPrinterTest, CopyCountLivesInTheSettingsBlockAndRenewsTheContext) {
    EXPECT_EQ(Printer->CopyCount(), 1);
    Printer->PageWidthPixels();
    ASSERT_EQ(Printer->HandleState(), InfoHandle);
    Printer->SetCopyCount(3);
    EXPECT_EQ(Printer->CopyCount(), 3);
    EXPECT_EQ(Printer->HandleState(), NoHandle);
    EXPECT_EQ(Printer->DeviceHandle()->Printer().copyCount(), 3);
}

TEST_F(PdfPrinterTest, JobThatCannotStartLeavesThePrinterFreeForTheNextAttempt) {
    const std::string unwritable = PathIn("no such folder/out.pdf");
    Printer->ChoosePrinter(PrintSystem::PrintToFileName, "", "", PdfSettings(unwritable));
    const std::string message = ErrorOf([&] { Printer->BeginDocument(); });
    EXPECT_EQ(message.rfind("Cannot create file \"" + unwritable + "\". ", 0), 0u) << message;
    EXPECT_NE(message.find("No such file or directory"), std::string::npos) << message;
    EXPECT_FALSE(Printer->IsPrinting());

    // Without an output file the print-to-file printer has nowhere to print.
    Printer->ChoosePrinter(PrintSystem::PrintToFileName, "", "", PdfSettings(""));
    EXPECT_EQ(ErrorOf([&] { Printer->BeginDocument(); }), Invalid);
    EXPECT_FALSE(Printer->IsPrinting());

    Printer->ChoosePrinter(PrintSystem::PrintToFileName, "", "", PdfSettings(Pdf));
    Printer->BeginDocument();
    Printer->EndDocument();
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(Pdf)));
}

TEST_F(PdfPrinterTest, CanvasTakesThePrinterResolutionKeepingThePointSize) {
    TFont screen;
    screen.SetSize(8);  // 96 pixels per inch
    Printer->BeginDocument();
    TPrinterCanvas& canvas = *Printer->PrinterCanvas();
    EXPECT_EQ(canvas.Font.PixelsPerInch, Printer->DeviceHandle()->LogPixelsY());
    canvas.Font.Assign(screen);
    EXPECT_EQ(canvas.Font.Size(), 8);
    EXPECT_EQ(canvas.Font.Height, -(8 * canvas.Font.PixelsPerInch + 36) / 72);
    // A font given in screen pixels is rescaled before it is used.
    canvas.Font.PixelsPerInch = 96;
    canvas.Font.Height = -16;  // 12 points
    const int height = canvas.TextExtent("Hg").height();
    EXPECT_EQ(canvas.Font.Size(), 12);
    EXPECT_EQ(canvas.Font.PixelsPerInch, Printer->DeviceHandle()->LogPixelsY());
    EXPECT_NEAR(height, 12 * 1.15 * canvas.Font.PixelsPerInch / 72, 0.1 * height);
    Printer->EndDocument();
}

TEST(PrinterObjectTest, GlobalPrinterIsOneObjectUntilFreed) {
    TPrinter* first = GlobalPrinter();
    EXPECT_EQ(GlobalPrinter(), first);
    TPrinterTextFile channel;
    channel.AttachPrinter();
    EXPECT_EQ(channel.Mode(), TPrinterTextFile::fmClosed);
}

// A PDF that the disk has no room for is removed, not left cut short, and the job's end says
// why. The disk is a small tmpfs, almost filled before the job starts.
TEST_F(PdfPrinterTest, PdfOnAFullDiskIsRemovedAndTheReasonGiven) {
    const std::string folder = PathIn("small");
    ::mkdir(folder.c_str(), 0755);
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    const auto unmount = qScopeGuard([&] { ::umount2(folder.c_str(), MNT_DETACH); });
    {
        QFile filler(QString::fromStdString(folder + "/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        filler.write(QByteArray(qsizetype(56) * 1024, 'x'));
    }
    const std::string pdf = folder + "/out.pdf";
    Printer->ChoosePrinter(PrintSystem::PrintToFileName, "", "", PdfSettings(pdf));
    Printer->BeginDocument();
    // Several pages of text make a file of some 20 KB, more than the 8 KB left.
    for (int page = 0; page < 8; ++page) {
        if (page > 0) Printer->NextPage();
        for (int i = 0; i < 60; ++i)
            Printer->PrinterCanvas()->TextOut(100, 100 + i * 60,
                                              "Line " + std::to_string(i) + " of page " +
                                                  std::to_string(page) +
                                                  " abcdefghijklmnopqrstuvwxyz");
    }
    EXPECT_EQ(ErrorOf([&] { Printer->EndDocument(); }),
              "Cannot create file \"" + pdf + "\". No space left on device");
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(pdf)));
    EXPECT_FALSE(Printer->IsPrinting());
    // With room again, the same job goes through.
    QFile::remove(QString::fromStdString(folder + "/filler"));
    Printer->BeginDocument();
    Printer->PrinterCanvas()->TextOut(100, 100, "Line");
    Printer->EndDocument();
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(pdf)));
}
