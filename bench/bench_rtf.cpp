// RTF benchmark: loads a 10 MB RTF of prose lines with bold and italic runs into a detached
// document and hands it to a QTextEdit, against QTextEdit::setPlainText of the same text measured
// in the same run; then writes the document back. Prints medians of five runs and the ratio.
#include <QApplication>
#include <QElapsedTimer>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <cstdio>
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
    static const char* const words[] = {"lorem", "ipsum", "dolor", "sit", "amet", "consectetur",
                                        "adipiscing", "elit", "sed", "do", "eiusmod", "tempor"};
    Sample s;
    s.rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
            "\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    uint32_t seed = 1;
    while (s.rtf.size() < bytes) {
        int count = 8 + int(seed >> 28);
        for (int w = 0; w < count; ++w) {
            seed = seed * 1664525u + 1013904223u;
            std::string word = std::string(words[(seed >> 20) % 12]) + (w + 1 < count ? " " : ".");
            int kind = int((seed >> 8) % 10);
            s.rtf += kind == 0 ? "\\b " + word + "\\b0 " : kind == 1 ? "\\i " + word + "\\i0 " : word;
            s.plain += QString::fromStdString(word);
        }
        s.rtf += "\\par\r\n";
        s.plain += u'\n';
    }
    s.rtf += "}";
    return s;
}

template <typename F>
double MedianMs(F run) {
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const Sample sample = MakeSample(10'000'000);
    std::printf("RTF %zu bytes, %lld characters of text\n", sample.rtf.size(),
                static_cast<long long>(sample.plain.size()));

    double plain = MedianMs([&] {
        QTextEdit edit;
        edit.setPlainText(sample.plain);
    });
    double load = MedianMs([&] {
        QTextEdit edit;
        auto* doc = new QTextDocument(&edit);
        Rtf::Read(sample.rtf, *doc);
        edit.setDocument(doc);
    });
    QTextDocument doc;
    Rtf::Read(sample.rtf, doc);
    double write = MedianMs([&] { Rtf::Write(doc); });

    std::printf("QTextEdit::setPlainText      %8.1f ms\n", plain);
    std::printf("Rtf::Read + setDocument      %8.1f ms  (%.2f x setPlainText; goal <= 2)\n", load,
                load / plain);
    std::printf("Rtf::Write                   %8.1f ms\n", write);
    return 0;
}
