// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// A window built from a layout file with every standard control class: classes, places,
// properties, events, tab order, and the errors a faulty layout raises.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <functional>
#include <memory>
#include <vector>

#include "platform/system/Exception.h"
#include "tests/TestSupport.h"
#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TEdit.h"
#include "toolkit/TForm.h"
#include "toolkit/TGroupBox.h"
#include "toolkit/TImage.h"
#include "toolkit/TLabel.h"
#include "toolkit/TMemo.h"
#include "toolkit/TOpenDialog.h"
#include "toolkit/TPanel.h"
#include "toolkit/TProgressBar.h"
#include "toolkit/TSaveDialog.h"
#include "toolkit/TSpeedButton.h"
#include "toolkit/TStaticText.h"
#include "toolkit/TTimer.h"

namespace {

const char* kLayout = R"json({
  "name": "TestForm",
  "properties": { "Caption": "Layout test", "ClientWidth": 400, "ClientHeight": 300,
                  "Color": "clSkyBlue", "BorderStyle": "bsSingle", "Position": "poScreenCenter" },
  "controls": [
    { "class": "TGroupBox", "name": "GroupBox1", "bounds": [8, 8, 200, 150], "tab": 0,
      "properties": { "Caption": "Notes" },
      "controls": [
        { "class": "TEdit", "name": "Edit2", "bounds": [8, 100, 100, 21], "tab": 1 },
        { "class": "TMemo", "name": "Memo1", "bounds": [8, 16, 180, 80], "tab": 0,
          "properties": { "Lines": ["first", "", "third \"quoted\""], "ScrollBars": "ssVertical",
                          "Color": "clMoneyGreen", "WordWrap": true } } ] },
    { "class": "TLabel", "name": "Label1", "bounds": [220, 10, 23, 13],
      "properties": { "Caption": "Time" } },
    { "class": "TSpeedButton", "name": "SpeedButton1", "bounds": [220, 30, 23, 22],
      "cursor": "crHandPoint",
      "properties": { "Caption": "X", "Flat": true, "NumGlyphs": 2 },
      "events": { "OnClick": "SpeedButton1Click" } },
    { "class": "TPanel", "name": "Panel1", "bounds": [220, 60, 100, 40], "tab": 3,
      "properties": { "Caption": "Menu", "BorderStyle": "bsSingle", "Color": "clSilver",
                      "BevelInner": "bvRaised", "BevelOuter": "bvLowered" },
      "controls": [
        { "class": "TStaticText", "name": "StaticText1", "bounds": [4, 4, 60, 17],
          "properties": { "Caption": "Static", "BorderStyle": "sbsSunken" } } ] },
    { "class": "TEdit", "name": "Edit1", "bounds": [220, 110, 129, 21], "tab": 1,
      "properties": { "Text": "Edit1", "Color": "clSkyBlue" },
      "events": { "OnChange": "Edit1Change" } },
    { "class": "TBitBtn", "name": "BitBtn1", "bounds": [220, 140, 97, 25], "tab": 2,
      "properties": { "Caption": "<-- &Clear Area" },
      "events": { "OnClick": "BitBtn1Click" } },
    { "class": "TImage", "name": "Image1", "bounds": [220, 170, 50, 20] },
    { "class": "TProgressBar", "name": "ProgressBar1", "bounds": [0, 280, 400, 20],
      "properties": { "Min": 0, "Max": 50, "Step": 5, "Position": 10 } }
  ],
  "components": [
    { "class": "TTimer", "name": "Timer1", "properties": { "Enabled": true },
      "events": { "OnTimer": "Timer1Timer" } },
    { "class": "TOpenDialog", "name": "OpenDialog1",
      "properties": { "Title": "Open Text Files", "Filter": "Rich Text Format|*.rtf|Text Files|*.txt" } },
    { "class": "TSaveDialog", "name": "SaveDialog1",
      "properties": { "Title": "Save Text File(s)", "Filter": "RichTextFiles|*.rtf",
                      "DefaultExt": "RTF" } }
  ]
})json";

