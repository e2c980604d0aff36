// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/system/TFileMask.h"

#include "platform/system/Utf8Chars.h"

TFileMask::TFileMask(const std::string& mask) {
    FMatchesAll = mask == "*" || mask == "*.*";
    for (std::size_t i = 0; i < mask.size();)
        FFolded.push_back(Utf8::Fold(Utf8::NextChar(mask, i)));
}

bool TFileMask::Matches(const char* name, std::size_t length) const {
    if (FMatchesAll) return true;
    // The name's characters, folded; reused between calls (one thread only).
    thread_local std::vector<char32_t> chars;
    chars.clear();
    for (std::size_t i = 0; i < length;)
        chars.push_back(Utf8::Fold(Utf8::NextChar(name, length, i)));
    const std::vector<char32_t>& m = FFolded;
    // Greedy match that backtracks only to the latest '*': never exponential.
    std::size_t i = 0, j = 0, star = std::string::npos, mark = 0;
    while (i < chars.size()) {
        if (j < m.size() && m[j] == U'*') {
            star = j++;
            mark = i;
        } else if (j < m.size() && (m[j] == U'?' || m[j] == chars[i])) {
            ++i;
            ++j;
        } else if (star != std::string::npos) {
            j = star + 1;
            i = ++mark;
        } else {
            return false;
        }
    }
    while (j < m.size() && m[j] == U'*') ++j;
    return j == m.size();
}
