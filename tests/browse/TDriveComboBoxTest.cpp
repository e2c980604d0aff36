// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The drive selector over a table of temporary drives.
#include <functional>

#include "browse/TDirectoryListBox.h"
#include "browse/TDriveComboBox.h"
#include "tests/browse/BrowseFixture.h"

namespace {

class DriveComboTest : public BrowseTest {
protected:
    void Watch(TDriveComboBox& drives, TDirectoryListBox* dirs = nullptr) {
        drives.OnChange = [this, &drives](QObject*) {
            Log.push_back(std::string("change ") + (drives.Drive() ? drives.Drive() : '0'));
        };
        drives.OnClick = [this](QObject*) { Log.push_back("click"); };
        if (dirs)
            dirs->OnChange = [this, dirs](QObject*) { Log.push_back("move " + dirs->Directory()); };
    }
};

}  // namespace

TEST_F(DriveComboTest, ListsEveryDriveWithItsGlyphAndLabelInTheChosenCase) {
    TDriveComboBox drives;
    drives.CreateHandle();
    EXPECT_EQ(Texts(drives),
              (std::vector<std::string>{"a:", "c: [system]", "d: [data]", "e: [audio cd]",
                                        "f: \\\\srv\\share", "g: [backup]", "n:", "r: [ram]"}));
    EXPECT_EQ(drives.ItemObject(0), &drives.FloppyGlyph);
    EXPECT_EQ(drives.ItemObject(1), &drives.FixedGlyph);
    EXPECT_EQ(drives.ItemObject(3), &drives.CDROMGlyph);
    EXPECT_EQ(drives.ItemObject(4), &drives.NetworkGlyph);
    EXPECT_EQ(drives.ItemObject(5), &drives.NetworkGlyph);
    EXPECT_EQ(drives.ItemObject(7), &drives.RAMGlyph);
    EXPECT_EQ(drives.Drive(), 'c');
    EXPECT_EQ(drives.Text(), "c: [system]");
    EXPECT_GE(drives.ItemHeight(), 11);

    Watch(drives);
    drives.SetTextCase(tcUpperCase);
    EXPECT_EQ(drives.ItemText(1), "C: [SYSTEM]");
    EXPECT_EQ(drives.ItemText(4), "F: \\\\SRV\\SHARE");
    EXPECT_EQ(drives.Drive(), 'C');
    EXPECT_EQ(drives.ItemIndex(), 1);
    EXPECT_EQ(Log, (std::vector<std::string>{"change C"}));
}

TEST_F(DriveComboTest, OpeningTheListShowsTheDrivesAsTheyAreNow) {
    V.InstallChanging();
    ChangeDirectory("C:\\Work");
    TDriveComboBox drives;
    drives.CreateHandle();
    drives.show();
    Watch(drives);
    // While the program runs a stick is plugged in and the RAM disk goes away.
    V.AddDrive('S', "usb", DRIVE_RAMDISK, "Stick");
    TVolumeTable without;
    for (const TVolume& vol : V.Table.Volumes())
        if (vol.Letter != 'R') without.Add(vol);
    V.Table = without;
    const struct {
        std::function<void()> Fill;
        std::vector<std::string> Texts;
    } fills[] = {
        {[&] { drives.showPopup(); },
         {"a:", "c: [system]", "d: [data]", "e: [audio cd]", "f: \\\\srv\\share", "g: [backup]",
          "n:", "s: [stick]"}},
        {[&] { drives.SetTextCase(tcUpperCase); },
         {"A:", "C: [SYSTEM]", "D: [DATA]", "E: [AUDIO CD]", "F: \\\\SRV\\SHARE", "G: [BACKUP]",
          "N:", "S: [STICK]"}},
    };
    for (const auto& fill : fills) {
        fill.Fill();
        drives.hidePopup();
        EXPECT_EQ(Texts(drives), fill.Texts);
        EXPECT_EQ(drives.ItemIndex(), 1) << "the current drive stays selected";
    }
    EXPECT_EQ(Log, (std::vector<std::string>{"change C"})) << "only the case change notifies";
    // The new drive can be picked and entered.
    TDirectoryListBox dirs;
    drives.SetDirList(&dirs);
    drives.UserPick(7);
    EXPECT_EQ(dirs.Directory(), "S:\\");
}

