// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include <gtest/gtest.h>

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"
#include "tests/platform/rtf/RtfTestSupport.h"

using RtfTest::Alignments;
using RtfTest::Paragraphs;
using RtfTest::Spans;
using Strings = std::vector<std::string>;

namespace {

QTextCharFormat Format(const QString& family, double points, bool bold = false, bool italic = false,
                       bool underline = false, bool strike = false, QColor colour = QColor()) {
    QTextCharFormat f;
    f.setFontFamilies({family});
    f.setFontPointSize(points);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(italic);
    f.setFontUnderline(underline);
    f.setFontStrikeOut(strike);
    if (colour.isValid()) f.setForeground(colour);
    return f;
}

// Builds a document paragraph by paragraph: each paragraph is a list of (text, format) runs.
struct Paragraph {
    std::vector<std::pair<QString, QTextCharFormat>> runs;
    Qt::Alignment alignment = Qt::AlignLeft;
};

void Fill(QTextDocument& doc, const std::vector<Paragraph>& paragraphs) {
    QTextCursor cursor(&doc);
    bool first = true;
    for (const Paragraph& p : paragraphs) {
        QTextBlockFormat block;
        block.setAlignment(p.alignment);
        if (first) {
            cursor.setBlockFormat(block);
        } else {
            cursor.insertBlock(block);
        }
        first = false;
        for (const auto& [text, format] : p.runs) cursor.insertText(text, format);
    }
}

// Writes `doc`, reads the result into a new document and checks that both look the same.
void ExpectRoundTrip(const QTextDocument& doc) {
    std::string rtf = Rtf::Write(doc);
    QTextDocument back;
    ASSERT_TRUE(Rtf::Read(rtf, back)) << rtf;
    EXPECT_EQ(Paragraphs(back), Paragraphs(doc)) << rtf;
    EXPECT_EQ(Spans(back), Spans(doc)) << rtf;
    EXPECT_EQ(Alignments(back), Alignments(doc)) << rtf;
    EXPECT_EQ(RtfTest::Blocks(back), RtfTest::Blocks(doc)) << rtf;
}

}  // namespace

TEST(RtfWriter, MixedFormatsRoundTrip) {
    QTextDocument doc;
    QTextCharFormat plain = Format("Arial", 10);
    Fill(doc, {
                  {{{"Plain, ", plain},
                    {"bold, ", Format("Arial", 10, true)},
                    {"bold italic, ", Format("Arial", 10, true, true)},
                    {"underlined, ", Format("Arial", 10, false, false, true)},
                    {"struck", Format("Arial", 10, false, false, false, true)},
                    {" and all.", Format("Arial", 10, true, true, true, true)}}},
                  {{{"Courier ", Format("Courier New", 10.5)},
                    {"big red",
                     Format("Times New Roman", 72, false, false, false, false, QColor(255, 0, 0))},
                    {" blue",
                     Format("Times New Roman", 8, false, false, false, false, QColor(0, 0, 255))},
                    {" auto", Format("Times New Roman", 8)}},
                   Qt::AlignHCenter},
                  {{{"  two leading spaces, ", plain},
                    {"42 digits", Format("Arial", 10, true)},
                    {"-dash", plain}},
                   Qt::AlignRight},
                  {{{"Justified text", plain}}, Qt::AlignJustify},
              });
    ExpectRoundTrip(doc);
}

TEST(RtfWriter, UnicodeAndSpecialCharactersRoundTrip) {
    QTextDocument doc;
    QTextCharFormat f = Format("Arial", 12);
    QString text = QString::fromUtf8(
        "Grüße € – “quoted” Ελληνικά Русский 中文 😀 𝄞 a\\b{c}d\tTab\u00A0nbsp\u00ADsoft"
        "\u2011hyphen");
    text += QChar::LineSeparator;
    text += "after the line break";
    Fill(doc, {{{{text, f}}}, {{{QString::fromUtf8("第二段 ẞ"), f}}}});
    ExpectRoundTrip(doc);
}

TEST(RtfWriter, EmptyParagraphsRoundTripWhereverTheyAre) {
    QTextCharFormat f = Format("Arial", 12);
    const std::vector<std::vector<QString>> cases = {
        {""},         {"", ""},           {"only"},      {"text", ""},
        {"", "text"}, {"a", "", "", "b"}, {"a", "", ""}, {"", "", ""},
    };
    for (const auto& texts : cases) {
        QTextDocument doc;
        std::vector<Paragraph> paragraphs;
        paragraphs.reserve(texts.size());
        for (const QString& t : texts) paragraphs.push_back({{{t, f}}, Qt::AlignLeft});
        Fill(doc, paragraphs);
        SCOPED_TRACE(texts.size());
        ExpectRoundTrip(doc);
    }
}

