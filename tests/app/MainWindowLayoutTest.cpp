// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The main window as built from its layout, checked against the window's published table.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>

#include "app/Startup.h"
#include "app/Unit11.h"
#include "app/Unit14.h"
#include "app/Unit7.h"
#include "app/Unit8.h"
#include "tests/app/AppFixture.h"
#include "toolkit/TApplication.h"
#include "toolkit/TMenuItem.h"

namespace {

struct ControlRow {
    const char* Name;
    const char* Class;
    const char* Parent;
    int Left, Top, Width, Height;
    const char* Text;  // nullptr: no text to check
    bool Hand;
};

// Creation order, as the window's table lists it (GroupBox1 at the note area's place).
const ControlRow kControls[] = {
    {"Image2", "TImage", "Form7", 432, 376, 249, 65, nullptr, false},
    {"SpeedButton1", "TSpeedButton", "Form7", 16, 368, 23, 22, "D", true},
    {"SpeedButton2", "TSpeedButton", "Form7", 48, 368, 23, 22, "B", true},
    {"SpeedButton3", "TSpeedButton", "Form7", 80, 368, 23, 22, "G", true},
    {"SpeedButton4", "TSpeedButton", "Form7", 112, 368, 23, 22, "M", true},
    {"Label1", "TLabel", "Form7", 24, 400, -1, 13, "Time", false},
    {"Label2", "TLabel", "Form7", 24, 416, -1, 13, "Label2", false},
    {"SpeedButton5", "TSpeedButton", "Form7", 144, 368, 23, 22, "X", true},
    {"SpeedButton6", "TSpeedButton", "Form7", 176, 424, 247, 17, "Close Music File...", true},
    {"Image1", "TImage", "Form7", 8, 0, 673, 33, nullptr, false},
    {"GroupBox3", "TGroupBox", "Form7", 304, 72, 129, 233, "", false},
    {"SpeedButton7", "TSpeedButton", "GroupBox3", 24, 144, 81, 25, "Show Info", false},
    {"GroupBox1", "TGroupBox", "Form7", 8, 40, 289, 297, nullptr, false},
    {"RichEdit1", "TRichEdit", "GroupBox1", 8, 16, 273, 273, nullptr, false},
    {"Panel1", "TPanel", "Form7", 312, 40, 113, 33, "Menu", false},
    {"GroupBox2", "TGroupBox", "Form7", 440, 40, 241, 297, "Orvane Explores your Drive(s)", false},
    {"DriveComboBox1", "TDriveComboBox", "GroupBox2", 8, 56, 225, -1, nullptr, true},
    {"DirectoryListBox1", "TDirectoryListBox", "GroupBox2", 8, 80, 225, 97, nullptr, true},
    {"FileListBox1", "TFileListBox", "GroupBox2", 8, 184, 225, 105, nullptr, true},
    {"FilterComboBox1", "TFilterComboBox", "Form7", 448, 56, 225, -1, nullptr, true},
    {"Edit1", "TEdit", "Form7", 304, 312, 129, 21, nullptr, false},
    {"BitBtn1", "TBitBtn", "Form7", 320, 88, 97, 25, "<-- Load", true},
    {"BitBtn2", "TBitBtn", "Form7", 320, 120, 97, 25, "<-- Save As", true},
    {"BitBtn3", "TBitBtn", "Form7", 320, 152, 97, 25, "<-- &Clear Area", true},
    {"BitBtn4", "TBitBtn", "Form7", 320, 240, 97, 25, "Load -->", true},
    {"BitBtn5", "TBitBtn", "Form7", 320, 272, 97, 25, "Save -->", true},
    {"BitBtn6", "TBitBtn", "Form7", 320, 184, 97, 25, "About", true},
    {"StaticText1", "TStaticText", "Form7", 16, 344, -1, -1,
     "Client Color and Font changer:", false},
    {"MediaPlayer1", "TMediaPlayer", "Form7", 176, 352, 253, 30, nullptr, true},
    {"BitBtn7", "TBitBtn", "Form7", 176, 400, 249, 17, "Open Music Files", true},
    {"ColorBox1", "TColorBox", "Form7", 440, 344, 241, -1, nullptr, false},
};

QString TextOf(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    QVariant caption = w->property("Caption");
    if (caption.isValid()) return caption.toString();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    return {};
}

}  // namespace

TEST_F(AppFixture, MainWindowHasEveryControlAtItsPlaceInCreationOrder) {
    QWidget* client = Form7->Client();
    std::vector<QWidget*> order;
    for (QWidget* w : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        order.push_back(w);
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.Name);
        auto* w = Form7->findChild<QWidget*>(QString::fromLatin1(row.Name));
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->inherits(row.Class)) << w->metaObject()->className();
        const QString parent =
            w->parentWidget() == client ? QStringLiteral("Form7") : w->parentWidget()->objectName();
        EXPECT_EQ(parent, QString::fromLatin1(row.Parent));
        EXPECT_EQ(w->x(), row.Left);
        EXPECT_EQ(w->y(), row.Top);
        if (row.Width >= 0) {
            EXPECT_EQ(w->width(), row.Width);
        }
        if (row.Height >= 0) {
            EXPECT_EQ(w->height(), row.Height);
        }
        if (row.Text) {
            EXPECT_EQ(TextOf(w), QString::fromUtf8(row.Text));
        }
        EXPECT_EQ(w->cursor().shape() == Qt::PointingHandCursor, row.Hand);
    }
    // Windowed siblings stack in creation order: the buttons lie above GroupBox3.
    auto index = [&](const char* name) {
        auto it = std::find(order.begin(), order.end(),
                            Form7->findChild<QWidget*>(QString::fromLatin1(name)));
        return it - order.begin();
    };
    EXPECT_LT(index("GroupBox3"), index("BitBtn1"));
    EXPECT_LT(index("GroupBox1"), index("Panel1"));
}

