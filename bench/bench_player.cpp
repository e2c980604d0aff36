// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Player benchmark: opening a 3-minute MP3 and WAV until the device is ready with its length,
// and a position query while it plays, through the command interface and through GStreamer
// alone (playbin to paused plus a duration query) in the same run, both into the same silent
// output. Prints both figures and their ratio.
#include <gst/gst.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUrl>
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "platform/mci/Mci.h"
#include "platform/mci/MciOutput.h"
#include "tests/ToneFiles.h"

namespace {

constexpr int kMinutes3 = 3 * 60 * 1000;

// GStreamer alone: playbin to paused, then the length.
GstElement* PlaybinReady(const std::string& path, gint64& duration) {
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(sink, "sync", TRUE, nullptr);
    const std::string uri =
        QUrl::fromLocalFile(QString::fromStdString(path)).toString().toStdString();
    g_object_set(playbin, "uri", uri.c_str(), "audio-sink", sink, nullptr);
    gst_element_set_state(playbin, GST_STATE_PAUSED);
    gst_element_get_state(playbin, nullptr, nullptr, GST_CLOCK_TIME_NONE);
    gst_element_query_duration(playbin, GST_FORMAT_TIME, &duration);
    return playbin;
}

void Free(GstElement* playbin) {
    gst_element_set_state(playbin, GST_STATE_NULL);
    gst_object_unref(playbin);
}

MCIDEVICEID MciReady(const std::string& path, std::uint32_t& length) {
    MCI_OPEN_PARMS open;
    open.lpstrElementName = path.c_str();
    if (mciSendCommandA(0, MCI_OPEN, MCI_WAIT | MCI_OPEN_ELEMENT, &open) != 0) return 0;
    MCI_STATUS_PARMS status;
    status.dwItem = MCI_STATUS_LENGTH;
    mciSendCommandA(open.wDeviceID, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM, &status);
    length = status.dwReturn;
    return open.wDeviceID;
}

void CloseDevice(MCIDEVICEID id) {
    MCI_GENERIC_PARMS close;
    mciSendCommandA(id, MCI_CLOSE, MCI_WAIT, &close);
}

// Microseconds per query, the median of five rounds of 2000 queries while playing.
template <typename F>
double PerQueryUs(F query) {
    return Bench::Measure([&] {
               for (int i = 0; i < 2000; ++i) query();
           }).WallMs *
           1000.0 / 2000;
}

void BenchFile(const char* label, const std::string& path) {
    gint64 duration = 0;
    std::uint32_t length = 0;
    const Bench::Timing reference = Bench::Measure([&] { Free(PlaybinReady(path, duration)); });
    const Bench::Timing ours = Bench::Measure([&] { CloseDevice(MciReady(path, length)); });
    std::printf(
        "%s open to ready: GStreamer alone %.1f ms (length %lld ms), Quillet %.1f ms "
        "(length %u ms): %.2fx\n",
        label, reference.WallMs, static_cast<long long>(duration / GST_MSECOND), ours.WallMs,
        length, ours.WallMs / reference.WallMs);
    const std::string how = "median of 5, wall, silent output, plug-ins loaded beforehand";
    Bench::Report({Bench::Format("opening a 3-minute %s until ready with its length", label),
                   "GStreamer alone: playbin to paused and a duration query",
                   ours.WallMs / reference.WallMs, 0,
                   Bench::Format("%.1f ms against %.1f ms", ours.WallMs, reference.WallMs), how});

    GstElement* playbin = PlaybinReady(path, duration);
    gst_element_set_state(playbin, GST_STATE_PLAYING);
    const double refUs = PerQueryUs([&] {
        gint64 position = 0;
        gst_element_query_position(playbin, GST_FORMAT_TIME, &position);
    });
    Free(playbin);
    const MCIDEVICEID id = MciReady(path, length);
    MCI_PLAY_PARMS play;
    mciSendCommandA(id, MCI_PLAY, 0, &play);
    const double oursUs = PerQueryUs([&] {
        MCI_STATUS_PARMS status;
        status.dwItem = MCI_STATUS_POSITION;
        mciSendCommandA(id, MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM, &status);
    });
    CloseDevice(id);
    std::printf(
        "%s position while playing: GStreamer alone %.1f us, Quillet %.1f us: %.2fx "
        "(goal under 1000 us)\n",
        label, refUs, oursUs, oursUs / refUs);
    Bench::Report({Bench::Format("the position of a playing %s", label),
                   "GStreamer alone: a position query", oursUs / refUs, 0,
                   Bench::Format("%.1f us against %.1f us (budget 1000 us: %s)", oursUs, refUs,
                                 oursUs < 1000.0 ? "met" : "missed"),
                   "median of 5 rounds of 2000 queries while playing, wall"});
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    gst_init(&argc, &argv);
    SetMciOutput(TMciOutput::Silent);
    QTemporaryDir dir;
    const std::string mp3 = dir.path().toStdString() + "/three.mp3";
    const std::string wav = dir.path().toStdString() + "/three.wav";
    // A 3-minute MP3 as encoders write them: with the header that counts its frames.
    if (!ToneFiles::WriteMp3(mp3, kMinutes3, {2, 128, true}) ||
        !ToneFiles::WriteBytes(wav, ToneFiles::WavBytes(kMinutes3, 44100))) {
        std::fprintf(stderr, "could not write the 3-minute files\n");
        return 1;
    }
    // One open of each first, so that neither side pays for loading the plug-ins.
    gint64 warm = 0;
    Free(PlaybinReady(mp3, warm));
    Free(PlaybinReady(wav, warm));
    BenchFile("MP3", mp3);
    BenchFile("WAV", wav);
    return 0;
}
