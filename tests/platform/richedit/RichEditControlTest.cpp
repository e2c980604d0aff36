// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/richedit/RichEditControl.h"
#include "platform/rtf/TextDecoding.h"
#include "tests/TestSupport.h"

using namespace RichEdit;

namespace {

// A byte source or sink for the control's streams.
struct Pipe {
    std::string Bytes;
    size_t Position = 0;
    size_t Chunk = size_t(1) << 30;  // most bytes handed over per call
    int Calls = 0;
    int FailAtCall = -1;   // raise an error at this call
    int ShortAtCall = -1;  // take one byte less at this call

    StreamSource Source() {
        return [this](std::span<char> buffer) {
            if (Calls++ == FailAtCall) throw std::runtime_error("source failed");
            const size_t n = std::min({buffer.size(), Chunk, Bytes.size() - Position});
            std::memcpy(buffer.data(), Bytes.data() + Position, n);
            Position += n;
            return n;
        };
    }
    StreamSink Sink() {
        return [this](std::span<const char> bytes) {
            if (Calls++ == FailAtCall) throw std::runtime_error("sink failed");
            const size_t n = Calls - 1 == ShortAtCall ? bytes.size() - 1 : bytes.size();
            Bytes.append(bytes.data(), n);
            return n;
        };
    }
};

unsigned StreamIn(RichEditControl& c, const std::string& bytes, unsigned format = SF_TEXT) {
    Pipe p{bytes};
    return c.EmStreamIn(format, p.Source()).Error;
}

std::string StreamOut(RichEditControl& c, unsigned format = SF_TEXT, unsigned* error = nullptr) {
    Pipe p;
    const StreamResult r = c.EmStreamOut(format, p.Sink());
    if (error) *error = r.Error;
    return p.Bytes;
}

std::string Line(RichEditControl& c, int line, int capacity = 4096) {
    return c.EmGetLine(line, capacity).toStdString();
}

// `c` holding `text`, with the effect `mask`/`effects` on the characters of `range`.
void SetTextWithEffect(RichEditControl& c, const QString& text, CharRange range, std::uint32_t mask,
                       std::uint32_t effects) {
    c.WmSetText(text);
    c.EmExSetSel(range);
    CharFormat f;
    f.Mask = mask;
    f.Effects = effects;
    c.EmSetCharFormat(SCF_SELECTION, f);
}

}  // namespace

TEST(RichEditControl, PlainTextLinesCountBreaksAsCrLf) {
    RichEditControl c;
    EXPECT_EQ(StreamIn(c, "ab\r\ncde\nf"), 0u);
    EXPECT_EQ(c.EmGetTextLength(), 10);  // ab CR LF cde CR LF f
    ASSERT_EQ(c.EmGetLineCount(), 3);
    EXPECT_EQ(c.EmLineIndex(0), 0);
    EXPECT_EQ(c.EmLineIndex(1), 4);
    EXPECT_EQ(c.EmLineIndex(2), 9);
    EXPECT_EQ(c.EmLineIndex(3), -1);
    EXPECT_EQ(Line(c, 0), "ab\r\n");
    EXPECT_EQ(Line(c, 1), "cde\r\n");
    EXPECT_EQ(Line(c, 2), "f");
    EXPECT_EQ(c.EmLineLength(5), 3);
    EXPECT_EQ(c.EmLineLength(3), 2);  // between CR and LF: still line 0
    EXPECT_EQ(c.EmExLineFromChar(4), 1);
    EXPECT_EQ(c.EmExLineFromChar(100), 2);
    EXPECT_EQ(c.WmGetText().toStdString(), "ab\r\ncde\r\nf");
}

TEST(RichEditControl, EmptyControlHasOneEmptyLine) {
    RichEditControl c;
    EXPECT_EQ(c.EmGetLineCount(), 1);
    EXPECT_EQ(c.EmLineIndex(0), 0);
    EXPECT_EQ(c.EmLineLength(0), 0);
    EXPECT_EQ(Line(c, 0), "");
    c.WmSetText(QStringLiteral("x\r\n"));
    EXPECT_EQ(c.EmGetLineCount(), 2);
    EXPECT_EQ(c.EmLineIndex(1), 3);
    EXPECT_EQ(c.EmLineLength(3), 0);
}

