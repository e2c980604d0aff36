// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The About, Descriptions and How-to windows and the help file, opened from the main window as a
// user opens them: layouts, texts, pictures, places, closing, and what stays while hidden.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTextDocument>

#include "app/Unit11.h"
#include "app/Unit14.h"
#include "app/Unit7.h"
#include "app/Unit8.h"
#include "platform/help/HelpViewer.h"
#include "platform/system/ProgramFiles.h"
#include "tests/TestSupport.h"
#include "tests/app/AppFixture.h"
#include "toolkit/TApplication.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TImage.h"
#include "toolkit/TLabel.h"
#include "toolkit/TMemo.h"
#include "toolkit/TMenuItem.h"
#include "toolkit/TPanel.h"
#include "toolkit/TSpeedButton.h"
#include "toolkit/TStaticText.h"
#include "toolkit/TWebBrowser.h"

namespace {

class SecondaryWindows : public AppFixture {
protected:
    // The program's data folder: the shipped files, or an empty folder.
    bool ShippedFiles = true;
    QTemporaryDir EmptyData;

    void PrepareFiles() override {
        const QString shipped =
            QStringLiteral(QUILLET_SOURCE_DIR) + QStringLiteral("/resources/appfiles");
        SetProgramDataDir(ShippedFiles ? shipped.toStdString() : EmptyData.path().toStdString());
    }
    void TearDown() override {
        AppFixture::TearDown();
        SetProgramDataDir({});
        HelpViewerMessageHook = nullptr;
        if (THelpViewerWindow::Current()) delete THelpViewerWindow::Current();
    }
};

class SecondaryWindowsWithoutFiles : public SecondaryWindows {
protected:
    void SetUp() override {
        ShippedFiles = false;
        SecondaryWindows::SetUp();
    }
};

void Trigger(const char* menuItem) {
    Form7->findChild<TMenuItem*>(QString::fromLatin1(menuItem))->trigger();
}

// Where a window of that size (frame included) stands centred on the screen.
QPoint ScreenCentreFor(const QWidget* w, QSize frame = {}) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QSize outer = w->size() + frame;
    return {area.x() + (area.width() - outer.width()) / 2,
            area.y() + (area.height() - outer.height()) / 2};
}

struct Row {
    const char* Name;
    const char* Parent;
    int Left, Top, Width, Height;  // -1: sized by its text
    const char* Text;              // nullptr: a picture or a memo
};

void CheckRows(TForm* form, const std::vector<Row>& rows) {
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Name);
        auto* w = qobject_cast<QWidget*>(form->FindComponent(r.Name));
        ASSERT_NE(w, nullptr);
        const QWidget* parent = std::string(r.Parent) == form->objectName().toStdString()
                                    ? form->Client()
                                    : qobject_cast<QWidget*>(form->FindComponent(r.Parent));
        EXPECT_EQ(w->parentWidget(), parent);
        EXPECT_EQ(w->x(), r.Left);
        EXPECT_EQ(w->y(), r.Top);
        if (r.Width >= 0) {
            EXPECT_EQ(w->width(), r.Width);
        }
        if (r.Height >= 0) {
            EXPECT_EQ(w->height(), r.Height);
        }
        if (r.Text) {
            EXPECT_EQ(w->property("Caption").toString(), QString::fromUtf8(r.Text));
        }
        // Every caption fits inside its parent.
        EXPECT_LE(w->x() + w->width(), parent->width());
        EXPECT_LE(w->y() + w->height(), parent->height());
    }
}

}  // namespace

