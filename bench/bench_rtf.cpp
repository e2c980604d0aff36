// RTF benchmark: loads a 10 MB RTF of prose lines with bold and italic runs into a detached
// document and hands it to a QTextEdit, against QTextEdit::setPlainText of the same text measured
// in the same run; then writes the document back. Prints medians of five runs and the ratio.
#include <QApplication>
#include <QElapsedTimer>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "platform/richedit/RtfReader.h"
#include "platform/richedit/RtfWriter.h"

namespace {

struct Sample {
    std::string rtf;
    QString plain;
};

// Lines of eight to twenty-three words; one word in ten bold, one in ten italic.
Sample MakeSample(size_t bytes) {
    static const char* const words[] = {"lorem", "ipsum",       "dolor",      "sit",
                                        "amet",  "consectetur", "adipiscing", "elit",
                                        "sed",   "do",          "eiusmod",    "tempor"};
    Sample s;
    s.rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    uint32_t seed = 1;
    while (s.rtf.size() < bytes) {
        int count = 8 + int(seed >> 28);
        for (int w = 0; w < count; ++w) {
            seed = seed * 1664525u + 1013904223u;
            std::string word = std::string(words[(seed >> 20) % 12]) + (w + 1 < count ? " " : ".");
            int kind = int((seed >> 8) % 10);
            s.rtf += kind == 0   ? "\\b " + word + "\\b0 "
                     : kind == 1 ? "\\i " + word + "\\i0 "
                                 : word;
            s.plain += QString::fromStdString(word);
        }
        s.rtf += "\\par\r\n";
        s.plain += u'\n';
    }
    s.rtf += "}";
    return s;
}

struct Timing {
    double wallMs;
    double cpuMs;  // this process's processor time: steadier than wall time on a busy machine
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename F>
Timing Measure(F run) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        std::clock_t start = std::clock();
        run();
        cpu.push_back(double(std::clock() - start) * 1000.0 / CLOCKS_PER_SEC);
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return {Median(wall), Median(cpu)};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const Sample sample = MakeSample(10'000'000);
    std::printf("RTF %zu bytes, %lld characters of text\n", sample.rtf.size(),
                static_cast<long long>(sample.plain.size()));

    Timing plain = Measure([&] {
        QTextEdit edit;
        edit.setPlainText(sample.plain);
    });
    Timing load = Measure([&] {
        QTextEdit edit;
        auto* doc = new QTextDocument(&edit);
        Rtf::Read(sample.rtf, *doc);
        edit.setDocument(doc);
    });
    QTextDocument doc;
    Rtf::Read(sample.rtf, doc);
    Timing write = Measure([&] { Rtf::Write(doc); });

    std::printf("%-28s %10s %10s\n", "median of 5", "wall ms", "cpu ms");
    std::printf("%-28s %10.1f %10.1f\n", "QTextEdit::setPlainText", plain.wallMs, plain.cpuMs);
    std::printf("%-28s %10.1f %10.1f\n", "Rtf::Read + setDocument", load.wallMs, load.cpuMs);
    std::printf("%-28s %10.1f %10.1f\n", "Rtf::Write", write.wallMs, write.cpuMs);
    std::printf("load / setPlainText: %.2f x wall, %.2f x cpu (goal <= 2)\n",
                load.wallMs / plain.wallMs, load.cpuMs / plain.cpuMs);
    return 0;
}
