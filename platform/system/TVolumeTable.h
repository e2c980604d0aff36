// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The drives the program shows and the Linux folders they stand for.
//
// Inside the program a path has a drive letter and backslashes (C:\home\ann); the file-system
// layer (platform/system/FileSystem.h) translates it through the installed table. C: is the root
// file system; removable media, shares and the like mounted under /media, /run/media or directly
// under /mnt take D:, E:, ... in mount-point order. Tests build their own table over temporary
// folders and install it with SetVolumeTable.
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Drive kinds, numbered as the drive selector's glyph table expects.
constexpr int DRIVE_UNKNOWN = 0;
constexpr int DRIVE_NO_ROOT_DIR = 1;
constexpr int DRIVE_REMOVABLE = 2;
constexpr int DRIVE_FIXED = 3;
constexpr int DRIVE_REMOTE = 4;
constexpr int DRIVE_CDROM = 5;
constexpr int DRIVE_RAMDISK = 6;

// File-system flags of a volume.
constexpr std::uint32_t FILE_CASE_SENSITIVE_SEARCH = 0x1;
constexpr std::uint32_t FILE_CASE_PRESERVED_NAMES = 0x2;

struct TVolume {
    char Letter = 0;         // 'C'..'Z'
    std::string MountPoint;  // absolute Linux folder the drive root stands for, e.g. "/media/usb"
    int DriveType = DRIVE_FIXED;
    std::string Label;       // volume label, may be empty
    std::string RemoteName;  // "\\server\share" for a mounted share, else empty
    std::uint32_t FileSystemFlags = FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES;
    std::string FileSystemName;  // "ext4", "vfat", ...
    // The device stat() reported for MountPoint when the table was built; 0 = not checked.
    // When the mount point later shows another device, the medium has been taken out.
    dev_t Device = 0;
};

class TVolumeTable {
public:
    // Adds a volume (letter upper-cased); replaces an earlier one with the same letter.
    void Add(TVolume volume);
    // All volumes in drive-letter order.
    const std::vector<TVolume>& Volumes() const { return FItems; }
    // The volume of a drive letter (either case), or null.
    const TVolume* Find(char letter) const;
    // The volume whose remote name begins the UNC path (whole components, case ignored; the
    // longest such name wins), or null. *matchedLength gets the length of that remote name.
    const TVolume* FindByRemoteName(const std::string& uncPath,
                                    std::size_t* matchedLength = nullptr) const;
    // The volume whose mount point is the longest whole-component prefix of a Linux path, or
    // null.
    const TVolume* FindBySystemPath(const std::string& systemPath) const;

    // The machine's mounts, read from /proc/self/mountinfo.
    static TVolumeTable FromSystemMounts(const TVolumeTable* previous = nullptr);
    // Builds the table from mountinfo text. Removable flags are read from
    // <systemRoot>/sys/dev/block, labels from <systemRoot>/dev/disk/by-label ("/" normally).
    // A mount point that `previous` already gave a letter keeps it; the others take the free
    // letters from D: on, in mount-point order.
    static TVolumeTable FromMountInfo(const std::string& mountInfo, const std::string& systemRoot,
                                      const TVolumeTable* previous = nullptr);

private:
    std::vector<TVolume> FItems;
};
