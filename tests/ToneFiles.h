#pragma once
// Sound files of a known length for the player's tests and benchmark: a 440 Hz tone written as
// WAV by hand, or encoded to MP3 through GStreamer's MP3 encoder. Header-only; the programs
// that include it link GStreamer.
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

// A constant-rate MP3 of `ms` milliseconds (a multiple of 100), encoded by GStreamer.
inline bool WriteMp3(const std::string& path, int ms, const Mp3Options& options = {}) {
    if (!gst_init_check(nullptr, nullptr, nullptr)) return false;
    const std::string description =
        "audiotestsrc num-buffers=" + std::to_string(ms / 100) +
        " samplesperbuffer=4410 ! audio/x-raw,rate=44100,channels=" +
        std::to_string(options.Channels) + " ! audioconvert ! lamemp3enc target=bitrate bitrate=" +
        std::to_string(options.KbitPerSecond) + " cbr=true ! " +
        (options.FrameCountHeader ? "xingmux ! " : "") + "filesink location=\"" + path + "\"";
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

}  // namespace ToneFiles
