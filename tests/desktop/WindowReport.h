// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
#include <string>
#include <vector>

// The program's own start, run by the desktop tests in a child process on the windowing system
// under test: once the main window has painted, the About box and the Descriptions window are
// opened as their buttons open them, and when all three are shown the program writes one line
// per window on standard output and quits as its quit button does:
//   window <name> title=<title> client=<w>x<h> designed=<w>x<h> size=<w>x<h>
// followed by "platform <name>" and "desktop-file <name>". A window that is not shown within
// 20 seconds ends the run with code 3.
int RunWithWindowReport(int argc, char** argv);

// One window's line as the child writes it, read back by the test.
struct TWindowLine {
    std::string Name, Title;
    int ClientWidth = 0, ClientHeight = 0;
    int DesignedWidth = 0, DesignedHeight = 0;
    int Width = 0, Height = 0;
};
// The window lines of the report; lines of another kind are skipped.
std::vector<TWindowLine> ParseWindowReport(const std::string& report);
