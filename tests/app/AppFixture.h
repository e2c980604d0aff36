// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Builds the program's four windows over a drive C: that stands for a temporary folder, and
// shows the main window, as start-up does; tears them down after each test.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The Linux path of a name inside the temporary drive.
    std::string SystemPath(const std::string& relative) const;
    // Clicks the main window's button, or picks its menu item, of that name.
    static void Press(const char* button);
    static void Menu(const char* item);

    // Runs before the windows are created: the folders and files the test starts with.
    virtual void PrepareFiles() {}
    // Adds a drive D: over a second temporary folder (before the windows are created).
    bool WithDriveD = false;

    QTemporaryDir Root;
    QTemporaryDir DriveD;
};

// Clicks (or double-clicks) entry `index` of a list view with the mouse, as a user would.
class QListView;
void ClickEntry(QListView* list, int index, bool doubleClick = false);
