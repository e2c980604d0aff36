// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "notes/TConversion.h"

int TConversion::ReadChunk(TStream& stream, char* buffer, int size) {
    return static_cast<int>(stream.Read(buffer, size));
}

int TConversion::WriteChunk(TStream& stream, const char* buffer, int size) {
    return static_cast<int>(stream.Write(buffer, size));
}
