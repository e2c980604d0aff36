// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/system/TVolumeTable.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace {

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

bool EqualIgnoringAsciiCase(const std::string& a, std::size_t aFrom, const std::string& b) {
    if (a.size() - aFrom < b.size()) return false;
    for (std::size_t i = 0; i < b.size(); ++i)
        if (UpperAscii(a[aFrom + i]) != UpperAscii(b[i])) return false;
    return true;
}

// mountinfo escapes blanks, tabs, newlines and backslashes in paths as \ooo.
std::string UnescapeOctal(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '7' &&
            s[i + 2] >= '0' && s[i + 2] <= '7' && s[i + 3] >= '0' && s[i + 3] <= '7') {
            out +=
                static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// udev escapes unsafe characters of labels as \xNN.
std::string UnescapeHex(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x' && HexDigit(s[i + 2]) >= 0 &&
            HexDigit(s[i + 3]) >= 0) {
            out += static_cast<char>(HexDigit(s[i + 2]) * 16 + HexDigit(s[i + 3]));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string BaseName(const std::string& path) {
    std::size_t p = path.find_last_of('/');
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string DirName(const std::string& path) {
    std::size_t p = path.find_last_of('/');
    if (p == std::string::npos) return ".";
    return p == 0 ? "/" : path.substr(0, p);
}

std::string RealPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return {};
    std::string r(resolved);
    std::free(resolved);
    return r;
}

std::string JoinRoot(const std::string& root, const std::string& absolute) {
    if (root.empty() || root == "/") return absolute;
    return (root.back() == '/' ? root.substr(0, root.size() - 1) : root) + absolute;
}

bool ReadFlagFile(const std::string& path) {
    std::ifstream in(path);
    int value = 0;
    return in && (in >> value) && value != 0;
}

// A partition's removable flag is its disk's: /sys/dev/block/M:m leads to .../sdb/sdb1.
bool IsRemovableDevice(const std::string& systemRoot, const std::string& majorMinor) {
    if (majorMinor.rfind("0:", 0) == 0) return false;  // virtual file systems have major 0
    std::string dev = RealPath(JoinRoot(systemRoot, "/sys/dev/block/" + majorMinor));
    if (dev.empty()) return false;
    struct stat st {};
    if (::stat((dev + "/removable").c_str(), &st) == 0) return ReadFlagFile(dev + "/removable");
    return ReadFlagFile(DirName(dev) + "/removable");
}

bool ParseMajorMinor(const std::string& text, dev_t& device) {
    unsigned major = 0, minor = 0;
    char colon = 0;
    std::istringstream in(text);
    if (!(in >> major >> colon >> minor) || colon != ':') return false;
    device = makedev(major, minor);
    return true;
}

std::string LabelOf(const std::string& systemRoot, const std::string& source,
                    const std::string& majorMinor) {
    std::string byLabel = JoinRoot(systemRoot, "/dev/disk/by-label");
    DIR* dir = ::opendir(byLabel.c_str());
    if (!dir) return {};
    dev_t device = 0;
    bool haveDevice = ParseMajorMinor(majorMinor, device) && major(device) != 0;
    std::string sourceReal = RealPath(JoinRoot(systemRoot, source));
    std::string sourceName = BaseName(sourceReal.empty() ? source : sourceReal);
    std::string label;
    while (dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        std::string link = byLabel + "/" + name;
        struct stat st {};
        bool sameDevice = haveDevice && ::stat(link.c_str(), &st) == 0 && S_ISBLK(st.st_mode) &&
                          st.st_rdev == device;
        char target[4096];
        ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
        bool sameName = false;
        if (n > 0) {
            target[n] = 0;
            sameName = !sourceName.empty() && BaseName(target) == sourceName;
        }
        if (sameDevice || sameName) {
            label = UnescapeHex(name);
            break;
        }
    }
    ::closedir(dir);
    return label;
}

std::string SlashesToBackslashes(std::string s) {
    std::replace(s.begin(), s.end(), '/', '\\');
    return s;
}

std::string TrimSlashes(std::string s) {
    while (!s.empty() && s.front() == '/') s.erase(0, 1);
    while (!s.empty() && s.back() == '/') s.pop_back();
    return s;
}

// \\server\share from a mount source: //server/share (SMB), server:/export (NFS),
// user@host:path (sshfs). A share without a path part is just \\server.
std::string RemoteNameOf(const std::string& fsType, const std::string& source) {
    std::string host, path;
    if (fsType == "cifs" || fsType == "smb3" || fsType == "smbfs") {
        std::string s = TrimSlashes(source);
        std::size_t slash = s.find('/');
        host = s.substr(0, slash);
        path = slash == std::string::npos ? std::string() : s.substr(slash + 1);
    } else {
        std::string s = source;
        if (s.empty()) return {};
        std::size_t at = s.find('@');
        if (at != std::string::npos && fsType.find("sshfs") != std::string::npos)
            s.erase(0, at + 1);
        std::size_t colon = s[0] == '[' ? s.find("]:") : s.find(':');
        if (colon == std::string::npos) return {};
        if (s[0] == '[') {
            host = s.substr(1, colon - 1);
            colon += 1;
        } else {
            host = s.substr(0, colon);
        }
        path = s.substr(colon + 1);
    }
    if (host.empty()) return {};
    path = TrimSlashes(path);
    return "\\\\" + host + (path.empty() ? std::string() : "\\" + SlashesToBackslashes(path));
}

int DriveTypeOf(const std::string& fsType, bool removable) {
    if (fsType == "iso9660" || fsType == "udf") return DRIVE_CDROM;
    if (fsType == "nfs" || fsType == "nfs4" || fsType == "cifs" || fsType == "smb3" ||
        fsType == "smbfs" || fsType == "sshfs" || fsType == "fuse.sshfs")
        return DRIVE_REMOTE;
    if (fsType == "tmpfs" || fsType == "ramfs") return DRIVE_RAMDISK;
    return removable ? DRIVE_REMOVABLE : DRIVE_FIXED;
}

// FAT-family volumes find names regardless of case; everything else here is POSIX.
std::uint32_t FlagsOf(const std::string& fsType) {
    if (fsType == "vfat" || fsType == "msdos" || fsType == "exfat" || fsType == "fuse.exfat")
        return FILE_CASE_PRESERVED_NAMES;
    return FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES;
}

bool TakesLetter(const std::string& mountPoint) {
    auto strictlyUnder = [&](const std::string& dir) {
        return mountPoint.size() > dir.size() + 1 &&
               mountPoint.compare(0, dir.size() + 1, dir + "/") == 0;
    };
    if (strictlyUnder("/media") || strictlyUnder("/run/media")) return true;
    return strictlyUnder("/mnt") && mountPoint.find('/', 5) == std::string::npos;
}

struct TMountLine {
    std::string MajorMinor, MountPoint, FsType, Source;
};

bool ParseMountLine(const std::string& line, TMountLine& out) {
    std::istringstream in(line);
    std::vector<std::string> fields;
    std::string f;
    while (in >> f) fields.push_back(f);
    auto dash = std::find(fields.begin(), fields.end(), "-");
    if (fields.size() < 6 || dash == fields.end() || fields.end() - dash < 3 ||
        dash - fields.begin() < 6)
        return false;
    out.MajorMinor = fields[2];
    out.MountPoint = UnescapeOctal(fields[4]);
    out.FsType = *(dash + 1);
    out.Source = UnescapeOctal(*(dash + 2));
    return true;
}

}  // namespace

void TVolumeTable::Add(TVolume volume) {
    volume.Letter = UpperAscii(volume.Letter);
    auto it = std::find_if(FItems.begin(), FItems.end(),
                           [&](const TVolume& v) { return v.Letter == volume.Letter; });
    if (it != FItems.end()) {
        *it = std::move(volume);
    } else {
        FItems.push_back(std::move(volume));
    }
    std::sort(FItems.begin(), FItems.end(),
              [](const TVolume& a, const TVolume& b) { return a.Letter < b.Letter; });
}

const TVolume* TVolumeTable::Find(char letter) const {
    letter = UpperAscii(letter);
    for (const TVolume& v : FItems)
        if (v.Letter == letter) return &v;
    return nullptr;
}

const TVolume* TVolumeTable::FindByRemoteName(const std::string& uncPath,
                                              std::size_t* matchedLength) const {
    const TVolume* best = nullptr;
    for (const TVolume& v : FItems) {
        const std::string& r = v.RemoteName;
        if (r.size() < 3 || !EqualIgnoringAsciiCase(uncPath, 0, r)) continue;
        if (uncPath.size() > r.size() && uncPath[r.size()] != '\\') continue;
        if (!best || r.size() > best->RemoteName.size()) best = &v;
    }
    if (best && matchedLength) *matchedLength = best->RemoteName.size();
    return best;
}

const TVolume* TVolumeTable::FindBySystemPath(const std::string& systemPath) const {
    const TVolume* best = nullptr;
    for (const TVolume& v : FItems) {
        const std::string& m = v.MountPoint;
        bool inside = m == "/" ? !systemPath.empty() && systemPath[0] == '/'
                               : systemPath.compare(0, m.size(), m) == 0 &&
                                     (systemPath.size() == m.size() || systemPath[m.size()] == '/');
        if (inside && (!best || m.size() > best->MountPoint.size())) best = &v;
    }
    return best;
}

TVolumeTable TVolumeTable::FromSystemMounts(const TVolumeTable* previous) {
    std::ifstream in("/proc/self/mountinfo");
    std::stringstream text;
    text << in.rdbuf();
    return FromMountInfo(text.str(), "/", previous);
}

namespace {

// The letters of the mount points: "/" is C:, a mount point that had a letter before keeps it,
// the others take the free letters from D: on in mount-point order (none left past Z:).
std::map<std::string, char> AssignLetters(const std::map<std::string, TMountLine>& mounts,
                                          const TVolumeTable* previous) {
    std::map<std::string, char> letters;
    bool taken[26] = {};
    taken['C' - 'A'] = true;
    letters["/"] = 'C';
    if (previous) {
        for (const TVolume& v : previous->Volumes()) {
            if (v.MountPoint == "/" || v.Letter < 'D' || v.Letter > 'Z') continue;
            if (!mounts.count(v.MountPoint) || taken[v.Letter - 'A']) continue;
            letters[v.MountPoint] = v.Letter;
            taken[v.Letter - 'A'] = true;
        }
    }
    char next = 'D';
    for (const auto& entry : mounts) {  // std::map: mount-point order
        if (letters.count(entry.first)) continue;
        while (next <= 'Z' && taken[next - 'A']) ++next;
        if (next > 'Z') break;
        letters[entry.first] = next;
        taken[next - 'A'] = true;
    }
    return letters;
}

}  // namespace

TVolumeTable TVolumeTable::FromMountInfo(const std::string& mountInfo,
                                         const std::string& systemRoot,
                                         const TVolumeTable* previous) {
    // Later lines mount over earlier ones at the same place: the last one is what is seen.
    std::map<std::string, TMountLine> mounts;
    std::istringstream lines(mountInfo);
    std::string line;
    while (std::getline(lines, line)) {
        TMountLine m;
        if (ParseMountLine(line, m) && (m.MountPoint == "/" || TakesLetter(m.MountPoint)))
            mounts[m.MountPoint] = m;
    }
    // A plain chroot, some containers and a missing /proc give no line for "/": the root is
    // still there and is still C:, a fixed drive of unknown file-system type.
    if (!mounts.count("/")) mounts["/"] = TMountLine{"0:0", "/", "", ""};
    TVolumeTable table;
    for (const auto& [mountPoint, letter] : AssignLetters(mounts, previous)) {
        const TMountLine& m = mounts.at(mountPoint);
        bool removable = IsRemovableDevice(systemRoot, m.MajorMinor);
        TVolume v;
        v.Letter = letter;
        v.MountPoint = mountPoint;
        v.FileSystemName = m.FsType;
        v.DriveType = DriveTypeOf(m.FsType, removable);
        v.FileSystemFlags = FlagsOf(m.FsType);
        if (v.DriveType == DRIVE_REMOTE) v.RemoteName = RemoteNameOf(m.FsType, m.Source);
        v.Label = LabelOf(systemRoot, m.Source, m.MajorMinor);
        struct stat st {};
        if (::stat(mountPoint.c_str(), &st) == 0) v.Device = st.st_dev;
        table.Add(std::move(v));
    }
    return table;
}
