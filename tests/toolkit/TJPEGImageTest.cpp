// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Decoding JPEG pictures: colour, greyscale, CMYK and progressive files written with libjpeg
// here, and corrupt, truncated and oversized ones.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/TImage.h"
#include "toolkit/TJPEGImage.h"

namespace {

struct Picture {
    int Width;
    int Height;
    int Components;
    J_COLOR_SPACE Space;
    std::vector<unsigned char> Samples;  // rows of Width * Components bytes
};

std::string Encode(const Picture& p, bool progressive = false, bool adobeMarker = true) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(p.Width);
    cinfo.image_height = JDIMENSION(p.Height);
    cinfo.input_components = p.Components;
    cinfo.in_color_space = p.Space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    cinfo.write_Adobe_marker = adobeMarker && p.Space == JCS_CMYK;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(p.Samples.data()) +
                       std::size_t(cinfo.next_scanline) * std::size_t(p.Width * p.Components);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string bytes(reinterpret_cast<char*>(out), size);
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return bytes;
}

// 16 x 8: red on the left half, blue on the right.
Picture RedBlue() {
    Picture p{16, 8, 3, JCS_RGB, {}};
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x) {
            const bool left = x < 8;
            const unsigned char on = 255, off = 0;
            p.Samples.insert(p.Samples.end(), {left ? on : off, off, left ? off : on});
        }
    return p;
}

::testing::AssertionResult Near(const QColor& actual, int r, int g, int b) {
    const int tolerance = 12;  // JPEG is lossy even at full quality
    if (std::abs(actual.red() - r) <= tolerance && std::abs(actual.green() - g) <= tolerance &&
        std::abs(actual.blue() - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << actual.name().toStdString();
}

QImage DecodeBytes(const std::string& bytes) {
    return TJPEGImage::Decode(bytes.data(), bytes.size());
}

TEST(TJPEGImage, DecodesColourFilesBaselineAndProgressive) {
    for (bool progressive : {false, true}) {
        const QImage image = DecodeBytes(Encode(RedBlue(), progressive));
        ASSERT_EQ(image.size(), QSize(16, 8));
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        EXPECT_TRUE(Near(image.pixelColor(2, 3), 255, 0, 0));
        EXPECT_TRUE(Near(image.pixelColor(13, 5), 0, 0, 255));
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 255);
    }
}

TEST(TJPEGImage, DecodesGreyscaleAndCmykFiles) {
    Picture grey{8, 8, 1, JCS_GRAYSCALE, std::vector<unsigned char>(64, 0x80)};
    const QImage g = DecodeBytes(Encode(grey));
    EXPECT_EQ(g.format(), QImage::Format_Grayscale8);
    EXPECT_TRUE(Near(g.pixelColor(4, 4), 0x80, 0x80, 0x80));

    // Red is C=0 M=255 Y=255 K=0. Files with Adobe's marker store the samples inverted.
    Picture adobe{8, 8, 4, JCS_CMYK, {}};
    Picture plain{8, 8, 4, JCS_CMYK, {}};
    for (int i = 0; i < 64; ++i) {
        adobe.Samples.insert(adobe.Samples.end(), {255, 0, 0, 255});
        plain.Samples.insert(plain.Samples.end(), {0, 255, 255, 0});
    }
    const QImage a = DecodeBytes(Encode(adobe));
    EXPECT_EQ(a.format(), QImage::Format_RGB32);
    EXPECT_TRUE(Near(a.pixelColor(3, 3), 255, 0, 0));
    EXPECT_TRUE(Near(DecodeBytes(Encode(plain, false, false)).pixelColor(3, 3), 255, 0, 0));
}

TEST(TJPEGImage, CorruptFilesRaiseAnErrorInsteadOfEndingTheProgram) {
    const std::string good = Encode(RedBlue());
    std::string badFrame = good;
    const std::size_t sof = badFrame.find("\xFF\xC0", 2);
    ASSERT_NE(sof, std::string::npos);
    badFrame[sof + 5] = badFrame[sof + 6] = 0;  // height 0
    badFrame[sof + 7] = badFrame[sof + 8] = 0;  // width 0

    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty", ""},
        {"not a JPEG", "GIF89a\x01\x00\x01\x00 this is not a picture"},
        {"start marker only", good.substr(0, 2)},
        {"cut inside the header", good.substr(0, 40)},
        {"zero size frame", badFrame},
    };
    for (const auto& [what, bytes] : cases) {
        try {
            DecodeBytes(bytes);
            ADD_FAILURE() << what << ": decoded";
        } catch (const EJPEG& e) {
            EXPECT_FALSE(e.Message.empty()) << what;
        }
    }
}

TEST(TJPEGImage, ATruncatedScanStillGivesThePictureAtItsSize) {
    const std::string good = Encode(RedBlue());
    const QImage image = DecodeBytes(good.substr(0, good.size() - 20));
    EXPECT_EQ(image.size(), QSize(16, 8));
}

TEST(TJPEGImage, RefusesPicturesLargerThanTheLimit) {
    const std::size_t saved = TJPEGImage::MaxPixels;
    TJPEGImage::MaxPixels = 100;
    EXPECT_THROW(DecodeBytes(Encode(RedBlue())), EJPEG);  // 128 pixels
    TJPEGImage::MaxPixels = saved;
    EXPECT_NO_THROW(DecodeBytes(Encode(RedBlue())));
}

TEST(TJPEGImage, PicturesLoadJpegFilesThroughTheDecoder) {
    LayoutFiles files;
    const QString path = files.Path(QStringLiteral("banner.JPG"));
    const std::string bytes = Encode(RedBlue());
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes.data(), qint64(bytes.size()));
    out.close();

    TImage image;
    image.SetPicture(path);
    EXPECT_EQ(image.Image().size(), QSize(16, 8));
    EXPECT_TRUE(Near(image.Image().pixelColor(1, 1), 255, 0, 0));

    TJPEGImage jpeg;
    EXPECT_THROW(jpeg.LoadFromFile(files.Path(QStringLiteral("none.jpg"))), EJPEG);
    EXPECT_TRUE(jpeg.Empty());
}

}  // namespace
