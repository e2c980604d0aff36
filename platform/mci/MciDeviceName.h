// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Which device takes a command's device type name or file name, and the track a ".cda" file
// names. Pure functions over outside input (file names, file bytes): a fuzz target guards them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/mci/Mci.h"

enum class TMciDeviceKind { None, WaveAudio, MpegVideo, CdAudio };

// The device for a type name given at open, letter case ignored: "waveaudio", "mpegvideo",
// "cdaudio". Other names of the published device types ("Sequencer", "VCR", ...) are devices
// this system does not have (MCIERR_DEVICE_NOT_INSTALLED); anything else is
// MCIERR_INVALID_DEVICE_NAME.
TMciDeviceKind DeviceKindFromTypeName(std::string_view name, MCIERROR& error);

// The device that plays a file, chosen by its extension (letter case ignored): ".wav" the wave
// device, ".cda" the CD device, compressed audio (".mp3", ".ogg", ".flac", ...) the MPEG
// device. MCIERR_FILENAME_REQUIRED for an empty name, MCIERR_EXTENSION_NOT_FOUND for a name
// whose extension no device takes.
TMciDeviceKind DeviceKindFromFileName(std::string_view fileName, MCIERROR& error);

// The extensions (lower case, without the dot) of every kind of file the devices open: "mp3",
// "wav" and "cda" first, then the other compressed kinds the MPEG device plays.
const std::vector<std::string>& MusicFileExtensions();
// The extensions as a sentence names them: ".mp3, .wav, .cda, ... or .au".
std::string MusicFileExtensionsText();

// The device's own name, as the device type name of the published interface.
const char* DeviceKindName(TMciDeviceKind kind);

// A ".cda" track file: a RIFF "CDDA" file whose "fmt " chunk names a track of the disc in the
// drive, with its place on the disc in sectors (75 to the second).
struct TCdaTrackFile {
    unsigned Track = 0;  // from 1
    std::uint32_t Serial = 0;
    std::uint32_t StartSector = 0;
    std::uint32_t LengthSectors = 0;
};
// The track a ".cda" file names; nothing when the bytes are not such a file or the track
// number is outside 1..99.
std::optional<TCdaTrackFile> ParseCdaFile(std::string_view bytes);
// The bytes of a ".cda" file for a track (what the disc's folder shows for it).
std::string MakeCdaFile(const TCdaTrackFile& track);