TEST(RichEditControl, GetLineCutsAtCapacityWithoutSplittingSurrogates) {
    RichEditControl c;
    c.WmSetText(QString(10, u'a') + QStringLiteral("\r\nb"));
    EXPECT_EQ(Line(c, 0, 4), "aaaa");
    EXPECT_EQ(Line(c, 0, 11), "aaaaaaaaaa\r");
    c.WmSetText(QStringLiteral("a") + QString::fromUcs4(U"\U0001F600"));
    EXPECT_EQ(c.EmGetLine(0, 2).size(), 1);  // the pair is not split
    EXPECT_EQ(c.EmGetLine(0, 3).size(), 3);
}

TEST(RichEditControl, FailedStreamInKeepsContentAndReportsError) {
    RichEditControl c;
    c.WmSetText(QStringLiteral("keep me"));
    Pipe p{std::string(10000, 'x')};
    p.Chunk = 100;
    p.FailAtCall = 5;
    EXPECT_EQ(c.EmStreamIn(SF_TEXT, p.Source()).Error, ERROR_READ_FAULT);
    EXPECT_EQ(c.WmGetText().toStdString(), "keep me");
}

TEST(RichEditControl, RtfStreamInRefusesOtherBytesAfterTheFirstChunk) {
    RichEditControl c;
    c.WmSetText(QStringLiteral("old"));
    Pipe p{std::string(100000, 'x')};
    p.Chunk = 1000;
    EXPECT_EQ(c.EmStreamIn(SF_RTF, p.Source()).Error, ERROR_INVALID_DATA);
    EXPECT_EQ(p.Calls, 1);  // a plain file is not read to its end twice
    EXPECT_EQ(c.WmGetText().toStdString(), "old");
    // Too short to tell, then the end: still not RTF.
    EXPECT_NE(StreamIn(c, "{\\r", SF_RTF), 0u);
    EXPECT_NE(StreamIn(c, "", SF_RTF), 0u);
    EXPECT_EQ(c.WmGetText().toStdString(), "old");
}

TEST(RichEditControl, RtfRoundTripKeepsTextAndBold) {
    RichEditControl c;
    ASSERT_EQ(StreamIn(c, "{\\rtf1\\ansi plain \\b bold\\b0\\par second}", SF_RTF), 0u);
    EXPECT_EQ(c.WmGetText().toStdString(), "plain bold\r\nsecond");
    unsigned error = 1;
    const std::string rtf = StreamOut(c, SF_RTF, &error);
    EXPECT_EQ(error, 0u);
    ASSERT_EQ(rtf.rfind("{\\rtf", 0), 0u);
    RichEditControl d;
    ASSERT_EQ(StreamIn(d, rtf, SF_RTF), 0u);
    EXPECT_EQ(d.WmGetText().toStdString(), "plain bold\r\nsecond");
    d.EmExSetSel({7, 8});
    EXPECT_TRUE(d.EmGetCharFormat(true).Effects & CFE_BOLD);
    d.EmExSetSel({1, 2});
    EXPECT_FALSE(d.EmGetCharFormat(true).Effects & CFE_BOLD);
}

TEST(RichEditControl, StreamOutHandsChunksAndStopsOnShortWrites) {
    RichEditControl c;
    c.SetStreamBufferSize(8);
    c.WmSetText(QStringLiteral("line one\nline two"));
    Pipe p;
    const StreamResult whole = c.EmStreamOut(SF_TEXT, p.Sink());
    EXPECT_EQ(whole.Count, 18);
    EXPECT_EQ(whole.Error, 0u);
    EXPECT_EQ(p.Bytes, "line one\r\nline two");
    EXPECT_EQ(p.Calls, 3);

    Pipe shortSink;
    shortSink.ShortAtCall = 1;
    const StreamResult cut = c.EmStreamOut(SF_TEXT, shortSink.Sink());
    EXPECT_EQ(cut.Error, ERROR_WRITE_FAULT);
    EXPECT_EQ(cut.Count, 15);

    Pipe failing;
    failing.FailAtCall = 0;
    EXPECT_EQ(c.EmStreamOut(SF_TEXT, failing.Sink()).Error, ERROR_WRITE_FAULT);
}

