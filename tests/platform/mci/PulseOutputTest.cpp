// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The command interface playing through a real sound server: a private PulseAudio daemon with a
// null sink, whose monitor is recorded to see when the sound really starts and stops.
#include <condition_variable>

#include "tests/PulseServer.h"
#include "tests/platform/mci/MciTestSupport.h"

namespace {

using PulseTest::Clock;
using std::chrono::milliseconds;

int MsBetween(Clock::time_point from, Clock::time_point to) {
    return int(std::chrono::duration_cast<milliseconds>(to - from).count());
}

// Ends the test program with a message when a step takes longer than it may: a hang inside the
// media framework would otherwise hold the test until its time limit, saying nothing.
class Watchdog {
public:
    Watchdog(const char* what, int seconds) : FWhat(what) {
        FThread = std::thread([this, seconds] {
            std::unique_lock<std::mutex> hold(FLock);
            if (!FDone.wait_for(hold, std::chrono::seconds(seconds), [&] { return FOver; })) {
                std::fprintf(stderr, "hung: %s\n", FWhat);
                std::_Exit(3);
            }
        });
    }
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> hold(FLock);
            FOver = true;
        }
        FDone.notify_all();
        FThread.join();
    }

private:
    const char* FWhat;
    std::mutex FLock;
    std::condition_variable FDone;
    bool FOver = false;
    std::thread FThread;
};

class PulseOutput : public MciFixture {
protected:
    void SetUp() override {
        MciFixture::SetUp();
        if (!PulseTest::Server::Installed()) GTEST_SKIP() << "the pulseaudio program is missing";
        ASSERT_TRUE(Daemon.Start()) << Daemon.Why();
        SetMciOutput(TMciOutput::Automatic);
        ASSERT_TRUE(MciHasAudioOutput())
            << "GStreamer does not reach the sound server (is gstreamer1.0-pulseaudio installed?)";
        Recorder = std::make_unique<PulseTest::MonitorRecorder>(Daemon);
        ASSERT_TRUE(Recorder->WaitForData(5000)) << "the sink's monitor records nothing";
    }
    void TearDown() override {
        Recorder.reset();
        SetMciOutput(TMciOutput::Silent);
    }

    // Plays the open device from its start; the click's time and, once the play has
    // ended, the notice's time.
    struct Played {
        Clock::time_point Click, Notice;
        std::uint32_t Code = 0;
    };
    Played PlayToTheEnd(MCIDEVICEID id, int limitMs) {
        NoticeWindow window;
        MCI_PLAY_PARMS play;
        play.dwCallback = &window;
        play.dwFrom = 0;
        Played p;
        p.Click = Clock::now();
        EXPECT_EQ(mciSendCommandA(id, MCI_PLAY, MCI_NOTIFY | MCI_FROM, &play), 0u);
        EXPECT_TRUE(WaitUntil([&] { return !window.Notices.empty(); }, limitMs));
        p.Notice = Clock::now();
        if (!window.Notices.empty()) p.Code = window.Notices[0].Code;
        return p;
    }
    // Milliseconds from the click to the first sound on the sink, or -1 for none.
    int Onset(const Played& p) const {
        const auto sound = Recorder->FirstSoundAfter(p.Click);
        return sound ? MsBetween(p.Click, *sound) : -1;
    }

    PulseTest::Server Daemon;
    std::unique_ptr<PulseTest::MonitorRecorder> Recorder;
};

// A file held open before its first play, or stopped before its next, starts its sound at the
// click, not later by the time it waited, and ends when its sound does. (The fault this catches
// delays the sound by the whole wait, seconds here; the time Play takes to sound is measured in
// bench_player.)
TEST_F(PulseOutput, SoundStartsAtTheClickHoweverLongTheFileSatOpen) {
    constexpr int kToneMs = 1500;
    constexpr int kHoldMs = 3000;
    for (const char* name : {"held.wav", "held.mp3"}) {
        SCOPED_TRACE(name);
        MCIERROR error = 0;
        const MCIDEVICEID id = OpenElement(Tone(name, kToneMs), error);
        ASSERT_EQ(error, 0u);
        const int length = int(StatusItem(id, MCI_STATUS_LENGTH));
        Drain(kHoldMs);
        for (int round = 0; round < 2; ++round) {
            SCOPED_TRACE(round == 0 ? "first play after open" : "play again after the end");
            const Played p = PlayToTheEnd(id, kToneMs + kHoldMs + 2000);
            EXPECT_EQ(p.Code, MCI_NOTIFY_SUCCESSFUL);
            const int onset = Onset(p);
            RecordProperty(std::string(name) + (round ? ".again" : ".first") + ".onset_ms", onset);
            EXPECT_GE(onset, 0) << "no sound reached the sink";
            EXPECT_LT(onset, kHoldMs / 3) << "the sound waited for the time the file sat still";
            EXPECT_NEAR(MsBetween(p.Click, p.Notice), length, 600) << "the end notice";
            WaitUntil([&] { return Recorder->QuietAfterSound(p.Click); }, 2000);
            EXPECT_NEAR(Recorder->SoundMsAfter(p.Click), length, 300) << "the sound's length";
            Drain(kHoldMs);
        }
        EXPECT_EQ(Close(id), 0u);
    }
}

