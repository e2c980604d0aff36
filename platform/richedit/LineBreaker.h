// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Predicts the display lines the document layout will give a paragraph it has not laid out yet,
// without running Qt's text engine over the paragraph: the text is cut where the layout may
// break it (after each run of spaces, and where the line-break analysis allows inside a run of
// other characters), each piece is measured once per font and text and kept, and pieces are
// put on lines by the rule the layout follows. Anything outside what that rule models (other
// scripts, tabs, objects, letter spacing, a word wider than the line...) is refused, and the
// caller lays that paragraph out with Qt instead, so a prediction never differs from the screen.
#include <QStringView>
#include <QTextDocument>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/richedit/FontMeasure.h"
#include "platform/richedit/RunBreaks.h"

class QTextBlock;
class QTextBlockFormat;
class QTextFragment;

namespace RichEdit {

class LineBreaker {
public:
    // A display line: first character and length inside the paragraph, as QTextLine's
    // textStart and textLength (trailing spaces and a line separator included).
    struct Span {
        int Start;
        int Length;
    };
    // The widths the layout gives a paragraph's first line and the others.
    struct Widths {
        Fixed First;
        Fixed Other;
    };

    explicit LineBreaker(const QTextDocument& doc);
    ~LineBreaker();
    LineBreaker(const LineBreaker&) = delete;
    LineBreaker& operator=(const LineBreaker&) = delete;

    // Whether the document is laid out the way the prediction models: the standard layout, no
    // frames or tables, wrapping at word boundaries or anywhere, no paint device.
    bool Usable() const { return FUsable; }
    // The widths of `block`'s lines; false when its format is outside the model (lists,
    // right-to-left, unbreakable lines...) and Qt must lay it out in the document.
    bool BlockWidths(const QTextBlock& block, Widths& widths);
    enum class Outcome {
        Predicted,
        LayOutAlone,       // outside the model: lay the paragraph out with Qt on its own
        LayOutInDocument,  // its lines depend on the document around it (objects, lists...)
    };
    // Appends the lines of `block`, whose text is `text` and whose widths BlockWidths gave
    // (modelled), when they can be predicted; otherwise appends nothing and says how Qt must
    // lay the paragraph out instead.
    Outcome Break(const QTextBlock& block, QStringView text, Widths widths,
                  std::vector<Span>& lines);

private:
    struct Run {
        int Start, End;  // characters of one format, inside the paragraph
        FontMeasure* Measure;
    };
    class Paragraph;

    static bool DocumentUsable(const QTextDocument& doc);
    bool BlockUsable(const QTextBlock& block, const QTextBlockFormat& format) const;
    Widths LineWidths(const QTextBlockFormat& format) const;
    FontMeasure* MeasureFor(const QTextFragment& fragment);
    bool CollectRuns(const QTextBlock& block, int length);

    const QTextDocument& FDoc;
    bool FUsable;
    Fixed FFrameLeft = 0, FFrameRight = 0;
    struct BlockFormat {
        Widths Lines;
        bool Modelled;
    };
    std::unordered_map<int, BlockFormat> FBlockFormats;
    std::unordered_map<int, FontMeasure*> FFormats;  // null: a format the model leaves to Qt
    std::vector<std::unique_ptr<FontMeasure>> FMeasures;
    std::vector<Run> FRuns;
    RunBreaks FBreaks;
};

}  // namespace RichEdit
