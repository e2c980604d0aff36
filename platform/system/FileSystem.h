// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The file-system calls of the program, over Linux. Paths go in and come out in the program's
// form (C:\home\ann\a.txt, \\server\share\x) and are translated through the installed volume
// table (platform/system/TVolumeTable.h). The layer keeps the current directory of every drive and
// the process's current directory, and mirrors the latter with chdir.
//
// Calls that can fail return false (or a failure value) and leave a numbered error code for
// GetLastError, numbered as the browsing controls' messages expect:
//   2 file not found    - the last component of the path is missing
//   3 path not found    - a folder on the way is missing or is a file; unknown drive or share
//   5 access denied     - EACCES, EPERM; opening a folder as a file
//   21 not ready        - the drive's mount point is gone or shows another device (no medium)
//   123 invalid name    - a NUL byte in the path, or an incomplete \\server\share
//   206 name too long   - ENAMETOOLONG (a component or the whole Linux path too long)
//   222 not a file      - a device, a pipe or a socket where a file was wanted
//   267 not a directory - a folder was asked for and the path names a file
// Other errno values: see ErrorCodeFromErrno. Single-threaded use (the user-interface thread).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/system/TVolumeTable.h"

constexpr int ERROR_SUCCESS = 0;
constexpr int ERROR_FILE_NOT_FOUND = 2;
constexpr int ERROR_PATH_NOT_FOUND = 3;
constexpr int ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr int ERROR_ACCESS_DENIED = 5;
constexpr int ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr int ERROR_NO_MORE_FILES = 18;
constexpr int ERROR_WRITE_PROTECT = 19;
constexpr int ERROR_NOT_READY = 21;
constexpr int ERROR_GEN_FAILURE = 31;
constexpr int ERROR_SHARING_VIOLATION = 32;
constexpr int ERROR_FILE_EXISTS = 80;
constexpr int ERROR_INVALID_PARAMETER = 87;
constexpr int ERROR_DISK_FULL = 112;
constexpr int ERROR_INVALID_NAME = 123;
constexpr int ERROR_DIR_NOT_EMPTY = 145;
constexpr int ERROR_FILENAME_EXCED_RANGE = 206;
constexpr int ERROR_BAD_FILE_TYPE = 222;
constexpr int ERROR_DIRECTORY = 267;
constexpr int ERROR_IO_DEVICE = 1117;
constexpr int ERROR_CANT_RESOLVE_FILENAME = 1921;
constexpr int ERROR_NOT_CONNECTED = 2250;

// File attributes.
constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x01;   // the user may not write it
constexpr std::uint32_t FILE_ATTRIBUTE_HIDDEN = 0x02;     // name starts with '.'
constexpr std::uint32_t FILE_ATTRIBUTE_SYSTEM = 0x04;     // neither regular file nor folder
constexpr std::uint32_t FILE_ATTRIBUTE_VOLUME_ID = 0x08;  // never set on Linux
constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr std::uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;  // regular file
constexpr std::uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// --- Volume table -------------------------------------------------------------------------
// Where the drives come from: given the table in use, the drives as they are now. The
// machine's source reads the mount table again (TVolumeTable::FromSystemMounts), so that a
// stick or share mounted while the program runs becomes a drive, and a drive that stays mounted
// keeps its letter.
using TVolumeSource = std::function<TVolumeTable(const TVolumeTable& current)>;
// Installs a source, reads it and starts afresh: every drive's current directory is its root;
// the process's current directory becomes the drive path of the Linux working directory when a
// drive holds it, else the root of the first drive (and chdir goes there). Until a source is
// installed, the first call installs the machine's.
void SetVolumeSource(TVolumeSource source);
// Installs a source that always gives `table` (tests, over temporary folders).
void SetVolumeTable(const TVolumeTable& table);
const TVolumeTable& GetVolumeTable();
// Reads the drives again from the source. A drive that still stands for the same folder keeps
// its own current directory, and so does the process; the others start at their roots. A drive
// whose medium was taken out and put back (the mount point shows another device) is usable
// again; one whose folder is still empty keeps failing as "not ready".
void RefreshVolumeTable();

