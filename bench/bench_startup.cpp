// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Start-up benchmark: time from process start to the main window's first paint, and resident
// memory then, for Quillet (bench/startup/StartupQuillet.cpp: the program's own start, linked
// as the program is) and for a bare Qt Widgets program linked with Qt alone (a 690 x 458 window
// with a menu bar and a text edit, bench/startup/StartupReference.cpp), started in turn in the
// same run. Prints medians of wall and processor time, resident memory and their ratios, with
// the machine's fonts and again with only the fonts of a freshly set-up machine.
#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bench/BenchSupport.h"

extern char** environ;

namespace {

struct Sample {
    double WallMs;
    double CpuMs;  // the child's user and system time
    double KiB;    // its resident memory at the first paint
};

double Millis(const timeval& t) {
    return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0;
}

// Starts `program` (with one argument when `argument` is not empty) and waits for its
// "PAINT <KiB>" line and its end.
Sample RunChild(const std::string& program, const std::string& argument = {}) {
    int out[2];
    if (pipe(out) != 0) return {0, 0, 0};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    // The programs' own notices (no runtime directory, no raise on this platform) are not ours.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* args[] = {const_cast<char*>(program.c_str()),
                    argument.empty() ? nullptr : const_cast<char*>(argument.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, args, environ);
    close(out[1]);
    std::string line;
    char c;
    while (spawned == 0 && read(out[0], &c, 1) == 1 && c != '\n') line += c;
    const auto end = std::chrono::steady_clock::now();
    close(out[0]);
    rusage usage{};
    if (spawned == 0) wait4(pid, nullptr, 0, &usage);
    posix_spawn_file_actions_destroy(&actions);
    long kib = 0;
    if (std::sscanf(line.c_str(), "PAINT %ld", &kib) != 1) {
        std::fprintf(stderr, "%s did not report its first paint\n", program.c_str());
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(end - start).count(),
            Millis(usage.ru_utime) + Millis(usage.ru_stime), double(kib)};
}

// Starts the load-only program with `file` and reads its "LOAD <ms>" line.
double RunLoadChild(const std::string& program, const std::string& file) {
    const std::string command = program + " '" + file + "' 2>/dev/null";
    FILE* child = popen(command.c_str(), "r");
    double ms = -1;
    if (child) {
        if (std::fscanf(child, "LOAD %lf", &ms) != 1) ms = -1;
        pclose(child);
    }
    if (ms < 0) {
        std::fprintf(stderr, "%s did not report its load\n", program.c_str());
        std::exit(1);
    }
    return ms;
}

// A note of some 250 KB of rich text, bold and italic runs in every paragraph, in a fresh
// temporary folder.
std::string WriteNoteFile() {
    char folder[] = "/tmp/quillet-bench-XXXXXX";
    if (!mkdtemp(folder)) std::exit(1);
    const std::string path = std::string(folder) + "/note.rtf";
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) std::exit(1);
    std::fputs("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ", f);
    for (int i = 0; i < 2500; ++i)
        std::fprintf(f,
                     "Paragraph %d of the note: {\\b some bold words} and {\\i a few in "
                     "italics}, then plain text to the end of the line.\\par\n",
                     i);
    std::fputs("}", f);
    std::fclose(f);
    return path;
}

// What one untimed start of `program` depended on: the libraries it mapped and the font its
// window got (FirstPaintProbe.h, QUILLET_BENCH_DESCRIBE).
struct Description {
    std::set<std::string> Libraries;
    std::string Font;
};

Description Describe(const std::string& program) {
    Description d;
    setenv("QUILLET_BENCH_DESCRIBE", "1", 1);
    FILE* out = popen((program + " 2>/dev/null").c_str(), "r");
    unsetenv("QUILLET_BENCH_DESCRIBE");
    if (!out) return d;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, out)) {
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        if (line.rfind("LIB ", 0) == 0) d.Libraries.insert(line.substr(4));
        if (line.rfind("FONT ", 0) == 0) d.Font = line.substr(5);
    }
    pclose(out);
    return d;
}

