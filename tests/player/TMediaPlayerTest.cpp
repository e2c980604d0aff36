// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The player's device side on real tone files: opening, the buttons the device allows, plays
// that end and re-arm Play, Next and Previous by time and by track, notices and errors.
#include "platform/mci/CdAudioDisc.h"
#include "platform/system/FileSystem.h"
#include "tests/player/PlayerTestSupport.h"

namespace {

using TMediaPlayerTest = PlayerFixture;

TEST_F(TMediaPlayerTest, OpeningAToneFileAllowsPlayNextAndPrevOnly) {
    for (const char* name : {"tone.wav", "tone.mp3"}) {
        OpenTone(name, 1000);
        EXPECT_TRUE(Player.IsOpen());
        EXPECT_NE(Player.MciDevice(), 0u);
        EXPECT_EQ(Player.AutoEnabledSet(),
                  ButtonBit(btPlay) | ButtonBit(btNext) | ButtonBit(btPrev));
        EXPECT_EQ(Player.StepFrames(), int(Player.MediaLength() / 10));
        EXPECT_EQ(Player.DeviceFeatures(), 1 << mpCanPlay);
        EXPECT_EQ(Player.DeviceMode(), pmStopped);
        EXPECT_TRUE(Usable({btPlay, btNext, btPrev}));
        EXPECT_TRUE(Unusable({btPause, btStop, btStep, btBack, btRecord, btEject}));
    }
}

TEST_F(TMediaPlayerTest, FailedOpensRaiseTheDeviceLayersTextAndLeaveThePlayerClosed) {
    ToneFiles::WriteBytes(Path("words.mp3"), "not music at all\n");
    char text[256];
    const struct {
        std::string FileName;
        MCIERROR Code;
    } cases[] = {{Path("missing.wav"), MCIERR_FILE_NOT_FOUND},
                 {"", MCIERR_FILENAME_REQUIRED},
                 {Path("words.mp3"), MCIERR_INVALID_FILE}};
    for (const auto& c : cases) {
        Player.SetFileName(c.FileName);
        mciGetErrorStringA(c.Code, text, sizeof text);
        try {
            Player.Open();
            ADD_FAILURE() << c.FileName << " opened";
        } catch (const EMCIDeviceError& e) {
            EXPECT_EQ(e.Message, text);
        }
        EXPECT_FALSE(Player.IsOpen());
        EXPECT_EQ(Player.ErrorCode(), c.Code);
        EXPECT_EQ(Player.AutoEnabledSet(), 0);
    }
    // Without a device every command with the open check refuses; Close does nothing.
    for (auto command : {&TMediaPlayer::Play, &TMediaPlayer::Stop, &TMediaPlayer::Pause,
                         &TMediaPlayer::Next, &TMediaPlayer::Previous, &TMediaPlayer::Eject}) {
        try {
            (Player.*command)();
            ADD_FAILURE() << "a command ran without a device";
        } catch (const EMCIDeviceError& e) {
            EXPECT_EQ(e.Message, "No MCI device open");
        }
    }
    EXPECT_NO_THROW(Player.Close());
    EXPECT_EQ(Player.DeviceMode(), pmNotReady);
}

TEST_F(TMediaPlayerTest, APlayThatEndsNotifiesAndRearmsPlay) {
    OpenTone("tone.wav", 400);
    int notices = 0;
    Player.OnNotify = [&](QObject* sender) {
        EXPECT_EQ(sender, &Player);
        ++notices;
    };
    Player.Play();
    EXPECT_EQ(Player.CommandFlags(), MCI_NOTIFY) << "a play returns at once and notifies later";
    EXPECT_EQ(Player.DeviceMode(), pmPlaying);
    ASSERT_TRUE(WaitUntil([&] { return notices == 1; }));
    EXPECT_EQ(Player.NotifyResult(), nrSuccessful);
    EXPECT_EQ(Player.DeviceMode(), pmStopped);
    EXPECT_EQ(Player.MediaPosition(), Player.MediaLength());
    EXPECT_TRUE(Usable({btPlay}));
    EXPECT_TRUE(Unusable({btPause, btStop}));
    // At the end, Play rewinds first; without AutoRewind it ends where it stands.
    Player.Play();
    EXPECT_LT(Player.MediaPosition(), Player.MediaLength());
    ASSERT_TRUE(WaitUntil([&] { return notices == 2; }));
    Player.SetAutoRewind(false);
    Player.Play();
    ASSERT_TRUE(WaitUntil([&] { return notices == 3; }, 300));
    EXPECT_EQ(Player.MediaPosition(), Player.MediaLength());
}

TEST_F(TMediaPlayerTest, PauseResumeAndStopFollowTheDevicesMode) {
    OpenTone("tone.mp3", 2000);
    Player.Play();
    ASSERT_TRUE(WaitUntil([&] { return Player.MediaPosition() > 100; }));
    Player.TogglePause();
    EXPECT_EQ(Player.DeviceMode(), pmPaused);
    Player.TogglePause();
    EXPECT_EQ(Player.DeviceMode(), pmPlaying);
    Player.Stop();
    EXPECT_EQ(Player.CommandFlags(), MCI_WAIT);
    EXPECT_EQ(Player.DeviceMode(), pmStopped);
    ASSERT_TRUE(WaitUntil([&] { return Player.NotifyResult() == nrAborted; }));
    Player.TogglePause();  // stopped: neither pause nor resume
    EXPECT_EQ(Player.DeviceMode(), pmStopped);
    // The one-shot options apply to the next command only.
    Player.SetWait(false);
    Player.Stop();
    EXPECT_EQ(Player.CommandFlags(), 0u);
    Player.Stop();
    EXPECT_EQ(Player.CommandFlags(), MCI_WAIT);
}

TEST_F(TMediaPlayerTest, NextAndPreviousOutsideTracksGoToTheEndAndTheStart) {
    OpenTone("tone.wav", 1000);
    Player.SetFromPosition(300);
    Player.Play();
    Player.Next();
    EXPECT_EQ(Player.CommandFlags(), MCI_WAIT | MCI_SEEK_TO_END);
    EXPECT_EQ(Player.MediaPosition(), Player.MediaLength());
    EXPECT_EQ(Player.DeviceMode(), pmStopped);
    Player.Previous();
    EXPECT_EQ(Player.CommandFlags(), MCI_WAIT | MCI_SEEK_TO_START);
    EXPECT_EQ(Player.MediaPosition(), 0u);
}

// A disc of track files: 1.0 s, 0.5 s and 1.5 s.
class TMediaPlayerDisc : public PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        SetCdAudioTrackFiles({Tone("t1.wav", 1000), Tone("t2.wav", 500), Tone("t3.wav", 1500)});
        Player.SetDeviceType(dtCDAudio);
        Player.Open();
    }
    void TearDown() override { SetCdAudioTrackFiles({}); }
};

