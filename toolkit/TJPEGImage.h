// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A JPEG picture decoded with libjpeg into a QImage. Colour, greyscale and CMYK/YCCK files are
// read; a corrupt or oversized file raises EJPEG and never ends the process.
#include <QImage>
#include <cstddef>
#include <string>

#include "platform/system/Exception.h"

class EJPEG : public Exception {
public:
    using Exception::Exception;
};

class TJPEGImage {
public:
    // Pictures larger than this many pixels are refused: a few header bytes could otherwise ask
    // for gigabytes.
    static inline std::size_t MaxPixels = std::size_t(1) << 26;

    void LoadFromData(const void* data, std::size_t size);
    // Reads a file or a Qt resource (":/pictures/x.jpg").
    void LoadFromFile(const QString& path);

    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    bool Empty() const { return FImage.isNull(); }
    // RGB32 for colour and CMYK sources, Grayscale8 for greyscale ones.
    const QImage& Image() const { return FImage; }

    // Decodes JPEG bytes; throws EJPEG.
    static QImage Decode(const void* data, std::size_t size);

private:
    QImage FImage;
};
