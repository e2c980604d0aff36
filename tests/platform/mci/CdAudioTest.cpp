// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The CD device over a disc of track files: track numbering, positions in TMSF, MSF and
// milliseconds, plays that run on into the next track, and ".cda" files naming a track.
#include "platform/mci/CdAudioDisc.h"
#include "platform/mci/MciDeviceName.h"
#include "tests/platform/mci/MciTestSupport.h"

namespace {

class CdAudio : public MciFixture {
protected:
    void SetUp() override {
        MciFixture::SetUp();
        // Three tracks: 1.0 s, 0.5 s and 1.5 s.
        SetCdAudioTrackFiles({Tone("t1.wav", 1000), Tone("t2.wav", 500), Tone("t3.wav", 1500)});
    }
    void TearDown() override { SetCdAudioTrackFiles({}); }

    MCIDEVICEID OpenDisc() {
        MCI_OPEN_PARMS p;
        p.lpstrDeviceType = "cdaudio";
        EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_TYPE, &p), 0u);
        return p.wDeviceID;
    }
    static void SetFormat(MCIDEVICEID id, std::uint32_t format) {
        MCI_SET_PARMS p;
        p.dwTimeFormat = format;
        ASSERT_EQ(mciSendCommandA(id, MCI_SET, MCI_WAIT | MCI_SET_TIME_FORMAT, &p), 0u);
    }
    static void SeekTo(MCIDEVICEID id, std::uint32_t to) {
        MCI_SEEK_PARMS p;
        p.dwTo = to;
        ASSERT_EQ(mciSendCommandA(id, MCI_SEEK, MCI_WAIT | MCI_TO, &p), 0u);
    }
};

TEST_F(CdAudio, TracksArePlacesOnTheDiscInEachTimeFormat) {
    const MCIDEVICEID id = OpenDisc();
    EXPECT_EQ(StatusItem(id, MCI_STATUS_TIME_FORMAT), MCI_FORMAT_TMSF);
    EXPECT_EQ(StatusItem(id, MCI_STATUS_NUMBER_OF_TRACKS), 3u);
    EXPECT_EQ(StatusItem(id, MCI_STATUS_LENGTH), MCI_MAKE_MSF(0, 3, 0));
    EXPECT_EQ(StatusItem(id, MCI_STATUS_LENGTH, nullptr, 3), MCI_MAKE_MSF(0, 1, 37));
    const struct {
        std::uint32_t Format;
        std::uint32_t Track2Start, Track3Start;
        std::uint32_t Seek, Position;
    } cases[] = {
        {MCI_FORMAT_TMSF, MCI_MAKE_TMSF(2, 0, 0, 0), MCI_MAKE_TMSF(3, 0, 0, 0),
         MCI_MAKE_TMSF(3, 0, 1, 0), MCI_MAKE_TMSF(3, 0, 1, 0)},
        {MCI_FORMAT_MSF, MCI_MAKE_MSF(0, 1, 0), MCI_MAKE_MSF(0, 1, 37), MCI_MAKE_MSF(0, 1, 50),
         MCI_MAKE_MSF(0, 1, 50)},
        {MCI_FORMAT_MILLISECONDS, 1000, 1500, 1200, 1200},
    };
    for (const auto& c : cases) {
        SetFormat(id, c.Format);
        EXPECT_EQ(StatusItem(id, MCI_STATUS_POSITION, nullptr, 2), c.Track2Start) << c.Format;
        EXPECT_EQ(StatusItem(id, MCI_STATUS_POSITION, nullptr, 3), c.Track3Start) << c.Format;
        SeekTo(id, c.Seek);
        EXPECT_EQ(StatusItem(id, MCI_STATUS_POSITION), c.Position) << c.Format;
    }
    SetFormat(id, MCI_FORMAT_TMSF);
    MCIERROR error = 0;
    StatusItem(id, MCI_STATUS_POSITION, &error, 4);
    EXPECT_EQ(error, MCIERR_OUTOFRANGE);
    MCI_SEEK_PARMS seek;
    seek.dwTo = MCI_MAKE_TMSF(9, 0, 0, 0);
    EXPECT_EQ(mciSendCommandA(id, MCI_SEEK, MCI_TO, &seek), MCIERR_OUTOFRANGE);
    MCI_SET_PARMS bad;
    bad.dwTimeFormat = 7;
    EXPECT_EQ(mciSendCommandA(id, MCI_SET, MCI_SET_TIME_FORMAT, &bad), MCIERR_BAD_TIME_FORMAT);
    Close(id);
}

