// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "notes/TMemoryStream.h"

#include <algorithm>
#include <cstring>

#include "platform/system/Exception.h"

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
    const auto size = static_cast<std::int64_t>(FBytes.size());
    const std::int64_t n =
        std::clamp<std::int64_t>(size - FPosition, 0, std::max<std::int64_t>(count, 0));
    if (n > 0) std::memcpy(buffer, FBytes.data() + FPosition, size_t(n));
    FPosition += n;
    return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
    if (count <= 0) return 0;
    const auto end = size_t(FPosition + count);
    if (end > FBytes.size()) FBytes.resize(end);
    std::memcpy(FBytes.data() + FPosition, buffer, size_t(count));
    FPosition += count;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = 0;
    if (origin == soCurrent) base = FPosition;
    if (origin == soEnd) base = static_cast<std::int64_t>(FBytes.size());
    if (base + offset < 0) throw EInOutError("Stream position out of range", 131);
    FPosition = base + offset;
    return FPosition;
}

void TMemoryStream::Clear() {
    FBytes.clear();
    FPosition = 0;
}