// Pause and resume: the sound goes on from where it stopped, at the click.
TEST_F(PulseOutput, ResumeAfterALongPauseSoundsAtOnce) {
    MCIERROR error = 0;
    const MCIDEVICEID id = OpenElement(Tone("paused.wav", 2000), error);
    ASSERT_EQ(error, 0u);
    NoticeWindow window;
    MCI_PLAY_PARMS play;
    play.dwCallback = &window;
    ASSERT_EQ(mciSendCommandA(id, MCI_PLAY, MCI_NOTIFY, &play), 0u);
    ASSERT_TRUE(WaitUntil([&] { return StatusItem(id, MCI_STATUS_POSITION) > 700; }));
    MCI_GENERIC_PARMS generic;
    ASSERT_EQ(mciSendCommandA(id, MCI_PAUSE, MCI_WAIT, &generic), 0u);
    const std::uint32_t paused = StatusItem(id, MCI_STATUS_POSITION);
    Drain(2500);
    const Clock::time_point click = Clock::now();
    ASSERT_EQ(mciSendCommandA(id, MCI_RESUME, MCI_WAIT, &generic), 0u);
    ASSERT_TRUE(WaitUntil([&] { return !window.Notices.empty(); }, 6000));
    const Clock::time_point end = Clock::now();
    const auto sound = Recorder->FirstSoundAfter(click);
    ASSERT_TRUE(sound.has_value());
    EXPECT_LT(MsBetween(click, *sound), 800);
    EXPECT_NEAR(MsBetween(click, end), 2000 - int(paused), 600);
    EXPECT_EQ(window.Notices[0].Code, MCI_NOTIFY_SUCCESSFUL);
    Close(id);
}

// The server ends while a file plays: the play ends with a failure notice or goes on without
// sound to its end, and every later command answers; nothing waits for the lost server.
TEST_F(PulseOutput, TheServerKilledWhilePlayingNeverHangsThePlayer) {
    MCIERROR error = 0;
    const MCIDEVICEID id = OpenElement(Tone("cut-off.wav", 3000), error);
    ASSERT_EQ(error, 0u);
    NoticeWindow window;
    MCI_PLAY_PARMS play;
    play.dwCallback = &window;
    {
        Watchdog watch("play, then the server killed", 30);
        ASSERT_EQ(mciSendCommandA(id, MCI_PLAY, MCI_NOTIFY, &play), 0u);
        ASSERT_TRUE(WaitUntil([&] { return StatusItem(id, MCI_STATUS_POSITION) > 500; }));
        Recorder.reset();
        Daemon.Kill();
        // The play ends: at once with a failure, or at the file's end without the server.
        ASSERT_TRUE(WaitUntil([&] { return !window.Notices.empty(); }, 8000));
        const std::uint32_t code = window.Notices[0].Code;
        EXPECT_TRUE(code == MCI_NOTIFY_FAILURE || code == MCI_NOTIFY_SUCCESSFUL) << code;
        EXPECT_EQ(StatusItem(id, MCI_STATUS_MODE), MCI_MODE_STOP);
    }
    {
        Watchdog watch("commands after the server was killed", 30);
        // Playing again answers at once, whatever the outcome; the device still closes.
        window.Notices.clear();
        play.dwFrom = 0;
        const MCIERROR again = mciSendCommandA(id, MCI_PLAY, MCI_NOTIFY | MCI_FROM, &play);
        if (again == 0) {
            EXPECT_TRUE(WaitUntil([&] { return !window.Notices.empty(); }, 8000));
        }
        MCI_GENERIC_PARMS generic;
        EXPECT_EQ(mciSendCommandA(id, MCI_STOP, MCI_WAIT, &generic), 0u);
        EXPECT_EQ(Close(id), 0u);
        // A file opened now, with no server, still opens and plays to its end.
        const MCIDEVICEID next = OpenElement(Tone("after.wav", 500), error);
        ASSERT_EQ(error, 0u);
        window.Notices.clear();
        ASSERT_EQ(mciSendCommandA(next, MCI_PLAY, MCI_NOTIFY, &play), 0u);
        ASSERT_TRUE(WaitUntil([&] { return !window.Notices.empty(); }, 8000));
        EXPECT_EQ(Close(next), 0u);
    }
}

}  // namespace
