// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/rtf/RtfWriter.h"

#include <QBrush>
#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/rtf/ParagraphPieces.h"
#include "platform/rtf/RtfCodePage.h"
#include "platform/rtf/RtfDocumentProperties.h"
#include "platform/rtf/RtfPicture.h"

namespace Rtf {
namespace {

constexpr size_t kSoftLineLength = 78;   // break before a space or a control word after this
constexpr size_t kHardLineLength = 200;  // break before anything after this

QString FamilyOf(const QTextCharFormat& format, const QFont& fallback) {
    QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty()) return families.first();
    QString single = format.stringProperty(QTextFormat::FontFamily);  // the older property
    if (!single.isEmpty()) return single;
    return fallback.family();
}

double PointSizeOf(const QTextCharFormat& format, const QFont& fallback) {
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0) {
        return format.fontPointSize();
    }
    int pixels = format.intProperty(QTextFormat::FontPixelSize);
    if (pixels > 0) return pixels * 0.75;  // at 96 dots per inch
    if (fallback.pointSizeF() > 0) return fallback.pointSizeF();
    return fallback.pixelSize() > 0 ? fallback.pixelSize() * 0.75 : 12.0;
}

int Twips(double pixels) {
    return int(std::lround(pixels * kTwipsPerPixel));
}

std::string Hex(int byte) {
    static const char digits[] = "0123456789abcdef";
    return {'\\', '\'', digits[(byte >> 4) & 15], digits[byte & 15]};
}

}  // namespace

std::string Write(const QTextDocument& doc) {
    return RtfWriter(doc).Write();
}

RtfWriter::RtfWriter(const QTextDocument& doc) : FDoc(doc) {
    FontIndex(doc.defaultFont().family());  // \f0, the default font
}

// The body is written first so that the tables know every font and colour it uses, into room
// for the whole file: grown by doubling, or joined to the header as a new string, it would be
// held twice at once, which for a long note is the peak of the save. Room never written to
// costs no memory.
std::string RtfWriter::Write() {
    FBody.reserve(size_t(FDoc.characterCount()) * 2 + 4096);
    FOut = &FBody;
    FindUniformFormat();
    int position = 0;
    for (QTextBlock block = FDoc.begin(); block.isValid();) {
        const QTextBlock next = block.next();
        WriteBlock(block, next, !next.isValid(), position);
        position += block.length();
        block = next;
    }
    std::string header;
    FOut = &header;
    FLineStart = 0;
    WriteHeader();
    FBody.insert(0, header);
    FBody += "}\r\n";
    return std::move(FBody);
}

void RtfWriter::WriteHeader() {
    *FOut += "{\\rtf1\\ansi\\ansicpg1252\\deff0";
    WriteFontTable();
    NewLine();
    if (!FColours.empty()) {
        WriteColourTable();
        NewLine();
    }
    *FOut += "\\viewkind4\\uc1";
    NewLine();
}

void RtfWriter::WriteFontTable() {
    *FOut += "{\\fonttbl";
    for (size_t i = 0; i < FFonts.size(); ++i) {
        BreakLineIfLong(kSoftLineLength);
        *FOut += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 ";
        FDelimiterPending = false;
        for (char32_t c : FFonts[i].toUcs4()) {
            // The entry ends at ";", so a ";" in the name goes as a byte escape.
            if (c == ';') {
                *FOut += Hex(';');
            } else {
                WriteCharacter(c);
            }
        }
        *FOut += ";}";
    }
    *FOut += "}";
}

void RtfWriter::WriteColourTable() {
    *FOut += "{\\colortbl ;";
    for (QRgb c : FColours) {
        BreakLineIfLong(kSoftLineLength);
        *FOut += "\\red" + std::to_string(qRed(c)) + "\\green" + std::to_string(qGreen(c)) +
                 "\\blue" + std::to_string(qBlue(c)) + ";";
    }
    *FOut += "}";
}

