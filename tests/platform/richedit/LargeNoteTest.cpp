// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Notes whose size or shape would freeze the window: plain text built in slices with the event
// loop running in between, and stretches without white space laid out with breaks anywhere.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <cstring>
#include <string>

#include "platform/richedit/ContentStream.h"
#include "platform/richedit/RichEditControl.h"
#include "platform/richedit/UnbrokenRuns.h"

using namespace RichEdit;

namespace {

StreamSource SourceOf(const std::string& bytes, size_t& position) {
    return [&bytes, &position](std::span<char> buffer) {
        const size_t n = std::min(buffer.size(), bytes.size() - position);
        std::memcpy(buffer.data(), bytes.data() + position, n);
        position += n;
        return n;
    };
}

unsigned StreamIn(RichEditControl& c, const std::string& bytes) {
    size_t position = 0;
    return c.EmStreamIn(SF_TEXT, SourceOf(bytes, position)).Error;
}

QString Repeated(const QString& piece, int times) {
    QString s;
    for (int i = 0; i < times; ++i) s += piece;
    return s;
}

}  // namespace

TEST(LargeNote, SlicedPlainTextIsTheDocumentSetPlainTextBuilds) {
    const QString pair = QString::fromUtf16(u"\U0001F600");
    struct Case {
        const char* Name;
        QString Text;
        int Slice;
        int Pauses;  // calls between slices
    };
    const Case cases[] = {
        {"shorter than a slice", QStringLiteral("a\nb\n"), 100, 0},
        {"empty", QString(), 4, 0},
        {"short lines", Repeated(QStringLiteral("line\n"), 50), 12, 24},
        {"ends without a break", Repeated(QStringLiteral("ab\n"), 9) + QStringLiteral("z"), 7, 4},
        {"one line longer than a slice", Repeated(QStringLiteral("x"), 50), 8, 6},
        {"empty lines", Repeated(QStringLiteral("\n"), 30), 4, 7},
        {"surrogate pair at the cut", QStringLiteral("abc") + pair + Repeated(pair, 10), 4, 6},
        {"carriage returns and separators",
         Repeated(QStringLiteral("a\rb") + QChar(QChar::LineSeparator) + QStringLiteral("c\n"), 20),
         10, 19},
    };
    for (const Case& c : cases) {
        QTextDocument expected, sliced;
        expected.setPlainText(c.Text);
        int pauses = 0;
        SetPlainTextInSlices(sliced, c.Text, c.Slice, [&pauses] { ++pauses; });
        EXPECT_EQ(sliced.toRawText(), expected.toRawText()) << c.Name;
        EXPECT_EQ(sliced.blockCount(), expected.blockCount()) << c.Name;
        EXPECT_EQ(pauses, c.Pauses) << c.Name;
        EXPECT_FALSE(sliced.isUndoAvailable()) << c.Name;
    }
}

// A long note lets the program's timers run while it is built (user input waits), and arrives
// whole, its line view the same as that of a note built in one piece.
TEST(LargeNote, LongPlainTextLoadLetsTheEventLoopRun) {
    std::string bytes;
    for (int i = 0; i < 40000; ++i) bytes += "line " + std::to_string(i) + "\r\n";
    ASSERT_GT(bytes.size(), size_t(4 * kPlainTextSliceChars));

    RichEditControl c;
    c.resize(273, 273);
    c.show();
    int ticks = 0;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start();
    ASSERT_EQ(StreamIn(c, bytes), 0u);
    EXPECT_GT(ticks, 1);

    RichEditControl whole;
    whole.resize(273, 273);
    whole.show();
    whole.WmSetText(QString::fromStdString(bytes));
    ASSERT_EQ(c.EmGetLineCount(), whole.EmGetLineCount());
    EXPECT_EQ(c.EmGetLineCount(), 40001);
    for (const int line : {0, 1, 12345, 39999, 40000})
        EXPECT_EQ(c.EmGetLine(line, 4096), whole.EmGetLine(line, 4096)) << line;
    EXPECT_EQ(c.WmGetText(), whole.WmGetText());
    // A short note is built at once.
    ticks = 0;
    ASSERT_EQ(StreamIn(c, "short\r\nnote"), 0u);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(c.EmGetLineCount(), 2);
}

