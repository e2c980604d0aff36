// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A paragraph too long to lay out again at every keystroke, held in pieces. Qt lays a changed
// paragraph out whole, so one of megabytes (a log written as one line, a minified file, a
// paragraph of many thousands of formatted runs) costs seconds at every keystroke and at its
// first paint. A loaded note's long paragraphs are therefore split into blocks of some
// thousands of characters; every block after the first of a paragraph carries
// kContinuesParagraph on its block format. The separator before such a block is a joint: it
// counts as no character in positions, ends no line of text, and is written to no file. Its
// only trace is a line that ends a little early, where a piece ends.
#include <QStringView>
#include <QTextFormat>
#include <span>
#include <vector>

class QTextBlock;
class QTextCursor;
class QTextDocument;

namespace RichEdit {

class DeferredFormats;

// bool on a block format: the block goes on with the paragraph of the block before it.
constexpr int kContinuesParagraph = QTextFormat::UserProperty + 0x300;
// Characters in a piece, give or take the search for a space to end it at.
constexpr int kPieceChars = 8 * 1024;
// Paragraphs longer than this are split.
constexpr int kLongParagraphChars = 2 * kPieceChars;

// Whether `block` goes on with the paragraph before it (never so for the first block).
bool ContinuesParagraph(const QTextBlock& block);

// Splits each paragraph of `doc` longer than kLongParagraphChars into pieces, ended after a
// space where one is near, and moves the runs of `deferred` (when given) with their text. The
// document's undo history gets no step. Returns how many joints it made.
int BreakLongParagraphs(QTextDocument& doc, DeferredFormats* deferred);
// The same for the paragraphs that touch document positions `from` to `to`, after text was
// inserted there, as an edit that can be undone: inside the caller's edit block, it is part of
// the same undo step.
int BreakLongParagraphsIn(QTextDocument& doc, int from, int to);

// The joints of a document: the numbers of the blocks that continue a paragraph, and the
// document positions of the separators before them, both ascending.
struct PieceJoints {
    std::vector<int> Blocks;
    std::vector<int> Separators;

    bool Empty() const { return Blocks.empty(); }
    // Joints up to and including block `number`.
    int UpToBlock(int number) const;
    // Joints whose separator lies before document position `docPos`.
    int Before(int docPos) const;
};
PieceJoints FindJoints(const QTextDocument& doc);

// `raw`, the raw text from document position `base` on, without the joints' separators.
QString WithoutJoints(QStringView raw, int base, const PieceJoints& joints);

// A new paragraph break typed or inserted at the end of a piece takes the piece's block format:
// the blocks that start in (from, to] become paragraphs of their own again, in the same undo
// step as the edit that made them.
void EndPiecesIn(QTextDocument& doc, int from, int to);

// Widens `cursor`'s selection to the whole paragraphs it touches, every piece of them.
void ExtendToWholeParagraphs(QTextCursor& cursor);

// Joins every paragraph's pieces into one block again (for a copy that leaves the program).
void JoinPieces(QTextDocument& doc);

}  // namespace RichEdit