TEST(RichEditControl, PlainBytesAreUtf8WhereValidElseWindows1252) {
    // "é" in UTF-8, then a lone 0xE9 (é in Windows-1252), 0x80 (euro), an undefined 0x81, and a
    // truncated sequence at the end.
    const QString text = DecodePlainText("\xC3\xA9-\xE9-\x80-\x81-\xF0\x9F\x98\x80-\xE2\x82");
    EXPECT_EQ(text, QString::fromUtf8("é-é-€-\xC2\x81-\xF0\x9F\x98\x80-â\xE2\x80\x9A"));
    // Overlong and surrogate encodings are not UTF-8.
    EXPECT_EQ(DecodePlainText("\xC0\xAF"), QString::fromUtf8("À¯"));
    EXPECT_EQ(DecodePlainText("\xED\xA0\x80").size(), 3);
    EXPECT_EQ(DecodePlainText("a\r\nb\rc\nd"), QStringLiteral("a\nb\nc\nd"));
    RichEditControl c;
    StreamIn(c, "\xE9t\xE9\r\n");
    EXPECT_EQ(StreamOut(c), "\xC3\xA9t\xC3\xA9\r\n");
}

TEST(RichEditControl, WrappedParagraphGivesSeveralLinesOnlyTheLastWithBreak) {
    RichEditControl c;
    c.resize(120, 200);
    c.show();
    const QString words =
        QStringLiteral("alpha beta gamma delta epsilon zeta eta theta iota kappa");
    c.WmSetText(words + QStringLiteral("\r\nnext"));
    const int lines = c.EmGetLineCount();
    ASSERT_GT(lines, 3);
    QString joined;
    for (int i = 0; i + 1 < lines; ++i) {
        const QString line = c.EmGetLine(i, 4096);
        EXPECT_EQ(line.endsWith(QStringLiteral("\r\n")), i == lines - 2) << i;
        EXPECT_EQ(c.EmLineLength(c.EmLineIndex(i)), line.size() - (i == lines - 2 ? 2 : 0));
        joined += line;
    }
    EXPECT_EQ(joined, words + QStringLiteral("\r\n"));
    EXPECT_EQ(c.EmGetLine(lines - 1, 4096), QStringLiteral("next"));
    // Wider: fewer lines. Without wrapping: one line per paragraph.
    c.resize(2000, 200);
    EXPECT_EQ(c.EmGetLineCount(), 2);
    c.resize(120, 200);
    EXPECT_EQ(c.EmGetLineCount(), lines);
    c.setLineWrapMode(QTextEdit::NoWrap);
    EXPECT_EQ(c.EmGetLineCount(), 2);
}

TEST(RichEditControl, HiddenControlWrapsAtTheWidthItWillBeShownAt) {
    RichEditControl c;
    c.resize(120, 200);
    c.WmSetText(QStringLiteral("alpha beta gamma delta epsilon zeta eta theta iota kappa"));
    EXPECT_GT(c.EmGetLineCount(), 2);
}

TEST(RichEditControl, WalkingAllLinesBuildsTheLineTableOnce) {
    RichEditControl c;
    QString text;
    for (int i = 0; i < 20000; ++i) text += QStringLiteral("line %1\n").arg(i);
    c.WmSetText(text);
    const int before = c.LineTableBuilds();
    const int n = c.EmGetLineCount();
    qsizetype total = 0;
    int lastStart = -1;
    for (int i = 0; i < n; ++i) {
        total += c.EmGetLine(i, 4096).size();
        lastStart = c.EmLineIndex(i);
    }
    EXPECT_EQ(n, 20001);
    EXPECT_GT(total, 0);
    EXPECT_GT(lastStart, 0);
    EXPECT_EQ(c.LineTableBuilds(), before + 1);
    // An edit invalidates it; the next question builds it once more.
    c.EmExLimitText(1 << 30);
    c.EmExSetSel({0, 0});
    c.EmReplaceSel(QStringLiteral("x"));
    EXPECT_EQ(Line(c, 0), "xline 0\r\n");
    EXPECT_EQ(c.LineTableBuilds(), before + 2);
}

