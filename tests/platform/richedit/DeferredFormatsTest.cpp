// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/richedit/RichEditControl.h"
#include "platform/rtf/DeferredFormats.h"
#include "tests/TestSupport.h"
#include "tests/platform/rtf/RtfTestSupport.h"

using namespace RichEdit;

namespace {

bool BoldAt(const QTextDocument& doc, int position) {
    return RtfTest::FormatAt(doc, position).fontWeight() == QFont::Bold;
}

// Which of the first `count` characters are bold, as a string of '1' and '0'.
std::string BoldMap(const QTextDocument& doc, int count) {
    std::string map;
    for (int i = 0; i < count; ++i) map += BoldAt(doc, i) ? '1' : '0';
    return map;
}

// A note far longer than a screen: paragraphs with a bold word, the last one "omega".
std::string LongRtf() {
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    for (int i = 0; i < 2000; ++i)
        rtf += "plain words \\b bold" + std::to_string(i) + "\\b0  and more plain words\\par\n";
    return rtf + "the end \\b omega\\b0 .}";
}

void LoadRtf(RichEditControl& c, std::string rtf) {
    const StreamSource feedAll = [&rtf](std::span<char> buffer) {
        const size_t n = std::min(rtf.size(), buffer.size());
        std::memcpy(buffer.data(), rtf.data(), n);
        rtf.erase(0, n);
        return n;
    };
    ASSERT_EQ(c.EmStreamIn(SF_RTF, feedAll).Error, 0u);
}

int PositionOf(const RichEditControl& c, const char* text) {
    return int(c.document()->toPlainText().indexOf(QLatin1StringView(text)));
}

}  // namespace

// An edit that bypasses the control moves the pending runs with their text: an insertion
// before a run pushes it along, one inside it splits it, a deletion into it leaves only its
// surviving characters.
TEST(DeferredFormats, PendingRunsFollowTheirTextThroughEdits) {
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    {
        QTextDocument doc(QStringLiteral("0123456789abcdefghij"));
        DeferredFormats pending({bold}, {{10, 15, 0}});
        QTextCursor(&doc).insertText(QStringLiteral("XYZ"));  // at 0
        pending.Shift(0, 0, 3);
        QTextCursor inside(&doc);
        inside.setPosition(15);
        inside.insertText(QStringLiteral("--"));
        pending.Shift(15, 0, 2);
        pending.ApplyAll(doc);
        EXPECT_EQ(BoldMap(doc, 25), "0000000000000110011100000");
    }
    {
        QTextDocument doc(QStringLiteral("0123456789abcdefghij"));
        DeferredFormats pending({bold}, {{10, 15, 0}, {17, 19, 0}});
        QTextCursor cut(&doc);
        cut.setPosition(8);
        cut.setPosition(12, QTextCursor::KeepAnchor);
        cut.removeSelectedText();  // "89ab"
        pending.Shift(8, 4, 0);
        pending.ApplyAll(doc);
        EXPECT_EQ(doc.toPlainText().toStdString(), "01234567cdefghij");
        EXPECT_EQ(BoldMap(doc, 16), "0000000011100110");
    }
    {
        QTextDocument doc(QStringLiteral("0123456789"));
        doc.setModified(false);
        DeferredFormats pending({bold}, {{2, 4, 0}, {6, 30, 0}});  // the second runs past the end
        pending.ApplyBefore(doc, 5);
        EXPECT_EQ(pending.Remaining(), 1u);
        EXPECT_EQ(BoldMap(doc, 10), "0011000000");
        pending.ApplyAll(doc);
        EXPECT_TRUE(pending.Empty());
        EXPECT_EQ(BoldMap(doc, 10), "0011001111");
        EXPECT_FALSE(doc.isModified());
        EXPECT_FALSE(doc.isUndoAvailable());
    }
}

// Random edits made straight on the document while formats are pending end with every
// character in the format it has when the same edits follow a complete formatting.
TEST(DeferredFormats, EditsThatBypassTheControlLeaveEveryCharacterItsFormat) {
    QTextCharFormat bold, italic, typed;
    bold.setFontWeight(QFont::Bold);
    italic.setFontItalic(true);
    typed.setFontUnderline(true);
    std::mt19937 random(11);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int trial = 0; trial < 60; ++trial) {
        QString text;
        for (int i = 0; i < 200; ++i) text += QChar(u'a' + pick(0, 25));
        std::vector<DeferredFormats::Run> runs;
        for (int at = pick(0, 5); at < 190; at += pick(1, 12)) {
            const int end = at + pick(1, 9);
            runs.push_back({at, end, pick(0, 1)});
            at = end;
        }
        QTextDocument pendingDoc(text), referenceDoc(text);
        DeferredFormats pending({bold, italic}, runs);
        DeferredFormats({bold, italic}, runs).ApplyAll(referenceDoc);
        pending.ApplyBefore(pendingDoc, pick(0, 200));
        for (int edit = 0; edit < 12; ++edit) {
            const int length = pendingDoc.characterCount() - 1;
            const int from = pick(0, length);
            const int removed = pick(0, std::min(6, length - from));
            const QString inserted(pick(0, 4), QLatin1Char('X'));
            for (QTextDocument* doc : {&pendingDoc, &referenceDoc}) {
                QTextCursor cursor(doc);
                cursor.setPosition(from);
                cursor.setPosition(from + removed, QTextCursor::KeepAnchor);
                cursor.insertText(inserted, typed);
            }
            pending.Shift(from, removed, int(inserted.size()));
        }
        pending.ApplyAll(pendingDoc);
        ASSERT_EQ(pendingDoc.toPlainText(), referenceDoc.toPlainText());
        for (int i = 0; i < pendingDoc.characterCount() - 1; ++i) {
            const QTextCharFormat got = RtfTest::FormatAt(pendingDoc, i);
            const QTextCharFormat want = RtfTest::FormatAt(referenceDoc, i);
            ASSERT_EQ(got.fontWeight(), want.fontWeight()) << trial << " at " << i;
            ASSERT_EQ(got.fontItalic(), want.fontItalic()) << trial << " at " << i;
            ASSERT_EQ(got.fontUnderline(), want.fontUnderline()) << trial << " at " << i;
        }
    }
}

