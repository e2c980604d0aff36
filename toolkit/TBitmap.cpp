// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TBitmap.h"

#include <QFile>
#include <cstdint>

#include "platform/system/Exception.h"

namespace {

unsigned Read16(const QByteArray& b, qsizetype at) {
    return unsigned(static_cast<unsigned char>(b[at])) |
           unsigned(static_cast<unsigned char>(b[at + 1])) << 8;
}

std::uint32_t Read32(const QByteArray& b, qsizetype at) {
    return std::uint32_t(Read16(b, at)) | std::uint32_t(Read16(b, at + 2)) << 16;
}

// The program's glyph files: uncompressed bitmaps of 1, 4, 8 or 24 bits a pixel, as
// RGB32. A null image for anything else, which Qt's reader then reads. Read here rather than by
// Qt because Qt asks each of its image plug-ins about every picture first, several times the
// cost of reading a glyph.
QImage ReadPlainBitmap(const QByteArray& b) {
    constexpr qsizetype kFileHeader = 14;
    if (b.size() < kFileHeader + 40 || b[0] != 'B' || b[1] != 'M') return {};
    const std::uint32_t dataAt = Read32(b, 10);
    const std::uint32_t infoSize = Read32(b, kFileHeader);
    const auto width = std::int32_t(Read32(b, kFileHeader + 4));
    const auto height = std::int32_t(Read32(b, kFileHeader + 8));
    const unsigned bits = Read16(b, kFileHeader + 14);
    const std::uint32_t compression = Read32(b, kFileHeader + 16);
    std::uint32_t colours = Read32(b, kFileHeader + 32);
    if (infoSize < 40 || compression != 0 || width <= 0 || height <= 0 || width > 4096 ||
        height > 4096 || (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        return {};
    if (bits <= 8 && (colours == 0 || colours > (1u << bits))) colours = 1u << bits;
    if (bits > 8) colours = 0;
    const qsizetype paletteAt = kFileHeader + qsizetype(infoSize);
    const qsizetype stride = (qsizetype(width) * bits + 31) / 32 * 4;
    if (paletteAt + qsizetype(colours) * 4 > qsizetype(dataAt) ||
        qsizetype(dataAt) + stride * height > b.size())
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const qsizetype row = qsizetype(dataAt) + stride * (height - 1 - y);  // bottom row first
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bits == 24) {
                const qsizetype at = row + qsizetype(x) * 3;
                out[x] =
                    qRgb(static_cast<unsigned char>(b[at + 2]),
                         static_cast<unsigned char>(b[at + 1]), static_cast<unsigned char>(b[at]));
                continue;
            }
            const qsizetype bit = qsizetype(x) * bits;
            const unsigned byte = static_cast<unsigned char>(b[row + bit / 8]);
            const unsigned index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            if (index >= colours) return {};
            const qsizetype at = paletteAt + qsizetype(index) * 4;
            out[x] = qRgb(static_cast<unsigned char>(b[at + 2]),
                          static_cast<unsigned char>(b[at + 1]), static_cast<unsigned char>(b[at]));
        }
    }
    return image;
}

}  // namespace

TBitmap TBitmap::FromResource(const std::string& name) {
    QFile file(QStringLiteral(":/glyphs/") + QString::fromStdString(name) + QStringLiteral(".bmp"));
    if (!file.open(QIODevice::ReadOnly)) throw Exception("Resource " + name + " not found");
    const QByteArray bytes = file.readAll();
    QImage image = ReadPlainBitmap(bytes);
    if (image.isNull()) image = QImage::fromData(bytes, "BMP");
    if (image.isNull()) throw Exception("Resource " + name + " not found");
    return TBitmap(image.convertToFormat(QImage::Format_RGB32));
}

QRgb TBitmap::TransparentColor() const {
    if (Image.isNull()) return 0;
    return Image.pixel(0, Image.height() - 1);
}
