// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Fuzz target: the find-first mask a user types after a folder ("*.rtf", "a?c*"), matched against
// names a folder holds. Input: mask, a NUL byte, then the name. The fast matcher must agree with
// a plain dynamic-programming matcher over the same folded characters, and finish quickly
// whatever the mask (libFuzzer's timeout catches a matcher that backtracks without end).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/system/TFileMask.h"
#include "platform/system/Utf8Chars.h"

namespace {

std::vector<char32_t> Folded(const std::string& s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) out.push_back(Utf8::Fold(Utf8::NextChar(s, i)));
    return out;
}

// Whether `name` matches `mask`: match[i][j] for the first i name and j mask characters.
bool MatchesByTable(const std::string& maskText, const std::string& nameText) {
    if (maskText == "*" || maskText == "*.*") return true;
    const std::vector<char32_t> mask = Folded(maskText), name = Folded(nameText);
    std::vector<std::vector<char>> match(name.size() + 1, std::vector<char>(mask.size() + 1, 0));
    match[0][0] = 1;
    for (std::size_t j = 1; j <= mask.size(); ++j)
        match[0][j] = mask[j - 1] == U'*' && match[0][j - 1];
    for (std::size_t i = 1; i <= name.size(); ++i) {
        for (std::size_t j = 1; j <= mask.size(); ++j) {
            const char32_t m = mask[j - 1];
            if (m == U'*')
                match[i][j] = match[i - 1][j] || match[i][j - 1];
            else
                match[i][j] = (m == U'?' || m == name[i - 1]) && match[i - 1][j - 1];
        }
    }
    return match[name.size()][mask.size()];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;  // the table above is quadratic; names are short
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string mask = input.substr(0, nul);
    const std::string name = nul == std::string::npos ? std::string() : input.substr(nul + 1);
    if (TFileMask(mask).Matches(name) != MatchesByTable(mask, name)) __builtin_trap();
    return 0;
}
