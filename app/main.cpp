// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "app/Startup.h"

int main(int argc, char** argv) {
    return RunQuillet(argc, argv);
}
