// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "notes/TFileStream.h"

#include <fcntl.h>

#include "platform/system/Exception.h"
#include "platform/system/FileNames.h"
#include "platform/system/FileSystem.h"

std::string CannotOpenMessage(const std::string& fileName, const std::string& reason) {
    return "Cannot open file \"" + ExpandFileName(fileName) + "\". " + reason;
}

std::string CannotCreateMessage(const std::string& fileName, const std::string& reason) {
    return "Cannot create file \"" + ExpandFileName(fileName) + "\". " + reason;
}

namespace {
// Only regular files are opened: a device, a pipe or a socket is refused (see OpenFile).
int OpenForMode(const std::string& fileName, unsigned mode) {
    if (mode == fmCreate) return OpenFile(fileName, O_RDWR | O_CREAT | O_TRUNC, 0666);
    const int access = (mode & 3) == 1 ? O_WRONLY : (mode & 3) == 2 ? O_RDWR : O_RDONLY;
    return OpenFile(fileName, access);
}
}  // namespace

TFileStream::TFileStream(const std::string& fileName, unsigned mode)
    : THandleStream(OpenForMode(fileName, mode)), FFileName(fileName) {
    if (FHandle >= 0) return;
    const std::string reason = SysErrorMessage(GetLastError());
    if (mode == fmCreate) throw EFCreateError(CannotCreateMessage(fileName, reason));
    throw EFOpenError(CannotOpenMessage(fileName, reason));
}
