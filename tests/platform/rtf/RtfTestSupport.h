// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Helpers for the RTF tests: reading into a fresh document and looking at what it holds.
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtf/RtfDocumentProperties.h"
#include "platform/rtf/RtfReader.h"

namespace RtfTest {

// The paragraphs of `doc` as UTF-8 strings.
inline std::vector<std::string> Paragraphs(const QTextDocument& doc) {
    std::vector<std::string> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        out.push_back(b.text().toStdString());
    return out;
}

// The character format of the character at `position` (counted from the start of the document).
inline QTextCharFormat FormatAt(const QTextDocument& doc, int position) {
    QTextCursor cursor(const_cast<QTextDocument*>(&doc));
    cursor.setPosition(position + 1);  // the cursor reports the character before it
    return cursor.charFormat();
}

// The character format of the first occurrence of `text`.
inline QTextCharFormat FormatOf(const QTextDocument& doc, const QString& text) {
    const qsizetype at = doc.toPlainText().indexOf(text);
    return at < 0 ? QTextCharFormat() : FormatAt(doc, int(at));
}

inline std::vector<std::string> ReadParagraphs(std::string_view rtf) {
    QTextDocument doc;
    Rtf::Read(rtf, doc);
    return Paragraphs(doc);
}

// The text exactly as the document holds it, paragraphs joined with "\n".
inline std::string ReadText(std::string_view rtf) {
    std::string text;
    for (const std::string& p : ReadParagraphs(rtf)) text += (text.empty() ? "" : "\n") + p;
    return text;
}

}  // namespace RtfTest

namespace RtfTest {

// What a run of text looks like, resolved against its document's default font.
struct Look {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    std::string family;
    double points = 0;
    std::string colour;     // "" for the automatic colour
    std::string highlight;  // "" for none
    int script = 0;         // QTextCharFormat::VerticalAlignment
    double raise = 0;       // baseline offset, in per cent of the font's height
    std::string hidden;     // hidden text before the run
    bool operator==(const Look&) const = default;
};

struct Span {
    std::string text;
    Look look;
    bool operator==(const Span&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Span& s) {
    return os << "{\"" << s.text << "\" b" << s.look.bold << " i" << s.look.italic << " u"
              << s.look.underline << " s" << s.look.strike << " " << s.look.family << " "
              << s.look.points << "pt " << (s.look.colour.empty() ? "auto" : s.look.colour) << " hl"
              << s.look.highlight << " v" << s.look.script << " up" << s.look.raise << " hidden\""
              << s.look.hidden << "\"}";
}

inline Look LookOf(const QTextCharFormat& f, const QFont& base) {
    Look look;
    look.bold =
        f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() >= QFont::DemiBold : base.bold();
    look.italic = f.hasProperty(QTextFormat::FontItalic) ? f.fontItalic() : base.italic();
    look.underline =
        f.hasProperty(QTextFormat::TextUnderlineStyle) ? f.fontUnderline() : base.underline();
    look.strike = f.hasProperty(QTextFormat::FontStrikeOut) ? f.fontStrikeOut() : base.strikeOut();
    QStringList families = f.fontFamilies().toStringList();
    look.family = (families.isEmpty() ? base.family() : families.first()).toStdString();
    look.points = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : base.pointSizeF();
    if (f.foreground().style() != Qt::NoBrush) {
        look.colour = f.foreground().color().name().toStdString();
    }
    if (f.background().style() != Qt::NoBrush) {
        look.highlight = f.background().color().name().toStdString();
    }
    look.script = int(f.verticalAlignment());
    look.raise = f.baselineOffset();
    look.hidden = f.stringProperty(Rtf::kHiddenTextBefore).toStdString();
    return look;
}

// Each paragraph as its runs of equal look; empty paragraphs as one empty span.
inline std::vector<std::vector<Span>> Spans(const QTextDocument& doc) {
    std::vector<std::vector<Span>> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        std::vector<Span> spans;
        for (QTextBlock::iterator it = b.begin(); !it.atEnd(); ++it) {
            Span span{it.fragment().text().toStdString(),
                      LookOf(it.fragment().charFormat(), doc.defaultFont())};
            if (!spans.empty() && spans.back().look == span.look) {
                spans.back().text += span.text;
            } else {
                spans.push_back(span);
            }
        }
        out.push_back(spans);
    }
    return out;
}

// A paragraph's format as the document holds it: alignment, indents and spacing in pixels,
// and the hidden text at its end.
struct Block {
    int alignment = Qt::AlignLeft;
    double left = 0, right = 0, first = 0, before = 0, after = 0;
    std::string hidden;
    bool operator==(const Block&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Block& b) {
    return os << "{align " << b.alignment << " li" << b.left << " ri" << b.right << " fi" << b.first
              << " sb" << b.before << " sa" << b.after << " hidden\"" << b.hidden << "\"}";
}

inline std::vector<Block> Blocks(const QTextDocument& doc) {
    std::vector<Block> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        out.push_back({int(f.alignment() & Qt::AlignHorizontal_Mask), f.leftMargin(),
                       f.rightMargin(), f.textIndent(), f.topMargin(), f.bottomMargin(),
                       f.stringProperty(Rtf::kHiddenTextAtEnd).toStdString()});
    }
    return out;
}

inline std::vector<int> Alignments(const QTextDocument& doc) {
    std::vector<int> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        out.push_back(int(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask));
    }
    return out;
}

}  // namespace RtfTest
