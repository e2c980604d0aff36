// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Splitting, expanding and comparing the program's paths (drive letter or \\server\share,
// backslash separators, UTF-8 bytes). Apart from ExpandFileName and
// AnsiCompareFileNameOnVolume, which look at the current directories and the volume table of
// platform/system/FileSystem.h, these are pure string functions.
//
// A backslash never occurs inside a multi-byte UTF-8 sequence, so every scan for a separator
// is a plain byte scan.
#include <string>

// "C:" for C:\x; "\\server\share" for \\server\share\x (up to, not including, the backslash
// after the share name; the whole text when there is none); otherwise empty.
std::string ExtractFileDrive(const std::string& fileName);
// The separators are the backslashes and the drive's colon ("C:" of C:b.txt); a colon elsewhere
// is an ordinary character of a Linux name (C:\x\a:b names the folder a:b).
// Everything up to and including the last separator ("C:\a\" for C:\a\b.txt).
std::string ExtractFilePath(const std::string& fileName);
// ExtractFilePath without its trailing '\', except at a root ("C:\a" for C:\a\b.txt, "C:\"
// for C:\b.txt, "\" for \b.txt).
std::string ExtractFileDir(const std::string& fileName);
// Everything after the last separator.
std::string ExtractFileName(const std::string& fileName);
// From the last '.' to the end, when that '.' stands after the last separator; else empty.
std::string ExtractFileExt(const std::string& fileName);

// The full form of a path against the current directories: "D:x" is taken from D:'s own
// current directory, "\x" from the root of the current drive, "x" from the current
// directory; "." and ".." are resolved by text, '/' is read as '\', repeated separators fold,
// and the drive letter comes out in upper case. No file-system access. Empty for an empty text.
std::string ExpandFileName(const std::string& fileName);

// Compares two file names ignoring letter case (Unicode simple case folding of the UTF-8
// text; bytes that are not valid UTF-8 compare as themselves, after all characters).
// Negative, 0 or positive.
int AnsiCompareFileName(const std::string& a, const std::string& b);
// Compares two paths by the case rule of the volume the first one lies on: exactly on a
// volume that distinguishes letter case (the drive letter itself is always compared ignoring
// case), else as AnsiCompareFileName. Use this where equality decides "same place".
int AnsiCompareFileNameOnVolume(const std::string& a, const std::string& b);

// The name in lower / upper case (Unicode simple case mapping; invalid bytes kept as they are).
std::string AnsiLowerCaseFileName(const std::string& s);
std::string AnsiUpperCaseFileName(const std::string& s);

// True when the name matches a find-first mask (see TFileMask in platform/system/TFileMask.h, which
// prepares a mask once for many names): '*' any run of characters, '?' one character, letter
// case ignored; "*.*" matches every name, even one without a dot.
bool MatchesMask(const std::string& name, const std::string& mask);
