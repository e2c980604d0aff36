// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The help file format and the help viewer: reading, refusing malformed files with the line at
// fault, the contents and index, topic pages, the search rules and the viewer's own messages.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>
#include <cstdio>

#include "platform/help/HelpFile.h"
#include "platform/help/HelpViewer.h"
#include "platform/system/ProgramFiles.h"
#include "tests/TestSupport.h"

namespace {

const char kSample[] =
    "QUILLET HELP 1\n"
    "; comment\n"
    "Title: Sample Help\n"
    "\n"
    "== intro: Introduction\n"
    "K: start; Overview\n"
    "First line\n"
    "of one paragraph.\n"
    "\n"
    "- item <one>\n"
    "- see [[open|how to open]] & [[save]]\n"
    "\n"
    "= Files\n"
    "== open: Opening files\n"
    "K: open; load\n"
    "Open text.\n"
    "== save: Saving files\n"
    "K: save\n";

std::string Error(const std::string& bytes) {
    try {
        ParseHelpFile(bytes);
    } catch (const EHelpFileError& e) {
        return e.Message;
    }
    return "(no error)";
}

}  // namespace

TEST(HelpFile, ReadsBooksTopicsAndKeywords) {
    const THelpDocument doc = ParseHelpFile(kSample);
    EXPECT_EQ(doc.Title, "Sample Help");
    ASSERT_EQ(doc.Topics.size(), 3u);
    EXPECT_EQ(doc.Topics[0].Id, "intro");
    EXPECT_EQ(doc.Topics[0].Book, "");
    EXPECT_EQ(doc.Topics[1].Title, "Opening files");
    EXPECT_EQ(doc.Topics[1].Book, "Files");
    EXPECT_EQ(doc.Topics[2].Book, "Files");
    EXPECT_EQ(doc.Topics[0].Keywords, (std::vector<std::string>{"start", "Overview"}));
    EXPECT_EQ(doc.Find("save"), 2);
    EXPECT_EQ(doc.Find("nothing"), -1);
    std::vector<std::string> index;
    for (const auto& e : doc.Index()) index.push_back(e.Keyword + ">" + std::to_string(e.Topic));
    EXPECT_EQ(index,
              (std::vector<std::string>{"load>1", "open>1", "Overview>0", "save>2", "start>0"}));
}

TEST(HelpFile, TopicPagesEscapeTextAndLinkTopics) {
    const THelpDocument doc = ParseHelpFile(kSample);
    const std::string html = TopicHtml(doc, doc.Topics[0]);
    EXPECT_EQ(html,
              "<h2>Introduction</h2>\n"
              "<p>First line of one paragraph.</p>\n"
              "<ul>\n"
              "<li>item &lt;one&gt;</li>\n"
              "<li>see <a href=\"#open\">how to open</a> &amp; <a href=\"#save\">Saving "
              "files</a></li>\n"
              "</ul>\n");
}

TEST(HelpFile, MalformedFilesNameTheLineAtFault) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "line 1: not a Quillet help file"},
        {"QUILLET HELP 2\n== a: A\n", "line 1: not a Quillet help file"},
        {"QUILLET HELP 1\nTitle: x\n", "the help file has no topics"},
        {"QUILLET HELP 1\nstray text\n== a: A\n", "line 2: text outside a topic"},
        {"QUILLET HELP 1\nK: lost\n", "line 2: index keywords outside a topic"},
        {"QUILLET HELP 1\n== : No id\n", "line 2: a topic needs an id"},
        {"QUILLET HELP 1\n== Bad Id: T\n", "line 2: a topic needs an id"},
        {"QUILLET HELP 1\n== a\n", "line 2: the topic a has no title"},
        {"QUILLET HELP 1\n== a: A\n== a: B\n", "line 3: the topic id a is used twice"},
        {"QUILLET HELP 1\n=\n", "line 2: a book needs a title"},
        {"QUILLET HELP 1\n== a: A\ntext\nsee [[b]]\n", "line 4: link to a topic that does not"},
        {"QUILLET HELP 1\n== a: A\nsee [[a\n", "line 3: a link without a topic id"},
        {"QUILLET HELP 1\n== a: A\n\xC3\x28\n", "the help file is not UTF-8 text"},
        {"QUILLET HELP 1\n== a: A\n\xED\xA0\x80\n", "the help file is not UTF-8 text"},
        {"QUILLET HELP 1\n== a: A\n\xF0\x9F\x98", "the help file is not UTF-8 text"},
        {std::string(kMaxHelpFileSize + 1, ' '), "the help file is too large"},
    };
    for (const auto& [bytes, error] : cases)
        EXPECT_EQ(Error(bytes).rfind(error, 0), 0u)
            << Error(bytes) << " for " << bytes.substr(0, 40);
    // A byte order mark and CR LF line ends are fine.
    EXPECT_EQ(ParseHelpFile("\xEF\xBB\xBFQUILLET HELP 1\r\n== a: A\r\ntext\r\n").Topics[0].Lines,
              std::vector<std::string>{"text"});
}

