// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The directory list: entries, moves, drive changes, failures and drawing.
#include <sys/stat.h>

#include <QApplication>
#include <QKeyEvent>

#include "browse/PathShortening.h"
#include "browse/TDirectoryListBox.h"
#include "browse/TDriveComboBox.h"
#include "browse/TFileListBox.h"
#include "tests/browse/BrowseFixture.h"
#include "toolkit/TLabel.h"

namespace {

class DirListTest : public BrowseTest {
protected:
    void SetUp() override {
        Dirs.CreateHandle();
        Dirs.OnChange = [this](QObject*) { Log.push_back("change " + Dirs.Directory()); };
    }
    std::vector<const void*> Glyphs() const {
        std::vector<const void*> glyphs;
        glyphs.reserve(std::size_t(Dirs.Count()));
        for (int i = 0; i < Dirs.Count(); ++i) glyphs.push_back(Dirs.ItemObject(i));
        return glyphs;
    }
    TDirectoryListBox Dirs;
};

}  // namespace

TEST_F(DirListTest, AncestorsCurrentThenSortedVisibleSubfolders) {
    EXPECT_EQ(Texts(Dirs), (std::vector<std::string>{"C:\\", "Work", "alpha", "Beta", "Sub"}));
    const TBitmap *open = &Dirs.OpenGlyph, *cur = &Dirs.CurrentGlyph, *sub = &Dirs.ClosedGlyph;
    EXPECT_EQ(Glyphs(), (std::vector<const void*>{open, cur, sub, sub, sub}));
    EXPECT_EQ(Dirs.ItemIndex(), 1);
    EXPECT_EQ(Dirs.ItemPath(0), "C:\\");
    EXPECT_EQ(Dirs.ItemPath(1), "C:\\Work");
    EXPECT_EQ(Dirs.ItemPath(3), "C:\\Work\\Beta");
    EXPECT_EQ(Dirs.ItemPath(5), "");

    V.MakeDir("c/Work/Sub/Deep/Er");
    Dirs.SetDirectory("C:\\Work\\Sub\\Deep");
    EXPECT_EQ(Texts(Dirs), (std::vector<std::string>{"C:\\", "Work", "Sub", "Deep", "Er"}));
    EXPECT_EQ(Dirs.ItemPath(1), "C:\\Work");
    EXPECT_EQ(Dirs.ItemPath(2), "C:\\Work\\Sub");
    EXPECT_EQ(Dirs.ItemIndex(), 3);

    Dirs.SetDirectory("C:\\");  // a root is one current entry
    EXPECT_EQ(Texts(Dirs), (std::vector<std::string>{"C:\\", "Windows", "Work"}));
    EXPECT_EQ(Dirs.ItemObject(0), &Dirs.CurrentGlyph);

    Dirs.SetDirectory("\\\\srv\\share\\dir");
    EXPECT_EQ(Texts(Dirs), (std::vector<std::string>{"\\\\srv\\share\\", "dir"}));
    EXPECT_EQ(Dirs.ItemPath(0), "\\\\srv\\share\\");
}

TEST_F(DirListTest, CaseRulesOfTheVolume) {
    // Two folders that differ only in case are two folders here: both are listed.
    V.MakeDir("c/Work/beta");
    Dirs.FillFolderList();
    EXPECT_EQ(Texts(Dirs),
              (std::vector<std::string>{"C:\\", "Work", "alpha", "Beta", "beta", "Sub"}));
    EXPECT_EQ(Dirs.DisplayName("Beta"), "Beta");
    EXPECT_NE(Dirs.ComparePaths("C:\\Work\\Beta", "C:\\Work\\beta"), 0);
    EXPECT_EQ(Dirs.ComparePaths("c:\\Work", "C:\\Work"), 0);
    Dirs.SetDirectory("c:\\Work");  // the same folder: nothing happens
    EXPECT_TRUE(Log.empty());

    // A volume that neither keeps nor tells case shows names in lower case.
    TVolume d = *V.Table.Find('D');
    d.FileSystemFlags = 0;
    V.Table.Add(d);
    V.Install();
    Dirs.SetDirectory("D:\\Docs");
    EXPECT_FALSE(Dirs.VolumeKeepsCase);
    EXPECT_EQ(Dirs.DisplayName("Docs"), "docs");
    EXPECT_EQ(Dirs.ItemText(1), "Docs");  // the entry keeps the name as read
    Log.clear();
    Dirs.SetDirectory("D:\\DOCS");
    EXPECT_TRUE(Log.empty());
}

TEST_F(DirListTest, OpeningEntriesAndTheLinkedFileListMovingFirst) {
    TFileListBox files;
    files.CreateHandle();
    Dirs.SetFileList(&files);
    files.OnChange = [&](QObject*) { Log.push_back("files " + files.Directory()); };

    Dirs.SetItemIndex(1);
    Dirs.OpenSelected();  // the current entry
    EXPECT_TRUE(Log.empty());
    Dirs.SetItemIndex(4);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(&Dirs, &key);
    EXPECT_EQ(Dirs.Directory(), "C:\\Work\\Sub");
    EXPECT_EQ(Log, (std::vector<std::string>{"files C:\\Work\\Sub", "change C:\\Work\\Sub"}));
    Dirs.SetItemIndex(0);
    Dirs.OpenSelected();  // an ancestor
    EXPECT_EQ(Dirs.Directory(), "C:\\");
    EXPECT_EQ(files.Directory(), "C:\\");
    EXPECT_EQ(CurrentDirectory(), "C:\\");
}

