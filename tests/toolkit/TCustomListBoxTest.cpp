// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The owner-drawn list box base: sorted insertion, bulk insertion, selection, the user's input
// as clicks, and drawing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <random>

#include "platform/system/Exception.h"
#include "tests/TestSupport.h"
#include "toolkit/TCustomListBox.h"

namespace {

// Sends a real mouse event to the list's viewport, as a user's click would arrive.
void SendMouse(TCustomListBox& list, QEvent::Type type, const QPoint& at) {
    QMouseEvent event(type, QPointF(at), list.viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &event);
}

void ClickEntry(TCustomListBox& list, int index) {
    const QPoint at = list.visualRect(list.model()->index(index, 0)).center();
    SendMouse(list, QEvent::MouseButtonPress, at);
    SendMouse(list, QEvent::MouseButtonRelease, at);
}

void SendKey(TCustomListBox& list, int key, const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&list, &event);
}

class TCustomListBoxInput : public ::testing::Test {
protected:
    void SetUp() override {
        List.resize(120, 100);
        List.SetItemHeight(16);
        List.OnClick = [this](QObject*) { Clicks.push_back(List.ItemIndex()); };
    }
    TCustomListBox List;
    std::vector<int> Clicks;  // the selected entry at each click
};

}  // namespace

TEST(TCustomListBoxSorting, AddReturnsThePositionInCaseInsensitiveOrder) {
    TCustomListBox list;
    list.SetSorted(true);
    EXPECT_EQ(list.Add("beta"), 0);
    EXPECT_EQ(list.Add("Alpha"), 0);
    EXPECT_EQ(list.Add("gamma"), 2);
    EXPECT_EQ(list.Add("BETA"), 2);  // after the entry that compares equal
    EXPECT_EQ(list.Add("[sub]"), 0);
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list.ItemText(0), "[sub]");
    EXPECT_EQ(list.ItemText(1), "Alpha");
    EXPECT_EQ(list.ItemText(2), "beta");
    EXPECT_EQ(list.ItemText(3), "BETA");
    EXPECT_EQ(list.ItemText(4), "gamma");
}

TEST(TCustomListBoxSorting, BulkAddGivesTheOneByOneResultAndPositions) {
    std::mt19937 random(7);
    // Short names, and long ones that agree in their first characters.
    const char* stems[] = {"a",
                           "B",
                           "b",
                           "c",
                           "Cc",
                           "d_",
                           "E",
                           "[x]",
                           "LongCommonStem_",
                           "longcommonstem",
                           "z\xc3\xa9",
                           "Z\xc3\x89"};
    std::vector<TListEntry> entries;
    entries.reserve(600);
    for (int i = 0; i < 600; ++i)
        entries.push_back({std::string(stems[random() % 12]) + std::to_string(random() % 40),
                           reinterpret_cast<const void*>(std::uintptr_t(i + 1))});

    TCustomListBox oneByOne, bulk;
    oneByOne.SetSorted(true);
    bulk.SetSorted(true);
    // Some entries already present, so the positions must count them too.
    for (int i = 0; i < 50; ++i) {
        oneByOne.Add(entries[std::size_t(i)].Text, entries[std::size_t(i)].Object);
        bulk.Add(entries[std::size_t(i)].Text, entries[std::size_t(i)].Object);
    }
    std::vector<int> expected;
    for (std::size_t i = 50; i < entries.size(); ++i)
        expected.push_back(oneByOne.Add(entries[i].Text, entries[i].Object));
    const std::vector<int> positions =
        bulk.AddItems(std::vector<TListEntry>(entries.begin() + 50, entries.end()));

    EXPECT_EQ(positions, expected);
    ASSERT_EQ(bulk.Count(), oneByOne.Count());
    for (int i = 0; i < bulk.Count(); ++i) {
        EXPECT_EQ(bulk.ItemText(i), oneByOne.ItemText(i)) << i;
        EXPECT_EQ(bulk.ItemObject(i), oneByOne.ItemObject(i)) << i;
    }
}

TEST(TCustomListBoxSorting, UnsortedListKeepsOrderAndBulkAddKeepsTheSelection) {
    TCustomListBox list;
    EXPECT_EQ(list.Add("b"), 0);
    EXPECT_EQ(list.Add("a"), 1);
    list.SetItemIndex(1);
    EXPECT_EQ(list.AddItems({{"c", nullptr}, {"0", nullptr}}), (std::vector<int>{2, 3}));
    EXPECT_EQ(list.ItemText(3), "0");
    EXPECT_EQ(list.ItemIndex(), 1);

    list.SetSorted(true);  // sorting an unsorted list reorders it
    EXPECT_EQ(list.ItemText(0), "0");
    EXPECT_EQ(list.ItemText(3), "c");
}

TEST(TCustomListBoxEntries, SelectionFindAndRange) {
    TCustomListBox list;
    list.Add("One");
    list.Add("two");
    EXPECT_EQ(list.ItemIndex(), -1);
    list.SetItemIndex(1);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_TRUE(list.Selected(1));
    EXPECT_FALSE(list.Selected(0));
    list.SetItemIndex(7);
    EXPECT_EQ(list.ItemIndex(), -1);

    EXPECT_EQ(list.IndexOfText("TWO"), 1);
    EXPECT_EQ(list.IndexOfText("tw"), -1);
    // Bytes that are not UTF-8 are never the same as other such bytes.
    list.Add("n\xff");
    EXPECT_EQ(list.IndexOfText("n\xfe"), -1);
    EXPECT_EQ(list.IndexOfText("n\xff"), 2);

    try {
        list.ItemText(3);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (3)");
    }
    list.SetItemIndex(0);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.ItemIndex(), -1);
}

