// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QImage>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <random>
#include <string>
#include <vector>

#include "platform/richedit/LineBreaker.h"
#include "platform/richedit/LineTable.h"

using namespace RichEdit;

namespace {

using Spans = std::vector<LineBreaker::Span>;

Spans QtLines(const QTextBlock& block) {
    Spans spans;
    const QTextLayout* layout = block.layout();
    for (int i = 0; i < layout->lineCount(); ++i)
        spans.push_back({layout->lineAt(i).textStart(), layout->lineAt(i).textLength()});
    return spans;
}

std::string Show(const Spans& spans, const QString& text = {}) {
    std::string s;
    for (const auto& span : spans) {
        s += std::to_string(span.Start) + "+" + std::to_string(span.Length) + " ";
        if (!text.isEmpty()) s += "[" + text.mid(span.Start, span.Length).toStdString() + "]\n";
    }
    return s;
}

std::string Fragments(const QTextBlock& b) {
    std::string s;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        const QFont font = f.charFormat().font();
        s += std::to_string(f.position() - b.position()) + ":" + std::to_string(f.length()) +
             (font.bold() ? "b" : "") + (font.italic() ? "i" : "") + "@" +
             std::to_string(font.pointSizeF()) + (f.charFormat().fontUnderline() ? "u" : "") + " ";
    }
    return s;
}

// The table Qt's own layout gives, read after laying the whole document out.
std::vector<LineTable::Line> QtTable(const QTextDocument& doc) {
    doc.documentLayout()->documentSize();
    std::vector<LineTable::Line> lines;
    const QString raw = doc.toRawText();
    int number = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next(), ++number) {
        for (const auto& span : QtLines(block)) {
            int count = span.Length;
            if (count > 0 &&
                raw.at(block.position() + span.Start + count - 1) == QChar::LineSeparator)
                --count;
            lines.push_back({block.position() + span.Start, count, number});
        }
    }
    return lines;
}

void ExpectTableIsQts(const QTextDocument& doc, const std::string& what) {
    LineTable table;
    table.Build(doc, true, doc.toRawText());
    const std::vector<LineTable::Line> expected = QtTable(doc);
    ASSERT_EQ(table.Count(), int(expected.size())) << what;
    for (int i = 0; i < table.Count(); ++i) {
        ASSERT_EQ(table.At(i).DocStart, expected[size_t(i)].DocStart) << what << " line " << i;
        ASSERT_EQ(table.At(i).Length, expected[size_t(i)].Length) << what << " line " << i;
        ASSERT_EQ(table.At(i).Block, expected[size_t(i)].Block) << what << " line " << i;
    }
}

// Random prose meant to find the edges of the model: capitals that kern against a space,
// punctuation and hyphens that allow or forbid breaks, digits, ligatures, long words, several
// spaces, line separators, and bold, italic, size and colour runs, even inside words.
class ProseWriter {
public:
    explicit ProseWriter(unsigned seed) : FRandom(seed) {}

    void Paragraph(QTextCursor& cursor, const QFont& base) {
        const int words = Pick(0, 60);
        if (Chance(8)) Insert(cursor, QString(Pick(1, 3), QLatin1Char(' ')), base);
        for (int w = 0; w < words; ++w) {
            Insert(cursor, Word(), base);
            if (w + 1 == words && !Chance(10)) break;
            if (Chance(30)) {
                if (Chance(2)) Insert(cursor, QStringLiteral(" "), base);
                Insert(cursor, QString(QChar::LineSeparator), base);
            } else {
                Insert(cursor, QString(Chance(6) ? Pick(2, 4) : 1, QLatin1Char(' ')), base);
            }
        }
    }

private:
    bool Chance(int oneIn) { return Pick(1, oneIn) == 1; }
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(FRandom); }

    QString Word() {
        static const QStringList fixed =
            QString::fromUtf8(
                "AVA To Ty We Yo Tea-Time well-known -5 x- \"Yes,\" (Va) a/b end. Why? Wow! 'Tis "
                "L'Avenir caf\u00e9 na\u00efve \u00d8re office stuff off fly 1999 3.14 T. Y, V; W: "
                "f r. [A] {y} $5 50% #1 a&b x=y <T> A- -- ... w/ \u00bfQu\u00e9? \u00abA\u00bb")
                .split(QLatin1Char(' '));
        if (Chance(2)) return fixed[Pick(0, int(fixed.size()) - 1)];
        static const char letters[] = "AVTWYLPFfkrvwxyjo.,-'aeiouAnstlm1";
        const int length = Chance(25) ? Pick(20, 70) : Pick(1, 10);
        QString word;
        for (int i = 0; i < length; ++i)
            word += QLatin1Char(letters[Pick(0, int(sizeof letters) - 2)]);
        return word;
    }

    // Inserts `text` in runs of random formats, sometimes splitting it.
    void Insert(QTextCursor& cursor, const QString& text, const QFont& base) {
        int at = 0;
        while (at < text.size()) {
            const int n = Chance(6) ? Pick(1, int(text.size()) - at) : int(text.size()) - at;
            cursor.insertText(text.mid(at, n), Format(base));
            at += n;
        }
    }

    QTextCharFormat Format(const QFont& base) {
        QTextCharFormat format;
        switch (Pick(0, 11)) {
            case 0:
                format.setFontWeight(QFont::Bold);
                break;
            case 1:
                format.setFontItalic(true);
                break;
            case 2:
                format.setFontWeight(QFont::Bold);
                format.setFontItalic(true);
                break;
            case 3:
                format.setFontPointSize(base.pointSizeF() * 1.5);
                break;
            case 4:
                format.setFontPointSize(base.pointSizeF() * 0.75);
                break;
            case 5:
                format.setForeground(Qt::red);
                break;
            case 6:
                format.setFontUnderline(true);
                break;
            default:
                break;
        }
        return format;
    }

    std::mt19937 FRandom;
};

