// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Sound files of a known length for the player's tests and benchmark: a 440 Hz tone written as
// WAV by hand, or encoded through GStreamer's encoders (MP3, FLAC, Ogg Vorbis, Opus, MP2, AAC).
// Header-only; the programs that include it link GStreamer.
#include <gst/gst.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>

namespace ToneFiles {

inline void Put(std::string& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b += char(v >> (8 * i) & 0xFF);
}

// A 16-bit mono WAV file of `ms` milliseconds; `claimedDataBytes` (when not 0) is written into
// the header instead of the true size, for files whose header lies.
inline std::string WavBytes(int ms, int rate = 8000, std::uint32_t claimedDataBytes = 0) {
    const std::uint32_t samples = std::uint32_t(std::int64_t(rate) * ms / 1000);
    const std::uint32_t data = samples * 2;
    const std::uint32_t said = claimedDataBytes ? claimedDataBytes : data;
    std::string b = "RIFF";
    Put(b, 36 + said, 4);
    b += "WAVEfmt ";
    Put(b, 16, 4);
    Put(b, 1, 2);  // PCM
    Put(b, 1, 2);  // mono
    Put(b, std::uint32_t(rate), 4);
    Put(b, std::uint32_t(rate) * 2, 4);
    Put(b, 2, 2);
    Put(b, 16, 2);
    b += "data";
    Put(b, said, 4);
    for (std::uint32_t i = 0; i < samples; ++i)
        Put(b, std::uint32_t(std::int16_t(8000 * std::sin(i * 2 * M_PI * 440 / rate))) & 0xFFFF, 2);
    return b;
}

inline bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

inline bool WriteWav(const std::string& path, int ms) {
    return WriteBytes(path, WavBytes(ms));
}

struct Mp3Options {
    int Channels = 1;
    int KbitPerSecond = 64;
    // The header that counts the file's frames, as encoders write it.
    bool FrameCountHeader = false;
};

// A tone of `ms` milliseconds (a multiple of 100) at 44.1 kHz, encoded by GStreamer through
// `encoder` (the elements after the raw sound, as a launch line) into `path`.
inline bool WriteEncoded(const std::string& path, int ms, int channels,
                         const std::string& encoder) {
    if (!gst_init_check(nullptr, nullptr, nullptr)) return false;
    const std::string description =
        "audiotestsrc num-buffers=" + std::to_string(ms / 100) +
        " samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=" + std::to_string(channels) +
        " ! audioconvert ! " + encoder + " ! filesink location=\"" + path + "\"";
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
    if (error) {
        g_error_free(error);
        if (pipeline) gst_object_unref(pipeline);
        return false;
    }
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    // Encoding runs far faster than playing; a minute for each ten of sound is ample.
    const GstClockTime limit = GST_SECOND * GstClockTime(60 + ms / 10000);
    GstMessage* end =
        gst_bus_timed_pop_filtered(bus, limit, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ok = end && GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS;
    if (end) gst_message_unref(end);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return ok;
}

// A constant-rate MP3 of `ms` milliseconds (a multiple of 100), encoded by GStreamer.
inline bool WriteMp3(const std::string& path, int ms, const Mp3Options& options = {}) {
    return WriteEncoded(
        path, ms, options.Channels,
        "lamemp3enc target=bitrate bitrate=" + std::to_string(options.KbitPerSecond) + " cbr=true" +
            (options.FrameCountHeader ? " ! xingmux" : ""));
}

// The encoder for a file of this extension, or empty for one the tests cannot make: MP3 and
// the other compressed kinds the player opens, ADTS AAC among them.
inline std::string EncoderFor(const std::string& extension) {
    if (extension == "mp3") return "lamemp3enc target=bitrate bitrate=64 cbr=true";
    if (extension == "flac") return "flacenc";
    if (extension == "ogg") return "vorbisenc ! oggmux";
    if (extension == "opus") return "audioresample ! opusenc ! oggmux";
    if (extension == "mp2") return "twolamemp2enc";
    if (extension == "aac") return "avenc_aac ! aacparse ! audio/mpeg,stream-format=adts";
    return {};
}

// A tone file of the kind its name's extension says, through its encoder; WAV contents for
// ".wav" and for any extension without an encoder here.
inline bool WriteTone(const std::string& path, int ms) {
    const std::size_t dot = path.rfind('.');
    const std::string encoder = EncoderFor(dot == std::string::npos ? "" : path.substr(dot + 1));
    return encoder.empty() ? WriteWav(path, ms) : WriteEncoded(path, ms, 1, encoder);
}

}  // namespace ToneFiles