// --- Errors -------------------------------------------------------------------------------
int GetLastError();
void SetLastError(int code);
// The text of the system's reason for an error code: for the last error, what caused it (the
// C library's text for its errno, or for ERROR_BAD_FILE_TYPE what the path names instead of a
// file); for any other code, the C library's text for the errno that it usually stands for.
std::string SysErrorMessage(int code);
// The code for an errno value, without looking at any path (ENOENT -> 2, ENOTDIR -> 3, ...).
int ErrorCodeFromErrno(int err);

// --- Paths --------------------------------------------------------------------------------
// The Linux path for a program path (expanded first with ExpandFileName). False, with the
// error code set, for an unknown drive or share (3), a drive without medium (21), or a NUL byte
// in the path (123). The file itself need not exist.
bool ToSystemPath(const std::string& path, std::string& systemPath);
// The program path for an absolute Linux path (through the drive whose mount point holds it
// deepest); empty when no drive holds it. "." and ".." are not resolved.
std::string FromSystemPath(const std::string& systemPath);
// Opens a file by program path with open(2) flags; returns the descriptor or -1 with the error
// code set. A folder is refused (5), like a missing file (2) or folder on the way (3), and so is
// anything else that is not a regular file (222): a device, a pipe or a socket is not opened at
// all, since opening one may wait or change it.
int OpenFile(const std::string& path, int flags, unsigned mode = 0666);
// False, with ERROR_BAD_FILE_TYPE and a reason that says what it is, when `mode` (st_mode of
// stat(2)) is that of a device, a pipe or a socket; true for a regular file or a folder.
bool CheckFileKind(unsigned mode);

// --- Current directories ------------------------------------------------------------------
// Changes the current directory. Accepts a full path, "D:" alone (D:'s own current
// directory; the drive root when that folder no longer exists), "D:sub", a relative path,
// "\x" (on the current drive), "..", and \\server\share paths. On success the process's and
// the drive's current directory are the expanded path.
bool SetCurrentDir(const std::string& path);
// The folder SetCurrentDir(path) would reach if `base` were the current directory, checked as
// SetCurrentDir checks it (the same error codes), without moving: nothing changes.
bool ResolveDirectory(const std::string& path, const std::string& base, std::string& full);
// The process's current directory in full (no trailing '\' except at a root: C:\, \\s\x\).
std::string GetCurrentDir();

// --- Files --------------------------------------------------------------------------------
// The attributes of a file or folder (symbolic links followed), or INVALID_FILE_ATTRIBUTES with
// the error code set.
std::uint32_t GetFileAttributes(const std::string& path);
// An existing folder (drive roots included).
bool DirectoryExists(const std::string& path);
// An existing entry with exactly this name that is not a folder.
bool FileExists(const std::string& name);

struct TFindData {
    std::string Name;  // as stored; bytes that are not valid UTF-8 are kept as they are
    std::uint32_t Attributes = 0;
};
// Lists the entries of a folder that match a mask: pattern "dir\*.txt", "D:*.*", "*.rtf", ...
// (the part after the last '\' or ':' is the mask, see MatchesMask; the rest is the folder).
// Outside a drive or share root "." and ".." come first, like any folder; at a root they are
// left out. Names holding a '\' are left out. No match: empty, error 2; unreadable or missing
// folder: empty, with that folder's error. The read-only attribute costs one system call per
// entry; without `withReadOnly` it is never set.
std::vector<TFindData> FindFiles(const std::string& pattern, bool withReadOnly = true);

// --- Volumes ------------------------------------------------------------------------------
struct TVolumeInformation {
    std::string VolumeName;  // label
    std::uint32_t SerialNumber = 0;
    std::uint32_t MaxComponentLength = 255;
    std::uint32_t FileSystemFlags = 0;
    std::string FileSystemName;
};
// Information about the volume of a root path ("C:\", "d:", "\\srv\share\"); false with the
// error code set for an unknown drive (3) or a drive without medium (21).
bool GetVolumeInformation(const std::string& rootPath, TVolumeInformation& info);
// The kind of drive of a root path (DRIVE_FIXED, ...); DRIVE_NO_ROOT_DIR for an unknown drive.
int GetDriveType(const std::string& rootPath);
// Bit n set for every drive letter 'A' + n in the table.
std::uint32_t GetLogicalDrives();
// The remote name (\\server\share) of a drive given as "D:"; false with ERROR_NOT_CONNECTED
// when the drive is not a share.
bool GetRemoteName(const std::string& localName, std::string& remoteName);
