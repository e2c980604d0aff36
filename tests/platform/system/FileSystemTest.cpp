// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "platform/system/FileNames.h"
#include "platform/system/FileSystem.h"
#include "tests/TempVolumes.h"

namespace {

// C: and D: are fixed drives, F: is a share \\srv\share, R: a removable drive.
class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        V.AddDrive('C', "c", DRIVE_FIXED, "SYSTEM");
        V.AddDrive('D', "d", DRIVE_FIXED, "DATA");
        V.AddDrive('F', "share", DRIVE_REMOTE, "", "\\\\srv\\share");
        V.AddDrive('R', "stick", DRIVE_REMOVABLE, "STICK", "", FILE_CASE_PRESERVED_NAMES);
        V.MakeDir("c/Work/Sub");
        V.MakeFile("c/Work/notes.rtf");
        V.MakeDir("d/Docs");
        V.MakeDir("share/dir");
        V.Install();
        ASSERT_TRUE(SetCurrentDir("C:\\Work"));
    }

    static std::vector<std::string> Names(const std::vector<TFindData>& found) {
        std::vector<std::string> names;
        names.reserve(found.size());
        for (const TFindData& f : found) names.push_back(f.Name);
        return names;
    }
    static std::uint32_t AttrOf(const std::vector<TFindData>& found, const std::string& name) {
        for (const TFindData& f : found)
            if (f.Name == name) return f.Attributes;
        return INVALID_FILE_ATTRIBUTES;
    }
    static std::string LinuxCwd() {
        char* cwd = ::getcwd(nullptr, 0);
        std::string s = cwd ? cwd : "";
        std::free(cwd);
        return s;
    }

    TempVolumes V;
};

TEST_F(FileSystemTest, PathsTranslateBothWays) {
    std::string sys;
    ASSERT_TRUE(ToSystemPath("C:\\Work\\notes.rtf", sys));
    EXPECT_EQ(sys, V.Sys("c/Work/notes.rtf"));
    ASSERT_TRUE(ToSystemPath("d:\\Docs\\", sys));
    EXPECT_EQ(sys, V.Sys("d/Docs"));
    ASSERT_TRUE(ToSystemPath("notes.rtf", sys));  // relative to C:\Work
    EXPECT_EQ(sys, V.Sys("c/Work/notes.rtf"));
    ASSERT_TRUE(ToSystemPath("\\\\SRV\\Share\\dir\\x.txt", sys));  // share names ignore case
    EXPECT_EQ(sys, V.Sys("share/dir/x.txt"));

    EXPECT_EQ(FromSystemPath(V.Sys("c/Work/notes.rtf")), "C:\\Work\\notes.rtf");
    EXPECT_EQ(FromSystemPath(V.Sys("d")), "D:\\");
    EXPECT_EQ(FromSystemPath(V.Sys("share/dir")), "F:\\dir");
    EXPECT_EQ(FromSystemPath("/no/such/drive/here"), "");
}

TEST_F(FileSystemTest, UnknownDriveOrShareIsAMissingPath) {
    std::string sys;
    EXPECT_FALSE(ToSystemPath("Q:\\x", sys));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(ToSystemPath("\\\\other\\share\\x", sys));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(ToSystemPath("\\\\srv\\shared\\x", sys));  // share name must match whole
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(ToSystemPath(std::string("C:\\a\0b", 6), sys));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
}

TEST_F(FileSystemTest, ExpandFileNameUsesEachDrivesCurrentDirectory) {
    EXPECT_EQ(ExpandFileName("notes.rtf"), "C:\\Work\\notes.rtf");
    EXPECT_EQ(ExpandFileName("..\\x\\.\\y\\..\\z"), "C:\\x\\z");
    EXPECT_EQ(ExpandFileName("\\..\\..\\a"), "C:\\a");  // never above the root
    EXPECT_EQ(ExpandFileName("c:/Work//Sub/"), "C:\\Work\\Sub");
    EXPECT_EQ(ExpandFileName("D:"), "D:\\");
    ASSERT_TRUE(SetCurrentDir("D:\\Docs"));
    ASSERT_TRUE(SetCurrentDir("C:\\Work\\Sub"));
    EXPECT_EQ(ExpandFileName("D:"), "D:\\Docs");
    EXPECT_EQ(ExpandFileName("d:new.txt"), "D:\\Docs\\new.txt");
    EXPECT_EQ(ExpandFileName("C:.."), "C:\\Work");
    EXPECT_EQ(ExpandFileName("\\\\srv\\share\\dir\\..\\.."), "\\\\srv\\share\\");
    EXPECT_EQ(ExpandFileName(""), "");
}

