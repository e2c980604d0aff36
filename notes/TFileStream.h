// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A file opened by its program path (C:\dir\name.txt) for reading, or created for writing.
#include <string>

#include "notes/THandleStream.h"

constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmShareDenyWrite = 0x0020;  // advisory only on Linux: others may still write
constexpr unsigned fmCreate = 0xFF00;          // create, or empty an existing file, in place

class TFileStream : public THandleStream {
public:
    // Raises EFOpenError "Cannot open file "<full path>". <reason>" when the file cannot be
    // opened, or EFCreateError "Cannot create file ..." when it cannot be created.
    TFileStream(const std::string& fileName, unsigned mode);
    const std::string& FileName() const { return FFileName; }

private:
    std::string FFileName;
};

// The messages of the two file errors, with the full path and the system's reason.
std::string CannotOpenMessage(const std::string& fileName, const std::string& reason);
std::string CannotCreateMessage(const std::string& fileName, const std::string& reason);