TEST_F(DriveComboTest, WindowCreationSelectsTheCurrentDriveAndNotifiesOnce) {
    TDriveComboBox drives;
    TDirectoryListBox dirs;
    Watch(drives, &dirs);
    // As the main window does: the first notification links the directory list.
    drives.OnChange = [&](QObject*) {
        Log.push_back("change");
        drives.SetDirList(&dirs);
    };
    drives.CreateHandle();
    EXPECT_EQ(Log, (std::vector<std::string>{"change"}));
    EXPECT_EQ(drives.DirList(), &dirs);
    EXPECT_EQ(dirs.Directory(), "C:\\Work");
}

TEST_F(DriveComboTest, DriveSetterDoesNothingForTheSameLetterAndClearsForZero) {
    TDriveComboBox drives;
    TDirectoryListBox dirs;
    drives.CreateHandle();
    dirs.CreateHandle();
    drives.SetDirList(&dirs);
    Watch(drives, &dirs);
    drives.SetDrive('C');
    drives.SetDrive('c');
    EXPECT_TRUE(Log.empty());

    drives.SetDrive(0);
    EXPECT_EQ(drives.ItemIndex(), -1);
    // The list has no drive 0 to go to: it stays, rebuilt, and passes the change on.
    EXPECT_EQ(Log, (std::vector<std::string>{"move C:\\Work", "change 0"}));
    EXPECT_EQ(dirs.Directory(), "C:\\Work");
}

TEST_F(DriveComboTest, UserPickClicksMovesTheListThenNotifiesTwice) {
    TDriveComboBox drives;
    TDirectoryListBox dirs;
    drives.CreateHandle();
    dirs.CreateHandle();
    drives.SetDirList(&dirs);
    Watch(drives, &dirs);
    drives.UserPick(2);
    EXPECT_EQ(Log, (std::vector<std::string>{"click", "move D:\\", "change d", "change d"}));
    EXPECT_EQ(dirs.Directory(), "D:\\");
    EXPECT_EQ(CurrentDirectory(), "D:\\");
}

TEST_F(DriveComboTest, PickingADriveWithoutMediumReportsIOError21AndNothingFollows) {
    TDriveComboBox drives;
    TDirectoryListBox dirs;
    drives.CreateHandle();
    dirs.CreateHandle();
    drives.SetDirList(&dirs);
    Watch(drives, &dirs);
    EXPECT_EQ(ErrorOf([&] { drives.UserPick(6); }), "I/O error 21");
    EXPECT_EQ(Log, (std::vector<std::string>{"click"}));
    EXPECT_EQ(drives.Drive(), 'n');  // the selector shows the pick
    EXPECT_EQ(dirs.Directory(), "C:\\Work");

    // Typing a path on the drive that the selector already shows still moves the list there.
    ASSERT_EQ(::mkdir(V.Sys("stick").c_str(), 0755), 0);
    dirs.SetDirectory("N:\\");
    EXPECT_EQ(dirs.Directory(), "N:\\");
}

TEST_F(DriveComboTest, DrawsTheGlyphAtTwoCentredAndTheTextAfterIt) {
    TDriveComboBox drives;
    drives.CreateHandle();
    drives.SetColor(clWhite);
    const QRgb white = 0xFFFFFF;
    const QImage image = PaintEntry(drives, 1, QSize(120, 18));
    // (0 + 18 - 11) / 2 = 3
    EXPECT_TRUE(HasGlyphAt(image, drives.FixedGlyph, 2, 3, white));
    const int text = FirstInkColumn(image, 18, white);  // left + glyph width + 6, plus bearing
    EXPECT_GE(text, 22);
    EXPECT_LE(text, 24);
}
