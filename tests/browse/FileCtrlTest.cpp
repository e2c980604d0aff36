// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFontMetrics>
#include <algorithm>

#include "browse/FileCtrl.h"
#include "tests/TempVolumes.h"
#include "toolkit/TFont.h"

namespace {

struct TSplit {
    char Drive;
    std::string DirPart, NamePart;
    bool operator==(const TSplit&) const = default;
};

void PrintTo(const TSplit& s, std::ostream* os) {
    *os << "{" << (s.Drive ? std::string(1, s.Drive) : std::string("0")) << ", \"" << s.DirPart
        << "\", \"" << s.NamePart << "\"}";
}

TSplit Split(const std::string& text) {
    TSplit s{};
    SplitTypedPath(text, s.Drive, s.DirPart, s.NamePart);
    return s;
}

// C:\Work is the current directory; C:\Windows and C:\Work\Sub are folders, C:\Work\notes.rtf a
// file; D:\Docs holds text files; F: is the share \\srv\share with a folder dir.
class FileCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        V.AddDrive('C', "c");
        V.AddDrive('D', "d");
        V.AddDrive('F', "share", DRIVE_REMOTE, "", "\\\\srv\\share");
        V.AddDrive('R', "stick", DRIVE_REMOVABLE);
        V.MakeDir("c/Windows");
        V.MakeDir("c/Work/Sub");
        V.MakeFile("c/Work/notes.rtf");
        V.MakeDir("d/Docs");
        V.MakeFile("d/Docs/a.txt");
        V.MakeDir("share/dir");
        V.Install();
        ChangeDirectory("C:\\Work");
    }

    // The message of the directory-change error that `f` raises; empty when none.
    template <typename F>
    static std::string ErrorOf(F f) {
        try {
            f();
        } catch (const EInOutError& e) {
            return e.Message;
        }
        return {};
    }

    TempVolumes V;
};

TEST_F(FileCtrlTest, SplitTypedPathWorkedResults) {
    EXPECT_EQ(Split("C:\\Windows"), (TSplit{'C', "\\Windows", ""}));
    EXPECT_EQ(Split("C:\\"), (TSplit{'C', "\\", ""}));
    EXPECT_EQ(Split("D:\\Docs\\*.txt"), (TSplit{'D', "\\Docs", "*.txt"}));
    EXPECT_EQ(Split("notes.rtf"), (TSplit{'C', "\\Work", "notes.rtf"}));
    EXPECT_EQ(Split("[Sub]"), (TSplit{'C', "\\Work\\Sub", ""}));
    EXPECT_EQ(Split("\\\\srv\\share\\dir"), (TSplit{0, "\\\\srv\\share\\dir", ""}));
    // Each split leaves the current directory where it was.
    EXPECT_EQ(CurrentDirectory(), "C:\\Work");
}

TEST_F(FileCtrlTest, SplitTypedPathMoreForms) {
    EXPECT_EQ(Split("D:"), (TSplit{'D', "\\", ""}));  // D:'s own directory, its root so far
    EXPECT_EQ(Split("Sub"), (TSplit{'C', "\\Work\\Sub", ""}));
    EXPECT_EQ(Split("D:\\Docs\\a.txt"), (TSplit{'D', "\\Docs", "a.txt"}));
    EXPECT_EQ(Split("*.rtf"), (TSplit{'C', "\\Work", "*.rtf"}));
    EXPECT_EQ(Split("\\Windows"), (TSplit{'C', "\\Windows", ""}));
    EXPECT_EQ(Split("c:\\Work\\Sub\\..\\"), (TSplit{'c', "\\Work\\Sub\\..", ""}));
    EXPECT_EQ(CurrentDirectory(), "C:\\Work");
}

TEST_F(FileCtrlTest, SplitTypedPathWithWildcardEntersOnlyAFolderOfThatVeryName) {
    // '*', '?' and ':' are ordinary characters of Linux names: a folder holding them is entered
    // like any other, and a wildcard name that is no folder stays a mask.
    for (const char* dir : {"c/Work/x*", "c/Work/star*dir", "c/Work/q?dir", "c/Work/a:b",
                            "c/Work/a:b/in*", "c/Work/*"})
        V.MakeDir(dir);
    const struct {
        const char* Typed;
        TSplit Expected;
    } rows[] = {
        {"x*", {'C', "\\Work\\x*", ""}},
        {"C:\\Work\\star*dir", {'C', "\\Work\\star*dir", ""}},
        {"[q?dir]", {'C', "\\Work\\q?dir", ""}},
        {"C:\\Work\\a:b", {'C', "\\Work\\a:b", ""}},
        {"[a:b]", {'C', "\\Work\\a:b", ""}},
        {"C:\\Work\\a:b\\in*", {'C', "\\Work\\a:b\\in*", ""}},
        {"C:\\Work\\a:b\\*.txt", {'C', "\\Work\\a:b", "*.txt"}},
        {"C:\\Work\\*", {'C', "\\Work\\*", ""}},
        {"C:\\Work\\?ub", {'C', "\\Work", "?ub"}},  // matches Sub, but is no folder's name
        {"C:\\Work\\*.rtf", {'C', "\\Work", "*.rtf"}},
    };
    for (const auto& row : rows) EXPECT_EQ(Split(row.Typed), row.Expected) << row.Typed;
    EXPECT_EQ(CurrentDirectory(), "C:\\Work");
}

