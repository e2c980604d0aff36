// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The print and printer-setup dialogs: what the user confirms becomes the printer object's
// current printer; a cancelled dialog changes nothing.
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QRadioButton>
#include <QSpinBox>

#include "printing/PrintingComponents.h"
#include "printing/TPrintDialog.h"
#include "printing/TPrinterSetupDialog.h"
#include "tests/printing/PrintTestSupport.h"
#include "toolkit/ComponentRegistry.h"

namespace {
class PrintDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        FreeGlobalPrinter();
    }
    void TearDown() override {
        TPrintDialog::ExecuteHook = nullptr;
        TPrinterSetupDialog::ExecuteHook = nullptr;
        FreeGlobalPrinter();
    }
    std::string PathIn(const std::string& name) const {
        return Dir.filePath(QString::fromStdString(name)).toStdString();
    }
    void ChoosePdf(const std::string& file) {
        GlobalPrinter()->ChoosePrinter(PrintSystem::PrintToFileName, "", "", PdfSettings(file));
    }
    TSettingsHandle CurrentSettings(std::string& device) {
        std::string driver, port;
        TSettingsHandle settings;
        GlobalPrinter()->ReadPrinter(device, driver, port, settings);
        return settings;
    }
    void PrintLine(const std::string& line) {
        TPrinterTextFile channel;
        channel.AttachPrinter();
        channel.Rewrite();
        channel.WriteLine(line);
        channel.Close();
        EXPECT_EQ(channel.IOResult(), 0);
    }

    QTemporaryDir Dir;
};
}  // namespace

TEST_F(PrintDialogTest, ConfirmedPrintDialogMakesTheChosenPrinterAndCopiesCurrent) {
    ChoosePdf(PathIn("before.pdf"));
    const std::string chosen = PathIn("chosen.pdf");
    TPrintDialog::ExecuteHook = [&](QDialog& dialog, QPrinter&) {
        // The dialog opens on the current printer; the user picks another file and 2 copies.
        EXPECT_NE(qobject_cast<QPrintDialog*>(&dialog), nullptr);
        dialog.show();
        auto* printers = dialog.findChild<QComboBox*>(QStringLiteral("printers"));
        auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
        auto* copies = dialog.findChild<QSpinBox*>(QStringLiteral("copies"));
        EXPECT_TRUE(printers && file && copies);
        if (!(printers && file && copies)) return false;
        EXPECT_EQ(printers->currentText(), QLatin1String(PrintSystem::PrintToFileName));
        EXPECT_EQ(file->text().toStdString(), PathIn("before.pdf"));
        file->setText(QString::fromStdString(chosen));
        copies->setValue(2);
        dialog.accept();
        return true;
    };
    TPrintDialog dialog;
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Copies(), 2);
    std::string device;
    const TSettingsHandle settings = CurrentSettings(device);
    EXPECT_EQ(device, PrintSystem::PrintToFileName);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->OutputFile, chosen);
    EXPECT_EQ(GlobalPrinter()->CopyCount(), 2);

    PrintLine("Chosen");
    const auto pages = ReadPdfWords(chosen);
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].Words.size(), 1u);
    EXPECT_EQ(pages[0].Words[0].Text, "Chosen");
}

TEST_F(PrintDialogTest, CancelledDialogsChangeNothing) {
    ChoosePdf(PathIn("kept.pdf"));
    std::string device;
    const TSettingsHandle before = CurrentSettings(device);
    TPrintDialog::ExecuteHook = [](QDialog&, QPrinter& printer) {
        printer.setCopyCount(5);
        return false;
    };
    TPrintDialog print;
    EXPECT_FALSE(print.Execute());
    TPrinterSetupDialog::ExecuteHook = [](QDialog&, QPrinter&) { return false; };
    TPrinterSetupDialog setup;
    EXPECT_FALSE(setup.Execute());
    EXPECT_EQ(CurrentSettings(device), before);
    EXPECT_EQ(GlobalPrinter()->CopyCount(), 1);
}