class StandardLayout : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"SpeedButton1Click", "Edit1Change", "BitBtn1Click", "Timer1Timer"})
            Form->Handlers[name] = [this, name](QObject* sender) {
                Calls.push_back(std::string(name) + ":" + sender->objectName().toStdString());
            };
    }
    void Load(const std::string& json) { Form->LoadLayout(Files.Write("layout.json", json)); }
    template <class T>
    T* C(const char* name) {
        T* c = Form->Component<T>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    LayoutFiles Files;
    std::unique_ptr<TForm> Form = std::make_unique<TForm>();
    std::vector<std::string> Calls;
};

TEST_F(StandardLayout, BuildsEveryControlWithItsClassPlaceAndProperties) {
    Load(kLayout);
    auto* group = C<TGroupBox>("GroupBox1");
    auto* memo = C<TMemo>("Memo1");
    ASSERT_TRUE(group && memo);
    EXPECT_EQ(group->Caption(), "Notes");
    EXPECT_EQ(memo->parentWidget(), group);
    EXPECT_EQ(memo->geometry(), QRect(8, 16, 180, 80));
    EXPECT_EQ(memo->Lines(), QStringList({"first", "", "third \"quoted\""}));
    EXPECT_EQ(memo->ScrollBars(), ssVertical);
    EXPECT_EQ(memo->Color(), clMoneyGreen);

    auto* button = C<TSpeedButton>("SpeedButton1");
    EXPECT_EQ(button->geometry(), QRect(220, 30, 23, 22));
    EXPECT_TRUE(button->Flat());
    EXPECT_EQ(button->NumGlyphs(), 2);
    EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);

    auto* panel = C<TPanel>("Panel1");
    EXPECT_EQ(panel->BorderStyle(), pbsSingle);
    EXPECT_EQ(panel->BevelInner(), bvRaised);
    EXPECT_EQ(panel->BevelOuter(), bvLowered);
    EXPECT_EQ(panel->Color(), clSilver);
    EXPECT_EQ(C<TStaticText>("StaticText1")->BorderStyle(), sbsSunken);
    EXPECT_EQ(C<TStaticText>("StaticText1")->parentWidget(), panel);

    EXPECT_EQ(C<TEdit>("Edit1")->Text(), "Edit1");
    EXPECT_EQ(C<TEdit>("Edit1")->Color(), clSkyBlue);
    EXPECT_EQ(C<TBitBtn>("BitBtn1")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_C));
    EXPECT_EQ(C<TLabel>("Label1")->Caption(), "Time");
    EXPECT_EQ(C<TProgressBar>("ProgressBar1")->Position(), 10);
    EXPECT_EQ(C<TProgressBar>("ProgressBar1")->Max(), 50);
    EXPECT_NE(C<TImage>("Image1"), nullptr);

    EXPECT_EQ(C<TOpenDialog>("OpenDialog1")->Title(), "Open Text Files");
    EXPECT_EQ(C<TSaveDialog>("SaveDialog1")->DefaultExt(), "RTF");
    EXPECT_TRUE(C<TTimer>("Timer1")->Ticking());  // bound by the layout, so it runs
    EXPECT_EQ(C<TTimer>("Timer1")->Interval(), 1000);
}

TEST_F(StandardLayout, BindsTheLayoutsEventsToTheFormsHandlers) {
    Load(kLayout);
    C<TSpeedButton>("SpeedButton1")->Click();
    C<TBitBtn>("BitBtn1")->Click();
    C<TEdit>("Edit1")->SetText("changed");
    C<TEdit>("Edit1")->SetText("changed");  // no change, no notification
    C<TTimer>("Timer1")->Tick();
    EXPECT_EQ(Calls,
              (std::vector<std::string>{"SpeedButton1Click:SpeedButton1", "BitBtn1Click:BitBtn1",
                                        "Edit1Change:Edit1", "Timer1Timer:Timer1"}));
}

