// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "browse/FileCtrl.h"

#include <QFontMetrics>
#include <algorithm>

#include "toolkit/TFont.h"

namespace {

bool HasWildcard(const std::string& s) {
    return s.find_first_of("*?") != std::string::npos;
}

// The folder that entering `path` from `base` reaches; raises the directory-change error when it
// cannot be entered. Nothing moves: `base` stands for the current directory.
std::string Enter(const std::string& base, const std::string& path) {
    std::string full;
    if (!ResolveDirectory(path, base, full)) throw InOutError(GetLastError());
    return full;
}

// The part after the last '\' (the whole text when there is none). Below the drive part a path
// has no other separator: a colon there is part of a name.
std::size_t NameStart(const std::string& path) {
    const std::size_t p = path.rfind('\\');
    return p == std::string::npos ? 0 : p + 1;
}

// Steps 5 to 8 of splitting a typed path, with `base` as the current directory: the folders on
// the way are looked up from there. Returns the folder the path led to.
std::string EnterTypedFolders(std::string base, const std::string& root, std::string& dirPart,
                              std::string& namePart) {
    // A root that cannot be entered (no medium, or its current folder is closed to this user)
    // is passed over: the rest of the path is looked for from where the process stands.
    std::string rootDir;
    if (!root.empty() && ResolveDirectory(root, base, rootDir)) base = rootDir;

    namePart = dirPart.substr(NameStart(dirPart));
    if (dirPart.size() == namePart.size() + 1) {
        dirPart = "\\";
    } else if (dirPart.size() > namePart.size()) {
        dirPart.erase(dirPart.size() - namePart.size() - 1);
    } else {
        dirPart = base.substr(ExtractFileDrive(base).size());
        if (dirPart.empty()) dirPart = "\\";
    }

    if (!dirPart.empty()) base = Enter(base, dirPart);

    // '*' and '?' are ordinary characters of a Linux name: an existing folder of that name is
    // entered like any other, and only a name that is no folder is taken for a mask.
    if (namePart.empty()) return base;
    const std::string inBase = JoinPath(base, namePart);
    if (DirectoryExists(inBase) || (!HasWildcard(namePart) && !FileExists(inBase))) {
        base = Enter(base, inBase);
        dirPart = dirPart.size() == 1 ? "\\" + namePart : dirPart + "\\" + namePart;
        namePart.clear();
    }
    return base;
}

}  // namespace

std::string JoinPath(const std::string& directory, const std::string& name) {
    if (!directory.empty() && directory.back() == '\\') return directory + name;
    return directory + "\\" + name;
}

void SplitTypedPath(const std::string& text, char& drive, std::string& dirPart,
                    std::string& namePart) {
    // The current directory is only read: every folder on the way is looked up from it.
    const std::string current = CurrentDirectory();
    drive = current.empty() ? '\0' : current[0];
    dirPart = text;
    namePart.clear();
    std::string root;
    if (dirPart.size() >= 2 && dirPart.front() == '[' && dirPart.back() == ']') {
        dirPart = dirPart.substr(1, dirPart.size() - 2);
    } else {
        root = ExtractFileDrive(dirPart);
        if (root.empty()) {
            root = ExtractFileDrive(current);
        } else {
            dirPart.erase(0, root.size());
        }
        drive = root.size() >= 2 && root[1] == ':' ? root[0] : '\0';
    }
    const std::string reached = EnterTypedFolders(current, root, dirPart, namePart);
    if (drive == 0) dirPart = root + dirPart;
    // A current folder that has gone meanwhile gives way to the place the path led to.
    if (!DirectoryExists(current)) SetCurrentDir(reached);
}

int FontLineHeight(const TFont& font) {
    QFontMetrics metrics(font.ToQFont());
    return metrics.ascent() + metrics.descent();
}

int PathDepth(const std::string& path) {
    return static_cast<int>(std::count(path.begin(), path.end(), '\\'));
}

EInOutError InOutError(int code) {
    switch (code) {
        case 2:
            return EInOutError("File not found", code);
        case 3:
            return EInOutError("Invalid filename", code);
        case 4:
            return EInOutError("Too many open files", code);
        case 5:
            return EInOutError("File access denied", code);
        case 100:
            return EInOutError("Read beyond end of file", code);
        case 101:
            return EInOutError("Disk full", code);
        case 106:
            return EInOutError("Invalid numeric input", code);
        case ERROR_CANT_RESOLVE_FILENAME:
            // A folder reached through a symbolic link that leads back to one of its parents.
            return EInOutError(
                "The folder cannot be opened: its path goes round a loop of symbolic links", code);
        default:
            return EInOutError("I/O error " + std::to_string(code), code);
    }
}

void ChangeDirectory(const std::string& path) {
    if (!SetCurrentDir(path)) throw InOutError(GetLastError());
}

std::string CurrentDirectory() {
    return GetCurrentDir();
}

std::vector<TFindData> Enumerate(const std::string& pattern, std::uint32_t attributes) {
    constexpr std::uint32_t kExcluding = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                         FILE_ATTRIBUTE_VOLUME_ID | FILE_ATTRIBUTE_DIRECTORY;
    std::vector<TFindData> entries = FindFiles(pattern, attributes & FILE_ATTRIBUTE_READONLY);
    std::erase_if(entries, [&](const TFindData& e) {
        return (e.Attributes & kExcluding & ~attributes) != 0;
    });
    return entries;
}
