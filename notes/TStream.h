// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A byte stream with a position: the files and memory blocks that the note area's content is
// read from and written to.
#include <cstdint>

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
public:
    virtual ~TStream() = default;

    // Reads up to `count` bytes and returns how many were read (0 at the end). Raises
    // EInOutError when the source fails.
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    // Writes all `count` bytes and returns `count`. Raises EInOutError when the sink fails,
    // so a short write is never mistaken for success.
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    // Moves the position and returns the new one. Raises EInOutError when it cannot.
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, soBeginning); }
    std::int64_t Size() {
        const std::int64_t here = Position();
        const std::int64_t end = Seek(0, soEnd);
        Seek(here, soBeginning);
        return end;
    }
};
