// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Fuzz target: the mount table reader, which parses /proc/self/mountinfo into the drive table.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/system/TVolumeTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TVolumeTable table = TVolumeTable::FromMountInfo(text, "/nonexistent-root");
    for (const TVolume& v : table.Volumes()) {
        // Every drive has a letter from C: on and an absolute mount point.
        if (v.Letter < 'C' || v.Letter > 'Z' || v.MountPoint.empty() || v.MountPoint[0] != '/')
            __builtin_trap();
    }
    return 0;
}