// The lines a shell command prints.
std::vector<std::string> Lines(const char* command) {
    std::vector<std::string> lines;
    FILE* out = popen(command, "r");
    if (!out) return lines;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, out)) {
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    pclose(out);
    return lines;
}

long MTime(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? long(st.st_mtime) : -1;
}

// The font files fontconfig offers, and whether its caches are older than a font folder: a
// folder without a current cache is scanned again by every program that starts (fontconfig
// writes a cache only where it may, /var/cache/fontconfig for root after fc-cache), which is
// what a freshly set-up machine whose font packages were installed without fc-cache pays.
void PrintFontState() {
    const std::vector<std::string> files = Lines("fc-list --format '%{file}\\n' 2>/dev/null");
    std::set<std::string> folders;
    for (const std::string& f : files) folders.insert(f.substr(0, f.find_last_of('/')));
    long newestCache = -1;
    int caches = 0;
    const char* home = std::getenv("HOME");
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    const std::string user = xdg ? std::string(xdg) + "/fontconfig"
                                 : std::string(home ? home : "") + "/.cache/fontconfig";
    for (const std::string& dir : {std::string("/var/cache/fontconfig"), user}) {
        DIR* d = opendir(dir.c_str());
        if (!d) continue;
        while (dirent* e = readdir(d)) {
            if (std::string(e->d_name).find(".cache-") == std::string::npos) continue;
            ++caches;
            newestCache = std::max(newestCache, MTime(dir + "/" + e->d_name));
        }
        closedir(d);
    }
    int newer = 0;
    for (const std::string& folder : folders)
        if (MTime(folder) > newestCache) ++newer;
    std::printf(
        "fonts: %zu font files in %zu folders; font caches: %d files, %d font folders "
        "newer than the newest cache%s\n",
        files.size(), folders.size(), caches, newer,
        newer > 0 ? " (stale: run fc-cache, or every start scans those folders)" : "");
}

void PrintDependencies(const std::string& dir) {
    std::printf("build: %s, C++ flags \"%s\"; platform %s\n", QUILLET_BENCH_BUILD_TYPE,
                QUILLET_BENCH_CXX_FLAGS,
                getenv("QT_QPA_PLATFORM") ? getenv("QT_QPA_PLATFORM") : "(default)");
    PrintFontState();
    const Description r = Describe(dir + "startup_reference");
    const Description q = Describe(dir + "startup_quillet");
    std::printf("window font: bare Qt window %s; Quillet %s\n", r.Font.c_str(), q.Font.c_str());
    std::printf(
        "libraries mapped at the first paint: bare Qt window %zu, Quillet %zu; Quillet's "
        "own:\n",
        r.Libraries.size(), q.Libraries.size());
    for (const std::string& library : q.Libraries)
        if (!r.Libraries.count(library)) std::printf("  %s\n", library.c_str());
}

struct Medians {
    double WallMs, CpuMs, KiB;
};

Medians MediansOf(const std::vector<Sample>& samples) {
    std::vector<double> wall, cpu, kib;
    for (const Sample& s : samples)
        wall.push_back(s.WallMs), cpu.push_back(s.CpuMs), kib.push_back(s.KiB);
    return {Bench::Median(wall), Bench::Median(cpu), Bench::Median(kib)};
}

// `runs` starts of each program after one untimed start of each to warm the caches, in turn,
// so drift in the machine's load hits both alike, and each first in every other pair, so that
// neither always follows the other.
std::pair<Medians, Medians> StartsInTurn(const std::string& dir, int runs) {
    std::vector<Sample> reference, quillet;
    RunChild(dir + "startup_reference"), RunChild(dir + "startup_quillet");
    for (int i = 0; i < runs; ++i) {
        if (i % 2 == 0) reference.push_back(RunChild(dir + "startup_reference"));
        quillet.push_back(RunChild(dir + "startup_quillet"));
        if (i % 2 != 0) reference.push_back(RunChild(dir + "startup_reference"));
    }
    return {MediansOf(reference), MediansOf(quillet)};
}