TEST_F(FileCtrlTest, SplitTypedPathNeverMovesTheProcessOnItsWay) {
    // The current folder can no longer be entered by this user: a path that went through the
    // process's current directory could not come back to it.
    V.MakeDir("c/Work/locked");
    ChangeDirectory("C:\\Work\\locked");
    ASSERT_EQ(::chmod(V.Sys("c/Work/locked").c_str(), 0), 0);
    const std::string cwd = V.Sys("c/Work/locked");
    const int held = V.AsNobody([&] {
        // Another drive, and the same drive: its current folder cannot be started from, so
        // the path is looked for from its root.
        const bool split = Split("D:\\Docs\\a.txt") == TSplit{'D', "\\Docs", "a.txt"} &&
                           Split("C:\\Windows") == TSplit{'C', "\\Windows", ""} &&
                           Split("C:\\Work\\notes.rtf") == TSplit{'C', "\\Work", "notes.rtf"};
        char* now = ::getcwd(nullptr, 0);
        const bool same = now && cwd == now;
        std::free(now);
        return split && same && CurrentDirectory() == "C:\\Work\\locked";
    });
    ::chmod(V.Sys("c/Work/locked").c_str(), 0755);
    if (held < 0) GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(held, 1);
}

TEST_F(FileCtrlTest, SplitTypedPathFailuresRaiseAndRestore) {
    EXPECT_EQ(ErrorOf([] { Split("nothing-here"); }), "File not found");
    EXPECT_EQ(ErrorOf([] { Split("C:\\Nope\\x.txt"); }), "File not found");
    EXPECT_EQ(ErrorOf([] { Split("C:\\Nope\\Deeper\\x.txt"); }), "Invalid filename");
    EXPECT_EQ(ErrorOf([] { ChangeDirectory("Q:\\x"); }), "Invalid filename");
    EXPECT_EQ(CurrentDirectory(), "C:\\Work");

    // The bad input of an earlier report: a drive without medium, a name too long, a typed
    // path far beyond 260 characters.
    ASSERT_EQ(::rmdir(V.Sys("stick").c_str()), 0);
    // A root that cannot be entered is passed over, so the folder is looked for from the
    // current drive; choosing the drive itself reports it.
    EXPECT_EQ(ErrorOf([] { Split("R:\\music"); }), "File not found");
    EXPECT_EQ(ErrorOf([] { ChangeDirectory("R:"); }), "I/O error 21");
    EXPECT_EQ(ErrorOf([] { Split(std::string(300, 'x')); }), "I/O error 206");
    std::string longPath = "C:\\Work";
    for (int i = 0; i < 5; ++i) longPath += "\\" + std::string(60, 'k');
    EXPECT_EQ(ErrorOf([&] { Split(longPath); }), "Invalid filename");
    EXPECT_EQ(CurrentDirectory(), "C:\\Work");
}

TEST_F(FileCtrlTest, SplitTypedPathKeepsTheNewPlaceWhenTheOldOneIsGone) {
    V.MakeDir("c/Temp");
    ChangeDirectory("C:\\Temp");
    ASSERT_EQ(::rmdir(V.Sys("c/Temp").c_str()), 0);
    EXPECT_EQ(Split("C:\\Work\\notes.rtf"), (TSplit{'C', "\\Work", "notes.rtf"}));
    EXPECT_EQ(CurrentDirectory(), "C:\\Work");
}

TEST_F(FileCtrlTest, ChangeDirectoryMessagesByCode) {
    EXPECT_EQ(InOutError(2).Message, "File not found");
    EXPECT_EQ(InOutError(3).Message, "Invalid filename");
    EXPECT_EQ(InOutError(4).Message, "Too many open files");
    EXPECT_EQ(InOutError(5).Message, "File access denied");
    EXPECT_EQ(InOutError(100).Message, "Read beyond end of file");
    EXPECT_EQ(InOutError(101).Message, "Disk full");
    EXPECT_EQ(InOutError(106).Message, "Invalid numeric input");
    EXPECT_EQ(InOutError(267).Message, "I/O error 267");
    EXPECT_EQ(InOutError(21).ErrorCode, 21);

    // A folder link back to its parent, entered deeper than the system follows links.
    ASSERT_EQ(::symlink(".", V.Sys("c/Work/loop").c_str()), 0);
    std::string loop = "C:\\Work";
    for (int i = 0; i < 41; ++i) loop += "\\loop";
    EXPECT_EQ(ErrorOf([&] { ChangeDirectory(loop); }),
              "The folder cannot be opened: its path goes round a loop of symbolic links");

    EXPECT_EQ(ErrorOf([] { ChangeDirectory("notes.rtf"); }), "I/O error 267");
    try {
        ChangeDirectory("Missing");
        ADD_FAILURE() << "no error raised";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode, 2);
    }
    ChangeDirectory("D:\\Docs");
    ChangeDirectory("C:");
    EXPECT_EQ(CurrentDirectory(), "C:\\Work");
    ChangeDirectory("D:");  // D:'s own current directory
    EXPECT_EQ(CurrentDirectory(), "D:\\Docs");
}

