// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/rtf/ParagraphPieces.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "platform/rtf/DeferredFormats.h"

namespace RichEdit {

namespace {

// How far back from a piece's planned end a space is looked for, so that the early line end
// falls between words.
constexpr int kSpaceSearchChars = kPieceChars / 8;

// Where the piece of `text` that begins at `from` ends: after the last space or tab near its
// planned end, else there, never inside a surrogate pair.
qsizetype PieceEnd(QStringView text, qsizetype from) {
    const qsizetype planned = from + kPieceChars;
    for (qsizetype i = planned; i > planned - kSpaceSearchChars; --i) {
        const QChar c = text.at(i - 1);
        if (c == u' ' || c == u'\t') return i;
    }
    return text.at(planned - 1).isHighSurrogate() ? planned - 1 : planned;
}

// Document positions at which `block` is split: pieces of about kPieceChars, the last of them
// not much shorter.
void AddCuts(const QTextBlock& block, std::vector<int>& cuts) {
    const QString text = block.text();
    const qsizetype size = text.size();
    qsizetype from = 0;
    while (size - from > kPieceChars + kPieceChars / 2) {
        from = PieceEnd(text, from);
        cuts.push_back(block.position() + int(from));
    }
}

// A piece after the first: no first-line indent, no space or page break above it.
QTextBlockFormat ContinuationFormat(QTextBlockFormat format) {
    format.setProperty(kContinuesParagraph, true);
    format.setTextIndent(0);
    format.setTopMargin(0);
    format.setPageBreakPolicy(format.pageBreakPolicy() & ~QTextFormat::PageBreak_AlwaysBefore);
    return format;
}

// Where the paragraphs longer than kLongParagraphChars that touch the document positions from
// `from` to `to` are split, ascending.
std::vector<int> CutsBetween(const QTextDocument& doc, int from, int to) {
    std::vector<int> cuts;
    for (QTextBlock block = doc.findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        if (block.length() - 1 > kLongParagraphChars) AddCuts(block, cuts);
    }
    return cuts;
}

// From the end, so that the positions found before stay true. The new block takes the text
// after the cut; the space below the paragraph stays with its last piece. Inside an edit block
// the cursor does not shape a long paragraph at every move.
void Cut(QTextCursor& cursor, const std::vector<int>& cuts) {
    cursor.beginEditBlock();
    for (auto it = cuts.rbegin(); it != cuts.rend(); ++it) {
        cursor.setPosition(*it);
        const QTextBlock block = cursor.block();
        QTextBlockFormat above = block.blockFormat();
        QTextBlockFormat below = ContinuationFormat(above);
        above.setBottomMargin(0);
        cursor.setBlockFormat(above);
        cursor.insertBlock(below, cursor.charFormat());
    }
    cursor.endEditBlock();
}

}  // namespace

bool ContinuesParagraph(const QTextBlock& block) {
    return block.blockFormat().boolProperty(kContinuesParagraph) && block.previous().isValid();
}

int BreakLongParagraphs(QTextDocument& doc, DeferredFormats* deferred) {
    const std::vector<int> cuts = CutsBetween(doc, 0, doc.characterCount());
    if (cuts.empty()) return 0;
    const bool undo = doc.isUndoRedoEnabled();
    const bool modified = doc.isModified();
    doc.setUndoRedoEnabled(false);
    QTextCursor cursor(&doc);
    Cut(cursor, cuts);
    doc.setUndoRedoEnabled(undo);
    doc.setModified(modified);
    if (deferred) deferred->MakeRoomAt(cuts);
    return int(cuts.size());
}

int BreakLongParagraphsIn(QTextDocument& doc, int from, int to) {
    const std::vector<int> cuts = CutsBetween(doc, from, to);
    if (cuts.empty()) return 0;
    QTextCursor cursor(&doc);
    Cut(cursor, cuts);
    return int(cuts.size());
}

int PieceJoints::UpToBlock(int number) const {
    return int(std::upper_bound(Blocks.begin(), Blocks.end(), number) - Blocks.begin());
}

int PieceJoints::Before(int docPos) const {
    return int(std::lower_bound(Separators.begin(), Separators.end(), docPos) - Separators.begin());
}

PieceJoints FindJoints(const QTextDocument& doc) {
    PieceJoints joints;
    int number = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next(), ++number) {
        if (!ContinuesParagraph(block)) continue;
        joints.Blocks.push_back(number);
        joints.Separators.push_back(block.position() - 1);
    }
    return joints;
}

QString WithoutJoints(QStringView raw, int base, const PieceJoints& joints) {
    auto it = std::lower_bound(joints.Separators.begin(), joints.Separators.end(), base);
    const auto end = std::lower_bound(it, joints.Separators.end(), base + int(raw.size()));
    if (it == end) return raw.toString();
    QString out;
    out.reserve(raw.size());
    qsizetype from = 0;
    for (; it != end; ++it) {
        const qsizetype at = *it - base;
        out += raw.mid(from, at - from);
        from = at + 1;
    }
    out += raw.mid(from);
    return out;
}

void EndPiecesIn(QTextDocument& doc, int from, int to) {
    QTextCursor cursor(&doc);
    bool joined = false;
    for (QTextBlock block = doc.findBlock(from + 1); block.isValid() && block.position() <= to;
         block = block.next()) {
        if (block.position() <= from || !block.blockFormat().hasProperty(kContinuesParagraph))
            continue;
        if (!joined) cursor.joinPreviousEditBlock();
        joined = true;
        QTextBlockFormat format = block.blockFormat();
        format.clearProperty(kContinuesParagraph);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
    if (joined) cursor.endEditBlock();
}

void ExtendToWholeParagraphs(QTextCursor& cursor) {
    QTextDocument* doc = cursor.document();
    QTextBlock first = doc->findBlock(cursor.selectionStart());
    QTextBlock last = doc->findBlock(cursor.selectionEnd());
    while (ContinuesParagraph(first)) first = first.previous();
    while (ContinuesParagraph(last.next())) last = last.next();
    cursor.setPosition(first.position());
    cursor.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
}

void JoinPieces(QTextDocument& doc) {
    const PieceJoints joints = FindJoints(doc);
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    // From the end, so that the positions found stay true.
    for (auto it = joints.Separators.rbegin(); it != joints.Separators.rend(); ++it) {
        cursor.setPosition(*it);
        cursor.deleteChar();
    }
    cursor.endEditBlock();
}

}  // namespace RichEdit