TEST(RtfWriter, AlignmentOfEmptyLastParagraphRoundTrips) {
    QTextDocument doc;
    Fill(doc, {{{{"x", Format("Arial", 9)}}}, {{}, Qt::AlignHCenter}});
    ExpectRoundTrip(doc);
}

TEST(RtfWriter, UnformattedTextTakesTheDocumentsDefaultFont) {
    QTextDocument doc;
    doc.setDefaultFont(QFont("Liberation Sans", 9));
    doc.setPlainText("Plain note\nsecond line");
    std::string rtf = Rtf::Write(doc);
    QTextDocument back;
    ASSERT_TRUE(Rtf::Read(rtf, back));
    EXPECT_EQ(Paragraphs(back), (Strings{"Plain note", "second line"}));
    QTextCharFormat f = RtfTest::FormatAt(back, 0);
    EXPECT_EQ(f.fontFamilies().toStringList(), QStringList{"Liberation Sans"});
    EXPECT_EQ(f.fontPointSize(), 9.0);
    EXPECT_EQ(f.foreground().style(), Qt::NoBrush);
    EXPECT_EQ(rtf.find("\\cf"), std::string::npos) << "automatic colour needs no colour word";
    EXPECT_EQ(rtf.find("\\colortbl"), std::string::npos);
}

TEST(RtfWriter, WritesPlainAsciiWithShortLinesAndCodePageFallbacks) {
    QTextDocument doc;
    QString text;
    for (int i = 0; i < 200; ++i) text += QString::fromUtf8("wörd€ 中 ");
    text += QString(500, QChar('x'));  // one long word
    doc.setPlainText(text);
    std::string rtf = Rtf::Write(doc);

    EXPECT_TRUE(
        rtf.starts_with("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 "));
    EXPECT_NE(rtf.find("\\viewkind4\\uc1"), std::string::npos);
    EXPECT_NE(rtf.find("w\\u246\\'f6rd\\u8364\\'80 \\u20013?"), std::string::npos);
    size_t lineStart = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        ASSERT_LT(uint8_t(rtf[i]), 0x80) << "at " << i;
        if (rtf[i] == '\n') {
            EXPECT_LE(i - lineStart, 210u);
            lineStart = i + 1;
        }
    }
    QTextDocument back;
    ASSERT_TRUE(Rtf::Read(rtf, back));
    EXPECT_EQ(back.toPlainText(), text);
}

TEST(RtfWriter, FontNamesWithRtfCharactersSurvive) {
    QTextDocument doc;
    Fill(doc, {{{{"odd", Format("Semi;colon {Sans}", 11)}, {"ü", Format("Schrift Ä", 11)}}}});
    ExpectRoundTrip(doc);
}

TEST(RtfWriter, HighlightScriptsIndentsSpacingAndHiddenTextRoundTrip) {
    QTextDocument doc;
    QTextCharFormat plain = Format("Arial", 10);
    QTextCharFormat marked = plain, super = plain, sub = plain, up = plain, down = plain;
    marked.setBackground(QColor(255, 255, 0));
    super.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    sub.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    up.setBaselineOffset(30);
    down.setBaselineOffset(-20);
    QTextCharFormat superMarked = super;
    superMarked.setBackground(QColor(0, 255, 0));
    QTextCharFormat carrier = plain;
    carrier.setProperty(Rtf::kHiddenTextBefore, QStringLiteral("hidden {note}\\"));
    carrier.setProperty(Rtf::kHiddenTextSerial, 7);
    Fill(doc, {{{{"plain ", plain},
                 {"marked", marked},
                 {" E=mc", plain},
                 {"2", super},
                 {"2", superMarked},
                 {" H", plain},
                 {"2", sub},
                 {"O ", plain},
                 {"up", up},
                 {"down", down},
                 {"x", carrier},
                 {"y", plain}}}});
    QTextCursor cursor(&doc);
    QTextBlockFormat block;
    block.setLeftMargin(96);
    block.setRightMargin(48);
    block.setTextIndent(-24);
    block.setTopMargin(8);
    block.setBottomMargin(16);
    block.setAlignment(Qt::AlignJustify);
    block.setProperty(Rtf::kHiddenTextAtEnd, QStringLiteral("at the end"));
    cursor.setBlockFormat(block);
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock(QTextBlockFormat(), plain);
    cursor.insertText("next");
    ExpectRoundTrip(doc);
    const std::string rtf = Rtf::Write(doc);
    for (const char* word : {"\\highlight1", "\\super", "\\sub", "\\up6", "\\dn4", "\\nosupersub",
                             "\\li1440", "\\ri720", "\\fi-360", "\\sb120", "\\sa240", "{\\v "}) {
        EXPECT_NE(rtf.find(word), std::string::npos) << word << " in " << rtf;
    }
}

