// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <fstream>

#include "notes/NoteComponents.h"
#include "notes/TRichEdit.h"
#include "platform/system/Exception.h"
#include "tests/notes/NoteTestSupport.h"
#include "toolkit/ComponentRegistry.h"
#include "toolkit/StandardComponents.h"
#include "toolkit/TForm.h"

using namespace RichEdit;

namespace {

// A window built from a layout holding the note area inside a group box, as the main window has
// it.
class NoteWindow {
public:
    NoteWindow() {
        RegisterStandardComponents();
        RegisterNoteComponents();
        const QString path = Dir.filePath(QStringLiteral("layout.json"));
        std::ofstream(path.toStdString()) << R"({
          "name": "Form1", "properties": { "ClientWidth": 400, "ClientHeight": 400 },
          "controls": [ { "class": "TGroupBox", "name": "GroupBox1", "bounds": [8, 40, 289, 297],
            "controls": [ { "class": "TRichEdit", "name": "RichEdit1", "bounds": [8, 16, 273, 273],
                            "tab": 0, "properties": { "ScrollBars": "ssVertical" },
                            "events": { "OnChange": "RichEdit1Change" } } ] } ] })";
        Form.Handlers["RichEdit1Change"] = [this](QObject*) { ++Changes; };
        Form.LoadLayout(path);
        Edit = Form.Component<TRichEdit>("RichEdit1");
    }
    QTemporaryDir Dir;
    TForm Form;
    TRichEdit* Edit = nullptr;
    int Changes = 0;
};

}  // namespace

