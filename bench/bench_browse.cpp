// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Browser panel benchmark: the file list reading a folder of 100,000 files and the directory
// list filling itself from a folder of 10,000 subfolders, each against a plain readdir + stat +
// case-insensitive sort of the same folder measured in the same run; and the file list at
// 10,000 against 100,000 files, for growth. Prints medians of five runs and the ratios.
//
// Goals: each control within 3 times its plain reading; ten times the files within 12 times
// the time.
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "browse/TDirectoryListBox.h"
#include "browse/TFileListBox.h"
#include "platform/system/FileSystem.h"
#include "toolkit/TApplication.h"

namespace {

using Bench::Measure;
using Bench::Timing;

// Names in no particular order and of mixed case, as real folders hold them.
std::string NameOf(int i, const char* suffix) {
    static const char* const stems[] = {"Report", "notes", "IMG_", "draft", "Backup", "song"};
    const unsigned scrambled = unsigned(i) * 2654435761u;
    return std::string(stems[scrambled % 6]) + std::to_string(scrambled % 1000003u) + "_" +
           std::to_string(i) + suffix;
}

void MakeFiles(const std::string& dir, int count) {
    ::mkdir(dir.c_str(), 0755);
    for (int i = 0; i < count; ++i) std::ofstream(dir + "/" + NameOf(i, ".txt"));
}

void MakeFolders(const std::string& dir, int count) {
    ::mkdir(dir.c_str(), 0755);
    for (int i = 0; i < count; ++i) ::mkdir((dir + "/" + NameOf(i, "")).c_str(), 0755);
}

// The reference: every name with its attributes, sorted ignoring case.
std::size_t PlainRead(const std::string& dir) {
    struct Entry {
        std::string Name;
        bool Folder;
    };
    std::vector<Entry> entries;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (dirent* e = ::readdir(d)) {
            struct stat st {};
            const std::string name = e->d_name;
            if (::stat((dir + "/" + name).c_str(), &st) != 0) continue;
            entries.push_back({name, S_ISDIR(st.st_mode)});
        }
        ::closedir(d);
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return ::strcasecmp(a.Name.c_str(), b.Name.c_str()) < 0;
    });
    return entries.size();
}

constexpr const char* kPlainReading = "readdir + stat + strcasecmp sort of the same folder";
constexpr const char* kHow = "processor time, median of 5, views shown";

void Report(const char* what, const Timing& ours, const Timing& plain, double goal) {
    const double ratio = ours.CpuMs / std::max(plain.CpuMs, 0.001);
    std::printf(
        "%-34s %8.1f ms (cpu %8.1f)   plain %7.1f ms (cpu %7.1f)   ratio %.2f  goal <= %.0f  %s\n",
        what, ours.WallMs, ours.CpuMs, plain.WallMs, plain.CpuMs, ratio, goal,
        ratio <= goal ? "ok" : "OVER");
    Bench::Report({what, kPlainReading, ratio, goal,
                   Bench::Format("%.1f ms against %.1f ms", ours.CpuMs, plain.CpuMs), kHow});
}

}  // namespace

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    QTemporaryDir root;
    const std::string base = root.path().toStdString();
    std::printf("making the folders in %s ...\n", base.c_str());
    MakeFiles(base + "/files10k", 10'000);
    MakeFiles(base + "/files100k", 100'000);
    MakeFolders(base + "/dirs10k", 10'000);

    TVolumeTable table;
    TVolume c;
    c.Letter = 'C';
    c.MountPoint = base;
    table.Add(c);
    SetVolumeTable(table);

    // Shown, as in the program: each reading includes the view's relayout and repaint.
    TFileListBox files;
    files.setGeometry(0, 0, 225, 105);
    files.show();
    files.CreateHandle();
    TDirectoryListBox dirs;
    dirs.setGeometry(0, 120, 225, 97);
    dirs.show();
    dirs.CreateHandle();
    const auto reread = [&] {
        files.RereadFiles();
        QCoreApplication::processEvents();
    };
    const auto refill = [&] {
        dirs.FillFolderList();
        QCoreApplication::processEvents();
    };

    files.SetDirectory("C:\\files10k");
    const Timing files10k = Measure(reread);
    files.SetDirectory("C:\\files100k");
    const Timing files100k = Measure(reread);
    const Timing plain100k = Measure([&] { PlainRead(base + "/files100k"); });
    const Timing plain10k = Measure([&] { PlainRead(base + "/files10k"); });
    dirs.SetDirectory("C:\\dirs10k");
    const Timing folders = Measure(refill);
    const Timing plainFolders = Measure([&] { PlainRead(base + "/dirs10k"); });
    std::printf("entries: file list %d, directory list %d\n", files.Count(), dirs.Count());

    Report("RereadFiles, 100,000 files", files100k, plain100k, 3);
    Report("FillFolderList, 10,000 folders", folders, plainFolders, 3);
    const double growth = files100k.CpuMs / std::max(files10k.CpuMs, 0.001);
    const double plainGrowth = plain100k.CpuMs / std::max(plain10k.CpuMs, 0.001);
    std::printf("%-34s %8.1f ms (cpu %8.1f)   plain %7.1f ms (cpu %7.1f)\n",
                "RereadFiles, 10,000 files", files10k.WallMs, files10k.CpuMs, plain10k.WallMs,
                plain10k.CpuMs);
    std::printf("%-34s growth %.2f (plain reading %.2f)  goal <= 12  %s\n",
                "10,000 -> 100,000 files", growth, plainGrowth, growth <= 12 ? "ok" : "OVER");
    Bench::Report({"growth of RereadFiles from 10,000 to 100,000 files",
                   "the plain reading's own growth", growth / plainGrowth, 0,
                   Bench::Format("growth %.1fx against %.1fx (goal: at most 12x for ten times the "
                                 "files, %s)",
                                 growth, plainGrowth, growth <= 12 ? "met" : "not met"),
                   kHow});
    SetVolumeTable(TVolumeTable::FromSystemMounts());
    return 0;
}