TEST_F(SecondaryWindows, TheAboutWindowShowsItsLayoutAndCloseHidesIt) {
    EXPECT_FALSE(AboutBox1->isVisible());
    Form7->findChild<TBitBtn*>(QStringLiteral("BitBtn6"))->click();
    ASSERT_TRUE(AboutBox1->isVisible());
    EXPECT_EQ(AboutBox1->windowTitle(), QStringLiteral("About Quillet 3.2+"));
    EXPECT_TRUE(AboutBox1->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(AboutBox1->Client()->size(), QSize(509, 217));
    EXPECT_EQ(AboutBox1->Color(), clSkyBlue);
    EXPECT_NEAR(AboutBox1->x(), ScreenCentreFor(AboutBox1).x(), 1);
    EXPECT_NEAR(AboutBox1->y(), ScreenCentreFor(AboutBox1).y(), 1);
    CheckRows(AboutBox1,
              {
                  {"Image1", "AboutBox1", 8, 176, 97, 33, nullptr},
                  {"Image2", "AboutBox1", 400, 176, 97, 33, nullptr},
                  {"SpeedButton1", "AboutBox1", 192, 184, 113, 22, "Close"},
                  {"Panel1", "AboutBox1", 8, 8, 497, 161, ""},
                  {"ProductName", "Panel1", 88, 16, -1, 13, "Quillet Editor"},
                  {"Version", "Panel1", 88, 32, -1, 13, "Version 3.2+"},
                  {"MakerLine", "Panel1", 152, 32, -1, 13, nullptr},
                  {"Comments", "Panel1", 88, 64, 149, 26, "Packed with Nimbrel 1.4+"},
                  {"Label1", "Panel1", 8, 88, -1, 13, nullptr},
                  {"Label2", "Panel1", 8, 120, -1, 13, "Don't forget to check for updates!"},
                  {"Label3", "Panel1", 320, 136, -1, 13, nullptr},
                  {"Image3", "Panel1", 8, 16, 73, 65, nullptr},
                  {"StaticText1", "Panel1", 160, 16, -1, 17, nullptr},
                  {"StaticText2", "Panel1", 88, 48, -1, 17, nullptr},
                  {"StaticText3", "Panel1", 8, 136, -1, 17, nullptr},
              });
    auto* panel = AboutBox1->Component<TPanel>("Panel1");
    EXPECT_TRUE(panel->ParentColor());
    EXPECT_EQ(panel->BevelInner(), bvRaised);
    EXPECT_EQ(panel->BevelOuter(), bvLowered);
    for (const auto& [name, size] :
         {std::pair{"Image1", QSize(97, 33)}, {"Image2", QSize(97, 33)}, {"Image3", QSize(73, 65)}})
        EXPECT_EQ(AboutBox1->Component<TImage>(name)->Image().size(), size) << name;
    EXPECT_EQ(AboutBox1->Component<TImage>("Image3")->Image().depth(), 32);  // read from 24 bits

    // "Close" hides it; F12 brings it back where it was.
    const QPoint placed = AboutBox1->pos();
    AboutBox1->Component<TSpeedButton>("SpeedButton1")->click();
    EXPECT_FALSE(AboutBox1->isVisible());
    EXPECT_TRUE(Form7->isVisible());
    Trigger("About1");
    EXPECT_TRUE(AboutBox1->isVisible());
    EXPECT_EQ(AboutBox1->pos(), placed);
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
}

TEST_F(SecondaryWindows, ShowingAVisibleWindowLeavesItWhereItIs) {
    for (TForm* form : std::initializer_list<TForm*>{AboutBox1, Form11, howto}) {
        form->SetVisible(true);
        form->move(form->pos() + QPoint(10, 10));
        const QPoint moved = form->pos();
        Form7->activateWindow();
        QWidget* active = QApplication::activeWindow();
        form->SetVisible(true);
        EXPECT_EQ(form->pos(), moved);
        EXPECT_EQ(QApplication::activeWindow(), active);
    }
}

TEST_F(SecondaryWindows, TheDescriptionsWindowKeepsItsTextAndItsPlace) {
    Form7->findChild<TSpeedButton*>(QStringLiteral("SpeedButton7"))->click();  // "Show Info"
    ASSERT_TRUE(Form11->isVisible());
    EXPECT_EQ(Form11->windowTitle(),
              QStringLiteral("Descriptions for Quillet 3.1 (Howto use the program)"));
    EXPECT_FALSE(Form11->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(Form11->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(Form11->Color(), clMoneyGreen);
    CheckRows(Form11, {{"Image1", "Form11", 184, 8, 305, 81, nullptr},
                       {"SpeedButton1", "Form11", 224, 424, 233, 25, "Close this window"},
                       {"Memo1", "Form11", 56, 112, 585, 305, nullptr}});
    EXPECT_EQ(Form11->Component<TImage>("Image1")->Image().size(), QSize(300, 75));

    TMemo* memo = Form11->Memo1;
    EXPECT_EQ(memo->Color(), clMoneyGreen);
    EXPECT_EQ(memo->ScrollBars(), ssVertical);
    EXPECT_TRUE(memo->WordWrap());
    EXPECT_FALSE(memo->ReadOnly());
    const QStringList lines = memo->Lines();
    ASSERT_EQ(lines.size(), 35);
    const std::pair<int, const char*> fixed[] = {
        {1,
         "Quillet has many built-in functions to work in the best possible way. The program "
         "is optimized for Intel"},
        {2, "Pentium II and above. If you use a Intel Pentium MMX thats ok."},
        {3, ""},
        {4,
         "The first you see when Quillet is started may just be the color. I added a new "
         "\"look\""},
        {5, "to the client. There are also a few buttons with functions."},
        {6, ""},
        {7,
         "Button called \"D\" is a client color and fontchanger.This nutton setts the "
         "defaults."},
        {8, "Button called \"B\" changes the color to Blue."},
        {9, "Button called \"G\"changes the color to Green."},
        {10, "Button called \"M\" changes the color to Maroon."},
        {11, ""},
        {12, "This program can play music-files as MP3, WAV and CDA. There are some buttons to"},
        {13,
         "control these features. The first is the controllpanel with buttons like \"Play\" "
         "\"Stop\""},
        {14, "and \"Record\". "},
        {15, "Two other buttons control the \"open file\" and \"close file\" functions."},
        {16, ""},
        {17, "New Functions:"},
        {18, ""},
        {20, "<x> 10-06-2003 -> New Printer Setup and Printing service included in EXE file."},
        {21, "<x> 10-06-2003 -> Quillet 3.2 is now known as Quillet 3.2+"},
        {22, "<x> 10-06-2003 -> New ISO-Files soon available at our homepage"},
        {23, ""},
    };
    for (const auto& [line, text] : fixed)
        EXPECT_EQ(lines[line - 1], QString::fromUtf8(text)) << "line " << line;
    EXPECT_TRUE(lines[18].startsWith(QStringLiteral("<x> ")));

    // The window comes up in the screen's centre; resizing it moves no control.
    EXPECT_NEAR(Form11->x(), ScreenCentreFor(Form11, QSize(8, 27)).x(), 1);
    EXPECT_NEAR(Form11->y(), ScreenCentreFor(Form11, QSize(8, 27)).y(), 1);
    const QRect memoPlace = memo->geometry();
    Form11->resize(900, 640);
    QCoreApplication::processEvents();
    EXPECT_EQ(memo->geometry(), memoPlace);

    // Typed text stays while the window is hidden; "Close this window" hides it only.
    memo->appendPlainText(QStringLiteral("my own line"));
    Form11->Component<TSpeedButton>("SpeedButton1")->click();
    EXPECT_FALSE(Form11->isVisible());
    EXPECT_TRUE(Form7->isVisible());
    Form7->findChild<TSpeedButton*>(QStringLiteral("SpeedButton7"))->click();
    EXPECT_TRUE(Form11->isVisible());
    EXPECT_EQ(memo->Lines().size(), 36);
    EXPECT_EQ(memo->Lines().last(), QStringLiteral("my own line"));
    // The title bar's close hides it as well.
    Form11->close();
    EXPECT_FALSE(Form11->isVisible());
}

TEST_F(SecondaryWindows, TheHowToWindowHasLoadedItsPageAtStartUp) {
    TWebBrowser* browser = howto->WebBrowser1;
    ASSERT_NE(browser, nullptr);
    EXPECT_FALSE(howto->isVisible());
    EXPECT_TRUE(browser->PageShown());  // loaded while the window was still hidden
    EXPECT_EQ(browser->LocationURL(), QUrl::fromLocalFile(QString::fromStdString(ProgramDataDir()) +
                                                          QStringLiteral("/howto.html")));
    EXPECT_EQ(browser->documentTitle(), QStringLiteral("How to use Quillet 3.2+"));
    const QString text = browser->toPlainText();
    for (const char* part : {"Writing notes", "Files and folders", "Printing", "Music",
                             "Colours and clock", "Help and ending"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(part))) << part;

    Trigger("HowToUseQuillet1");
    ASSERT_TRUE(howto->isVisible());
    EXPECT_EQ(howto->windowTitle(), QStringLiteral("How to use Quillet 3.2+"));
    EXPECT_EQ(howto->pos(), QPoint(196, 107));
    EXPECT_TRUE(howto->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(browser->geometry(), QRect(16, 8, 657, 433));
    howto->resize(500, 300);
    EXPECT_EQ(browser->geometry(), QRect(16, 8, 657, 433));
    // A link within the page leads to its place; the page is not reloaded on showing again.
    Q_EMIT browser->anchorClicked(QUrl(QStringLiteral("#music")));
    howto->close();
    EXPECT_FALSE(howto->isVisible());
    Trigger("HowToUseQuillet1");
    EXPECT_EQ(browser->documentTitle(), QStringLiteral("How to use Quillet 3.2+"));
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
}

TEST_F(SecondaryWindows, HelpFileOpensTheViewerAtItsContentsAndIndex) {
    std::vector<std::string> messages;
    HelpViewerMessageHook = [&](const std::string& text) { messages.push_back(text); };
    Trigger("HelpFile1");
    EXPECT_EQ(Application->HelpFile, "Quil3.hlp");
    EXPECT_TRUE(messages.empty()) << messages.front();
    THelpViewerWindow* viewer = THelpViewerWindow::Current();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->Path(), ProgramDataDir() + "/Quil3.hlp");
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Help Topics: Quillet 3.2+ Help"));
    EXPECT_EQ(viewer->TopicShown(), 0);
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
}

TEST_F(SecondaryWindowsWithoutFiles, MissingFilesAreTheViewersAndTheBrowsersToReport) {
    // The how-to page: the browser's own error page, nothing from the program.
    EXPECT_FALSE(howto->WebBrowser1->PageShown());
    EXPECT_TRUE(howto->WebBrowser1->toPlainText().contains(QStringLiteral("cannot be displayed")));
    // The help file: the viewer's own message.
    std::vector<std::string> messages;
    HelpViewerMessageHook = [&](const std::string& text) { messages.push_back(text); };
    Trigger("HelpFile1");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Cannot find the help file Quil3.hlp.", 0), 0u) << messages[0];
    EXPECT_EQ(THelpViewerWindow::Current(), nullptr);
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
}