TEST_F(AppFixture, MainWindowPropertiesAndFixedClientArea) {
    EXPECT_EQ(Form7->windowTitle(), QStringLiteral("Quillet 3.2+"));
    EXPECT_EQ(Application->Title, "Quillet 3.1+");
    EXPECT_EQ(Application->MainForm(), Form7);
    EXPECT_EQ(Form7->Client()->width(), 690);
    EXPECT_EQ(Form7->Client()->height(), 458);
    EXPECT_EQ(Form7->minimumSize(), Form7->maximumSize());  // cannot be resized
    EXPECT_EQ(Form7->Color(), clSkyBlue);
    EXPECT_EQ(Form7->Font().Name, "MS Sans Serif");
    EXPECT_EQ(Form7->Font().Height, -11);
    EXPECT_EQ(Form7->Font().Color, clWindowText);
    EXPECT_EQ(Form7->Client()->palette().color(QPalette::Window), QColor(0xA6, 0xCA, 0xF0));
    // The theme icon at every size, so a task bar or switcher at a scale of 2 shows it sharp.
    const QList<QSize> sizes = Form7->windowIcon().availableSizes();
    for (int n : {16, 32, 48, 64, 128, 256}) EXPECT_TRUE(sizes.contains(QSize(n, n))) << n;
    EXPECT_EQ(Form7->windowIcon().pixmap(QSize(64, 64), 2.0).size(), QSize(128, 128));
    const QImage banner = Form7->findChild<QWidget*>(QStringLiteral("Image1"))->grab().toImage();
    EXPECT_EQ(banner.size(), QSize(673, 33));
}

TEST_F(AppFixture, WindowsAreCreatedInOrderAndTheSecondaryOnesStayHidden) {
    const auto& forms = Application->Forms();
    ASSERT_EQ(forms.size(), 4u);
    EXPECT_EQ(forms[0], Form7);
    EXPECT_EQ(forms[1], AboutBox1);
    EXPECT_EQ(forms[2], Form11);
    EXPECT_EQ(forms[3], howto);
    EXPECT_FALSE(AboutBox1->isVisible());
    EXPECT_FALSE(Form11->isVisible());
    EXPECT_FALSE(howto->isVisible());
}

TEST_F(AppFixture, MenuBarEntriesCaptionsAndShortcuts) {
    struct Item {
        const char* Name;
        const char* Caption;
        QKeySequence Key;
    };
    const Item items[] = {
        {"File1", "&File", {}},
        {"New1", "&New", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"N3", "&Open", {}},
        {"SaveAs1", "Save &As...", {}},
        {"N2", "-", {}},
        {"Print1", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"PrinterSetup1", "Printer Set&up", {}},
        {"N1", "-", {}},
        {"Exit1", "E&xit", {}},
        {"Help1", "H&elp", {}},
        {"HowToUseQuillet1", "HowTo Use Quillet", {}},
        {"HelpFile1", "Help File", {}},
        {"About1", "About", QKeySequence(Qt::Key_F12)},
    };
    for (const Item& item : items) {
        SCOPED_TRACE(item.Name);
        auto* action = Form7->findChild<TMenuItem*>(QString::fromLatin1(item.Name));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->Caption(), QString::fromLatin1(item.Caption));
        EXPECT_EQ(action->shortcut(), item.Key);
    }
    const QList<QAction*> top = Form7->menuBar()->actions();
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top[0]->objectName(), QStringLiteral("File1"));
    ASSERT_EQ(top[0]->menu()->actions().size(), 8);
    EXPECT_EQ(top[0]->menu()->actions()[7]->objectName(), QStringLiteral("Exit1"));
    EXPECT_EQ(top[1]->menu()->actions().size(), 3);
}

TEST_F(AppFixture, TabOrderFollowsTheTable) {
    // The focus chain from the note area: panel controls, filter, edit, buttons, player, colours.
    const char* chain[] = {"RichEdit1",       "DriveComboBox1", "DirectoryListBox1", "FileListBox1",
                           "FilterComboBox1", "Edit1",          "BitBtn1",           "BitBtn2",
                           "BitBtn3",         "BitBtn4",        "BitBtn5",           "BitBtn6"};
    QWidget* w = Form7->findChild<QWidget*>(QString::fromLatin1(chain[0]));
    for (size_t i = 1; i < std::size(chain); ++i) {
        w = w->nextInFocusChain();
        while (w && !(w->focusPolicy() & Qt::TabFocus)) w = w->nextInFocusChain();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->objectName(), QString::fromLatin1(chain[i]));
    }
}