// Raised and lowered text ends with \up0 or \dn0: by the RTF format \nosupersub ends only
// super- and subscript, and a reader that follows it would keep raising what comes after.
TEST(RtfWriter, RaisedTextEndsWithUpOrDownZeroAndScriptsWithNoSuperSub) {
    QTextCharFormat plain = Format("Arial", 10);
    QTextCharFormat up = plain, down = plain, super = plain;
    up.setBaselineOffset(30);
    down.setBaselineOffset(-20);
    super.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    struct Case {
        std::vector<std::pair<QString, QTextCharFormat>> runs;
        std::vector<const char*> present, absent;
    };
    const Case cases[] = {
        {{{"x", up}, {"y", plain}}, {"\\up6 x", "\\up0 y"}, {"nosupersub"}},
        {{{"x", down}, {"y", plain}}, {"\\dn4 x", "\\dn0 y"}, {"nosupersub"}},
        {{{"x", up}, {"y", down}, {"z", plain}}, {"\\dn4 y", "\\dn0 z"}, {"nosupersub", "up0"}},
        {{{"x", super}, {"y", plain}}, {"\\super x", "\\nosupersub y"}, {"up0", "dn0"}},
        {{{"a", plain}, {"x", up}}, {"\\up6 x"}, {"up0", "dn0", "nosupersub"}},
    };
    for (const Case& c : cases) {
        QTextDocument doc;
        Fill(doc, {{c.runs}});
        const std::string rtf = Rtf::Write(doc);
        for (const char* word : c.present) EXPECT_NE(rtf.find(word), std::string::npos) << rtf;
        for (const char* word : c.absent) EXPECT_EQ(rtf.find(word), std::string::npos) << rtf;
        ExpectRoundTrip(doc);
    }
}

TEST(RtfWriter, HiddenTextCarriedByManyRunsIsWrittenOnce) {
    QTextDocument doc;
    QTextCharFormat carrier = Format("Arial", 10);
    carrier.setProperty(Rtf::kHiddenTextBefore, QStringLiteral("once"));
    carrier.setProperty(Rtf::kHiddenTextSerial, 3);
    QTextCharFormat boldCarrier = carrier;
    boldCarrier.setFontWeight(QFont::Bold);
    QTextCharFormat other = carrier;
    other.setProperty(Rtf::kHiddenTextSerial, 4);
    // Text typed after the carrier takes its format; a copy elsewhere carries its own.
    Fill(doc, {{{{"ab", carrier}, {"cd", boldCarrier}, {"e", Format("Arial", 10)}, {"f", other}}}});
    const std::string rtf = Rtf::Write(doc);
    size_t count = 0;
    for (size_t at = rtf.find("once"); at != std::string::npos; at = rtf.find("once", at + 1))
        ++count;
    EXPECT_EQ(count, 2u) << rtf;
}

TEST(RtfWriter, ControlCodesAreWrittenEscapedAndReadBack) {
    QTextDocument doc;
    QString text = QStringLiteral("a");
    for (char16_t c : {u'\x01', u'\x08', u'\x0b', u'\x0c', u'\x1b', u'\x1f', u'\x7f'}) {
        text += QChar(c);
        text += QChar(u'x');
    }
    Fill(doc, {{{{text, Format("Arial", 10)}}}});
    const std::string rtf = Rtf::Write(doc);
    EXPECT_NE(rtf.find("\\'01x\\'08x"), std::string::npos) << rtf;
    for (char c : rtf) EXPECT_TRUE(c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F)) << int(c);
    ExpectRoundTrip(doc);
}

