// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/richedit/LineTable.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <memory>

namespace RichEdit {

void LineTable::Build(const QTextDocument& doc, bool wrapped, QStringView raw,
                      const PieceJoints& joints) {
    FLines.clear();
    FJoints = joints;
    std::unique_ptr<LineBreaker> breaker;
    if (wrapped) {
        breaker = std::make_unique<LineBreaker>(doc);
        // A document the prediction does not model is laid out whole, once, up front.
        if (!breaker->Usable()) {
            breaker.reset();
            if (doc.documentLayout()) doc.documentLayout()->documentSize();
        }
    }
    FLines.reserve(size_t(doc.blockCount()));
    FUnlaidRun = 0;
    // Positions and numbers are counted along, not looked up in the block tree per block.
    int position = 0, number = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next(), ++number) {
        const int length = block.length();
        const QStringView text = raw.mid(position, std::max(0, length - 1));
        FSpans.clear();
        if (breaker && block.isVisible())
            AddPredictedLines(block, text, *breaker);
        else if (const QTextLayout* layout = wrapped ? block.layout() : nullptr)
            ReadLayout(*layout, FSpans);
        AddSpans(text, position, number);
        position += length;
    }
    if (FLines.empty()) FLines.push_back({0, 0, 0});
    FValid = true;
    ++FBuilds;
}

// Qt's own lines where it has laid the paragraph out at today's widths, else predicted, else
// Qt's layout of this paragraph alone. Qt lays a document out from its start, so once a long
// stretch of paragraphs has no layout the rest is predicted without asking: asking makes Qt
// create a layout object for every paragraph.
void LineTable::AddPredictedLines(const QTextBlock& block, QStringView text, LineBreaker& breaker) {
    LineBreaker::Widths widths{};
    const bool modelled = breaker.BlockWidths(block, widths);
    const QTextLayout* layout = FUnlaidRun < kUnlaidRunLimit ? block.layout() : nullptr;
    if (layout) FUnlaidRun = layout->lineCount() > 0 ? 0 : FUnlaidRun + 1;
    if (ReadQtLines(layout, widths, int(text.size()), FSpans)) return;
    const LineBreaker::Outcome outcome = modelled ? breaker.Break(block, text, widths, FSpans)
                                                  : LineBreaker::Outcome::LayOutInDocument;
    switch (outcome) {
        case LineBreaker::Outcome::Predicted:
            break;
        case LineBreaker::Outcome::LayOutAlone:
            LayOutAlone(*block.document(), block, widths, FSpans);
            break;
        case LineBreaker::Outcome::LayOutInDocument:
            block.document()->documentLayout()->blockBoundingRect(block);
            ReadLayout(*block.layout(), FSpans);
            break;
    }
}

// A paragraph without lines (not laid out, or not wrapped) is one line, split only at line
// separators. A line that ends in a line separator is broken there: the separator is not line
// text.
void LineTable::AddSpans(QStringView text, int base, int number) {
    if (FSpans.empty()) {
        int start = 0;
        for (qsizetype i = text.indexOf(QChar::LineSeparator); i >= 0;
             i = text.indexOf(QChar::LineSeparator, i + 1)) {
            FSpans.push_back({start, int(i) + 1 - start});
            start = int(i) + 1;
        }
        FSpans.push_back({start, int(text.size()) - start});
    }
    for (const LineBreaker::Span& span : FSpans) {
        int count = span.Length;
        if (count > 0 && text.at(span.Start + count - 1) == QChar::LineSeparator) --count;
        FLines.push_back({base + span.Start, count, number});
    }
}

// Qt keeps a paragraph's lines after the width or the text changed until it lays the paragraph
// out again: lines are taken only when they were made at today's widths and cover the text.
bool LineTable::ReadQtLines(const QTextLayout* layout, LineBreaker::Widths widths, int length,
                            std::vector<LineBreaker::Span>& spans) {
    const int count = layout ? layout->lineCount() : 0;
    if (count == 0) return false;
    int next = 0;
    for (int i = 0; i < count; ++i) {
        const QTextLine line = layout->lineAt(i);
        if (line.textStart() != next ||
            ToFixed(line.width()) != (i == 0 ? widths.First : widths.Other)) {
            spans.clear();
            return false;
        }
        spans.push_back({next, line.textLength()});
        next += line.textLength();
    }
    if (next == length) return true;
    spans.clear();
    return false;
}

void LineTable::ReadLayout(const QTextLayout& layout, std::vector<LineBreaker::Span>& spans) {
    spans.clear();
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        spans.push_back({line.textStart(), line.textLength()});
    }
}

// The paragraph laid out by a layout of its own, with the options the document layout uses.
void LineTable::LayOutAlone(const QTextDocument& doc, const QTextBlock& block,
                            LineBreaker::Widths widths, std::vector<LineBreaker::Span>& spans) {
    QTextLayout layout(block);
    QTextOption option = doc.defaultTextOption();
    const QTextBlockFormat format = block.blockFormat();
    option.setTextDirection(block.textDirection());
    option.setTabs(format.tabPositions());
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
        line.setLineWidth(double(line.lineNumber() == 0 ? widths.First : widths.Other) / 64.0);
    layout.endLayout();
    ReadLayout(layout, spans);
}

int LineTable::LineFromChar(int cp) const {
    int lo = 0, hi = Count() - 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (Start(mid) <= cp)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

}  // namespace RichEdit
