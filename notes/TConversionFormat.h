// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The registry of conversions by file extension: a fixed list whose head, "txt", is also the
// choice for any extension that no record names.
#include <string>

#include "notes/TConversion.h"

struct TConversionFormat {
    TConversionClass ConversionClass;
    std::string Extension;  // lower case, no leading dot
    const TConversionFormat* NextFormat;
};

// The head of the registry: "txt", then "rtf", both with the plain TConversion.
const TConversionFormat* ConversionFormatList();

// The first record whose Extension equals `extension` byte for byte, else the head.
const TConversionFormat& FindConversionFormat(const std::string& extension);