// Documents written the way common word processors write them: loaded, saved, loaded again,
// they must look the same as after the first load.
TEST(RtfWriter, WordProcessorDocumentsSurviveLoadSaveLoad) {
    const char* const documents[] = {
        // A styled office document: style sheet, Symbol font, colours, highlight, scripts.
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Liberation Serif;}"
        "{\\f1\\froman\\fprq2\\fcharset2 Symbol;}{\\f2\\fswiss\\fprq2\\fcharset0 Liberation Sans;}}"
        "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue0;\\red197\\green0\\blue11;}"
        "{\\stylesheet{\\s0\\snext0\\sa140\\sl276\\slmult1\\fs24 Normal;}"
        "{\\s1\\sbasedon0\\snext0\\sb240\\sa120\\keepn\\b\\f2\\fs36 Heading 1;}"
        "{\\*\\cs15\\i Emphasis;}}\n"
        "\\pard\\plain\\s1 Results\\par\n"
        "\\pard\\plain\\s0\\li720\\ri360\\fi-360 Mass {\\highlight2 matters}: E=mc{\\super 2}, "
        "H{\\sub 2}O, {\\f1 a\\'ae b}, {\\cs15 stressed}{\\cf3 red}\\par\n"
        "\\pard\\plain\\s0\\qc Centred{\\v  hidden} text\\page Next page\\par}",
        // As the system's small word processor writes: no style sheet, sizes on every run.
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl{\\f0\\fnil\\fcharset0 "
        "Calibri;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n{\\colortbl ;\\red0\\green176\\blue80;}\r\n"
        "\\viewkind4\\uc1\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Plain \\b bold\\b0  "
        "\\cf1 green\\cf0  \\f1\\'b6\\f0  x\\up6 2\\up0\\par\r\n"
        "\\pard\\li1440\\sa200 Indented\\par\r\n}",
    };
    for (const char* rtf : documents) {
        QTextDocument first;
        ASSERT_TRUE(Rtf::Read(rtf, first));
        SCOPED_TRACE(first.toPlainText().toStdString());
        ExpectRoundTrip(first);
    }
}

// List labels are text once loaded: saved, they are words any reader shows, and reading the
// saved file again shows each label once.
TEST(RtfWriter, ListLabelsAreSavedAsTheirText) {
    const char* const rtf =
        R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}})"
        R"({\*\listtable{\list{\listlevel\levelnfc0{\leveltext\'02\'00.;}{\levelnumbers\'01;}})"
        R"({\listlevel\levelnfc23{\leveltext\'01\u-3913 ?;}\f1}\listid7}})"
        R"({\*\listoverridetable{\listoverride\listid7\ls1}})"
        R"(\pard\ls1 First\par\pard\ls1\ilvl1 Dot\par\pard\ls1 Second\par})";
    QTextDocument first;
    ASSERT_TRUE(Rtf::Read(rtf, first));
    ASSERT_EQ(Paragraphs(first), (Strings{"1.\tFirst", "•\tDot", "2.\tSecond"}));
    const std::string saved = Rtf::Write(first);
    for (const char* label : {"1.\\tab First", "\\u8226\\'95\\tab Dot", "2.\\tab Second"}) {
        EXPECT_NE(saved.find(label), std::string::npos) << label << " in " << saved;
    }
    EXPECT_EQ(saved.find("\\ls"), std::string::npos) << "no list of ours to number it again";
    ExpectRoundTrip(first);
}

