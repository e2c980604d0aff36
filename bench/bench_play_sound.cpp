// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Play to sound through a real sound server: a private PulseAudio daemon with a null sink whose
// monitor is recorded, the time from the click on Play to the first sound there. A file is
// opened and left for a second first, as a user picks a file and then presses Play. Against,
// in the same run, GStreamer alone: a playbin started straight to playing, and a playbin held
// paused for the same second before it plays (how the device used to wait).
#include <gst/gst.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "platform/mci/Mci.h"
#include "platform/mci/MciOutput.h"
#include "tests/PulseServer.h"
#include "tests/ToneFiles.h"

namespace {

using PulseTest::Clock;

constexpr int kToneMs = 1500;
constexpr int kHoldMs = 1000;

double MsSince(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void RunEventsFor(int ms) {
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < until) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
}

// Notes the end notice of a play.
class NoticeCatcher : public QObject {
public:
    bool Ended = false;

protected:
    void customEvent(QEvent* event) override {
        if (event->type() == TMciNotifyEvent::EventType()) Ended = true;
    }
};

// Milliseconds from `click` to the first sound the monitor heard, or -1.
double Onset(const PulseTest::MonitorRecorder& recorder, Clock::time_point click) {
    const auto sound = recorder.FirstSoundAfter(click);
    return sound ? MsSince(click, *sound) : -1;
}

double QuilletOnset(const PulseTest::MonitorRecorder& recorder, const std::string& path) {
    MCI_OPEN_PARMS open;
    open.lpstrElementName = path.c_str();
    if (mciSendCommandA(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT, &open) != 0) return -1;
    RunEventsFor(kHoldMs);
    NoticeCatcher catcher;
    MCI_PLAY_PARMS play;
    play.dwCallback = &catcher;
    const Clock::time_point click = Clock::now();
    mciSendCommandA(open.wDeviceID, MCI_PLAY, MCI_NOTIFY, &play);
    for (int i = 0; i < 500 && !catcher.Ended; ++i) RunEventsFor(10);
    MCI_GENERIC_PARMS close;
    mciSendCommandA(open.wDeviceID, MCI_CLOSE, MCI_WAIT, &close);
    return Onset(recorder, click);
}

// GStreamer alone, to the automatic sink; with `holdMs` the playbin waits paused that long.
double PlaybinOnset(const PulseTest::MonitorRecorder& recorder, const std::string& path,
                    int holdMs) {
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    const std::string uri =
        QUrl::fromLocalFile(QString::fromStdString(path)).toString().toStdString();
    g_object_set(playbin, "uri", uri.c_str(), nullptr);
    if (holdMs > 0) {
        gst_element_set_state(playbin, GST_STATE_PAUSED);
        gst_element_get_state(playbin, nullptr, nullptr, GST_CLOCK_TIME_NONE);
        RunEventsFor(holdMs);
    }
    const Clock::time_point click = Clock::now();
    gst_element_set_state(playbin, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(playbin);
    GstMessage* end = gst_bus_timed_pop_filtered(
        bus, 10 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    if (end) gst_message_unref(end);
    gst_object_unref(bus);
    gst_element_set_state(playbin, GST_STATE_NULL);
    gst_object_unref(playbin);
    return Onset(recorder, click);
}

template <typename F>
double MedianOf5(F run) {
    std::vector<double> values;
    for (int i = 0; i < 5; ++i) {
        values.push_back(run());
        RunEventsFor(300);  // the last sound leaves the monitor before the next round
    }
    return Bench::Median(values);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    gst_init(&argc, &argv);
    if (!PulseTest::Server::Installed()) {
        std::printf("no pulseaudio program here: nothing measured\n");
        return 0;
    }
    PulseTest::Server server;
    if (!server.Start()) {
        std::fprintf(stderr, "the sound server would not start: %s\n", server.Why().c_str());
        return 1;
    }
    SetMciOutput(TMciOutput::Automatic);
    if (!MciHasAudioOutput()) {
        std::fprintf(stderr, "GStreamer does not reach the sound server\n");
        return 1;
    }
    PulseTest::MonitorRecorder recorder(server);
    if (!recorder.WaitForData(5000)) {
        std::fprintf(stderr, "the monitor records nothing\n");
        return 1;
    }
    QTemporaryDir dir;
    for (const char* name : {"tone.wav", "tone.mp3"}) {
        const std::string path = dir.path().toStdString() + "/" + name;
        if (!ToneFiles::WriteTone(path, kToneMs)) return 1;
        PlaybinOnset(recorder, path, 0);  // plug-ins loaded before anything is timed
        const double fresh = MedianOf5([&] { return PlaybinOnset(recorder, path, 0); });
        const double held = MedianOf5([&] { return PlaybinOnset(recorder, path, kHoldMs); });
        const double ours = MedianOf5([&] { return QuilletOnset(recorder, path); });
        std::printf(
            "%s play to sound, after %d ms open: Quillet %.0f ms; GStreamer alone %.0f ms "
            "started at once, %.0f ms held paused first: %.2fx (goal under 200 ms)\n",
            name, kHoldMs, ours, fresh, held, ours / fresh);
        Bench::Report(
            {Bench::Format("play to sound on a sound server, %s open for %d ms", name, kHoldMs),
             "GStreamer alone: a playbin started straight to playing", ours / fresh, 0,
             Bench::Format("%.0f ms against %.0f ms (a playbin held paused first: %.0f "
                           "ms; budget 200 ms: %s)",
                           ours, fresh, held, ours < 200 ? "met" : "missed"),
             "median of 5, wall, from the call to the first sound on a null sink's "
             "monitor (10 ms blocks)"});
    }
    return 0;
}