TEST_F(TMediaPlayerDisc, NextAndPreviousGoByTracks) {
    ASSERT_EQ(Player.DeviceTimeFormat(), MCI_FORMAT_TMSF);
    EXPECT_EQ(Player.TrackCount(), 3u);
    const struct {
        std::uint32_t From;  // where the player stands (stopped)
        bool Next;
        std::uint32_t Target;
    } cases[] = {
        {MCI_MAKE_TMSF(1, 0, 0, 30), true, MCI_MAKE_TMSF(2, 0, 0, 0)},
        {MCI_MAKE_TMSF(3, 0, 1, 0), true, MCI_MAKE_TMSF(3, 0, 0, 0)},    // the last restarts
        {MCI_MAKE_TMSF(3, 0, 0, 40), false, MCI_MAKE_TMSF(2, 0, 0, 0)},  // first second
        {MCI_MAKE_TMSF(3, 0, 1, 10), false, MCI_MAKE_TMSF(3, 0, 0, 0)},
        {MCI_MAKE_TMSF(1, 0, 0, 20), false, MCI_MAKE_TMSF(1, 0, 0, 0)},  // track 1 stays
    };
    for (const auto& c : cases) {
        MCI_SEEK_PARMS seek;
        seek.dwTo = c.From;
        ASSERT_EQ(mciSendCommandA(Player.MciDevice(), MCI_SEEK, MCI_WAIT | MCI_TO, &seek), 0u);
        c.Next ? Player.Next() : Player.Previous();
        EXPECT_EQ(Player.CommandFlags(), MCI_WAIT | MCI_TO);
        EXPECT_EQ(Player.MediaPosition(), c.Target) << std::hex << c.From;
        EXPECT_EQ(Player.DeviceMode(), pmStopped);
    }
}