TEST(HelpFile, TheShippedHelpFileReadsAndCoversEveryCommand) {
    const QString path =
        QStringLiteral(QUILLET_SOURCE_DIR) + QStringLiteral("/resources/appfiles/Quil3.hlp");
    const std::string bytes = ReadFileBytes(path.toStdString());
    ASSERT_FALSE(bytes.empty()) << path.toStdString();
    const THelpDocument doc = ParseHelpFile(bytes);
    EXPECT_EQ(doc.Title, "Quillet 3.2+ Help");
    std::vector<std::string> keywords;
    for (const auto& e : doc.Index()) keywords.push_back(e.Keyword);
    // Every menu item and button of the program, as its index entry.
    const char* commands[] = {"New",
                              "Open",
                              "Save As",
                              "Print",
                              "Printer Setup",
                              "Exit",
                              "HowTo Use Quillet",
                              "Help File",
                              "About",
                              "F12",
                              "<-- Load",
                              "<-- Save As",
                              "<-- Clear Area",
                              "Load -->",
                              "Save -->",
                              "Show Info",
                              "D",
                              "B",
                              "G",
                              "M",
                              "X",
                              "Open Music Files",
                              "Close Music File",
                              "colour list",
                              "clock",
                              "filter",
                              "drive"};
    for (const char* command : commands)
        EXPECT_NE(std::find(keywords.begin(), keywords.end(), command), keywords.end()) << command;
}

namespace {

// Every caption in the main window's layout (menu items, buttons) and every property named
// `property` of its components, walked through the whole layout.
void Collect(const QJsonValue& value, const QString& property, QStringList& found) {
    if (value.isArray()) {
        for (const auto& v : value.toArray()) Collect(v, property, found);
    } else if (value.isObject()) {
        const QJsonObject o = value.toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            if (it.key() == property && it.value().isString())
                found << it.value().toString();
            else
                Collect(it.value(), property, found);
        }
    }
}

QStringList MainWindowLayout(const char* property) {
    QFile file(QStringLiteral(QUILLET_SOURCE_DIR) +
               QStringLiteral("/resources/layouts/Unit7.json"));
    QStringList found;
    if (file.open(QIODevice::ReadOnly))
        Collect(QJsonDocument::fromJson(file.readAll()).object(), QString::fromLatin1(property),
                found);
    return found;
}

}  // namespace

