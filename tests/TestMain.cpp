// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The main of the test programs of the widget libraries: the application object on the offscreen
// platform, with the error box replaced by a recorder so that no test blocks on a modal window,
// and a test that leaves an error box it did not expect failed (tests/TestSupport.h).
#include <gtest/gtest.h>

#include "tests/TestSupport.h"
#include "toolkit/TApplication.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv);
    app.Title = "Quillet 3.1+";
    app.MessageBoxHook = [](const std::string& text, const std::string& caption) {
        ErrorBoxRecorder::Record(text, caption);
    };
    FailTestsOnUnexpectedErrorBoxes();
    return RUN_ALL_TESTS();
}
