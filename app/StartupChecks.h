// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// What the program needs of the machine before its windows can be shown: a display to show them
// on, and the font their places were measured in. Each lack is told in one line on standard
// error, so a start from a terminal, a script or a desktop's log says what is missing.
#include <functional>
#include <string>

// Reads one environment variable; empty when it is not set.
using EnvironmentReader = std::function<std::string(const char* name)>;
std::string SystemEnvironment(const char* name);

// Why no window can be shown: neither DISPLAY nor WAYLAND_DISPLAY names a display, and no
// platform is chosen by QT_QPA_PLATFORM or a -platform argument. Empty when there is one to try.
std::string MissingDisplay(const EnvironmentReader& environment, int argc, char** argv);

// The notice for a machine without the font the windows are laid out in: `family` is the family
// the windows' font resolved to. Empty when it is one the captions were measured in.
std::string MissingFontNotice(const std::string& family);
// The family that the windows' font ("MS Sans Serif" and its stand-ins) resolves to here.
std::string WindowFontFamily();

// While it lives, a fatal error of the windowing system's start (a display that does not answer,
// no platform plugin) ends the program with one line and exit code 1 instead of an abort. The
// windowing system's warnings on the way are held back: shown after a good start, and the first
// of them becomes the reason when the start fails.
class StartupErrorGuard {
public:
    StartupErrorGuard();
    ~StartupErrorGuard();
    StartupErrorGuard(const StartupErrorGuard&) = delete;
    StartupErrorGuard& operator=(const StartupErrorGuard&) = delete;
};

// The one line printed when the windowing system cannot start: `warning` is its first warning
// (may be empty), `fatal` its fatal message.
std::string StartupFailureLine(const std::string& warning, const std::string& fatal);