TEST(TCustomListBoxEntries, BulkUpdateAnnouncesOneReset) {
    TCustomListBox list;
    int resets = 0, inserts = 0;
    QObject::connect(list.model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    QObject::connect(list.model(), &QAbstractItemModel::rowsInserted, [&] { ++inserts; });
    list.BeginUpdate();
    list.Clear();
    for (int i = 0; i < 20; ++i) list.Add("x" + std::to_string(i));
    list.EndUpdate();
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(inserts, 0);
    EXPECT_EQ(list.Count(), 20);
}

TEST_F(TCustomListBoxInput, UserClicksAndKeysAreClicksProgramChangesAreNot) {
    for (const char* s : {"a", "b", "c", "d"}) List.Add(s);
    List.SetItemIndex(0);
    EXPECT_TRUE(Clicks.empty());

    ClickEntry(List, 2);
    EXPECT_EQ(Clicks, (std::vector<int>{2}));
    ClickEntry(List, 2);  // a press on the selected entry is reported too
    EXPECT_EQ(Clicks, (std::vector<int>{2, 2}));
    SendKey(List, Qt::Key_Down);
    EXPECT_EQ(Clicks, (std::vector<int>{2, 2, 3}));
    EXPECT_EQ(List.ItemIndex(), 3);

    // A press below the last entry selects nothing and reports nothing.
    SendMouse(List, QEvent::MouseButtonPress, QPoint(10, 95));
    SendMouse(List, QEvent::MouseButtonRelease, QPoint(10, 95));
    EXPECT_EQ(Clicks.size(), 3u);
    EXPECT_EQ(List.ItemIndex(), 3);
}

TEST_F(TCustomListBoxInput, AClickHandlerMayRebuildTheEntries) {
    for (const char* s : {"a", "b", "c"}) List.Add(s);
    List.OnClick = [this](QObject*) {
        Clicks.push_back(List.ItemIndex());
        List.Clear();
        List.Add("fresh");
    };
    ClickEntry(List, 1);
    EXPECT_EQ(Clicks, (std::vector<int>{1}));
    ASSERT_EQ(List.Count(), 1);
    EXPECT_EQ(List.ItemIndex(), -1);
}

TEST_F(TCustomListBoxInput, DoubleClickAndEnterReachTheirHooks) {
    for (const char* s : {"a", "b"}) List.Add(s);
    int doubles = 0;
    std::vector<char> keys;
    List.OnDblClick = [&](QObject* sender) {
        EXPECT_EQ(sender, &List);
        ++doubles;
    };
    List.OnKeyPress = [&](QObject*, char& key) { keys.push_back(key); };
    const QPoint at = List.visualRect(List.model()->index(1, 0)).center();
    SendMouse(List, QEvent::MouseButtonPress, at);
    SendMouse(List, QEvent::MouseButtonRelease, at);
    SendMouse(List, QEvent::MouseButtonDblClick, at);
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(List.ItemIndex(), 1);
    // A double-click on the empty part of the list is still a double-click.
    SendMouse(List, QEvent::MouseButtonDblClick, QPoint(10, 90));
    EXPECT_EQ(doubles, 2);

    SendKey(List, Qt::Key_Return, QStringLiteral("\r"));
    SendKey(List, Qt::Key_Q, QStringLiteral("q"));
    EXPECT_EQ(keys, (std::vector<char>{13, 'q'}));
}

TEST_F(TCustomListBoxInput, ErrorsOfAClickHandlerGoToTheErrorBoxNotThroughQt) {
    List.Add("a");
    List.OnClick = [](QObject*) { throw Exception("broken handler"); };
    ErrorBoxRecorder::Take();
    ClickEntry(List, 0);  // must not unwind through the event dispatch
    EXPECT_EQ(List.ItemIndex(), 0);
    const auto boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "broken handler.");
}

TEST_F(TCustomListBoxInput, EntriesSpanTheViewAtTheItemHeight) {
    for (const char* s : {"a", "b", "c"}) List.Add(s);
    const QRect second = List.visualRect(List.model()->index(1, 0));
    EXPECT_EQ(second.top(), 16);
    EXPECT_EQ(second.height(), 16);
    EXPECT_GE(second.width(), List.viewport()->width() - 1);
    List.SetItemHeight(20);
    EXPECT_EQ(List.visualRect(List.model()->index(2, 0)).top(), 40);
}

TEST(TCustomListBoxDrawing, FillsWithColourOrHighlight) {
    TCustomListBox list;
    list.Add("");
    list.SetColor(clSkyBlue);
    QImage image(40, 16, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        list.PaintItem(&painter, 0, QRect(0, 0, 40, 16), 0);
    }
    EXPECT_EQ(image.pixel(20, 8) & 0xFFFFFF, ToQColor(clSkyBlue).rgb() & 0xFFFFFF);
    {
        QPainter painter(&image);
        list.PaintItem(&painter, 0, QRect(0, 0, 40, 16), odSelected);
    }
    EXPECT_EQ(image.pixel(20, 8) & 0xFFFFFF, ToQColor(clHighlight).rgb() & 0xFFFFFF);
}

TEST(TCustomListBoxDrawing, TheEmptyPartOfTheListShowsTheColour) {
    TCustomListBox list;
    list.resize(100, 60);
    list.Add("a");
    list.SetColor(clMoneyGreen);
    const QImage image = list.grab().toImage();
    EXPECT_EQ(image.pixel(50, 50) & 0xFFFFFF, ToQColor(clMoneyGreen).rgb() & 0xFFFFFF);
}