TEST(TRichEdit, LayoutsCreateItByNameWithItsDefaults) {
    NoteWindow w;
    ASSERT_NE(w.Edit, nullptr);
    EXPECT_EQ(w.Edit->geometry(), QRect(8, 16, 273, 273));
    EXPECT_EQ(w.Edit->ScrollBars(), ssVertical);
    EXPECT_EQ(w.Edit->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(w.Edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_FALSE(w.Edit->PlainText());
    EXPECT_TRUE(w.Edit->WordWrap());
    EXPECT_TRUE(w.Edit->HideScrollBars());
    EXPECT_TRUE(w.Edit->HideSelection());
    EXPECT_EQ(w.Edit->MaxLength(), 0);
    EXPECT_FALSE(w.Edit->ReadOnly());
    EXPECT_TRUE(w.Edit->WantReturns());
    EXPECT_FALSE(w.Edit->WantTabs());
    EXPECT_EQ(w.Edit->Color(), clWindow);
    // Hidden scroll bars off: the chosen bar is always there.
    w.Edit->setProperty("HideScrollBars", false);
    EXPECT_EQ(w.Edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    w.Edit->setProperty("ScrollBars", QStringLiteral("ssBoth"));
    EXPECT_EQ(w.Edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    w.Edit->setProperty("WordWrap", false);
    EXPECT_EQ(w.Edit->lineWrapMode(), QTextEdit::NoWrap);
}

TEST(TRichEdit, WindowCreationSetsNotificationsColourAndKeepsModified) {
    TRichEdit edit;
    EXPECT_EQ(edit.EmGetEventMask(), ENM_NONE);
    edit.SetColor(clYellow);
    edit.SetMaxLength(50);
    edit.SetText("abc");
    edit.SetModified(true);
    edit.HandleNeeded();
    EXPECT_EQ(edit.EmGetEventMask(), 0x002C0001u);
    EXPECT_EQ(edit.BackgroundColor(), QColor(255, 255, 0));
    EXPECT_EQ(edit.EmGetLimitText(), 50);
    EXPECT_TRUE(edit.Modified());
    edit.SetColor(clSkyBlue);
    EXPECT_EQ(edit.BackgroundColor(), ToQColor(clSkyBlue));
    edit.SetMaxLength(0);
    EXPECT_EQ(edit.EmGetLimitText(), kDefaultTextLimit);
}

TEST(TRichEdit, FontFollowsTheWindowsFontIncludingItsColour) {
    NoteWindow w;
    EXPECT_TRUE(w.Edit->ParentFont());
    EXPECT_EQ(w.Edit->Font(), w.Form.Font());
    w.Form.Font().SetName("Liberation Serif");
    w.Form.Font().SetSize(12);
    w.Form.Font().SetColor(clMaroon);
    EXPECT_EQ(w.Edit->Font().Name, "Liberation Serif");
    EXPECT_EQ(w.Edit->Font().Size(), 12);
    EXPECT_EQ(w.Edit->Font().Color, clMaroon);
    const CharFormat f = w.Edit->EmGetCharFormat(false);
    EXPECT_EQ(f.FaceName, "Liberation Serif");
    EXPECT_EQ(f.Height, 240);
    EXPECT_FALSE(f.Effects & CFE_AUTOCOLOR);
    EXPECT_EQ(f.TextColor, clMaroon);
    EXPECT_EQ(w.Edit->palette().color(QPalette::Text), ToQColor(clMaroon));
    // The window text colour is the automatic colour.
    w.Form.Font().SetColor(clWindowText);
    EXPECT_TRUE(w.Edit->EmGetCharFormat(false).Effects & CFE_AUTOCOLOR);
    // A font of its own stops the following.
    w.Edit->Font().SetStyle(fsBold | fsItalic);
    EXPECT_FALSE(w.Edit->ParentFont());
    EXPECT_EQ(w.Edit->EmGetCharFormat(false).Effects & (CFE_BOLD | CFE_ITALIC),
              CFE_BOLD | CFE_ITALIC);
    w.Form.Font().SetName("Liberation Mono");
    EXPECT_EQ(w.Edit->Font().Name, "Liberation Serif");
    w.Edit->SetParentFont(true);
    EXPECT_EQ(w.Edit->Font().Name, "Liberation Mono");
}

TEST(TRichEdit, ClearEmptiesTheTextClearsModifiedAndTellsOnChange) {
    NoteWindow w;
    w.Edit->HandleNeeded();
    w.Edit->Lines().Add("text");
    w.Edit->SetModified(true);
    w.Changes = 0;
    w.Edit->Clear();
    EXPECT_EQ(w.Edit->Text(), "");
    EXPECT_FALSE(w.Edit->Modified());
    EXPECT_EQ(w.Changes, 1);
    w.Edit->SetText("again");
    EXPECT_EQ(w.Changes, 2);
    w.Edit->SetText("");
    EXPECT_EQ(w.Edit->Lines().LineCount(), 0);
}

TEST(TRichEdit, SelectionPropertiesAndCaretPosition) {
    auto edit = NewNoteArea();
    edit->SetText("first\r\nsecond line");
    edit->SetSelStart(9);
    edit->SetSelLength(4);
    EXPECT_EQ(edit->SelStart(), 9);
    EXPECT_EQ(edit->SelLength(), 4);
    EXPECT_EQ(edit->SelText(), "cond");
    EXPECT_EQ(edit->CaretPos(), QPoint(6, 1));
    edit->SetSelText("X");
    EXPECT_EQ(edit->Text(), "first\r\nseX line");
    edit->SelectAll();
    EXPECT_EQ(edit->SelLength(), 15);
}

TEST(TRichEdit, EventsReachTheirHandlers) {
    auto edit = NewNoteArea();
    int selections = 0;
    EXPECT_TRUE(edit->BindEvent("OnSelectionChange", [&](QObject*) { ++selections; }));
    EXPECT_FALSE(edit->BindEvent("OnClick", nullptr));
    edit->SetText("abc protected def");
    edit->SetSelStart(2);
    EXPECT_GE(selections, 1);

    edit->EmExSetSel({4, 13});
    CharFormat f;
    f.Mask = CFM_PROTECTED;
    f.Effects = CFE_PROTECTED;
    edit->EmSetCharFormat(SCF_SELECTION, f);
    int asked = 0;
    edit->OnProtectChange = [&](QObject* sender, int start, int end, bool& allow) {
        EXPECT_EQ(sender, edit.get());
        EXPECT_EQ(start, 6);
        EXPECT_EQ(end, 7);
        ++asked;
        allow = asked > 1;
    };
    edit->EmExSetSel({6, 7});
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(edit.get(), &del);
    EXPECT_EQ(edit->Text(), "abc protected def");
    edit->EmExSetSel({6, 7});
    QApplication::sendEvent(edit.get(), &del);
    EXPECT_EQ(edit->Text(), "abc prtected def");

    std::vector<QRect> resized;
    edit->OnResizeRequest = [&](QObject*, const QRect& r) { resized.push_back(r); };
    edit->SetText(
        "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n13\r\n14\r\n15\r\n16\r\n"
        "17\r\n18\r\n19\r\n20\r\n21\r\n22\r\n23\r\n24\r\n25");
    edit->document()->documentLayout()->documentSize();
    ASSERT_FALSE(resized.empty());
    EXPECT_GT(resized.back().height(), 273);

    // An error in a handler goes to the error box; the control carries on.
    ErrorBoxRecorder::Take();
    edit->OnChange = [](QObject*) { throw Exception("handler failed"); };
    edit->SetText("still works");
    EXPECT_EQ(edit->Text(), "still works");
    EXPECT_EQ(ErrorBoxRecorder::Take().size(), 1u);
}

TEST(TRichEdit, SaveClipboardAskedWhenTheControlGoes) {
    auto edit = std::make_unique<TRichEdit>();
    edit->SetText("clip me");
    edit->EmExSetSel({0, 4});
    edit->copy();
    int chars = -1;
    edit->OnSaveClipboard = [&](QObject*, int objects, int n, bool& save) {
        EXPECT_EQ(objects, 0);
        chars = n;
        save = true;
    };
    edit.reset();
    EXPECT_EQ(chars, 4);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("clip"));
}

TEST(TRichEdit, WithoutWantReturnsEnterIsLeftToTheWindow) {
    auto edit = NewNoteArea();
    edit->SetWantReturns(false);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(edit.get(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    EXPECT_EQ(edit->Text(), "");
    edit->SetWantReturns(true);
    QKeyEvent again(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(edit.get(), &again);
    EXPECT_EQ(edit->Text(), "\r\n");
}

TEST(TRichEdit, HideScrollBarsChangeKeepsContentFormatAndModified) {
    auto edit = NewNoteArea();
    edit->SetScrollBars(ssVertical);
    edit->SetText("bold words");
    edit->EmExSetSel({0, 4});
    CharFormat f;
    f.Mask = CFM_BOLD;
    f.Effects = CFE_BOLD;
    edit->EmSetCharFormat(SCF_SELECTION, f);
    edit->SetModified(true);
    edit->SetHideScrollBars(false);
    EXPECT_EQ(edit->Text(), "bold words");
    EXPECT_TRUE(edit->Modified());
    edit->EmExSetSel({1, 2});
    EXPECT_TRUE(edit->EmGetCharFormat(true).Effects & CFE_BOLD);
}