TEST(HelpFile, TheShippedHelpFileNamesCommandsAsTheWindowShowsThem) {
    const std::string bytes = ReadFileBytes(QUILLET_SOURCE_DIR "/resources/appfiles/Quil3.hlp");
    const THelpDocument doc = ParseHelpFile(bytes);
    QString text;
    for (const THelpTopic& topic : doc.Topics) {
        text += QString::fromStdString(topic.Title) + QLatin1Char('\n');
        for (const std::string& line : topic.Lines) text += QString::fromStdString(line) + '\n';
    }
    // A caption's "&" marks the letter the menu underlines; the window shows no "&".
    const QStringList captions = MainWindowLayout("Caption");
    ASSERT_TRUE(captions.contains(QStringLiteral("Printer Set&up")));
    for (QString caption : captions) {
        if (!caption.contains(QLatin1Char('&'))) continue;
        SCOPED_TRACE(caption.toStdString());
        EXPECT_FALSE(text.contains(caption));
        EXPECT_TRUE(text.contains(caption.remove(QLatin1Char('&'))));
    }
    const QRegularExpression marker(QStringLiteral("&\\w"));
    EXPECT_FALSE(text.contains(marker)) << text.toStdString();
    // The extension a name without one gets is the save dialog's, as it writes it.
    const QStringList extensions = MainWindowLayout("DefaultExt");
    ASSERT_EQ(extensions.size(), 1);
    const int saving = doc.Find("save-as");
    ASSERT_GE(saving, 0);
    std::string topic;
    for (const std::string& line : doc.Topics[std::size_t(saving)].Lines) topic += line;
    EXPECT_NE(topic.find("\"." + extensions[0].toStdString() + "\""), std::string::npos) << topic;
}

TEST(HelpViewer, FindsABareNameByItsSearchRules) {
    QTemporaryDir a, b, c;
    WriteFileBytes(b.path().toStdString() + "/X.hlp", "x");
    WriteFileBytes(c.path().toStdString() + "/X.hlp", "x");
    const std::vector<std::string> folders = {a.path().toStdString(), b.path().toStdString(),
                                              c.path().toStdString()};
    EXPECT_EQ(FindHelpFile("X.hlp", folders), b.path().toStdString() + "/X.hlp");
    EXPECT_EQ(FindHelpFile("Y.hlp", folders), "");
    EXPECT_EQ(FindHelpFile(c.path().toStdString() + "/X.hlp", {}),
              c.path().toStdString() + "/X.hlp");
    EXPECT_EQ(FindHelpFile(a.path().toStdString() + "/X.hlp", folders), "");  // no search then
    EXPECT_EQ(FindHelpFile("", folders), "");
    const auto rules = HelpSearchFolders();
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[0], QDir::currentPath().toStdString());
    EXPECT_EQ(rules[1], ProgramDir());
    EXPECT_EQ(rules[2], ProgramDataDir());
}

TEST(HelpViewer, OpensAtContentsAndIndexOrShowsItsOwnMessage) {
    QTemporaryDir data;
    SetProgramDataDir(data.path().toStdString());
    std::vector<std::string> messages;
    HelpViewerMessageHook = [&](const std::string& text) { messages.push_back(text); };
    struct Case {
        const char* Name;
        const char* Contents;  // nullptr: no file
        bool Opens;
        const char* Message;
    };
    const Case cases[] = {
        {"missing", nullptr, false, "Cannot find the help file Viewer.hlp. It was looked for in:"},
        {"malformed", "QUILLET HELP 1\nstray\n", false, "The help file "},
        {"good", kSample, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        messages.clear();
        const std::string path = data.path().toStdString() + "/Viewer.hlp";
        QFile::remove(QString::fromStdString(path));
        if (c.Contents) WriteFileBytes(path, c.Contents);
        EXPECT_EQ(WinHelp(nullptr, "Viewer.hlp", HELP_FINDER, 0), c.Opens);
        if (!c.Opens) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0].rfind(c.Message, 0), 0u) << messages[0];
            continue;
        }
        EXPECT_TRUE(messages.empty());
        THelpViewerWindow* viewer = THelpViewerWindow::Current();
        ASSERT_NE(viewer, nullptr);
        EXPECT_TRUE(viewer->isVisible());
        EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Help Topics: Sample Help"));
        EXPECT_EQ(viewer->Path(), path);
        EXPECT_EQ(viewer->Tabs()->currentIndex(), 0);               // the contents page
        EXPECT_EQ(viewer->ContentsTree()->topLevelItemCount(), 2);  // "Introduction", "Files"
        EXPECT_EQ(viewer->ContentsTree()->topLevelItem(1)->childCount(), 2);
        EXPECT_EQ(viewer->TopicShown(), 0);
        EXPECT_TRUE(viewer->TopicView()->toPlainText().startsWith(QStringLiteral("Introduction")));
        // The index lists every keyword, narrowed by what is typed.
        EXPECT_EQ(viewer->IndexList()->count(), 5);
        viewer->Tabs()->setCurrentIndex(1);  // the index page: typing narrows its list
        auto* search = qobject_cast<QLineEdit*>(viewer->focusWidget());
        ASSERT_NE(search, nullptr);
        QTest::keyClicks(search, QStringLiteral("s"));
        EXPECT_EQ(viewer->IndexList()->count(), 2);  // save, start
        Q_EMIT viewer->IndexList()->itemActivated(viewer->IndexList()->item(0));
        EXPECT_EQ(viewer->TopicShown(), 2);
        // A link leads to its topic; a context number to that topic.
        Q_EMIT viewer->TopicView()->anchorClicked(QUrl(QStringLiteral("#open")));
        EXPECT_EQ(viewer->TopicShown(), 1);
        EXPECT_TRUE(WinHelp(nullptr, "Viewer.hlp", HELP_CONTEXT, 3));
        EXPECT_EQ(viewer->TopicShown(), 2);
        EXPECT_FALSE(WinHelp(nullptr, "Viewer.hlp", HELP_CONTEXT, 4));
        EXPECT_FALSE(WinHelp(nullptr, "Viewer.hlp", 0x999, 0));  // unknown command
        EXPECT_TRUE(WinHelp(nullptr, {}, HELP_QUIT, 0));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(THelpViewerWindow::Current(), nullptr);
    }
    HelpViewerMessageHook = nullptr;
    SetProgramDataDir({});
}

