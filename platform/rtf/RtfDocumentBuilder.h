// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Builds a QTextDocument from runs of formatted text and paragraph ends. The text is gathered
// first and goes into the document in one insertion in its most common format; the runs in
// other formats are handed back, to be formatted one by one when the caller chooses. Each
// cursor call costs about a microsecond whatever its length, so this takes far fewer calls
// than inserting run by run.
#include <QByteArray>
#include <QRgb>
#include <QString>
#include <Qt>
#include <cstddef>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/rtf/DeferredFormats.h"
#include "platform/rtf/RtfDocumentProperties.h"

class QTextDocument;

namespace Rtf {

enum class RtfScript { Normal, Super, Sub };

// The character format of a run of text as the RTF source states it.
struct RtfRunFormat {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strike = false;
    QString Family;  // empty: the document's default family
    int HalfPoints = kDefaultHalfPoints;
    bool HasColour = false;
    QRgb Colour = 0;
    bool HasHighlight = false;
    QRgb Highlight = 0;
    RtfScript Script = RtfScript::Normal;
    int Raise = 0;         // half points above (+) or below (-) the baseline: \upN, \dnN
    QString HiddenBefore;  // hidden text just before the run's first character
    int HiddenSerial = 0;  // which hidden passage that is
    int Picture = 0;       // a picture's U+FFFC: 1 + its index among the pictures, else 0

    bool operator==(const RtfRunFormat&) const = default;
};

struct RtfRunFormatHash {
    size_t operator()(const RtfRunFormat& f) const;
};

// A paragraph's format as the RTF source states it; lengths in twips.
struct RtfParagraphFormat {
    Qt::Alignment Alignment = Qt::AlignLeft;
    int LeftIndent = 0;
    int RightIndent = 0;
    int FirstIndent = 0;  // of the first line, from the left indent; negative hangs
    int SpaceBefore = 0;
    int SpaceAfter = 0;
    bool PageBreakBefore = false;  // \pagebb, or a \page before the paragraph
    QString HiddenAtEnd;           // hidden text after the last character

    bool operator==(const RtfParagraphFormat&) const = default;
};

class RtfDocumentBuilder {
public:
    // Fills `doc` at Build, after what it holds; the caller empties it first.
    explicit RtfDocumentBuilder(QTextDocument& doc);

    void SetFormat(const RtfRunFormat& format);
    void Append(QChar c) {
        OpenParagraph();
        if (!FHidden.isEmpty() || FHeldFormat >= 0) [[unlikely]] {
            AppendCarryingHidden(c, {});
            return;
        }
        FText.append(c);
    }
    void Append(QLatin1StringView text) {
        OpenParagraph();
        if (!FHidden.isEmpty() && !text.isEmpty()) [[unlikely]] {
            AppendCarryingHidden(QChar(text.front()), text.sliced(1));
            return;
        }
        FText.append(text);
    }
    // A picture (its whole \pict group) as one U+FFFC in the current format.
    void AppendPicture(QByteArray group);
    // Hidden text: kept for the next character, or for the paragraph if none follows in it.
    void AppendHidden(QChar c) { FHidden.append(c); }
    // Whether the paragraph being built holds no text yet.
    bool ParagraphEmpty() const { return FParagraphPending || FText.size() == FParagraphStart; }
    // Ends the current paragraph with this format.
    void EndParagraph(const RtfParagraphFormat& format);
    // Ends the text; the last paragraph has this format. A paragraph that was ended and never
    // received text stays out, so a final paragraph mark does not leave an empty last
    // paragraph behind.
    void Finish(const RtfParagraphFormat& format);
    // After Finish: writes the text and the paragraph formats into the document, and keeps the
    // runs still to be formatted for TakeFormats. The builder holds no reference to the bytes
    // it was given, so the caller may free them first.
    void Build();
    // Called every so many formats while Build prepares them, so that events can run.
    void SetBetweenSlices(std::function<void()> betweenSlices) {
        FBetweenSlices = std::move(betweenSlices);
    }
    RichEdit::DeferredFormats TakeFormats() { return std::move(FDeferred); }

private:
    struct Run {
        int Start;   // where the run begins in FText; the document counts in int too
        int Format;  // index into FFormats
    };

    void OpenParagraph() {
        if (!FParagraphPending) return;
        FParagraphPending = false;
        FText.append(QChar(u'\n'));  // the document makes a paragraph of each line feed
        FParagraphStart = FText.size();
        ++FParagraph;
    }
    void AppendCarryingHidden(QChar first, QLatin1StringView rest);
    void SetFormatIndex(int index);
    void AddParagraphFormat(int paragraph, RtfParagraphFormat format);
    int FormatIndex(const RtfRunFormat& format);
    int MostUsedFormat() const;
    void DeferFormats(int origin, int base, qsizetype length);
    void ApplyParagraphFormats(int firstParagraph);

    QTextDocument& FDoc;
    QString FText;
    std::vector<Run> FRuns;  // in order; a new run starts where the format changes
    std::vector<RtfRunFormat> FFormats;
    std::vector<QByteArray> FPictures;
    std::unordered_map<RtfRunFormat, int, RtfRunFormatHash> FFormatIndex;
    // Paragraphs whose format is not the default one, in order.
    std::vector<std::pair<int, RtfParagraphFormat>> FParagraphFormats;
    RichEdit::DeferredFormats FDeferred;
    std::function<void()> FBetweenSlices;
    QString FHidden;  // hidden text not yet given to a character or a paragraph
    int FHiddenSerial = 0;
    // The format to go back to after the low half of a pair whose high half carries hidden text.
    int FHeldFormat = -1;
    int FParagraph = 0;
    qsizetype FParagraphStart = 0;
    bool FParagraphPending = false;
};

}  // namespace Rtf
