// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// A long paragraph is held in pieces; nothing the control hands out may show where.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cstring>
#include <functional>
#include <string>

#include "platform/richedit/RichEditControl.h"
#include "platform/rtf/ParagraphPieces.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

using namespace RichEdit;

namespace {

// About 4.5 pieces of words, then a short second paragraph.
QString LongParagraph() {
    QString text;
    for (int i = 0; text.size() < 4 * kPieceChars + kPieceChars / 2; ++i)
        text += QStringLiteral("w%1 ").arg(i);
    return text;
}

// The same text as RTF, every seventh word bold, indented, spaced and centred, with hidden text
// at its end.
std::string AsRtf(const QString& text) {
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\qc\\fi240\\sa120 ";
    int word = 0;
    for (const QString& w : text.split(u' ', Qt::SkipEmptyParts)) {
        if (++word % 7 == 0)
            rtf += "{\\b " + w.toStdString() + "} ";
        else
            rtf += w.toStdString() + " ";
    }
    return rtf + "{\\v hidden}\\par tail}";
}

unsigned StreamIn(RichEditControl& c, const std::string& bytes, unsigned format) {
    size_t at = 0;
    return c
        .EmStreamIn(format,
                    [&](std::span<char> buffer) {
                        const size_t n = std::min(buffer.size(), bytes.size() - at);
                        std::memcpy(buffer.data(), bytes.data() + at, n);
                        at += n;
                        return n;
                    })
        .Error;
}

std::string StreamOut(RichEditControl& c, unsigned format) {
    std::string out;
    c.EmStreamOut(format, [&](std::span<const char> bytes) {
        out.append(bytes.data(), bytes.size());
        return bytes.size();
    });
    return out;
}

// The character position where the second piece begins: the first piece's length.
int FirstJoint(RichEditControl& c) {
    return c.document()->firstBlock().length() - 1;
}

void PlaceCaretAt(RichEditControl& c, int docPos) {
    QTextCursor cursor(c.document());
    cursor.setPosition(docPos);
    c.setTextCursor(cursor);
}

void Press(RichEditControl& c, Qt::Key key, const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&c, &event);
}

}  // namespace

// Loaded as plain text, as RTF or set as text, the paragraph goes in pieces, and its text,
// lengths, selections, lines and files are those of the whole paragraph.
TEST(ParagraphPieces, ALongParagraphShowsAsOneEverywhere) {
    const QString paragraph = LongParagraph();
    const QString whole = paragraph + QStringLiteral("\r\ntail");
    for (const char* way : {"plain", "rtf", "set text"}) {
        SCOPED_TRACE(way);
        RichEditControl c;
        if (std::strcmp(way, "plain") == 0)
            ASSERT_EQ(StreamIn(c, whole.toStdString(), SF_TEXT), 0u);
        else if (std::strcmp(way, "rtf") == 0)
            ASSERT_EQ(StreamIn(c, AsRtf(paragraph), SF_RTF), 0u);
        else
            c.WmSetText(whole);
        ASSERT_GE(c.document()->blockCount(), 5);
        EXPECT_EQ(c.WmGetText(), whole);
        EXPECT_EQ(c.EmGetTextLength(), whole.size());
        EXPECT_EQ(StreamOut(c, SF_TEXT), whole.toStdString());

        // Selections across every joint read what they cover.
        for (QTextBlock b = c.document()->begin(); b.isValid(); b = b.next()) {
            if (!ContinuesParagraph(b)) continue;
            QTextCursor at(c.document());
            at.setPosition(b.position());
            c.setTextCursor(at);
            const int cp = c.EmExGetSel().cpMin;
            c.EmExSetSel({cp - 5, cp + 5});
            EXPECT_EQ(c.EmGetSelText(), whole.mid(cp - 5, 10)) << cp;
            EXPECT_EQ(c.EmExGetSel().cpMin, cp - 5);
        }

        // The lines join up to the text, with a break only after the paragraph's last one.
        QString lines;
        for (int i = 0; i < c.EmGetLineCount(); ++i) lines += c.EmGetLine(i, 1 << 20);
        EXPECT_EQ(lines, whole);
        EXPECT_EQ(c.EmExLineFromChar(int(whole.size()) - 1), c.EmGetLineCount() - 1);

        // Other programs read one paragraph.
        QTextDocument read;
        ASSERT_TRUE(Rtf::Read(StreamOut(c, SF_RTF), read));
        EXPECT_EQ(read.blockCount(), 2);
        EXPECT_EQ(read.firstBlock().text(), paragraph);
    }
}

// The RTF written of a note in pieces is byte for byte that of the same note whole: formats,
// indents, spacing and hidden text land where they were.
TEST(ParagraphPieces, ANoteInPiecesSavesAsTheWholeNote) {
    const std::string rtf = AsRtf(LongParagraph());
    QTextDocument whole;
    ASSERT_TRUE(Rtf::Read(rtf, whole));
    RichEditControl c;
    ASSERT_EQ(StreamIn(c, rtf, SF_RTF), 0u);
    c.document()->setDefaultFont(whole.defaultFont());
    ASSERT_GE(c.document()->blockCount(), 5);
    EXPECT_EQ(StreamOut(c, SF_RTF), Rtf::Write(whole));
}

