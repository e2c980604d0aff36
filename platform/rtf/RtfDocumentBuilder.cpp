// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/rtf/RtfDocumentBuilder.h"

#include <QBrush>
#include <QFont>
#include <QHash>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/rtf/RtfPicture.h"

namespace Rtf {
namespace {

// Formats prepared between two calls of the caller's between-slices callback: some milliseconds.
constexpr size_t kFormatsPerSlice = 16384;

QTextCharFormat ToCharFormat(const RtfRunFormat& run) {
    QTextCharFormat format;
    format.setFontWeight(run.Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.Italic);
    format.setFontUnderline(run.Underline);
    format.setFontStrikeOut(run.Strike);
    if (!run.Family.isEmpty()) format.setFontFamilies({run.Family});
    format.setFontPointSize(run.HalfPoints / 2.0);
    if (run.HasColour) format.setForeground(QBrush(QColor::fromRgb(run.Colour)));
    if (run.HasHighlight) format.setBackground(QBrush(QColor::fromRgb(run.Highlight)));
    if (run.Script == RtfScript::Super) {
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else if (run.Script == RtfScript::Sub) {
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    }
    // The document raises text by a share of the font's height, RTF by half points.
    if (run.Raise != 0) format.setBaselineOffset(100.0 * run.Raise / run.HalfPoints);
    if (!run.HiddenBefore.isEmpty()) {
        format.setProperty(kHiddenTextBefore, run.HiddenBefore);
        format.setProperty(kHiddenTextSerial, run.HiddenSerial);
    }
    return format;
}

double Pixels(int twips) {
    return twips / kTwipsPerPixel;
}

QTextBlockFormat ToBlockFormat(const RtfParagraphFormat& paragraph) {
    QTextBlockFormat format;
    format.setAlignment(paragraph.Alignment);
    if (paragraph.LeftIndent != 0) format.setLeftMargin(Pixels(paragraph.LeftIndent));
    if (paragraph.RightIndent != 0) format.setRightMargin(Pixels(paragraph.RightIndent));
    if (paragraph.FirstIndent != 0) format.setTextIndent(Pixels(paragraph.FirstIndent));
    if (paragraph.SpaceBefore != 0) format.setTopMargin(Pixels(paragraph.SpaceBefore));
    if (paragraph.SpaceAfter != 0) format.setBottomMargin(Pixels(paragraph.SpaceAfter));
    if (paragraph.PageBreakBefore) format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (!paragraph.HiddenAtEnd.isEmpty())
        format.setProperty(kHiddenTextAtEnd, paragraph.HiddenAtEnd);
    return format;
}

}  // namespace

size_t RtfRunFormatHash::operator()(const RtfRunFormat& f) const {
    size_t flags = size_t(f.Bold) | size_t(f.Italic) << 1 | size_t(f.Underline) << 2 |
                   size_t(f.Strike) << 3 | size_t(f.HasColour) << 4 | size_t(f.HasHighlight) << 5 |
                   size_t(f.Script) << 6;
    return qHashMulti(0, f.Family, f.HalfPoints, f.Colour, f.Highlight, f.Raise, f.HiddenSerial,
                      f.Picture, flags);
}

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument& doc) : FDoc(doc) {
    FRuns.push_back({0, FormatIndex(RtfRunFormat())});
}

int RtfDocumentBuilder::FormatIndex(const RtfRunFormat& format) {
    auto [it, added] = FFormatIndex.try_emplace(format, int(FFormats.size()));
    if (added) FFormats.push_back(format);
    return it->second;
}

void RtfDocumentBuilder::SetFormat(const RtfRunFormat& format) {
    SetFormatIndex(FormatIndex(format));
}

void RtfDocumentBuilder::SetFormatIndex(int index) {
    if (index == FRuns.back().Format) return;
    if (FRuns.back().Start == FText.size()) {
        FRuns.back().Format = index;  // the previous format never received text
        if (FRuns.size() > 1 && FRuns[FRuns.size() - 2].Format == index) FRuns.pop_back();
    } else {
        FRuns.push_back({int(FText.size()), index});
    }
}

// The first character after hidden text carries it in a format of its own (both halves of a
// UTF-16 pair, which no format change may split); the characters after it go back to the
// format they had.
void RtfDocumentBuilder::AppendPicture(QByteArray group) {
    OpenParagraph();
    const int plain = FHeldFormat >= 0 ? std::exchange(FHeldFormat, -1) : FRuns.back().Format;
    RtfRunFormat picture = FFormats[size_t(plain)];
    FPictures.push_back(std::move(group));
    picture.Picture = int(FPictures.size());
    SetFormatIndex(FormatIndex(picture));
    FText.append(QChar(QChar::ObjectReplacementCharacter));
    SetFormatIndex(plain);
}

void RtfDocumentBuilder::AppendCarryingHidden(QChar first, QLatin1StringView rest) {
    if (FHeldFormat >= 0) {
        FText.append(first);  // the low half of the carrier
        SetFormatIndex(std::exchange(FHeldFormat, -1));
        if (FHidden.isEmpty()) {
            FText.append(rest);
            return;
        }
        if (rest.isEmpty()) return;
        first = QChar(rest.front());
        rest = rest.sliced(1);
    }
    const int plain = FRuns.back().Format;
    RtfRunFormat carrier = FFormats[size_t(plain)];
    carrier.HiddenBefore = std::exchange(FHidden, QString());
    carrier.HiddenSerial = ++FHiddenSerial;
    SetFormatIndex(FormatIndex(carrier));
    FText.append(first);
    if (first.isHighSurrogate() && rest.isEmpty()) {
        FHeldFormat = plain;
        return;
    }
    SetFormatIndex(plain);
    FText.append(rest);
}

void RtfDocumentBuilder::AddParagraphFormat(int paragraph, RtfParagraphFormat format) {
    if (!FHidden.isEmpty()) format.HiddenAtEnd += std::exchange(FHidden, QString());
    if (format == RtfParagraphFormat()) return;
    if (!FParagraphFormats.empty() && FParagraphFormats.back().first == paragraph) {
        FParagraphFormats.back().second.HiddenAtEnd += format.HiddenAtEnd;
        return;
    }
    FParagraphFormats.emplace_back(paragraph, std::move(format));
}

void RtfDocumentBuilder::EndParagraph(const RtfParagraphFormat& format) {
    OpenParagraph();
    AddParagraphFormat(FParagraph, format);
    FParagraphPending = true;
}

void RtfDocumentBuilder::Finish(const RtfParagraphFormat& format) {
    if (!FParagraphPending) {
        AddParagraphFormat(FParagraph, format);
    } else if (!FHidden.isEmpty()) {
        // Hidden text after the last paragraph mark stays with the last paragraph.
        AddParagraphFormat(FParagraph, RtfParagraphFormat());
    }
}

void RtfDocumentBuilder::Build() {
    QTextCursor cursor(&FDoc);
    cursor.movePosition(QTextCursor::End);
    int origin = cursor.position();
    int firstParagraph = cursor.blockNumber();
    int base = MostUsedFormat();
    // One notice of change for the whole load instead of one per call.
    cursor.beginEditBlock();
    cursor.insertText(FText, ToCharFormat(FFormats[size_t(base)]));
    ApplyParagraphFormats(firstParagraph);
    cursor.endEditBlock();
    const qsizetype length = FText.size();
    FText = QString();  // the document holds its own copy
    DeferFormats(origin, base, length);
}

int RtfDocumentBuilder::MostUsedFormat() const {
    std::vector<int> uses(FFormats.size());
    for (const Run& run : FRuns) ++uses[size_t(run.Format)];
    // A picture's format is for its own character only.
    for (size_t i = 0; i < FFormats.size(); ++i) {
        if (FFormats[i].Picture != 0) uses[i] = -1;
    }
    return int(std::max_element(uses.begin(), uses.end()) - uses.begin());
}

void RtfDocumentBuilder::DeferFormats(int origin, int base, qsizetype length) {
    std::vector<QTextCharFormat> formats;
    formats.reserve(FFormats.size());
    for (const RtfRunFormat& format : FFormats) {
        // A document of a format per run (a colour each) has hundreds of thousands.
        if (FBetweenSlices && formats.size() % kFormatsPerSlice == kFormatsPerSlice - 1)
            FBetweenSlices();
        QTextCharFormat charFormat = ToCharFormat(format);
        if (format.Picture != 0)
            charFormat = PictureFormat(FDoc, charFormat, FPictures[size_t(format.Picture - 1)]);
        formats.push_back(charFormat);
    }
    std::vector<QByteArray>().swap(FPictures);
    std::vector<RichEdit::DeferredFormats::Run> runs;
    for (size_t i = 0; i < FRuns.size(); ++i) {
        const Run& run = FRuns[i];
        qsizetype end = i + 1 < FRuns.size() ? FRuns[i + 1].Start : length;
        if (run.Format == base || end <= run.Start) continue;
        runs.push_back({origin + int(run.Start), origin + int(end), run.Format});
    }
    std::vector<Run>().swap(FRuns);
    FDeferred = RichEdit::DeferredFormats(std::move(formats), std::move(runs));
}

// Walks the paragraphs once, in order; paragraphs in the same format share one block format.
void RtfDocumentBuilder::ApplyParagraphFormats(int firstParagraph) {
    QTextBlock block = FDoc.findBlockByNumber(firstParagraph);
    int at = 0;
    const RtfParagraphFormat* built = nullptr;
    QTextBlockFormat format;
    for (const auto& [paragraph, wanted] : FParagraphFormats) {
        for (; at < paragraph && block.isValid(); ++at) block = block.next();
        if (!block.isValid()) break;
        if (!built || !(*built == wanted)) {
            format = ToBlockFormat(wanted);
            built = &wanted;
        }
        QTextCursor(block).setBlockFormat(format);
    }
}

}  // namespace Rtf
