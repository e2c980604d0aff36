// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The application's help manager: help requests go to the help viewers registered with it. A
// few commands it handles itself; every other command goes to the first registered viewer.
#include <memory>
#include <string>
#include <vector>

class QWidget;

// A help viewer as the help manager sees it.
class IHelpViewer {
public:
    virtual ~IHelpViewer() = default;
    virtual std::string ViewerName() const = 0;
    // Runs a command of the help file format on `helpFile`, with `owner` as the owner window.
    virtual bool HelpCommand(const std::string& helpFile, QWidget* owner, unsigned command,
                             unsigned long data) = 0;
    // Shows a topic by its context number; the table of contents; closes the viewer's windows.
    virtual bool ShowHelp(const std::string& helpFile, QWidget* owner, unsigned long context) = 0;
    virtual bool ShowTableOfContents(const std::string& helpFile, QWidget* owner) = 0;
    virtual void SoftShutDown() = 0;
};

class THelpManager {
public:
    void RegisterViewer(std::shared_ptr<IHelpViewer> viewer);
    void UnregisterViewer(const IHelpViewer* viewer);
    const std::vector<std::shared_ptr<IHelpViewer>>& Viewers() const { return FViewers; }

    // Commands 1 (a topic by context number), 2 (shut the viewers down softly) and 3 (table of
    // contents) have their own handling; any other command goes to the first viewer. False when
    // no viewer takes it.
    bool HelpCommand(const std::string& helpFile, QWidget* owner, unsigned command,
                     unsigned long data);

private:
    std::vector<std::shared_ptr<IHelpViewer>> FViewers;
};

// The system's help viewer, reached through WinHelp; registered by the application at start.
class TWinHelpViewer : public IHelpViewer {
public:
    std::string ViewerName() const override { return "WinHelp"; }
    bool HelpCommand(const std::string& helpFile, QWidget* owner, unsigned command,
                     unsigned long data) override;
    bool ShowHelp(const std::string& helpFile, QWidget* owner, unsigned long context) override;
    bool ShowTableOfContents(const std::string& helpFile, QWidget* owner) override;
    void SoftShutDown() override;
};
