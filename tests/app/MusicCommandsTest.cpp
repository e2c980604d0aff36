// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// "Open Music Files" and "Close Music File..." in the main window, with the player bar driven
// by the mouse as a user would.
#include <gtest/gtest.h>

#include <QMouseEvent>

#include "app/Unit7.h"
#include "platform/mci/MciOutput.h"
#include "player/TMediaPlayer.h"
#include "tests/TestSupport.h"
#include "tests/ToneFiles.h"
#include "tests/app/AppFixture.h"
#include "tests/app/FlourishCounter.h"
#include "tests/platform/mci/MciTestSupport.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TOpenDialog.h"
#include "toolkit/TSpeedButton.h"

namespace {

class MusicCommands : public AppFixture {
protected:
    void SetUp() override {
        SetMciOutput(TMciOutput::Silent);
        AppFixture::SetUp();
    }
    // "Open Music Files" answered with `path`, or cancelled.
    void OpenMusic(const std::optional<std::string>& path) {
        TOpenDialog::ExecuteHook = [=](TOpenDialog& d) -> std::optional<std::string> {
            EXPECT_EQ(d.Title(), QStringLiteral("Open Music Files"));
            return path;
        };
        Form7->findChild<TBitBtn*>(QStringLiteral("BitBtn7"))->click();
    }
    void ClickButton(TMPBtnType b) {
        TMediaPlayer* bar = Form7->MediaPlayer1;
        const QPointF at(int(b) * 28 + 14, 15);
        QMouseEvent press(QEvent::MouseButtonPress, at, bar->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, bar->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &press);
        QCoreApplication::sendEvent(bar, &release);
    }
};

TEST_F(MusicCommands, AWaveFileOpensPlaysToItsEndAndCloses) {
    TMediaPlayer* player = Form7->MediaPlayer1;
    EXPECT_EQ(player->width(), 253);
    EXPECT_EQ(player->SlotWidth(), 29);
    ASSERT_TRUE(ToneFiles::WriteWav(SystemPath("tune.wav"), 500));
    FlourishCounter flourish(Form7->Client());
    OpenMusic(SystemPath("tune.wav"));
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
    EXPECT_EQ(flourish.Shown, 1);
    ASSERT_TRUE(player->IsOpen());
    EXPECT_EQ(player->FileName(), "C:\\tune.wav");
    EXPECT_TRUE(player->Usable(btPlay));
    ClickButton(btPlay);
    EXPECT_EQ(player->DeviceMode(), pmPlaying);
    EXPECT_FALSE(player->Usable(btPlay));
    ASSERT_TRUE(WaitUntil([&] { return player->Usable(btPlay); }));
    EXPECT_EQ(player->DeviceMode(), pmStopped);
    ClickButton(btPlay);
    Form7->findChild<TSpeedButton*>(QStringLiteral("SpeedButton6"))->Click();
    EXPECT_FALSE(player->IsOpen());
    for (int b = 0; b < kPlayerButtonCount; ++b) EXPECT_FALSE(player->Usable(TMPBtnType(b)));
    Form7->findChild<TSpeedButton*>(QStringLiteral("SpeedButton6"))->Click();  // nothing open
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
}

TEST_F(MusicCommands, AFileNoDeviceOpensShowsTheErrorBoxAndNoFlourish) {
    WriteFileBytes(SystemPath("letter.mp3"), "Dear Ann, this is not a song.\n");
    FlourishCounter flourish(Form7->Client());
    OpenMusic(SystemPath("letter.mp3"));
    const auto boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 1u);
    char text[256];
    mciGetErrorStringA(MCIERR_INVALID_FILE, text, sizeof text);
    EXPECT_EQ(boxes[0].Text, text);
    EXPECT_EQ(flourish.Shown, 0);
    EXPECT_FALSE(Form7->MediaPlayer1->IsOpen());
    OpenMusic(std::nullopt);  // cancelled: nothing at all
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
    EXPECT_EQ(flourish.Shown, 0);
}

// The music dialog offers the layout's three entries in their order, then one with every other
// kind the player opens; a file of each of those kinds opens from it.
TEST_F(MusicCommands, TheMusicDialogOffersEveryKindThePlayerOpensAfterItsThreeEntries) {
    QString filter;
    TOpenDialog::ExecuteHook = [&](TOpenDialog& d) -> std::optional<std::string> {
        filter = d.Filter();
        return std::nullopt;
    };
    Form7->findChild<TBitBtn*>(QStringLiteral("BitBtn7"))->click();
    const auto pairs = TOpenDialog::FilterPairs(filter);
    ASSERT_EQ(pairs.size(), 4u) << filter.toStdString();
    const std::pair<QString, QString> layout[] = {
        {"Music file", "*.mp3"}, {"Audio CD", "*.cda"}, {"Wave File", "*.wav"}};
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(pairs[i], layout[i]);
    EXPECT_EQ(pairs[3].first, "Other music files");
    const QStringList masks = pairs[3].second.split(QLatin1Char(';'));
    for (const char* kind : {"*.flac", "*.ogg", "*.opus", "*.mp2", "*.aac"})
        EXPECT_TRUE(masks.contains(QLatin1String(kind))) << kind;
    for (const char* kind : {"flac", "ogg", "opus", "mp2"}) {
        const std::string name = std::string("tune.") + kind;
        ASSERT_TRUE(ToneFiles::WriteTone(SystemPath(name), 300)) << name;
        OpenMusic(SystemPath(name));
        EXPECT_TRUE(ErrorBoxRecorder::Take().empty()) << name;
        EXPECT_TRUE(Form7->MediaPlayer1->IsOpen()) << name;
        EXPECT_TRUE(Form7->MediaPlayer1->Usable(btPlay)) << name;
    }
}

}  // namespace
