// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "notes/TConversionFormat.h"

const TConversionFormat* ConversionFormatList() {
    static const TConversionFormat rtf{&ConversionClassOf<TConversion>, "rtf", nullptr};
    static const TConversionFormat txt{&ConversionClassOf<TConversion>, "txt", &rtf};
    return &txt;
}

const TConversionFormat& FindConversionFormat(const std::string& extension) {
    const TConversionFormat* head = ConversionFormatList();
    for (const TConversionFormat* f = head; f; f = f->NextFormat)
        if (f->Extension == extension) return *f;
    return *head;
}
