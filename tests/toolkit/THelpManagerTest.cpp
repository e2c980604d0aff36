// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The application's help manager: which viewer gets which help command.
#include <gtest/gtest.h>

#include <memory>

#include "toolkit/TApplication.h"
#include "toolkit/THelpManager.h"

namespace {

// A viewer that records what it was asked and answers as told.
class RecordingViewer : public IHelpViewer {
public:
    explicit RecordingViewer(std::string name, bool answer = true)
        : Name(std::move(name)), Answer(answer) {}
    std::string ViewerName() const override { return Name; }
    bool HelpCommand(const std::string& file, QWidget*, unsigned command,
                     unsigned long data) override {
        Calls.push_back(file + " command " + std::to_string(command) + " " + std::to_string(data));
        return Answer;
    }
    bool ShowHelp(const std::string& file, QWidget*, unsigned long context) override {
        Calls.push_back(file + " context " + std::to_string(context));
        return Answer;
    }
    bool ShowTableOfContents(const std::string& file, QWidget*) override {
        Calls.push_back(file + " contents");
        return Answer;
    }
    void SoftShutDown() override { Calls.push_back("shut down"); }

    std::string Name;
    bool Answer;
    std::vector<std::string> Calls;
};

}  // namespace

TEST(THelpManager, RoutesEachCommandToItsViewers) {
    struct Case {
        unsigned Command;
        unsigned long Data;
        bool FirstAnswers;
        bool Result;
        std::vector<std::string> First, Second;
    };
    const Case cases[] = {
        // The contents and index (11) and any other command: the first viewer only.
        {HELP_FINDER, 0, true, true, {"Q.hlp command 11 0"}, {}},
        {0x101, 7, false, false, {"Q.hlp command 257 7"}, {}},
        // A topic by context number: each viewer in turn until one shows it.
        {HELP_CONTEXT, 5, false, true, {"Q.hlp context 5"}, {"Q.hlp context 5"}},
        {HELP_CONTEXT, 5, true, true, {"Q.hlp context 5"}, {}},
        // Shutting down reaches every viewer; the table of contents only the first.
        {HELP_QUIT, 0, true, true, {"shut down"}, {"shut down"}},
        {HELP_CONTENTS, 0, true, true, {"Q.hlp contents"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Command);
        THelpManager manager;
        auto first = std::make_shared<RecordingViewer>("first", c.FirstAnswers);
        auto second = std::make_shared<RecordingViewer>("second");
        manager.RegisterViewer(first);
        manager.RegisterViewer(second);
        EXPECT_EQ(manager.HelpCommand("Q.hlp", nullptr, c.Command, c.Data), c.Result);
        EXPECT_EQ(first->Calls, c.First);
        EXPECT_EQ(second->Calls, c.Second);
    }
    THelpManager empty;
    EXPECT_FALSE(empty.HelpCommand("Q.hlp", nullptr, HELP_FINDER, 0));
}

TEST(THelpManager, TheApplicationSendsItsHelpFileWithTheMainWindow) {
    auto viewer = std::make_shared<RecordingViewer>("test");
    THelpManager& manager = Application->HelpManager();
    ASSERT_EQ(manager.Viewers().size(), 1u);
    EXPECT_EQ(manager.Viewers().front()->ViewerName(), "WinHelp");  // registered at start
    manager.UnregisterViewer(manager.Viewers().front().get());
    manager.RegisterViewer(viewer);
    Application->HelpFile = "Quil3.hlp";
    EXPECT_TRUE(Application->HelpCommand(HELP_FINDER, 0));
    EXPECT_EQ(viewer->Calls, std::vector<std::string>{"Quil3.hlp command 11 0"});
    manager.UnregisterViewer(viewer.get());
    manager.RegisterViewer(std::make_shared<TWinHelpViewer>());
}
