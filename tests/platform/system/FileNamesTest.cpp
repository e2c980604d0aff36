// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include <gtest/gtest.h>

#include "platform/system/FileNames.h"

TEST(FileNames, DrivePartOfLetterAndSharePaths) {
    EXPECT_EQ(ExtractFileDrive("C:\\Work\\a.txt"), "C:");
    EXPECT_EQ(ExtractFileDrive("d:x"), "d:");
    EXPECT_EQ(ExtractFileDrive("\\\\srv\\share\\dir\\a"), "\\\\srv\\share");
    EXPECT_EQ(ExtractFileDrive("\\\\srv\\share"), "\\\\srv\\share");
    EXPECT_EQ(ExtractFileDrive("\\\\srv"), "\\\\srv");
    EXPECT_EQ(ExtractFileDrive("\\Work"), "");
    EXPECT_EQ(ExtractFileDrive("notes.rtf"), "");
    EXPECT_EQ(ExtractFileDrive(""), "");
}

TEST(FileNames, PathNameAndExtensionSplitAtLastSeparatorOrColon) {
    EXPECT_EQ(ExtractFilePath("C:\\a\\b.txt"), "C:\\a\\");
    EXPECT_EQ(ExtractFilePath("C:b.txt"), "C:");
    EXPECT_EQ(ExtractFilePath("b.txt"), "");
    EXPECT_EQ(ExtractFileName("C:\\a\\b.txt"), "b.txt");
    EXPECT_EQ(ExtractFileName("C:b.txt"), "b.txt");
    EXPECT_EQ(ExtractFileName("C:\\a\\"), "");
    EXPECT_EQ(ExtractFileDir("C:\\a\\b.txt"), "C:\\a");
    EXPECT_EQ(ExtractFileDir("C:\\b.txt"), "C:\\");
    EXPECT_EQ(ExtractFileDir("\\b.txt"), "\\");
    EXPECT_EQ(ExtractFileDir("\\\\srv\\share\\b.txt"), "\\\\srv\\share");

    EXPECT_EQ(ExtractFileExt("C:\\a\\b.TXT"), ".TXT");
    EXPECT_EQ(ExtractFileExt("C:\\a.d\\readme"), "");  // the dot is in a folder name
    EXPECT_EQ(ExtractFileExt("C:\\a\\b.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("x:.profile"), ".profile");
    EXPECT_EQ(ExtractFileExt("name."), ".");
}

TEST(FileNames, AColonBeyondTheDriveIsPartOfAName) {
    const struct {
        const char* Path;
        const char* Dir;
        const char* Name;
        const char* Ext;
    } rows[] = {
        {"C:\\x\\a:b", "C:\\x", "a:b", ""},
        {"C:\\a:b\\c.txt", "C:\\a:b", "c.txt", ".txt"},
        {"C:\\x\\v1:2.rtf", "C:\\x", "v1:2.rtf", ".rtf"},
        {"C:\\x\\notes.v1:2", "C:\\x", "notes.v1:2", ".v1:2"},
        {"\\\\srv\\share\\a:b", "\\\\srv\\share", "a:b", ""},
        {"C:a:b", "C:", "a:b", ""},  // after the drive's own colon
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ExtractFileDir(row.Path), row.Dir) << row.Path;
        EXPECT_EQ(ExtractFileName(row.Path), row.Name) << row.Path;
        EXPECT_EQ(ExtractFileExt(row.Path), row.Ext) << row.Path;
    }
    EXPECT_EQ(ExtractFileDrive("C:\\x\\a:b"), "C:");
}

TEST(FileNames, CompareIgnoresCaseBeyondAscii) {
    EXPECT_EQ(AnsiCompareFileName("C:\\Work\\Notes.RTF", "c:\\work\\notes.rtf"), 0);
    EXPECT_EQ(AnsiCompareFileName("\xC3\x84RGER", "\xC3\xA4rger"), 0);  // ÄRGER / ärger
    EXPECT_EQ(AnsiCompareFileName("\xCE\xA3", "\xCF\x83"), 0);          // Σ / σ
    EXPECT_LT(AnsiCompareFileName("abc", "ABD"), 0);
    EXPECT_GT(AnsiCompareFileName("abcd", "ABC"), 0);
    EXPECT_LT(AnsiCompareFileName("", "a"), 0);
    // Invalid bytes compare as themselves and never equal a character.
    EXPECT_EQ(AnsiCompareFileName("a\xFF", "A\xFF"), 0);
    EXPECT_NE(AnsiCompareFileName("a\xC3", "a\xC3\xA4"), 0);
    EXPECT_NE(AnsiCompareFileName("\xFF", "\xC3\xBF"), 0);  // raw 0xFF is not ÿ
}

TEST(FileNames, CaseMappingKeepsInvalidBytes) {
    EXPECT_EQ(AnsiLowerCaseFileName("SYSTEM \xC3\x84"), "system \xC3\xA4");
    EXPECT_EQ(AnsiUpperCaseFileName("system \xC3\xA4"), "SYSTEM \xC3\x84");
    EXPECT_EQ(AnsiUpperCaseFileName("a\xFF\xC3z"), "A\xFF\xC3Z");
    // A truncated sequence at the end and an overlong encoding stay bytes.
    EXPECT_EQ(AnsiUpperCaseFileName("a\xE2\x82"), "A\xE2\x82");
    EXPECT_EQ(AnsiUpperCaseFileName("\xC0\xAF"), "\xC0\xAF");
}

TEST(FileNames, MaskWildcards) {
    EXPECT_TRUE(MatchesMask("README", "*.*"));  // no dot, still every name
    EXPECT_TRUE(MatchesMask(".", "*.*"));
    EXPECT_TRUE(MatchesMask("notes.RTF", "*.rtf"));
    EXPECT_FALSE(MatchesMask("notes.rtf.bak", "*.rtf"));
    EXPECT_TRUE(MatchesMask("a.txt", "?.txt"));
    EXPECT_FALSE(MatchesMask("ab.txt", "?.txt"));
    EXPECT_TRUE(MatchesMask("\xC3\xA4.txt", "?.TXT"));  // ? is one character, not one byte
    EXPECT_TRUE(MatchesMask("\xC3\x84RGER.txt", "\xC3\xA4*"));
    EXPECT_TRUE(MatchesMask("abcabcabd", "*abd"));
    EXPECT_TRUE(MatchesMask("x", "x***"));
    EXPECT_FALSE(MatchesMask("song.mp3", "*.wav"));
    EXPECT_FALSE(MatchesMask("song.mp3", ""));
    EXPECT_TRUE(MatchesMask("\xFF\xFE.txt", "*.txt"));
    // A pathological mask does not take exponential time.
    EXPECT_FALSE(MatchesMask(std::string(2000, 'a'), std::string(50, '*') + "b"));
}
