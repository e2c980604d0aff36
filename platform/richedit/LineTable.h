// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The display lines of a document: where each starts, how long it is and whether a paragraph
// break ends it. Built in one pass over the document's blocks and kept until the text, the
// width or the wrapping changes. With wrapping, paragraphs Qt has laid out give their own lines
// and the others are predicted (LineBreaker) rather than laid out, so that the walk does not
// cost a layout of the whole document.
#include <QTextDocument>
#include <vector>

#include "platform/richedit/LineBreaker.h"
#include "platform/rtf/ParagraphPieces.h"

class QTextLayout;

namespace RichEdit {

class LineTable {
public:
    struct Line {
        int DocStart;  // document position of the first character
        int Length;    // characters, without a break that ends the line
        int Block;     // the number of the block it is in
    };

    // Reads the lines of `doc`, whose raw text (QTextDocument::toRawText) is `raw`. With
    // `wrapped` the lines are those of the layout at the document's text width: read from Qt
    // where it has laid a paragraph out, predicted or laid out by Qt paragraph by paragraph
    // elsewhere. Otherwise each paragraph is one line (split only where it holds a line
    // separator) and nothing is laid out.
    // Blocks that continue a paragraph (`joints`) end no paragraph before them.
    void Build(const QTextDocument& doc, bool wrapped, QStringView raw,
               const PieceJoints& joints = {});
    void Invalidate() { FValid = false; }
    bool Valid() const { return FValid; }
    // How many times the table was built: walking the lines must not rebuild it.
    int Builds() const { return FBuilds; }

    int Count() const { return int(FLines.size()); }
    const Line& At(int index) const { return FLines[size_t(index)]; }
    // Character position of a line's start: every earlier paragraph break counts twice, every
    // joint between pieces of a paragraph not at all.
    int Start(int index) const {
        return At(index).DocStart + At(index).Block - 2 * FJoints.UpToBlock(At(index).Block);
    }
    bool EndsParagraph(int index) const {
        if (index + 1 >= Count()) return false;
        const int next = At(index + 1).Block;
        return next != At(index).Block && FJoints.UpToBlock(next) == FJoints.UpToBlock(next - 1);
    }
    // The line holding character position `cp`; the last line for positions beyond the text.
    int LineFromChar(int cp) const;

private:
    void AddPredictedLines(const QTextBlock& block, QStringView text, LineBreaker& breaker);
    void AddSpans(QStringView text, int base, int number);
    // The lines Qt has laid `block` out in, if they are current for `widths` and the text.
    static bool ReadQtLines(const QTextLayout* layout, LineBreaker::Widths widths, int length,
                            std::vector<LineBreaker::Span>& spans);
    static void ReadLayout(const QTextLayout& layout, std::vector<LineBreaker::Span>& spans);
    static void LayOutAlone(const QTextDocument& doc, const QTextBlock& block,
                            LineBreaker::Widths widths, std::vector<LineBreaker::Span>& spans);

    // Paragraphs in a row without Qt's layout, after which Qt is no longer asked.
    static constexpr int kUnlaidRunLimit = 64;
    int FUnlaidRun = 0;
    std::vector<LineBreaker::Span> FSpans;  // one paragraph's lines, reused

    std::vector<Line> FLines;
    PieceJoints FJoints;
    bool FValid = false;
    int FBuilds = 0;
};

}  // namespace RichEdit