// The font folders of a freshly set-up machine: the Liberation faces that install-deps.sh
// installs and the DejaVu faces the font system itself brings.
const char* const kFreshFontFolders[] = {"/usr/share/fonts/truetype/liberation",
                                         "/usr/share/fonts/truetype/dejavu"};

// A font configuration that offers only those folders, with its own cache built first (as the
// packages' installation does), for the children started while FONTCONFIG_FILE names it; empty
// when a folder is missing.
std::string WriteFreshFontConfig() {
    for (const char* folder : kFreshFontFolders)
        if (MTime(folder) < 0) return {};
    char dir[] = "/tmp/quillet-bench-fonts-XXXXXX";
    if (!mkdtemp(dir)) return {};
    const std::string file = std::string(dir) + "/fonts.conf";
    FILE* f = std::fopen(file.c_str(), "w");
    if (!f) return {};
    std::fputs(
        "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
        "<fontconfig>\n",
        f);
    for (const char* folder : kFreshFontFolders) std::fprintf(f, "  <dir>%s</dir>\n", folder);
    std::fprintf(f,
                 "  <cachedir>%s/cache</cachedir>\n"
                 "  <include ignore_missing=\"yes\">/etc/fonts/conf.d</include>\n</fontconfig>\n",
                 dir);
    std::fclose(f);
    Lines(("FONTCONFIG_FILE=" + file + " fc-cache 2>/dev/null").c_str());
    return file;
}

void RemoveFreshFontConfig(const std::string& file) {
    std::error_code ignored;
    if (!file.empty())
        std::filesystem::remove_all(std::filesystem::path(file).parent_path(), ignored);
}

}  // namespace