// Page breaks as other programs write them (\page between paragraphs, \pagebb on one) come
// back as page breaks, in the same places, and are not written as plain paragraph marks.
TEST(RtfWriter, PageBreaksRoundTripAsPageBreaks) {
    auto breaks = [](const QTextDocument& doc) {
        std::vector<bool> starts;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            starts.push_back(b.blockFormat().pageBreakPolicy() &
                             QTextFormat::PageBreak_AlwaysBefore);
        return starts;
    };
    const struct {
        const char* Rtf;
        Strings Texts;
        std::vector<bool> Breaks;
    } cases[] = {
        {"{\\rtf1 one\\page two\\par three}", {"one", "two", "three"}, {false, true, false}},
        {"{\\rtf1 one\\par\\page two}", {"one", "two"}, {false, true}},
        {"{\\rtf1 one\\par\\pard\\pagebb two\\par\\pard three}",
         {"one", "two", "three"},
         {false, true, false}},
        {"{\\rtf1\\pard\\pagebb first\\par\\pard second}", {"first", "second"}, {true, false}},
        // A paragraph property lasts until \pard: both paragraphs start a page.
        {"{\\rtf1\\pard\\pagebb first\\par second}", {"first", "second"}, {true, true}},
        {"{\\rtf1 one\\sect two}", {"one", "two"}, {false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Rtf);
        QTextDocument doc;
        ASSERT_TRUE(Rtf::Read(c.Rtf, doc));
        EXPECT_EQ(Paragraphs(doc), c.Texts);
        EXPECT_EQ(breaks(doc), c.Breaks);
        const std::string written = Rtf::Write(doc);
        const bool anyBreak = std::find(c.Breaks.begin(), c.Breaks.end(), true) != c.Breaks.end();
        EXPECT_EQ(written.find("\\page") != std::string::npos, anyBreak) << written;
        QTextDocument back;
        ASSERT_TRUE(Rtf::Read(written, back));
        EXPECT_EQ(Paragraphs(back), c.Texts);
        EXPECT_EQ(breaks(back), c.Breaks);
    }
}

// Each colour and font has one table entry, in the order of first use, however many runs share
// it and however many there are (the tables are looked up by hash).
TEST(RtfWriter, ColoursAndFontsTakeOneEntryEachInOrderOfFirstUse) {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("Arial")));
    QTextCursor cursor(&doc);
    const QColor colours[] = {QColor(1, 2, 3), QColor(200, 0, 0), QColor(1, 2, 3), QColor(0, 0, 9)};
    const char* families[] = {"Courier New", "Arial", "Courier New", "Times New Roman"};
    for (int i = 0; i < 4; ++i)
        cursor.insertText(
            QStringLiteral("w%1 ").arg(i),
            Format(QString::fromLatin1(families[i]), 10, false, false, false, false, colours[i]));
    for (int i = 0; i < 3000; ++i)  // many colours of their own
        cursor.insertText(QStringLiteral("x"), Format(QStringLiteral("Arial"), 10, false, false,
                                                      false, false, QColor(QRgb(0x10000 + i))));
    const std::string rtf = Rtf::Write(doc);
    std::string flat = rtf;  // without the writer's soft line breaks
    std::erase_if(flat, [](char c) { return c == '\r' || c == '\n'; });
    EXPECT_NE(flat.find("{\\colortbl ;\\red1\\green2\\blue3;\\red200\\green0\\blue0;\\red0\\green0"
                        "\\blue9;\\red1\\green0\\blue0;"),
              std::string::npos)
        << flat.substr(0, 400);
    EXPECT_NE(
        flat.find("{\\f1\\fnil\\fcharset0 Courier New;}{\\f2\\fnil\\fcharset0 Times New Roman;}}"),
        std::string::npos)
        << flat.substr(0, 200);  // Arial is \f0, the default
    EXPECT_NE(flat.find("\\cf3002"), std::string::npos);
    EXPECT_EQ(flat.find("\\cf3004"), std::string::npos);
    // Read back, every run keeps its colour.
    QTextDocument back;
    ASSERT_TRUE(Rtf::Read(rtf, back));
    QTextCursor probe(&back);
    probe.setPosition(back.characterCount() - 1);  // the format of the character before it
    EXPECT_EQ(probe.charFormat().foreground().color(), QColor(QRgb(0x10000 + 2999)));
}

// A note in one character format is written from its raw text without walking its fragments;
// the file is byte for byte the one the walk writes.
TEST(RtfWriter, ANoteInOneFormatWritesAsTheFragmentWalkDoes) {
    const QString text = QString::fromUtf16(
        u"plain {braces} back\\slash caf\u00e9 \u20ac \U0001F600 tab\there\n\nsecond para\nthird");
    QTextDocument uniform;
    QTextCursor(&uniform).insertText(text);
    QTextDocument walked;
    QTextCursor cursor(&walked);
    cursor.insertText(text);
    // A second format in the document's table, though no character keeps it, makes the writer
    // walk the fragments.
    cursor.setPosition(2);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    const QTextCharFormat before = cursor.charFormat();
    QTextCharFormat bold = before;
    bold.setFontWeight(QFont::Bold);
    cursor.setCharFormat(bold);
    cursor.setCharFormat(before);
    ASSERT_GT(walked.allFormats().size(), uniform.allFormats().size());
    EXPECT_EQ(Rtf::Write(uniform), Rtf::Write(walked));
}
