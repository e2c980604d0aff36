// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Shared by the note area's tests: a drive D: over a temporary folder, file helpers, and a
// scope in which file access is checked as an ordinary user even when the tests run as root.
#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "notes/TRichEdit.h"
#include "tests/TempVolumes.h"
#include "tests/TestSupport.h"

class NoteFiles : public TempVolumes {
public:
    NoteFiles() {
        Folder = AddDrive('D', "d");
        Install();
    }
    // The program's path of a file on D:.
    static std::string Path(const std::string& name) {
        std::string p = "D:\\" + name;
        for (char& c : p)
            if (c == '/') c = '\\';
        return p;
    }
    // The Linux path of the same file.
    std::string Sys(const std::string& name) const { return Folder + "/" + name; }
    void Write(const std::string& name, const std::string& bytes) const {
        ASSERT_TRUE(WriteFileBytes(Sys(name), bytes)) << name;
    }
    std::string Read(const std::string& name) const { return ReadFileBytes(Sys(name)); }
    // A drive over one of the system's own folders (E: over /dev, P: over /proc).
    void AddSystemDrive(char letter, const std::string& mountPoint) {
        TVolume v;
        v.Letter = letter;
        v.MountPoint = mountPoint;
        Table.Add(v);
        Install();
    }

    std::string Folder;
};

// File permissions are checked as the user "nobody" in this scope (this thread only). Root
// ignores permissions, which would hide every "access denied" path.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() {
        if (::geteuid() != 0) return;
        ::setfsgid(65534);
        ::setfsuid(65534);
        Active = int(::setfsuid(-1)) == 65534;
    }
    ~AsOrdinaryUser() {
        if (::geteuid() != 0) return;
        ::setfsuid(0);
        ::setfsgid(0);
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;
    // True when permissions now apply (not root, or root acting as nobody).
    bool Applies() const { return ::geteuid() != 0 || Active; }

private:
    bool Active = false;
};

// A control with its window in existence, as on the shown main window.
inline std::unique_ptr<TRichEdit> NewNoteArea(int width = 273, int height = 273) {
    auto edit = std::make_unique<TRichEdit>();
    edit->resize(width, height);
    edit->HandleNeeded();
    return edit;
}

// Every line of the note area.
inline std::vector<std::string> AllLines(TRichEdit& edit) {
    return edit.Lines().ToVector();
}
