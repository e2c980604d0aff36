// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Showing and hiding forms, and the order in which their controls' windows come to exist.
#include <gtest/gtest.h>

#include <QScreen>
#include <memory>
#include <vector>

#include "platform/system/Exception.h"
#include "tests/TestSupport.h"
#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/ComponentRegistry.h"
#include "toolkit/TForm.h"

namespace {

// A control that records when its window is created.
std::vector<std::string> gCreated;

class TProbe : public QWidget, public TComponent {
public:
    explicit TProbe(QWidget* parent) : QWidget(parent) {}

protected:
    void CreateWnd() override {
        gCreated.push_back(objectName().toStdString());
        // A control that cannot be made: a folder it must read cannot be entered.
        if (objectName() == QLatin1String("Denied")) throw EInOutError("File access denied", 5);
        if (objectName() == QLatin1String("Silent")) throw EAbort("silent");
    }
};

const char* kProbeLayout = R"({
  "name": "ProbeForm",
  "properties": { "ClientWidth": 300, "ClientHeight": 200, "Position": "poScreenCenter",
                  "Left": 10, "Top": 20 },
  "controls": [
    { "class": "TProbe", "name": "A", "bounds": [0, 0, 100, 100],
      "controls": [
        { "class": "TProbe", "name": "A1", "bounds": [0, 0, 10, 10],
          "controls": [ { "class": "TProbe", "name": "A1x", "bounds": [0, 0, 5, 5] } ] },
        { "class": "TProbe", "name": "A2", "bounds": [0, 20, 10, 10] } ] },
    { "class": "TProbe", "name": "B", "bounds": [100, 0, 100, 100],
      "controls": [ { "class": "TProbe", "name": "B1", "bounds": [0, 0, 10, 10] } ] },
    { "class": "TProbe", "name": "C", "bounds": [200, 0, 50, 50] }
  ]
})";

class FormVisibility : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterComponentClass<TProbe>("TProbe");
        gCreated.clear();
    }
    std::unique_ptr<TForm> MakeForm(const std::string& json) {
        auto form = std::make_unique<TForm>();
        form->LoadLayout(Files.Write("form.json", json));
        return form;
    }
    LayoutFiles Files;
};

TEST_F(FormVisibility, WindowsAreCreatedOnFirstShowParentsFirstSiblingsInOrder) {
    auto form = MakeForm(kProbeLayout);
    EXPECT_TRUE(gCreated.empty()) << "created before the window was shown";
    form->SetVisible(true);
    EXPECT_EQ(gCreated, (std::vector<std::string>{"A", "A1", "A1x", "A2", "B", "B1", "C"}));
    form->SetVisible(false);
    form->SetVisible(true);
    EXPECT_EQ(gCreated.size(), 7u) << "created again on a later showing";
}

TEST_F(FormVisibility, AControlThatCannotBeMadeIsReportedAndTheWindowShowsWithTheRest) {
    const struct {
        const char* Failing;
        std::vector<std::string> Boxes;
    } rows[] = {{"Denied", {"File access denied."}}, {"Silent", {}}};
    for (const auto& row : rows) {
        gCreated.clear();
        ErrorBoxRecorder::Take();
        const std::string name = row.Failing;
        auto form = MakeForm(R"({"name": "PanelForm", "properties": {"ClientWidth": 300,
            "ClientHeight": 200}, "controls": [
            { "class": "TProbe", "name": "Drives", "bounds": [0, 0, 10, 10] },
            { "class": "TProbe", "name": ")" +
                             name + R"(", "bounds": [0, 20, 10, 10],
              "controls": [ { "class": "TProbe", "name": "Inner", "bounds": [0, 0, 5, 5] } ] },
            { "class": "TProbe", "name": "Filter", "bounds": [0, 40, 10, 10] } ]})");
        form->SetVisible(true);
        std::vector<std::string> boxes;
        for (const auto& box : ErrorBoxRecorder::Take()) boxes.push_back(box.Text);
        EXPECT_EQ(boxes, row.Boxes);
        EXPECT_TRUE(form->isVisible()) << "the window appears after the error box";
        EXPECT_EQ(gCreated, (std::vector<std::string>{"Drives", name, "Inner", "Filter"}));
    }
}

TEST_F(FormVisibility, FirstShowIsCentredLaterShowsComeBackWhereHidden) {
    auto form = MakeForm(kProbeLayout);
    form->SetVisible(true);
    ASSERT_TRUE(WaitUntil([&] { return form->isVisible(); }));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint centre = form->frameGeometry().center();
    EXPECT_NEAR(centre.x(), area.center().x(), 8) << "stored Left must not win";
    EXPECT_NEAR(centre.y(), area.center().y(), 16);
    EXPECT_FALSE(form->geometry().topLeft() == QPoint(10, 20));

    form->move(40, 50);
    const QPoint moved = form->pos();
    form->SetVisible(false);
    EXPECT_FALSE(form->isVisible());
    form->SetVisible(true);
    EXPECT_EQ(form->pos(), moved);
}

TEST_F(FormVisibility, ShowingAVisibleWindowDoesNotActivateIt) {
    auto behind = MakeForm(kProbeLayout);
    auto front = MakeForm(R"({"name": "FrontForm", "properties": {"ClientWidth": 100,
                              "ClientHeight": 100}})");
    behind->SetVisible(true);
    ASSERT_TRUE(WaitUntil([&] { return QApplication::activeWindow() == behind.get(); }));
    front->SetVisible(true);
    ASSERT_TRUE(WaitUntil([&] { return QApplication::activeWindow() == front.get(); }));
    behind->SetVisible(true);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), front.get());
    EXPECT_TRUE(behind->isVisible());
}

TEST_F(FormVisibility, HidingKeepsTheControlsAndTheirState) {
    auto form = MakeForm(kProbeLayout);
    form->SetVisible(true);
    auto* probe = form->Component<TProbe>("B1");
    ASSERT_NE(probe, nullptr);
    probe->setProperty("kept", 42);
    form->SetVisible(false);
    form->SetVisible(true);
    EXPECT_EQ(form->Component<TProbe>("B1"), probe);
    EXPECT_EQ(probe->property("kept").toInt(), 42);
}

}  // namespace
