// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/rtf/RtfCodePage.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace Rtf {
namespace {

// The system converter's names for the double-byte pages that RTF files use.
const char* IconvName(int number) {
    switch (number) {
        case 932:
            return "CP932";
        case 936:
            return "CP936";
        case 949:
            return "CP949";
        case 950:
            return "CP950";
        case 1361:
            return "CP1361";
        default:
            return nullptr;
    }
}

const RtfCodePageTable* FindTable(int number) {
    for (int i = 0; i < kRtfCodePageTableCount; ++i) {
        if (kRtfCodePageTables[i].Number == number) return &kRtfCodePageTables[i];
    }
    return nullptr;
}

QString DecodeWithIconv(const char* name, std::string_view bytes) {
    iconv_t cd = iconv_open("UTF-16LE", name);
    if (cd == reinterpret_cast<iconv_t>(-1)) return QString(qsizetype(bytes.size()), QChar(0xFFFD));
    QString out;
    std::vector<char> buffer(bytes.size() * 4 + 16);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(QStringView(reinterpret_cast<const char16_t*>(buffer.data()),
                               qsizetype((buffer.size() - outLeft) / 2)));
        if (rc == size_t(-1) && errno != E2BIG) {
            // An invalid or cut-off sequence: one replacement character, then go on after it.
            out.append(QChar(0xFFFD));
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

// What the Symbol font's glyphs 0x20 to 0xFF are; 0 where the font has none or Unicode no
// counterpart. Letters are Greek, the upper half arrows, operators and bracket pieces.
// clang-format off
constexpr char16_t kSymbolFont[224] = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B,  // 0x20
    0x0028, 0x0029, 0x2217, 0x002B, 0x002C, 0x2212, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,  // 0x30
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393,  // 0x40
    0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9,  // 0x50
    0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,
    0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,  // 0x60
    0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9,  // 0x70
    0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0,
    0, 0, 0, 0, 0, 0, 0, 0,                                          // 0x80
    0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0,                                          // 0x90
    0, 0, 0, 0, 0, 0, 0, 0,
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663,  // 0xA0
    0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022,  // 0xB0
    0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5,
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229,  // 0xC0
    0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5,  // 0xD0
    0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C,  // 0xE0
    0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA,
    0,      0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F,  // 0xF0
    0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0,
};
// clang-format on

}  // namespace

char16_t RtfCodePage::SymbolFontCharacter(char16_t c) {
    if (c < 0xF020 || c > 0xF0FF) return c;
    const char16_t mapped = kSymbolFont[c - 0xF020];
    return mapped != 0 ? mapped : c;
}

RtfCodePage RtfCodePage::ForNumber(int number) {
    if (number == kUtf8 || IconvName(number) || number == kSymbol) {
        return RtfCodePage(number, nullptr);
    }
    if (const RtfCodePageTable* table = FindTable(number)) return RtfCodePage(number, table->Upper);
    return RtfCodePage(kWestern, FindTable(kWestern)->Upper);
}

int RtfCodePage::NumberForCharset(int charset) {
    switch (charset) {
        case 2:
            return kSymbol;
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 130:
            return 1361;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 254:
        case 255:
            return 437;
        default:
            return 0;  // ANSI and default: the document's code page
    }
}

int RtfCodePage::EncodeWestern(char32_t c) {
    if (c < 0x80) return int(c);
    if (c >= 0xA0 && c <= 0xFF) return int(c);  // cp1252 agrees with Latin-1 here
    const char16_t* upper = FindTable(kWestern)->Upper;
    for (int i = 0; i < 0x20; ++i) {
        if (upper[i] == c && c != 0xFFFD) return 0x80 + i;
    }
    return -1;
}

QString RtfCodePage::DecodeBytes(std::string_view bytes) const {
    if (FNumber == kUtf8) return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    if (const char* name = IconvName(FNumber)) return DecodeWithIconv(name, bytes);
    QString out;
    out.reserve(qsizetype(bytes.size()));
    for (char b : bytes) out.append(QChar(DecodeByte(uint8_t(b))));
    return out;
}

}  // namespace Rtf