TEST_F(TMediaPlayerDisc, DuringPlayNextPlaysOnFromTheNextTrackAsAPlay) {
    Player.Play();
    ASSERT_EQ(Player.DeviceMode(), pmPlaying);
    Player.Next();
    EXPECT_EQ(Player.PressedButton(), btPlay);
    EXPECT_EQ(Player.DeviceMode(), pmPlaying);
    EXPECT_EQ(MCI_TMSF_TRACK(Player.MediaPosition()), 2u);
    Player.Previous();  // within the first second of track 2: back to track 1
    EXPECT_EQ(MCI_TMSF_TRACK(Player.MediaPosition()), 1u);
    EXPECT_EQ(Player.DeviceMode(), pmPlaying);
    Player.Stop();
}

TEST_F(TMediaPlayerTest, NoticeCodesSetTheResultAndAlwaysRaiseOnNotify) {
    int raised = 0;
    Player.OnNotify = [&](QObject*) { ++raised; };
    const struct {
        std::uint32_t Code;
        TNotifyResult Result;
    } cases[] = {{MCI_NOTIFY_ABORTED, nrAborted},
                 {16, nrAborted},  // unknown: unchanged
                 {MCI_NOTIFY_SUPERSEDED, nrSuperseded},
                 {MCI_NOTIFY_FAILURE, nrFailure},
                 {MCI_NOTIFY_SUCCESSFUL, nrSuccessful}};
    for (const auto& c : cases) {
        TMciNotifyEvent notice(c.Code, 0);
        QCoreApplication::sendEvent(&Player, &notice);
        EXPECT_EQ(Player.NotifyResult(), c.Result) << c.Code;
    }
    EXPECT_EQ(raised, 5);
}

TEST_F(TMediaPlayerTest, ASecondOpenWhilePlayingClosesTheFirstDevice) {
    OpenTone("first.wav", 2000);
    Player.Play();
    const MCIDEVICEID first = Player.MciDevice();
    OpenTone("second.mp3", 1000);
    EXPECT_NE(Player.MciDevice(), first);
    MCIERROR error = 0;
    StatusItem(first, MCI_STATUS_MODE, &error);
    EXPECT_EQ(error, MCIERR_INVALID_DEVICE_ID);
    Drain(100);  // the first play's aborted notice changes nothing on the new device
    EXPECT_EQ(Player.DeviceMode(), pmStopped);
    EXPECT_TRUE(Usable({btPlay, btNext, btPrev}));
    // A program path (C:\...) reaches the same file.
    Player.SetFileName(FromSystemPath(Path("second.mp3")));
    EXPECT_NO_THROW(Player.Open());
}

TEST_F(TMediaPlayerTest, AChosenDeviceTypeOpensTheChosenFile) {
    Tone("tone.wav", 500);
    Player.SetDeviceType(dtWaveAudio);
    Player.SetFileName(Path("tone.wav"));
    ASSERT_NO_THROW(Player.Open());
    EXPECT_EQ(Player.MediaLength(), 500u);
    Player.SetDeviceType(dtSequencer);
    EXPECT_THROW(Player.Open(), EMCIDeviceError);
    EXPECT_FALSE(Player.IsOpen()) << "the failed reopen leaves the player closed";
}

TEST(TMediaPlayerLife, DestroyingAPlayingPlayerClosesItsDevice) {
    SetMciOutput(TMciOutput::Silent);
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/t.wav";
    ToneFiles::WriteWav(path, 3000);
    auto* player = new TMediaPlayer;
    player->SetFileName(path);
    player->Open();
    player->Play();
    const MCIDEVICEID id = player->MciDevice();
    delete player;
    MCIERROR error = 0;
    StatusItem(id, MCI_STATUS_MODE, &error);
    EXPECT_EQ(error, MCIERR_INVALID_DEVICE_ID);
    Drain(100);  // its notice finds no window and is dropped
}

}  // namespace
