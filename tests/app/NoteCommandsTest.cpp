// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The note area's commands in the main window: New, Open, Save As, the load, save and clear
// buttons, with their dialogs, progress flourish and error boxes.
#include <gtest/gtest.h>

#include <QTest>

#include "app/Unit7.h"
#include "notes/TRichEdit.h"
#include "notes/TRichEditStrings.h"
#include "tests/TestSupport.h"
#include "tests/app/AppFixture.h"
#include "tests/app/FlourishCounter.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TEdit.h"
#include "toolkit/TMenuItem.h"
#include "toolkit/TOpenDialog.h"
#include "toolkit/TSaveDialog.h"

namespace {

class NoteCommands : public AppFixture {
protected:
    std::string Note() { return Form7->RichEdit1->Text(); }
};

}  // namespace

TEST_F(NoteCommands, NewAndClearAreaEmptyTheNoteAndOnlyTheButtonShowsTheFlourish) {
    FlourishCounter flourish(Form7->Client());
    Form7->RichEdit1->SetText("some notes");
    Menu("New1");
    EXPECT_EQ(Note(), "");
    EXPECT_EQ(flourish.Shown, 0);

    Form7->RichEdit1->SetText("more notes");
    Press("BitBtn3");
    EXPECT_EQ(Note(), "");
    EXPECT_EQ(flourish.Shown, 1);
    EXPECT_FALSE(flourish.BarPresent());  // removed again
}

TEST_F(NoteCommands, CtrlNClearsWhicheverControlHasTheFocus) {
    Form7->activateWindow();
    Form7->RichEdit1->SetText("typed");
    Form7->Edit1->setFocus();
    QTest::keyClick(Form7, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Note(), "");
}

TEST_F(NoteCommands, OpenAndSaveAsGoThroughTheDialogs) {
    WriteFileBytes(SystemPath("Work/in.rtf"), "{\\rtf1\\ansi {\\b Bold} words\\par}");
    TOpenDialog::ExecuteHook = [&](TOpenDialog& d) -> std::optional<std::string> {
        EXPECT_EQ(d.Title(), QStringLiteral("Open Text Files"));
        return SystemPath("Work/in.rtf");
    };
    Menu("N3");
    EXPECT_EQ(Note(), "Bold words");

    TOpenDialog::ExecuteHook = [&](TOpenDialog& d) -> std::optional<std::string> {
        EXPECT_EQ(d.Title(), QStringLiteral("Save Text File(s)"));
        return SystemPath("Work/out.txt");
    };
    Menu("SaveAs1");
    const std::string saved = ReadFileBytes(SystemPath("Work/out.txt"));
    EXPECT_EQ(saved.rfind("{\\rtf1", 0), 0u) << "a .txt name still gets rich text";
    EXPECT_NE(saved.find("Bold"), std::string::npos);
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
}

TEST_F(NoteCommands, CancelledLoadShowsTheFlourishAndChangesNothing) {
    FlourishCounter flourish(Form7->Client());
    Form7->RichEdit1->SetText("keep me");
    TOpenDialog::ExecuteHook = [](TOpenDialog&) -> std::optional<std::string> {
        return std::nullopt;
    };
    Press("BitBtn1");
    EXPECT_EQ(flourish.Shown, 1);
    EXPECT_EQ(Note(), "keep me");
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
}

TEST_F(NoteCommands, LoadAndSaveWithNothingSelectedShowTheFileErrorsAndKeepTheNote) {
    FlourishCounter flourish(Form7->Client());
    Form7->RichEdit1->SetText("precious");
    Press("BitBtn4");
    Press("BitBtn5");
    auto boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Text.rfind("Cannot open file \"", 0), 0u) << boxes[0].Text;
    EXPECT_EQ(boxes[1].Text.rfind("Cannot create file \"", 0), 0u) << boxes[1].Text;
    EXPECT_EQ(boxes[0].Caption, "Quillet 3.1+");
    EXPECT_EQ(flourish.Shown, 2);  // the flourish comes before the failure
    EXPECT_EQ(Note(), "precious");
}

TEST_F(NoteCommands, AMissingFileChosenInTheDialogIsReportedAndTheNoteStays) {
    Form7->RichEdit1->SetText("precious");
    TOpenDialog::ExecuteHook = [&](TOpenDialog&) -> std::optional<std::string> {
        return SystemPath("Work/gone.rtf");
    };
    Menu("N3");
    auto boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].Text.find("gone.rtf"), std::string::npos) << boxes[0].Text;
    EXPECT_EQ(Note(), "precious");
}
