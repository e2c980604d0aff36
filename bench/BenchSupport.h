// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// What the benchmarks share: timing a piece of work over five runs, a sample of prose lines with
// bold and italic runs as RTF and as plain text, and the figure lines that bench/run.sh gathers
// into the benchmarks page. Header-only, as every bench/*.cpp is a program of its own.
#include <QElapsedTimer>
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace Bench {

// One figure of a benchmark, for the benchmarks page.
struct Figure {
    std::string What;       // what is measured
    std::string Reference;  // what it is measured against, in the same run
    double Ratio;           // ours / reference
    double Goal;            // the ratio to stay at or below; 0 when there is none
    std::string Values;     // the measurements behind the ratio, with their units
    std::string How;        // runs, statistic, wall or processor time
};

inline std::string FieldText(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n'; }, ' ');
    return text;
}

// "%.1f"-style formatting into a std::string, for Figure::Values.
template <typename... A>
std::string Format(const char* format, A... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

// Prints `f` as one tab-separated line beginning "FIGURE" and the program's name, beside the
// human-readable output; bench/run.sh turns these lines into the page's table.
inline void Report(const Figure& f) {
    std::printf("FIGURE\t%s\t%s\t%s\t%.2f\t%s\t%s\t%s\n", program_invocation_short_name,
                FieldText(f.What).c_str(), FieldText(f.Reference).c_str(), f.Ratio,
                f.Goal > 0 ? Format("%g", f.Goal).c_str() : "", FieldText(f.Values).c_str(),
                FieldText(f.How).c_str());
    std::fflush(stdout);
}

struct Timing {
    double WallMs;
    double CpuMs;  // this process's processor time: steadier than wall time on a busy machine
};

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Medians of five runs of `run`.
template <typename F>
Timing Measure(F run) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        const std::clock_t start = std::clock();
        run();
        cpu.push_back(double(std::clock() - start) * 1000.0 / CLOCKS_PER_SEC);
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return {Median(wall), Median(cpu)};
}

struct Sample {
    std::string Rtf;
    std::string Plain;  // the same words, lines ended as the options ask
};

// Which text's size stops the sample growing.
enum class SampleLimit { RtfBytes, PlainBytes };

struct SampleOptions {
    SampleLimit Limit;
    const char* LineEnd;  // of the plain text; the RTF's lines always end in CR LF
    // Each line's word count from a draw of its own rather than from the previous line's last.
    bool OwnLineLengthDraw;
};

// Lines of eight to twenty-three words, added until the limited text reaches `bytes`; one word
// in ten bold, one in ten italic. The same options give the same text on every call.
inline Sample MakeSample(std::size_t bytes, const SampleOptions& options) {
    static const char* const words[] = {"lorem", "ipsum",       "dolor",      "sit",
                                        "amet",  "consectetur", "adipiscing", "elit",
                                        "sed",   "do",          "eiusmod",    "tempor"};
    Sample s;
    s.Rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    const std::string& limited = options.Limit == SampleLimit::RtfBytes ? s.Rtf : s.Plain;
    std::uint32_t seed = 1;
    while (limited.size() < bytes) {
        if (options.OwnLineLengthDraw) seed = seed * 1664525u + 1013904223u;
        const int count = 8 + int(seed >> 28);
        for (int w = 0; w < count; ++w) {
            seed = seed * 1664525u + 1013904223u;
            const std::string word =
                std::string(words[(seed >> 20) % 12]) + (w + 1 < count ? " " : ".");
            const int kind = int((seed >> 8) % 10);
            s.Rtf += kind == 0   ? "\\b " + word + "\\b0 "
                     : kind == 1 ? "\\i " + word + "\\i0 "
                                 : word;
            s.Plain += word;
        }
        s.Rtf += "\\par\r\n";
        s.Plain += options.LineEnd;
    }
    s.Rtf += "}";
    return s;
}

}  // namespace Bench
