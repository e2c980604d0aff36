// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The main window's appearance commands and clock: the four colour schemes, the colour list, the
// clock's ticks, and "X" against "E&xit".
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QRegularExpression>
#include <QTimer>

#include "app/Unit7.h"
#include "browse/TDirectoryListBox.h"
#include "browse/TDriveComboBox.h"
#include "browse/TFileListBox.h"
#include "browse/TFilterComboBox.h"
#include "colour/TColorBox.h"
#include "notes/TRichEdit.h"
#include "platform/system/RegionalSettings.h"
#include "tests/TestSupport.h"
#include "tests/app/AppFixture.h"
#include "tests/app/FlourishCounter.h"
#include "toolkit/TApplication.h"
#include "toolkit/TEdit.h"
#include "toolkit/TLabel.h"
#include "toolkit/TMenuItem.h"
#include "toolkit/TPanel.h"
#include "toolkit/TSpeedButton.h"
#include "toolkit/TStaticText.h"
#include "toolkit/TTimer.h"

namespace {

TSpeedButton* Button(const char* name) {
    return Form7->findChild<TSpeedButton*>(QString::fromLatin1(name));
}

TColor ColorOf(const char* control) {
    return Form7->FindComponent(control)->property("Color").toUInt();
}

// The colour a control's text is drawn in.
QColor TextColorOf(const char* control) {
    auto* w = qobject_cast<QWidget*>(Form7->FindComponent(control));
    return w->palette().color(QPalette::WindowText);
}

QColor Expected(TColor color) {
    return color == clDefault ? QApplication::palette().color(QPalette::WindowText)
                              : ToQColor(color);
}

const char* const kSchemeControls[] = {"DriveComboBox1", "DirectoryListBox1", "FileListBox1",
                                       "Edit1",          "RichEdit1",         "FilterComboBox1",
                                       "Panel1"};

// A colour as a screenshot of that format holds it.
QRgb AsShown(const QImage& shot, TColor color) {
    QImage one(1, 1, shot.format());
    one.fill(ToQColor(color));
    return one.pixel(0, 0);
}

// The colour the note area draws text in that has no colour of its own.
QColor NoteTextColor() {
    const TColor c = Form7->RichEdit1->Font().Color;
    return c == clWindowText || c == clDefault ? Form7->RichEdit1->palette().color(QPalette::Text)
                                               : ToQColor(c);
}

// Records the order in which controls take a new colour.
class PaletteOrder : public QObject {
public:
    std::vector<std::string> Order;
    PaletteOrder() {
        for (const char* name : kSchemeControls)
            Form7->FindComponent(name)->installEventFilter(this);
    }
    ~PaletteOrder() override {
        for (const char* name : kSchemeControls)
            Form7->FindComponent(name)->removeEventFilter(this);
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        const std::string name = o->objectName().toStdString();
        if (e->type() == QEvent::PaletteChange &&
            std::find(Order.begin(), Order.end(), name) == Order.end())
            Order.push_back(name);
        return false;
    }
};

// The window colour at the moment the flourish's bar appears.
class ColourAtFlourish : public QObject {
public:
    TColor Window = 0x12345678;
    ColourAtFlourish() { Form7->Client()->installEventFilter(this); }
    ~ColourAtFlourish() override { Form7->Client()->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::ChildPolished &&
            qobject_cast<QProgressBar*>(static_cast<QChildEvent*>(e)->child()))
            Window = Form7->Color();
        return false;
    }
};

}  // namespace

TEST_F(AppFixture, ColourSchemesRunTheFlourishThenTheirStepsInOrder) {
    struct Case {
        const char* Button;
        TColor Window;
        TColor Font;
        std::vector<std::string> Order;
        TColor Lists;  // the browsing controls, Edit1 and the note area
        TColor Panel;
    };
    const std::vector<std::string> dOrder = {
        "DriveComboBox1", "DirectoryListBox1", "FileListBox1", "Edit1",
        "RichEdit1",      "FilterComboBox1",   "Panel1"};
    const std::vector<std::string> otherOrder = {
        "RichEdit1",       "DriveComboBox1", "DirectoryListBox1", "FileListBox1", "Edit1",
        "FilterComboBox1", "Panel1"};
    const Case cases[] = {
        {"SpeedButton2", clBlue, clBlack, otherOrder, clWhite, clSilver},
        {"SpeedButton3", clGreen, clNavy, otherOrder, clWhite, clSilver},
        {"SpeedButton4", clMaroon, clYellow, otherOrder, clGray, clSilver},
        {"SpeedButton1", clSkyBlue, clDefault, dOrder, clWhite, clSkyBlue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Button);
        // First click: the flourish comes before any colour changes.
        FlourishCounter flourish(Form7->Client());
        ColourAtFlourish seen;
        const TColor before = Form7->Color();
        Button(c.Button)->click();
        EXPECT_EQ(flourish.Shown, 1);
        EXPECT_FALSE(flourish.BarPresent());
        EXPECT_EQ(seen.Window, before);
        EXPECT_EQ(Form7->Color(), c.Window);
        EXPECT_EQ(Form7->FontColor(), c.Font);
        for (const char* name : kSchemeControls)
            EXPECT_EQ(ColorOf(name), std::string(name) == "Panel1" ? c.Panel : c.Lists) << name;
        EXPECT_EQ(ColorOf("ColorBox1"), clWindow);  // no scheme touches the colour list

        // The window colour shows on the client area and inside the group boxes.
        QCoreApplication::processEvents();
        const QImage shot = Form7->Client()->grab().toImage();
        EXPECT_EQ(shot.pixel(310, 300), AsShown(shot, c.Window));  // inside GroupBox3
        EXPECT_EQ(shot.pixel(5, 452), AsShown(shot, c.Window));
        // The font colour reaches labels, static text, buttons, lists and the note area.
        for (const char* name : {"Label1", "StaticText1", "GroupBox2"})
            EXPECT_EQ(TextColorOf(name), Expected(c.Font)) << name;
        for (const char* name : {"BitBtn1", "FileListBox1", "Edit1"}) {
            auto* w = qobject_cast<QWidget*>(Form7->FindComponent(name));
            EXPECT_EQ(w->palette().color(QPalette::ButtonText), Expected(c.Font)) << name;
            EXPECT_EQ(w->palette().color(QPalette::Text), Expected(c.Font)) << name;
        }
        EXPECT_EQ(NoteTextColor(), Expected(c.Font));
        EXPECT_EQ(Form7->RichEdit1->Font().Color, c.Font);  // its default colour itself
        // The menu bar keeps the system's colours.
        const QPalette menu = Form7->menuWidget()->palette();
        EXPECT_EQ(menu.color(QPalette::Window), QApplication::palette().color(QPalette::Window));
        EXPECT_EQ(menu.color(QPalette::WindowText),
                  QApplication::palette().color(QPalette::WindowText));

        // Second click with every control on another colour: the steps come in table order.
        for (const char* name : kSchemeControls)
            Form7->FindComponent(name)->setProperty("Color", QVariant::fromValue(uint(clAqua)));
        PaletteOrder order;
        Button(c.Button)->click();
        EXPECT_EQ(order.Order, c.Order);
    }
}