TEST(RichEditControl, ReplaceSelectionNormalisesBreaksAndKeepsToTheTextLimit) {
    RichEditControl c;
    EXPECT_EQ(c.EmGetLimitText(), kDefaultTextLimit);
    c.EmReplaceSel(QStringLiteral("a\nb\rc\r\nd"));
    EXPECT_EQ(c.WmGetText().toStdString(), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(c.EmExGetSel(), (CharRange{10, 10}));
    EXPECT_EQ(RichEditControl::InsertedLength(QStringLiteral("a\nb\rc\r\nd")), 10);

    c.EmExLimitText(12);
    c.EmReplaceSel(QStringLiteral("\r\nxyz"));  // room for the break only
    EXPECT_EQ(c.EmGetTextLength(), 12);
    EXPECT_EQ(c.EmExGetSel().cpMin, 12);
    c.EmExSetSel({0, 1});
    c.EmReplaceSel(QStringLiteral("AB"));  // replacing one character leaves room for one
    EXPECT_EQ(c.WmGetText().left(2).toStdString(), "A\r");
    // Whole replacements are not cut.
    c.WmSetText(QString(100, u'z'));
    EXPECT_EQ(c.EmGetTextLength(), 100);
    c.EmExLimitText(0);
    EXPECT_EQ(c.EmGetLimitText(), kDefaultTextLimit);
}

TEST(RichEditControl, SelectionSetAndGetInCharacterPositions) {
    RichEditControl c;
    c.WmSetText(QStringLiteral("ab\r\ncd"));
    EXPECT_EQ(c.EmExSetSel({1, 5}), (CharRange{1, 5}));
    EXPECT_EQ(c.EmGetSelText().toStdString(), "b\r\nc");
    EXPECT_EQ(c.EmExSetSel({0, -1}), (CharRange{0, 6}));
    EXPECT_EQ(c.EmExSetSel({2, 99}), (CharRange{2, 6}));
    EXPECT_EQ(c.EmExSetSel({-1, 0}).cpMin, c.EmExGetSel().cpMax);
    c.EmExSetSel({5, 5});
    EXPECT_EQ(c.EmLineIndex(-1), 4);
    c.EmExSetSel({1, 5});
    EXPECT_EQ(c.EmLineLength(-1), 2);  // "a" before, "d" after
}

TEST(RichEditControl, ChangeNotificationsFollowTheEventMask) {
    RichEditControl c;
    int changes = 0, selections = 0;
    c.OnNotifyChange = [&] { ++changes; };
    c.OnNotifySelChange = [&] { ++selections; };
    c.EmReplaceSel(QStringLiteral("abc"));
    EXPECT_EQ(changes, 0);  // mask is empty at first
    EXPECT_EQ(selections, 0);
    EXPECT_EQ(c.EmSetEventMask(ENM_CHANGE | ENM_SELCHANGE), ENM_NONE);
    c.EmReplaceSel(QStringLiteral("d"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(selections, 1);
    c.EmExSetSel({0, 2});
    EXPECT_EQ(selections, 2);
    c.EmExSetSel({0, 2});
    EXPECT_EQ(selections, 2);  // no change, no notice
    c.WmSetText(QStringLiteral("new"));
    EXPECT_EQ(changes, 2);  // one notice for a whole replacement
    StreamIn(c, "streamed\nlines\n");
    EXPECT_EQ(changes, 3);
    changes = 0;
    c.EmExSetSel({0, 3});
    CharFormat bold;
    bold.Mask = CFM_BOLD;
    bold.Effects = CFE_BOLD;
    c.EmSetCharFormat(SCF_SELECTION, bold);
    EXPECT_EQ(changes, 0);  // formats are not text changes
    c.EmSetEventMask(ENM_NONE);
    c.EmReplaceSel(QStringLiteral("e"));
    EXPECT_EQ(changes, 0);
}

TEST(RichEditControl, RequestResizeReportsTheContentHeight) {
    RichEditControl c;
    c.resize(200, 50);
    std::vector<QRect> requests;
    c.OnNotifyRequestResize = [&](const QRect& r) { requests.push_back(r); };
    c.EmSetEventMask(ENM_REQUESTRESIZE);
    c.WmSetText(QStringLiteral("one"));
    c.EmExSetSel({3, 3});
    c.EmReplaceSel(QStringLiteral("\n2\n3\n4\n5\n6\n7\n8"));
    c.document()->documentLayout()->documentSize();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().width(), 200);
    EXPECT_GT(requests.back().height(), 50);
}

TEST(RichEditControl, DefaultCharFormatSetsFontAndTextColour) {
    RichEditControl c;
    CharFormat f;
    f.Mask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_COLOR;
    f.FaceName = "Liberation Serif";
    f.Height = 240;  // 12 points
    f.Effects = CFE_BOLD;
    f.TextColor = 0x0000FF;  // red
    EXPECT_TRUE(c.EmSetCharFormat(SCF_DEFAULT, f));
    const QFont font = c.document()->defaultFont();
    EXPECT_EQ(font.family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(font.pixelSize(), 12 * c.ScreenLogPixelsY() / 72);
    EXPECT_TRUE(font.bold());
    EXPECT_EQ(c.palette().color(QPalette::Text), QColor(255, 0, 0));
    CharFormat back = c.EmGetCharFormat(false);
    EXPECT_EQ(back.FaceName, "Liberation Serif");
    EXPECT_EQ(back.Height, 240);
    EXPECT_EQ(back.TextColor, 0x0000FFu);
    EXPECT_FALSE(back.Effects & CFE_AUTOCOLOR);
    f = {};
    f.Mask = CFM_COLOR;
    f.Effects = CFE_AUTOCOLOR;
    c.EmSetCharFormat(SCF_DEFAULT, f);
    EXPECT_TRUE(c.EmGetCharFormat(false).Effects & CFE_AUTOCOLOR);
    EXPECT_EQ(c.palette().color(QPalette::Text), QGuiApplication::palette().color(QPalette::Text));
    // Only the named attribute changes.
    EXPECT_EQ(c.EmGetCharFormat(false).FaceName, "Liberation Serif");
    // Face names are kept to 31 characters.
    f = {};
    f.Mask = CFM_FACE;
    f.FaceName = std::string(40, 'F');
    c.EmSetCharFormat(SCF_DEFAULT, f);
    EXPECT_EQ(c.EmGetCharFormat(false).FaceName.size(), 31u);
}

TEST(RichEditControl, SelectionCharFormatAppliesAndReportsMixedAttributes) {
    RichEditControl c;
    c.WmSetText(QStringLiteral("abcdef"));
    c.EmExSetSel({0, 3});
    CharFormat f;
    f.Mask = CFM_ITALIC | CFM_COLOR | CFM_SIZE;
    f.Effects = CFE_ITALIC;
    f.TextColor = 0x00FF00;
    f.Height = 300;
    c.EmSetCharFormat(SCF_SELECTION, f);
    CharFormat got = c.EmGetCharFormat(true);
    EXPECT_TRUE(got.Mask & CFM_ITALIC);
    EXPECT_TRUE(got.Effects & CFE_ITALIC);
    EXPECT_EQ(got.TextColor, 0x00FF00u);
    EXPECT_EQ(got.Height, 300);
    c.EmExSetSel({2, 5});
    got = c.EmGetCharFormat(true);
    EXPECT_FALSE(got.Mask & CFM_ITALIC);
    EXPECT_FALSE(got.Mask & CFM_COLOR);
    EXPECT_TRUE(got.Mask & CFM_BOLD);
    // Back to the automatic colour.
    c.EmExSetSel({0, 3});
    f = {};
    f.Mask = CFM_COLOR;
    f.Effects = CFE_AUTOCOLOR;
    c.EmSetCharFormat(SCF_SELECTION, f);
    EXPECT_TRUE(c.EmGetCharFormat(true).Effects & CFE_AUTOCOLOR);
    EXPECT_TRUE(c.EmGetCharFormat(true).Effects & CFE_ITALIC);
}

TEST(RichEditControl, ParagraphAlignmentOfTheSelection) {
    RichEditControl c;
    c.WmSetText(QStringLiteral("one\ntwo"));
    c.EmExSetSel({5, 5});
    ParaFormat p;
    p.Mask = PFM_ALIGNMENT;
    p.Alignment = PFA_CENTER;
    EXPECT_TRUE(c.EmSetParaFormat(p));
    EXPECT_EQ(c.EmGetParaFormat().Alignment, PFA_CENTER);
    EXPECT_EQ(c.document()->findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHCenter,
              Qt::AlignHCenter);
    c.EmExSetSel({0, 0});
    EXPECT_EQ(c.EmGetParaFormat().Alignment, PFA_LEFT);
    p.Alignment = 99;
    EXPECT_FALSE(c.EmSetParaFormat(p));
}

TEST(RichEditControl, ProtectedTextRefusesEditsUnlessTheOwnerAllows) {
    RichEditControl c;
    SetTextWithEffect(c, QStringLiteral("free LOCKED free"), {5, 11}, CFM_PROTECTED, CFE_PROTECTED);
    c.EmExSetSel({7, 7});
    QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(&c, &key);
    EXPECT_EQ(c.WmGetText().toStdString(), "free LOCKED free");
    std::vector<CharRange> asked;
    c.OnNotifyProtected = [&](int a, int b) {
        asked.push_back({a, b});
        return true;
    };
    c.EmSetEventMask(ENM_PROTECTED);
    c.EmExSetSel({7, 7});
    QApplication::sendEvent(&c, &key);
    EXPECT_EQ(c.WmGetText().toStdString(), "free LOxCKED free");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], (CharRange{7, 7}));
    // Typing next to protected text, outside it, asks nothing.
    c.EmExSetSel({1, 1});
    QApplication::sendEvent(&c, &key);
    EXPECT_EQ(asked.size(), 1u);
}

TEST(RichEditControl, TypingStopsAtTheTextLimit) {
    RichEditControl c;
    c.EmExLimitText(3);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    for (int i = 0; i < 5; ++i) QApplication::sendEvent(&c, &key);
    EXPECT_EQ(c.WmGetText().toStdString(), "aaa");
    c.EmExLimitText(6);
    c.EmExSetSel({3, 3});
    // Pasting goes through the same limit.
    QApplication::clipboard()->setText(QStringLiteral("0123456789"));
    c.paste();
    EXPECT_EQ(c.WmGetText().toStdString(), "aaa012");
}

TEST(RichEditControl, SaveClipboardIsAskedWhenTheControlHoldsTheClipboard) {
    auto* c = new RichEditControl;
    c->WmSetText(QStringLiteral("copy this"));
    c->EmExSetSel({0, 4});
    c->copy();
    ASSERT_EQ(QApplication::clipboard()->text(), QStringLiteral("copy"));
    int asked = 0, chars = -1;
    c->OnNotifySaveClipboard = [&](int, int n) {
        ++asked;
        chars = n;
        return false;  // do not leave it behind
    };
    c->ReleaseClipboard();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(chars, 4);
    EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());
    // Once the clipboard holds someone else's data, nothing is asked.
    c->copy();
    QApplication::clipboard()->setText(QStringLiteral("other"));
    c->ReleaseClipboard();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("other"));
    delete c;
}

