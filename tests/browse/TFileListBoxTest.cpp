// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The file list: reading, masks and attributes, typed paths, the edit box, failures, drawing.
#include <sys/stat.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <functional>

#include "browse/TFileListBox.h"
#include "tests/browse/BrowseFixture.h"
#include "toolkit/TCursor.h"
#include "toolkit/TEdit.h"

namespace {

class FileListTest : public BrowseTest {
protected:
    void SetUp() override {
        Files.OnChange = [this](QObject*) { Log.push_back("change " + Files.Directory()); };
        Files.CreateHandle();
    }
    TFileListBox Files;
};

}  // namespace

TEST_F(FileListTest, ReadsSortedFilesWithGlyphsAndNotifiesOnEveryRead) {
    EXPECT_EQ(Log, (std::vector<std::string>{"change C:\\Work"}));  // the first reading
    EXPECT_EQ(Texts(Files),
              (std::vector<std::string>{"Makefile", "notes.rtf", "readme.txt", "SETUP.EXE"}));
    EXPECT_EQ(Files.ItemObject(0), &Files.UnknownGlyph);
    EXPECT_EQ(Files.ItemObject(3), &Files.ExecutableGlyph);
    Files.RereadFiles();
    EXPECT_EQ(Log.size(), 2u);

    TFileListBox unshown;  // no window yet: nothing is read or raised
    unshown.OnChange = [this](QObject*) { Log.push_back("unshown"); };
    unshown.RereadFiles();
    EXPECT_EQ(unshown.Count(), 0);
    EXPECT_EQ(Log.size(), 2u);
}

TEST_F(FileListTest, MasksAndAttributes) {
    Files.SetMask("*.rtf;*.txt");
    EXPECT_EQ(Texts(Files), (std::vector<std::string>{"notes.rtf", "readme.txt"}));
    Files.SetMask("*.rtf;");  // an empty piece adds nothing
    EXPECT_EQ(Texts(Files), (std::vector<std::string>{"notes.rtf"}));
    Files.SetMask("*.rtf;*.RTF");  // a file that two pieces match is there twice
    EXPECT_EQ(Texts(Files), (std::vector<std::string>{"notes.rtf", "notes.rtf"}));
    Log.clear();
    Files.SetMask("*.rtf;*.RTF");
    EXPECT_TRUE(Log.empty());

    Files.SetMask("*.*");
    Files.SetFileType(FileTypeOf({ftNormal, ftHidden}));
    EXPECT_EQ(Texts(Files), (std::vector<std::string>{".profile", "Makefile", "notes.rtf",
                                                      "readme.txt", "SETUP.EXE"}));
    Files.SetFileType(FileTypeOf({ftNormal, ftDirectory}));
    std::vector<std::string> texts = Texts(Files);
    ASSERT_EQ(texts.size(), 9u);
    std::sort(texts.begin(), texts.begin() + 2);  // "[.]" and "[..]" in the locale's order
    EXPECT_EQ(texts,
              (std::vector<std::string>{"[..]", "[.]", "[alpha]", "[Beta]", "[Sub]", "Makefile",
                                        "notes.rtf", "readme.txt", "SETUP.EXE"}));
    EXPECT_EQ(Files.ItemObject(2), nullptr);  // folders carry a glyph only with ShowGlyphs
    Files.SetFileType(FileTypeOf({ftDirectory}));
    EXPECT_EQ(Texts(Files).size(), 5u);
}

TEST_F(FileListTest, ReadOnlyFilesAloneForAnUnprivilegedUser) {
    V.MakeFile("c/Work/locked.txt");
    ASSERT_EQ(::chmod(V.Sys("c/Work/locked.txt").c_str(), 0444), 0);
    const int held = V.AsNobody([]() noexcept {
        try {
            TFileListBox files;
            files.CreateHandle();
            files.SetFileType(FileTypeOf({ftReadOnly}));
            // root made every file, so nobody may write any of them
            return files.Count() == 5 && files.IndexOfText("locked.txt") >= 0;
        } catch (...) {
            return false;
        }
    });
    if (held < 0) GTEST_SKIP() << "cannot run as an unprivileged user here";
    EXPECT_EQ(held, 1);
}

