// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The disc that the "cdaudio" device plays: the audio CD in the machine's CD drive, read from
// the drive's table of contents, or a disc made of track files (one sound file per track, in
// order) where a folder of tracks stands in for the disc, as in tests on machines without a
// drive.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/mci/Mci.h"

struct TMciTrack {
    std::string Uri;  // what GStreamer plays: file:///... or cdda://N
    std::int64_t LengthMs = 0;
};

struct TCdDisc {
    std::vector<TMciTrack> Tracks;
    std::string Drive;  // the drive's device file; empty for a disc of track files
    bool CanEject = false;
};

// Makes the CD device play these files (Linux paths) as tracks 1, 2, ...; an empty list goes
// back to the CD drive.
void SetCdAudioTrackFiles(std::vector<std::string> systemPaths);

// Reads the disc: 0, or MCIERR_DEVICE_NOT_READY when there is no drive, no disc or no audio
// track on it; a track file's own open error for a disc of track files.
MCIERROR ReadCdDisc(TCdDisc& disc);

// Opens or closes the drive's tray; false when the drive refuses.
bool SetCdDoor(const std::string& drive, bool open);