TEST_F(FileCtrlTest, EnumerateFiltersByAttributeSet) {
    V.MakeFile("c/Work/.hidden.rtf");
    ASSERT_EQ(::mkfifo(V.Sys("c/Work/pipe.rtf").c_str(), 0644), 0);
    auto names = [](const std::vector<TFindData>& found) {
        std::vector<std::string> n;
        n.reserve(found.size());
        for (const TFindData& f : found) n.push_back(f.Name);
        std::sort(n.begin(), n.end());
        return n;
    };
    using V8 = std::vector<std::string>;
    EXPECT_EQ(names(Enumerate("*.*", 0)), (V8{"notes.rtf"}));
    EXPECT_EQ(names(Enumerate("*.*", FILE_ATTRIBUTE_DIRECTORY)),
              (V8{".", "..", "Sub", "notes.rtf"}));
    EXPECT_EQ(names(Enumerate("*.rtf", FILE_ATTRIBUTE_HIDDEN)), (V8{".hidden.rtf", "notes.rtf"}));
    EXPECT_EQ(names(Enumerate("*.rtf", FILE_ATTRIBUTE_SYSTEM)), (V8{"notes.rtf", "pipe.rtf"}));
    // Read-only and archive never exclude.
    EXPECT_EQ(names(Enumerate("*.rtf", FILE_ATTRIBUTE_READONLY)), (V8{"notes.rtf"}));
    // A drive root has no dot entries; a missing folder or no match gives nothing.
    EXPECT_EQ(names(Enumerate("C:\\*.*", FILE_ATTRIBUTE_DIRECTORY)), (V8{"Windows", "Work"}));
    EXPECT_TRUE(Enumerate("C:\\Missing\\*.*", 0xFF).empty());
    EXPECT_TRUE(Enumerate("*.wav", 0xFF).empty());
}

TEST_F(FileCtrlTest, UnreadableFolderEnumeratesNothingWithoutError) {
    V.MakeDir("c/Work/Closed/Inner");
    ASSERT_EQ(::chmod(V.Sys("c/Work/Closed").c_str(), 0), 0);
    int held = V.AsNobody([] {
        bool empty = Enumerate("C:\\Work\\Closed\\*.*", 0xFF).empty();
        std::string message;
        try {
            ChangeDirectory("Closed");
        } catch (const EInOutError& e) {
            message = e.Message;
        }
        return empty && message == "File access denied";
    });
    ::chmod(V.Sys("c/Work/Closed").c_str(), 0755);
    if (held < 0) GTEST_SKIP() << "cannot run as an unprivileged user here";
    EXPECT_EQ(held, 1);
}

TEST_F(FileCtrlTest, DirectoryAndFileExist) {
    EXPECT_TRUE(DirectoryExists("C:\\Work\\Sub"));
    EXPECT_TRUE(DirectoryExists("C:\\"));
    EXPECT_FALSE(DirectoryExists("C:\\Work\\notes.rtf"));
    EXPECT_FALSE(DirectoryExists("Q:\\"));
    EXPECT_TRUE(FileExists("notes.rtf"));
    EXPECT_FALSE(FileExists("Sub"));
    EXPECT_FALSE(FileExists("absent"));
}

TEST(FileCtrl, JoinPath) {
    EXPECT_EQ(JoinPath("C:\\", "a.txt"), "C:\\a.txt");
    EXPECT_EQ(JoinPath("C:\\Docs", "a.txt"), "C:\\Docs\\a.txt");
    EXPECT_EQ(JoinPath("", "a.txt"), "\\a.txt");
    EXPECT_EQ(JoinPath("\\\\srv\\share\\", "x"), "\\\\srv\\share\\x");
    EXPECT_EQ(JoinPath("C:\\Work", "*.*"), "C:\\Work\\*.*");
}

TEST(FileCtrl, PathDepthCountsEveryBackslash) {
    EXPECT_EQ(PathDepth("C:\\"), 1);
    EXPECT_EQ(PathDepth("C:\\A\\B"), 2);
    EXPECT_EQ(PathDepth("\\\\srv\\share\\dir"), 4);
    EXPECT_EQ(PathDepth("C:"), 0);
    EXPECT_EQ(PathDepth("C:\\\xE8\xA1\xA8\\x"), 2);  // a UTF-8 name never hides a separator
}

TEST(FileCtrl, FontLineHeightIsAscentPlusDescent) {
    TFont font;
    QFontMetrics m(font.ToQFont());
    EXPECT_EQ(FontLineHeight(font), m.ascent() + m.descent());
    EXPECT_GT(FontLineHeight(font), 8);
    TFont big;
    big.SetHeight(-40);
    EXPECT_GT(FontLineHeight(big), FontLineHeight(font) * 2);
}

}  // namespace
