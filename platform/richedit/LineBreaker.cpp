// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/richedit/LineBreaker.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <cstdint>

namespace RichEdit {

namespace {

// What a character is to the prediction. Anything not listed is left to Qt.
enum Kind : std::uint8_t {
    kUnsafe,
    kSpace,      // U+0020, after which a line may always break
    kLetter,     // letters and digits: never a break between two of them
    kMark,       // other printable Latin-1: breaks come from the line-break analysis
    kSeparator,  // U+2028: ends its line, and belongs to it
};

std::array<Kind, 256> MakeKinds() {
    std::array<Kind, 256> kinds{};
    kinds[0x20] = kSpace;
    for (int c = 0x21; c < 0x7F; ++c) {
        const bool letter =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        kinds[size_t(c)] = letter ? kLetter : kMark;
    }
    for (int c = 0xA1; c < 0x100; ++c) kinds[size_t(c)] = c >= 0xC0 ? kLetter : kMark;
    kinds[0xD7] = kinds[0xF7] = kMark;  // multiplication and division signs
    kinds[0xAD] = kUnsafe;              // soft hyphen: drawn only where a line breaks
    return kinds;
}

const std::array<Kind, 256> kKinds = MakeKinds();

Kind KindOf(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x100) return kKinds[u];
    return u == QChar::LineSeparator ? kSeparator : kUnsafe;
}

bool SpacingPlain(const QFont& font) {
    const qreal letter = font.letterSpacing();
    const bool letterPlain = font.letterSpacingType() == QFont::AbsoluteSpacing
                                 ? letter == 0
                                 : (letter == 0 || letter == 100);
    return letterPlain && font.wordSpacing() == 0 &&
           (font.stretch() == QFont::AnyStretch || font.stretch() == QFont::Unstretched) &&
           font.capitalization() == QFont::MixedCase;
}

bool FormatUsable(const QTextCharFormat& format) {
    const auto align = format.verticalAlignment();
    return format.objectType() == QTextFormat::NoObject && !format.isImageFormat() &&
           align != QTextCharFormat::AlignSubScript && align != QTextCharFormat::AlignSuperScript;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// One paragraph's walk: pieces are put on the current line while they fit, as the layout does.
// The layout adds a piece to a line when the line so far, the spaces before the piece and the
// piece itself (its last glyph's advance taking the kerning with what follows) fit the width;
// near the edge it adds the ink of the piece's last glyph that reaches past its advance. The
// first piece of a line is taken whatever its width; if the finished line is then too wide the
// layout breaks it anywhere, which the prediction does not model.

class LineBreaker::Paragraph {
public:
    Paragraph(LineBreaker& owner, QStringView text, Widths widths, std::vector<Span>& lines)
        : FOwner(owner), FText(text), FWidths(widths), FLines(lines), FWidth(widths.First) {}

    bool Walk();

private:
    const Run& RunAt(int pos);
    Fixed Measure(int from, int to);
    Fixed JoinAdjust(int at);
    bool OverhangAt(int pos, Fixed& overhang);
    bool WalkRun(int from, int to, bool marks);
    bool Piece(int from, int to);
    bool Spaces(int from, int to);
    bool Separator(int at);
    bool Finish();
    bool EndLine(int end);
    void NewLine(int start);

    LineBreaker& FOwner;
    QStringView FText;
    Widths FWidths;
    std::vector<Span>& FLines;
    size_t FRunIndex = 0;
    int FLineStart = 0;
    Fixed FWidth;
    Fixed FAccepted = 0;  // the line so far, without the spaces after its last piece
    Fixed FPending = 0;   // those spaces: they join the line with the next piece
    bool FHasText = false;
};

bool LineBreaker::Paragraph::Walk() {
    const int n = int(FText.size());
    int pos = 0;
    while (pos < n) {
        const Kind kind = KindOf(FText[pos]);
        if (kind == kUnsafe) return false;
        if (kind == kSeparator) {
            if (!Separator(pos)) return false;
            ++pos;
            continue;
        }
        int end = pos + 1;
        if (kind == kSpace) {
            while (end < n && KindOf(FText[end]) == kSpace) ++end;
            if (!Spaces(pos, end)) return false;
        } else {
            bool marks = kind == kMark;
            for (; end < n; ++end) {
                const Kind k = KindOf(FText[end]);
                if (k != kLetter && k != kMark) break;
                marks = marks || k == kMark;
            }
            if (!WalkRun(pos, end, marks)) return false;
        }
        pos = end;
    }
    return Finish();
}

// A run without spaces: one piece, or several where the line-break analysis allows a break.
bool LineBreaker::Paragraph::WalkRun(int from, int to, bool marks) {
    int start = from;
    if (marks) {
        for (const int at : FOwner.FBreaks.Inside(FText.mid(from, to - from))) {
            if (!Piece(start, from + at)) return false;
            start = from + at;
        }
    }
    return Piece(start, to);
}

const LineBreaker::Run& LineBreaker::Paragraph::RunAt(int pos) {
    const std::vector<Run>& runs = FOwner.FRuns;
    if (FRunIndex >= runs.size() || pos < runs[FRunIndex].Start) FRunIndex = 0;
    while (runs[FRunIndex].End <= pos) ++FRunIndex;
    return runs[FRunIndex];
}

// Advance of [from, to): each format's part is shaped on its own, as the layout shapes each.
Fixed LineBreaker::Paragraph::Measure(int from, int to) {
    Fixed sum = 0;
    while (from < to) {
        const Run& run = RunAt(from);
        const int end = std::min(to, run.End);
        sum += run.Measure->Advance(FText.mid(from, end - from));
        from = end;
    }
    return sum;
}

// The kerning the character before `at` takes from the one at `at`, when both are shaped
// together: same format, and no line separator (which stands alone).
Fixed LineBreaker::Paragraph::JoinAdjust(int at) {
    if (at <= 0 || at >= int(FText.size())) return 0;
    const QChar next = FText[at];
    const Kind kind = KindOf(next);
    if (kind == kUnsafe || kind == kSeparator) return 0;
    const Run& run = RunAt(at - 1);
    if (at >= run.End) return 0;
    return run.Measure->PairAdjust(FText[at - 1].unicode(), next.unicode());
}

// Ink past the advance of the glyph at `pos`; false when that glyph may be a ligature, whose
// ink the character's own glyph does not tell.
bool LineBreaker::Paragraph::OverhangAt(int pos, Fixed& overhang) {
    const Run& run = RunAt(pos);
    const QChar c = FText[pos];
    if (KindOf(c) != kSpace && pos > run.Start && KindOf(FText[pos - 1]) != kSpace &&
        run.Measure->Ligates(FText[pos - 1].unicode(), c.unicode()))
        return false;
    overhang = run.Measure->Overhang(c.unicode());
    return true;
}

bool LineBreaker::Paragraph::Piece(int from, int to) {
    const Fixed width = Measure(from, to) + JoinAdjust(to);
    Fixed base = FAccepted + FPending + width;
    Fixed overhang = 0;
    if (base + RunAt(to - 1).Measure->MaxOverhang() > FWidth && !OverhangAt(to - 1, overhang))
        return false;
    if (FHasText && base + overhang > FWidth) {
        if (!EndLine(from)) return false;
        base = width;
    }
    FAccepted = base;
    FPending = 0;
    FHasText = true;
    return true;
}

bool LineBreaker::Paragraph::Spaces(int from, int to) {
    FPending += Measure(from, to) + JoinAdjust(to);
    // Spaces wider than the line are cut by the layout itself.
    return FPending <= FWidth;
}

// A line separator ends the line, with any spaces before it, whether or not they fit.
bool LineBreaker::Paragraph::Separator(int at) {
    if (FAccepted > FWidth) return false;
    FLines.push_back({FLineStart, at + 1 - FLineStart});
    NewLine(at + 1);
    return true;
}

// The paragraph's last line; after a final line separator an empty one, as the layout adds.
bool LineBreaker::Paragraph::Finish() {
    const int n = int(FText.size());
    Fixed overhang = 0;
    if (FPending == 0 && FLineStart < n && !OverhangAt(n - 1, overhang)) return false;
    if (FAccepted + overhang > FWidth) return false;
    FLines.push_back({FLineStart, n - FLineStart});
    return true;
}

// Ends the line before `end`, where a piece did not fit; the spaces before it stay behind.
bool LineBreaker::Paragraph::EndLine(int end) {
    Fixed overhang = 0;
    if (!OverhangAt(end - 1, overhang)) return false;
    if (FAccepted + overhang > FWidth) return false;
    FLines.push_back({FLineStart, end - FLineStart});
    NewLine(end);
    return true;
}

void LineBreaker::Paragraph::NewLine(int start) {
    FLineStart = start;
    FWidth = FWidths.Other;
    FAccepted = FPending = 0;
    FHasText = false;
}

// ---------------------------------------------------------------------------------------------

LineBreaker::LineBreaker(const QTextDocument& doc) : FDoc(doc), FUsable(DocumentUsable(doc)) {
    if (!FUsable) return;
    const QTextFrameFormat frame = doc.rootFrame()->frameFormat();
    FFrameLeft = ToFixed(frame.leftMargin());
    FFrameRight = ToFixed(doc.textWidth()) - ToFixed(frame.rightMargin());
}

LineBreaker::~LineBreaker() = default;

bool LineBreaker::DocumentUsable(const QTextDocument& doc) {
    const QAbstractTextDocumentLayout* layout = doc.documentLayout();
    if (!layout || !layout->inherits("QTextDocumentLayout") || layout->paintDevice()) return false;
    if (doc.textWidth() <= 0 || doc.useDesignMetrics()) return false;
    const QTextOption option = doc.defaultTextOption();
    if (option.wrapMode() != QTextOption::WrapAtWordBoundaryOrAnywhere || option.flags() != 0 ||
        option.textDirection() == Qt::RightToLeft)
        return false;
    const QTextFrame* root = doc.rootFrame();
    const QTextFrameFormat frame = root->frameFormat();
    return root->childFrames().isEmpty() && frame.border() == 0 && frame.padding() == 0 &&
           frame.width().type() == QTextLength::VariableLength;
}

bool LineBreaker::BlockUsable(const QTextBlock& block, const QTextBlockFormat& format) const {
    return !block.textList() && !format.nonBreakableLines() &&
           format.layoutDirection() != Qt::RightToLeft &&
           !format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth);
}

LineBreaker::Widths LineBreaker::LineWidths(const QTextBlockFormat& format) const {
    const Fixed left =
        FFrameLeft + ToFixed(format.leftMargin()) + ToFixed(format.indent() * FDoc.indentWidth());
    const Fixed right = FFrameRight - ToFixed(format.rightMargin());
    return {right - left - ToFixed(format.textIndent()), right - left};
}

// Paragraphs share few formats: what a format means for the lines is worked out once.
bool LineBreaker::BlockWidths(const QTextBlock& block, Widths& widths) {
    const int index = block.blockFormatIndex();
    auto found = FBlockFormats.find(index);
    if (found == FBlockFormats.end()) {
        const QTextBlockFormat format = block.blockFormat();
        BlockFormat entry{LineWidths(format), FUsable && BlockUsable(block, format)};
        entry.Modelled = entry.Modelled && entry.Lines.First > 0 && entry.Lines.Other > 0;
        found = FBlockFormats.emplace(index, entry).first;
    }
    widths = found->second.Lines;
    return found->second.Modelled;
}

FontMeasure* LineBreaker::MeasureFor(const QTextFragment& fragment) {
    const int formatIndex = fragment.charFormatIndex();
    const auto found = FFormats.find(formatIndex);
    if (found != FFormats.end()) return found->second;
    const QTextCharFormat format = fragment.charFormat();
    FontMeasure* measure = nullptr;
    const QFont font = format.font().resolve(FDoc.defaultFont());
    if (FormatUsable(format) && SpacingPlain(font)) {
        for (const auto& m : FMeasures)
            if (m->Font() == font) measure = m.get();
        if (!measure) measure = FMeasures.emplace_back(std::make_unique<FontMeasure>(font)).get();
    }
    FFormats.emplace(formatIndex, measure);
    return measure;
}

// The paragraph's formats in order; false when one is outside the model. Fragment positions
// are counted along from the paragraph's: asking each its position walks the fragment tree.
bool LineBreaker::CollectRuns(const QTextBlock& block, int length) {
    FRuns.clear();
    int lastFormat = -1, start = 0;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int format = fragment.charFormatIndex();
        const int end = start + fragment.length();
        if (!FRuns.empty() && format == lastFormat) {
            FRuns.back().End = end;
        } else {
            FontMeasure* measure = MeasureFor(fragment);
            if (!measure) return false;
            FRuns.push_back({start, end, measure});
            lastFormat = format;
        }
        start = end;
    }
    return start == length;
}

LineBreaker::Outcome LineBreaker::Break(const QTextBlock& block, QStringView text, Widths widths,
                                        std::vector<Span>& lines) {
    if (!CollectRuns(block, int(text.size()))) return Outcome::LayOutAlone;
    if (text.isEmpty()) {
        lines.push_back({0, 0});
        return Outcome::Predicted;
    }
    const size_t before = lines.size();
    if (Paragraph(*this, text, widths, lines).Walk()) return Outcome::Predicted;
    lines.resize(before);
    // An object's size comes from the document around it.
    return text.contains(QChar::ObjectReplacementCharacter) ? Outcome::LayOutInDocument
                                                            : Outcome::LayOutAlone;
}

}  // namespace RichEdit