std::vector<QString> TestFamilies() {
    std::vector<QString> families;
    for (const char* name : {"Liberation Sans", "DejaVu Sans", "Liberation Serif", "DejaVu Serif"})
        if (QFontDatabase::hasFamily(QString::fromLatin1(name)))
            families.push_back(QString::fromLatin1(name));
    return families;
}

}  // namespace

// The heart of the prediction: for random prose in several fonts, sizes, widths and paragraph
// margins, every paragraph predicted has exactly the lines Qt's layout gives it, and most
// paragraphs are predicted rather than left to Qt.
TEST(LineBreaker, PredictsTheLinesQtLaysOut) {
    const std::vector<QString> families = TestFamilies();
    ASSERT_GE(families.size(), 2u) << "needs two of the Liberation and DejaVu fonts";
    int compared = 0, predicted = 0, lines = 0, wrong = 0;
    unsigned seed = 1;
    for (const QString& family : families) {
        for (const qreal size : {14.5, 9.0, 11.0}) {
            for (const int width : {97, 181, 273, 402, 655}) {
                QFont font(family);
                font.setPointSizeF(size);
                QTextDocument doc;
                doc.setDefaultFont(font);
                ProseWriter writer(seed++);
                QTextCursor cursor(&doc);
                for (int p = 0; p < 40; ++p) {
                    if (p > 0) {
                        QTextBlockFormat format;
                        if (p % 5 == 0) {
                            format.setLeftMargin(7.3 * (p % 3));
                            format.setRightMargin(3.55 * (p % 4));
                            format.setTextIndent(p % 2 ? 12.4 : -5.0);
                            format.setIndent(p % 3 == 1 ? 1 : 0);
                        }
                        cursor.insertBlock(format);
                    }
                    writer.Paragraph(cursor, font);
                }
                doc.setTextWidth(width);
                LineBreaker breaker(doc);
                ASSERT_TRUE(breaker.Usable());
                std::vector<Spans> guesses;
                const QString raw = doc.toRawText();
                for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
                    Spans spans;
                    const QStringView text = QStringView(raw).mid(b.position(), b.length() - 1);
                    LineBreaker::Widths widths{};
                    if (!breaker.BlockWidths(b, widths) ||
                        breaker.Break(b, text, widths, spans) != LineBreaker::Outcome::Predicted)
                        spans.clear();
                    guesses.push_back(spans);
                }
                doc.documentLayout()->documentSize();
                size_t i = 0;
                for (QTextBlock b = doc.begin(); b.isValid(); b = b.next(), ++i) {
                    ++compared;
                    if (guesses[i].empty()) continue;
                    ++predicted;
                    lines += int(guesses[i].size());
                    const Spans qt = QtLines(b);
                    if (Show(guesses[i]) != Show(qt) && ++wrong > 4) continue;
                    EXPECT_EQ(Show(guesses[i]), Show(qt))
                        << family.toStdString() << " " << size << "pt at " << width
                        << " px, paragraph " << i << ":\n"
                        << Show(guesses[i], b.text()) << "Qt:\n"
                        << Show(qt, b.text()) << Fragments(b);
                }
            }
        }
    }
    std::printf("%d paragraphs compared, %d predicted, %d lines\n", compared, predicted, lines);
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(predicted, compared * 6 / 10);
}