TEST_F(DirListTest, AnotherDriveWithASelectorRebuildsAndNotifiesOnce) {
    TDriveComboBox drives;
    drives.CreateHandle();
    drives.SetDirList(&Dirs);
    int rebuilds = 0;
    QObject::connect(Dirs.model(), &QAbstractItemModel::modelReset, [&] { ++rebuilds; });
    Dirs.SetDirectory("D:\\Docs");
    EXPECT_EQ(drives.Drive(), 'd');
    EXPECT_EQ(drives.Text(), "d: [data]");
    EXPECT_EQ(Log, (std::vector<std::string>{"change D:\\Docs"}));
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(Texts(Dirs), (std::vector<std::string>{"D:\\", "Docs", "Old"}));
}

TEST_F(DirListTest, FailedMovesRaiseTheErrorAndLeaveNoStaleEntries) {
    // A subfolder removed while listed: the error, and the list shows what is there now.
    ASSERT_EQ(::rmdir(V.Sys("c/Work/alpha").c_str()), 0);
    Dirs.SetItemIndex(2);
    EXPECT_EQ(ErrorOf([&] { Dirs.OpenSelected(); }), "File not found");
    EXPECT_EQ(Texts(Dirs), (std::vector<std::string>{"C:\\", "Work", "Beta", "Sub"}));
    EXPECT_EQ(Dirs.Directory(), "C:\\Work");
    EXPECT_TRUE(Log.empty());

    EXPECT_EQ(ErrorOf([&] { Dirs.SetDrive('N'); }), "I/O error 21");
    EXPECT_EQ(ErrorOf([&] { Dirs.SetDirectory("C:\\Work\\notes.rtf\\x"); }), "I/O error 267");
    EXPECT_EQ(Dirs.Directory(), "C:\\Work");
    EXPECT_TRUE(Log.empty());

    // The current folder itself removed: its ancestors still open.
    Dirs.SetDirectory("Sub");
    ASSERT_EQ(::rmdir(V.Sys("c/Work/Sub").c_str()), 0);
    Dirs.SetItemIndex(1);
    Dirs.OpenSelected();
    EXPECT_EQ(Dirs.Directory(), "C:\\Work");
}

TEST_F(DirListTest, AFolderThatCannotBeListedShowsNoSubfolders) {
    ASSERT_EQ(::chmod(V.Sys("c/Work/Sub").c_str(), 0311), 0);  // enter, not read
    V.MakeDir("c/Work/Sub/Hidden");
    const int held = V.AsNobody([]() noexcept {
        try {
            TDirectoryListBox dirs;
            dirs.CreateHandle();
            dirs.SetDirectory("C:\\Work\\Sub");
            return dirs.Directory() == "C:\\Work\\Sub" && dirs.Count() == 3;
        } catch (...) {
            return false;
        }
    });
    if (held < 0) GTEST_SKIP() << "cannot run as an unprivileged user here";
    EXPECT_EQ(held, 1);
}

TEST_F(DirListTest, DrawsAncestorsSteppingRightAndSubfoldersOneStepDeeper) {
    Dirs.SetColor(clWhite);
    const QRgb white = 0xFFFFFF;
    // C:\Work has depth 1: C:\ at 2, Work at 6, subfolders at (1 + 1) * 4 + 2 = 10.
    const std::pair<int, int> cases[] = {{0, 2}, {1, 6}, {2, 10}, {4, 10}};
    for (auto [index, indent] : cases) {
        const QImage image = PaintEntry(Dirs, index, QSize(140, 17));
        const auto* glyph = static_cast<const TBitmap*>(Dirs.ItemObject(index));
        EXPECT_TRUE(HasGlyphAt(image, *glyph, indent, 1, white)) << index;  // (0 + 17 - 15) / 2
        const int text = FirstInkColumn(image, indent + 16, white);
        EXPECT_GE(text, indent + 16 + 4) << index;
        EXPECT_LE(text, indent + 16 + 6) << index;
    }
}

TEST_F(DirListTest, TheLabelShowsThePathShortenedToFit) {
    TLabel label;
    label.SetAutoSize(false);
    label.resize(1000, 13);
    V.MakeDir("c/Program Files/Common/Tools");
    Dirs.SetDirectory("C:\\Program Files\\Common\\Tools");
    Dirs.SetDirLabel(&label);
    EXPECT_EQ(label.Caption(), QStringLiteral("C:\\Program Files\\Common\\Tools"));

    TCanvas canvas;
    const std::string path = "C:\\Program Files\\Common\\Tools";
    const std::string shorter[] = {"C:\\...\\Common\\Tools", "C:\\...\\Tools", "...\\Tools",
                                   "Tools"};
    for (const std::string& expected : shorter)
        EXPECT_EQ(ShortenPathToWidth(path, canvas, canvas.TextWidth(expected)), expected);
    EXPECT_EQ(ShortenPathToWidth(path, canvas, 1), "Tools");  // never cut further

    std::string dir = "\\.config\\x\\";  // a folder named with a leading dot is a folder
    DropLeadingFolder(dir);
    EXPECT_EQ(dir, "\\...\\x\\");
    dir = "\\";
    DropLeadingFolder(dir);
    EXPECT_EQ(dir, "");
}