namespace {

// The topic the contents tree marks, or -1.
int Marked(THelpViewerWindow* viewer) {
    const QTreeWidgetItem* item = viewer->ContentsTree()->currentItem();
    if (!item || !item->isSelected() || !item->data(0, Qt::UserRole).isValid()) return -1;
    return item->data(0, Qt::UserRole).toInt();
}

QStringList IndexShown(THelpViewerWindow* viewer) {
    QStringList shown;
    for (int i = 0; i < viewer->IndexList()->count(); ++i)
        shown << viewer->IndexList()->item(i)->text();
    return shown;
}

// A viewer window on a help file of the test's own, with its messages recorded.
class HelpViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramDataDir(Data.path().toStdString());
        HelpViewerMessageHook = [this](const std::string& text) { Messages.push_back(text); };
    }
    void TearDown() override {
        WinHelp(nullptr, {}, HELP_QUIT, 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        HelpViewerMessageHook = nullptr;
        SetProgramDataDir({});
    }
    void Write(const std::string& bytes) {
        // Written under another name and moved over the old one, as editors save.
        const std::string next = Data.path().toStdString() + "/next.hlp";
        WriteFileBytes(next, bytes);
        std::rename(next.c_str(), Path().c_str());
    }
    std::string Path() const { return Data.path().toStdString() + "/Viewer.hlp"; }

    QTemporaryDir Data;
    std::vector<std::string> Messages;
};

// Two topics share the keyword "open" (once in other letter case).
const char kShared[] =
    "QUILLET HELP 1\n"
    "== intro: Introduction\n"
    "K: start\n"
    "See [[files]].\n"
    "= Files\n"
    "== files: Opening files\n"
    "K: open; load\n"
    "== notes: Opening notes\n"
    "K: Open\n";

}  // namespace