// The table is Qt's layout whichever way each paragraph got its lines: predicted, left to Qt
// (other scripts, tabs, soft hyphens, objects, letter spacing, words wider than the line), or
// read from Qt where it laid the paragraph out, but not from lines left over from another width.
TEST(LineBreaker, TableMatchesQtWhateverEachParagraphNeeds) {
    QTextDocument doc;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(10);
    doc.setDefaultFont(font);
    QTextCursor cursor(&doc);
    const QString paragraphs[] = {
        QStringLiteral("Plain words that wrap over a few lines at this width, As To We."),
        QStringLiteral("Tabs\tin\tthe\ttext\tmove the words along\tto the stops."),
        QStringLiteral("More\ttabs\tafter\ta margin\tand an indent\tmove\tthe words"),
        QString::fromUtf8("\xce\x95\xce\xbb\xce\xbb\xce\xb7\xce\xbd\xce\xb9\xce\xba\xce\xac "
                          "words and Latin words mixed along a line."),
        QString::fromUtf8("soft\xc2\xadhyphen\xc2\xad"
                          "ated long words, hy\xc2\xadphen\xc2\xad"
                          "ation every\xc2\xadwhere along the line"),
        QStringLiteral("Averyveryverylongwordthatcannotfitononelineatallwhateverhappens then"),
        QString::fromUtf8("non\xc2\xa0"
                          "breaking\xc2\xa0spaces hold words together here"),
        QStringLiteral("Spaced out letters in this one."),
        QStringLiteral("An image in the middle "),
    };
    for (const QString& p : paragraphs) {
        if (&p != paragraphs) {
            // Tabs also in a paragraph with margins and an indented first line.
            QTextBlockFormat indented;
            indented.setLeftMargin(&p == &paragraphs[2] ? 23.5 : 0);
            indented.setTextIndent(&p == &paragraphs[2] ? 17 : 0);
            cursor.insertBlock(indented);
        }
        QTextCharFormat format;
        if (&p == &paragraphs[7]) format.setFontLetterSpacing(130);
        cursor.insertText(p, format);
    }
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("img")), image);
    cursor.insertImage(QStringLiteral("img"));
    cursor.insertText(QStringLiteral(" and words after it go on and on"));
    for (const int width : {150, 260}) {
        doc.setTextWidth(width);
        if (width == 150) {
            // Nothing laid out yet: the first table is all predicted or laid out paragraph by
            // paragraph.
            for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
                ASSERT_EQ(b.layout()->lineCount(), 0);
        }
        ExpectTableIsQts(doc, "width " + std::to_string(width));
    }
    // Laid out at 260; at 150 again Qt keeps the old lines beyond what it lays out at once.
    doc.setTextWidth(150);
    ExpectTableIsQts(doc, "back at 150");
}

// Openers, closers and quotes standing alone between spaces, where the line-break rules could
// forbid the break after a space that the prediction otherwise always allows.
TEST(LineBreaker, PunctuationStandingBetweenSpacesBreaksAsQtDoes) {
    const QStringList tokens =
        QString::fromUtf8("( \" ' [ { \u00ab \u00bb ) ] } ! ? ; : , . % $ - / word Tea Yes A")
            .split(QLatin1Char(' '));
    std::mt19937 random(7);
    int predicted = 0;
    for (int trial = 0; trial < 200; ++trial) {
        QTextDocument doc;
        doc.setDefaultFont(QFont(QStringLiteral("Liberation Sans"), 10));
        doc.setTextWidth(60 + int(random() % 300));
        QString text;
        for (int i = 0; i < 80; ++i) {
            text += tokens[int(random() % tokens.size())];
            text += QString(1 + int(random() % 2), QLatin1Char(' '));
        }
        doc.setPlainText(text);
        LineBreaker breaker(doc);
        LineBreaker::Widths widths{};
        Spans spans;
        const QTextBlock block = doc.begin();
        if (breaker.BlockWidths(block, widths) &&
            breaker.Break(block, block.text(), widths, spans) == LineBreaker::Outcome::Predicted)
            ++predicted;
        ExpectTableIsQts(doc, text.toStdString());
    }
    EXPECT_GT(predicted, 150);  // the prediction, not the fallback, was tried
}
