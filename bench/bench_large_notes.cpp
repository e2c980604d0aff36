// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Large notes benchmark: notes of the shapes that freeze a text editor (many short lines, one
// huge word, one huge line, one paragraph of very many runs), each loaded into the note area and
// into a bare QTextEdit with Qt's default font beside it, each in a process of its own that is
// killed at a time limit, so that a hang shows as "> N s" instead of hanging the benchmark.
// Measured for each: the longest freeze (the largest gap between the ticks of a 10 ms timer, over
// the whole run), load to first paint, the layout settling, a jump to the end, a keystroke at the
// end (until it is painted) and a save.
//
// bench_large_notes [case ...] [--limit seconds] [--quillet-only]
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "notes/TRichEdit.h"
#include "platform/system/FileSystem.h"
#include "toolkit/TApplication.h"
#include "toolkit/TFont.h"

namespace {

// One run of text in one format, for building the bare editor's document.
struct Run {
    std::string Text;
    int Colour = -1;     // 0xRRGGBB, or -1 for the default
    int HalfPoints = 0;  // 0 for the default size
    bool Bold = false;
    bool Italic = false;
};

struct Case {
    const char* Name;
    const char* What;
    bool Rich;
    std::string File;       // what the note area loads (plain text or RTF)
    std::vector<Run> Runs;  // what the bare editor gets
};

std::string Letters(size_t bytes) {
    static const char kBase64[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string s(bytes, 'A');
    std::uint32_t seed = 7;
    for (auto& c : s) {
        seed = seed * 1664525u + 1013904223u;
        c = kBase64[(seed >> 24) & 63];
    }
    return s;
}

Case ShortLines(const char* name, int count) {
    Case c{name, "", false, {}, {}};
    c.File.reserve(size_t(count) * 12);
    for (int i = 0; i < count; ++i) c.File += "line " + std::to_string(i) + "\n";
    c.Runs.push_back({c.File});
    return c;
}

Case OneWord(const char* name, size_t bytes) {
    Case c{name, "", false, Letters(bytes), {}};
    c.Runs.push_back({c.File});
    return c;
}

// One line of words, no line break at all.
Case OneLine(const char* name, size_t bytes) {
    static const char* const words[] = {"lorem ", "ipsum ", "dolor ", "sit ", "amet "};
    Case c{name, "", false, {}, {}};
    c.File.reserve(bytes + 8);
    for (size_t i = 0; c.File.size() < bytes; ++i) c.File += words[i % 5];
    c.Runs.push_back({c.File});
    return c;
}

const char* kRtfHead = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}";

// One paragraph of `count` runs of a short word, each in a colour of its own.
Case ColourRuns(const char* name, int count) {
    Case c{name, "", true, kRtfHead, {}};
    c.File += "{\\colortbl;";
    for (int i = 0; i < count; ++i) {
        const int rgb = (i * 2654435761u) & 0xFFFFFF;
        c.File += "\\red" + std::to_string(rgb >> 16) + "\\green" +
                  std::to_string((rgb >> 8) & 255) + "\\blue" + std::to_string(rgb & 255) + ";";
    }
    c.File += "}\\pard\\f0\\fs20 ";
    for (int i = 0; i < count; ++i) {
        const int rgb = (i * 2654435761u) & 0xFFFFFF;
        c.File += "\\cf" + std::to_string(i + 1) + " word ";
        c.Runs.push_back({"word ", rgb});
    }
    c.File += "\\par}";
    return c;
}

// One paragraph of `count` runs whose sizes cycle from 8 to 24 points.
Case SizeRuns(const char* name, int count) {
    Case c{name, "", true, std::string(kRtfHead) + "\\pard\\f0 ", {}};
    for (int i = 0; i < count; ++i) {
        const int halfPoints = 16 + 2 * (i % 17);
        c.File += "\\fs" + std::to_string(halfPoints) + " word ";
        c.Runs.push_back({"word ", -1, halfPoints});
    }
    c.File += "\\par}";
    return c;
}

// About `bytes` of RTF in paragraphs of 100 words, one word in ten bold and one in ten italic.
Case FormattedText(const char* name, size_t bytes) {
    static const char* const words[] = {"lorem", "ipsum", "dolor", "sit", "amet"};
    Case c{name, "", true, std::string(kRtfHead) + "\\pard\\f0\\fs20 ", {}};
    c.File.reserve(bytes + 64);
    for (size_t i = 0; c.File.size() < bytes; ++i) {
        const std::string word = words[i % 5];
        const bool bold = i % 10 == 3, italic = i % 10 == 7, end = i % 100 == 99;
        c.File += bold ? "{\\b " + word + "}" : italic ? "{\\i " + word + "}" : word;
        c.File += end ? "\\par\n" : " ";
        c.Runs.push_back({word + (end ? "\n" : " "), -1, 0, bold, italic});
    }
    c.File += "}";
    return c;
}

Case MakeCase(const std::string& name) {
    Case c{};
    if (name == "lines100k") c = ShortLines("lines100k", 100'000);
    if (name == "lines700k") c = ShortLines("lines700k", 700'000);
    if (name == "lines1M") c = ShortLines("lines1M", 1'000'000);
    if (name == "word100k") c = OneWord("word100k", 100'000);
    if (name == "word1M") c = OneWord("word1M", 1'000'000);
    if (name == "word10M") c = OneWord("word10M", 10'000'000);
    if (name == "colours200k") c = ColourRuns("colours200k", 200'000);
    if (name == "sizes20k") c = SizeRuns("sizes20k", 20'000);
    if (name == "line10M") c = OneLine("line10M", 10'000'000);
    if (name == "rtf10M") c = FormattedText("rtf10M", 10'000'000);
    return c;
}

const char* Describe(const std::string& name) {
    if (name == "lines100k") return "plain text, 100k short lines";
    if (name == "lines700k") return "plain text, 700k short lines";
    if (name == "lines1M") return "plain text, 1M short lines";
    if (name == "word100k") return "one 100 KB word without spaces";
    if (name == "word1M") return "one 1 MB word without spaces";
    if (name == "word10M") return "one 10 MB word without spaces";
    if (name == "colours200k") return "one paragraph of 200k runs, each its own colour";
    if (name == "sizes20k") return "one paragraph of 20k runs of cycling sizes";
    if (name == "line10M") return "one 10 MB line of words";
    if (name == "rtf10M") return "10 MB of RTF, one word in ten bold, one in ten italic";
    return "?";
}

// What a child process measured, in memory shared with the parent; -1 until reached.
struct Shared {
    std::atomic<long long> LastTickNs;  // monotonic time of the gap timer's last tick
    std::atomic<double> LongestFreezeMs;
    std::atomic<double> FirstPaintMs;  // from the start of the load
    std::atomic<double> SettledMs;     // from the start of the load until the layout stood still
    std::atomic<double> ScrollMs;      // a jump to the end until painted
    std::atomic<double> KeyMs;         // a keystroke at the end until painted
    std::atomic<double> SaveMs;
    std::atomic<int> Phase;  // 0 load, 1 settle, 2 scroll, 3 key, 4 save, 5 done
};

long long NowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

// Counts the viewport's paints, each counted once it has been painted, and when each ended
// (work queued behind a paint must not count as painting).
class PaintWatch : public QObject {
public:
    int Paints = 0;
    std::vector<long long> EndNs;  // when each paint ended

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || FInside) return false;
        FInside = true;
        QCoreApplication::sendEvent(watched, event);
        FInside = false;
        ++Paints;
        EndNs.push_back(NowNs());
        return true;
    }

private:
    bool FInside = false;
};

// Runs the event loop until `done` or `limitMs` have passed; false on the time limit.
template <typename F>
bool WaitFor(F done, double limitMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

double Since(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// Runs one side of one case in this (child) process, filling `out`.
void RunSide(const Case& c, bool quillet, const std::string& dir, Shared& out, double limitMs) {
    const std::string file = dir + "/" + c.Name + (c.Rich ? ".rtf" : ".txt");
    QTextEdit* view = nullptr;
    std::unique_ptr<QTextEdit> owner;
    TRichEdit* note = nullptr;
    if (quillet) {
        auto* edit = new TRichEdit;
        edit->SetScrollBars(ssVertical);
        note = edit;
        view = edit;
    } else {
        view = new QTextEdit;
    }
    owner.reset(view);
    view->resize(273, 273);
    view->show();
    if (note) note->HandleNeeded();
    PaintWatch paints;
    view->viewport()->installEventFilter(&paints);
    QCoreApplication::processEvents();

    QTimer gap;
    gap.setInterval(10);
    out.LastTickNs = NowNs();
    QObject::connect(&gap, &QTimer::timeout, [&out] {
        const long long now = NowNs();
        const double ms = double(now - out.LastTickNs) / 1e6;
        if (ms > out.LongestFreezeMs) out.LongestFreezeMs = ms;
        out.LastTickNs = now;
    });
    gap.start();
    QCoreApplication::processEvents();
    out.LongestFreezeMs = 0;

    QElapsedTimer load;
    load.start();
    const long long loadStartNs = NowNs();
    if (note) {
        note->Lines().ReadFromFile(FromSystemPath(file));
    } else if (!c.Rich) {
        view->setPlainText(QString::fromUtf8(c.Runs.front().Text));
    } else {
        QTextCursor cursor(view->document());
        cursor.beginEditBlock();
        for (const Run& r : c.Runs) {
            QTextCharFormat f;
            if (r.Colour >= 0) f.setForeground(QColor(QRgb(r.Colour)));
            if (r.HalfPoints > 0) f.setFontPointSize(r.HalfPoints / 2.0);
            if (r.Bold) f.setFontWeight(QFont::Bold);
            if (r.Italic) f.setFontItalic(true);
            cursor.insertText(QString::fromUtf8(r.Text), f);
        }
        cursor.endEditBlock();
    }
    // Paints while the load lets events run show the old content: counted from its end.
    int before = paints.Paints;
    view->viewport()->update();
    if (!WaitFor([&] { return paints.Paints > before; }, limitMs)) return;
    out.FirstPaintMs = double(paints.EndNs[size_t(before)] - loadStartNs) / 1e6;

    // The layout stands still once the document's size has not changed for half a second.
    // (Asking the layout for the size would lay the whole document out there and then.)
    out.Phase = 1;
    QElapsedTimer still;
    still.start();
    QObject::connect(view->document()->documentLayout(),
                     &QAbstractTextDocumentLayout::documentSizeChanged,
                     [&still] { still.restart(); });
    const bool settled = WaitFor(
        [&] {
            return still.elapsed() > 500 &&
                   !(note && (note->FormatsDeferred() || note->LayoutPending()));
        },
        limitMs);
    if (settled) out.SettledMs = Since(load) - 500;

    out.Phase = 2;
    QElapsedTimer step;
    step.start();
    before = paints.Paints;
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    if (!WaitFor([&] { return paints.Paints > before; }, limitMs)) return;
    out.ScrollMs = Since(step);

    out.Phase = 3;
    view->setFocus();
    QTextCursor end = view->textCursor();
    end.movePosition(QTextCursor::End);
    view->setTextCursor(end);
    QCoreApplication::processEvents();
    step.restart();
    before = paints.Paints;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCoreApplication::sendEvent(view, &press);
    QCoreApplication::sendEvent(view, &release);
    if (!WaitFor([&] { return paints.Paints > before; }, limitMs)) return;
    out.KeyMs = Since(step);

    out.Phase = 4;
    step.restart();
    const std::string saved = dir + "/" + c.Name + (quillet ? ".quillet.out" : ".reference.out");
    if (note) {
        note->Lines().WriteToFile(FromSystemPath(saved));
    } else {
        std::ofstream(saved, std::ios::binary)
            << (c.Rich ? view->toHtml() : view->toPlainText()).toStdString();
    }
    out.SaveMs = Since(step);
    QCoreApplication::processEvents();
    out.Phase = 5;
}

struct Result {
    double Freeze, FirstPaint, Settled, Scroll, Key, Save;
    bool Killed;
};

// Runs one side in a child process, killed `limitMs` after it started.
Result RunChild(const Case& c, bool quillet, const std::string& dir, double limitMs, int argc,
                char** argv) {
    auto* out = static_cast<Shared*>(
        mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    new (out) Shared{};
    out->LongestFreezeMs = 0;
    for (auto* f : {&out->FirstPaintMs, &out->SettledMs, &out->ScrollMs, &out->KeyMs, &out->SaveMs})
        *f = -1;
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        if (quillet) {
            TApplication app(argc, argv);
            InstallFontSubstitutes();
            RunSide(c, true, dir, *out, limitMs);
        } else {
            QApplication app(argc, argv);
            RunSide(c, false, dir, *out, limitMs);
        }
        _exit(0);
    }
    QElapsedTimer timer;
    timer.start();
    int status = 0;
    bool killed = false;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (timer.elapsed() > limitMs) {
            // Still frozen: the gap since the last tick counts too.
            const double gap = double(NowNs() - out->LastTickNs) / 1e6;
            if (gap > out->LongestFreezeMs) out->LongestFreezeMs = gap;
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            killed = true;
            break;
        }
        usleep(20'000);
    }
    Result r{out->LongestFreezeMs, out->FirstPaintMs, out->SettledMs,           out->ScrollMs,
             out->KeyMs,           out->SaveMs,       killed || out->Phase != 5};
    munmap(out, sizeof(Shared));
    return r;
}

std::string Ms(double ms, double limitMs) {
    if (ms < 0) return Bench::Format("> %.0f s", limitMs / 1000);
    if (ms >= 10'000) return Bench::Format("%.1f s", ms / 1000);
    return Bench::Format("%.1f ms", ms);
}

void Figure(const std::string& name, const char* what, double ours, double reference,
            double limitMs, double goal) {
    // A figure not reached counts as the time limit: the ratio is then a bound.
    const double o = ours < 0 ? limitMs : ours, r = reference < 0 ? limitMs : reference;
    Bench::Report(
        {Bench::Format("%s: %s", Describe(name), what),
         "a bare QTextEdit with Qt's default font, same text and formats", o / std::max(r, 0.001),
         0,
         Ms(ours, limitMs) + " against " + Ms(reference, limitMs) +
             (goal > 0 ? Bench::Format(" (goal at most %g ms: %s)", goal,
                                       ours >= 0 && ours <= goal ? "met" : "not met")
                       : std::string()),
         Bench::Format("one run in a process of its own, wall, killed at %.0f s", limitMs / 1000)});
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    std::vector<std::string> names;
    double limitMs = 60'000;
    bool quilletOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--quillet-only")
            quilletOnly = true;
        else if (a == "--limit" && i + 1 < argc)
            limitMs = std::atof(argv[++i]) * 1000;
        else
            names.push_back(a);
    }
    if (names.empty())
        names = {"lines100k",   "lines1M",  "word100k", "word10M",
                 "colours200k", "sizes20k", "line10M",  "rtf10M"};
    QTemporaryDir tmp;
    const std::string dir = tmp.path().toStdString();
    int qtArgc = 1;
    std::printf("%-12s %-9s %10s %12s %10s %10s %10s %10s\n", "note", "editor", "freeze",
                "first paint", "settled", "to end", "keystroke", "save");
    for (const std::string& name : names) {
        Case c = MakeCase(name);
        if (!c.Name) {
            std::fprintf(stderr, "unknown case %s\n", name.c_str());
            return 2;
        }
        std::ofstream(dir + "/" + c.Name + (c.Rich ? ".rtf" : ".txt"), std::ios::binary) << c.File;
        Result side[2] = {};
        for (bool quillet : {true, false}) {
            if (!quillet && quilletOnly) continue;
            const Result r = RunChild(c, quillet, dir, limitMs, qtArgc, argv);
            std::printf("%-12s %-9s %10s %12s %10s %10s %10s %10s%s\n", c.Name,
                        quillet ? "Quillet" : "QTextEdit",
                        ((r.Killed ? "> " : "") + Ms(r.Freeze, limitMs)).c_str(),
                        Ms(r.FirstPaint, limitMs).c_str(), Ms(r.Settled, limitMs).c_str(),
                        Ms(r.Scroll, limitMs).c_str(), Ms(r.Key, limitMs).c_str(),
                        Ms(r.Save, limitMs).c_str(), r.Killed ? "  (killed)" : "");
            std::fflush(stdout);
            side[quillet ? 0 : 1] = r;
        }
        if (quilletOnly) continue;
        const double freezeOurs = side[0].Killed ? -1 : side[0].Freeze;
        const double freezeRef = side[1].Killed ? -1 : side[1].Freeze;
        Figure(name, "longest freeze", freezeOurs, freezeRef, limitMs, 500);
        Figure(name, "load to first paint", side[0].FirstPaint, side[1].FirstPaint, limitMs, 0);
        Figure(name, "keystroke at the end, until painted", side[0].Key, side[1].Key, limitMs,
               name == "line10M" || name == "rtf10M" ? 100 : 0);
    }
    return 0;
}
