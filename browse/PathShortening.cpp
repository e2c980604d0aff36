// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "browse/PathShortening.h"

#include "platform/system/FileNames.h"
#include "toolkit/TCanvas.h"

namespace {
const std::string kGap = "...\\";
}

void DropLeadingFolder(std::string& dir) {
    if (dir == "\\") {
        dir.clear();
        return;
    }
    const bool rooted = !dir.empty() && dir.front() == '\\';
    if (rooted) dir.erase(0, 1);
    // Only an earlier gap mark goes: a folder whose name starts with "." is a folder like any
    // other.
    if (dir.compare(0, kGap.size(), kGap) == 0) dir.erase(0, kGap.size());
    const std::size_t p = dir.find('\\');
    dir = p == std::string::npos ? std::string() : kGap + dir.substr(p + 1);
    if (rooted) dir.insert(0, "\\");
}

std::string ShortenPathToWidth(const std::string& path, TCanvas& canvas, int maxWidth) {
    std::string result = path;
    std::string dir = ExtractFilePath(path);
    const std::string name = ExtractFileName(path);
    std::string drive;
    if (dir.size() >= 2 && dir[1] == ':') {
        drive = dir.substr(0, 2);
        dir.erase(0, 2);
    }
    while ((!dir.empty() || !drive.empty()) && canvas.TextWidth(result) > maxWidth) {
        if (dir == "\\" + kGap) {
            drive.clear();
            dir = kGap;
        } else if (dir.empty()) {
            drive.clear();
        } else {
            DropLeadingFolder(dir);
        }
        result = drive + dir + name;
    }
    return result;
}
