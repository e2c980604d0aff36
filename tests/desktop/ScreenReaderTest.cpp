// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The program as a screen reader sees it: started on a virtual X display with a session bus and
// the accessibility bus of its own, and read over AT-SPI 2 from this process with plain D-Bus
// calls (TAtspiReader): the registry lists it, the player bar is nine push buttons with their
// enabled state and a press action that acts as a click, the lists and edits are named, and the
// colour list's entries are read by name.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <map>

#include "tests/TestSupport.h"
#include "tests/ToneFiles.h"
#include "tests/desktop/AtspiReader.h"
#include "tests/desktop/PrivateSession.h"

namespace {

using namespace DesktopTest;

const char* const kButtons[] = {"Play", "Pause", "Stop",   "Next", "Prev",
                                "Step", "Back",  "Record", "Eject"};

class ScreenReader : public ::testing::Test {
protected:
    void SetUp() override {
        if (FindProgram(QStringLiteral("Xvfb")).isEmpty()) GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(Display.Start()) << Display.Why().toStdString();
        ASSERT_TRUE(Bus.Start()) << Bus.Why().toStdString();
        if (FindProgram(QStringLiteral("at-spi-bus-launcher")).isEmpty())
            GTEST_SKIP() << "at-spi2-core is not installed";
        ASSERT_TRUE(Bus.StartAccessibilityBus()) << Bus.Why().toStdString();
        // A folder of its own for the browser panel, with a short tune the player opens.
        ASSERT_TRUE(
            ToneFiles::WriteWav(Folder.filePath(QStringLiteral("tune.wav")).toStdString(), 2000));
        Reader = std::make_unique<TAtspiReader>(Bus.AccessibilityAddress());
        ASSERT_TRUE(Reader->IsConnected());
    }
    void TearDown() override {
        if (Program.state() != QProcess::NotRunning) {
            Program.kill();
            Program.waitForFinished();
        }
        Reader.reset();
    }

    // Starts the program with `arguments` and waits until the registry lists it; its root.
    TAccessibleRef StartProgram(const QStringList& arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("AT_SPI_BUS_ADDRESS"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), Display.Display());
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), Bus.Address());
        // As when a screen reader runs: the program serves its tree on the accessibility bus.
        env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        env.insert(QStringLiteral("QUILLET_AUDIO_OUTPUT"), QStringLiteral("silent"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Bus.RuntimeDir());
        Program.setProcessEnvironment(env);
        Program.setWorkingDirectory(Folder.path());
        Program.start(QStringLiteral(QUILLET_PROGRAM), arguments);
        if (!Program.waitForStarted(10000)) return {};
        TAccessibleRef app;
        WaitFor(
            [&] {
                for (const TAccessibleRef& a : Reader->Applications()) {
                    if (Reader->Name(a) == QStringLiteral("quillet")) app = a;
                }
                // The tree is served once the main window is there.
                return !app.Service.isEmpty() && !Reader->Children(app).empty();
            },
            30000);
        return app;
    }

    // The objects of the program's tree, the entries of its lists left unread unless
    // `withEntries`.
    std::vector<TAccessibleNode> Tree(const TAccessibleRef& app, bool withEntries = false) {
        return Reader->Walk(app, 4000, [&](const TAccessibleNode& n) {
            return withEntries || (n.Role != u"list" && n.Role != u"combo box");
        });
    }

    static const TAccessibleNode* Find(const std::vector<TAccessibleNode>& nodes,
                                       const QString& role, const QString& name) {
        const auto it = std::find_if(nodes.begin(), nodes.end(), [&](const TAccessibleNode& n) {
            return n.Role == role && n.Name == name;
        });
        return it == nodes.end() ? nullptr : &*it;
    }

    // Which of the bar's buttons the reader finds enabled, as "Play Next ...", once they are
    // `expected` or after five seconds: the bar follows the player's notifications, which may
    // come a moment after the file opened or the button was pressed.
    QString EnabledButtons(const std::vector<TAccessibleRef>& buttons, const QString& expected) {
        QString enabled;
        WaitFor(
            [&] {
                QStringList names;
                for (const TAccessibleRef& b : buttons)
                    if (Reader->HasState(b, asEnabled)) names += Reader->Name(b);
                enabled = names.join(u' ');
                return enabled == expected;
            },
            5000);
        return enabled;
    }

    TVirtualDisplay Display;
    TSessionBus Bus;
    QTemporaryDir Folder;
    std::unique_ptr<TAtspiReader> Reader;
    QProcess Program;
};

