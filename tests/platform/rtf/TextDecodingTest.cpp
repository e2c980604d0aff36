// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Plain-text bytes as the note area reads them: the byte order marks that choose UTF-16 or are
// dropped, and the chunks in which a NUL byte ends the text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtf/TextDecoding.h"
#include "tests/TestSupport.h"

using namespace std::string_literals;
using RichEdit::DecodePlainText;
using RichEdit::PlainTextCollector;

namespace {

QString U(const char16_t* text) {
    return QString::fromUtf16(text);
}

}  // namespace

TEST(TextDecoding, ByteOrderMarksChooseTheEncoding) {
    const struct {
        const char* Name;
        std::string Bytes;
        QString Text;
    } cases[] = {
        {"UTF-16 LE", "\xFF\xFEH\0i\0"s, U(u"Hi")},
        {"UTF-16 BE", "\xFE\xFF\0H\0i"s, U(u"Hi")},
        {"UTF-16 breaks",
         "\xFF\xFE"
         "a\0\r\0\n\0b\0\r\0c\0\n\0"s,
         U(u"a\nb\nc\n")},
        {"UTF-16 BE breaks", "\xFE\xFF\0a\0\r\0b\0\n"s, U(u"a\nb\n")},
        {"UTF-16 pair", "\xFF\xFE\x3D\xD8\x00\xDE"s, U(u"\U0001F600")},
        {"UTF-16 lone high", "\xFF\xFE\x3D\xD8x\0"s, U(u"\uFFFDx")},
        {"UTF-16 lone low", "\xFF\xFE\x00\xDEx\0"s, U(u"\uFFFDx")},
        {"UTF-16 odd last byte", "\xFF\xFEH\0i"s, U(u"H\uFFFD")},
        {"UTF-16 NULs dropped",
         "\xFF\xFE"
         "a\0\0\0\0\0b\0"s,
         U(u"ab")},
        {"UTF-16 mark alone", "\xFF\xFE", U(u"")},
        {"UTF-8 mark dropped", "\xEF\xBB\xBFh\xC3\xA9", U(u"h\u00E9")},
        {"UTF-8 mark inside kept", "hi\xEF\xBB\xBF", U(u"hi\uFEFF")},
        {"no mark: Windows-1252", "\xFF\xFF", U(u"\u00FF\u00FF")},
        {"half a mark", "\xFF", U(u"\u00FF")},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodePlainText(c.Bytes), c.Text) << c.Name;
}

TEST(TextDecoding, ANulEndsTheTextOfItsChunkUnlessTheTextIsUtf16) {
    const struct {
        const char* Name;
        std::vector<std::string> Chunks;
        QString Text;
    } cases[] = {
        {"NUL inside", {"abc\0def"s, "ghi"}, U(u"abcghi")},
        {"NUL first", {"\0abc"s, "def"}, U(u"def")},
        {"only NULs", {"\0\0"s, "\0\0"s}, U(u"")},
        {"one-byte NUL chunk", {"\0"s, "x"}, U(u"x")},
        {"one byte", {"a"}, U(u"a")},
        {"break split", {"a\r", "\nb"}, U(u"a\nb")},
        {"UTF-8 split", {"\xC3", "\xA9"}, U(u"\u00E9")},
        {"UTF-8 mark split", {"\xEF\xBB", "\xBFok"}, U(u"ok")},
        {"UTF-16 keeps NUL bytes", {"\xFF\xFEH\0"s, "i\0"s}, U(u"Hi")},
        {"UTF-16 mark split", {"\xFF", "\xFEH\0i\0"s}, U(u"Hi")},
        {"UTF-16 unit split", {"\xFF\xFEH", "\0i\0"s}, U(u"Hi")},
    };
    for (const auto& c : cases) {
        PlainTextCollector collector;
        for (const std::string& chunk : c.Chunks) collector.Add(chunk);
        EXPECT_EQ(collector.TakeText(), c.Text) << c.Name;
        EXPECT_EQ(collector.Size(), 0u) << c.Name;  // emptied by taking the text
    }
}
