// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A stream over an open file descriptor, which it closes when it goes.
#include "notes/TStream.h"

class THandleStream : public TStream {
public:
    explicit THandleStream(int handle) : FHandle(handle) {}
    ~THandleStream() override;
    THandleStream(const THandleStream&) = delete;
    THandleStream& operator=(const THandleStream&) = delete;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

    int Handle() const { return FHandle; }

protected:
    // Closes the descriptor; raises EInOutError when the system reports that data written
    // earlier could not be stored.
    void CloseHandle();
    int FHandle;
};

// Raises EInOutError with the C library's text for `err`.
[[noreturn]] void RaiseSystemError(int err);
