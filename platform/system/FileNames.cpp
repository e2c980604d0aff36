// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/system/FileNames.h"

#include <QChar>
#include <vector>

#include "platform/system/TFileMask.h"
#include "platform/system/Utf8Chars.h"

namespace {

using Utf8::AppendChar;
using Utf8::Fold;
using Utf8::NextChar;
using Utf8::RawByteBase;

template <typename Map>
std::string MapChars(const std::string& s, Map map) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = NextChar(s, i);
        AppendChar(out, cp >= RawByteBase ? cp : map(cp));
    }
    return out;
}

bool HasDriveColon(const std::string& s) {
    return s.size() >= 2 && s[1] == ':';
}

// Position just after the last '\' or the drive's ':', 0 when there is none. A colon anywhere
// else is an ordinary character of a Linux name ("C:\x\a:b" names the folder "a:b").
std::size_t NameStart(const std::string& s) {
    std::size_t p = s.find_last_of('\\');
    if (p != std::string::npos) return p + 1;
    return HasDriveColon(s) ? 2 : 0;
}

}  // namespace

std::string ExtractFileDrive(const std::string& fileName) {
    if (fileName.size() >= 2 && fileName[1] == ':') return fileName.substr(0, 2);
    if (fileName.size() >= 2 && fileName[0] == '\\' && fileName[1] == '\\') {
        std::size_t afterServer = fileName.find('\\', 2);
        if (afterServer == std::string::npos) return fileName;
        std::size_t afterShare = fileName.find('\\', afterServer + 1);
        return afterShare == std::string::npos ? fileName : fileName.substr(0, afterShare);
    }
    return {};
}

std::string ExtractFilePath(const std::string& fileName) {
    return fileName.substr(0, NameStart(fileName));
}

std::string ExtractFileDir(const std::string& fileName) {
    std::string dir = ExtractFilePath(fileName);
    const bool atRoot =
        dir.size() <= 1 || dir[dir.size() - 2] == '\\' || (dir.size() == 3 && HasDriveColon(dir));
    if (!atRoot && dir.back() == '\\') dir.pop_back();
    return dir;
}

std::string ExtractFileName(const std::string& fileName) {
    return fileName.substr(NameStart(fileName));
}

std::string ExtractFileExt(const std::string& fileName) {
    std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || dot < NameStart(fileName)) return {};
    return fileName.substr(dot);
}

int AnsiCompareFileName(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        char32_t ca = Fold(NextChar(a, i));
        char32_t cb = Fold(NextChar(b, j));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

std::string AnsiLowerCaseFileName(const std::string& s) {
    return MapChars(s, [](char32_t cp) { return QChar::toLower(cp); });
}

std::string AnsiUpperCaseFileName(const std::string& s) {
    return MapChars(s, [](char32_t cp) { return QChar::toUpper(cp); });
}

bool MatchesMask(const std::string& name, const std::string& mask) {
    return TFileMask(mask).Matches(name);
}
