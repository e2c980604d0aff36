#include <gtest/gtest.h>

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextDocument>

#include "platform/richedit/RtfReader.h"
#include "tests/platform/RtfTestSupport.h"

using RtfTest::FormatOf;
using RtfTest::Paragraphs;
using RtfTest::ReadParagraphs;
using RtfTest::ReadText;
using Strings = std::vector<std::string>;

namespace {

// As the system's small word processor writes a two-paragraph note.
const char* const kWordPadSample =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 "
    "Calibri;}{\\f1\\fswiss\\fprq2\\fcharset0 Arial;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green77\\blue187;}\r\n"
    "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
    "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang9 Hello \\b bold\\b0  and \\i italic\\i0  "
    "\\cf1 red\\cf0  text.\\par\r\n"
    "\\pard\\qc\\f1\\fs32 Caf\\'e9 \\u8364?\\par\r\n"
    "}\r\n\0";

// As an office suite writes a styled document: style sheet, info, generator, page styles.
const char* const kOfficeSample =
    "{\\rtf1\\ansi\\deff3\\adeflang1025\n"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\froman\\fprq2\\fcharset2 "
    "Symbol;}{\\f3\\froman\\fprq2\\fcharset0 Liberation Serif{\\*\\falt Times New Roman};}"
    "{\\f4\\fswiss\\fprq2\\fcharset204 Liberation Sans;}}\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\n"
    "{\\stylesheet{\\s0\\snext0\\nowidctlpar\\hyphpar0\\aspalpha\\ltrpar\\cf0\\kerning1\\dbch"
    "\\af5\\langfe2052\\dbch\\af6\\afs24\\alang1081\\loch\\f3\\hich\\af3\\fs24\\lang2057 Normal;}\n"
    "{\\s15\\sbasedon0\\snext16\\sb240\\sa120\\keepn\\dbch\\af5\\dbch\\af6\\afs28\\loch\\f4"
    "\\fs28 Heading;}\n"
    "}{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}"
    "{\\info{\\creatim\\yr2024\\mo3\\dy1\\hr10\\min5}{\\revtim\\yr2024\\mo3\\dy1}"
    "{\\printim\\yr0\\mo0\\dy0\\hr0\\min0}}{\\*\\userprops}\\deftab709\n"
    "\\hyphauto1\\viewscale100\n"
    "{\\*\\pgdsctbl\n"
    "{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\margrsxn1134\\margtsxn1134"
    "\\margbsxn1134\\pgdscnxt0 Default Page Style;}}\n"
    "\\formshade\\paperh16838\\paperw11906\\margl1134\\margr1134\\margt1134\\margb1134"
    "\\sectd\\sbknone\\pgndec\\sftnnar\\saftnnrlc\\sectunlocked1\\pgwsxn11906\\pghsxn16838"
    "\\marglsxn1134\\margrsxn1134\\margtsxn1134\\margbsxn1134\\ftnbj\\ftnstart1\\ftnrstcont"
    "\\ftnnar\\aenddoc\\aftnrstcont\\aftnstart1\\aftnnrlc\n"
    "{\\*\\ftnsep\\chftnsep}\\pgndec\\pard\\plain \\s0\\nowidctlpar\\hyphpar0\\ltrpar\\cf0"
    "\\kerning1\\dbch\\af5\\langfe2052\\dbch\\af6\\afs24\\alang1081\\loch\\f3\\hich\\af3\\fs24"
    "\\lang2057{\\loch\\b\\loch First }{\\i\\loch paragraph}\n"
    "\\par \\pard\\plain \\s0\\qr\\loch\\f4\\fs20{\\cf2 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}\n"
    "\\par }";

// A two-by-two table and a hyperlink field.
const char* const kTableSample =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\n"
    "\\trowd\\trgaph108\\trleft-108\\cellx4500\\cellx9000\n"
    "\\pard\\intbl A1\\cell B1\\cell\\row\n"
    "\\trowd\\trgaph108\\trleft-108\\cellx4500\\cellx9000\n"
    "\\pard\\intbl A2\\cell\\cell\\row\n"
    "\\pard See {\\field{\\*\\fldinst{HYPERLINK \"https://example.org/\"}}"
    "{\\fldrslt{\\ul\\cf1 the site}}} now.\\par\n}";

}  // namespace