TEST_F(StandardLayout, TabWalksTheTabOrderIntoGroupBoxesAndSkipsSpeedButtons) {
    Load(kLayout);
    Form->SetVisible(true);
    ASSERT_TRUE(WaitUntil([&] { return QApplication::activeWindow() == Form.get(); }));
    // Activation gives the focus to the first control in tab order: inside the first group box.
    ASSERT_TRUE(WaitUntil([&] { return Form->ActiveControl() != nullptr; }));
    std::vector<std::string> visited;
    for (int i = 0; i < 5; ++i) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        visited.push_back(focus->objectName().toStdString());
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(focus, &tab);
    }
    // The memo passes Tab on instead of typing it; the panel and labels never hold the focus.
    EXPECT_EQ(visited, (std::vector<std::string>{"Memo1", "Edit2", "Edit1", "BitBtn1", "Memo1"}));
    EXPECT_EQ(C<TMemo>("Memo1")->Lines().size(), 3);

    // Focus given to a group box goes on to its first control.
    C<TBitBtn>("BitBtn1")->setFocus();
    C<TGroupBox>("GroupBox1")->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), C<TMemo>("Memo1"));
}

TEST_F(StandardLayout, FaultyLayoutsAreErrors) {
    struct Case {
        const char* what;
        std::string json;
    };
    const std::vector<Case> cases = {
        {"unknown class", R"({"name": "F", "controls": [{"class": "TNoSuch", "name": "X1"}]})"},
        {"unknown property",
         R"({"name": "F", "controls": [{"class": "TLabel", "name": "L1",
              "properties": {"Colour": 1}}]})"},
        {"handler the form lacks",
         R"({"name": "F", "controls": [{"class": "TBitBtn", "name": "B1",
              "events": {"OnClick": "NoSuchHandler"}}]})"},
        {"event the control lacks",
         R"({"name": "F", "controls": [{"class": "TLabel", "name": "L1",
              "events": {"OnClick": "BitBtn1Click"}}]})"},
        {"bad enumeration value",
         R"({"name": "F", "controls": [{"class": "TPanel", "name": "P1",
              "properties": {"BevelOuter": "bvSideways"}}]})"},
        {"bad scroll bars",
         R"({"name": "F", "controls": [{"class": "TMemo", "name": "M1",
              "properties": {"ScrollBars": "both"}}]})"},
        {"missing picture",
         R"({"name": "F", "controls": [{"class": "TImage", "name": "I1",
              "properties": {"Picture": ":/pictures/NoSuchPicture.png"}}]})"},
    };
    for (const Case& c : cases) {
        auto form = std::make_unique<TForm>();
        form->Handlers["BitBtn1Click"] = [](QObject*) {};
        EXPECT_THROW(form->LoadLayout(Files.Write("bad.json", c.json)), Exception) << c.what;
    }
}

// A window that looks up a control its layout lacks, or has under another class, fails at once
// with a layout error that names it, not later with a null a handler dereferences.
TEST_F(StandardLayout, AControlTheLayoutLacksIsANamedLayoutError) {
    Load(kLayout);
    const struct {
        std::function<void()> Lookup;
        std::string Message;
    } rows[] = {
        {[this] { Form->Component<TEdit>("NoSuchEdit"); },
         "Window layout: TestForm has no component NoSuchEdit"},
        {[this] { Form->Component<TBitBtn>("Memo1"); },
         "Window layout: Memo1 of TestForm is a TMemo, not the class the window expects"},
    };
    for (const auto& row : rows) {
        try {
            row.Lookup();
            ADD_FAILURE() << "no error for: " << row.Message;
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()), row.Message);
        }
    }
    EXPECT_NE(Form->Component<TMemo>("Memo1"), nullptr);
}

}  // namespace
