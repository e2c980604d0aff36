// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include <gtest/gtest.h>

#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <stdexcept>

#include "platform/system/Exception.h"
#include "tests/TestSupport.h"
#include "toolkit/Events.h"
#include "toolkit/TApplication.h"
#include "toolkit/TForm.h"
#include "toolkit/TWebBrowser.h"

TEST(TApplication, ErrorBoxTextAppendsFullStopAfterCharactersAboveIt) {
    EXPECT_EQ(TApplication::ErrorBoxText("File not found"), "File not found.");
    EXPECT_EQ(TApplication::ErrorBoxText("I/O error 21"), "I/O error 21.");
    EXPECT_EQ(TApplication::ErrorBoxText("Really?"), "Really?.");
    EXPECT_EQ(TApplication::ErrorBoxText("Colon:"), "Colon:.");
    EXPECT_EQ(TApplication::ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(TApplication::ErrorBoxText("Stop!"), "Stop!");
    EXPECT_EQ(TApplication::ErrorBoxText("(x)"), "(x)");
    EXPECT_EQ(TApplication::ErrorBoxText("a,"), "a,");
    EXPECT_EQ(TApplication::ErrorBoxText("trailing "), "trailing ");
    EXPECT_EQ(TApplication::ErrorBoxText(""), "");
}

TEST(TApplication, SafeCallReportsEscapingErrorsWithTitleAndCarriesOn) {
    ErrorBoxRecorder::Take();
    bool after = false;
    SafeCall([] { throw EInOutError("I/O error 21", 21); });
    SafeCall([] { throw EAbort("silent"); });
    SafeCall([&] { after = true; });
    auto boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "I/O error 21.");
    EXPECT_EQ(boxes[0].Caption, "Quillet 3.1+");
    EXPECT_TRUE(after);
}

TEST(TApplication, StartUpWorkWaitsForTheMainWindowsFirstPaintThenRunsInOrder) {
    ASSERT_EQ(Application->MainForm(), nullptr);
    TForm main;
    Application->RegisterForm(&main);
    ASSERT_EQ(Application->MainForm(), &main);
    std::vector<std::string> done;
    Application->AfterFirstPaint([&] { done.push_back("page"); });
    Application->AfterFirstPaint([&] { throw EInOutError("I/O error 21", 21); });
    Application->AfterFirstPaint([&] { done.push_back("pictures"); });
    QCoreApplication::processEvents();
    EXPECT_TRUE(done.empty()) << "nothing runs while the main window has not been painted";
    // A browser navigated meanwhile loads its page when it is shown, whichever comes first.
    QTemporaryDir dir;
    QFile page(dir.filePath(QStringLiteral("page.html")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><head><title>Early</title></head><body>text</body></html>");
    page.close();
    TWebBrowser browser;
    browser.Navigate(page.fileName());
    EXPECT_TRUE(browser.PageShown());
    EXPECT_EQ(browser.documentTitle(), QString());
    browser.show();
    EXPECT_EQ(browser.documentTitle(), QStringLiteral("Early"));

    ErrorBoxRecorder::Take();
    main.resize(200, 100);
    main.SetVisible(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.size() == 2; }));
    EXPECT_EQ(done, (std::vector<std::string>{"page", "pictures"}));
    // A failing piece is reported like any handler's error, and the rest still runs.
    const auto boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "I/O error 21.");
    // Once the window has been painted, work runs at once.
    Application->AfterFirstPaint([&] { done.push_back("later"); });
    EXPECT_EQ(done.back(), "later");
}

namespace {

// What a user may be in the middle of with the mouse when a handler fails.
struct TMouseState {
    QWidget Window;
    QPushButton* Button = new QPushButton(QStringLiteral("Press"), &Window);
    QWidget* Grabber = new QWidget(&Window);
    QMenu* Menu = new QMenu(&Window);
    int Clicks = 0;
    TMouseState() {
        Window.resize(300, 200);
        Button->setGeometry(10, 10, 100, 30);
        Grabber->setGeometry(10, 60, 100, 30);
        Menu->addAction(QStringLiteral("Item"));
        QObject::connect(Button, &QPushButton::clicked, [this] { ++Clicks; });
        Window.show();
    }
};

}  // namespace

TEST(TApplication, EveryErrorReleasesTheMouseAndCancelsAPressFirst) {
    const std::function<void()> errors[] = {
        [] { throw EInOutError("File not found", 2); },
        [] { throw EAbort("silent"); },
        [] { throw std::runtime_error("Unknown"); },
    };
    for (const auto& error : errors) {
        for (int situation = 0; situation < 3; ++situation) {
            TMouseState state;
            bool downWhenFailing = false;
            if (situation == 0) {  // a button held down; its press handler fails
                QObject::connect(state.Button, &QPushButton::pressed, [&] {
                    downWhenFailing = state.Button->isDown();
                    SafeCall(error);
                });
                QTest::mousePress(state.Button, Qt::LeftButton, {}, QPoint(50, 15));
                EXPECT_TRUE(downWhenFailing);
                EXPECT_FALSE(state.Button->isDown()) << "the button comes up at once";
                QTest::mouseRelease(state.Button, Qt::LeftButton, {}, QPoint(50, 15));
                EXPECT_EQ(state.Clicks, 0) << "and the later release does not click it";
            } else if (situation == 1) {  // a control holding the mouse capture
                state.Grabber->grabMouse();
                ASSERT_EQ(QWidget::mouseGrabber(), state.Grabber);
                SafeCall(error);
                EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
            } else {  // an open menu
                state.Menu->popup(state.Window.mapToGlobal(QPoint(20, 20)));
                ASSERT_EQ(QApplication::activePopupWidget(), state.Menu);
                SafeCall(error);
                EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
            }
        }
    }
    ErrorBoxRecorder::Take();
}

TEST(TApplication, TheErrorBoxIsWideEnoughForItsCaption) {
    const std::string saved = Application->Title;
    for (const char* title : {"Quillet 3.1+", "Quillet 3.1+ with a much longer caption"}) {
        Application->Title = title;
        for (const char* text : {"x", "File not found.", "I/O error 21."}) {
            const auto box = Application->MakeErrorBox(text, nullptr);
            box->show();
            QFont bold = QApplication::font();
            bold.setBold(true);
            const int caption = QFontMetrics(bold).horizontalAdvance(QString::fromLatin1(title));
            // Room for the caption beside the title bar's icon and its three buttons.
            EXPECT_GE(box->width(), caption + 4 * QFontMetrics(bold).height()) << title << text;
            EXPECT_EQ(box->windowTitle(), QString::fromLatin1(title));
            EXPECT_EQ(box->icon(), QMessageBox::Critical);
            box->hide();
        }
    }
    Application->Title = saved;
}
