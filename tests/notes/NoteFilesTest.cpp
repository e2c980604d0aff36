// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Reading and writing the note area's files when things go wrong: full disks, read-only
// folders and file systems, unreadable files, folders named as files, empty and large files.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "notes/TMemoryStream.h"
#include "platform/system/Exception.h"
#include "tests/notes/NoteTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

// A small tmpfs mounted on a folder for the length of a test.
class SmallDisk {
public:
    SmallDisk(const std::string& folder, const std::string& options) : Folder(folder) {
        ::mkdir(folder.c_str(), 0755);
        Mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
        if (Mounted) ::chmod(folder.c_str(), 0777);
    }
    ~SmallDisk() {
        if (Mounted) ::umount2(Folder.c_str(), MNT_DETACH);
    }
    bool ReadOnly() {
        return ::mount(nullptr, Folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    std::string Folder;
    bool Mounted = false;
};

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string BigText(size_t bytes) {
    std::string text;
    for (int i = 0; text.size() < bytes; ++i)
        text += "Line " + std::to_string(i) + " of the note that fills the disk.\r\n";
    return text;
}

template <class F>
std::string MessageOf(F&& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.Message;
    }
    return "no error";
}

// A conversion that reads nothing but NUL bytes, for ever.
class EndlessNuls : public TConversion {
public:
    int ReadChunk(TStream&, char* buffer, int size) override {
        std::memset(buffer, 0, size_t(size));
        return size;
    }
};

}  // namespace

