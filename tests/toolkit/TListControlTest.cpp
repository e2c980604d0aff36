// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// What the components share with the list and combo bases: the events a layout may bind by
// name, each reaching its handler when the user acts; and the window font the two bases follow,
// whose changes of face, height or style (never of colour alone) reach FontChanged once each.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <functional>
#include <memory>

#include "toolkit/TBitBtn.h"
#include "toolkit/TCustomComboBox.h"
#include "toolkit/TCustomListBox.h"
#include "toolkit/TEdit.h"
#include "toolkit/TForm.h"
#include "toolkit/TMenuItem.h"
#include "toolkit/TSpeedButton.h"

namespace {

// One control of each kind, with entries to pick from.
struct Controls {
    Controls() {
        List.resize(120, 100);
        List.SetItemHeight(16);
        for (const char* s : {"a", "b"}) {
            List.Add(s);
            Combo.Add(s);
        }
    }
    TCustomListBox List;
    TCustomComboBox Combo;
    TEdit Edit;
    TBitBtn BitBtn;
    TSpeedButton SpeedButton;
    TMenuItem MenuItem{nullptr};
};

void SendKey(QWidget* to, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(to, &event);
}

void DoubleClick(TCustomListBox& list) {
    const QPoint at(10, 90);
    QMouseEvent event(QEvent::MouseButtonDblClick, QPointF(at),
                      list.viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &event);
}

struct EventRow {
    const char* Event;
    std::function<TComponent*(Controls&)> Of;
    QObject* (*Sender)(Controls&);
    // What the user does to raise the event; null when the control has no such event.
    std::function<void(Controls&)> Act;
};

}  // namespace

TEST(TListControl, EventsBindByNameAndReachTheirHandlerFromTheUsersAction) {
    auto list = [](Controls& c) -> QObject* { return &c.List; };
    auto combo = [](Controls& c) -> QObject* { return &c.Combo; };
    auto edit = [](Controls& c) -> QObject* { return &c.Edit; };
    auto bitBtn = [](Controls& c) -> QObject* { return &c.BitBtn; };
    auto speedButton = [](Controls& c) -> QObject* { return &c.SpeedButton; };
    auto menuItem = [](Controls& c) -> QObject* { return &c.MenuItem; };
    auto listOf = [](Controls& c) -> TComponent* { return &c.List; };
    auto comboOf = [](Controls& c) -> TComponent* { return &c.Combo; };
    auto editOf = [](Controls& c) -> TComponent* { return &c.Edit; };
    const EventRow rows[] = {
        {"OnClick", listOf, list,
         [](Controls& c) {
             c.List.SetItemIndex(0);
             SendKey(&c.List, Qt::Key_Down);
         }},
        {"OnDblClick", listOf, list, [](Controls& c) { DoubleClick(c.List); }},
        {"OnChange", listOf, list, nullptr},
        {"OnKeyPress", listOf, list, nullptr},
        {"OnClick", comboOf, combo, [](Controls& c) { c.Combo.UserPick(1); }},
        {"OnChange", comboOf, combo, [](Controls& c) { c.Combo.UserPick(1); }},
        {"OnDblClick", comboOf, combo, nullptr},
        {"OnChange", editOf, edit, [](Controls& c) { c.Edit.SetText(QStringLiteral("x")); }},
        {"OnClick", editOf, edit, nullptr},
        {"OnClick", [](Controls& c) -> TComponent* { return &c.BitBtn; }, bitBtn,
         [](Controls& c) { c.BitBtn.click(); }},
        {"OnClick", [](Controls& c) -> TComponent* { return &c.SpeedButton; }, speedButton,
         [](Controls& c) { c.SpeedButton.click(); }},
        {"OnClick", [](Controls& c) -> TComponent* { return &c.MenuItem; }, menuItem,
         [](Controls& c) { c.MenuItem.trigger(); }},
        {"OnChange", [](Controls& c) -> TComponent* { return &c.MenuItem; }, menuItem, nullptr},
    };
    for (const EventRow& row : rows) {
        Controls c;
        QObject* const sender = row.Sender(c);
        SCOPED_TRACE(sender->metaObject()->className() + std::string(" ") + row.Event);
        std::vector<QObject*> calls;
        const bool bound =
            row.Of(c)->BindEvent(row.Event, [&](QObject* from) { calls.push_back(from); });
        EXPECT_EQ(bound, bool(row.Act));
        if (!row.Act) continue;
        row.Act(c);
        EXPECT_EQ(calls, std::vector<QObject*>{sender});
    }
}

namespace {

template <class Base>
class TFontCounter : public Base {
public:
    using Base::Base;
    int FontChanges = 0;

protected:
    void FontChanged() override { ++FontChanges; }
};

struct FontRow {
    const char* Change;
    std::function<void(TFont&)> Apply;
    int Reported;  // FontChanged calls it makes
};

}  // namespace

TEST(TListControl, AChangeOfTheWindowFontsFaceHeightOrStyleReachesFontChangedOnce) {
    const FontRow rows[] = {
        {"height", [](TFont& f) { f.SetHeight(-15); }, 1},
        {"face", [](TFont& f) { f.SetName("Liberation Serif"); }, 1},
        {"style", [](TFont& f) { f.SetStyle(fsBold | fsItalic); }, 1},
        {"colour alone", [](TFont& f) { f.SetColor(clRed); }, 0},
        {"the same height again", [](TFont& f) { f.SetHeight(f.Height); }, 0},
        {"height, then back",
         [](TFont& f) {
             const int height = f.Height;
             f.SetHeight(-20);
             QApplication::sendPostedEvents();
             f.SetHeight(height);
         },
         2},
    };
    for (const FontRow& row : rows) {
        SCOPED_TRACE(row.Change);
        TForm form;
        auto* list = new TFontCounter<TCustomListBox>(form.Client());
        auto* combo = new TFontCounter<TCustomComboBox>(form.Client());
        row.Apply(form.Font());
        QApplication::sendPostedEvents();
        EXPECT_EQ(list->FontChanges, row.Reported);
        EXPECT_EQ(combo->FontChanges, row.Reported);
        EXPECT_EQ(list->Font().Height, form.Font().Height);
        EXPECT_EQ(combo->Font().Name, form.Font().Name);
    }
}
