// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/mci/MciDeviceName.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : char(c);
    });
    return out;
}

// The extension from the last '.' after the last separator, without the dot, in lower case.
std::string Extension(std::string_view fileName) {
    const std::size_t sep = fileName.find_last_of("\\/:");
    const std::size_t start = sep == std::string_view::npos ? 0 : sep + 1;
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || dot < start) return {};
    return Lower(fileName.substr(dot + 1));
}

std::uint32_t Read32(std::string_view b, std::size_t at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 |
           std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
unsigned Read16(std::string_view b, std::size_t at) {
    return unsigned(std::uint8_t(b[at])) | unsigned(std::uint8_t(b[at + 1])) << 8;
}
void Put32(std::string& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b += char(v >> (8 * i) & 0xFF);
}
void Put16(std::string& b, unsigned v) {
    b += char(v & 0xFF);
    b += char(v >> 8 & 0xFF);
}

}  // namespace

TMciDeviceKind DeviceKindFromTypeName(std::string_view name, MCIERROR& error) {
    error = 0;
    const std::string n = Lower(name);
    if (n == "waveaudio") return TMciDeviceKind::WaveAudio;
    if (n == "mpegvideo") return TMciDeviceKind::MpegVideo;
    if (n == "cdaudio") return TMciDeviceKind::CdAudio;
    static constexpr std::array<const char*, 10> known = {
        "avivideo", "dat",     "digitalvideo", "mmmovie", "other",
        "overlay",  "scanner", "sequencer",    "vcr",     "videodisc"};
    const bool published =
        std::any_of(known.begin(), known.end(), [&](const char* k) { return n == k; });
    error = published ? MCIERR_DEVICE_NOT_INSTALLED : MCIERR_INVALID_DEVICE_NAME;
    return TMciDeviceKind::None;
}

TMciDeviceKind DeviceKindFromFileName(std::string_view fileName, MCIERROR& error) {
    error = 0;
    if (fileName.empty()) {
        error = MCIERR_FILENAME_REQUIRED;
        return TMciDeviceKind::None;
    }
    const std::string ext = Extension(fileName);
    if (ext == "wav") return TMciDeviceKind::WaveAudio;
    if (ext == "cda") return TMciDeviceKind::CdAudio;
    const auto& all = MusicFileExtensions();
    if (!ext.empty() && std::find(all.begin(), all.end(), ext) != all.end())
        return TMciDeviceKind::MpegVideo;
    error = MCIERR_EXTENSION_NOT_FOUND;
    return TMciDeviceKind::None;
}

const std::vector<std::string>& MusicFileExtensions() {
    // After the three the main window's dialog names, the compressed kinds GStreamer plays:
    // FLAC, Ogg (Vorbis, Opus), MPEG audio layers 1 and 2, AAC (ADTS and MPEG-4), WMA, AIFF
    // and Sun audio.
    static const std::vector<std::string> extensions = {"mp3",  "wav", "cda",  "flac", "ogg", "oga",
                                                        "opus", "mp2", "mp1",  "mpa",  "m4a", "aac",
                                                        "wma",  "aif", "aiff", "au"};
    return extensions;
}

std::string MusicFileExtensionsText() {
    const auto& all = MusicFileExtensions();
    std::string text;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (i > 0) text += i + 1 == all.size() ? " or " : ", ";
        text += "." + all[i];
    }
    return text;
}

const char* DeviceKindName(TMciDeviceKind kind) {
    switch (kind) {
        case TMciDeviceKind::WaveAudio:
            return "waveaudio";
        case TMciDeviceKind::MpegVideo:
            return "mpegvideo";
        case TMciDeviceKind::CdAudio:
            return "cdaudio";
        case TMciDeviceKind::None:
            break;
    }
    return "";
}

std::optional<TCdaTrackFile> ParseCdaFile(std::string_view bytes) {
    // RIFF header, then chunks; the "fmt " chunk holds version, track, serial, start, length.
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "CDDA")
        return std::nullopt;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string_view id = bytes.substr(at, 4);
        const std::uint32_t size = Read32(bytes, at + 4);
        const std::size_t body = at + 8;
        if (size > bytes.size() - body) return std::nullopt;
        if (id == "fmt ") {
            if (size < 16) return std::nullopt;
            TCdaTrackFile t;
            t.Track = Read16(bytes, body + 2);
            t.Serial = Read32(bytes, body + 4);
            t.StartSector = Read32(bytes, body + 8);
            t.LengthSectors = Read32(bytes, body + 12);
            if (t.Track < 1 || t.Track > 99) return std::nullopt;
            return t;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

std::string MakeCdaFile(const TCdaTrackFile& track) {
    std::string fmt;
    Put16(fmt, 1);
    Put16(fmt, track.Track);
    Put32(fmt, track.Serial);
    Put32(fmt, track.StartSector);
    Put32(fmt, track.LengthSectors);
    // Start and length again as minutes, seconds, frames (the disc adds 2 s of lead-in).
    auto msf = [&](std::uint32_t sectors) {
        Put32(fmt, MCI_MAKE_MSF(sectors / 4500, sectors / 75 % 60, sectors % 75));
    };
    msf(track.StartSector + 150);
    msf(track.LengthSectors);
    std::string out = "RIFF";
    Put32(out, std::uint32_t(4 + 8 + fmt.size()));
    out += "CDDA";
    out += "fmt ";
    Put32(out, std::uint32_t(fmt.size()));
    return out + fmt;
}
