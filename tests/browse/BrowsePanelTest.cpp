// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The four controls wired as the main window wires them, driven as a user drives them.
#include <QTest>

#include "browse/BrowseComponents.h"
#include "browse/TDirectoryListBox.h"
#include "browse/TDriveComboBox.h"
#include "browse/TFileListBox.h"
#include "browse/TFilterComboBox.h"
#include "tests/browse/BrowseFixture.h"
#include "toolkit/ComponentRegistry.h"
#include "toolkit/TEdit.h"
#include "toolkit/TForm.h"

namespace {

class BrowsePanelTest : public BrowseTest {
protected:
    void SetUp() override {
        RegisterBrowseComponents();
        auto make = [&](const char* cls) { return FindComponentClass(cls)(Form.Client()); };
        Drives = dynamic_cast<TDriveComboBox*>(make("TDriveComboBox"));
        Dirs = dynamic_cast<TDirectoryListBox*>(make("TDirectoryListBox"));
        Files = dynamic_cast<TFileListBox*>(make("TFileListBox"));
        Filter = dynamic_cast<TFilterComboBox*>(make("TFilterComboBox"));
        Edit = new TEdit(Form.Client());
        ASSERT_TRUE(Drives && Dirs && Files && Filter);
        Edit->SetText(QStringLiteral("Edit1"));
        Filter->SetFilter("All files (*.*)|*.*|RichTextFiles (*.rtf)|*.rtf|Text Files|*.Txt");
        // The main window's handlers.
        Drives->BindEvent("OnChange", [this](QObject*) {
            Log.push_back("DriveChange");
            Drives->SetDirList(Dirs);
        });
        Drives->BindEvent("OnClick", [this](QObject*) {
            Log.push_back("DriveClick");
            Drives->RefreshNow();
        });
        Dirs->BindEvent("OnChange", [this](QObject*) {
            Log.push_back("DirChange " + Dirs->Directory());
            Files->RereadFiles();
        });
        Files->BindEvent("OnChange", [this](QObject*) {
            Log.push_back("FileChange " + Files->Directory());
            Files->ApplyPath(Dirs->Directory());
            Files->SetFileEdit(Edit);
        });
        Filter->BindEvent("OnChange", [this](QObject*) { Files->SetMask(Filter->CurrentMask()); });
        CreateHandles(&Form);
    }
    TForm Form;
    TDriveComboBox* Drives = nullptr;
    TDirectoryListBox* Dirs = nullptr;
    TFileListBox* Files = nullptr;
    TFilterComboBox* Filter = nullptr;
    TEdit* Edit = nullptr;
};

}  // namespace

TEST_F(BrowsePanelTest, StartUpLinksTheDirectoryListAndShowsTheMask) {
    EXPECT_EQ(Log, (std::vector<std::string>{"DriveChange", "FileChange C:\\Work"}));
    EXPECT_EQ(Drives->DirList(), Dirs);
    EXPECT_EQ(Edit->Text(), QStringLiteral("*.*"));
    EXPECT_EQ(Filter->CurrentMask(), "*.*");
}

TEST_F(BrowsePanelTest, DrivePickMovesEverythingAndTheFileListReadsTwice) {
    Log.clear();
    Drives->UserPick(2);
    EXPECT_EQ(Log, (std::vector<std::string>{"DriveClick", "DirChange D:\\", "FileChange C:\\Work",
                                             "FileChange D:\\", "DriveChange", "DriveChange"}));
    EXPECT_EQ(Files->Directory(), "D:\\");
    EXPECT_EQ(Texts(*Files), std::vector<std::string>{});  // D:\ holds only a folder
    EXPECT_EQ(Edit->Text(), QStringLiteral("*.*"));

    // A folder opened in the directory list: the same chain from its notification on.
    Dirs->SetItemIndex(1);
    Dirs->OpenSelected();
    EXPECT_EQ(Texts(*Files), (std::vector<std::string>{"a.txt", "b.rtf"}));

    // A drive without medium: the error, and the lists stay.
    Log.clear();
    EXPECT_EQ(ErrorOf([&] { Drives->UserPick(6); }), "I/O error 21");
    EXPECT_EQ(Log, (std::vector<std::string>{"DriveClick"}));
    EXPECT_EQ(Files->Directory(), "D:\\Docs");
}

TEST_F(BrowsePanelTest, FileClickAndFilterPick) {
    Files->SetItemIndex(Files->IndexOfText("readme.txt"));
    Files->NotifyChanged();  // what the click does after the toolkit's own handling
    EXPECT_EQ(Edit->Text(), QStringLiteral("readme.txt"));
    EXPECT_EQ(Files->SelectedPath(), "C:\\Work\\readme.txt");

    Filter->UserPick(2);
    EXPECT_EQ(Files->Mask(), "*.Txt");
    EXPECT_EQ(Texts(*Files), (std::vector<std::string>{"readme.txt"}));
    EXPECT_EQ(Edit->Text(), QStringLiteral("*.Txt"));
}

