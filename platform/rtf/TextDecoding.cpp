// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/rtf/TextDecoding.h"

#include <utility>

namespace RichEdit {

namespace {

// 0x80..0x9F of Windows-1252; the five bytes it leaves undefined map to themselves.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Decodes one UTF-8 sequence starting at `s` (first byte >= 0x80). Returns its length, or 0
// when the bytes there are not a valid, shortest-form sequence.
int DecodeUtf8Sequence(const unsigned char* s, const unsigned char* end, char32_t& cp) {
    const unsigned c = s[0];
    int len;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (end - s < len) return 0;
    for (int i = 1; i < len; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (s[i] & 0x3F);
    }
    if (len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return 0;
    if (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) return 0;
    return len;
}

}  // namespace

char16_t Windows1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
    return byte;
}

namespace {

// The 8-bit text of `bytes`: UTF-8 where valid, else Windows-1252.
QString DecodeBytes(std::string_view bytes) {
    // Every byte yields at most one UTF-16 unit (a 4-byte sequence yields two), so the bytes'
    // count bounds the result.
    QString out(qsizetype(bytes.size()), Qt::Uninitialized);
    char16_t* d = reinterpret_cast<char16_t*>(out.data());
    char16_t* const begin = d;
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = s + bytes.size();
    while (s < end) {
        const unsigned c = *s;
        if (c >= 0x80) {
            char32_t cp = 0;
            const int len = DecodeUtf8Sequence(s, end, cp);
            if (len == 0) {
                *d++ = Windows1252ToUnicode(static_cast<unsigned char>(c));
                ++s;
            } else if (cp >= 0x10000) {
                *d++ = char16_t(0xD800 + ((cp - 0x10000) >> 10));
                *d++ = char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
                s += len;
            } else {
                *d++ = char16_t(cp);
                s += len;
            }
        } else if (c == '\r') {
            *d++ = u'\n';
            ++s;
            if (s < end && *s == '\n') ++s;
        } else {
            *d++ = char16_t(c);
            ++s;
        }
    }
    out.truncate(d - begin);
    return out;
}

// The UTF-16 text of `bytes` (after the byte order mark). A surrogate without its partner and
// an odd last byte become U+FFFD; NUL characters are dropped.
QString DecodeUtf16(std::string_view bytes, bool bigEndian) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t units = bytes.size() / 2;
    auto unitAt = [&](size_t i) {
        const unsigned first = s[2 * i], second = s[2 * i + 1];
        return char16_t(bigEndian ? first << 8 | second : second << 8 | first);
    };
    QString out(qsizetype(units + 1), Qt::Uninitialized);
    char16_t* d = reinterpret_cast<char16_t*>(out.data());
    char16_t* const begin = d;
    for (size_t i = 0; i < units; ++i) {
        const char16_t u = unitAt(i);
        if (u == 0) continue;
        if (u == u'\r') {
            *d++ = u'\n';
            if (i + 1 < units && unitAt(i + 1) == u'\n') ++i;
        } else if (QChar::isHighSurrogate(u) && i + 1 < units &&
                   QChar::isLowSurrogate(unitAt(i + 1))) {
            *d++ = u;
            *d++ = unitAt(++i);
        } else if (QChar::isSurrogate(u)) {
            *d++ = QChar::ReplacementCharacter;
        } else {
            *d++ = u;
        }
    }
    if (bytes.size() % 2) *d++ = QChar::ReplacementCharacter;
    out.truncate(d - begin);
    return out;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

bool IsUtf16Mark(std::string_view firstTwo) {
    return firstTwo == kUtf16LeMark || firstTwo == kUtf16BeMark;
}

}  // namespace

QString DecodePlainText(std::string_view bytes) {
    if (bytes.starts_with(kUtf16LeMark)) return DecodeUtf16(bytes.substr(2), false);
    if (bytes.starts_with(kUtf16BeMark)) return DecodeUtf16(bytes.substr(2), true);
    if (bytes.starts_with(kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
    return DecodeBytes(bytes);
}

void PlainTextCollector::Add(std::string_view chunk) {
    if (chunk.empty()) return;
    if (FForm == TForm::Unknown) {
        // The form shows in the first two bytes, which a one-byte first chunk does not hold.
        if (FFirstByte.empty() && chunk.size() == 1) {
            FFirstByte.assign(chunk);
            return;
        }
        const std::string firstTwo =
            FFirstByte + std::string(chunk.substr(0, 2 - FFirstByte.size()));
        FForm = IsUtf16Mark(firstTwo) ? TForm::Utf16 : TForm::Bytes;
        Keep(std::exchange(FFirstByte, {}));
    }
    Keep(chunk);
}

void PlainTextCollector::Keep(std::string_view chunk) {
    if (FForm == TForm::Bytes) chunk = chunk.substr(0, chunk.find('\0'));
    FBytes.append(chunk);
}

QString PlainTextCollector::TakeText() {
    if (FForm == TForm::Unknown) {
        FForm = TForm::Bytes;
        Keep(std::exchange(FFirstByte, {}));
    }
    QString text = DecodePlainText(FBytes);
    *this = PlainTextCollector();
    return text;
}

void AppendUtf8(std::string& out, QStringView text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t cp = text[i].unicode();
        if (cp < 0x80) {
            out.push_back(char(cp));
            continue;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && text[i + 1].isLowSurrogate()) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1].unicode() - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x800) {
            out.push_back(char(0xC0 | (cp >> 6)));
        } else if (cp < 0x10000) {
            out.push_back(char(0xE0 | (cp >> 12)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (cp >> 18)));
            out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        }
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

}  // namespace RichEdit
