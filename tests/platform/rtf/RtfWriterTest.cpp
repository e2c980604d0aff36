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
