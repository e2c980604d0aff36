// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/system/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/system/FileNames.h"
#include "platform/system/TFileMask.h"

namespace {

struct TFileSystemState {
    TVolumeTable Table;
    TVolumeSource Source;
    bool Installed = false;
    std::string CurrentDir;                 // program form, full
    std::array<std::string, 26> DriveDirs;  // each drive's own current directory; empty = root
    int LastError = 0;
    int LastErrno = 0;       // the errno behind LastError, 0 when none
    std::string LastReason;  // the reason for LastError when no errno tells it
};

TFileSystemState& State() {
    static TFileSystemState state;
    return state;
}

TVolumeTable MachineVolumes(const TVolumeTable& current) {
    return TVolumeTable::FromSystemMounts(&current);
}

TFileSystemState& Ready() {
    TFileSystemState& s = State();
    if (!s.Installed) SetVolumeSource(MachineVolumes);
    return s;
}

bool Fail(int code, int err) {
    TFileSystemState& s = State();
    s.LastError = code;
    s.LastErrno = err;
    s.LastReason.clear();
    return false;
}

bool FailWithReason(int code, std::string reason) {
    Fail(code, 0);
    State().LastReason = std::move(reason);
    return false;
}

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsUnc(const std::string& p) {
    return p.size() >= 2 && p[0] == '\\' && p[1] == '\\';
}

bool HasDriveLetter(const std::string& p) {
    return p.size() >= 2 && p[1] == ':' && IsLetter(p[0]);
}

// "C:\" or "\\server\share\" for a full path.
std::string RootOf(const std::string& full) {
    if (IsUnc(full)) return ExtractFileDrive(full) + "\\";
    if (HasDriveLetter(full)) return std::string(1, UpperAscii(full[0])) + ":\\";
    return "C:\\";
}

// The own current directory of a drive: `current` when that lies on the drive.
std::string DriveCurrentDir(char letter, const std::string& current) {
    TFileSystemState& s = State();
    letter = UpperAscii(letter);
    if (HasDriveLetter(current) && UpperAscii(current[0]) == letter) return current;
    const std::string& own = s.DriveDirs[letter - 'A'];
    return own.empty() ? std::string(1, letter) + ":\\" : own;
}

// Root + the components of `rest` with "." dropped and ".." taking one back (never above root).
std::string Normalise(const std::string& root, const std::string& rest) {
    std::string out = root;
    std::size_t base = out.size();
    std::size_t i = 0;
    while (i <= rest.size()) {
        std::size_t end = rest.find('\\', i);
        if (end == std::string::npos) end = rest.size();
        std::string part = rest.substr(i, end - i);
        i = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            std::size_t cut = out.find_last_of('\\');
            if (out.size() > base) out.erase(cut != std::string::npos && cut >= base ? cut : base);
            continue;
        }
        if (out.size() > base) out += '\\';
        out += part;
    }
    return out;
}

// The full form of a path, with `current` standing for the current directory.
std::string Expand(const std::string& fileName, const std::string& current) {
    if (fileName.empty()) return {};
    std::string p = fileName;
    for (char& c : p)
        if (c == '/') c = '\\';
    std::string root, rest;
    if (IsUnc(p)) {
        root = ExtractFileDrive(p);
        rest = p.substr(root.size());
        root += '\\';
    } else if (HasDriveLetter(p)) {
        root = RootOf(p);
        if (p.size() >= 3 && p[2] == '\\') {
            rest = p.substr(3);
        } else {
            std::string base = DriveCurrentDir(p[0], current);
            rest = base.substr(std::min(base.size(), std::size_t{3})) + "\\" + p.substr(2);
        }
    } else if (p[0] == '\\') {
        root = RootOf(current);
        rest = p.substr(1);
    } else {
        root = RootOf(current);
        std::string cur = current.size() > root.size() ? current.substr(root.size()) : "";
        rest = cur + "\\" + p;
    }
    return Normalise(root, rest);
}

std::string Expand(const std::string& fileName) {
    return Expand(fileName, State().CurrentDir);
}