TEST(RichEditControl, ModifiedBackgroundAndRedraw) {
    RichEditControl c;
    EXPECT_FALSE(c.EmGetModify());
    c.EmReplaceSel(QStringLiteral("x"));
    EXPECT_TRUE(c.EmGetModify());
    c.EmSetModify(false);
    EXPECT_FALSE(c.EmGetModify());
    c.WmSetText(QStringLiteral("y"));
    EXPECT_FALSE(c.EmGetModify());
    c.EmSetBkgndColor(false, QColor(1, 2, 3));
    EXPECT_EQ(c.palette().color(QPalette::Base), QColor(1, 2, 3));
    const QColor old = c.EmSetBkgndColor(true, Qt::red);
    EXPECT_EQ(old, QColor(1, 2, 3));
    EXPECT_EQ(c.palette().color(QPalette::Base), QGuiApplication::palette().color(QPalette::Base));
    c.WmSetRedraw(false);
    EXPECT_FALSE(c.viewport()->updatesEnabled());
    c.WmSetRedraw(true);
    EXPECT_TRUE(c.viewport()->updatesEnabled());
}

// The wrapped line table no longer lays the whole document out, so it must already see the width
// the text ends up at: Qt's first layout step shows the scroll bar for a long text, shown or not.
TEST(RichEditControl, WrappedLinesAreThoseOfTheFullLayoutAtTheFinalWidth) {
    QString text;
    for (int i = 0; i < 300; ++i)
        text += QStringLiteral("Paragraph %1 with To, Yes and Wave, long enough to wrap.\n").arg(i);
    // Tall too: its first screen holds more than Qt lays out at once, yet the scroll bar comes.
    for (const QSize size : {QSize(273, 273), QSize(600, 3000)})
        for (const bool shown : {true, false}) {
            RichEditControl c;
            c.resize(size);
            if (shown) c.show();
            c.WmSetText(text);
            const int predicted = c.EmGetLineCount();
            const int width = int(c.document()->textWidth());
            c.document()->documentLayout()->documentSize();
            QCoreApplication::processEvents();
            EXPECT_EQ(int(c.document()->textWidth()), width) << shown << size.height();
            int laidOut = 0;
            for (QTextBlock b = c.document()->begin(); b.isValid(); b = b.next())
                laidOut += b.layout()->lineCount();
            EXPECT_EQ(predicted, laidOut) << shown << size.height();
            EXPECT_EQ(c.EmGetLineCount(), laidOut) << shown << size.height();
        }
}