TEST_F(PrintDialogTest, WithoutADefaultQueueBothDialogsOpenOnThePdfPrinter) {
    QueuesScope none({{}, ""});
    const std::string file = PathIn("no-queue.pdf");
    QString printShows, setupShows;
    bool fileLabelBuddy = false;
    TPrintDialog::ExecuteHook = [&](QDialog&, QPrinter& printer) {
        printShows = QString::fromStdString(PrintSystem::PrinterName(printer));
        printer.setOutputFileName(QString::fromStdString(file));
        return true;
    };
    TPrinterSetupDialog::ExecuteHook = [&](QDialog& dialog, QPrinter&) {
        auto* name = dialog.findChild<QComboBox*>(QStringLiteral("PrinterName"));
        setupShows = name ? name->currentText() : QString();
        // The output file's label underlines its letter instead of showing the "&".
        auto* outputFile = dialog.findChild<QLineEdit*>(QStringLiteral("OutputFile"));
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (label->text().contains(QLatin1String("&f")))
                fileLabelBuddy = label->buddy() == outputFile;
        return false;
    };
    TPrinterSetupDialog setup;
    EXPECT_FALSE(setup.Execute());
    EXPECT_EQ(setupShows, QString::fromLatin1(PrintSystem::PrintToFileName));
    EXPECT_TRUE(fileLabelBuddy);
    TPrintDialog print;
    ASSERT_TRUE(print.Execute());
    EXPECT_EQ(printShows, QString::fromLatin1(PrintSystem::PrintToFileName));
    PrintLine("printed without a queue");
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(file)));
}

TEST_F(PrintDialogTest, WithoutAnyPrinterThePrintDialogFailsBeforeShowing) {
    QueuesScope none({{}, "", false});
    bool shown = false;
    TPrintDialog::ExecuteHook = [&](QDialog&, QPrinter&) { return shown = true; };
    TPrintDialog dialog;
    try {
        dialog.Execute();
        ADD_FAILURE() << "no error raised";
    } catch (const EPrinter& e) {
        EXPECT_EQ(e.Message, "There is no default printer currently selected");
    }
    EXPECT_FALSE(shown);
}

TEST_F(PrintDialogTest, SetupDialogChoicesApplyToLaterJobs) {
    ChoosePdf(PathIn("before.pdf"));
    const std::string chosen = PathIn("setup.pdf");
    TPrinterSetupDialog::ExecuteHook = [&](QDialog& dialog, QPrinter&) {
        auto* name = dialog.findChild<QComboBox*>(QStringLiteral("PrinterName"));
        auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("OutputFile"));
        auto* paper = dialog.findChild<QComboBox*>(QStringLiteral("PaperSize"));
        auto* landscape = dialog.findChild<QRadioButton*>(QStringLiteral("Landscape"));
        EXPECT_TRUE(name && file && paper && landscape);
        if (!(name && file && paper && landscape)) return false;
        EXPECT_EQ(name->currentText(), QLatin1String(PrintSystem::PrintToFileName));
        EXPECT_TRUE(file->isEnabled());
        file->setText(QString::fromStdString(chosen));
        paper->setCurrentIndex(paper->findData(QPageSize(QPageSize::Letter).key()));
        landscape->setChecked(true);
        dialog.accept();
        return true;
    };
    TPrinterSetupDialog setup;
    ASSERT_TRUE(setup.Execute());
    PrintLine("Wide");
    const auto pages = ReadPdfWords(chosen);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].Width, 792, 1);  // Letter, landscape
    EXPECT_NEAR(pages[0].Height, 612, 1);
}

TEST(PrintingComponentsTest, LayoutsCanCreateBothDialogs) {
    RegisterPrintingComponents();
    for (const char* name : {"TPrintDialog", "TPrinterSetupDialog"}) {
        TComponentFactory factory = FindComponentClass(name);
        ASSERT_TRUE(factory) << name;
        std::unique_ptr<QObject> component(factory(nullptr));
        EXPECT_EQ(component->metaObject()->className(), std::string(name));
    }
}