struct TResolved {
    const TVolume* Volume = nullptr;
    std::string Rest;  // below the drive root, with '\' separators, leading '\' or empty
};

// Finds the volume of a full path; 0 or an error code.
int Resolve(const std::string& full, TResolved& r) {
    const TVolumeTable& table = State().Table;
    if (full.find('\0') != std::string::npos) return ERROR_INVALID_NAME;
    if (IsUnc(full)) {
        if (full.size() < 3 || full[2] == '\\') return ERROR_INVALID_NAME;
        std::size_t length = 0;
        r.Volume = table.FindByRemoteName(full, &length);
        if (!r.Volume) return ERROR_PATH_NOT_FOUND;
        r.Rest = full.substr(length);
    } else if (HasDriveLetter(full)) {
        r.Volume = table.Find(full[0]);
        if (!r.Volume) return ERROR_PATH_NOT_FOUND;
        r.Rest = full.substr(2);
    } else {
        return ERROR_PATH_NOT_FOUND;
    }
    return 0;
}

// The medium is in when the mount point is still a folder on the device it was built with.
bool MediumPresent(const TVolume& v) {
    struct stat st {};
    if (::stat(v.MountPoint.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    return v.Device == 0 || st.st_dev == v.Device;
}

std::string SystemPathOf(const TVolume& v, const std::string& rest) {
    std::string sys = v.MountPoint == "/" ? std::string() : v.MountPoint;
    for (char c : rest) sys += c == '\\' ? '/' : c;
    while (sys.size() > 1 && sys.back() == '/') sys.pop_back();
    return sys.empty() ? "/" : sys;
}

// A medium put back since the drives were read: the drive takes what its source says now, when
// that is the same folder with a medium in it.
bool MediumReturned(const TVolume& volume) {
    TFileSystemState& s = State();
    if (!s.Source) return false;
    const TVolumeTable fresh = s.Source(s.Table);
    const TVolume* now = fresh.Find(volume.Letter);
    if (!now || now->MountPoint != volume.MountPoint || !MediumPresent(*now)) return false;
    s.Table.Add(*now);
    return true;
}

// Full program path -> Linux path, with the medium checked.
bool Translate(const std::string& full, std::string& sys, const TVolume** volume = nullptr) {
    TResolved r;
    if (int code = Resolve(full, r))
        return Fail(code, code == ERROR_INVALID_NAME ? EINVAL : ENOENT);
    if (!MediumPresent(*r.Volume)) {
        if (!MediumReturned(*r.Volume)) return Fail(ERROR_NOT_READY, ENOMEDIUM);
        Resolve(full, r);  // the table's entry was replaced
    }
    sys = SystemPathOf(*r.Volume, r.Rest);
    if (volume) *volume = r.Volume;
    return true;
}

std::string SystemParent(const std::string& sys) {
    std::size_t p = sys.find_last_of('/');
    return p == 0 || p == std::string::npos ? "/" : sys.substr(0, p);
}

bool IsSystemDirectory(const std::string& sys) {
    struct stat st {};
    return ::stat(sys.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The code for a failed call on `sys`: a missing last component is "file not found", a missing
// or non-folder component on the way "path not found"; a file where a folder was wanted
// "not a directory".
int ErrorForPath(int err, const std::string& sys, bool wantDirectory) {
    if (err == ENOENT)
        return IsSystemDirectory(SystemParent(sys)) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    if (err == ENOTDIR) {
        struct stat st {};
        bool isFile = ::stat(sys.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
        return wantDirectory && isFile ? ERROR_DIRECTORY : ERROR_PATH_NOT_FOUND;
    }
    return ErrorCodeFromErrno(err);
}

bool FailForPath(int err, const std::string& sys, bool wantDirectory) {
    return Fail(ErrorForPath(err, sys, wantDirectory), err);
}

// Why a folder cannot be entered (errno), or 0: it must be a folder the user may search.
int EnterError(const std::string& sys) {
    struct stat st {};
    if (::stat(sys.c_str(), &st) != 0) return errno;
    if (!S_ISDIR(st.st_mode)) return ENOTDIR;
    return ::access(sys.c_str(), X_OK) == 0 ? 0 : errno;
}

// The folder that changing to `path` from the current directory `base` reaches, in full and as
// a Linux path, checked as entering it would check it, without moving.
bool LocateDirectory(const std::string& path, const std::string& base, std::string& full,
                     std::string& sys) {
    Ready();
    if (path.empty()) return Fail(ERROR_PATH_NOT_FOUND, ENOENT);
    full = Expand(path, base);
    if (!Translate(full, sys)) return false;
    const int err = EnterError(sys);
    if (err == 0) return true;
    // A drive's remembered folder may have been removed meanwhile; "D:" then means its root,
    // so that the drive can still be chosen.
    const bool bareDrive = path.size() == 2 && HasDriveLetter(path);
    if (!bareDrive || (err != ENOENT && err != ENOTDIR)) return FailForPath(err, sys, true);
    full = RootOf(path);
    if (!Translate(full, sys)) return false;
    if (const int rootErr = EnterError(sys)) return FailForPath(rootErr, sys, true);
    return true;
}

bool IsDotName(const char* name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// Read-only means the user is refused writing, not that the check could not be made.
bool Writable(int dirFd, const char* name) {
    if (::faccessat(dirFd, name, W_OK, 0) == 0) return true;
    return errno != EACCES && errno != EPERM && errno != EROFS;
}

std::uint32_t AttributesOf(mode_t mode, const char* name, bool writable) {
    std::uint32_t a = S_ISDIR(mode)   ? FILE_ATTRIBUTE_DIRECTORY
                      : S_ISREG(mode) ? FILE_ATTRIBUTE_ARCHIVE
                                      : FILE_ATTRIBUTE_SYSTEM;
    if (name[0] == '.' && !IsDotName(name)) a |= FILE_ATTRIBUTE_HIDDEN;
    if (!writable) a |= FILE_ATTRIBUTE_READONLY;
    return a;
}

// Kind of a directory entry from d_type, with one stat (links followed) when d_type cannot
// tell. A dangling link counts as neither file nor folder.
mode_t EntryMode(int dirFd, const dirent* e) {
    switch (e->d_type) {
        case DT_DIR:
            return S_IFDIR;
        case DT_REG:
            return S_IFREG;
        case DT_LNK:
        case DT_UNKNOWN: {
            struct stat st {};
            if (::fstatat(dirFd, e->d_name, &st, 0) != 0) return S_IFLNK;
            return st.st_mode & S_IFMT;
        }
        default:
            return S_IFIFO;
    }
}

}  // namespace

// --- Volume table ---------------------------------------------------------------------------

void SetVolumeSource(TVolumeSource source) {
    TFileSystemState& s = State();
    s.Source = std::move(source);
    s.Table = s.Source(TVolumeTable());
    s.Installed = true;
    for (std::string& d : s.DriveDirs) d.clear();
    s.CurrentDir.clear();
    if (char* cwd = ::getcwd(nullptr, 0)) {
        s.CurrentDir = FromSystemPath(cwd);
        std::free(cwd);
    }
    if (s.CurrentDir.empty() && !s.Table.Volumes().empty()) {
        const TVolume& first = s.Table.Volumes().front();
        s.CurrentDir = std::string(1, first.Letter) + ":\\";
        if (::chdir(first.MountPoint.c_str()) != 0) {
            // The first drive has no medium: keep its root as the current directory anyway,
            // the next change reports the drive.
        }
    }
    if (HasDriveLetter(s.CurrentDir)) s.DriveDirs[s.CurrentDir[0] - 'A'] = s.CurrentDir;
}

void SetVolumeTable(const TVolumeTable& table) {
    SetVolumeSource([table](const TVolumeTable&) { return table; });
}

void RefreshVolumeTable() {
    TFileSystemState& s = Ready();
    TVolumeTable fresh = s.Source(s.Table);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const TVolume* before = s.Table.Find(letter);
        const TVolume* now = fresh.Find(letter);
        if (!before || !now || before->MountPoint != now->MountPoint)
            s.DriveDirs[letter - 'A'].clear();
    }
    s.Table = std::move(fresh);
    // The process stays where it is while its drive still stands for the same folder.
    if (HasDriveLetter(s.CurrentDir) && s.DriveDirs[s.CurrentDir[0] - 'A'].empty()) {
        const std::string root = std::string(1, s.CurrentDir[0]) + ":\\";
        if (char* cwd = ::getcwd(nullptr, 0)) {
            s.CurrentDir = FromSystemPath(cwd);
            std::free(cwd);
        }
        if (s.CurrentDir.empty()) s.CurrentDir = root;
        if (HasDriveLetter(s.CurrentDir)) s.DriveDirs[s.CurrentDir[0] - 'A'] = s.CurrentDir;
    }
}

const TVolumeTable& GetVolumeTable() {
    return Ready().Table;
}

// --- Errors ---------------------------------------------------------------------------------

int GetLastError() {
    return State().LastError;
}

void SetLastError(int code) {
    Fail(code, 0);
}

int ErrorCodeFromErrno(int err) {
    switch (err) {
        case 0:
            return ERROR_SUCCESS;
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case EROFS:
            return ERROR_WRITE_PROTECT;
        case ENOMEDIUM:
        case ENXIO:
        case ENODEV:
        case ENOTCONN:
        case ESTALE:
            return ERROR_NOT_READY;
        case EBUSY:
        case ETXTBSY:
            return ERROR_SHARING_VIOLATION;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        case ENOSPC:
        case EDQUOT:
            return ERROR_DISK_FULL;
        case ENOTEMPTY:
            return ERROR_DIR_NOT_EMPTY;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EIO:
            return ERROR_IO_DEVICE;
        case ELOOP:
            return ERROR_CANT_RESOLVE_FILENAME;
        default:
            return ERROR_GEN_FAILURE;
    }
}

std::string SysErrorMessage(int code) {
    const TFileSystemState& s = State();
    int err = 0;
    if (code == s.LastError && !s.LastReason.empty()) return s.LastReason;
    if (code == s.LastError && s.LastErrno != 0) {
        err = s.LastErrno;
    } else {
        switch (code) {
            case ERROR_SUCCESS:
                err = 0;
                break;
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
                err = ENOENT;
                break;
            case ERROR_TOO_MANY_OPEN_FILES:
                err = EMFILE;
                break;
            case ERROR_ACCESS_DENIED:
                err = EACCES;
                break;
            case ERROR_NOT_ENOUGH_MEMORY:
                err = ENOMEM;
                break;
            case ERROR_WRITE_PROTECT:
                err = EROFS;
                break;
            case ERROR_NOT_READY:
                err = ENOMEDIUM;
                break;
            case ERROR_SHARING_VIOLATION:
                err = EBUSY;
                break;
            case ERROR_FILE_EXISTS:
                err = EEXIST;
                break;
            case ERROR_INVALID_PARAMETER:
            case ERROR_INVALID_NAME:
                err = EINVAL;
                break;
            case ERROR_DISK_FULL:
                err = ENOSPC;
                break;
            case ERROR_DIR_NOT_EMPTY:
                err = ENOTEMPTY;
                break;
            case ERROR_FILENAME_EXCED_RANGE:
                err = ENAMETOOLONG;
                break;
            case ERROR_DIRECTORY:
                err = ENOTDIR;
                break;
            case ERROR_IO_DEVICE:
                err = EIO;
                break;
            case ERROR_BAD_FILE_TYPE:
                return "Not a regular file";
            case ERROR_CANT_RESOLVE_FILENAME:
                err = ELOOP;
                break;
            default:
                return "System error " + std::to_string(code);
        }
    }
    return std::strerror(err);
}

// --- Paths ----------------------------------------------------------------------------------

std::string ExpandFileName(const std::string& fileName) {
    Ready();
    return Expand(fileName);
}

int AnsiCompareFileNameOnVolume(const std::string& a, const std::string& b) {
    TResolved r;
    Ready();
    if (Resolve(Expand(a), r) == 0 && (r.Volume->FileSystemFlags & FILE_CASE_SENSITIVE_SEARCH)) {
        std::string driveA = ExtractFileDrive(a), driveB = ExtractFileDrive(b);
        if (int c = AnsiCompareFileName(driveA, driveB)) return c;
        int c = a.compare(driveA.size(), std::string::npos, b, driveB.size());
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    return AnsiCompareFileName(a, b);
}

bool ToSystemPath(const std::string& path, std::string& systemPath) {
    Ready();
    if (path.empty()) return Fail(ERROR_PATH_NOT_FOUND, ENOENT);
    return Translate(Expand(path), systemPath);
}

std::string FromSystemPath(const std::string& systemPath) {
    Ready();
    const TVolume* v = State().Table.FindBySystemPath(systemPath);
    if (!v || systemPath.empty() || systemPath[0] != '/') return {};
    std::string rest =
        v->MountPoint == "/"
            ? systemPath.substr(1)
            : systemPath.substr(std::min(systemPath.size(), v->MountPoint.size() + 1));
    std::string out = std::string(1, v->Letter) + ":\\";
    for (char c : rest) out += c == '/' ? '\\' : c;
    while (out.size() > 3 && out.back() == '\\') out.pop_back();
    return out;
}

bool CheckFileKind(unsigned mode) {
    if (S_ISREG(mode) || S_ISDIR(mode)) return true;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return FailWithReason(ERROR_BAD_FILE_TYPE, "Is a device, not a file");
    if (S_ISFIFO(mode)) return FailWithReason(ERROR_BAD_FILE_TYPE, "Is a pipe, not a file");
    if (S_ISSOCK(mode)) return FailWithReason(ERROR_BAD_FILE_TYPE, "Is a socket, not a file");
    return FailWithReason(ERROR_BAD_FILE_TYPE, "Not a regular file");
}

int OpenFile(const std::string& path, int flags, unsigned mode) {
    std::string sys;
    if (!ToSystemPath(path, sys)) return -1;
    // Looked at before opening: opening a pipe may wait for a writer, a device may act on it.
    struct stat st {};
    if (::stat(sys.c_str(), &st) == 0 && !CheckFileKind(st.st_mode)) return -1;
    int fd = ::open(sys.c_str(), flags | O_CLOEXEC | O_NONBLOCK, static_cast<mode_t>(mode));
    if (fd < 0) {
        FailForPath(errno, sys, false);
        return -1;
    }
    // And again on what was opened, which may have been replaced in between.
    if (::fstat(fd, &st) == 0 && (S_ISDIR(st.st_mode) || !CheckFileKind(st.st_mode))) {
        ::close(fd);
        if (S_ISDIR(st.st_mode)) Fail(ERROR_ACCESS_DENIED, EISDIR);
        return -1;
    }
    return fd;
}

// --- Current directories --------------------------------------------------------------------

bool ResolveDirectory(const std::string& path, const std::string& base, std::string& full) {
    std::string sys;
    return LocateDirectory(path, base, full, sys);
}

bool SetCurrentDir(const std::string& path) {
    TFileSystemState& s = Ready();
    std::string full, sys;
    if (!LocateDirectory(path, s.CurrentDir, full, sys)) return false;
    if (::chdir(sys.c_str()) != 0) return FailForPath(errno, sys, true);
    s.CurrentDir = full;
    if (HasDriveLetter(full)) s.DriveDirs[full[0] - 'A'] = full;
    return true;
}

std::string GetCurrentDir() {
    return Ready().CurrentDir;
}

// --- Files ----------------------------------------------------------------------------------

std::uint32_t GetFileAttributes(const std::string& path) {
    std::string sys;
    if (!ToSystemPath(path, sys)) return INVALID_FILE_ATTRIBUTES;
    struct stat st {};
    if (::stat(sys.c_str(), &st) != 0) {
        FailForPath(errno, sys, false);
        return INVALID_FILE_ATTRIBUTES;
    }
    std::string name = ExtractFileName(Expand(path));
    return AttributesOf(st.st_mode, name.c_str(), Writable(AT_FDCWD, sys.c_str()));
}

bool DirectoryExists(const std::string& path) {
    std::uint32_t a = GetFileAttributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& name) {
    std::uint32_t a = GetFileAttributes(name);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<TFindData> FindFiles(const std::string& pattern, bool withReadOnly) {
    std::vector<TFindData> found;
    Ready();
    const std::string maskText = ExtractFileName(pattern);
    std::string dirText = ExtractFilePath(pattern);
    if (maskText.empty()) {
        Fail(ERROR_FILE_NOT_FOUND, ENOENT);
        return found;
    }
    const TFileMask mask(maskText);
    auto writable = [&](int dirFd, const char* name) {
        return !withReadOnly || Writable(dirFd, name);
    };
    std::string full = Expand(dirText.empty() ? std::string(".") : dirText);
    std::string sys;
    const TVolume* volume = nullptr;
    if (!Translate(full, sys, &volume)) return found;
    int fd = ::open(sys.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        FailForPath(errno, sys, false);
        return found;
    }
    // A drive or share root has no "." and ".."; every other folder lists them first.
    if (sys != SystemPathOf(*volume, "")) {
        for (const char* dot : {".", ".."}) {
            if (!mask.Matches(dot)) continue;
            found.push_back({dot, AttributesOf(S_IFDIR, dot, writable(fd, dot))});
        }
    }
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        FailForPath(errno, sys, false);
        return {};
    }
    while (const dirent* e = ::readdir(dir)) {
        if (IsDotName(e->d_name) || std::strchr(e->d_name, '\\')) continue;
        if (!mask.Matches(e->d_name, std::strlen(e->d_name))) continue;
        mode_t mode = EntryMode(fd, e);
        found.push_back({e->d_name, AttributesOf(mode, e->d_name, writable(fd, e->d_name))});
    }
    ::closedir(dir);
    if (found.empty()) Fail(ERROR_FILE_NOT_FOUND, ENOENT);
    return found;
}

// --- Volumes --------------------------------------------------------------------------------

bool GetVolumeInformation(const std::string& rootPath, TVolumeInformation& info) {
    Ready();
    std::string sys;
    const TVolume* v = nullptr;
    if (!Translate(Expand(rootPath.empty() ? std::string("\\") : rootPath), sys, &v)) return false;
    info = TVolumeInformation{};
    info.VolumeName = v->Label;
    info.FileSystemFlags = v->FileSystemFlags;
    info.FileSystemName = v->FileSystemName;
    struct statvfs vfs {};
    if (::statvfs(v->MountPoint.c_str(), &vfs) == 0) {
        info.MaxComponentLength = static_cast<std::uint32_t>(vfs.f_namemax);
        info.SerialNumber = static_cast<std::uint32_t>(vfs.f_fsid);
    }
    return true;
}

int GetDriveType(const std::string& rootPath) {
    Ready();
    TResolved r;
    if (Resolve(Expand(rootPath.empty() ? std::string("\\") : rootPath), r) != 0)
        return DRIVE_NO_ROOT_DIR;
    return r.Volume->DriveType;
}

std::uint32_t GetLogicalDrives() {
    std::uint32_t mask = 0;
    for (const TVolume& v : Ready().Table.Volumes())
        if (v.Letter >= 'A' && v.Letter <= 'Z') mask |= 1u << (v.Letter - 'A');
    return mask;
}

bool GetRemoteName(const std::string& localName, std::string& remoteName) {
    Ready();
    const TVolume* v = HasDriveLetter(localName) ? State().Table.Find(localName[0]) : nullptr;
    if (!v || v->RemoteName.empty()) return Fail(ERROR_NOT_CONNECTED, 0);
    remoteName = v->RemoteName;
    return true;
}
