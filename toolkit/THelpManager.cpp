// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/THelpManager.h"

#include <algorithm>

#include "platform/help/HelpViewer.h"
#include "platform/system/FileSystem.h"

void THelpManager::RegisterViewer(std::shared_ptr<IHelpViewer> viewer) {
    FViewers.push_back(std::move(viewer));
}

void THelpManager::UnregisterViewer(const IHelpViewer* viewer) {
    std::erase_if(FViewers, [viewer](const auto& v) { return v.get() == viewer; });
}

bool THelpManager::HelpCommand(const std::string& helpFile, QWidget* owner, unsigned command,
                               unsigned long data) {
    switch (command) {
        case HELP_CONTEXT:
            for (const auto& v : FViewers)
                if (v->ShowHelp(helpFile, owner, data)) return true;
            return false;
        case HELP_QUIT:
            for (const auto& v : FViewers) v->SoftShutDown();
            return true;
        case HELP_CONTENTS:
            return !FViewers.empty() && FViewers.front()->ShowTableOfContents(helpFile, owner);
        default:
            return !FViewers.empty() &&
                   FViewers.front()->HelpCommand(helpFile, owner, command, data);
    }
}

namespace {
// The help file as the viewer takes it: a bare name stays bare, so the viewer searches for it;
// a program path becomes the Linux path it stands for.
std::string ViewerPath(const std::string& helpFile) {
    if (helpFile.find_first_of("\\:") == std::string::npos) return helpFile;
    std::string system;
    return ToSystemPath(helpFile, system) ? system : helpFile;
}
}  // namespace

bool TWinHelpViewer::HelpCommand(const std::string& helpFile, QWidget* owner, unsigned command,
                                 unsigned long data) {
    return WinHelp(owner, ViewerPath(helpFile), command, data);
}

bool TWinHelpViewer::ShowHelp(const std::string& helpFile, QWidget* owner, unsigned long context) {
    return WinHelp(owner, ViewerPath(helpFile), HELP_CONTEXT, context);
}

bool TWinHelpViewer::ShowTableOfContents(const std::string& helpFile, QWidget* owner) {
    return WinHelp(owner, ViewerPath(helpFile), HELP_CONTENTS, 0);
}

void TWinHelpViewer::SoftShutDown() {
    WinHelp(nullptr, {}, HELP_QUIT, 0);
}