// A paragraph held in pieces is written as one: its format before the first piece, its end
// after the last.
void RtfWriter::WriteBlock(const QTextBlock& block, const QTextBlock& next, bool last,
                           int position) {
    if (!ParagraphFormatOf(block).Continues || block == FDoc.begin()) WriteBlockFormat(block, next);
    if (FUniform) {
        if (block.length() > 1) {
            WriteStateChange(*FUniform);
            WriteText(QStringView(FUniformText).mid(position, block.length() - 1));
        }
    } else {
        WriteRuns(block);
    }
    if (next.isValid() && ParagraphFormatOf(next).Continues) return;
    WriteHidden(ParagraphFormatOf(block).HiddenAtEnd);
    // The reader drops a last paragraph that a final \par opened and nothing filled, so only an
    // empty last paragraph needs its own mark.
    if (!last || (block.length() <= 1 && block.blockNumber() > 0)) {
        // A paragraph that starts a new page says so itself (\pagebb): a \page after a
        // paragraph of hidden text alone would end no paragraph for a reader.
        Word("par");
        NewLine();
    }
}

// A document whose text is all in one character format, with no hidden text or picture on it,
// is written from its raw text: finding each paragraph's fragments is most of the time of
// writing a note of a million lines. Qt keeps every format a document has used, so a single
// character format there is the format of every character.
void RtfWriter::FindUniformFormat() {
    int charFormats = 0;
    QTextCharFormat only;
    for (const QTextFormat& format : FDoc.allFormats()) {
        if (!format.isCharFormat()) continue;
        if (++charFormats > 1) return;
        only = format.toCharFormat();
    }
    if (charFormats != 1 || only.hasProperty(kHiddenTextBefore) || only.hasProperty(kPictureSource))
        return;
    FUniform = StateOf(only);
    FUniformText = FDoc.toRawText();
}

void RtfWriter::WriteRuns(const QTextBlock& block) {
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        QTextFragment fragment = it.fragment();
        if (!fragment.isValid()) continue;
        const RunFormat& run = RunFormatOf(fragment);
        WriteStateChange(run.State);
        // A hidden passage goes before the first of the runs that carry it.
        if (run.HiddenSerial != FHiddenSerial) {
            FHiddenSerial = run.HiddenSerial;
            WriteHidden(run.Hidden);
        }
        if (run.Picture.isValid()) {
            WritePictures(fragment.text(), run.Picture.toByteArray());
        } else {
            WriteText(fragment.text());
        }
    }
}

const RtfWriter::ParagraphFormat& RtfWriter::ParagraphFormatOf(const QTextBlock& block) {
    const size_t index = size_t(std::max(0, block.blockFormatIndex()));
    if (index >= FParagraphFormats.size())
        FParagraphFormats.resize(std::max(index + 1, FParagraphFormats.size() * 2));
    ParagraphFormat& p = FParagraphFormats[index];
    if (p.Known) return p;
    const QTextBlockFormat format = block.blockFormat();
    p.Known = true;
    p.Continues = format.boolProperty(RichEdit::kContinuesParagraph);
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter) {
        p.Alignment = "qc";
    } else if (alignment & Qt::AlignJustify) {
        p.Alignment = "qj";
    } else if (alignment & Qt::AlignRight) {
        p.Alignment = "qr";
    }
    const double lengths[] = {format.leftMargin(), format.rightMargin(), format.textIndent(),
                              format.topMargin(), format.bottomMargin()};
    for (int i = 0; i < 5; ++i) p.Twips[i] = Twips(lengths[i]);
    p.PageBreakBefore = format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
    p.HiddenAtEnd = format.stringProperty(kHiddenTextAtEnd);
    return p;
}

void RtfWriter::WriteBlockFormat(const QTextBlock& block, const QTextBlock& next) {
    const ParagraphFormat p = ParagraphFormatOf(block);  // a copy: the table may grow below
    Word("pard");
    if (p.Alignment) Word(p.Alignment);
    // The space below a paragraph in pieces is its last piece's.
    int below = p.Twips[4];
    for (QTextBlock piece = next; piece.isValid() && ParagraphFormatOf(piece).Continues;
         piece = piece.next())
        below = ParagraphFormatOf(piece).Twips[4];
    static const char* const kWords[] = {"li", "ri", "fi", "sb", "sa"};
    for (int i = 0; i < 5; ++i) {
        const int twips = i == 4 ? below : p.Twips[i];
        if (twips != 0) Word(kWords[i], twips);
    }
    if (p.PageBreakBefore) Word("pagebb");
}

void RtfWriter::WriteHidden(const QString& text) {
    if (text.isEmpty()) return;
    TextToken("{", false);
    Word("v");
    WriteText(text);
    TextToken("}", false);
}

