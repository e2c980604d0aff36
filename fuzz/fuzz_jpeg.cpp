// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Feeds arbitrary bytes to the JPEG decoder: it must either give a picture or raise EJPEG, never
// crash, hang, end the process or read out of bounds.
#include <cstddef>
#include <cstdint>

#include "toolkit/TJPEGImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Large pictures are valid but slow to decode; a megapixel keeps every run quick.
    TJPEGImage::MaxPixels = std::size_t(1) << 20;
    try {
        const QImage image = TJPEGImage::Decode(data, size);
        if (image.isNull()) __builtin_trap();  // success must mean a picture
    } catch (const EJPEG&) {
    }
    return 0;
}
