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

namespace Rtf {
namespace {

QTextCharFormat ToCharFormat(const RtfRunFormat& run) {
    QTextCharFormat format;
    format.setFontWeight(run.Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.Italic);
    format.setFontUnderline(run.Underline);
    format.setFontStrikeOut(run.Strike);
    if (!run.Family.isEmpty()) format.setFontFamilies({run.Family});
    if (run.HalfPoints > 0) format.setFontPointSize(run.HalfPoints / 2.0);
    if (run.HasColour) format.setForeground(QBrush(QColor::fromRgb(run.Colour)));
    return format;
}

}  // namespace

size_t RtfRunFormatHash::operator()(const RtfRunFormat& f) const {
    size_t flags = size_t(f.Bold) | size_t(f.Italic) << 1 | size_t(f.Underline) << 2 |
                   size_t(f.Strike) << 3 | size_t(f.HasColour) << 4;
    return qHashMulti(0, f.Family, f.HalfPoints, f.Colour, flags);
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
    int index = FormatIndex(format);
    if (index == FRuns.back().format) return;
    if (FRuns.back().start == FText.size()) {
        FRuns.back().format = index;  // the previous format never received text
        if (FRuns.size() > 1 && FRuns[FRuns.size() - 2].format == index) FRuns.pop_back();
    } else {
        FRuns.push_back({FText.size(), index});
    }
}

void RtfDocumentBuilder::EndParagraph(Qt::Alignment alignment) {
    OpenParagraph();
    if (alignment != Qt::AlignLeft) FAlignments.emplace_back(FParagraph, alignment);
    FParagraphPending = true;
}

void RtfDocumentBuilder::Finish(Qt::Alignment alignment) {
    if (!FParagraphPending && alignment != Qt::AlignLeft) {
        FAlignments.emplace_back(FParagraph, alignment);
    }
    QTextCursor cursor(&FDoc);
    cursor.movePosition(QTextCursor::End);
    int origin = cursor.position();
    int firstParagraph = cursor.blockNumber();
    int base = MostUsedFormat();
    // One notice of change for the whole load instead of one per call.
    cursor.beginEditBlock();
    cursor.insertText(FText, ToCharFormat(FFormats[size_t(base)]));
    ApplyAlignments(firstParagraph);
    cursor.endEditBlock();
    const qsizetype length = FText.size();
    FText = QString();  // the document holds its own copy
    DeferFormats(origin, base, length);
}

int RtfDocumentBuilder::MostUsedFormat() const {
    std::vector<int> uses(FFormats.size());
    for (const Run& run : FRuns) ++uses[size_t(run.format)];
    return int(std::max_element(uses.begin(), uses.end()) - uses.begin());
}

void RtfDocumentBuilder::DeferFormats(int origin, int base, qsizetype length) {
    std::vector<QTextCharFormat> formats;
    formats.reserve(FFormats.size());
    for (const RtfRunFormat& format : FFormats) formats.push_back(ToCharFormat(format));
    std::vector<RichEdit::DeferredFormats::Run> runs;
    for (size_t i = 0; i < FRuns.size(); ++i) {
        const Run& run = FRuns[i];
        qsizetype end = i + 1 < FRuns.size() ? FRuns[i + 1].start : length;
        if (run.format == base || end <= run.start) continue;
        runs.push_back({origin + int(run.start), origin + int(end), run.format});
    }
    std::vector<Run>().swap(FRuns);
    FDeferred = RichEdit::DeferredFormats(std::move(formats), std::move(runs));
}

void RtfDocumentBuilder::ApplyAlignments(int firstParagraph) {
    for (const auto& [paragraph, alignment] : FAlignments) {
        QTextCursor cursor(FDoc.findBlockByNumber(firstParagraph + paragraph));
        QTextBlockFormat format;
        format.setAlignment(alignment);
        cursor.setBlockFormat(format);
    }
}

}  // namespace Rtf
