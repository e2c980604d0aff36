// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/help/HelpViewer.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/system/ProgramFiles.h"
#include "platform/system/QtStrings.h"

namespace {

QPointer<THelpViewerWindow> gViewer;

void Message(QWidget* owner, const std::string& text) {
    if (HelpViewerMessageHook) {
        HelpViewerMessageHook(text);
        return;
    }
    QMessageBox::warning(owner, QStringLiteral("Help"), ToQString(text));
}

bool HasFolder(const std::string& name) {
    return name.find('/') != std::string::npos;
}

// Reads and parses the file; shows the viewer's message and returns false on failure.
bool Load(QWidget* owner, const std::string& path, THelpDocument& document) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Message(owner, "Cannot open the help file " + path + ": " + std::strerror(errno) + ".");
        return false;
    }
    std::string bytes(kMaxHelpFileSize + 1, '\0');
    in.read(bytes.data(), std::streamsize(bytes.size()));
    bytes.resize(std::size_t(in.gcount()));
    try {
        document = ParseHelpFile(bytes);
    } catch (const EHelpFileError& e) {
        Message(owner,
                "The help file " + path + " is damaged and cannot be shown (" + e.Message + ").");
        return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> HelpSearchFolders() {
    return {QDir::currentPath().toStdString(), ProgramDir(), ProgramDataDir()};
}

std::string FindHelpFile(const std::string& name, const std::vector<std::string>& folders) {
    if (name.empty()) return {};
    if (HasFolder(name)) return QFileInfo(ToQString(name)).isFile() ? name : std::string();
    for (const std::string& folder : folders) {
        std::string path = folder + "/" + name;
        if (QFileInfo(ToQString(path)).isFile()) return path;
    }
    return {};
}

bool WinHelp(QWidget* owner, const std::string& file, unsigned command, unsigned long data) {
    if (command == HELP_QUIT) {
        if (gViewer) gViewer->close();
        return true;
    }
    if (command != HELP_CONTEXT && command != HELP_CONTENTS && command != HELP_FINDER) return false;
    const std::vector<std::string> folders = HelpSearchFolders();
    const std::string path = FindHelpFile(file, folders);
    if (path.empty()) {
        std::string where;
        for (const std::string& f : folders) where += "\n    " + f;
        Message(owner, "Cannot find the help file " + file + ". It was looked for in:" + where);
        return false;
    }
    THelpDocument document;
    if (!Load(owner, path, document)) return false;
    // A topic number the file lacks leaves an open viewer as it was.
    if (command == HELP_CONTEXT && (data < 1 || data > document.Topics.size())) {
        Message(owner, "The help file " + path + " has no topic " + std::to_string(data) + ".");
        return false;
    }
    if (!gViewer) {
        gViewer = new THelpViewerWindow();
        // A new viewer comes up in the middle of the owner's screen.
        const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect area = screen->availableGeometry();
            gViewer->move(area.center() - QPoint(gViewer->width() / 2, gViewer->height() / 2));
        }
    }
    gViewer->Open(std::move(document), path);
    if (command == HELP_CONTEXT) {
        gViewer->ShowTopic(int(data - 1));
    } else {
        gViewer->ShowContents();
    }
    gViewer->show();
    gViewer->raise();
    gViewer->activateWindow();
    // The contents tree has the keys: arrows move through the topics, Esc closes.
    gViewer->Tabs()->setCurrentIndex(0);
    gViewer->ContentsTree()->setFocus();
    return true;
}

