#include "browse/FileCtrl.h"

#include <QFontMetrics>
#include <algorithm>

#include "toolkit/TFont.h"

namespace {

bool HasWildcard(const std::string& s) {
    return s.find_first_of("*?") != std::string::npos;
}

// Steps 5 to 8 of splitting a typed path; runs with the current directory saved by the caller.
void EnterTypedFolders(const std::string& root, std::string& dirPart, std::string& namePart) {
    if (!root.empty() && DirectoryExists(root)) ChangeDirectory(root);

    namePart = ExtractFileName(dirPart);
    if (dirPart.size() == namePart.size() + 1) {
        dirPart = "\\";
    } else if (dirPart.size() > namePart.size()) {
        dirPart.erase(dirPart.size() - namePart.size() - 1);
    } else {
        std::string current = CurrentDirectory();
        dirPart = current.substr(ExtractFileDrive(current).size());
        if (dirPart.empty()) dirPart = "\\";
    }

    if (!dirPart.empty()) ChangeDirectory(dirPart);

    if (!namePart.empty() && !HasWildcard(namePart) && !FileExists(namePart)) {
        ChangeDirectory(namePart);
        dirPart = dirPart.size() == 1 ? "\\" + namePart : dirPart + "\\" + namePart;
        namePart.clear();
    }
}

void RestoreDirectory(const std::string& saveDir) {
    // The folder may have gone meanwhile; then the current directory stays where it is.
    if (DirectoryExists(saveDir)) SetCurrentDir(saveDir);
}

}  // namespace

std::string JoinPath(const std::string& directory, const std::string& name) {
    if (!directory.empty() && directory.back() == '\\') return directory + name;
    return directory + "\\" + name;
}

void SplitTypedPath(const std::string& text, char& drive, std::string& dirPart,
                    std::string& namePart) {
    const std::string saveDir = CurrentDirectory();
    drive = saveDir.empty() ? 0 : saveDir[0];
    dirPart = text;
    namePart.clear();
    std::string root;
    if (dirPart.size() >= 2 && dirPart.front() == '[' && dirPart.back() == ']') {
        dirPart = dirPart.substr(1, dirPart.size() - 2);
    } else {
        root = ExtractFileDrive(dirPart);
        if (root.empty()) {
            root = ExtractFileDrive(saveDir);
        } else {
            dirPart.erase(0, root.size());
        }
        drive = root.size() >= 2 && root[1] == ':' ? root[0] : 0;
    }
    try {
        EnterTypedFolders(root, dirPart, namePart);
    } catch (...) {
        RestoreDirectory(saveDir);
        throw;
    }
    if (drive == 0) dirPart = root + dirPart;
    RestoreDirectory(saveDir);
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