TEST_F(CdAudio, APlayRunsOnIntoTheNextTrackAndEndsWhereAsked) {
    const MCIDEVICEID id = OpenDisc();
    NoticeWindow window;
    MCI_PLAY_PARMS play;
    play.dwCallback = &window;
    play.dwFrom = MCI_MAKE_TMSF(1, 0, 0, 60);  // 0.8 s into track 1
    play.dwTo = MCI_MAKE_TMSF(2, 0, 0, 15);    // 0.2 s into track 2
    ASSERT_EQ(mciSendCommandA(id, MCI_PLAY, MCI_NOTIFY | MCI_FROM | MCI_TO, &play), 0u);
    EXPECT_EQ(MCI_TMSF_TRACK(StatusItem(id, MCI_STATUS_POSITION)), 1u);
    ASSERT_TRUE(WaitUntil([&] { return StatusItem(id, MCI_STATUS_CURRENT_TRACK) == 2; }));
    ASSERT_TRUE(WaitUntil([&] { return !window.Notices.empty(); }));
    EXPECT_EQ(window.Notices[0].Code, MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(StatusItem(id, MCI_STATUS_POSITION), MCI_MAKE_TMSF(2, 0, 0, 15));
    Close(id);
}

// Track 1's end notice still waits in the event queue when a new play opens track 2's pipeline:
// it must count as stale there, not end the new play at once.
TEST_F(CdAudio, AnEndNoticeOfTheTrackBeforeDoesNotEndTheNextTracksPlay) {
    const MCIDEVICEID id = OpenDisc();
    SetFormat(id, MCI_FORMAT_MILLISECONDS);
    NoticeWindow window;
    MCI_PLAY_PARMS first;
    first.dwCallback = &window;
    first.dwFrom = 700;
    ASSERT_EQ(mciSendCommandA(id, MCI_PLAY, MCI_NOTIFY | MCI_FROM, &first), 0u);
    // No events are handled meanwhile, so track 1's end notice stays queued.
    QElapsedTimer timer;
    timer.start();
    while (StatusItem(id, MCI_STATUS_POSITION) < 990 && timer.elapsed() < 5000) QThread::msleep(5);
    QThread::msleep(200);  // the end of stream follows the last sample
    MCI_PLAY_PARMS second;
    second.dwCallback = &window;
    second.dwFrom = 1000;  // track 2, 0.5 s long
    second.dwTo = 1500;
    ASSERT_EQ(mciSendCommandA(id, MCI_PLAY, MCI_NOTIFY | MCI_FROM | MCI_TO, &second), 0u);
    Drain(150);
    ASSERT_EQ(window.Notices.size(), 1u);
    EXPECT_EQ(window.Notices[0].Code, MCI_NOTIFY_SUPERSEDED);
    EXPECT_EQ(StatusItem(id, MCI_STATUS_MODE), MCI_MODE_PLAY);
    ASSERT_TRUE(WaitUntil([&] { return window.Notices.size() == 2; }));
    EXPECT_EQ(window.Notices[1].Code, MCI_NOTIFY_SUCCESSFUL);
    Close(id);
}

TEST_F(CdAudio, ACdaFileOpensTheDiscAtItsTrack) {
    ToneFiles::WriteBytes(Path("Track02.cda"), MakeCdaFile({2, 1, 4500, 37}));
    ToneFiles::WriteBytes(Path("Track07.cda"), MakeCdaFile({7, 1, 9000, 37}));
    MCIERROR error = 0;
    const MCIDEVICEID id = OpenElement(Path("Track02.cda"), error);
    ASSERT_EQ(error, 0u);
    EXPECT_EQ(StatusItem(id, MCI_STATUS_POSITION), MCI_MAKE_TMSF(2, 0, 0, 0));
    Close(id);
    EXPECT_EQ(OpenElement(Path("Track07.cda"), error), 0u);
    EXPECT_EQ(error, MCIERR_OUTOFRANGE) << "the disc has three tracks";
}

TEST(CdaFile, TrackFilesReadBackAndDamagedOnesAreRefused) {
    const TCdaTrackFile track{5, 0x1234, 20000, 3000};
    const std::string bytes = MakeCdaFile(track);
    const auto read = ParseCdaFile(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Track, 5u);
    EXPECT_EQ(read->StartSector, 20000u);
    EXPECT_EQ(read->LengthSectors, 3000u);
    const std::string damaged[] = {"",
                                   "RIFF",
                                   bytes.substr(0, 30),
                                   "RIFX" + bytes.substr(4),
                                   MakeCdaFile({0, 0, 0, 0}),
                                   MakeCdaFile({100, 0, 0, 0})};
    for (const std::string& d : damaged) EXPECT_FALSE(ParseCdaFile(d)) << d.size();
}

TEST(DeviceName, TheExtensionChoosesTheDevice) {
    const struct {
        const char* Name;
        TMciDeviceKind Kind;
        MCIERROR Error;
    } cases[] = {{"C:\\Music\\song.MP3", TMciDeviceKind::MpegVideo, 0},
                 {"C:\\Music\\tone.wav", TMciDeviceKind::WaveAudio, 0},
                 {"D:\\Track01.cda", TMciDeviceKind::CdAudio, 0},
                 {"/home/ann/a.ogg", TMciDeviceKind::MpegVideo, 0},
                 {"C:\\dotted.dir\\noext", TMciDeviceKind::None, MCIERR_EXTENSION_NOT_FOUND},
                 {"C:\\a.txt", TMciDeviceKind::None, MCIERR_EXTENSION_NOT_FOUND},
                 {"", TMciDeviceKind::None, MCIERR_FILENAME_REQUIRED}};
    for (const auto& c : cases) {
        MCIERROR error = 1;
        EXPECT_EQ(DeviceKindFromFileName(c.Name, error), c.Kind) << c.Name;
        EXPECT_EQ(error, c.Error) << c.Name;
    }
}

}  // namespace
