// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Pictures in RTF: every \pict group comes back from a save byte for byte, and PNG and JPEG
// pictures show as images of the size the group asks for.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTextDocument>
#include <QTextImageFormat>
#include <string>
#include <vector>

#include "platform/rtf/RtfPicture.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"
#include "tests/platform/rtf/RtfTestSupport.h"

namespace {

std::string Hex(const QByteArray& bytes) {
    return bytes.toHex().toStdString();
}

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage Filled(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The picture groups the document's U+FFFC characters carry, in order.
std::vector<std::string> Pictures(const QTextDocument& doc) {
    std::vector<std::string> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QByteArray group = f.charFormat().property(Rtf::kPictureSource).toByteArray();
            for (QChar c : f.text()) {
                if (c == QChar::ObjectReplacementCharacter) out.push_back(group.toStdString());
            }
        }
    }
    return out;
}

const std::string kPng = Hex(Encoded(Filled(4, 3, qRgb(255, 0, 0)), "PNG"));

}  // namespace

// Read, written, read again: each picture's group is the one the file held, and the text around
// it is unchanged. The second copy of "{\*\shppict...}{\nonshppict...}" stays out of the text.
TEST(RtfPicture, EveryPictureRoundTripsByteForByte) {
    const std::string png =
        "{\\pict\\pngblip\\picw4\\pich3\\picwgoal600\\pichgoal450\r\n" + kPng + "}";
    const std::string wmf =
        "{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 "
        "010009000003\r\n2200000000000500}";
    const std::string emf =
        "{\\pict{\\*\\picprop{\\sp{\\sn x}{\\sv 1}}}\\emfblip 01000000 6c000000}";
    const struct {
        std::string Rtf;
        std::vector<std::string> Texts;
        std::vector<std::string> Groups;
    } cases[] = {
        {"{\\rtf1 a" + png + "b\\par c}",
         {"a\xEF\xBF\xBC"
          "b",
          "c"},
         {png}},
        {"{\\rtf1 " + wmf + emf + "}", {"\xEF\xBF\xBC\xEF\xBF\xBC"}, {wmf, emf}},
        {"{\\rtf1 x{\\*\\shppict" + png + "}{\\nonshppict" + wmf + "}y}",
         {"x\xEF\xBF\xBCy"},
         {png}},
        // The same picture twice, side by side.
        {"{\\rtf1\\b " + png + png + "}", {"\xEF\xBF\xBC\xEF\xBF\xBC"}, {png, png}},
        // Damaged data: odd length, letters that are no hex digits, a huge \picw, a PNG that
        // does not decode, raw \bin bytes with braces in them.
        {"{\\rtf1 {\\pict\\pngblip 89504e4}}", {"\xEF\xBF\xBC"}, {"{\\pict\\pngblip 89504e4}"}},
        {"{\\rtf1 {\\pict\\jpegblip\\picw2147483647\\pich-5 zz ffd8 xyz}}",
         {"\xEF\xBF\xBC"},
         {"{\\pict\\jpegblip\\picw2147483647\\pich-5 zz ffd8 xyz}"}},
        {"{\\rtf1 {\\pict\\wmetafile8\\bin4 {}\\}}t}",
         {"\xEF\xBF\xBC"
          "t"},
         {"{\\pict\\wmetafile8\\bin4 {}\\}}"}},
        // Cut off inside the picture: kept as far as it goes, its groups closed.
        {"{\\rtf1 a{\\pict\\pngblip{\\*\\blipuid 12}89504e47",
         {"a\xEF\xBF\xBC"},
         {"{\\pict\\pngblip{\\*\\blipuid 12}89504e47}"}},
        {"{\\rtf1 a{\\pict{\\*\\blipuid 12", {"a\xEF\xBF\xBC"}, {"{\\pict{\\*\\blipuid 12}}"}},
        // Cut off inside \bin data, which then counts only the bytes there are, and after a
        // lone backslash, which must not escape the closing brace.
        {std::string("{\\rtf1 a{\\pict\\pngblip\\bin12 \0}\r", 32),
         {"a\xEF\xBF\xBC"},
         {std::string("{\\pict\\pngblip\\bin3 \0}\r}", 24)}},
        {"{\\rtf1 a{\\pict\\wmetafile8 0102\\", {"a\xEF\xBF\xBC"}, {"{\\pict\\wmetafile8 0102}"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Rtf);
        QTextDocument doc;
        ASSERT_TRUE(Rtf::Read(c.Rtf, doc));
        EXPECT_EQ(RtfTest::Paragraphs(doc), c.Texts);
        EXPECT_EQ(Pictures(doc), c.Groups);
        const std::string written = Rtf::Write(doc);
        QTextDocument back;
        ASSERT_TRUE(Rtf::Read(written, back));
        EXPECT_EQ(RtfTest::Paragraphs(back), c.Texts) << written;
        EXPECT_EQ(Pictures(back), c.Groups) << written;
    }
}

// A PNG shows as an image of the goal size times the scale, decoded from the file's bytes.
TEST(RtfPicture, PngShowsAsAnImageOfItsGoalSize) {
    QTextDocument doc;
    ASSERT_TRUE(
        Rtf::Read("{\\rtf1 a{\\pict\\pngblip\\picw4\\pich3\\picwgoal600\\pichgoal450"
                  "\\picscalex50\\picscaley200 " +
                      kPng + "}}",
                  doc));
    const QTextCharFormat format = RtfTest::FormatAt(doc, 1);
    ASSERT_TRUE(format.isImageFormat());
    const QTextImageFormat image = format.toImageFormat();
    EXPECT_DOUBLE_EQ(image.width(), 600 / 15.0 * 0.5);
    EXPECT_DOUBLE_EQ(image.height(), 450 / 15.0 * 2);
    const QImage shown =
        doc.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
    ASSERT_EQ(shown.size(), QSize(4, 3));
    EXPECT_EQ(shown.pixel(2, 1), qRgb(255, 0, 0));
    EXPECT_FALSE(RtfTest::FormatAt(doc, 0).isImageFormat());
}

// Without a goal the decoded size counts; a JPEG is shown too; a metafile, which the document
// cannot draw, is a placeholder of its goal size, or of its own size in hundredths of a mm.
TEST(RtfPicture, SizesWithoutGoalsAndPlaceholders) {
    const struct {
        std::string Group;
        QSizeF Shown;
        QSize Decoded;  // empty: a placeholder
    } cases[] = {
        {"{\\pict\\pngblip " + kPng + "}", {4, 3}, {4, 3}},
        {"{\\pict\\pngblip\\picwgoal300 " + kPng + "}", {20, 15}, {4, 3}},
        {"{\\pict\\pngblip\\picscalex300\\picscaley0 " + kPng + "}", {12, 3}, {4, 3}},
        {"{\\pict\\wmetafile8\\picwgoal1500\\pichgoal750 0100}", {100, 50}, {}},
        {"{\\pict\\pngblip\\picwgoal2147483647\\pichgoal15 0000}",
         {Rtf::RtfPicture::kMaxSide, 1},
         {}},
        {"{\\pict\\emfblip 0100}", {32, 32}, {}},
        {"{\\pict\\wmetafile8\\picw5080\\pich2540\\picscalex50 0100}", {96, 96}, {}},
        {"{\\pict\\pngblip\\picw5080\\pich2540 00}", {32, 32}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Group);
        QTextDocument doc;
        ASSERT_TRUE(Rtf::Read("{\\rtf1 " + c.Group + "}", doc));
        const QTextImageFormat image = RtfTest::FormatAt(doc, 0).toImageFormat();
        ASSERT_TRUE(image.isValid());
        EXPECT_DOUBLE_EQ(image.width(), c.Shown.width());
        EXPECT_DOUBLE_EQ(image.height(), c.Shown.height());
        const QImage shown =
            doc.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
        ASSERT_FALSE(shown.isNull());
        if (!c.Decoded.isEmpty()) {
            EXPECT_EQ(shown.size(), c.Decoded);
        }
        EXPECT_LE(shown.width(), 512);
    }
    if (!QImageReader::supportedImageFormats().contains("jpeg"))
        GTEST_SKIP() << "Qt's JPEG plugin is not installed";
    const std::string jpeg = Hex(Encoded(Filled(8, 6, qRgb(0, 0, 255)), "JPEG"));
    QTextDocument doc;
    ASSERT_TRUE(Rtf::Read("{\\rtf1 {\\pict\\jpegblip " + jpeg + "}}", doc));
    const QTextImageFormat image = RtfTest::FormatAt(doc, 0).toImageFormat();
    const QImage shown =
        doc.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
    EXPECT_EQ(shown.size(), QSize(8, 6));
    EXPECT_EQ(image.width(), 8);
}
