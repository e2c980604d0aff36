// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The path and volume routines that the drive selector, directory list, file list and filter
// selector share. They hold no state of their own; the current directories live in the
// file-system layer (platform/system/FileSystem.h), which also provides DirectoryExists,
// FileExists, the volume queries and the path-splitting functions of platform/system/FileNames.h.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/system/Exception.h"
#include "platform/system/FileNames.h"
#include "platform/system/FileSystem.h"

class TFont;

// directory + name, with one '\' between them ("C:\" + "a.txt" -> "C:\a.txt"; "" + "a" -> "\a").
std::string JoinPath(const std::string& directory, const std::string& name);

// Splits what a user typed (a path, a mask, a name in the current folder, or "[Folder]" as the
// file list shows folders) into drive letter (0 for a share path), folder and name. A name that
// is no existing file and has no wildcard is entered as a folder and moved into DirPart. Raises
// the directory-change error (EInOutError) for a folder it cannot enter. The current directory
// is the same afterwards as before, provided that folder still exists.
void SplitTypedPath(const std::string& text, char& drive, std::string& dirPart,
                    std::string& namePart);

// The line height (ascent + descent) of a font on the screen.
int FontLineHeight(const TFont& font);

// The number of '\' in a path: C:\ has depth 1, C:\A\B depth 2, \\srv\share\dir 4.
int PathDepth(const std::string& path);

// The directory-change error for a system error code: 2 "File not found", 3 "Invalid
// filename", 4 "Too many open files", 5 "File access denied", 100 "Read beyond end of file",
// 101 "Disk full", 106 "Invalid numeric input", 1921 (a loop of symbolic links) a sentence
// that says so, otherwise "I/O error <code>".
EInOutError InOutError(int code);

// Changes the process's current directory (see SetCurrentDir for the forms accepted: "D:"
// alone is D:'s own current directory). Raises InOutError(code) when it fails.
void ChangeDirectory(const std::string& path);

// The process's current directory in full.
std::string CurrentDirectory();

// The entries matching a pattern such as "C:\Docs\*.txt" that carry none of the attributes
// hidden, system, volume label and directory that `attributes` lacks (read-only and archive
// never exclude an entry). No match, or a folder that cannot be read: no entries, no error.
// The read-only bit is reported only when `attributes` has it (it costs a system call per entry).
std::vector<TFindData> Enumerate(const std::string& pattern, std::uint32_t attributes);