TEST_F(FileSystemTest, CurrentDirectoryFormsAndMirror) {
    EXPECT_EQ(GetCurrentDir(), "C:\\Work");
    EXPECT_EQ(LinuxCwd(), V.Sys("c/Work"));

    ASSERT_TRUE(SetCurrentDir("Sub"));
    EXPECT_EQ(GetCurrentDir(), "C:\\Work\\Sub");
    ASSERT_TRUE(SetCurrentDir(".."));
    EXPECT_EQ(GetCurrentDir(), "C:\\Work");
    ASSERT_TRUE(SetCurrentDir("D:\\Docs"));
    ASSERT_TRUE(SetCurrentDir("\\"));  // root of the current drive
    EXPECT_EQ(GetCurrentDir(), "D:\\");
    ASSERT_TRUE(SetCurrentDir("D:Docs"));  // relative to D:'s own directory
    EXPECT_EQ(GetCurrentDir(), "D:\\Docs");
    ASSERT_TRUE(SetCurrentDir("C:"));  // back to C:'s own directory
    EXPECT_EQ(GetCurrentDir(), "C:\\Work");
    ASSERT_TRUE(SetCurrentDir("d:"));
    EXPECT_EQ(GetCurrentDir(), "D:\\Docs");
    EXPECT_EQ(LinuxCwd(), V.Sys("d/Docs"));
    ASSERT_TRUE(SetCurrentDir("\\\\srv\\share\\dir"));
    EXPECT_EQ(GetCurrentDir(), "\\\\srv\\share\\dir");
    ASSERT_TRUE(SetCurrentDir("\\"));
    EXPECT_EQ(GetCurrentDir(), "\\\\srv\\share\\");
    EXPECT_EQ(LinuxCwd(), V.Sys("share"));
}

