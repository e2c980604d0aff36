// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Drives over temporary folders: a test adds the drives it needs, installs them as the
// file-system layer's volume table, and gets the machine's table and working directory back
// when it ends.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "platform/system/FileSystem.h"

class TempVolumes {
public:
    TempVolumes() {
        if (char* cwd = ::getcwd(nullptr, 0)) {
            FSavedCwd = cwd;
            std::free(cwd);
        }
    }
    ~TempVolumes() {
        if (!FSavedCwd.empty() && ::chdir(FSavedCwd.c_str()) != 0) {
            // The original working directory is gone; nothing to go back to.
        }
        SetVolumeTable(TVolumeTable::FromSystemMounts());
    }
    TempVolumes(const TempVolumes&) = delete;
    TempVolumes& operator=(const TempVolumes&) = delete;

    // The Linux folder under the temporary root for a relative path.
    std::string Sys(const std::string& relative) const {
        return Root.path().toStdString() + "/" + relative;
    }

    // A drive whose root is a fresh folder <root>/<folder>; returns that folder.
    std::string AddDrive(char letter, const std::string& folder, int type = DRIVE_FIXED,
                         const std::string& label = {}, const std::string& remote = {},
                         std::uint32_t flags = FILE_CASE_SENSITIVE_SEARCH |
                                               FILE_CASE_PRESERVED_NAMES) {
        TVolume v;
        v.Letter = letter;
        v.MountPoint = Sys(folder);
        v.DriveType = type;
        v.Label = label;
        v.RemoteName = remote;
        v.FileSystemFlags = flags;
        v.FileSystemName = "tmpfs";
        MakeDir(folder);
        Table.Add(v);
        return v.MountPoint;
    }

    void Install() { SetVolumeTable(Table); }
    // Installs the drives so that every later reading of them (RefreshVolumeTable, a drive
    // list's fill) sees Table as the test has changed it meanwhile: mounts come and go.
    void InstallChanging() {
        SetVolumeSource([this](const TVolumeTable&) { return Table; });
    }

    void MakeDir(const std::string& relative) const {
        std::string path = Sys(relative);
        for (std::size_t p = Root.path().size() + 1; p != std::string::npos;) {
            p = path.find('/', p + 1);
            ::mkdir(path.substr(0, p).c_str(), 0755);
        }
    }

    void MakeFile(const std::string& relative, const std::string& content = "x") const {
        std::ofstream(Sys(relative), std::ios::binary) << content;
    }

    // Runs `check` in a child process as the unprivileged user "nobody" (uid 65534), so that
    // permission rules apply even when the tests run as root. The temporary folders are opened
    // to that user first. Returns 1 when the check held, 0 when it failed, -1 when the user
    // could not be taken on.
    int AsNobody(const std::function<bool()>& check) const {
        ::chmod(Root.path().toStdString().c_str(), 0755);
        pid_t pid = ::fork();
        if (pid == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(77);
            if (::access(Root.path().toStdString().c_str(), R_OK | X_OK) != 0) ::_exit(77);
            ::_exit(check() ? 0 : 1);
        }
        int status = 0;
        if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return 0;
        return WEXITSTATUS(status) == 0 ? 1 : WEXITSTATUS(status) == 77 ? -1 : 0;
    }

    QTemporaryDir Root;
    TVolumeTable Table;

private:
    std::string FSavedCwd;
};
