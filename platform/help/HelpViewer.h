// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The help viewer: a window of its own that shows a help file (see HelpFile.h) with its
// contents, its index and one topic at a time. Programs reach it through WinHelp with a help
// command, as they would the system's help viewer.
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/help/HelpFile.h"

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

// Help commands.
constexpr unsigned HELP_CONTEXT = 1;   // the topic numbered `data` (1 = the first)
constexpr unsigned HELP_QUIT = 2;      // close the viewer
constexpr unsigned HELP_CONTENTS = 3;  // the contents with the first topic
constexpr unsigned HELP_FINDER = 11;   // the contents and index window

// The folders a bare help-file name is looked for in, in order: the current directory, the
// program's folder, the program's data folder.
std::vector<std::string> HelpSearchFolders();
// The help file's path: a name with a folder as it stands, a bare name in the first of `folders`
// that has it; empty when there is none.
std::string FindHelpFile(const std::string& name, const std::vector<std::string>& folders);

// Runs a help command on a help file (a Linux path or a bare name). False when the file cannot
// be found or read, or the command is unknown; the viewer has then shown its own message.
bool WinHelp(QWidget* owner, const std::string& file, unsigned command, unsigned long data);

// Tests read the viewer's messages here instead of a message box.
inline std::function<void(const std::string& text)> HelpViewerMessageHook;

class THelpViewerWindow : public QWidget {
    Q_OBJECT

public:
    explicit THelpViewerWindow(QWidget* parent = nullptr);

    // The window WinHelp opened, or nullptr while none is open.
    static THelpViewerWindow* Current();

    void Open(THelpDocument document, const std::string& path);
    const std::string& Path() const { return FPath; }
    const THelpDocument& Document() const { return FDocument; }

    // Shows the contents page with the first topic, or the index page.
    void ShowContents();
    void ShowIndex();
    void ShowTopic(int topic);
    // The topic on show, or -1.
    int TopicShown() const { return FTopic; }
    // The index entries the index page lists for what is typed into its search field.
    void FilterIndex(const QString& typed);

    QTabWidget* Tabs() const { return FTabs; }
    QTreeWidget* ContentsTree() const { return FContents; }
    QListWidget* IndexList() const { return FIndexList; }
    QTextBrowser* TopicView() const { return FTopicView; }

private:
    void Fill();

    THelpDocument FDocument;
    std::vector<THelpIndexEntry> FIndex;
    std::vector<QTreeWidgetItem*> FTopicItems;  // each topic's entry in the contents tree
    std::string FPath;
    int FTopic = -1;
    QTabWidget* FTabs;
    QTreeWidget* FContents;
    QLineEdit* FIndexSearch;
    QListWidget* FIndexList;
    QTextBrowser* FTopicView;
};