TEST_F(FileListTest, SelectionPathAndEditBox) {
    TEdit edit;
    edit.SetText(QStringLiteral("Edit1"));
    EXPECT_EQ(Files.SelectedPath(), "");
    Files.SetFileEdit(&edit);
    EXPECT_EQ(edit.Text(), QStringLiteral("*.*"));

    Files.SetFileType(FileTypeOf({ftNormal, ftDirectory}));
    Files.SelectName("[sub]");
    EXPECT_EQ(Files.SelectedName(), "[Sub]");
    EXPECT_EQ(Files.SelectedPath(), "C:\\Work\\[Sub]");
    EXPECT_EQ(edit.Text(), QStringLiteral("[Sub]"));
    EXPECT_EQ(edit.selectedText(), QStringLiteral("[Sub]"));

    // A user's click notifies only when it changes the selection.
    Log.clear();
    const int notes = Files.IndexOfText("notes.rtf");
    const QPoint at = Files.visualRect(Files.model()->index(notes, 0)).center();
    for (int i = 0; i < 2; ++i) {
        QMouseEvent press(QEvent::MouseButtonPress, at, Files.viewport()->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Files.viewport(), &press);
    }
    EXPECT_EQ(Log.size(), 1u);
    EXPECT_EQ(edit.Text(), QStringLiteral("notes.rtf"));
    EXPECT_EQ(Files.LastSelIndex, notes);

    Files.RereadFiles();  // a re-read empties the selection
    EXPECT_EQ(edit.Text(), QStringLiteral("*.*"));
}