TEST(LargeNote, LongStretchesWithoutWhiteSpaceAreFound) {
    struct Case {
        QString Text;
        int Limit;
        bool Long;
    };
    const Case cases[] = {
        {QString(), 4, false},
        {QStringLiteral("abcd efgh"), 4, false},
        {QStringLiteral("abcde fgh"), 4, true},
        {QStringLiteral("abcd\nefgh\tijkl") + QChar(QChar::ParagraphSeparator) + "mnop", 4, false},
        {QStringLiteral("ab cd-ef/gh.ij"), 4, true},  // punctuation is no white space
        {QStringLiteral("a b c ") + Repeated(QStringLiteral("z"), 5), 4, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HasLongUnbrokenRun(c.Text, c.Limit), c.Long) << c.Text.toStdString();
    // Read from a document, a stretch goes on across format changes and ends with its paragraph.
    for (const Case& c : cases) {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        for (qsizetype i = 0; i < c.Text.size(); ++i)
            cursor.insertText(c.Text.mid(i, 1), i % 2 ? bold : QTextCharFormat());
        EXPECT_EQ(HasLongUnbrokenRun(doc, c.Limit), c.Long) << c.Text.toStdString();
    }
}

// A note with a stretch that long is laid out with breaks anywhere (the stretch then wraps a
// little differently), and its line view still follows the layout.
TEST(LargeNote, NoteWithAHugeWordWrapsAnywhere) {
    const QString word = Repeated(QStringLiteral("Qx9/"), kLongestUnbrokenRun / 2);
    struct Case {
        const char* Name;
        QString Text;
        QTextOption::WrapMode Mode;
    };
    const Case cases[] = {
        {"ordinary", QStringLiteral("alpha beta gamma\r\ndelta"),
         QTextOption::WrapAtWordBoundaryOrAnywhere},
        {"huge word", QStringLiteral("alpha beta\r\n") + word + QStringLiteral("\r\nend"),
         QTextOption::WrapAnywhere},
    };
    for (const Case& k : cases) {
        RichEditControl c;
        c.resize(273, 273);
        c.show();
        c.WmSetText(k.Text);
        EXPECT_EQ(c.document()->defaultTextOption().wrapMode(), k.Mode) << k.Name;
        EXPECT_EQ(c.wordWrapMode(), k.Mode) << k.Name;
        const int lines = c.EmGetLineCount();
        c.document()->documentLayout()->documentSize();
        int laidOut = 0;
        for (QTextBlock b = c.document()->begin(); b.isValid(); b = b.next())
            laidOut += b.layout()->lineCount();
        EXPECT_EQ(lines, laidOut) << k.Name;
        QString joined;
        for (int i = 0; i < lines; ++i) joined += c.EmGetLine(i, 4096);
        EXPECT_EQ(joined, k.Text) << k.Name;
        // A new ordinary content goes back to breaks at word boundaries.
        c.WmSetText(QStringLiteral("short words"));
        EXPECT_EQ(c.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere) << k.Name;
    }
}

TEST(LargeNote, TypingAHugeWordSwitchesToBreaksAnywhere) {
    const QString piece = Repeated(QStringLiteral("y"), 1000);
    const QString words = Repeated(QStringLiteral("word "), 200);
    const struct {
        const char* Name;
        QString Piece;   // appended again and again at the end
        bool Alternate;  // every other piece bold, so that a stretch spans fragments
        bool Anywhere;
    } cases[] = {
        {"one stretch in short pieces", piece, false, true},
        {"one stretch across formats", piece, true, true},
        {"a long paragraph of words", words, true, false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        RichEditControl c;
        c.resize(273, 273);
        c.show();
        c.EmExLimitText(1 << 30);
        c.WmSetText(QStringLiteral("some words\r\nabc"));
        EXPECT_EQ(c.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        for (int i = 0; i * 1000 <= 2 * kLongestUnbrokenRun; ++i) {
            QTextCharFormat format;
            format.setFontWeight(k.Alternate && i % 2 ? QFont::Bold : QFont::Normal);
            QTextCursor end(c.document());
            end.movePosition(QTextCursor::End);
            end.insertText(k.Piece, format);
        }
        EXPECT_EQ(c.wordWrapMode(), k.Anywhere ? QTextOption::WrapAnywhere
                                               : QTextOption::WrapAtWordBoundaryOrAnywhere);
        EXPECT_TRUE(
            c.WmGetText().startsWith(QStringLiteral("some words\r\nabc") + k.Piece.left(3)));
    }
}

// Bad input in a note long enough to be built in slices: every kind of line end, and NULs (in
// an 8-bit text a NUL ends the text of its 2048-byte chunk), land as in a short note.
TEST(LargeNote, LineEndsAndNulsInALongNote) {
    struct Case {
        const char* Name;
        const char* Ends[3];  // used in turn
        int Lines;            // display lines, the empty one after the last break included
    };
    const Case cases[] = {
        {"LF", {"\n", "\n", "\n"}, 30001},
        {"CR", {"\r", "\r", "\r"}, 30001},
        {"CR LF", {"\r\n", "\r\n", "\r\n"}, 30001},
        {"mixed", {"\r\n", "\n", "\r"}, 30001},
        {"LF CR counts twice", {"\n\r", "\n\r", "\n\r"}, 60001},
    };
    for (const Case& k : cases) {
        std::string bytes;
        for (int i = 0; i < 30000; ++i) bytes += "line " + std::to_string(i) + k.Ends[i % 3];
        RichEditControl c;
        c.setLineWrapMode(QTextEdit::NoWrap);
        ASSERT_EQ(StreamIn(c, bytes), 0u) << k.Name;
        EXPECT_EQ(c.EmGetLineCount(), k.Lines) << k.Name;
        const int step = k.Lines > 30001 ? 2 : 1;
        EXPECT_EQ(c.EmGetLine(12345 * step, 4096), QStringLiteral("line 12345\r\n")) << k.Name;
        EXPECT_EQ(c.EmGetLine(29999 * step, 4096), QStringLiteral("line 29999\r\n")) << k.Name;
    }
    // A NUL cuts the rest of its chunk: the text goes on with the next chunk, nothing shifts.
    std::string bytes(300000, 'a');
    for (size_t i = 100; i < bytes.size(); i += 100) bytes[i] = '\n';
    bytes[5000] = '\0';
    RichEditControl c;
    c.setLineWrapMode(QTextEdit::NoWrap);
    ASSERT_EQ(StreamIn(c, bytes), 0u);
    std::string kept = bytes.substr(0, 5000) + bytes.substr(6144);
    QString expected;
    for (const char b : kept) expected += b == '\n' ? QStringLiteral("\r\n") : QString(QChar(b));
    EXPECT_EQ(c.WmGetText(), expected);
}

// Qt's lazy layout stalls for good once it resumes below the page height it assumes for a
// document without one (2^23 pixels) and must go past it; with a taller page a note taller
// than that is laid out while idle, step by step, and then answers at its end. Should the stall
// come back, the alarm ends the test instead of the run hanging.
TEST(LargeNote, TallNoteAnswersAtItsEnd) {
    RichEditControl c;
    c.resize(273, 273);
    c.show();
    const double wall = 8'388'608.0;
    const int lines = int(1.1 * wall / QFontMetricsF(c.document()->defaultFont()).lineSpacing());
    std::string bytes;
    bytes.reserve(size_t(lines) * 12);
    for (int i = 0; i < lines; ++i) bytes += "line " + std::to_string(i) + "\r\n";

    alarm(600);
    ASSERT_EQ(StreamIn(c, bytes), 0u);
    // Laid out while idle, step by step, past the height where Qt's layout used to stall.
    while (c.LayoutPending()) QCoreApplication::processEvents();
    QTextCursor end = c.textCursor();
    end.movePosition(QTextCursor::End);
    c.setTextCursor(end);
    c.insertPlainText(QStringLiteral("x"));
    QCoreApplication::processEvents();
    alarm(0);

    QTextDocument* doc = c.document();
    EXPECT_GT(doc->documentLayout()->blockBoundingRect(doc->lastBlock()).y(), wall);
    EXPECT_EQ(c.EmGetLineCount(), lines + 1);
    EXPECT_EQ(c.EmGetLine(lines, 64), QStringLiteral("x"));
}

// A long note is laid out while the program is idle, a few milliseconds at a time, so that a
// jump to its end finds its paragraphs laid out instead of laying out megabytes at once.
TEST(LargeNote, LongNoteIsLaidOutWhileIdle) {
    RichEditControl c;
    c.resize(273, 273);
    c.show();
    std::string bytes;
    for (int i = 0; bytes.size() < 600'000; ++i)
        bytes += "a line of words " + std::to_string(i) + "\n";
    ASSERT_EQ(StreamIn(c, bytes), 0u);
    QElapsedTimer waited;
    waited.start();
    while (c.LayoutPending() && waited.elapsed() < 60'000) QCoreApplication::processEvents();
    EXPECT_FALSE(c.LayoutPending());
    EXPECT_GT(c.document()->lastBlock().layout()->lineCount(), 0);
}

// A jump to the end of a long note before the layout ahead reaches it waits for that layout
// with the program's timers running, instead of Qt laying out megabytes in one call.
TEST(LargeNote, JumpAheadOfTheLayoutLetsTimersRun) {
    std::string bytes;
    for (int i = 0; bytes.size() < 900'000; ++i)
        bytes += "line " + std::to_string(i) + " of a log\n";
    const auto keyPress = [](int key, Qt::KeyboardModifiers modifiers) {
        return [key, modifiers](RichEditControl& c) {
            QKeyEvent press(QEvent::KeyPress, key, modifiers);
            QCoreApplication::sendEvent(&c, &press);
        };
    };
    const struct {
        const char* Name;
        std::function<void(RichEditControl&)> Jump;
        bool Selects;
    } jumps[] = {
        {"Ctrl+End", keyPress(Qt::Key_End, Qt::ControlModifier), false},
        {"Ctrl+Shift+End", keyPress(Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier), true},
        {"Ctrl+A", keyPress(Qt::Key_A, Qt::ControlModifier), true},
        {"select all",
         [](RichEditControl& c) {
             c.EmExSetSel({0, -1});
         },
         true},
        {"caret to the end",
         [](RichEditControl& c) {
             c.EmExSetSel({-1, 0}), c.EmExSetSel({c.EmGetTextLength(), c.EmGetTextLength()});
         },
         false},
    };
    for (const auto& jump : jumps) {
        SCOPED_TRACE(jump.Name);
        RichEditControl c;
        c.resize(273, 273);
        c.show();
        ASSERT_EQ(StreamIn(c, bytes), 0u);
        ASSERT_TRUE(c.LayoutPending());
        int ticks = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
        tick.start(0);
        jump.Jump(c);
        EXPECT_GT(ticks, 3);
        const QTextCursor caret = c.textCursor();
        EXPECT_EQ(caret.position(), c.document()->characterCount() - 1);
        EXPECT_EQ(caret.hasSelection(), jump.Selects);
        EXPECT_GT(c.document()->lastBlock().layout()->lineCount(), 0);
    }
}

// A paste of plain text too long to lay out in one go goes in slices, with the program's timers
// running in between, and is undone in one step.
TEST(LargeNote, LongPasteLetsTimersRunAndUndoesAsOne) {
    QString pasted;
    for (int i = 0; pasted.size() < 500'000; ++i) pasted += QStringLiteral("line %1\n").arg(i);
    for (int i = 0; i < 5000; ++i)
        pasted += QStringLiteral("word%1 ").arg(i);  // one long paragraph
    pasted += QString::fromUtf16(u"\U0001F600");
    RichEditControl c;
    c.resize(273, 273);
    c.show();
    c.EmExLimitText(1 << 30);
    c.WmSetText(QStringLiteral("ab\r\ncd"));
    c.EmExSetSel({1, 1});
    QApplication::clipboard()->setText(pasted);
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
    tick.start(0);
    c.paste();
    EXPECT_GT(ticks, 0);
    QString expected = pasted;
    expected.replace(u'\n', QStringLiteral("\r\n"));
    EXPECT_TRUE(c.WmGetText() == QStringLiteral("a") + expected + QStringLiteral("b\r\ncd"));
    EXPECT_EQ(c.EmExGetSel().cpMin, 1 + expected.size());
    c.undo();
    EXPECT_EQ(c.WmGetText(), QStringLiteral("ab\r\ncd"));
}

// A copy of more than a slice goes back in a slice at a time: the same text, formats and
// paragraphs, timers running in between, one undo step, even when the clipboard lets the copy
// go meanwhile. The copy has a character outside the Basic Multilingual Plane across the first
// cut and a paragraph held in pieces.
TEST(LargeNote, LongOwnCopyPastesInSlicesAsItWas) {
    QString text;
    for (int i = 0; text.size() < 262'143 - 12; ++i) text += QStringLiteral("line %1\n").arg(i);
    text += QString(262'143 - text.size(), u'x') + QString::fromUtf16(u"\U0001F600");
    for (int i = 0; i < 5000; ++i) text += QStringLiteral(" word%1").arg(i);  // in pieces
    for (int i = 0; text.size() < 600'000; ++i) text += QStringLiteral("\nmore %1").arg(i);
    RichEditControl from;
    from.EmExLimitText(1 << 30);
    from.WmSetText(text);
    QTextCursor format(from.document());
    format.beginEditBlock();
    for (QTextBlock b = from.document()->begin(); b.isValid(); b = b.next()) {
        // Alignment belongs to a whole paragraph, so not to one of its pieces.
        if (b.blockNumber() % 11 == 3 && !b.text().contains(u"word")) {
            format.setPosition(b.position());
            QTextBlockFormat centred = b.blockFormat();
            centred.setAlignment(Qt::AlignHCenter);
            format.setBlockFormat(centred);
        }
        if (b.blockNumber() % 7 == 2 && b.length() > 3) {
            format.setPosition(b.position() + 1);
            format.setPosition(b.position() + b.length() - 1, QTextCursor::KeepAnchor);
            QTextCharFormat bold;
            bold.setFontWeight(QFont::Bold);
            format.mergeCharFormat(bold);
        }
    }
    format.endEditBlock();
    // The copy lets timers run too; one of them changes the note meanwhile, and the copy is
    // what the note holds after the change.
    from.EmExSetSel({0, -1});
    int copyTicks = 0;
    QTimer edit;
    QObject::connect(&edit, &QTimer::timeout, [&] {
        if (++copyTicks == 1) QTextCursor(from.document()).insertText(QStringLiteral("changed "));
    });
    edit.start(0);
    from.copy();
    edit.stop();
    EXPECT_GT(copyTicks, 0);
    EXPECT_TRUE(QApplication::clipboard()->text() ==
                from.EmGetSelText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    from.EmExSetSel({0, -1});
    from.copy();

    RichEditControl to;
    to.resize(273, 273);
    to.show();
    to.EmExLimitText(1 << 30);
    // Another program takes the clipboard while the paste goes on, which deletes the copy.
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&ticks] {
        if (++ticks == 1) QApplication::clipboard()->setText(QStringLiteral("theirs"));
    });
    tick.start(0);
    to.paste();
    EXPECT_GT(ticks, 0);
    EXPECT_TRUE(to.WmGetText() == from.WmGetText());
    EXPECT_TRUE(to.document()->toHtml() == from.document()->toHtml());
    EXPECT_EQ(to.EmExGetSel().cpMin, to.EmGetTextLength());
    to.undo();
    EXPECT_EQ(to.WmGetText(), QString());

    // Dropped: Qt's drop holds an edit block of its own around the slices.
    from.copy();
    const QMimeData* dragged = QApplication::clipboard()->mimeData();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(to.viewport(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(to.viewport(), &drop);
    EXPECT_TRUE(to.WmGetText() == from.WmGetText());
    to.undo();
    EXPECT_EQ(to.WmGetText(), QString());
}
