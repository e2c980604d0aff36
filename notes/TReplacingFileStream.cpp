// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "notes/TReplacingFileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "notes/TFileStream.h"
#include "platform/system/Exception.h"
#include "platform/system/FileSystem.h"

namespace {

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a path finally names, following symbolic links (also to a file that does not
// exist yet). Gives up after as many links as the system would follow.
std::string FollowLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::vector<char> target(size_t(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size() - 1);
        if (n < 0) return path;
        const std::string link(target.data(), size_t(n));
        path = !link.empty() && link[0] == '/' ? link : DirectoryOf(path) + "/" + link;
    }
    return path;
}

// Errors of creating a file beside the target that mean "not in this folder" rather than
// "not on this disk": the target itself may still be writable.
bool FolderRefuses(int err) {
    return err == EACCES || err == EPERM;
}

}  // namespace

TReplacingFileStream::TReplacingFileStream(const std::string& fileName) : THandleStream(-1) {
    std::string sys;
    if (!ToSystemPath(fileName, sys))
        throw EFCreateError(CannotCreateMessage(fileName, SysErrorMessage(GetLastError())));
    FTargetPath = FollowLinks(sys);
    struct stat st {};
    FTargetExists = ::stat(FTargetPath.c_str(), &st) == 0;
    // A loop of links (or one too long to follow) names no file: replacing the link would
    // destroy it, so the save is refused as a load would be.
    const int statError = FTargetExists ? 0 : errno;
    struct stat link {};
    if (statError == ELOOP ||
        (!FTargetExists && ::lstat(FTargetPath.c_str(), &link) == 0 && S_ISLNK(link.st_mode)))
        throw EFCreateError(CannotCreateMessage(fileName, std::strerror(ELOOP)));
    if (FTargetExists && S_ISDIR(st.st_mode))
        throw EFCreateError(CannotCreateMessage(fileName, std::strerror(EISDIR)));
    // A device, a pipe or a socket is not a file a note can be saved in.
    if (FTargetExists && !CheckFileKind(st.st_mode))
        throw EFCreateError(CannotCreateMessage(fileName, SysErrorMessage(GetLastError())));
    if (FTargetExists) {
        FTargetMode = st.st_mode & 07777;
        FTargetUid = st.st_uid;
        FTargetGid = st.st_gid;
        // Replacing would split hard links apart.
        if (st.st_nlink > 1) {
            OpenInPlace(fileName);
            return;
        }
        // A file the user may not write must not be replaced behind its back.
        const int probe = ::open(FTargetPath.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        if (probe < 0) throw EFCreateError(CannotCreateMessage(fileName, std::strerror(errno)));
        ::close(probe);
    }
    OpenBeside(fileName);
}

void TReplacingFileStream::OpenBeside(const std::string& fileName) {
    const std::string name = NameOf(FTargetPath);
    // A hidden name that says whose it is; short enough for any name the target may have.
    std::string pattern = DirectoryOf(FTargetPath) + "/." +
                          (name.size() <= 200 ? name : name.substr(0, 200)) + ".XXXXXX";
    FHandle = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (FHandle >= 0) {
        FTempPath = pattern;
        return;
    }
    const int err = errno;
    if (FolderRefuses(err)) {
        OpenInPlace(fileName);
        return;
    }
    throw EFCreateError(CannotCreateMessage(fileName, std::strerror(err)));
}

void TReplacingFileStream::OpenInPlace(const std::string& fileName) {
    FTempPath.clear();
    // Not truncated: the old content stays until the new one has its room (see CommitInPlace).
    FHandle = ::open(FTargetPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (FHandle < 0) throw EFCreateError(CannotCreateMessage(fileName, std::strerror(errno)));
    // What was opened may have been put there after the target was looked at.
    struct stat st {};
    if (::fstat(FHandle, &st) == 0 && !CheckFileKind(st.st_mode))
        throw EFCreateError(CannotCreateMessage(fileName, SysErrorMessage(GetLastError())));
}

TReplacingFileStream::~TReplacingFileStream() {
    if (FCommitted || FTempPath.empty()) return;
    if (FHandle >= 0) {
        ::close(FHandle);
        FHandle = -1;
    }
    ::unlink(FTempPath.c_str());
}

void TReplacingFileStream::TakeTargetAttributes() {
    if (FTargetExists) {
        // Ownership can only be kept where the system allows it; the mode always can.
        if (::fchown(FHandle, FTargetUid, FTargetGid) != 0) {
            // Not the owner's to give: the new file stays the writer's.
        }
        if (::fchmod(FHandle, FTargetMode) != 0) RaiseSystemError(errno);
        return;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(FHandle, 0666 & ~mask) != 0) RaiseSystemError(errno);
}

std::int64_t TReplacingFileStream::Write(const void* buffer, std::int64_t count) {
    if (InPlace()) return FPending.Write(buffer, count);
    try {
        return THandleStream::Write(buffer, count);
    } catch (const EInOutError& e) {
        FWriteError = e.Message;
        throw;
    }
}

std::int64_t TReplacingFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    return InPlace() ? FPending.Seek(offset, origin) : THandleStream::Seek(offset, origin);
}

// The disk's room for the whole new content is reserved before the first old byte is
// overwritten: a full disk fails here, with the old file still whole. Only then is the content
// written over the old and the rest cut off.
void TReplacingFileStream::CommitInPlace() {
    const std::string& bytes = FPending.Bytes();
    const auto size = off_t(bytes.size());
    if (size > 0) {
        const int err = ::posix_fallocate(FHandle, 0, size);
        // A file system that cannot reserve (EOPNOTSUPP, EINVAL) is written all the same.
        if (err != 0 && err != EOPNOTSUPP && err != EINVAL) RaiseSystemError(err);
    }
    for (off_t done = 0; done < size;) {
        const ssize_t n = ::pwrite(FHandle, bytes.data() + done, size_t(size - done), done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) RaiseSystemError(n < 0 ? errno : ENOSPC);
        done += n;
    }
    if (::ftruncate(FHandle, size) != 0) RaiseSystemError(errno);
    if (::fsync(FHandle) != 0 && errno != EINVAL && errno != EROFS) RaiseSystemError(errno);
    CloseHandle();
    FPending.Clear();
}

void TReplacingFileStream::Commit() {
    if (FCommitted) return;
    if (InPlace()) {
        CommitInPlace();
        FCommitted = true;
        return;
    }
    TakeTargetAttributes();
    if (::fsync(FHandle) != 0) RaiseSystemError(errno);
    CloseHandle();
    if (::rename(FTempPath.c_str(), FTargetPath.c_str()) != 0) RaiseSystemError(errno);
    FCommitted = true;
    // The rename itself reaches the disk with the folder's entry; best effort.
    const int dir = ::open(DirectoryOf(FTargetPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}
