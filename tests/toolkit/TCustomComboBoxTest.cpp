// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The combo box base: no selection of its own, and the user's pick as click then change.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QListView>
#include <QPixmap>

#include "platform/system/Exception.h"
#include "tests/TestSupport.h"
#include "toolkit/TCustomComboBox.h"

namespace {
struct ComboLog {
    std::vector<std::string> Events;
    void Attach(TCustomComboBox& combo) {
        combo.OnClick = [this, &combo](QObject*) {
            Events.push_back("click " + std::to_string(combo.ItemIndex()));
        };
        combo.OnChange = [this, &combo](QObject*) {
            Events.push_back("change " + std::to_string(combo.ItemIndex()));
        };
    }
};
}  // namespace

TEST(TCustomComboBox, AddedEntriesStayUnselectedUntilChosen) {
    TCustomComboBox combo;
    EXPECT_EQ(combo.Add("a:"), 0);
    EXPECT_EQ(combo.Add("c:"), 1);
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(combo.Text(), "");
    combo.SetItemIndex(1);
    EXPECT_EQ(combo.Text(), "c:");
    combo.Clear();
    EXPECT_EQ(combo.Count(), 0);
    EXPECT_EQ(combo.ItemIndex(), -1);
    combo.Add("x");
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_THROW(combo.ItemText(1), Exception);
}

TEST(TCustomComboBox, UserPickRunsClickThenChangeAndProgramChangesRaiseNothing) {
    TCustomComboBox combo;
    ComboLog log;
    log.Attach(combo);
    combo.Add("a");
    combo.Add("b");
    combo.Add("c");
    combo.SetItemIndex(0);
    EXPECT_TRUE(log.Events.empty());

    combo.UserPick(2);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click 2", "change 2"}));

    // The keyboard on the closed list picks as the mouse does.
    log.Events.clear();
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(&combo, &up);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click 1", "change 1"}));
}

TEST(TCustomComboBox, AFailingClickEndsThePick) {
    TCustomComboBox combo;
    ComboLog log;
    log.Attach(combo);
    combo.Add("a");
    combo.Add("b");
    combo.OnClick = [](QObject*) { throw Exception("not ready"); };
    EXPECT_THROW(combo.UserPick(1), Exception);
    EXPECT_TRUE(log.Events.empty());
    EXPECT_EQ(combo.ItemIndex(), 1);  // the pick itself stays

    // Through the user's input the error reaches the error box and nothing else runs.
    ErrorBoxRecorder::Take();
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(&combo, &up);
    const auto boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "not ready.");
    EXPECT_TRUE(log.Events.empty());
}

TEST(TCustomComboBox, TheFieldShowsTheSelectedEntryInTheControlsColour) {
    for (bool ownerDraw : {false, true}) {
        TCustomComboBox combo(nullptr, ownerDraw);
        combo.resize(120, 21);
        combo.Add("");
        combo.SetItemIndex(0);
        combo.SetColor(clSkyBlue);
        const QImage image = combo.grab().toImage();
        // Inside the field, left of the arrow button.
        EXPECT_EQ(image.pixel(40, 10) & 0xFFFFFF, ToQColor(clSkyBlue).rgb() & 0xFFFFFF)
            << ownerDraw;
    }
}

TEST(TCustomComboBox, TheDropDownListOpensWithTheControlsColourAndItsOwnDrawing) {
    for (bool ownerDraw : {false, true}) {
        TCustomComboBox combo(nullptr, ownerDraw);
        combo.resize(120, 21);
        combo.Add("a");
        combo.Add("b");
        combo.SetColor(clSkyBlue);  // before the list was ever opened
        combo.show();
        combo.showPopup();
        QAbstractItemView* list = combo.view();
        ASSERT_TRUE(list->isVisible()) << ownerDraw;
        EXPECT_EQ(list->palette().color(QPalette::Base), ToQColor(clSkyBlue)) << ownerDraw;
        EXPECT_EQ(
            list->itemDelegate()->metaObject()->className() == QByteArray("TOwnerDrawDelegate"),
            ownerDraw);
        EXPECT_TRUE(qobject_cast<QListView*>(list)->uniformItemSizes());
        combo.hidePopup();
        // A colour chosen while the list has been made reaches it at once.
        combo.SetColor(clMoneyGreen);
        EXPECT_EQ(list->palette().color(QPalette::Base), ToQColor(clMoneyGreen)) << ownerDraw;
    }
}
