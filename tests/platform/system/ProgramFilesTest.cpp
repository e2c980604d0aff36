// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Where the program finds its how-to page and help file: beside it in a build tree, under
// share/quillet/ of the prefix it is installed in (a cmake --install prefix, the package's /usr).
// Its GStreamer module: in lib/quillet/ beside it or one folder up.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/system/ProgramFiles.h"

namespace {

TEST(ProgramFiles, DataFolderBesideTheProgramElseUnderTheInstalledShare) {
    struct Case {
        const char* What;
        std::vector<const char*> Folders;  // made under the scratch root
        const char* Program;               // the program's folder
        const char* Expected;
    };
    const Case cases[] = {
        {"build tree", {"build/appfiles"}, "build", "build/appfiles"},
        {"installed prefix",
         {"prefix/bin", "prefix/share/quillet/appfiles"},
         "prefix/bin",
         "prefix/share/quillet/appfiles"},
        {"package under usr",
         {"usr/bin", "usr/share/quillet/appfiles"},
         "usr/bin",
         "usr/share/quillet/appfiles"},
        {"both: the one beside wins",
         {"p/bin/appfiles", "p/share/quillet/appfiles"},
         "p/bin",
         "p/bin/appfiles"},
        {"neither: beside, for the message that names it", {"q/bin"}, "q/bin", "q/bin/appfiles"},
        {"share without our folder", {"r/bin", "r/share/other"}, "r/bin", "r/bin/appfiles"},
    };
    for (const Case& c : cases) {
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        for (const char* folder : c.Folders)
            ASSERT_TRUE(QDir(root.path()).mkpath(QLatin1String(folder)));
        const std::string base = root.path().toStdString() + "/";
        EXPECT_EQ(ProgramDataDirFor(base + c.Program), base + c.Expected) << c.What;
    }
}

TEST(ProgramFiles, ModuleBesideTheProgramElseOneFolderUp) {
    struct Case {
        const char* What;
        const char* Module;   // the module's file, made under the scratch root
        const char* Program;  // the program's folder
        const char* Expected;
    };
    const Case cases[] = {
        {"build tree's program", "build/lib/quillet/m.so", "build", "build/lib/quillet/m.so"},
        {"build tree's tests", "build/lib/quillet/m.so", "build/tests", "build/lib/quillet/m.so"},
        {"installed prefix", "usr/lib/quillet/m.so", "usr/bin", "usr/lib/quillet/m.so"},
        {"neither: beside, for the message that names it", "x/other.so", "x/bin",
         "x/bin/lib/quillet/m.so"},
    };
    for (const Case& c : cases) {
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        const QString module = root.filePath(QLatin1String(c.Module));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(module).path()));
        ASSERT_TRUE(QFile(module).open(QIODevice::WriteOnly));
        ASSERT_TRUE(QDir().mkpath(root.filePath(QLatin1String(c.Program))));
        const std::string base = root.path().toStdString() + "/";
        EXPECT_EQ(ProgramModulePathFor(base + c.Program, "m.so"), base + c.Expected) << c.What;
    }
}

TEST(ProgramFiles, ModuleEntryIsFoundOrTheLoaderSaysWhyNot) {
    struct Case {
        const char* Path;
        const char* Entry;
        const char* Why;  // part of the reason; null when the entry is found
    };
    const Case cases[] = {
        {"libm.so.6", "cos", nullptr},
        {"libm.so.6", "QuilletNoSuchEntry", "QuilletNoSuchEntry"},
        {"/nonexistent/lib/quillet/m.so", "cos", "/nonexistent/lib/quillet/m.so"},
        {"/etc/hostname", "cos", "/etc/hostname"},  // not a library at all
    };
    for (const Case& c : cases) {
        std::string why;
        void* entry = ModuleEntry(c.Path, c.Entry, why);
        if (!c.Why) {
            EXPECT_NE(entry, nullptr) << c.Path << ": " << why;
            continue;
        }
        EXPECT_EQ(entry, nullptr) << c.Path;
        EXPECT_NE(why.find(c.Why), std::string::npos) << c.Path << ": " << why;
    }
}

}  // namespace
