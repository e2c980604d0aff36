// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The hook through which the note area's bytes pass between a file and the control. The base
// class moves them unchanged; a subclass may transform them on the way.
#include <memory>

#include "notes/TStream.h"

class TConversion {
public:
    virtual ~TConversion() = default;
    // Reads up to `size` bytes from the stream into `buffer`; returns the number read.
    virtual int ReadChunk(TStream& stream, char* buffer, int size);
    // Writes `size` bytes from `buffer` to the stream; returns the number written.
    virtual int WriteChunk(TStream& stream, const char* buffer, int size);
};

// A class reference: makes a new converter of one class.
using TConversionClass = std::unique_ptr<TConversion> (*)();

template <class T>
std::unique_ptr<TConversion> ConversionClassOf() {
    return std::make_unique<T>();
}
