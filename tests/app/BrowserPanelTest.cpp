// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The browser panel as the main window wires it: start-up, folder, drive and filter changes,
// clicks and double-clicks in the file list, and loading and saving through the panel.
#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include "app/Unit7.h"
#include "browse/TDirectoryListBox.h"
#include "browse/TDriveComboBox.h"
#include "browse/TFileListBox.h"
#include "browse/TFilterComboBox.h"
#include "notes/TRichEdit.h"
#include "notes/TRichEditStrings.h"
#include "tests/TestSupport.h"
#include "tests/app/AppFixture.h"
#include "tests/app/FlourishCounter.h"
#include "toolkit/Events.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TEdit.h"

namespace {

class BrowserPanel : public AppFixture {
protected:
    void SetUp() override {
        WithDriveD = true;
        AppFixture::SetUp();
    }
    void PrepareFiles() override {
        WriteFileBytes(SystemPath("Work/a.txt"), "hello\nworld\n");
        WriteFileBytes(SystemPath("Work/b.rtf"), "{\\rtf1\\ansi rich {\\i text}\\par}");
        WriteFileBytes(SystemPath("Work/Sub/c.txt"), "in sub");
        QDir(DriveD.path()).mkpath(QStringLiteral("Music"));
    }
    std::vector<std::string> Files() {
        std::vector<std::string> names;
        names.reserve(std::size_t(Form7->FileListBox1->Count()));
        for (int i = 0; i < Form7->FileListBox1->Count(); ++i)
            names.push_back(Form7->FileListBox1->ItemText(i));
        return names;
    }
    int FileIndex(const std::string& name) { return Form7->FileListBox1->IndexOfText(name); }
    std::string Edit1Text() { return Form7->Edit1->text().toStdString(); }
};

}  // namespace

TEST_F(BrowserPanel, StartUpLinksThePanelAndShowsTheMaskInEdit1) {
    EXPECT_EQ(Edit1Text(), "*.*");
    EXPECT_EQ(Form7->DriveComboBox1->DirList(), Form7->DirectoryListBox1);
    EXPECT_EQ(Form7->DirectoryListBox1->Directory(), "C:\\Work");
    EXPECT_EQ(Form7->FileListBox1->Directory(), "C:\\Work");
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.txt", "b.rtf"}));
    EXPECT_EQ(Form7->FileListBox1->ItemIndex(), -1);
}

TEST_F(BrowserPanel, ClickingAFileNamesItInEdit1AndDoubleClickLoadsItWithoutFlourish) {
    FlourishCounter flourish(Form7->Client());
    ClickEntry(Form7->FileListBox1, FileIndex("a.txt"));
    EXPECT_EQ(Edit1Text(), "a.txt");
    EXPECT_EQ(Form7->FileListBox1->SelectedPath(), "C:\\Work\\a.txt");
    ClickEntry(Form7->FileListBox1, FileIndex("a.txt"), true);
    EXPECT_EQ(Form7->RichEdit1->Text(), "hello\r\nworld\r\n");
    EXPECT_EQ(flourish.Shown, 0);

    ClickEntry(Form7->FileListBox1, FileIndex("b.rtf"));
    Press("BitBtn4");  // "Load -->": the same with the flourish
    EXPECT_EQ(Form7->RichEdit1->Text(), "rich text");
    EXPECT_EQ(flourish.Shown, 1);
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
}

TEST_F(BrowserPanel, OpeningAFolderMovesTheFileListAndPutsTheMaskBack) {
    ClickEntry(Form7->FileListBox1, FileIndex("a.txt"));
    ASSERT_EQ(Edit1Text(), "a.txt");
    // Entries: C:\ (open), Work (current), Sub.
    ClickEntry(Form7->DirectoryListBox1, 2, true);
    EXPECT_EQ(Form7->DirectoryListBox1->Directory(), "C:\\Work\\Sub");
    EXPECT_EQ(Form7->FileListBox1->Directory(), "C:\\Work\\Sub");
    EXPECT_EQ(Files(), (std::vector<std::string>{"c.txt"}));
    EXPECT_EQ(Form7->FileListBox1->ItemIndex(), -1);
    EXPECT_EQ(Edit1Text(), "*.*");
    // "Load -->" right after the change: nothing selected, so the file-open error.
    Form7->RichEdit1->SetText("kept");
    Press("BitBtn4");
    auto boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text.rfind("Cannot open file", 0), 0u);
    EXPECT_EQ(Form7->RichEdit1->Text(), "kept");
}

TEST_F(BrowserPanel, PickingAFilterNarrowsTheListAndShowsItsMask) {
    Form7->FilterComboBox1->UserPick(1);
    EXPECT_EQ(Form7->FileListBox1->Mask(), "*.rtf");
    EXPECT_EQ(Files(), (std::vector<std::string>{"b.rtf"}));
    EXPECT_EQ(Edit1Text(), "*.rtf");
    Form7->FilterComboBox1->UserPick(2);
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.txt"}));  // *.Txt, letter case ignored
    EXPECT_EQ(Edit1Text(), "*.Txt");
}

TEST_F(BrowserPanel, PickingADriveShowsItsCurrentFolder) {
    Form7->DriveComboBox1->UserPick(1);  // d:
    EXPECT_EQ(Form7->DirectoryListBox1->Directory(), "D:\\");
    EXPECT_EQ(Form7->FileListBox1->Directory(), "D:\\");
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(Edit1Text(), "*.*");
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
}

TEST_F(BrowserPanel, ADriveWithoutMediumIsReportedAndTheListsStay) {
    DriveD.remove();  // the medium is taken out
    // As the combo box's own pick handling does, errors go to the error box.
    SafeCall([] { Form7->DriveComboBox1->UserPick(1); });
    auto boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "I/O error 21.");
    EXPECT_EQ(Form7->DirectoryListBox1->Directory(), "C:\\Work");
    EXPECT_EQ(Form7->FileListBox1->Directory(), "C:\\Work");
}

TEST_F(BrowserPanel, SaveThroughThePanelWritesRichTextOverTheSelectedFile) {
    ClickEntry(Form7->FileListBox1, FileIndex("a.txt"));
    Form7->RichEdit1->SetText("replaced");
    Press("BitBtn5");
    const std::string saved = ReadFileBytes(SystemPath("Work/a.txt"));
    EXPECT_EQ(saved.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(saved.find("replaced"), std::string::npos);
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
}

TEST_F(BrowserPanel, TypingIntoEdit1DoesNotTouchTheFileList) {
    QTest::keyClicks(Form7->Edit1, "*.rtf");
    EXPECT_EQ(Form7->FileListBox1->Mask(), "*.*");
    EXPECT_EQ(Files().size(), 2u);
}
