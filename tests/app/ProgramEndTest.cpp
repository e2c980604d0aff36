// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Ending the program: "E&xit", the title-bar close and "X" end the message loop, also while a
// secondary window is visible; closing a secondary window only hides it.
#include <gtest/gtest.h>

#include <QTimer>

#include "app/Unit7.h"
#include "app/Unit8.h"
#include "tests/app/AppFixture.h"
#include "toolkit/TApplication.h"
#include "toolkit/TMenuItem.h"
#include "toolkit/TSpeedButton.h"

namespace {

// Runs the message loop until the program asks to quit; 99 when it never does.
int RunLoopUntilQuit() {
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(10000);
    return Application->exec();
}

}  // namespace

TEST_F(AppFixture, ExitEndsTheProgramWhileTheAboutWindowIsVisible) {
    AboutBox1->SetVisible(true);
    Form7->findChild<TMenuItem*>(QStringLiteral("Exit1"))->trigger();
    EXPECT_EQ(RunLoopUntilQuit(), 0);
    EXPECT_FALSE(Form7->isVisible());
}

TEST_F(AppFixture, TheTitleBarCloseEndsTheProgram) {
    Form7->close();
    EXPECT_EQ(RunLoopUntilQuit(), 0);
}

TEST_F(AppFixture, XEndsTheProgramAtOnce) {
    Form7->findChild<TSpeedButton*>(QStringLiteral("SpeedButton5"))->click();
    EXPECT_EQ(RunLoopUntilQuit(), 0);
}

TEST_F(AppFixture, ClosingASecondaryWindowHidesItAndTheProgramGoesOn) {
    AboutBox1->SetVisible(true);
    const QPoint placed = AboutBox1->pos();
    AboutBox1->close();
    EXPECT_FALSE(AboutBox1->isVisible());
    EXPECT_TRUE(Form7->isVisible());
    QTimer::singleShot(50, [] { QCoreApplication::exit(5); });
    EXPECT_EQ(Application->exec(), 5);  // no quit request was posted
    AboutBox1->SetVisible(true);        // the same window comes back where it was
    EXPECT_EQ(AboutBox1->pos(), placed);
}
