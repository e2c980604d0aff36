// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Code pages that RTF text names (\ansicpg, \fcharset, \cpg): how \'hh bytes become characters.
#include <QString>
#include <cstdint>
#include <string_view>

namespace Rtf {

// The upper half (0x80-0xFF) of one single-byte code page; the lower half is ASCII.
struct RtfCodePageTable {
    int Number;
    char16_t Upper[128];
};
extern const RtfCodePageTable kRtfCodePageTables[];
extern const int kRtfCodePageTableCount;

class RtfCodePage {
public:
    static constexpr int kUtf8 = 65001;
    static constexpr int kWestern = 1252;
    // Symbol fonts (\fcharset2): each byte from 0x20 up names the font's glyph at U+F000 + byte.
    static constexpr int kSymbol = 42;

    // The code page with this number; numbers we cannot decode fall back to 1252.
    static RtfCodePage ForNumber(int number);
    // The code page that a font character set (\fcharsetN) stands for; 0 when the font follows
    // the document's code page (ANSI and default character sets).
    static int NumberForCharset(int charset);
    // The cp1252 byte for a character, or -1 when cp1252 has none.
    static int EncodeWestern(char32_t c);
    // The character that the Symbol font shows for its glyph `c` (U+F020 to U+F0FF): Greek
    // letters, arrows, mathematical signs. Anything else comes back as it is.
    static char16_t SymbolFontCharacter(char16_t c);

    int Number() const { return FNumber; }
    // Multi-byte pages decode whole byte sequences (DecodeBytes), single-byte ones per byte.
    bool IsMultiByte() const { return FUpper == nullptr && FNumber != kSymbol; }
    // Whether bytes below 0x80 stand for something other than ASCII.
    bool RemapsAscii() const { return FNumber == kSymbol; }
    char16_t DecodeByte(uint8_t byte) const {
        if (FNumber == kSymbol) return byte < 0x20 ? char16_t(byte) : char16_t(0xF000 + byte);
        return byte < 0x80 ? char16_t(byte) : FUpper[byte - 0x80];
    }
    // Decodes a byte sequence of a multi-byte page; bytes that form no character become U+FFFD.
    QString DecodeBytes(std::string_view bytes) const;

private:
    RtfCodePage(int number, const char16_t* upper) : FNumber(number), FUpper(upper) {}
    int FNumber;
    const char16_t* FUpper;
};

}  // namespace Rtf
