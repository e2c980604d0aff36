// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// What the command line asks of the program: usage or the version, or files to open. With no
// arguments the program starts as always; a file manager's "Open with" passes the files chosen.
#include <string>
#include <vector>

struct TCommandLine {
    enum TAction { caRun, caHelp, caVersion, caUsageError };
    TAction Action = caRun;
    // For caUsageError: what was wrong, one line.
    std::string Error;
    // Absolute Linux paths, resolved against the working directory at start: the first file
    // that no music device takes goes into the note area, the first one that a device takes into
    // the player. Empty when there is none.
    std::string NoteFile;
    std::string MusicFile;
};

// Reads the arguments (argv[0] is the program). The windowing system's own options (-platform,
// -display, -style, ...) are accepted and left to it.
TCommandLine ParseCommandLine(int argc, char** argv);

// The usage text, ending in a newline.
std::string UsageText();
// The program's name and version, one line ending in a newline.
std::string VersionText();

// Whether the player opens the file, by its extension (.mp3, .wav, .cda, .ogg, ...).
bool IsMusicFile(const std::string& path);
