// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Note area benchmark: for a 1 MB and a 10 MB document of prose lines with bold and italic runs,
// the note area's plain-text load, RTF load, RTF save and a LineCount + LineAt walk over all
// lines, each against QTextEdit::setPlainText of the same text measured in the same run. RTF load
// is given twice: until the note shows (its first screen formatted), and with every format. Prints
// MB/s, the ratio to that reference, the 10 MB / 1 MB time ratio and the peak memory. Then one
// paragraph of a million runs, alternately bold and plain, loaded with every format and saved,
// against the same paragraph in one format ("bench_richedit runs [count]" gives only that).
// "bench_richedit memory rtf" (or "plain", or "rtf-load" for the load alone) measures only that
// peak, in the process itself, for a memory profiler to follow.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextEdit>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "bench/BenchSupport.h"
#include "notes/TRichEdit.h"
#include "platform/rtf/TextDecoding.h"
#include "platform/system/FileSystem.h"
#include "toolkit/TApplication.h"
#include "toolkit/TFont.h"

namespace {

using Bench::Sample;

// The plain text with CR LF lines, and as large as the size asked for.
Sample MakeSample(size_t plainBytes) {
    return Bench::MakeSample(plainBytes, {Bench::SampleLimit::PlainBytes, "\r\n", true});
}

double Ms(const std::function<void()>& run) {
    QElapsedTimer timer;
    timer.start();
    run();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Best of `runs`: the figure least disturbed by other work on the machine.
double BestMs(int runs, const std::function<void()>& setup, const std::function<void()>& run) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        setup();
        best = std::min(best, Ms(run));
    }
    return best;
}

void NoteArea(std::unique_ptr<TRichEdit>& edit, bool wrap) {
    edit.reset();  // one document at a time
    edit = std::make_unique<TRichEdit>();
    edit->resize(273, 273);
    edit->SetScrollBars(ssVertical);
    edit->SetWordWrap(wrap);
    edit->show();
    edit->HandleNeeded();
}

struct Figures {
    double Reference, PlainLoad, RtfLoad, RtfLoadAll, RtfSave, Walk, WalkLaidOut, WalkNoWrap;
    int Lines;
};

Figures Measure(const Sample& s, const QTemporaryDir& dir, int runs) {
    const std::string txt = dir.filePath(QStringLiteral("note.txt")).toStdString();
    const std::string rtf = dir.filePath(QStringLiteral("note.rtf")).toStdString();
    std::ofstream(txt, std::ios::binary) << s.Plain;
    std::ofstream(rtf, std::ios::binary) << s.Rtf;
    const std::string txtPath = FromSystemPath(txt), rtfPath = FromSystemPath(rtf);
    const std::string outPath =
        FromSystemPath(dir.filePath(QStringLiteral("out.rtf")).toStdString());

    Figures f{};
    const QString text = RichEdit::DecodePlainText(s.Plain);
    std::unique_ptr<QTextEdit> reference;
    f.Reference = BestMs(
        runs,
        [&] {
            reference = std::make_unique<QTextEdit>();
            reference->resize(273, 273);
            reference->show();
        },
        [&] { reference->setPlainText(text); });
    reference.reset();

    std::unique_ptr<TRichEdit> edit;
    f.PlainLoad = BestMs(
        runs, [&] { NoteArea(edit, true); }, [&] { edit->Lines().ReadFromFile(txtPath); });
    f.Walk = BestMs(
        runs, [&] { edit->Lines().ReadFromFile(txtPath); },
        [&] {
            const int n = edit->Lines().LineCount();
            size_t total = 0;
            for (int i = 0; i < n; ++i) total += edit->Lines().LineAt(i).size();
            f.Lines = n + int(total % 2) * 0;
        });
    // As after the editor's idle-time layout: the document is already laid out for display.
    f.WalkLaidOut = BestMs(
        runs,
        [&] {
            edit->Lines().ReadFromFile(txtPath);
            edit->document()->documentLayout()->documentSize();
        },
        [&] {
            const int n = edit->Lines().LineCount();
            for (int i = 0; i < n; ++i) edit->Lines().LineAt(i);
        });
    edit->SetWordWrap(false);
    f.WalkNoWrap = BestMs(
        runs, [&] { edit->Lines().ReadFromFile(txtPath); },
        [&] {
            const int n = edit->Lines().LineCount();
            for (int i = 0; i < n; ++i) edit->Lines().LineAt(i);
        });
    f.RtfLoad = BestMs(
        runs, [&] { NoteArea(edit, true); }, [&] { edit->Lines().ReadFromFile(rtfPath); });
    // The formats past the first screen follow while idle; this is the load with all of them.
    f.RtfLoadAll = BestMs(
        runs, [&] { NoteArea(edit, true); },
        [&] {
            edit->Lines().ReadFromFile(rtfPath);
            edit->ApplyDeferredFormats();
        });
    f.RtfSave = BestMs(
        runs, [] {}, [&] { edit->Lines().WriteToFile(outPath); });
    return f;
}

