// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// RTF benchmark: loads a 10 MB RTF of prose lines with bold and italic runs into a detached
// document and hands it to a QTextEdit, against QTextEdit::setPlainText of the same text measured
// in the same run; then writes the document back. Prints medians of five runs and the ratio.
// It also times Qt alone putting the loaded document's runs into a fresh document, with nothing
// to read: the least any reader on Qt's text document pays for the same result.
#include <QApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

namespace {

struct QtAlone {
    Bench::Timing Whole;  // the whole text in the most used format, then each other run
    Bench::Timing ByRun;  // run by run, each inserted with its format
    size_t Runs = 0, Paragraphs = 0;
};

// Qt alone building `doc` again from its text and runs, already in memory, in the two ways its
// public API offers; the first is the reader's way.
QtAlone TimeQtAlone(const QTextDocument& doc) {
    struct Run {
        int Start, End, FormatIndex;
        QTextCharFormat Format;
    };
    std::vector<Run> runs;
    std::vector<std::vector<int>> paragraphRuns;  // indices into `runs`
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        auto& indices = paragraphRuns.emplace_back();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            indices.push_back(int(runs.size()));
            runs.push_back(
                {f.position(), f.position() + f.length(), f.charFormatIndex(), f.charFormat()});
        }
    }
    std::map<int, qsizetype> uses;  // characters in each format
    for (const Run& run : runs) uses[run.FormatIndex] += run.End - run.Start;
    const int baseIndex = std::max_element(uses.begin(), uses.end(), [](auto& a, auto& b) {
                              return a.second < b.second;
                          })->first;
    const QTextCharFormat base = std::find_if(runs.begin(), runs.end(), [&](const Run& run) {
                                     return run.FormatIndex == baseIndex;
                                 })->Format;
    const QString docText = doc.toPlainText();
    auto built = [](QTextEdit& edit) {
        auto* d = new QTextDocument(&edit);
        d->setUndoRedoEnabled(false);
        return d;
    };
    QtAlone timings;
    timings.Runs = runs.size();
    timings.Paragraphs = paragraphRuns.size();
    timings.Whole = Bench::Measure([&] {
        QTextEdit edit;
        QTextDocument* d = built(edit);
        QTextCursor cursor(d);
        cursor.beginEditBlock();
        cursor.insertText(docText, base);
        for (const Run& run : runs) {
            if (run.FormatIndex == baseIndex) continue;
            cursor.setPosition(run.Start);
            cursor.setPosition(run.End, QTextCursor::KeepAnchor);
            cursor.setCharFormat(run.Format);
        }
        cursor.endEditBlock();
        edit.setDocument(d);
    });
    timings.ByRun = Bench::Measure([&] {
        QTextEdit edit;
        QTextDocument* d = built(edit);
        QTextCursor cursor(d);
        cursor.beginEditBlock();
        for (size_t p = 0; p < paragraphRuns.size(); ++p) {
            if (p > 0) cursor.insertBlock();
            for (int i : paragraphRuns[p]) {
                const Run& run = runs[size_t(i)];
                cursor.insertText(docText.mid(run.Start, run.End - run.Start), run.Format);
            }
        }
        cursor.endEditBlock();
        edit.setDocument(d);
    });
    return timings;
}

}  // namespace

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

    const QtAlone qt = TimeQtAlone(doc);
    const Bench::Timing qtAlone = qt.Whole.CpuMs <= qt.ByRun.CpuMs ? qt.Whole : qt.ByRun;

    std::printf("%-28s %10s %10s\n", "median of 5", "wall ms", "cpu ms");
    std::printf("%-28s %10.1f %10.1f\n", "QTextEdit::setPlainText", plain.WallMs, plain.CpuMs);
    std::printf("%-28s %10.1f %10.1f\n", "Rtf::Read + setDocument", load.WallMs, load.CpuMs);
    std::printf("%-28s %10.1f %10.1f\n", "Rtf::Write", write.WallMs, write.CpuMs);
    std::printf("%-28s %10.1f %10.1f   (%zu runs in %zu paragraphs)\n", "Qt alone, text then runs",
                qt.Whole.WallMs, qt.Whole.CpuMs, qt.Runs, qt.Paragraphs);
    std::printf("%-28s %10.1f %10.1f\n", "Qt alone, run by run", qt.ByRun.WallMs, qt.ByRun.CpuMs);
    std::printf("load / setPlainText: %.2f x wall, %.2f x cpu (goal <= 2)\n",
                load.WallMs / plain.WallMs, load.CpuMs / plain.CpuMs);
    const char* reference = "QTextEdit::setPlainText of the same text";
    Bench::Report({"Rtf::Read + setDocument of 10 MB of RTF prose, every format applied", reference,
                   load.CpuMs / plain.CpuMs, 2,
                   Bench::Format("%.1f ms against %.1f ms", load.CpuMs, plain.CpuMs),
                   "processor time, median of 5"});
    Bench::Report(
        {"Qt alone building the same document from its text and runs, nothing read "
         "(the cheaper of its two public ways)",
         reference, qtAlone.CpuMs / plain.CpuMs, 0,
         Bench::Format("%.1f ms against %.1f ms, %zu runs", qtAlone.CpuMs, plain.CpuMs, qt.Runs),
         "processor time, median of 5"});
    Bench::Report({"Rtf::Write of the same document", reference, write.CpuMs / plain.CpuMs, 0,
                   Bench::Format("%.1f ms against %.1f ms", write.CpuMs, plain.CpuMs),
                   "processor time, median of 5"});
    return 0;
}
