// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "notes/THandleStream.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/system/Exception.h"
#include "platform/system/FileSystem.h"

void RaiseSystemError(int err) {
    throw EInOutError(std::strerror(err), ErrorCodeFromErrno(err));
}

THandleStream::~THandleStream() {
    if (FHandle >= 0) ::close(FHandle);
}

std::int64_t THandleStream::Read(void* buffer, std::int64_t count) {
    for (;;) {
        const ssize_t n = ::read(FHandle, buffer, size_t(count));
        if (n >= 0) return n;
        if (errno != EINTR) RaiseSystemError(errno);
    }
}

std::int64_t THandleStream::Write(const void* buffer, std::int64_t count) {
    const char* p = static_cast<const char*>(buffer);
    std::int64_t left = count;
    while (left > 0) {
        const ssize_t n = ::write(FHandle, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR) continue;
            RaiseSystemError(errno);
        }
        if (n == 0) RaiseSystemError(ENOSPC);
        p += n;
        left -= n;
    }
    return count;
}

std::int64_t THandleStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    const off_t position = ::lseek(FHandle, off_t(offset), whence);
    if (position < 0) RaiseSystemError(errno);
    return position;
}

void THandleStream::CloseHandle() {
    if (FHandle < 0) return;
    const int handle = FHandle;
    FHandle = -1;
    if (::close(handle) != 0 && errno != EINTR) RaiseSystemError(errno);
}