// Runs share the document's formats: each is resolved once, however many runs use it.
const RtfWriter::RunFormat& RtfWriter::RunFormatOf(const QTextFragment& fragment) {
    const size_t index = size_t(std::max(0, fragment.charFormatIndex()));
    if (index >= FRunFormatSlots.size())
        FRunFormatSlots.resize(std::max(index + 1, FRunFormatSlots.size() * 2));
    int& slot = FRunFormatSlots[index];
    if (slot == 0) {
        const QTextCharFormat format = fragment.charFormat();
        RunFormat run;
        run.State = StateOf(format);
        run.HiddenSerial = format.intProperty(kHiddenTextSerial);
        run.Hidden = format.stringProperty(kHiddenTextBefore);
        run.Picture = format.property(kPictureSource);
        FRunFormats.push_back(std::move(run));
        slot = int(FRunFormats.size());
    }
    return FRunFormats[size_t(slot - 1)];
}

RtfWriter::CharState RtfWriter::StateOf(const QTextCharFormat& format) {
    const QFont& base = FDoc.defaultFont();
    CharState s;
    s.Bold = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() >= QFont::DemiBold
                                                         : base.weight() >= QFont::DemiBold;
    s.Italic = format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : base.italic();
    bool hasUnderline = format.hasProperty(QTextFormat::TextUnderlineStyle) ||
                        format.hasProperty(QTextFormat::FontUnderline);
    s.Underline = hasUnderline ? format.fontUnderline() : base.underline();
    s.Strike =
        format.hasProperty(QTextFormat::FontStrikeOut) ? format.fontStrikeOut() : base.strikeOut();
    s.Font = FontIndex(FamilyOf(format, base));
    s.HalfPoints = std::clamp(int(std::lround(PointSizeOf(format, base) * 2)), 2, 3276);
    QBrush foreground = format.foreground();
    s.Colour = foreground.style() == Qt::NoBrush ? 0 : ColourIndex(foreground.color().rgb());
    QBrush background = format.background();
    s.Highlight = background.style() == Qt::NoBrush ? 0 : ColourIndex(background.color().rgb());
    const auto vertical = format.verticalAlignment();
    s.Script = vertical == QTextCharFormat::AlignSuperScript ? 1
               : vertical == QTextCharFormat::AlignSubScript ? 2
                                                             : 0;
    // The document raises by a share of the font's height, RTF by half points.
    s.Raise =
        std::clamp(int(std::lround(format.baselineOffset() * s.HalfPoints / 100.0)), -3276, 3276);
    return s;
}

int RtfWriter::FontIndex(const QString& family) {
    const auto found = FFontIndex.constFind(family);
    if (found != FFontIndex.constEnd()) return found.value();
    const int index = int(FFonts.size());
    FFontIndex.insert(family, index);
    FFonts.push_back(family);
    return index;
}

int RtfWriter::ColourIndex(QRgb colour) {
    colour = qRgb(qRed(colour), qGreen(colour), qBlue(colour));  // RTF colours are opaque
    int& index = FColourIndex[colour];
    if (index == 0) {
        FColours.push_back(colour);
        index = int(FColours.size());
    }
    return index;
}

void RtfWriter::WriteStateChange(const CharState& next) {
    // The first run states everything, so that no reader's defaults leak in.
    bool all = !FState.has_value();
    const CharState previous = FState.value_or(CharState());
    if (all || next.Font != previous.Font) Word("f", next.Font);
    if (all || next.HalfPoints != previous.HalfPoints) Word("fs", next.HalfPoints);
    if (all ? next.Bold : next.Bold != previous.Bold) Flag("b", next.Bold, "b0");
    if (all ? next.Italic : next.Italic != previous.Italic) Flag("i", next.Italic, "i0");
    if (all ? next.Underline : next.Underline != previous.Underline) {
        Flag("ul", next.Underline, "ulnone");
    }
    if (all ? next.Strike : next.Strike != previous.Strike) Flag("strike", next.Strike, "strike0");
    if (all ? next.Colour != 0 : next.Colour != previous.Colour) Word("cf", next.Colour);
    if (all ? next.Highlight != 0 : next.Highlight != previous.Highlight) {
        Word("highlight", next.Highlight);
    }
    WriteScript(next, all);
    FState = next;
}

