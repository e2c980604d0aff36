// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Quillet as the start-up benchmark measures it: the program's own start (the application
// object, the four windows as the program creates them, the message loop), linked as the
// program is, with the how-to page and help file beside it. Only the first-paint probe is added.
#include "app/Startup.h"
#include "app/Unit7.h"
#include "bench/startup/FirstPaintProbe.h"

int main(int argc, char** argv) {
    Bench::FirstPaintProbe probe;
    return RunQuillet(argc, argv, [&] { probe.Watch(Form7); });
}