TEST(NoteFiles, WriteFailingHalfWayLeavesTheOldFileWholeAndNothingBeside) {
    NoteFiles files;
    files.Write("note.rtf", "old content");
    auto edit = NewNoteArea();
    edit->SetText(BigText(std::size_t(200) * 1024));
    // Files may not grow past 4 KB in this scope: the write fails part-way, as on a full disk.
    struct rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string message =
        MessageOf([&] { edit->Lines().WriteToFile(NoteFiles::Path("note.rtf")); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(message, "Cannot create file \"D:\\note.rtf\". File too large");
    EXPECT_EQ(files.Read("note.rtf"), "old content");
    EXPECT_EQ(FolderEntries(files.Folder), (Lines{"note.rtf"}));
    EXPECT_EQ(edit->Lines().Converter(), nullptr);
}

TEST(NoteFiles, FullDiskSaveReportsTheErrorAndKeepsFileAndScreen) {
    NoteFiles files;
    SmallDisk disk(files.Sys("small"), "size=64k");
    if (!disk.Mounted) GTEST_SKIP() << "cannot mount a tmpfs here";
    files.Write("small/note.rtf", "old content");
    auto edit = NewNoteArea();
    const std::string text = BigText(std::size_t(200) * 1024);
    edit->SetText(text);
    EXPECT_EQ(MessageOf([&] { edit->Lines().WriteToFile(NoteFiles::Path("small/note.rtf")); }),
              "Cannot create file \"D:\\small\\note.rtf\". No space left on device");
    EXPECT_EQ(files.Read("small/note.rtf"), "old content");
    EXPECT_EQ(FolderEntries(disk.Folder), (Lines{"note.rtf"}));
    EXPECT_EQ(edit->Lines().Converter(), nullptr);
    EXPECT_EQ(edit->EmGetTextLength(), int(text.size()));
    // A new file on the full disk: the error, and no half-written file left.
    EXPECT_EQ(MessageOf([&] { edit->Lines().WriteToFile(NoteFiles::Path("small/new.rtf")); }),
              "Cannot create file \"D:\\small\\new.rtf\". No space left on device");
    EXPECT_EQ(FolderEntries(disk.Folder), (Lines{"note.rtf"}));
    // Once it fits, the save goes through.
    edit->SetText("short");
    edit->Lines().WriteToFile(NoteFiles::Path("small/note.rtf"));
    auto back = NewNoteArea();
    back->Lines().ReadFromFile(NoteFiles::Path("small/note.rtf"));
    EXPECT_EQ(AllLines(*back), (Lines{"short"}));
}

// Where the save must write the file itself (a second hard link; a folder the user may not
// write into), a full disk leaves the old file byte for byte and says why; a save that fits
// still goes through in place.
TEST(NoteFiles, FullDiskSaveInPlaceKeepsTheOldFileByteForByte) {
    NoteFiles files;
    ::chmod(files.Root.path().toStdString().c_str(), 0755);
    ::chmod(files.Folder.c_str(), 0755);
    SmallDisk disk(files.Sys("small"), "size=64k");
    if (!disk.Mounted) GTEST_SKIP() << "cannot mount a tmpfs here";
    std::string old;
    for (int i = 0; old.size() < 20000; ++i) old += char('a' + i % 26);
    files.Write("small/linked.rtf", old);
    ASSERT_EQ(::link(files.Sys("small/linked.rtf").c_str(), files.Sys("small/other.rtf").c_str()),
              0);
    files.MakeDir("d/small/ro");
    files.Write("small/ro/note.rtf", old);
    ::chmod(files.Sys("small/ro/note.rtf").c_str(), 0666);
    ::chmod(files.Sys("small/ro").c_str(), 0555);
    auto edit = NewNoteArea();
    edit->SetText(BigText(std::size_t(200) * 1024));
    EXPECT_EQ(MessageOf([&] { edit->Lines().WriteToFile(NoteFiles::Path("small/linked.rtf")); }),
              "Cannot create file \"D:\\small\\linked.rtf\". No space left on device");
    EXPECT_EQ(files.Read("small/linked.rtf"), old);
    EXPECT_EQ(files.Read("small/other.rtf"), old);
    std::string readOnlyFolder = "skipped";
    {
        AsOrdinaryUser user;
        if (user.Applies())
            readOnlyFolder =
                MessageOf([&] { edit->Lines().WriteToFile(NoteFiles::Path("small/ro/note.rtf")); });
    }
    if (readOnlyFolder != "skipped") {
        EXPECT_EQ(readOnlyFolder,
                  "Cannot create file \"D:\\small\\ro\\note.rtf\". No space left on device");
    }
    EXPECT_EQ(files.Read("small/ro/note.rtf"), old);
    EXPECT_EQ(FolderEntries(disk.Folder), (Lines{"linked.rtf", "other.rtf", "ro"}));
    // Shorter content fits in place and cuts the old file to its own length.
    edit->SetText("short");
    edit->Lines().WriteToFile(NoteFiles::Path("small/linked.rtf"));
    EXPECT_EQ(files.Read("small/linked.rtf"), files.Read("small/other.rtf"));
    auto back = NewNoteArea();
    back->Lines().ReadFromFile(NoteFiles::Path("small/other.rtf"));
    EXPECT_EQ(AllLines(*back), (Lines{"short"}));
    ::chmod(files.Sys("small/ro").c_str(), 0755);
}

// A name that is a loop of symbolic links is refused when saving, as when loading; the links
// stay links.
TEST(NoteFiles, SymbolicLinkLoopIsRefusedBothWays) {
    NoteFiles files;
    ASSERT_EQ(::symlink("b.rtf", files.Sys("a.rtf").c_str()), 0);
    ASSERT_EQ(::symlink("a.rtf", files.Sys("b.rtf").c_str()), 0);
    ASSERT_EQ(::symlink("self.rtf", files.Sys("self.rtf").c_str()), 0);
    auto edit = NewNoteArea();
    edit->SetText("stays");
    for (const std::string name : {"a.rtf", "self.rtf"}) {
        const std::string path = NoteFiles::Path(name);
        EXPECT_EQ(MessageOf([&] { edit->Lines().ReadFromFile(path); }),
                  "Cannot open file \"D:\\" + name + "\". Too many levels of symbolic links");
        EXPECT_EQ(MessageOf([&] { edit->Lines().WriteToFile(path); }),
                  "Cannot create file \"D:\\" + name + "\". Too many levels of symbolic links");
        struct stat st {};
        ASSERT_EQ(::lstat(files.Sys(name).c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode)) << name;
    }
    EXPECT_EQ(FolderEntries(files.Folder), (Lines{"a.rtf", "b.rtf", "self.rtf"}));
    EXPECT_EQ(edit->Text(), "stays");
}

TEST(NoteFiles, WritingInPlaceOntoAFullDeviceReportsTheError) {
    NoteFiles files;
    files.AddSystemDrive('E', "/dev");
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    auto edit = NewNoteArea();
    edit->SetText("anything");
    EXPECT_EQ(MessageOf([&] { edit->Lines().WriteToFile("E:\\full"); }),
              "Cannot create file \"E:\\full\". Is a device, not a file");
    struct stat st {};
    ASSERT_EQ(::stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));  // still the device, not replaced by a file
}

TEST(NoteFiles, SaveKeepsPermissionsAndWritesThroughLinks) {
    NoteFiles files;
    files.Write("real.rtf", "old");
    ::chmod(files.Sys("real.rtf").c_str(), 0640);
    ASSERT_EQ(::symlink("real.rtf", files.Sys("link.rtf").c_str()), 0);
    auto edit = NewNoteArea();
    edit->SetText("through the link");
    edit->Lines().WriteToFile(NoteFiles::Path("link.rtf"));
    struct stat st {};
    ASSERT_EQ(::lstat(files.Sys("link.rtf").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat(files.Sys("real.rtf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    auto back = NewNoteArea();
    back->Lines().ReadFromFile(NoteFiles::Path("real.rtf"));
    EXPECT_EQ(AllLines(*back), (Lines{"through the link"}));
    EXPECT_EQ(FolderEntries(files.Folder), (Lines{"link.rtf", "real.rtf"}));
    // A new file gets the usual mode for new files.
    const mode_t mask = ::umask(022);
    edit->Lines().WriteToFile(NoteFiles::Path("fresh.rtf"));
    ::umask(mask);
    ASSERT_EQ(::stat(files.Sys("fresh.rtf").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST(NoteFiles, HardLinkedFileIsWrittenInPlaceSoEveryNameSeesIt) {
    NoteFiles files;
    files.Write("a.rtf", "old");
    ASSERT_EQ(::link(files.Sys("a.rtf").c_str(), files.Sys("b.rtf").c_str()), 0);
    auto edit = NewNoteArea();
    edit->SetText("shared");
    edit->Lines().WriteToFile(NoteFiles::Path("a.rtf"));
    EXPECT_EQ(files.Read("a.rtf"), files.Read("b.rtf"));
    EXPECT_NE(files.Read("b.rtf"), "old");
}

TEST(NoteFiles, ReadOnlyFolderAndFilesAsAnOrdinaryUser) {
    NoteFiles files;
    ::chmod(files.Root.path().toStdString().c_str(), 0755);
    files.MakeDir("d/ro");
    files.Write("ro/existing.rtf", "old");
    ::chmod(files.Sys("ro/existing.rtf").c_str(), 0666);
    ::chmod(files.Sys("ro").c_str(), 0555);
    files.Write("locked.rtf", "locked old");
    ::chmod(files.Sys("locked.rtf").c_str(), 0444);
    files.Write("secret.txt", "secret");
    ::chmod(files.Sys("secret.txt").c_str(), 0);
    ::chmod(files.Folder.c_str(), 0777);
    auto edit = NewNoteArea();
    edit->SetText("new words");
    std::string inPlace, newFile, locked, unreadable;
    {
        AsOrdinaryUser user;
        if (!user.Applies()) GTEST_SKIP() << "cannot act as an ordinary user";
        // Writable file in a read-only folder: written in place.
        inPlace = MessageOf([&] { edit->Lines().WriteToFile(NoteFiles::Path("ro/existing.rtf")); });
        newFile = MessageOf([&] { edit->Lines().WriteToFile(NoteFiles::Path("ro/new.rtf")); });
        locked = MessageOf([&] { edit->Lines().WriteToFile(NoteFiles::Path("locked.rtf")); });
        unreadable = MessageOf([&] { edit->Lines().ReadFromFile(NoteFiles::Path("secret.txt")); });
    }
    EXPECT_EQ(inPlace, "no error");
    auto back = NewNoteArea();
    back->Lines().ReadFromFile(NoteFiles::Path("ro/existing.rtf"));
    EXPECT_EQ(AllLines(*back), (Lines{"new words"}));
    EXPECT_EQ(newFile, "Cannot create file \"D:\\ro\\new.rtf\". Permission denied");
    EXPECT_EQ(locked, "Cannot create file \"D:\\locked.rtf\". Permission denied");
    EXPECT_EQ(files.Read("locked.rtf"), "locked old");
    EXPECT_EQ(unreadable, "Cannot open file \"D:\\secret.txt\". Permission denied");
    EXPECT_EQ(edit->Text(), "new words");
    ::chmod(files.Sys("ro").c_str(), 0755);
}

TEST(NoteFiles, ReadOnlyFileSystemRefusesTheSaveAndKeepsTheFile) {
    NoteFiles files;
    SmallDisk disk(files.Sys("rofs"), "size=64k");
    if (!disk.Mounted) GTEST_SKIP() << "cannot mount a tmpfs here";
    files.Write("rofs/note.rtf", "old");
    if (!disk.ReadOnly()) GTEST_SKIP() << "cannot remount read-only";
    auto edit = NewNoteArea();
    edit->SetText("new");
    EXPECT_EQ(MessageOf([&] { edit->Lines().WriteToFile(NoteFiles::Path("rofs/note.rtf")); }),
              "Cannot create file \"D:\\rofs\\note.rtf\". Read-only file system");
    EXPECT_EQ(MessageOf([&] { edit->Lines().WriteToFile(NoteFiles::Path("rofs/other.rtf")); }),
              "Cannot create file \"D:\\rofs\\other.rtf\". Read-only file system");
    EXPECT_EQ(files.Read("rofs/note.rtf"), "old");
    EXPECT_EQ(edit->Text(), "new");
}

TEST(NoteFiles, FolderGivenAsAFileIsRefusedBothWays) {
    NoteFiles files;
    files.MakeDir("d/sub");
    auto edit = NewNoteArea();
    edit->SetText("stays");
    EXPECT_EQ(MessageOf([&] { edit->Lines().ReadFromFile(NoteFiles::Path("sub")); }),
              "Cannot open file \"D:\\sub\". Is a directory");
    EXPECT_EQ(MessageOf([&] { edit->Lines().WriteToFile(NoteFiles::Path("sub")); }),
              "Cannot create file \"D:\\sub\". Is a directory");
    EXPECT_EQ(edit->Text(), "stays");
    EXPECT_TRUE(QDir(QString::fromStdString(files.Sys("sub"))).exists());
}

TEST(NoteFiles, EmptyFileLoadsAsAnEmptyNote) {
    NoteFiles files;
    files.Write("empty.txt", "");
    auto edit = NewNoteArea();
    edit->SetText("before");
    edit->Lines().ReadFromFile(NoteFiles::Path("empty.txt"));
    EXPECT_EQ(edit->Lines().LineCount(), 0);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(edit->EmGetLimitText(), 2147483632);
}

TEST(NoteFiles, LargeFileLoadsWhole) {
    NoteFiles files;
    const std::string text = BigText(std::size_t(20) * 1000 * 1000);
    files.Write("big.txt", text);
    auto edit = NewNoteArea();
    edit->SetWordWrap(false);
    edit->Lines().ReadFromFile(NoteFiles::Path("big.txt"));
    EXPECT_EQ(edit->EmGetTextLength(), int(text.size()));
    const int count = edit->Lines().LineCount();
    const size_t lastStart = text.rfind("Line ", text.size() - 3);
    EXPECT_EQ(edit->Lines().LineAt(count - 1), text.substr(lastStart, text.size() - lastStart - 2));
    EXPECT_EQ(edit->Lines().LineAt(0), "Line 0 of the note that fills the disk.");
}

// RTF as other programs write it reaches the note as its text: after a UTF-8 byte order mark,
// with pages and sections, and with a picture's binary data (NULs, line breaks and braces) that
// straddles the file's read chunks.
TEST(NoteFiles, RtfFromOtherProgramsLoadsAsItsText) {
    // Short paragraphs until the picture's data starts a few bytes before the first chunk ends.
    std::string padding;
    Lines paragraphs;
    while (padding.size() + std::strlen("{\\rtf1 {\\pict\\pngblip\\bin10 ") < 2044) {
        paragraphs.push_back("p" + std::to_string(paragraphs.size()));
        padding += paragraphs.back() + "\\par ";
    }
    paragraphs.insert(paragraphs.end(), {"\uFFFC", "after"});  // the picture is kept
    const std::string picture("\0\r\n}{\\\n\0\xFF\r", 10);
    const std::pair<std::string, Lines> cases[] = {
        {"\xEF\xBB\xBF{\\rtf1\\ansi caf\\'e9\\par done}", {"café", "done"}},
        {"{\\rtf1 Text follows\\page After\\sect Next}", {"Text follows", "After", "Next"}},
        {"{\\rtf1 " + padding + "{\\pict\\pngblip\\bin10 " + picture + "}\\par after}", paragraphs},
    };
    NoteFiles files;
    for (const auto& [rtf, lines] : cases) {
        files.Write("other.rtf", rtf);
        auto edit = NewNoteArea();
        edit->Lines().ReadFromFile(NoteFiles::Path("other.rtf"));
        EXPECT_EQ(edit->Lines().ToVector(), lines);
    }
}

// Control codes typed into the note are saved and come back.
TEST(NoteFiles, ControlCodesInTheNoteSurviveSaveAndLoad) {
    NoteFiles files;
    auto edit = NewNoteArea();
    const std::string text = "bell\x07 escape\x1B unit\x1F end";
    edit->SetText(text);
    ASSERT_EQ(edit->Text(), text);
    edit->Lines().WriteToFile(NoteFiles::Path("codes.rtf"));
    edit->SetText("");
    edit->Lines().ReadFromFile(NoteFiles::Path("codes.rtf"));
    EXPECT_EQ(edit->Text(), text);
}

// What a Linux folder holds besides files: a pipe, a socket and devices, named directly (E: is
// /dev) or through a link. Each is refused before it is opened, with a reason a user
// understands, both ways; it stays what it was and the note keeps its text.
TEST(NoteFiles, WhatIsNotAFileIsRefusedAtOnceBothWays) {
    NoteFiles files;
    files.AddSystemDrive('E', "/dev");
    ASSERT_EQ(::mkfifo(files.Sys("pipe").c_str(), 0666), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = files.Sys("socket");
    ASSERT_LT(socketPath.size(), sizeof(address.sun_path));
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::symlink("/dev/zero", files.Sys("zero").c_str()), 0);
    const struct {
        std::string Path, Reason;
        std::string System;  // what must still be there afterwards
        mode_t Kind;
    } cases[] = {
        {"D:\\pipe", "Is a pipe, not a file", files.Sys("pipe"), S_IFIFO},
        {"D:\\socket", "Is a socket, not a file", files.Sys("socket"), S_IFSOCK},
        {"D:\\zero", "Is a device, not a file", "/dev/zero", S_IFCHR},
        {"E:\\zero", "Is a device, not a file", "/dev/zero", S_IFCHR},
        {"E:\\urandom", "Is a device, not a file", "/dev/urandom", S_IFCHR},
    };
    for (const auto& c : cases) {
        auto edit = NewNoteArea();
        edit->SetText("stays");
        EXPECT_EQ(MessageOf([&] { edit->Lines().ReadFromFile(c.Path); }),
                  "Cannot open file \"" + c.Path + "\". " + c.Reason);
        EXPECT_EQ(MessageOf([&] { edit->Lines().WriteToFile(c.Path); }),
                  "Cannot create file \"" + c.Path + "\". " + c.Reason);
        EXPECT_EQ(edit->Text(), "stays") << c.Path;
        EXPECT_EQ(edit->Lines().Converter(), nullptr) << c.Path;
        struct stat st {};
        ASSERT_EQ(::stat(c.System.c_str(), &st), 0) << c.Path;
        EXPECT_EQ(st.st_mode & S_IFMT, c.Kind) << c.Path;
    }
    ::close(sock);
}

// An 8 GiB file with nothing written in it reads as endless NULs: it is refused before a byte
// is read, and says why.
TEST(NoteFiles, FileBeyondTheReadLimitFailsAtOnceAndSaysSo) {
    NoteFiles files;
    files.Write("sparse", "");
    ASSERT_EQ(::truncate(files.Sys("sparse").c_str(), 8LL << 30), 0);
    auto edit = NewNoteArea();
    edit->SetText("stays");
    EXPECT_EQ(MessageOf([&] { edit->Lines().ReadFromFile(NoteFiles::Path("sparse")); }),
              "Cannot open file \"D:\\sparse\". File too large: a note holds at most 512 MB");
    EXPECT_EQ(edit->Text(), "stays");
    EXPECT_EQ(edit->EmGetLimitText(), RichEdit::kDefaultTextLimit);
}

// A file whose size says nothing (the system's own files) is read until the read limit; the
// NUL bytes it skips count, so it ends.
TEST(NoteFiles, EndlessNulsEndAtTheReadLimit) {
    NoteFiles files;
    files.AddSystemDrive('P', "/proc");
    auto edit = NewNoteArea();
    edit->SetText("stays");
    if (::access("/proc/self/pagemap", R_OK) == 0) {
        EXPECT_EQ(
            MessageOf([&] { edit->Lines().ReadFromFile("P:\\self\\pagemap"); }),
            "Cannot open file \"P:\\self\\pagemap\". File too large: a note holds at most 512 MB");
    }
    // The same through a stream whose converter hands over nothing but NULs.
    edit->DefaultConverterClass = &ConversionClassOf<EndlessNuls>;
    for (bool plain : {false, true}) {
        edit->SetPlainText(plain);
        TMemoryStream empty;
        EXPECT_EQ(MessageOf([&] { edit->Lines().ReadFromStream(empty); }), "Failed to Load Stream")
            << plain;
    }
    EXPECT_EQ(edit->Text(), "stays");
}