TEST_F(ScreenReader, ThePlayerBarIsNinePushButtonsThatPressLikeClicks) {
    const TAccessibleRef app = StartProgram({QStringLiteral("tune.wav")});
    ASSERT_FALSE(app.Service.isEmpty())
        << "the registry never listed the program; " << Reader->LastError().toStdString();
    const std::vector<TAccessibleNode> tree = Tree(app);
    const TAccessibleNode* bar =
        Find(tree, QStringLiteral("tool bar"), QStringLiteral("Music player"));
    ASSERT_NE(bar, nullptr);
    const std::vector<TAccessibleRef> buttons = Reader->Children(bar->Ref);
    ASSERT_EQ(buttons.size(), 9u);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(Reader->Name(buttons[i]), QString::fromLatin1(kButtons[i]));
        EXPECT_EQ(Reader->RoleName(buttons[i]), QStringLiteral("push button")) << kButtons[i];
        EXPECT_EQ(Reader->ActionNames(buttons[i]), QStringList{QStringLiteral("Press")})
            << kButtons[i];
    }
    // The tune given on the command line is open, ready to play; each press then does what a
    // click does, a press of a grey button nothing.
    EXPECT_EQ(EnabledButtons(buttons, QStringLiteral("Play Next Prev")),
              QStringLiteral("Play Next Prev"));
    const struct {
        int Button;
        const char* EnabledAfter;
    } presses[] = {
        {2, "Play Next Prev"},             // Stop, grey: nothing
        {8, "Play Next Prev"},             // Eject, grey: nothing
        {0, "Pause Stop Next Prev"},       // Play
        {1, "Play Pause Stop Next Prev"},  // Pause
        {2, "Play Next Prev"},             // Stop
    };
    for (const auto& p : presses) {
        EXPECT_TRUE(Reader->DoAction(buttons[std::size_t(p.Button)], QStringLiteral("Press")))
            << kButtons[p.Button];
        const QString expected = QString::fromLatin1(p.EnabledAfter);
        EXPECT_EQ(EnabledButtons(buttons, expected), expected)
            << "after pressing " << kButtons[p.Button];
    }
    EXPECT_EQ(Program.state(), QProcess::Running);
}

TEST_F(ScreenReader, ListsAndEditsAreNamedAfterTheirPurpose) {
    const TAccessibleRef app = StartProgram({});
    ASSERT_FALSE(app.Service.isEmpty()) << Reader->LastError().toStdString();
    const std::vector<TAccessibleNode> tree = Tree(app);
    const struct {
        const char* Role;
        const char* Name;
    } controls[] = {
        {"frame", "Quillet 3.2+"}, {"text", "Notes"}, {"text", "File name"},
        {"list", "Folders"},       {"list", "Files"}, {"tool bar", "Music player"},
    };
    for (const auto& c : controls)
        EXPECT_NE(Find(tree, QString::fromLatin1(c.Role), QString::fromLatin1(c.Name)), nullptr)
            << c.Role << " " << c.Name;
    // A drop-down list is read by the entry it shows, as the desktop's own toolkits do, and
    // labelled by its purpose.
    std::map<QString, QString> shownByLabel;
    for (const TAccessibleNode& n : tree) {
        if (n.Role != u"combo box") continue;
        for (const QString& label : Reader->LabelledBy(n.Ref)) shownByLabel[label] = n.Name;
    }
    EXPECT_EQ(shownByLabel[QStringLiteral("File type")], QStringLiteral("All files (*.*)"));
    EXPECT_EQ(shownByLabel[QStringLiteral("Window colour")], QStringLiteral("clSkyBlue"));
    EXPECT_TRUE(shownByLabel[QStringLiteral("Drive")].startsWith(QStringLiteral("c:")))
        << shownByLabel[QStringLiteral("Drive")].toStdString();
    // The lists read their entries: the folder list the path down to the start folder, the
    // file list the files in it.
    const TAccessibleNode* files = Find(tree, QStringLiteral("list"), QStringLiteral("Files"));
    ASSERT_NE(files, nullptr);
    QStringList names;
    for (const TAccessibleRef& entry : Reader->Children(files->Ref)) names += Reader->Name(entry);
    EXPECT_EQ(names, QStringList{QStringLiteral("tune.wav")});
}

TEST_F(ScreenReader, TheColourListsEntriesAreReadByName) {
    const TAccessibleRef app = StartProgram({});
    ASSERT_FALSE(app.Service.isEmpty()) << Reader->LastError().toStdString();
    const std::vector<TAccessibleNode> tree = Tree(app);
    const TAccessibleNode* colours =
        Find(tree, QStringLiteral("combo box"), QStringLiteral("clSkyBlue"));
    ASSERT_NE(colours, nullptr);
    QStringList entries;
    for (const TAccessibleNode& n : Reader->Walk(colours->Ref, 200))
        if (n.Role == u"list item") entries += n.Name;
    ASSERT_GT(entries.size(), 19);
    EXPECT_EQ(entries.first(), QStringLiteral("Black"));
    EXPECT_EQ(entries[17], QStringLiteral("Sky Blue"));
    EXPECT_EQ(entries[19], QStringLiteral("Medium Gray"));
    // None by its name in code.
    EXPECT_EQ(entries.filter(QRegularExpression(QStringLiteral("^cl[A-Z]"))), QStringList());
}

}  // namespace
