// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Where the program finds the files it reads at run time (the how-to page, the help file) and
// the modules it loads when first needed (the GStreamer module).
#include <string>

// The folder holding the program's executable (a Linux path).
std::string ProgramDir();
// The program's data folder "appfiles": beside the executable in a build tree, or under
// share/quillet/ beside an installed bin/. The first of the two that exists; the first when
// neither does.
std::string ProgramDataDir();
// The data folder for a program in `programDir`, by the rule above.
std::string ProgramDataDirFor(const std::string& programDir);
// Puts the data folder elsewhere (tests use the source tree's); an empty path restores the rule.
void SetProgramDataDir(const std::string& dir);

// The path of the loadable module `fileName`: in lib/quillet/ beside the executable (the build
// tree's program) or in lib/quillet/ of the folder above (an installed bin/; the build tree's
// tests and benchmarks, one folder down). The first that exists; the first when neither does.
std::string ProgramModulePath(const std::string& fileName);
std::string ProgramModulePathFor(const std::string& programDir, const std::string& fileName);
// Loads the module at `path` (it stays loaded for the rest of the run) and returns its entry
// point `entry`; null when either cannot be had, with the loader's reason in `why`.
void* ModuleEntry(const std::string& path, const char* entry, std::string& why);