TEST_F(FileListTest, ApplyPathMovesMasksAndSelects) {
    Files.ApplyPath("C:\\Work");  // the folder it lists already
    EXPECT_EQ(Log.size(), 1u);

    Files.ApplyPath("D:\\Docs\\*.txt");
    EXPECT_EQ(Files.Directory(), "D:\\Docs");
    EXPECT_EQ(Files.Mask(), "*.txt");
    EXPECT_EQ(Texts(Files), (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(Log.size(), 3u);  // one read per change

    Files.ApplyPath("b.rtf");  // hidden by the mask: it becomes the mask, selected
    EXPECT_EQ(Files.Mask(), "b.rtf");
    EXPECT_EQ(Files.SelectedPath(), "D:\\Docs\\b.rtf");

    Files.ApplyPath("[Old]");
    EXPECT_EQ(Files.Directory(), "D:\\Docs\\Old");
    Files.ApplyPath("..");
    EXPECT_EQ(Files.Directory(), "D:\\Docs");
    Files.ApplyPath("\\\\srv\\share\\dir");
    EXPECT_EQ(Files.Directory(), "\\\\srv\\share\\dir");

    Files.ApplyPath("C:\\Work\\*.t?t");
    EXPECT_EQ(Texts(Files), (std::vector<std::string>{"readme.txt"}));
    Files.SetMask("*.*");
    Files.SelectName("README.TXT");  // no entry has these letters: the one that differs in case
    EXPECT_EQ(Files.SelectedName(), "readme.txt");
    // On this volume case tells names apart: typed in other letters the file is not there.
    EXPECT_EQ(ErrorOf([&] { Files.ApplyPath("README.TXT"); }), "File not found");
}

TEST_F(FileListTest, ApplyPathRejectsWhatIsNeitherFileNorFolder) {
    EXPECT_EQ(ErrorOf([&] { Files.ApplyPath("C:\\Work\\missing.txt"); }), "File not found");
    EXPECT_EQ(ErrorOf([&] { Files.ApplyPath("nothing"); }), "File not found");
    EXPECT_EQ(ErrorOf([&] { Files.ApplyPath("C:\\No\\Such\\x.txt"); }), "Invalid filename");
    ::mkfifo(V.Sys("c/Work/pipe").c_str(), 0644);  // neither a regular file nor a folder
    Files.SetFileType(FileTypeOf({ftNormal, ftSystem}));
    EXPECT_GE(Files.IndexOfText("pipe"), 0);
    Files.ApplyPath("pipe");
    EXPECT_EQ(Files.SelectedName(), "pipe");
    EXPECT_EQ(Files.Directory(), "C:\\Work");
}

TEST_F(FileListTest, NamesThatAreNotUTF8KeepTheirBytes) {
    V.MakeFile("c/Work/caf\xe9.txt");  // Latin-1, not UTF-8
    Files.RereadFiles();
    const int index = Files.IndexOfText("caf\xe9.txt");
    ASSERT_GE(index, 0);
    Files.SetItemIndex(index);
    EXPECT_EQ(Files.SelectedPath(), "C:\\Work\\caf\xe9.txt");
    EXPECT_TRUE(FileExists(Files.SelectedPath()));
    ::unlink(V.Sys("c/Work/caf\xe9.txt").c_str());  // Qt cannot remove this name itself
}

TEST_F(FileListTest, AVanishedFolderEmptiesTheListAndIsReportedUnlessTheOwnerMovesIt) {
    // The owner's answer to a change, as the main window gives it: follow another list, which
    // may itself stand in a folder that has gone.
    const struct {
        const char* FollowTo;
        const char* Error;
        std::vector<std::string> Log;
        const char* Directory;
    } rows[] = {
        {"C:\\Work", "", {"change C:\\Temp 0", "change C:\\Work 4"}, "C:\\Work"},
        {"C:\\Temp", "File not found", {"change C:\\Temp 0"}, "C:\\Temp"},
        {"C:\\Gone\\Too", "Invalid filename", {"change C:\\Temp 0"}, "C:\\Temp"},
    };
    for (const auto& row : rows) {
        V.MakeDir("c/Temp");
        V.MakeFile("c/Temp/old.txt");
        Files.OnChange = nullptr;
        Files.SetDirectory("C:\\Work");
        Files.SetDirectory("C:\\Temp");
        ASSERT_EQ(Files.Count(), 1);
        TScreen::SetCursor(crHandPoint);
        ASSERT_EQ(::unlink(V.Sys("c/Temp/old.txt").c_str()), 0);
        ASSERT_EQ(::rmdir(V.Sys("c/Temp").c_str()), 0);
        const std::string followTo = row.FollowTo;
        Files.OnChange = [this, followTo](QObject*) {
            Log.push_back("change " + Files.Directory() + " " + std::to_string(Files.Count()));
            Files.SetDirectory(followTo);
        };
        Log.clear();
        EXPECT_EQ(ErrorOf([&] { Files.RereadFiles(); }), row.Error) << row.FollowTo;
        EXPECT_EQ(Log, row.Log) << row.FollowTo;
        EXPECT_EQ(Files.Directory(), row.Directory);
        EXPECT_EQ(TScreen::Cursor(), crHandPoint);  // the cursor is back as it was
        TScreen::SetCursor(crDefault);
    }
}

TEST_F(FileListTest, EveryReadingShowsItsFirstEntries) {
    V.MakeDir("c/Many");
    for (int i = 0; i < 200; ++i) V.MakeFile("c/Many/f" + std::to_string(1000 + i) + ".dat");
    V.MakeDir("c/Few");
    V.MakeFile("c/Few/a.txt");
    Files.resize(145, 105);
    Files.show();
    Files.SetDirectory("C:\\Many");
    // The user scrolls down; each way of reading the list again starts at the top.
    const std::function<void()> reads[] = {
        [&] { Files.RereadFiles(); },
        [&] { Files.SetMask("f1*.dat"); },
        [&] { Files.SetDirectory("C:\\Work"), Files.SetDirectory("C:\\Many"); },
    };
    for (const auto& read : reads) {
        Files.scrollToBottom();
        ASSERT_GT(Files.verticalScrollBar()->value(), 0);
        read();
        EXPECT_EQ(Files.verticalScrollBar()->value(), 0);
        EXPECT_EQ(Files.indexAt(QPoint(2, 2)).row(), 0) << "the first entry is at the top";
    }
}

TEST_F(FileListTest, ManyFilesAllListedInOrder) {
    V.MakeDir("c/Many");
    for (int i = 0; i < 300; ++i) V.MakeFile("c/Many/f" + std::to_string((i * 37) % 300) + ".dat");
    Files.SetDirectory("C:\\Many");
    ASSERT_EQ(Files.Count(), 300);
    for (int i = 1; i < Files.Count(); ++i)
        EXPECT_LE(AnsiCompareFileName(Files.ItemText(i - 1), Files.ItemText(i)), 0);
}

TEST_F(FileListTest, DrawsTextAtTwoOrAfterTheGlyph) {
    Files.SetColor(clWhite);
    const QRgb white = 0xFFFFFF;
    const int setup = Files.IndexOfText("SETUP.EXE");
    int text = FirstInkColumn(PaintEntry(Files, setup, QSize(140, 16)), 0, white);
    EXPECT_GE(text, 2);
    EXPECT_LE(text, 4);

    Files.SetShowGlyphs(true);
    EXPECT_GE(Files.ItemHeight(), 16);
    const QImage image = PaintEntry(Files, setup, QSize(140, 17));
    EXPECT_TRUE(HasGlyphAt(image, Files.ExecutableGlyph, 2, 1, white));  // (0 + 17 - 15) / 2
    text = FirstInkColumn(image, 18, white);
    EXPECT_GE(text, 16 + 6);
    EXPECT_LE(text, 16 + 8);
}
