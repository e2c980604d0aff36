// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "app/Startup.h"

#include <QDir>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "app/CommandLine.h"
#include "app/MprisService.h"
#include "app/StartupChecks.h"
#include "app/Unit11.h"
#include "app/Unit14.h"
#include "app/Unit7.h"
#include "app/Unit8.h"
#include "browse/BrowseComponents.h"
#include "colour/ColourComponents.h"
#include "notes/NoteComponents.h"
#include "platform/system/FileSystem.h"
#include "platform/system/ProgramFiles.h"
#include "platform/system/RegionalSettings.h"
#include "player/PlayerComponents.h"
#include "printing/PrintingComponents.h"
#include "toolkit/DeviceImage.h"
#include "toolkit/Events.h"
#include "toolkit/StandardComponents.h"
#include "toolkit/TApplication.h"

void RegisterAllComponents() {
    RegisterStandardComponents();
    RegisterBrowseComponents();
    RegisterNoteComponents();
    RegisterPrintingComponents();
    RegisterPlayerComponents();
    RegisterColourComponents();
}

void CreateWindows() {
    Application->CreateForm(Form7);
    Application->CreateForm(AboutBox1);
    Application->CreateForm(Form11);
    Application->CreateForm(howto);
}

namespace {

void Tell(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
}

// Shows an error from the start's own work once the loop runs, so the error box stands over
// the main window as the buttons' errors do.
void ReportWhenRunning(std::exception_ptr error) {
    QTimer::singleShot(0, Application,
                       [error] { SafeCall([&] { std::rethrow_exception(error); }); });
}

}  // namespace

void OpenCommandLineFiles(const TCommandLine& commandLine) {
    // The main window is shown first (the loop would show it next anyway): a note read into the
    // shown note area is laid out once, at its final size and font, before the first paint.
    if (!commandLine.NoteFile.empty() || !commandLine.MusicFile.empty())
        SafeCall([] { Form7->SetVisible(true); });
    if (!commandLine.NoteFile.empty()) {
        try {
            Form7->LoadNoteFile(commandLine.NoteFile);
        } catch (...) {
            ReportWhenRunning(std::current_exception());
        }
    }
    if (!commandLine.MusicFile.empty()) {
        try {
            Form7->OpenMusicFile(commandLine.MusicFile);
        } catch (...) {
            ReportWhenRunning(std::current_exception());
        }
    }
}

int RunQuillet(int argc, char** argv, const std::function<void()>& beforeLoop) {
    // Usage and the version need no display: they are answered before the windowing system
    // starts.
    const TCommandLine commandLine = ParseCommandLine(argc, argv);
    switch (commandLine.Action) {
        case TCommandLine::caHelp:
            std::fputs(UsageText().c_str(), stdout);
            return 0;
        case TCommandLine::caVersion:
            std::fputs(VersionText().c_str(), stdout);
            return 0;
        case TCommandLine::caUsageError:
            Tell("quillet: " + commandLine.Error);
            std::fputs(UsageText().c_str(), stderr);
            return 2;
        case TCommandLine::caRun:
            break;
    }
    if (const std::string missing = MissingDisplay(SystemEnvironment, argc, argv);
        !missing.empty()) {
        Tell(missing);
        return 1;
    }
    std::optional<StartupErrorGuard> guard(std::in_place);
    TApplication app(argc, argv);
    guard.reset();
    app.Title = "Quillet 3.1+";
    // The help file where it is shipped: beside the program in a build, under share/ installed.
    app.HelpFile = FromSystemPath(ProgramDataDir() + "/Quil3.hlp");
    // The desktop entry's own icon, the one installed in the hicolor theme, at every size it
    // has, once the main window is on the screen; the desktop file name lets a compositor match
    // the windows to their menu entry.
    app.AfterFirstPaint([&app] {
        app.Icon = IconAtEverySize(QStringLiteral(":/icons/hicolor"));
        app.setWindowIcon(app.Icon);
    });
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quillet.Quillet"));
    if (const std::string notice = MissingFontNotice(WindowFontFamily()); !notice.empty())
        Tell(notice);
    LoadRegionalSettings();
    RegisterAllComponents();
    // An error while the windows are built ends the program after the error box: without its
    // windows there is nothing to carry on with.
    try {
        CreateWindows();
    } catch (...) {
        HandleException();
        return 1;
    }
    OpenCommandLineFiles(commandLine);
    // Media keys and the sound menu: after the first paint, so the start does not wait on a bus.
    Application->AfterFirstPaint([] { PublishPlayerOnSessionBus(); });
    if (beforeLoop) beforeLoop();
    return app.Run();
}
