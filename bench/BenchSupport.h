#pragma once
// What the benchmarks share: timing a piece of work over five runs, and a sample of prose lines
// with bold and italic runs as RTF and as plain text. Header-only, as every bench/*.cpp is a
// program of its own.
#include <QElapsedTimer>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace Bench {

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