// Backspace, Delete and the arrows at a joint act on the character beyond it; a paragraph
// break typed there or inside a piece is a real one, and undoing it leaves the text as it was.
TEST(ParagraphPieces, KeysAtAJointActOnTheCharacterBeyondIt) {
    const QString whole = LongParagraph();
    RichEditControl c;
    c.WmSetText(whole);
    const int joint = FirstJoint(c);
    const int secondPiece = c.document()->firstBlock().next().position();

    PlaceCaretAt(c, secondPiece);
    Press(c, Qt::Key_Backspace);
    EXPECT_EQ(c.WmGetText(), QString(whole).remove(joint - 1, 1));
    c.undo();
    EXPECT_EQ(c.WmGetText(), whole);

    PlaceCaretAt(c, secondPiece - 1);
    Press(c, Qt::Key_Delete);
    EXPECT_EQ(c.WmGetText(), QString(whole).remove(joint, 1));
    c.undo();

    PlaceCaretAt(c, secondPiece - 1);
    Press(c, Qt::Key_Right);
    EXPECT_EQ(c.EmExGetSel().cpMin, joint + 1);
    Press(c, Qt::Key_Left);
    Press(c, Qt::Key_Left);
    EXPECT_EQ(c.EmExGetSel().cpMin, joint - 1);

    for (const int cp : {joint, joint + 100}) {
        SCOPED_TRACE(cp);
        c.EmExSetSel({cp, cp});
        Press(c, Qt::Key_Return, QStringLiteral("\r"));
        const QString broken = whole.left(cp) + QStringLiteral("\r\n") + whole.mid(cp);
        EXPECT_EQ(c.WmGetText(), broken);
        EXPECT_EQ(StreamOut(c, SF_TEXT), broken.toStdString());
        QTextDocument read;
        ASSERT_TRUE(Rtf::Read(StreamOut(c, SF_RTF), read));
        EXPECT_EQ(read.blockCount(), 2);
        c.undo();
        EXPECT_EQ(c.WmGetText(), whole);
    }
}

// Centring any piece centres the whole paragraph; a copy hands other programs the paragraph
// whole.
TEST(ParagraphPieces, FormatsAndCopiesTakeTheWholeParagraph) {
    const QString whole = LongParagraph();
    RichEditControl c;
    c.WmSetText(whole + QStringLiteral("\nnext"));
    c.EmExSetSel({int(whole.size()) - 3, int(whole.size()) - 3});
    ParaFormat p;
    p.Mask = PFM_ALIGNMENT;
    p.Alignment = PFA_CENTER;
    ASSERT_TRUE(c.EmSetParaFormat(p));
    for (QTextBlock b = c.document()->begin(); b.isValid(); b = b.next()) {
        const bool centred = b.blockFormat().alignment() & Qt::AlignHCenter;
        EXPECT_EQ(centred, b.next().isValid()) << b.blockNumber();
    }

    const int joint = FirstJoint(c);
    c.EmExSetSel({joint - 20, joint + 20});
    c.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), whole.mid(joint - 20, 40));
}

// Paragraphs streamed or pasted into a piece stay paragraphs of their own.
TEST(ParagraphPieces, ParagraphsInsertedIntoAPieceKeepTheirBreaks) {
    const QString whole = LongParagraph();
    for (const char* way : {"stream", "replace"}) {
        SCOPED_TRACE(way);
        RichEditControl c;
        c.WmSetText(whole);
        const int cp = FirstJoint(c) + 50;
        c.EmExSetSel({cp, cp});
        if (std::strcmp(way, "stream") == 0)
            ASSERT_EQ(StreamIn(c, "{\\rtf1\\ansi one\\par two}", SF_RTF | SFF_SELECTION), 0u);
        else
            c.EmReplaceSel(QStringLiteral("one\r\ntwo"));
        const QString expected = whole.left(cp) + QStringLiteral("one\r\ntwo") + whole.mid(cp);
        EXPECT_TRUE(c.WmGetText() == expected);  // a failure would print 40 KB twice
        QTextDocument read;
        ASSERT_TRUE(Rtf::Read(StreamOut(c, SF_RTF), read));
        EXPECT_EQ(read.blockCount(), 2);
    }
}

// A long paragraph pasted, streamed or set in as a replacement goes in pieces too, in the same
// undo step as the insertion, and shows as one paragraph.
TEST(ParagraphPieces, ALongParagraphInsertedGoesInPieces) {
    const QString whole = LongParagraph();
    const std::string rtf = AsRtf(whole);
    const struct {
        const char* Name;
        std::function<void(RichEditControl&)> Insert;
    } ways[] = {
        {"paste",
         [&](RichEditControl& c) {
             QApplication::clipboard()->setText(whole);
             c.paste();
         }},
        {"replace", [&](RichEditControl& c) { c.EmReplaceSel(whole); }},
        {"stream", [&](RichEditControl& c) { StreamIn(c, rtf, SF_RTF | SFF_SELECTION); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.Name);
        RichEditControl c;
        c.WmSetText(QStringLiteral("ab\r\ncd"));
        c.EmSetModify(false);
        c.EmExSetSel({1, 1});
        way.Insert(c);
        const QString text = c.WmGetText();
        EXPECT_TRUE(text.startsWith(QStringLiteral("a") + whole.left(100)));
        EXPECT_TRUE(text.endsWith(QStringLiteral("b\r\ncd")));
        EXPECT_EQ(c.EmGetTextLength(), text.size());
        EXPECT_GE(c.document()->blockCount(), 5);  // the long paragraph in pieces
        EXPECT_EQ(c.EmExLineFromChar(c.EmGetTextLength()), c.EmGetLineCount() - 1);
        // The caret after what came in, not moved by the joints.
        const int caret = c.EmExGetSel().cpMin;
        EXPECT_EQ(text.mid(caret), QStringLiteral("b\r\ncd"));
        c.undo();
        EXPECT_EQ(c.WmGetText(), QStringLiteral("ab\r\ncd"));
        EXPECT_EQ(c.document()->blockCount(), 2);
    }
}
