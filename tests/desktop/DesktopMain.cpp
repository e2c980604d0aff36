// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The main of the desktop tests. They start the services of a desktop session and the program
// in child processes; QUILLET_DESKTOP_TEST_CHILD=window-report makes this program that child:
// the program's own start with the window report of WindowReport.h.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "tests/TestSupport.h"
#include "tests/desktop/WindowReport.h"

int main(int argc, char** argv) {
    if (qgetenv("QUILLET_DESKTOP_TEST_CHILD") == "window-report")
        return RunWithWindowReport(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    FailTestsOnUnexpectedErrorBoxes();
    return RUN_ALL_TESTS();
}
