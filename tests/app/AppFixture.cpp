// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "tests/app/AppFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QListView>
#include <QProgressBar>
#include <QTest>

#include "app/Startup.h"
#include "app/Unit7.h"
#include "platform/system/FileSystem.h"
#include "printing/TPrintDialog.h"
#include "printing/TPrinterSetupDialog.h"
#include "tests/TestSupport.h"
#include "toolkit/TApplication.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TForm.h"
#include "toolkit/TMenuItem.h"
#include "toolkit/TOpenDialog.h"

void AppFixture::SetUp() {
    ASSERT_TRUE(Root.isValid());
    QDir(Root.path()).mkpath(QStringLiteral("Work/Sub"));
    TVolumeTable table;
    TVolume c;
    c.Letter = 'C';
    c.MountPoint = Root.path().toStdString();
    c.Label = "System";
    table.Add(c);
    if (WithDriveD) {
        TVolume d;
        d.Letter = 'D';
        d.MountPoint = DriveD.path().toStdString();
        d.DriveType = DRIVE_REMOVABLE;
        table.Add(d);
    }
    SetVolumeTable(table);
    PrepareFiles();
    ASSERT_TRUE(SetCurrentDir("C:\\Work"));
    static bool registered = false;
    if (!registered) RegisterAllComponents();
    registered = true;
    CreateWindows();
    Form7->SetVisible(true);
    QCoreApplication::processEvents();
    // As the message loop does once the main window is on the screen (the how-to page).
    Application->RunDeferredWork();
}

void AppFixture::TearDown() {
    // A test's stand-ins for the dialogs end with it.
    TOpenDialog::ExecuteHook = nullptr;
    TPrintDialog::ExecuteHook = nullptr;
    TPrinterSetupDialog::ExecuteHook = nullptr;
    while (!Application->Forms().empty()) delete Application->Forms().back();
}

void AppFixture::Press(const char* button) {
    Form7->findChild<TBitBtn*>(QString::fromLatin1(button))->click();
}

void AppFixture::Menu(const char* item) {
    Form7->findChild<TMenuItem*>(QString::fromLatin1(item))->trigger();
}

std::string AppFixture::SystemPath(const std::string& relative) const {
    return Root.path().toStdString() + "/" + relative;
}

void ClickEntry(QListView* list, int index, bool doubleClick) {
    const QModelIndex mi = list->model()->index(index, 0);
    list->scrollTo(mi);
    const QPoint at = list->visualRect(mi).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (doubleClick) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}