int main(int argc, char** argv) {
    if (!getenv("QT_QPA_PLATFORM") && !getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string self = argv[0];
    const std::string dir = self.substr(0, self.find_last_of('/') + 1);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    // Both programs on one processor (the children inherit it). Left to the scheduler on a
    // shared 2-core machine, the same start took 66 or 87 ms by where it ran, and which program
    // gained depended on the order: one run's ratio came out anywhere from 1.0 to 1.8.
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(std::max(0, sched_getcpu()), &one);
    sched_setaffinity(0, sizeof one, &one);
    PrintDependencies(dir);
    const auto [r, q] = StartsInTurn(dir, runs);

    // The same with only the fonts of a freshly set-up machine: the two programs then get
    // other faces, and the font system's share of the start is far smaller.
    const std::string fresh = WriteFreshFontConfig();
    std::optional<std::pair<Medians, Medians>> freshStarts;
    if (!fresh.empty()) {
        const char* own = std::getenv("FONTCONFIG_FILE");
        const std::optional<std::string> ownFile =
            own ? std::optional<std::string>(own) : std::nullopt;
        setenv("FONTCONFIG_FILE", fresh.c_str(), 1);
        const Description fr = Describe(dir + "startup_reference");
        const Description fq = Describe(dir + "startup_quillet");
        std::printf(
            "window font with only the Liberation and DejaVu fonts: bare Qt window %s; "
            "Quillet %s\n",
            fr.Font.c_str(), fq.Font.c_str());
        freshStarts = StartsInTurn(dir, runs);
        // The note-file starts below run with the machine's own fonts again.
        if (ownFile)
            setenv("FONTCONFIG_FILE", ownFile->c_str(), 1);
        else
            unsetenv("FONTCONFIG_FILE");
        RemoveFreshFontConfig(fresh);
    }

    // A note file on the command line adds its own load time and no more: the start with the
    // file against the start without it, both taken in turn again, and the file's own load in
    // a running program.
    const std::string note = WriteNoteFile();
    std::vector<Sample> plain, withFile;
    std::vector<double> loads;
    RunChild(dir + "startup_quillet", note), RunLoadChild(dir + "startup_load_note", note);
    for (int i = 0; i < runs; ++i) {
        if (i % 2 == 0) plain.push_back(RunChild(dir + "startup_quillet"));
        withFile.push_back(RunChild(dir + "startup_quillet", note));
        if (i % 2 != 0) plain.push_back(RunChild(dir + "startup_quillet"));
        loads.push_back(RunLoadChild(dir + "startup_load_note", note));
    }
    std::remove(note.c_str());
    std::remove(note.substr(0, note.find_last_of('/')).c_str());
    const double plainMs = MediansOf(plain).WallMs, fileMs = MediansOf(withFile).WallMs;
    const double loadMs = Bench::Median(loads);
    std::printf(
        "start with a 250 KB note on the command line %.1f ms, without %.1f ms: %.1f ms more, "
        "the note's own load %.1f ms: ratio %.2f (goal <= 1.1)\n",
        fileMs, plainMs, fileMs - plainMs, loadMs, (fileMs - plainMs) / loadMs);
    std::printf(
        "start to first paint, median of %d: bare Qt window %.1f ms (cpu %.1f), Quillet %.1f ms "
        "(cpu %.1f): ratio %.2f wall, %.2f cpu (goal <= 1.3)\n",
        runs, r.WallMs, r.CpuMs, q.WallMs, q.CpuMs, q.WallMs / r.WallMs, q.CpuMs / r.CpuMs);
    std::printf(
        "resident memory at first paint: bare Qt window %.0f KiB, Quillet %.0f KiB: ratio %.2f "
        "(goal <= 1.3)\n",
        r.KiB, q.KiB, q.KiB / r.KiB);
    if (freshStarts) {
        const auto& [fr, fq] = *freshStarts;
        std::printf(
            "the same with only the Liberation and DejaVu fonts (a fresh set-up): bare Qt window "
            "%.1f ms (cpu %.1f), Quillet %.1f ms (cpu %.1f): ratio %.2f wall, %.2f cpu (goal <= "
            "1.3)\n",
            fr.WallMs, fr.CpuMs, fq.WallMs, fq.CpuMs, fq.WallMs / fr.WallMs, fq.CpuMs / fr.CpuMs);
    } else {
        std::printf(
            "the start with only the Liberation and DejaVu fonts was not measured: a "
            "folder of theirs is missing\n");
    }
    const std::string reference_ =
        "a bare Qt Widgets program (690 x 458 window, menu bar, text edit) linked with Qt alone";
    const std::string how = Bench::Format(
        "median of %d starts taken in turn with the reference on one processor", runs);
    Bench::Report({"process start to the main window's first paint, all four windows built",
                   reference_, q.WallMs / r.WallMs, 1.3,
                   Bench::Format("%.1f ms against %.1f ms", q.WallMs, r.WallMs), how + ", wall"});
    Bench::Report({"the same start, processor time (user + system)", reference_, q.CpuMs / r.CpuMs,
                   1.3, Bench::Format("%.1f ms against %.1f ms", q.CpuMs, r.CpuMs),
                   how + ", rusage"});
    if (freshStarts) {
        const auto& [fr, fq] = *freshStarts;
        Bench::Report(
            {"the same start with only the Liberation and DejaVu fonts installed (a "
             "fresh set-up)",
             reference_, fq.WallMs / fr.WallMs, 1.3,
             Bench::Format("%.1f ms against %.1f ms", fq.WallMs, fr.WallMs), how + ", wall"});
    }
    Bench::Report({"resident memory at the first paint", reference_, q.KiB / r.KiB, 1.3,
                   Bench::Format("%.0f KiB against %.0f KiB", q.KiB, r.KiB), how + ", VmRSS"});
    Bench::Report({"what a note file on the command line adds to the start",
                   "the same file's own load into the note area in a running program, with a "
                   "repaint",
                   (fileMs - plainMs) / loadMs, 1.1,
                   Bench::Format("%.1f ms more (%.1f against %.1f ms) against %.1f ms",
                                 fileMs - plainMs, fileMs, plainMs, loadMs),
                   how + "; the load's median of as many runs"});
    return 0;
}