// A long note shows its first screen formatted at once; reading a format, saving or typing
// applies the rest first, without an undo step, a change notice or the modified flag.
TEST(DeferredFormats, ReadingOrEditingAppliesTheRestFirst) {
    RichEditControl c;
    int changes = 0;
    c.OnNotifyChange = [&] { ++changes; };
    c.EmSetEventMask(ENM_CHANGE);
    LoadRtf(c, LongRtf());
    changes = 0;
    const int omega = PositionOf(c, "omega");
    ASSERT_GT(omega, 64 * 1024);
    EXPECT_TRUE(BoldAt(*c.document(), PositionOf(c, "bold0")));
    EXPECT_TRUE(c.FormatsDeferred());
    EXPECT_FALSE(BoldAt(*c.document(), omega));

    const std::string early = [&] {
        RichEditControl d;
        LoadRtf(d, LongRtf());
        std::string out;
        d.EmStreamOut(SF_RTF, [&out](std::span<const char> bytes) {
            out.append(bytes.data(), bytes.size());
            return bytes.size();
        });  // saved before the idle moments came
        return out;
    }();
    EXPECT_NE(early.find("\\b omega"), std::string::npos);

    const int length = c.EmGetTextLength();
    c.EmExSetSel({length - 3, length - 2});
    EXPECT_TRUE(c.EmGetCharFormat(true).Effects & CFE_BOLD);
    EXPECT_FALSE(c.FormatsDeferred());
    EXPECT_FALSE(c.EmGetModify());
    EXPECT_FALSE(c.document()->isUndoAvailable());
    EXPECT_EQ(changes, 0);

    // Typing at the start, still before the idle moments: the runs keep their words.
    RichEditControl t;
    t.EmExLimitText(1 << 20);
    LoadRtf(t, LongRtf());
    t.EmExSetSel({0, 0});
    QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("X"));
    QCoreApplication::sendEvent(&t, &key);
    EXPECT_FALSE(t.FormatsDeferred());
    const int moved = PositionOf(t, "omega");
    EXPECT_EQ(moved, omega + 1);
    EXPECT_TRUE(BoldAt(*t.document(), moved));
    EXPECT_FALSE(BoldAt(*t.document(), moved - 2));
    t.document()->undo();  // takes back the typing, not the formats
    EXPECT_EQ(PositionOf(t, "omega"), omega);
    EXPECT_TRUE(BoldAt(*t.document(), omega));
}

TEST(DeferredFormats, IdleMomentsApplyTheRestQuietly) {
    RichEditControl c;
    int changes = 0;
    LoadRtf(c, LongRtf());
    c.OnNotifyChange = [&] { ++changes; };
    c.EmSetEventMask(ENM_CHANGE);
    EXPECT_TRUE(WaitUntil([&] { return !c.FormatsDeferred(); }));
    EXPECT_TRUE(BoldAt(*c.document(), PositionOf(c, "omega")));
    EXPECT_TRUE(BoldAt(*c.document(), PositionOf(c, "bold1999")));
    EXPECT_FALSE(BoldAt(*c.document(), PositionOf(c, "bold1999") - 2));
    EXPECT_FALSE(c.EmGetModify());
    EXPECT_FALSE(c.document()->isUndoAvailable());
    EXPECT_EQ(changes, 0);
}

// A slice of idle-time formatting ends with a paragraph, never inside one: the editor lays a
// changed paragraph out again whole, once per slice.
TEST(DeferredFormats, ASliceFinishesTheParagraphItStopsIn) {
    struct Case {
        std::vector<int> paragraphRuns;  // bold runs in each paragraph
        size_t slice;
        size_t remaining;  // after one slice
    };
    const Case cases[] = {
        {{10, 10, 10}, 3, 20}, {{10, 10, 10}, 10, 20}, {{10, 10, 10}, 11, 10},
        {{1, 1, 1, 1}, 2, 2},  {{5000}, 4, 0},         {{10, 10}, 0, 20},
    };
    for (const Case& c : cases) {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        std::vector<DeferredFormats::Run> runs;
        for (size_t p = 0; p < c.paragraphRuns.size(); ++p) {
            if (p > 0) cursor.insertBlock();
            for (int r = 0; r < c.paragraphRuns[p]; ++r) {
                const int at = cursor.position();
                cursor.insertText(QStringLiteral("ab"));
                runs.push_back({at, at + 1, 0});
            }
        }
        DeferredFormats pending({bold}, runs);
        pending.ApplyNext(doc, c.slice);
        EXPECT_EQ(pending.Remaining(), c.remaining) << c.slice;
        const size_t applied = runs.size() - c.remaining;
        for (size_t i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(BoldAt(doc, runs[i].Start), i < applied) << i;
        }
    }
}