TEST_F(HelpViewerTest, OpensWithTheContentsInHandMarksTheTopicShownAndClosesWithEsc) {
    Write(kShared);
    ASSERT_TRUE(WinHelp(nullptr, "Viewer.hlp", HELP_FINDER, 0));
    THelpViewerWindow* viewer = THelpViewerWindow::Current();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->focusWidget(), viewer->ContentsTree());
    EXPECT_EQ(Marked(viewer), 0);
    // After a link, a context number and a step through the index, the tree marks the topic.
    Q_EMIT viewer->TopicView()->anchorClicked(QUrl(QStringLiteral("#files")));
    EXPECT_EQ(viewer->TopicShown(), 1);
    EXPECT_EQ(Marked(viewer), 1);
    ASSERT_TRUE(WinHelp(nullptr, "Viewer.hlp", HELP_CONTEXT, 3));
    EXPECT_EQ(Marked(viewer), 2);
    // A keyword that leads to two topics says which topic each entry is.
    EXPECT_EQ(IndexShown(viewer),
              QStringList({"load", QStringLiteral("open \u2014 Opening files"),
                           QStringLiteral("Open \u2014 Opening notes"), "start"}));
    viewer->IndexList()->setCurrentRow(2);
    Q_EMIT viewer->IndexList()->itemActivated(viewer->IndexList()->item(2));
    EXPECT_EQ(viewer->TopicShown(), 2);
    EXPECT_EQ(Marked(viewer), 2);
    // Arrow keys in the tree move through the topics.
    ASSERT_TRUE(WinHelp(nullptr, "Viewer.hlp", HELP_FINDER, 0));
    ASSERT_TRUE(WaitUntil([&] { return viewer->isActiveWindow(); }));
    QTest::keyClick(viewer->ContentsTree(), Qt::Key_Down);  // the book "Files"
    QTest::keyClick(viewer->ContentsTree(), Qt::Key_Down);
    EXPECT_EQ(viewer->TopicShown(), 1);
    // Esc closes the viewer, from the contents and from the index's search field.
    QTest::keyClick(viewer->ContentsTree(), Qt::Key_Escape);
    EXPECT_FALSE(viewer->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(THelpViewerWindow::Current(), nullptr);
    ASSERT_TRUE(WinHelp(nullptr, "Viewer.hlp", HELP_FINDER, 0));
    viewer = THelpViewerWindow::Current();
    ASSERT_TRUE(WaitUntil([&] { return viewer->isActiveWindow(); }));
    viewer->ShowIndex();
    QTest::keyClick(viewer->focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_TRUE(Messages.empty());
}

TEST_F(HelpViewerTest, AHelpFileReplacedWhileOpenIsReadAgainOnTheNextRequest) {
    Write(kShared);
    ASSERT_TRUE(WinHelp(nullptr, "Viewer.hlp", HELP_CONTEXT, 3));
    THelpViewerWindow* viewer = THelpViewerWindow::Current();
    ASSERT_NE(viewer, nullptr);
    // Replaced by a damaged file, then removed: the viewer goes on with what it read.
    Write("QUILLET HELP 1\nstray text\n");
    Q_EMIT viewer->TopicView()->anchorClicked(QUrl(QStringLiteral("#files")));
    EXPECT_EQ(Marked(viewer), 1);
    EXPECT_FALSE(WinHelp(nullptr, "Viewer.hlp", HELP_FINDER, 0));
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0].rfind("The help file " + Path() + " is damaged", 0), 0u) << Messages[0];
    EXPECT_EQ(viewer->Document().Topics.size(), 3u);
    EXPECT_EQ(viewer->TopicShown(), 1);
    EXPECT_EQ(Marked(viewer), 1);
    QFile::remove(QString::fromStdString(Path()));
    Q_EMIT viewer->TopicView()->anchorClicked(QUrl(QStringLiteral("#intro")));
    EXPECT_EQ(Marked(viewer), 0);
    // Replaced by a shorter file: the next request shows it whole, its index and marks fresh.
    Write("QUILLET HELP 1\n== only: The only topic\nK: open\nText.\n");
    ASSERT_TRUE(WinHelp(nullptr, "Viewer.hlp", HELP_FINDER, 0));
    EXPECT_EQ(THelpViewerWindow::Current(), viewer);
    EXPECT_EQ(viewer->Document().Topics.size(), 1u);
    EXPECT_EQ(viewer->TopicShown(), 0);
    EXPECT_EQ(Marked(viewer), 0);
    EXPECT_EQ(viewer->ContentsTree()->topLevelItemCount(), 1);
    EXPECT_EQ(IndexShown(viewer), QStringList({"open"}));
    Q_EMIT viewer->TopicView()->anchorClicked(QUrl(QStringLiteral("#notes")));  // gone now
    EXPECT_EQ(viewer->TopicShown(), 0);
    EXPECT_FALSE(WinHelp(nullptr, "Viewer.hlp", HELP_CONTEXT, 3));
    EXPECT_EQ(viewer->TopicShown(), 0);
}
