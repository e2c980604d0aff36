#include "platform/richedit/RtfDocumentBuilder.h"

#include <QBrush>
#include <QFont>
#include <QTextBlockFormat>
#include <QTextDocument>

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

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument& doc)
    : cursor_(&doc), runCharFormat_(ToCharFormat(runFormat_)) {
    cursor_.movePosition(QTextCursor::End);
    // One change notice for the whole load instead of one per run.
    cursor_.beginEditBlock();
}

RtfDocumentBuilder::~RtfDocumentBuilder() { cursor_.endEditBlock(); }

void RtfDocumentBuilder::SetFormat(const RtfRunFormat& format) {
    if (format == runFormat_) return;
    FlushRun();
    runFormat_ = format;
    runCharFormat_ = CharFormatFor(format);
}

const QTextCharFormat& RtfDocumentBuilder::CharFormatFor(const RtfRunFormat& format) {
    constexpr size_t kCacheSize = 32;
    for (const auto& [run, converted] : formats_) {
        if (run == format) return converted;
    }
    if (formats_.size() >= kCacheSize) formats_.clear();
    formats_.emplace_back(format, ToCharFormat(format));
    return formats_.back().second;
}

void RtfDocumentBuilder::FlushRun() {
    if (run_.isEmpty()) return;
    cursor_.insertText(run_, runCharFormat_);
    run_.resize(0);  // keeps the buffer for the next run
}

void RtfDocumentBuilder::StartParagraph() {
    paragraphPending_ = false;
    if (!paragraphAligned_) {
        // A line feed in the run becomes a paragraph with the previous paragraph's (default)
        // format; one cursor call then carries many short paragraphs.
        run_.append(QChar(u'\n'));
        return;
    }
    FlushRun();
    cursor_.insertBlock(QTextBlockFormat(), runCharFormat_);
    paragraphAligned_ = false;
}

void RtfDocumentBuilder::AlignParagraph(Qt::Alignment alignment) {
    if (alignment == Qt::AlignLeft) return;  // new paragraphs are left-aligned already
    FlushRun();
    QTextBlockFormat format;
    format.setAlignment(alignment);
    cursor_.setBlockFormat(format);
    paragraphAligned_ = true;
}

void RtfDocumentBuilder::EndParagraph(Qt::Alignment alignment) {
    OpenParagraph();
    AlignParagraph(alignment);
    paragraphPending_ = true;
}

void RtfDocumentBuilder::Finish(Qt::Alignment alignment) {
    FlushRun();
    if (!paragraphPending_) AlignParagraph(alignment);
}

}  // namespace Rtf
