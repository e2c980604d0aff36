// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// RTF benchmark: loads a 10 MB RTF of prose lines with bold and italic runs into a detached
// document and hands it to a QTextEdit, against QTextEdit::setPlainText of the same text measured
// in the same run; then writes the document back. Prints medians of five runs and the ratio.
#include <QApplication>
#include <QTextDocument>
#include <QTextEdit>
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const Bench::Sample sample =
        Bench::MakeSample(10'000'000, {Bench::SampleLimit::RtfBytes, "\n", false});
    const QString text = QString::fromStdString(sample.Plain);
    std::printf("RTF %zu bytes, %lld characters of text\n", sample.Rtf.size(),
                static_cast<long long>(text.size()));

    Bench::Timing plain = Bench::Measure([&] {
        QTextEdit edit;
        edit.setPlainText(text);
    });
    Bench::Timing load = Bench::Measure([&] {
        QTextEdit edit;
        auto* doc = new QTextDocument(&edit);
        Rtf::Read(sample.Rtf, *doc);
        edit.setDocument(doc);
    });
    QTextDocument doc;
    Rtf::Read(sample.Rtf, doc);
    Bench::Timing write = Bench::Measure([&] { Rtf::Write(doc); });

    std::printf("%-28s %10s %10s\n", "median of 5", "wall ms", "cpu ms");
    std::printf("%-28s %10.1f %10.1f\n", "QTextEdit::setPlainText", plain.WallMs, plain.CpuMs);
    std::printf("%-28s %10.1f %10.1f\n", "Rtf::Read + setDocument", load.WallMs, load.CpuMs);
    std::printf("%-28s %10.1f %10.1f\n", "Rtf::Write", write.WallMs, write.CpuMs);
    std::printf("load / setPlainText: %.2f x wall, %.2f x cpu (goal <= 2)\n",
                load.WallMs / plain.WallMs, load.CpuMs / plain.CpuMs);
    const char* reference = "QTextEdit::setPlainText of the same text";
    Bench::Report({"Rtf::Read + setDocument of 10 MB of RTF prose, every format applied", reference,
                   load.CpuMs / plain.CpuMs, 2,
                   Bench::Format("%.1f ms against %.1f ms", load.CpuMs, plain.CpuMs),
                   "processor time, median of 5"});
    Bench::Report({"Rtf::Write of the same document", reference, write.CpuMs / plain.CpuMs, 0,
                   Bench::Format("%.1f ms against %.1f ms", write.CpuMs, plain.CpuMs),
                   "processor time, median of 5"});
    return 0;
}