TEST_F(BrowsePanelTest, TheFileListsFolderGoneTheListFollowsWithoutAnError) {
    V.MakeDir("c/Work/Sub/Inner");
    Dirs->SetDirectory("C:\\Work\\Sub");
    ASSERT_EQ(Files->Directory(), "C:\\Work\\Sub");
    // Someone removes the folder and the user opens another one: the move succeeds, and the
    // file list's lost folder is no error worth a box.
    ASSERT_EQ(::rmdir(V.Sys("c/Work/Sub/Inner").c_str()), 0);
    ASSERT_EQ(::rmdir(V.Sys("c/Work/Sub").c_str()), 0);
    Dirs->SetItemIndex(0);
    EXPECT_EQ(ErrorOf([&] { Dirs->OpenSelected(); }), "");
    EXPECT_EQ(Dirs->Directory(), "C:\\");
    EXPECT_EQ(Files->Directory(), "C:\\");
    EXPECT_EQ(Edit->Text(), QStringLiteral("*.*"));
}

TEST_F(BrowsePanelTest, AFailedMoveOutOfAFolderThatIsGoneLetsItsFilesGo) {
    V.MakeDir("c/Work/Sub/Inner");
    V.MakeFile("c/Work/Sub/old.txt");
    Dirs->SetDirectory("C:\\Work\\Sub");
    ASSERT_EQ(Texts(*Files), std::vector<std::string>{"old.txt"});
    // The folder goes with its subfolder; the list still offers Inner, which fails to open.
    ASSERT_EQ(::rmdir(V.Sys("c/Work/Sub/Inner").c_str()), 0);
    ASSERT_EQ(::unlink(V.Sys("c/Work/Sub/old.txt").c_str()), 0);
    ASSERT_EQ(::rmdir(V.Sys("c/Work/Sub").c_str()), 0);
    Dirs->SetItemIndex(Dirs->Count() - 1);
    ASSERT_EQ(Dirs->ItemText(Dirs->ItemIndex()), "Inner");
    EXPECT_EQ(ErrorOf([&] { Dirs->OpenSelected(); }), "File not found")
        << "the failure of the move itself is the one reported";
    EXPECT_EQ(Dirs->Directory(), "C:\\Work\\Sub");
    EXPECT_EQ(Files->Count(), 0) << "no vanished file is shown";
}

TEST_F(BrowsePanelTest, FoldersNamedWithWildcardsOrAColonOpenLikeAnyOther) {
    for (const char* dir : {"c/Work/star*dir", "c/Work/q?dir", "c/Work/a:b"}) V.MakeDir(dir);
    V.MakeFile("c/Work/star*dir/in-star.txt");
    V.MakeFile("c/Work/q?dir/in-q.txt");
    V.MakeFile("c/Work/a:b/in-colon.txt");
    Filter->UserPick(0);  // every file
    Dirs->setGeometry(0, 0, 225, 300);
    Form.show();
    const struct {
        const char* Name;
        bool ByKey;  // Enter, else a double-click
        const char* File;
    } rows[] = {
        {"star*dir", false, "in-star.txt"}, {"q?dir", true, "in-q.txt"},
        {"a:b", false, "in-colon.txt"},     {"star*dir", true, "in-star.txt"},
        {"q?dir", false, "in-q.txt"},       {"a:b", true, "in-colon.txt"},
    };
    for (const auto& row : rows) {
        Dirs->SetDirectory("C:\\");
        Dirs->SetDirectory("C:\\Work");
        int index = -1;
        for (int i = 0; i < Dirs->Count(); ++i)
            if (Dirs->ItemText(i) == row.Name) index = i;
        ASSERT_GE(index, 0) << row.Name;
        Dirs->SetItemIndex(index);
        if (row.ByKey) {
            QTest::keyClick(Dirs, Qt::Key_Return);
        } else {
            const QRect entry = Dirs->visualRect(Dirs->model()->index(index, 0));
            QTest::mouseDClick(Dirs->viewport(), Qt::LeftButton, {}, entry.center());
        }
        EXPECT_TRUE(ErrorBoxRecorder::Take().empty()) << row.Name;
        const std::string folder = std::string("C:\\Work\\") + row.Name;
        EXPECT_EQ(Dirs->Directory(), folder);
        EXPECT_EQ(Files->Directory(), folder);
        EXPECT_EQ(Files->Mask(), "*.*") << "the folder's name never becomes the mask";
        EXPECT_EQ(Texts(*Files), std::vector<std::string>{row.File});
        EXPECT_EQ(Edit->Text(), QStringLiteral("*.*"));
    }
}

TEST_F(BrowsePanelTest, AFontChangeRefitsTheEntriesAndRebuildsTheDriveList) {
    Log.clear();
    Form.Font().SetHeight(-24);
    const int line = FontLineHeight(Form.Font());
    ASSERT_GT(line, 16);
    EXPECT_EQ(Dirs->ItemHeight(), line);
    EXPECT_EQ(Files->ItemHeight(), line);
    EXPECT_EQ(Drives->ItemHeight(), line);
    // The selector's window is made anew: filled again, its drive selected, the change raised.
    EXPECT_EQ(Log, (std::vector<std::string>{"DriveChange"}));
    EXPECT_EQ(Drives->Text(), "c: [system]");
}