TEST_F(FileSystemTest, FailedChangesKeepTheCurrentDirectoryAndReportACode) {
    EXPECT_FALSE(SetCurrentDir("Missing"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(SetCurrentDir("Missing\\Deeper"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(SetCurrentDir("notes.rtf"));
    EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
    EXPECT_FALSE(SetCurrentDir("notes.rtf\\x"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(SetCurrentDir("Q:\\"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(SetCurrentDir(""));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(SetCurrentDir(std::string(300, 'n')));  // one component too long for Linux
    EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);
    EXPECT_EQ(GetCurrentDir(), "C:\\Work");
    EXPECT_EQ(LinuxCwd(), V.Sys("c/Work"));
}

TEST_F(FileSystemTest, DriveWithoutMediumIsNotReady) {
    ASSERT_TRUE(SetCurrentDir("R:\\"));
    ASSERT_TRUE(SetCurrentDir("C:\\Work"));
    ASSERT_EQ(::rmdir(V.Sys("stick").c_str()), 0);  // the medium is taken out

    EXPECT_FALSE(SetCurrentDir("R:"));
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
    EXPECT_EQ(SysErrorMessage(ERROR_NOT_READY), std::strerror(ENOMEDIUM));
    TVolumeInformation info;
    EXPECT_FALSE(GetVolumeInformation("R:\\", info));
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
    EXPECT_EQ(GetDriveType("R:\\"), DRIVE_REMOVABLE);  // the drive is still there
    EXPECT_TRUE(GetLogicalDrives() & (1u << ('R' - 'A')));
    EXPECT_TRUE(FindFiles("R:\\*.*").empty());
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
    EXPECT_EQ(GetCurrentDir(), "C:\\Work");
}

TEST_F(FileSystemTest, MountPointShowingAnotherDeviceIsNotReady) {
    TVolume v = *V.Table.Find('R');
    struct stat st {};
    ASSERT_EQ(::stat(v.MountPoint.c_str(), &st), 0);
    v.Device = st.st_dev + 1;  // as if the medium had been unmounted from its folder
    V.Table.Add(v);
    V.Install();
    EXPECT_FALSE(SetCurrentDir("R:\\"));
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);
    v.Device = st.st_dev;
    V.Table.Add(v);
    V.Install();
    EXPECT_TRUE(SetCurrentDir("R:\\"));
}

TEST_F(FileSystemTest, RemovedDriveFolderFallsBackToTheDriveRoot) {
    V.MakeDir("d/Gone");
    ASSERT_TRUE(SetCurrentDir("D:\\Gone"));
    ASSERT_TRUE(SetCurrentDir("C:\\Work"));
    ASSERT_EQ(::rmdir(V.Sys("d/Gone").c_str()), 0);
    ASSERT_TRUE(SetCurrentDir("D:"));
    EXPECT_EQ(GetCurrentDir(), "D:\\");
    // A full path to a removed folder is still an error.
    EXPECT_FALSE(SetCurrentDir("D:\\Gone"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileSystemTest, PathsLongerThan260CharactersAreKeptWhole) {
    std::string rel = "c/Work";
    std::string expected = "C:\\Work";
    for (int i = 0; i < 6; ++i) {
        std::string part = std::string(60, char('a' + i));
        rel += "/" + part;
        expected += "\\" + part;
    }
    V.MakeDir(rel);
    V.MakeFile(rel + "/deep.txt", "deep");
    ASSERT_GT(expected.size(), 260u);
    ASSERT_TRUE(SetCurrentDir(expected));
    EXPECT_EQ(GetCurrentDir(), expected);
    EXPECT_EQ(LinuxCwd(), V.Sys(rel));
    EXPECT_TRUE(FileExists(expected + "\\deep.txt"));
    EXPECT_EQ(Names(FindFiles(expected + "\\*.txt")), std::vector<std::string>{"deep.txt"});
    int fd = OpenFile("deep.txt", O_RDONLY);
    ASSERT_GE(fd, 0);
    ::close(fd);
}

TEST_F(FileSystemTest, AttributesFollowTheFileKind) {
    V.MakeFile("c/Work/.hidden");
    V.MakeDir("c/Work/.cache");
    ASSERT_EQ(::mkfifo(V.Sys("c/Work/pipe").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("Sub", V.Sys("c/Work/link-to-dir").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", V.Sys("c/Work/dangling").c_str()), 0);

    auto found = FindFiles("C:\\Work\\*.*");
    EXPECT_EQ(AttrOf(found, "notes.rtf"), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(AttrOf(found, "Sub"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(AttrOf(found, ".hidden"), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(AttrOf(found, ".cache"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(AttrOf(found, "pipe"), FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(AttrOf(found, "link-to-dir"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(AttrOf(found, "dangling"), FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(AttrOf(found, "."), FILE_ATTRIBUTE_DIRECTORY);  // never hidden
    EXPECT_EQ(AttrOf(found, ".."), FILE_ATTRIBUTE_DIRECTORY);

    EXPECT_EQ(GetFileAttributes("C:\\Work\\.hidden"),
              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(GetFileAttributes("C:\\"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributes("C:\\Work\\none"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileAttributes("C:\\none\\x"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_TRUE(DirectoryExists("C:\\Work\\Sub"));
    EXPECT_TRUE(DirectoryExists("\\\\srv\\share\\"));
    EXPECT_FALSE(DirectoryExists("C:\\Work\\notes.rtf"));
    EXPECT_TRUE(FileExists("notes.rtf"));
    EXPECT_FALSE(FileExists("Sub"));
    EXPECT_FALSE(FileExists("*.rtf"));  // a name, not a mask
}

// Root may write every file on a writable volume, so the rule is checked as an ordinary user
// (a child process running as nobody); as root itself only the read-only-volume case would show.
TEST_F(FileSystemTest, ReadOnlyWhenTheUserMayNotWrite) {
    V.MakeFile("c/Work/locked.txt");
    ASSERT_EQ(::chmod(V.Sys("c/Work/locked.txt").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(V.Sys("c/Work/notes.rtf").c_str(), 0666), 0);
    int held = V.AsNobody([] {
        return GetFileAttributes("locked.txt") ==
                   (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY) &&
               AttrOf(FindFiles("*.txt"), "locked.txt") ==
                   (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY) &&
               AttrOf(FindFiles("*.rtf"), "notes.rtf") == FILE_ATTRIBUTE_ARCHIVE;
    });
    if (held < 0) GTEST_SKIP() << "cannot run as an unprivileged user here";
    EXPECT_EQ(held, 1);
}

TEST_F(FileSystemTest, FindFilesMatchesMasksAndDotEntries) {
    V.MakeFile("c/Work/A.TXT");
    V.MakeFile("c/Work/b.txt");
    V.MakeFile("c/Work/readme");
    auto sorted = [](std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_EQ(sorted(Names(FindFiles("*.txt"))), (std::vector<std::string>{"A.TXT", "b.txt"}));
    EXPECT_EQ(sorted(Names(FindFiles("C:\\Work\\?.TxT"))),
              (std::vector<std::string>{"A.TXT", "b.txt"}));
    auto all = Names(FindFiles("C:\\Work\\*.*"));
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all[0], ".");
    EXPECT_EQ(all[1], "..");
    EXPECT_EQ(sorted(all), (std::vector<std::string>{".", "..", "A.TXT", "Sub", "b.txt",
                                                     "notes.rtf", "readme"}));
    // "C:" alone is C:'s own directory.
    EXPECT_EQ(sorted(Names(FindFiles("C:*.rtf"))), std::vector<std::string>{"notes.rtf"});

    // At a drive or share root there is no "." or "..".
    V.MakeFile("d/top.txt");
    EXPECT_EQ(sorted(Names(FindFiles("D:\\*.*"))), (std::vector<std::string>{"Docs", "top.txt"}));
    EXPECT_EQ(Names(FindFiles("\\\\srv\\share\\*")), std::vector<std::string>{"dir"});

    EXPECT_TRUE(FindFiles("*.wav").empty());
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(FindFiles("C:\\Missing\\*.*").empty());
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(FindFiles("C:\\Missing\\Deeper\\*.*").empty());
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(FileSystemTest, OddNamesAreSkippedOrKeptByteForByte) {
    V.MakeFile("c/Work/back\\slash.txt");
    const std::string latin1 = "caf\xE9.txt";  // not UTF-8
    V.MakeFile("c/Work/" + latin1, "latin");
    auto names = Names(FindFiles("*.txt"));
    EXPECT_EQ(std::count(names.begin(), names.end(), "back\\slash.txt"), 0);
    ASSERT_EQ(std::count(names.begin(), names.end(), latin1), 1);

    // The raw name leads back to the same file.
    EXPECT_TRUE(FileExists("C:\\Work\\" + latin1));
    int fd = OpenFile(latin1, O_RDONLY);
    ASSERT_GE(fd, 0);
    char buf[8] = {};
    EXPECT_EQ(::read(fd, buf, sizeof buf), 5);
    ::close(fd);
    EXPECT_STREQ(buf, "latin");
}

TEST_F(FileSystemTest, UnreadableFolderListsNothing) {
    V.MakeDir("c/Work/Closed");
    V.MakeFile("c/Work/Closed/secret.txt");
    ASSERT_EQ(::chmod(V.Sys("c/Work/Closed").c_str(), 0), 0);
    int held = V.AsNobody([] {
        bool listsNothing =
            FindFiles("C:\\Work\\Closed\\*.*").empty() && GetLastError() == ERROR_ACCESS_DENIED;
        bool refusesEntry = !SetCurrentDir("Closed") && GetLastError() == ERROR_ACCESS_DENIED &&
                            GetCurrentDir() == "C:\\Work";
        return listsNothing && refusesEntry;
    });
    ::chmod(V.Sys("c/Work/Closed").c_str(), 0755);
    if (held < 0) GTEST_SKIP() << "cannot run as an unprivileged user here";
    EXPECT_EQ(held, 1);
}

TEST_F(FileSystemTest, OpenFileRefusesFoldersAndExplainsFailures) {
    EXPECT_EQ(OpenFile("Sub", O_RDONLY), -1);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenFile("absent.rtf", O_RDONLY), -1);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(SysErrorMessage(GetLastError()), std::strerror(ENOENT));
    EXPECT_EQ(OpenFile("Nope\\new.rtf", O_WRONLY | O_CREAT), -1);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(OpenFile("", O_RDONLY), -1);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    int fd = OpenFile("Sub\\new.rtf", O_WRONLY | O_CREAT | O_TRUNC);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_TRUE(FileExists("C:\\Work\\Sub\\new.rtf"));
}

TEST_F(FileSystemTest, VolumeQueries) {
    EXPECT_EQ(GetLogicalDrives(), (1u << 2) | (1u << 3) | (1u << 5) | (1u << 17));
    EXPECT_EQ(GetDriveType("c:\\"), DRIVE_FIXED);
    EXPECT_EQ(GetDriveType("F:\\"), DRIVE_REMOTE);
    EXPECT_EQ(GetDriveType("Q:\\"), DRIVE_NO_ROOT_DIR);
    TVolumeInformation info;
    ASSERT_TRUE(GetVolumeInformation("C:\\", info));
    EXPECT_EQ(info.VolumeName, "SYSTEM");
    EXPECT_EQ(info.FileSystemFlags, FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES);
    EXPECT_GE(info.MaxComponentLength, 255u);
    ASSERT_TRUE(GetVolumeInformation("\\\\srv\\share\\", info));
    EXPECT_EQ(info.VolumeName, "");
    EXPECT_FALSE(GetVolumeInformation("Q:\\", info));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    std::string remote;
    ASSERT_TRUE(GetRemoteName("F:", remote));
    EXPECT_EQ(remote, "\\\\srv\\share");
    EXPECT_FALSE(GetRemoteName("C:", remote));
    EXPECT_EQ(GetLastError(), ERROR_NOT_CONNECTED);
}

TEST_F(FileSystemTest, SamenessFollowsTheVolumesCaseRule) {
    V.MakeDir("c/Work/sub");  // a second folder, differing from Sub only in case
    EXPECT_NE(AnsiCompareFileNameOnVolume("C:\\Work\\Sub", "C:\\Work\\sub"), 0);
    EXPECT_EQ(AnsiCompareFileNameOnVolume("c:\\Work\\Sub", "C:\\Work\\Sub"), 0);
    // R: finds names regardless of case.
    EXPECT_EQ(AnsiCompareFileNameOnVolume("R:\\Music", "r:\\MUSIC"), 0);
    EXPECT_NE(AnsiCompareFileNameOnVolume("R:\\Music", "R:\\Musik"), 0);
}

}  // namespace

namespace {

// A drive's folder under a test's drives, as a program path, or the error code of the failure.
std::string Resolved(const std::string& path, const std::string& base) {
    std::string full;
    if (!ResolveDirectory(path, base, full)) return "error " + std::to_string(GetLastError());
    return full;
}

}  // namespace

TEST_F(FileSystemTest, ResolveDirectoryFindsWhatSetCurrentDirWouldWithoutMoving) {
    V.MakeDir("d/Docs/Old");
    V.MakeDir("c/Work/a:b");
    V.MakeDir("c/Work/star*dir");
    ASSERT_TRUE(SetCurrentDir("D:\\Docs"));
    ASSERT_TRUE(SetCurrentDir("C:\\Work"));
    const std::string cwd = LinuxCwd();
    const struct {
        const char* Path;
        const char* Base;
        const char* Expected;
    } rows[] = {
        {"Sub", "C:\\Work", "C:\\Work\\Sub"},
        {"..", "C:\\Work\\Sub", "C:\\Work"},
        {"\\Work", "C:\\Work\\Sub", "C:\\Work"},
        {"Old", "D:\\Docs", "D:\\Docs\\Old"},      // relative to the base, not the process
        {"D:", "C:\\Work", "D:\\Docs"},            // D:'s own current directory
        {"C:", "C:\\Work\\Sub", "C:\\Work\\Sub"},  // the base's own drive: the base
        {"C:\\Work\\a:b", "D:\\", "C:\\Work\\a:b"},
        {"C:\\Work\\star*dir", "D:\\", "C:\\Work\\star*dir"},
        {"\\\\srv\\share\\dir", "C:\\", "\\\\srv\\share\\dir"},
        {"Missing", "C:\\Work", "error 2"},
        {"Missing\\Deeper", "C:\\Work", "error 3"},
        {"notes.rtf", "C:\\Work", "error 267"},
        {"Q:\\x", "C:\\Work", "error 3"},
        {"", "C:\\Work", "error 3"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Resolved(row.Path, row.Base), row.Expected) << row.Path << " from " << row.Base;
    EXPECT_EQ(GetCurrentDir(), "C:\\Work");
    EXPECT_EQ(LinuxCwd(), cwd);
}

TEST_F(FileSystemTest, ResolveDirectoryRefusesAFolderTheUserMayNotEnter) {
    V.MakeDir("c/Work/locked");
    ASSERT_EQ(::chmod(V.Sys("c/Work/locked").c_str(), 0), 0);
    const int held = V.AsNobody([] {
        std::string full;
        return !ResolveDirectory("locked", "C:\\Work", full) &&
               GetLastError() == ERROR_ACCESS_DENIED && !SetCurrentDir("C:\\Work\\locked") &&
               GetLastError() == ERROR_ACCESS_DENIED && GetCurrentDir() == "C:\\Work";
    });
    if (held < 0) GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(held, 1);
}

TEST_F(FileSystemTest, DrivesAreReadAgainFromTheirSource) {
    V.MakeDir("d/Docs/Old");
    V.InstallChanging();
    ASSERT_TRUE(SetCurrentDir("D:\\Docs\\Old"));
    ASSERT_TRUE(SetCurrentDir("R:\\"));
    ASSERT_TRUE(SetCurrentDir("C:\\Work\\Sub"));

    // Meanwhile a stick is plugged in and R:'s medium is mounted at another place.
    V.AddDrive('S', "usb", DRIVE_REMOVABLE, "USB");
    V.MakeDir("usb/Photos");
    TVolume r = *V.Table.Find('R');
    r.MountPoint = V.Sys("c");
    V.Table.Add(r);
    EXPECT_FALSE(SetCurrentDir("S:\\Photos")) << "not before the drives are read again";
    RefreshVolumeTable();

    EXPECT_TRUE(GetLogicalDrives() & (1u << ('S' - 'A')));
    EXPECT_EQ(GetCurrentDir(), "C:\\Work\\Sub") << "the process stays where it was";
    EXPECT_EQ(ExpandFileName("D:"), "D:\\Docs\\Old") << "a drive that stayed keeps its folder";
    EXPECT_EQ(ExpandFileName("R:"), "R:\\") << "a drive that moved starts at its root";
    EXPECT_TRUE(SetCurrentDir("S:\\Photos"));
    EXPECT_EQ(LinuxCwd(), V.Sys("usb/Photos"));
}

TEST_F(FileSystemTest, AMediumPutBackIsUsableAgain) {
    // The drives were read while another medium was in: its folder now shows another device.
    TVolume r = *V.Table.Find('R');
    struct stat st {};
    ASSERT_EQ(::stat(r.MountPoint.c_str(), &st), 0);
    r.Device = st.st_dev + 1;
    V.Table.Add(r);
    V.InstallChanging();
    EXPECT_FALSE(SetCurrentDir("R:\\"));
    EXPECT_EQ(GetLastError(), ERROR_NOT_READY);

    // The medium is mounted again: the mount table now tells the device its folder shows.
    V.MakeDir("stick/Music");
    r.Device = st.st_dev;
    V.Table.Add(r);
    EXPECT_TRUE(SetCurrentDir("R:\\Music"));
    EXPECT_EQ(GetCurrentDir(), "R:\\Music");
}