constexpr const char* kSetPlainText = "QTextEdit::setPlainText of the same text";

void Print(const char* name, double ms, double reference, double mb) {
    std::printf("  %-22s %9.1f ms %8.1f MB/s %7.2fx reference\n", name, ms, mb / (ms / 1000.0),
                ms / reference);
    const bool rtfLoad = std::string(name).rfind("RTF load", 0) == 0;
    Bench::Report({Bench::Format("%s, %.0f MB of text", name, mb), kSetPlainText, ms / reference,
                   rtfLoad ? 2.0 : 0.0, Bench::Format("%.1f ms against %.1f ms", ms, reference),
                   "best of 11 runs (1 MB) or 3 (10 MB), wall"});
}

// Peak memory of a process that loads the 10 MB document (as plain text or as RTF, every format
// applied) and, with `walkAndSave`, walks all its lines and saves it, against the peak before the
// loading began.
void MeasureMemory(int argc, char** argv, bool asRtf, bool walkAndSave) {
    TApplication app(argc, argv);
    InstallFontSubstitutes();
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("note")).toStdString();
    double size = 0;
    {
        const Sample s = MakeSample(std::size_t(10) * 1000 * 1000);
        std::ofstream(file, std::ios::binary) << (asRtf ? s.Rtf : s.Plain);
        size = double(s.Plain.size()) / 1e6;
    }
    std::unique_ptr<TRichEdit> edit;
    NoteArea(edit, true);
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const double before = double(usage.ru_maxrss) / 1024.0;
    edit->Lines().ReadFromFile(FromSystemPath(file));
    edit->ApplyDeferredFormats();
    if (walkAndSave) {
        for (int i = 0, n = edit->Lines().LineCount(); i < n; ++i) edit->Lines().LineAt(i);
        edit->Lines().WriteToFile(
            FromSystemPath(dir.filePath(QStringLiteral("out.rtf")).toStdString()));
    }
    getrusage(RUSAGE_SELF, &usage);
    const double peak = double(usage.ru_maxrss) / 1024.0;
    const std::string what =
        Bench::Format("peak memory, 10 MB loaded as %s%s", asRtf ? "RTF" : "plain text",
                      walkAndSave ? ", walked wrapped and saved"
                      : asRtf     ? " with every format"
                                  : "");
    std::printf("%s: %.0f MB above the %.0f MB before = %.1fx the text\n", what.c_str(),
                peak - before, before, (peak - before) / size);
    Bench::Report({what, "the text's size", (peak - before) / size,
                   asRtf && !walkAndSave ? 8.0 : 0.0,
                   Bench::Format("%.0f MB above the %.0f MB before, for %.1f MB of text",
                                 peak - before, before, size),
                   "getrusage peak in a process of its own"});
}

// One paragraph of `words` words; with `runs`, every other word bold.
std::string OneParagraph(int words, bool runs) {
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\\pard\\f0\\fs20 ";
    rtf.reserve(size_t(words) * 9 + 100);
    for (int i = 0; i < words; ++i) {
        if (runs) rtf += i % 2 ? "\\b0 " : "\\b ";
        rtf += "word ";
    }
    return rtf + "\\par}";
}