// \nosupersub ends super- and subscript only; raised and lowered text ends with \up0 or \dn0,
// the words other word processors read it by.
void RtfWriter::WriteScript(const CharState& next, bool all) {
    const CharState previous = FState.value_or(CharState());
    if (all || next.Script != previous.Script) {
        if (next.Script != 0) {
            Word(next.Script == 1 ? "super" : "sub");
        } else if (!all) {
            Word("nosupersub");
        }
    }
    if (all || next.Raise != previous.Raise) {
        if (next.Raise > 0) {
            Word("up", next.Raise);
        } else if (next.Raise < 0) {
            Word("dn", -next.Raise);
        } else if (!all) {
            Word(previous.Raise > 0 ? "up" : "dn", 0);
        }
    }
}

void RtfWriter::WriteText(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        } else if (QChar::isSurrogate(c)) {
            c = 0xFFFD;  // half a pair stands for nothing readable
        }
        WriteCharacter(c);
    }
}

// Each U+FFFC of the fragment is the picture, written back as its group came; should other
// characters have taken the picture's format, they are text as usual.
void RtfWriter::WritePictures(QStringView text, const QByteArray& group) {
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != QChar::ObjectReplacementCharacter) continue;
        WriteText(text.sliced(from, i - from));
        from = i + 1;
        if (i == text.size()) break;
        BreakLineIfLong(kSoftLineLength);
        FOut->append(group.constData(), size_t(group.size()));
        FDelimiterPending = false;  // the group's closing brace ends any control word
        const qsizetype lastBreak = group.lastIndexOf('\n');
        if (lastBreak >= 0) FLineStart = FOut->size() - size_t(group.size() - lastBreak - 1);
    }
}

void RtfWriter::WriteCharacter(char32_t c) {
    switch (c) {
        case '\t':
            Word("tab");
            return;
        case 0x2028:
            Word("line");
            return;
        case 0x00A0:
            TextToken("\\~", false);
            return;
        case 0x00AD:
            TextToken("\\-", false);
            return;
        case 0x2011:
            TextToken("\\_", false);
            return;
        case 0xFFFC:
            return;  // an embedded object: nothing of it can be written as text
        case '\\':
            TextToken("\\\\", false);
            return;
        case '{':
            TextToken("\\{", false);
            return;
        case '}':
            TextToken("\\}", false);
            return;
        default:
            break;
    }
    if (c < 0x20 || c == 0x7F) {
        // Control codes stay in the text as the bytes they are.
        TextToken(Hex(int(c)), false);
        return;
    }
    if (c < 0x80) {
        char ch = char(c);
        TextToken(std::string_view(&ch, 1), c == ' ');
        return;
    }
    if (c > 0xFFFF) {
        // Beyond 16 bits: the two halves of the UTF-16 pair, each with its own fallback.
        std::string token = "\\u" + std::to_string(int(QChar::highSurrogate(c)) - 65536) + "?\\u" +
                            std::to_string(int(QChar::lowSurrogate(c)) - 65536) + "?";
        TextToken(token, true);
        return;
    }
    int signedValue = c > 32767 ? int(c) - 65536 : int(c);
    int fallback = RtfCodePage::EncodeWestern(c);
    std::string token = "\\u" + std::to_string(signedValue) + (fallback >= 0 ? Hex(fallback) : "?");
    TextToken(token, true);
}

void RtfWriter::Word(std::string_view word) {
    BreakLineIfLong(kSoftLineLength);
    *FOut += '\\';
    *FOut += word;
    FDelimiterPending = true;
}

void RtfWriter::Word(std::string_view word, int param) {
    Word(word);
    *FOut += std::to_string(param);
}

void RtfWriter::Flag(std::string_view word, bool on, std::string_view offWord) {
    Word(on ? word : offWord);
}

void RtfWriter::TextToken(std::string_view token, bool breakable) {
    if (FDelimiterPending) {
        *FOut += ' ';
        FDelimiterPending = false;
    }
    BreakLineIfLong(breakable ? kSoftLineLength : kHardLineLength);
    *FOut += token;
}

void RtfWriter::BreakLineIfLong(size_t limit) {
    if (FOut->size() - FLineStart >= limit) NewLine();
}

void RtfWriter::NewLine() {
    *FOut += "\r\n";
    FLineStart = FOut->size();
    FDelimiterPending = false;  // the line break ends a control word as well as a space does
}

}  // namespace Rtf