// A note's own copy is pasted back as it was, formats and all, without a round trip through
// HTML; other programs get plain text and HTML made from it; once something else is on the
// clipboard, that is what a paste brings.
TEST(RichEditControl, OwnCopyPastesBackAsItWas) {
    RichEditControl c;
    SetTextWithEffect(c, QStringLiteral("plain bold\r\nnext"), {6, 10}, CFM_BOLD, CFE_BOLD);
    c.EmExSetSel({0, -1});
    c.copy();
    const QMimeData* offered = QApplication::clipboard()->mimeData();
    ASSERT_NE(offered, nullptr);
    EXPECT_EQ(offered->text(), QStringLiteral("plain bold\nnext"));
    EXPECT_TRUE(offered->html().contains(QStringLiteral("bold")));

    const int end = c.EmGetTextLength();
    c.EmExSetSel({end, end});
    c.paste();
    EXPECT_EQ(c.WmGetText(), QStringLiteral("plain bold\r\nnextplain bold\r\nnext"));
    c.EmExSetSel({end + 6, end + 10});
    EXPECT_TRUE(c.EmGetCharFormat(true).Effects & CFE_BOLD);
    c.undo();
    EXPECT_EQ(c.WmGetText(), QStringLiteral("plain bold\r\nnext"));

    QApplication::clipboard()->setText(QStringLiteral("theirs"));
    c.EmExSetSel({0, 0});
    c.paste();
    EXPECT_EQ(c.WmGetText(), QStringLiteral("theirsplain bold\r\nnext"));
}
