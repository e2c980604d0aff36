// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Reading and writing the characters of UTF-8 byte strings, for the file-name functions. A
// byte that does not start a valid sequence (overlong, surrogate, truncated, stray
// continuation) stands for itself as RawByteBase + byte, above every character, so that no
// byte is lost or merged with another.
#include <QChar>
#include <cstddef>
#include <string>

namespace Utf8 {

constexpr char32_t RawByteBase = 0x110000;

// Decodes the character at s[i] and advances i past it.
inline char32_t NextChar(const char* s, std::size_t length, std::size_t& i) {
    auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        ++i;
        return c;
    }
    std::size_t n = c < 0xC2 ? 0 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c <= 0xF4 ? 4 : 0;
    if (n == 0 || i + n > length) {
        ++i;
        return RawByteBase + c;
    }
    char32_t cp = c & (0xFF >> (n + 1));
    for (std::size_t k = 1; k < n; ++k) {
        auto t = static_cast<unsigned char>(s[i + k]);
        if ((t & 0xC0) != 0x80) {
            ++i;
            return RawByteBase + c;
        }
        cp = (cp << 6) | (t & 0x3F);
    }
    bool overlong = (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return RawByteBase + c;
    }
    i += n;
    return cp;
}

inline char32_t NextChar(const std::string& s, std::size_t& i) {
    return NextChar(s.data(), s.size(), i);
}

inline void AppendChar(std::string& out, char32_t cp) {
    if (cp >= RawByteBase) {
        out += static_cast<char>(cp - RawByteBase);
    } else if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Simple case folding; raw bytes fold to themselves.
inline char32_t Fold(char32_t cp) {
    if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    if (cp >= RawByteBase) return cp;
    return QChar::toCaseFolded(cp);
}

}  // namespace Utf8
