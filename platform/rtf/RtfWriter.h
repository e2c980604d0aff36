// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Writing a text document as RTF.
#include <QByteArray>
#include <QHash>
#include <QRgb>
#include <QString>
#include <QVariant>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QTextBlock;
class QTextCharFormat;
class QTextDocument;
class QTextFragment;

namespace Rtf {

// A complete RTF document with the text, character formats (bold, italic, underline,
// strike-out, font, size, colour, highlight, super- and subscript, raised and lowered text),
// paragraph formats (alignment, indents, spacing before and after) and hidden text of `doc`.
// Rtf::Read gives them back.
std::string Write(const QTextDocument& doc);

class RtfWriter {
public:
    explicit RtfWriter(const QTextDocument& doc);
    std::string Write();

private:
    // A run's character format, resolved against the document's default font.
    struct CharState {
        bool Bold = false;
        bool Italic = false;
        bool Underline = false;
        bool Strike = false;
        int Font = 0;  // index into the font table
        int HalfPoints = 24;
        int Colour = 0;     // index into the colour table; 0 is the automatic colour
        int Highlight = 0;  // index into the colour table; 0 is none
        int Script = 0;     // 0 normal, 1 superscript, 2 subscript
        int Raise = 0;      // half points up (+) or down (-)
        bool operator==(const CharState&) const = default;
    };

    struct RunFormat {
        CharState State;
        int HiddenSerial = 0;
        QString Hidden;
        QVariant Picture;  // the picture's source group, for a picture's format
    };

    // A block's format as the writer needs it, resolved once per format: a note of a million
    // lines has a few.
    struct ParagraphFormat {
        bool Known = false;
        bool Continues = false;  // a piece after the first of a paragraph held in pieces
        const char* Alignment = nullptr;
        int Twips[5] = {};  // li ri fi sb sa
        bool PageBreakBefore = false;
        QString HiddenAtEnd;
    };

    const RunFormat& RunFormatOf(const QTextFragment& fragment);
    const ParagraphFormat& ParagraphFormatOf(const QTextBlock& block);
    CharState StateOf(const QTextCharFormat& format);
    int FontIndex(const QString& family);
    int ColourIndex(QRgb colour);

    void WriteHeader();
    void WriteFontTable();
    void WriteColourTable();
    void WriteBlock(const QTextBlock& block, const QTextBlock& next, bool last, int position);
    void FindUniformFormat();
    void WriteRuns(const QTextBlock& block);
    void WriteBlockFormat(const QTextBlock& block, const QTextBlock& next);
    void WriteStateChange(const CharState& next);
    void WriteScript(const CharState& next, bool all);
    void WriteHidden(const QString& text);
    void WriteText(QStringView text);
    void WritePictures(QStringView text, const QByteArray& group);
    void WriteCharacter(char32_t c);

    // Output with short lines: a line break may go before any token, where RTF ignores it.
    void Word(std::string_view word);
    void Word(std::string_view word, int param);
    void Flag(std::string_view word, bool on, std::string_view offWord);
    void TextToken(std::string_view token, bool breakable);
    void BreakLineIfLong(size_t limit);
    void NewLine();

    const QTextDocument& FDoc;
    std::vector<QString> FFonts;
    std::vector<QRgb> FColours;  // colour table entries after the automatic one
    // Where each font and colour stands in its table: a note may use hundreds of thousands.
    QHash<QString, int> FFontIndex;
    QHash<QRgb, int> FColourIndex;
    std::optional<CharState> FState;
    int FHiddenSerial = 0;  // the hidden passage last written
    // The formats of the runs written so far, and where each of the document's format indexes
    // (which count from 0 up) has its own, plus one; 0 while it has none. A note of a colour
    // per run has hundreds of thousands, which as hash nodes cost a tenth of a second to free.
    std::vector<RunFormat> FRunFormats;
    std::vector<int> FRunFormatSlots;
    std::optional<CharState> FUniform;  // the one format of every character, when there is one
    QString FUniformText;               // the document's raw text then
    std::vector<ParagraphFormat> FParagraphFormats;  // by the document's format index
    std::string FBody;
    std::string* FOut = nullptr;  // where tokens go: the header or the body
    size_t FLineStart = 0;
    bool FDelimiterPending = false;  // a control word was written and text may follow
};

}  // namespace Rtf