THelpViewerWindow::THelpViewerWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      FTabs(new QTabWidget),
      FContents(new QTreeWidget),
      FIndexSearch(new QLineEdit),
      FIndexList(new QListWidget),
      FTopicView(new QTextBrowser) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("HelpViewer"));
    resize(800, 520);

    // Titles are shown whole: a pane too narrow for one scrolls sideways rather than cutting it.
    FContents->setHeaderHidden(true);
    FContents->setTextElideMode(Qt::ElideNone);
    FContents->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    FContents->header()->setStretchLastSection(false);
    FIndexList->setTextElideMode(Qt::ElideNone);
    FContents->setObjectName(QStringLiteral("Contents"));
    FTabs->addTab(FContents, QStringLiteral("Contents"));

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(new QLabel(QStringLiteral("Type the first letters of a word:")));
    indexLayout->addWidget(FIndexSearch);
    indexLayout->addWidget(FIndexList);
    auto* display = new QPushButton(QStringLiteral("Display"));
    indexLayout->addWidget(display);
    FTabs->addTab(indexPage, QStringLiteral("Index"));

    FTopicView->setOpenLinks(false);
    auto* split = new QSplitter;
    split->addWidget(FTabs);
    split->addWidget(FTopicView);
    split->setStretchFactor(1, 1);
    split->setSizes({330, 470});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(split);

    connect(FContents, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item && item->data(0, Qt::UserRole).isValid() &&
            item->data(0, Qt::UserRole).toInt() != FTopic)
            ShowTopic(item->data(0, Qt::UserRole).toInt());
    });
    // Esc closes the viewer from any of its pages, as it does a dialog.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    connect(FIndexSearch, &QLineEdit::textChanged, this, &THelpViewerWindow::FilterIndex);
    // On the index page, typing goes straight to its search field.
    connect(FTabs, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == 1) FIndexSearch->setFocus();
    });
    auto showChosen = [this] {
        if (QListWidgetItem* item = FIndexList->currentItem())
            ShowTopic(item->data(Qt::UserRole).toInt());
    };
    connect(FIndexList, &QListWidget::itemActivated, this, showChosen);
    connect(FIndexSearch, &QLineEdit::returnPressed, this, showChosen);
    connect(display, &QPushButton::clicked, this, showChosen);
    connect(FTopicView, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        const int topic = FDocument.Find(link.fragment().toStdString());
        if (topic >= 0) ShowTopic(topic);
    });
}

THelpViewerWindow* THelpViewerWindow::Current() {
    return gViewer;
}

void THelpViewerWindow::Open(THelpDocument document, const std::string& path) {
    FDocument = std::move(document);
    FIndex = FDocument.Index();
    FPath = path;
    FTopic = -1;
    const std::string title = FDocument.Title.empty()
                                  ? QFileInfo(ToQString(path)).fileName().toStdString()
                                  : FDocument.Title;
    setWindowTitle(QStringLiteral("Help Topics: ") + ToQString(title));
    Fill();
}

void THelpViewerWindow::Fill() {
    FContents->clear();
    FTopicItems.assign(FDocument.Topics.size(), nullptr);
    QTreeWidgetItem* book = nullptr;
    std::string bookName;
    for (std::size_t i = 0; i < FDocument.Topics.size(); ++i) {
        const THelpTopic& topic = FDocument.Topics[i];
        if (topic.Book != bookName || (!book && !topic.Book.empty())) {
            bookName = topic.Book;
            book =
                bookName.empty() ? nullptr : new QTreeWidgetItem(FContents, {ToQString(bookName)});
            if (book) book->setExpanded(true);
        }
        auto* item = book ? new QTreeWidgetItem(book, {ToQString(topic.Title)})
                          : new QTreeWidgetItem(FContents, {ToQString(topic.Title)});
        item->setData(0, Qt::UserRole, int(i));
        FTopicItems[i] = item;
    }
    FContents->expandAll();
    FIndexSearch->clear();
    FilterIndex({});
}

void THelpViewerWindow::FilterIndex(const QString& typed) {
    FIndexList->clear();
    for (const THelpIndexEntry& entry : FIndex) {
        const QString keyword = ToQString(entry.Keyword);
        if (!keyword.startsWith(typed, Qt::CaseInsensitive)) continue;
        // A keyword that leads to several topics names the topic of each of its entries.
        const QString shown = entry.Shared
                                  ? keyword + QStringLiteral(" \u2014 ") +
                                        ToQString(FDocument.Topics[std::size_t(entry.Topic)].Title)
                                  : keyword;
        auto* item = new QListWidgetItem(shown, FIndexList);
        item->setData(Qt::UserRole, entry.Topic);
    }
    if (FIndexList->count() > 0) FIndexList->setCurrentRow(0);
}

void THelpViewerWindow::ShowContents() {
    FTabs->setCurrentIndex(0);
    if (!FDocument.Topics.empty()) ShowTopic(0);
}

void THelpViewerWindow::ShowIndex() {
    FTabs->setCurrentIndex(1);
    FIndexSearch->setFocus();
}

void THelpViewerWindow::ShowTopic(int topic) {
    if (topic < 0 || topic >= int(FDocument.Topics.size())) return;
    FTopic = topic;
    FTopicView->setHtml(ToQString(TopicHtml(FDocument, FDocument.Topics[std::size_t(topic)])));
    // The contents tree marks the topic on show, however it was reached.
    if (QTreeWidgetItem* item =
            std::size_t(topic) < FTopicItems.size() ? FTopicItems[std::size_t(topic)] : nullptr) {
        if (FContents->currentItem() != item) FContents->setCurrentItem(item);
        FContents->scrollToItem(item);
    }
}