TEST(RtfReader, RejectsWhatIsNotRtfAndLeavesTheDocumentAlone) {
    QTextDocument doc;
    doc.setPlainText("keep me");
    for (std::string_view bytes : {"", "   ", "plain text", "{\\rt", "x{\\rtf1 a}", "{rtf1}"}) {
        EXPECT_FALSE(Rtf::Read(bytes, doc)) << bytes;
        EXPECT_EQ(doc.toPlainText(), "keep me");
    }
    EXPECT_TRUE(Rtf::Read(" \r\n\t{\\rtf1 text}", doc));
    EXPECT_EQ(doc.toPlainText(), "text");
}

TEST(RtfReader, WordPadSampleKeepsTextAndFormats) {
    QTextDocument doc;
    ASSERT_TRUE(Rtf::Read(kWordPadSample, doc));
    EXPECT_EQ(Paragraphs(doc), (Strings{"Hello bold and italic red text.", "Café €"}));

    EXPECT_EQ(FormatOf(doc, "Hello").fontWeight(), QFont::Normal);
    EXPECT_EQ(FormatOf(doc, "bold").fontWeight(), QFont::Bold);
    EXPECT_TRUE(FormatOf(doc, "italic").fontItalic());
    EXPECT_FALSE(FormatOf(doc, " and").fontItalic());
    EXPECT_EQ(FormatOf(doc, "red").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(FormatOf(doc, " text").foreground().style(), Qt::NoBrush);  // \cf0: automatic
    EXPECT_EQ(FormatOf(doc, "Hello").fontFamilies().toStringList(), QStringList{"Calibri"});
    EXPECT_EQ(FormatOf(doc, "Hello").fontPointSize(), 11.0);
    EXPECT_EQ(FormatOf(doc, "Caf").fontFamilies().toStringList(), QStringList{"Arial"});
    EXPECT_EQ(FormatOf(doc, "Caf").fontPointSize(), 16.0);

    EXPECT_EQ(doc.begin().blockFormat().alignment(), Qt::AlignLeft);
    EXPECT_EQ(doc.begin().next().blockFormat().alignment(), Qt::AlignHCenter);
}

TEST(RtfReader, OfficeSampleSkipsTablesOfStylesInfoAndPageStyles) {
    QTextDocument doc;
    ASSERT_TRUE(Rtf::Read(kOfficeSample, doc));
    EXPECT_EQ(Paragraphs(doc), (Strings{"First paragraph", "Привет"}));
    EXPECT_EQ(FormatOf(doc, "First").fontWeight(), QFont::Bold);
    EXPECT_EQ(FormatOf(doc, "First").fontFamilies().toStringList(),
              QStringList{"Liberation Serif"});
    EXPECT_EQ(FormatOf(doc, "paragraph").fontWeight(), QFont::Normal);
    EXPECT_TRUE(FormatOf(doc, "paragraph").fontItalic());
    EXPECT_EQ(FormatOf(doc, "Привет").foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(FormatOf(doc, "Привет").fontPointSize(), 10.0);
    EXPECT_EQ(doc.lastBlock().blockFormat().alignment(), Qt::AlignRight);
}

TEST(RtfReader, TablesBecomeTabbedLinesAndFieldsShowTheirResult) {
    QTextDocument doc;
    ASSERT_TRUE(Rtf::Read(kTableSample, doc));
    EXPECT_EQ(Paragraphs(doc), (Strings{"A1\tB1", "A2\t", "See the site now."}));
    EXPECT_TRUE(FormatOf(doc, "the site").fontUnderline());
}