// Loads the paragraph with all its formats and saves it, against the same text in one format.
void MeasureRuns(const QTemporaryDir& dir, int words) {
    std::unique_ptr<TRichEdit> edit;
    double ms[2][2] = {};
    for (bool runs : {false, true}) {
        const std::string in = dir.filePath(QStringLiteral("runs.rtf")).toStdString();
        std::ofstream(in, std::ios::binary) << OneParagraph(words, runs);
        const std::string inPath = FromSystemPath(in);
        const std::string outPath =
            FromSystemPath(dir.filePath(QStringLiteral("runs-out.rtf")).toStdString());
        ms[runs][0] = BestMs(
            3, [&] { NoteArea(edit, true); },
            [&] {
                edit->Lines().ReadFromFile(inPath);
                edit->ApplyDeferredFormats();
            });
        ms[runs][1] = BestMs(
            3, [] {}, [&] { edit->Lines().WriteToFile(outPath); });
    }
    std::printf("one paragraph of %d words, %s:\n", words, "every other word bold against none");
    std::printf("  %-22s %9.1f ms against %9.1f ms: %.2fx (goal <= 3)\n", "load, all formats",
                ms[1][0], ms[0][0], ms[1][0] / ms[0][0]);
    std::printf("  %-22s %9.1f ms against %9.1f ms: %.2fx (goal <= 3)\n", "save", ms[1][1],
                ms[0][1], ms[1][1] / ms[0][1]);
    std::printf("  %-22s %9.1f ms against %9.1f ms: %.2fx (goal <= 3)\n", "load and save",
                ms[1][0] + ms[1][1], ms[0][0] + ms[0][1],
                (ms[1][0] + ms[1][1]) / (ms[0][0] + ms[0][1]));
    const char* what[] = {"load with every format", "save", "load and save"};
    const double oursMs[] = {ms[1][0], ms[1][1], ms[1][0] + ms[1][1]};
    const double plainMs[] = {ms[0][0], ms[0][1], ms[0][0] + ms[0][1]};
    for (int i = 0; i < 3; ++i)
        Bench::Report(
            {Bench::Format("one paragraph of %d words, every other word bold: %s", words, what[i]),
             "the same paragraph without formats", oursMs[i] / plainMs[i], 3,
             Bench::Format("%.1f ms against %.1f ms", oursMs[i], plainMs[i]), "best of 3, wall"});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "runs") {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        TApplication app(argc, argv);
        InstallFontSubstitutes();
        QTemporaryDir dir;
        MeasureRuns(dir, argc >= 3 ? std::atoi(argv[2]) : 1'000'000);
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    if (argc >= 3 && std::string(argv[1]) == "memory") {
        MeasureMemory(argc, argv, std::string(argv[2]).starts_with("rtf"),
                      !std::string(argv[2]).ends_with("-load"));
        return 0;
    }
    // Each memory figure in a process of its own, so that nothing else adds to the peak.
    for (auto [asRtf, walkAndSave] : {std::pair{false, true}, {true, true}, {true, false}}) {
        std::fflush(stdout);
        const pid_t child = ::fork();
        if (child == 0) {
            MeasureMemory(argc, argv, asRtf, walkAndSave);
            std::fflush(stdout);
            ::_exit(0);
        }
        int status = 0;
        if (child > 0) ::waitpid(child, &status, 0);
    }

    TApplication app(argc, argv);
    InstallFontSubstitutes();
    QTemporaryDir dir;
    Figures small{}, large{};
    for (int mb : {1, 10}) {
        const Sample s = MakeSample(size_t(mb) * 1000 * 1000);
        const double size = double(s.Plain.size()) / 1e6;
        const Figures f = Measure(s, dir, mb == 1 ? 11 : 3);
        std::printf("%d MB document (%.2f MB text, %.2f MB RTF, %d display lines at 273 px):\n", mb,
                    size, double(s.Rtf.size()) / 1e6, f.Lines);
        std::printf("  %-22s %9.1f ms %8.1f MB/s\n", "reference setPlainText", f.Reference,
                    size / (f.Reference / 1000.0));
        Print("plain-text load", f.PlainLoad, f.Reference, size);
        Print("RTF load", f.RtfLoad, f.Reference, size);
        Print("RTF load, all formats", f.RtfLoadAll, f.Reference, size);
        Print("RTF save", f.RtfSave, f.Reference, size);
        Print("line walk, wrapped", f.Walk, f.Reference, size);
        Print("walk, wrap, laid out", f.WalkLaidOut, f.Reference, size);
        Print("line walk, no wrap", f.WalkNoWrap, f.Reference, size);
        (mb == 1 ? small : large) = f;
    }
    std::printf(
        "10 MB / 1 MB time: reference %.1fx, plain load %.1fx, RTF load %.1fx, RTF save %.1fx, "
        "walk %.1fx, walk without wrap %.1fx\n",
        large.Reference / small.Reference, large.PlainLoad / small.PlainLoad,
        large.RtfLoad / small.RtfLoad, large.RtfSave / small.RtfSave, large.Walk / small.Walk,
        large.WalkNoWrap / small.WalkNoWrap);
    const double referenceGrowth = large.Reference / small.Reference;
    for (const auto& [name, growth] :
         {std::pair{"plain-text load", large.PlainLoad / small.PlainLoad},
          std::pair{"RTF load", large.RtfLoad / small.RtfLoad},
          std::pair{"line walk, wrapped", large.Walk / small.Walk}})
        Bench::Report({Bench::Format("growth from 1 MB to 10 MB: %s", name),
                       "setPlainText's own growth", growth / referenceGrowth, 0,
                       Bench::Format("%.1fx against %.1fx", growth, referenceGrowth),
                       "best of 11 runs (1 MB) or 3 (10 MB), wall"});
    MeasureRuns(dir, 1'000'000);
    return 0;
}
