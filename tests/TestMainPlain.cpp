// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The main of the test programs of libraries that need no widgets: a QCoreApplication, or a
// QGuiApplication on the offscreen platform with QUILLET_TEST_GUI, so that these tests prove the
// library runs without the widget toolkit's application object.
#include <gtest/gtest.h>

#include "tests/TestSupport.h"

#ifdef QUILLET_TEST_GUI
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    FailTestsOnUnexpectedErrorBoxes();
    return RUN_ALL_TESTS();
}
