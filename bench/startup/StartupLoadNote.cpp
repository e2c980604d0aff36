// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The own cost of a note file that the start-up benchmark gives the program on its command line:
// the program starts without it, and once its main window has been painted, loads the file
// (argv[1]) into the note area as the command line would and repaints the window. Prints
// "LOAD <ms>" and ends. A first load in a fresh process, as in the start with the file.
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Startup.h"
#include "app/Unit7.h"
#include "toolkit/TApplication.h"

int main(int argc, char** argv) {
    const std::string file = argc > 1 ? argv[1] : "";
    char* programOnly[] = {argv[0], nullptr};
    int one = 1;
    return RunQuillet(one, programOnly, [&] {
        Application->AfterFirstPaint([file] {
            QElapsedTimer clock;
            clock.start();
            Form7->LoadNoteFile(file);
            Form7->repaint();
            std::printf("LOAD %.3f\n", double(clock.nsecsElapsed()) / 1e6);
            std::fflush(stdout);
            std::_Exit(0);
        });
    });
}