TEST_F(AppFixture, TheColourListSetsOnlyTheWindowColour) {
    TColorBox* box = Form7->ColorBox1;
    EXPECT_EQ(box->Count(), 50);
    EXPECT_EQ(box->Selected(), clSkyBlue);
    EXPECT_EQ(box->ItemIndex(), 17);
    Button("SpeedButton4")->click();  // "M": yellow text, grey lists
    FlourishCounter flourish(Form7->Client());
    box->UserPick(box->IndexOfColor(clTeal, 0));
    EXPECT_EQ(flourish.Shown, 0);
    EXPECT_EQ(Form7->Color(), clTeal);
    EXPECT_EQ(Form7->FontColor(), clYellow);
    EXPECT_EQ(ColorOf("Edit1"), clGray);
    EXPECT_EQ(ColorOf("Panel1"), clSilver);
    // A system colour is shown as the system's current colour.
    box->UserPick(box->IndexOfColor(clBtnFace, 0));
    EXPECT_EQ(Form7->Color(), clBtnFace);
    const QImage shot = Form7->Client()->grab().toImage();
    EXPECT_EQ(shot.pixel(5, 452), AsShown(shot, clBtnFace));
}

TEST_F(AppFixture, TheClockTicksEverySecondThenTenTimesASecond) {
    TTimer* timer = Form7->Timer1;
    EXPECT_EQ(timer->Interval(), 1000);
    EXPECT_TRUE(timer->Ticking());
    EXPECT_EQ(Form7->Label1->Caption(), QStringLiteral("Time"));
    EXPECT_EQ(Form7->Label2->Caption(), QStringLiteral("Label2"));

    // Without an active control the tick only shortens the interval.
    Form7->Client()->setFocus();
    Form7->FindComponent("RichEdit1")->setProperty("Enabled", true);
    QWidget* focused = Form7->focusWidget();
    if (focused) focused->clearFocus();
    ASSERT_EQ(Form7->ActiveControl(), nullptr);
    timer->Tick();
    EXPECT_EQ(timer->Interval(), 100);
    EXPECT_EQ(Form7->Label1->Caption(), QStringLiteral("Time"));

    TRegionalSettings settings;
    settings.LongTimeFormat = "hh:mm:ss AMPM";
    settings.TimeSeparator = '.';
    settings.ShortDateFormat = "dd/mm/yyyy";
    settings.DateSeparator = '-';
    SetRegionalSettings(settings);
    Form7->RichEdit1->setFocus();
    ASSERT_NE(Form7->ActiveControl(), nullptr);
    timer->Tick();
    EXPECT_EQ(timer->Interval(), 100);
    const QString time = Form7->Label1->Caption();
    const QString date = Form7->Label2->Caption();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Time: \\d\\d\\.\\d\\d\\.\\d\\d (am|pm)$"))
                    .match(time)
                    .hasMatch())
        << time.toStdString();
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^Date: \\d\\d-\\d\\d-\\d{4}$")).match(date).hasMatch())
        << date.toStdString();
    // The labels fit their new text.
    EXPECT_NEAR(Form7->Label1->width(), Form7->Label1->fontMetrics().horizontalAdvance(time), 1);
    EXPECT_GT(Form7->Label2->width(), 32);
    SetRegionalSettings({});
}

TEST_F(AppFixture, XQuitsWithoutTheFlourishAndExitShowsItFirst) {
    struct Case {
        const char* Name;
        int Flourishes;
    };
    for (const Case& c : {Case{"X", 0}, Case{"Exit", 1}}) {
        SCOPED_TRACE(c.Name);
        Form7->SetVisible(true);
        FlourishCounter flourish(Form7->Client());
        if (std::string(c.Name) == "X")
            Button("SpeedButton5")->click();
        else
            Form7->findChild<TMenuItem*>(QStringLiteral("Exit1"))->trigger();
        EXPECT_EQ(flourish.Shown, c.Flourishes);
        QTimer::singleShot(2000, [] { QCoreApplication::exit(99); });
        EXPECT_EQ(Application->exec(), 0);  // the quit request was posted
    }
}
