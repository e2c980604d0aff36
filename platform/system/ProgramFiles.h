#pragma once
// Where the program finds the files it reads at run time (the how-to page, the help file).
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
