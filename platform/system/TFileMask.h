// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A find-first mask, prepared once and matched against many names: '*' any run of characters,
// '?' exactly one character (not one byte), letter case ignored (Unicode simple case folding);
// "*" and "*.*" match every name, even one without a dot. Bytes that are not valid UTF-8 match
// only themselves (or a wildcard).
#include <string>
#include <vector>

class TFileMask {
public:
    explicit TFileMask(const std::string& mask);
    bool Matches(const std::string& name) const { return Matches(name.data(), name.size()); }
    bool Matches(const char* name, std::size_t length) const;

private:
    std::vector<char32_t> FFolded;  // the mask's characters, case-folded
    bool FMatchesAll = false;
};
