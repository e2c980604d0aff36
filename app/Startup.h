// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The program's entry point: the application object, the four windows, the message loop.
#include <functional>

// `beforeLoop`, when given, runs after the windows are created and before the loop starts.
int RunQuillet(int argc, char** argv, const std::function<void()>& beforeLoop = {});

// Registers every component class that the window layouts name.
void RegisterAllComponents();
// Creates the four windows in their fixed order; the first becomes the main window.
void CreateWindows();

struct TCommandLine;
// Loads the command line's note file into the note area and opens its music file in the player.
// An error is shown in the error box once the message loop runs; the other file still opens.
void OpenCommandLineFiles(const TCommandLine& commandLine);
