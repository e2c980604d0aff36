#include "app/Startup.h"

#include <QDir>
#include <cstdio>
#include <optional>

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

}  // namespace

int RunQuillet(int argc, char** argv, const std::function<void()>& beforeLoop) {
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
    app.Icon = QIcon(QStringLiteral(":/icons/Quillet.png"));
    app.setWindowIcon(app.Icon);
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
    if (beforeLoop) beforeLoop();
    return app.Run();
}
