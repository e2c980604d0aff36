// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Writes the new content of a file without putting the old content at risk: the bytes go to a
// new file beside the target, which replaces the target only once all of it is written and on
// the disk. Until Commit succeeds the old file stays whole, whatever goes wrong.
//
// The target keeps its permissions (and owner, where allowed); a symbolic link is followed and
// the file it points to is replaced, the link stays. Where the new file cannot live beside the
// target (a folder the user may not write into), or where replacing would split a file with
// several hard links apart, the target itself is written: the new content is gathered first
// and the room for it reserved on the disk before the first old byte is overwritten, so that a
// full disk leaves the old file as it was. A device, a pipe or a socket is refused, and so is a
// name that is a loop of symbolic links: a note is saved in files only.
#include <string>

#include "notes/THandleStream.h"
#include "notes/TMemoryStream.h"

class TReplacingFileStream : public THandleStream {
public:
    // Raises EFCreateError "Cannot create file "<full path>". <reason>" when neither a new file
    // beside the target nor the target itself can be written, or when the target is not a file.
    explicit TReplacingFileStream(const std::string& fileName);
    // Without a successful Commit the new file is removed and the target left as it was.
    ~TReplacingFileStream() override;

    // Written in place, the bytes are held until Commit; otherwise they go to the new file.
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

    // Puts the written content in place of the target's. Raises EInOutError when the content
    // could not be stored; the target is then unchanged (in place, unless the disk failed
    // after the room for the content was reserved).
    void Commit();

    // The system's reason why a Write failed, or nothing.
    const std::string& WriteError() const { return FWriteError; }

    bool InPlace() const { return FTempPath.empty(); }

private:
    void OpenBeside(const std::string& fileName);
    void OpenInPlace(const std::string& fileName);
    void TakeTargetAttributes();
    void CommitInPlace();

    std::string FTargetPath;
    std::string FTempPath;  // empty when writing in place
    bool FTargetExists = false;
    unsigned FTargetMode = 0;
    unsigned FTargetUid = 0, FTargetGid = 0;
    bool FCommitted = false;
    std::string FWriteError;
    TMemoryStream FPending;  // the content to write in place
};
