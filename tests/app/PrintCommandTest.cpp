// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Print and Printer Setup from the main window, through the print dialog, to a PDF file.
#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>

#include "app/Unit7.h"
#include "notes/TRichEdit.h"
#include "printing/TPrintDialog.h"
#include "printing/TPrinterSetupDialog.h"
#include "tests/TestSupport.h"
#include "tests/app/AppFixture.h"
#include "tests/printing/PrintTestSupport.h"
#include "toolkit/TMenuItem.h"

namespace {

class PrintCommand : public AppFixture {
protected:
    // The user has chosen "print to file" with this output file, and confirms the dialog.
    void AnswerWithPdf(const std::string& path) {
        GlobalPrinter()->ChoosePrinter(PrintSystem::PrintToFileName, "", "", PdfSettings(path));
        TPrintDialog::ExecuteHook = [](QDialog&, QPrinter&) { return true; };
    }
};

std::vector<std::string> WordsOf(const PdfPage& page) {
    std::vector<std::string> words;
    for (const PdfWord& w : page.Words) words.push_back(w.Text);
    return words;
}

}  // namespace

TEST_F(PrintCommand, PrintsTheNoteLinesFromTheTopLeftInTheNoteFont) {
    const std::string pdf = SystemPath("note.pdf");
    AnswerWithPdf(pdf);
    Form7->RichEdit1->SetText("First line\r\nSecond line");
    Menu("Print1");
    ASSERT_TRUE(ErrorBoxRecorder::Take().empty());
    const auto pages = ReadPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(WordsOf(pages[0]), (std::vector<std::string>{"First", "line", "Second", "line"}));
    // Second line below the first, both starting at the left edge of the printable area.
    EXPECT_NEAR(pages[0].Words[0].XMin, pages[0].Words[2].XMin, 0.5);
    EXPECT_GT(pages[0].Words[2].YMin, pages[0].Words[0].YMax - 0.5);
}

TEST_F(PrintCommand, AnEmptyNoteAreaPrintsOneBlankPage) {
    const std::string pdf = SystemPath("empty.pdf");
    AnswerWithPdf(pdf);
    Form7->RichEdit1->SetText("");
    Menu("Print1");
    ASSERT_TRUE(ErrorBoxRecorder::Take().empty());
    const auto pages = ReadPdfWords(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].Words.empty());
}

TEST_F(PrintCommand, ACancelledDialogPrintsNothing) {
    const std::string pdf = SystemPath("cancelled.pdf");
    AnswerWithPdf(pdf);
    TPrintDialog::ExecuteHook = [](QDialog&, QPrinter&) { return false; };
    Form7->RichEdit1->SetText("not printed");
    Menu("Print1");
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
}
