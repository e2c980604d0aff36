// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The program's glyph bitmaps: read as Qt's own reader reads them, pixel for pixel.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "platform/system/Exception.h"
#include "toolkit/TBitmap.h"

TEST(TBitmap, EveryGlyphReadsAsQtsReaderReadsIt) {
    const QStringList names = QDir(QStringLiteral(":/glyphs")).entryList({QStringLiteral("*.bmp")});
    ASSERT_GE(names.size(), 38);
    for (const QString& file : names) {
        const QString name = file.chopped(4);
        const QImage expected =
            QImage(QStringLiteral(":/glyphs/") + file).convertToFormat(QImage::Format_RGB32);
        const TBitmap glyph = TBitmap::FromResource(name.toStdString());
        EXPECT_EQ(glyph.Image, expected) << name.toStdString();
    }
    EXPECT_THROW(TBitmap::FromResource("NOSUCHGLYPH"), Exception);
}
