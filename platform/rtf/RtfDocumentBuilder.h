#pragma once
// Builds a QTextDocument from runs of formatted text and paragraph ends. The text is gathered
// first and goes into the document in one insertion in its most common format; the runs in
// other formats are handed back, to be formatted one by one when the caller chooses. Each
// cursor call costs about a microsecond whatever its length, so this takes far fewer calls
// than inserting run by run.
#include <QRgb>
#include <QString>
#include <Qt>
#include <cstddef>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/rtf/DeferredFormats.h"

class QTextDocument;

namespace Rtf {

// The character format of a run of text as the RTF source states it.
struct RtfRunFormat {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strike = false;
    QString Family;      // empty: the document's default family
    int HalfPoints = 0;  // 0: the document's default size
    bool HasColour = false;
    QRgb Colour = 0;

    bool operator==(const RtfRunFormat&) const = default;
};

struct RtfRunFormatHash {
    size_t operator()(const RtfRunFormat& f) const;
};

class RtfDocumentBuilder {
public:
    // Fills `doc` at Finish, after what it holds; the caller empties it first.
    explicit RtfDocumentBuilder(QTextDocument& doc);

    void SetFormat(const RtfRunFormat& format);
    void Append(QChar c) {
        OpenParagraph();
        FText.append(c);
    }
    void Append(QLatin1StringView text) {
        OpenParagraph();
        FText.append(text);
    }
    // Ends the current paragraph with this alignment.
    void EndParagraph(Qt::Alignment alignment);
    // Writes the text and the paragraph alignments into the document and returns the runs
    // still to be formatted. A paragraph that was ended and never received text stays out, so
    // a final paragraph mark does not leave an empty last paragraph behind.
    void Finish(Qt::Alignment alignment);
    RichEdit::DeferredFormats TakeFormats() { return std::move(FDeferred); }

private:
    struct Run {
        qsizetype start;  // where the run begins in FText
        int format;       // index into FFormats
    };

    void OpenParagraph() {
        if (!FParagraphPending) return;
        FParagraphPending = false;
        FText.append(QChar(u'\n'));  // the document makes a paragraph of each line feed
        ++FParagraph;
    }
    int FormatIndex(const RtfRunFormat& format);
    int MostUsedFormat() const;
    void DeferFormats(int origin, int base, qsizetype length);
    void ApplyAlignments(int firstParagraph);

    QTextDocument& FDoc;
    QString FText;
    std::vector<Run> FRuns;  // in order; a new run starts where the format changes
    std::vector<RtfRunFormat> FFormats;
    std::unordered_map<RtfRunFormat, int, RtfRunFormatHash> FFormatIndex;
    std::vector<std::pair<int, Qt::Alignment>> FAlignments;  // paragraphs not aligned left
    RichEdit::DeferredFormats FDeferred;
    int FParagraph = 0;
    bool FParagraphPending = false;
};

}  // namespace Rtf
