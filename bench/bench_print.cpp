// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Printing benchmark: lays out about 1 MB of text (some 13,000 lines) through the printer text
// channel into a PDF file, and the same text with QTextDocument::print into another, in the
// same run; prints lines per second for both and their ratio. Then 10 MB through the channel,
// to show that the time grows linearly with the text.
#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "platform/printing/PrintSystem.h"
#include "printing/TPrinter.h"
#include "printing/TPrinterTextFile.h"
#include "toolkit/TFont.h"

namespace {
// Elapsed and processor time since construction; the processor time is the fairer figure on a
// machine shared with other work.
class Stopwatch {
public:
    Stopwatch() : FCpu(CpuSeconds()) { FWall.start(); }
    double Wall() const { return double(FWall.nsecsElapsed()) / 1e9; }
    double Cpu() const { return CpuSeconds() - FCpu; }

private:
    static double CpuSeconds() {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
    }
    QElapsedTimer FWall;
    double FCpu;
};

struct Timing {
    double Wall, Cpu;
};

// Lines of words of 2 to 10 letters, 20 to 140 characters long (some wider than the page), the
// odd one empty or starting with a tab.
std::vector<std::string> MakeLines(std::size_t bytes) {
    std::mt19937 random(7);
    std::vector<std::string> lines;
    std::size_t total = 0;
    while (total < bytes) {
        std::string line;
        const std::size_t length = 20 + random() % 121;
        if (random() % 16 == 0) line += '\t';
        while (line.size() < length) {
            const std::size_t word = 2 + random() % 9;
            for (std::size_t i = 0; i < word; ++i) line += char('a' + random() % 26);
            line += ' ';
        }
        if (random() % 20 == 0) line.clear();
        total += line.size() + 1;
        lines.push_back(std::move(line));
    }
    return lines;
}

TFont NoteFont() {
    TFont font;  // the note area's: 8 points
    font.Name = "Liberation Sans";
    return font;
}

Timing PrintThroughChannel(const std::vector<std::string>& lines, const std::string& file) {
    TPrinter printer;
    auto settings = std::make_shared<DeviceSettings>();
    settings->Fields = DM_PAPERSIZE;
    settings->PageSize = QPageSize(QPageSize::A4);
    settings->OutputFile = file;
    printer.ChoosePrinter(PrintSystem::PrintToFileName, "", "", settings);
    const Stopwatch watch;
    TPrinterTextFile channel;
    channel.AttachPrinter(printer);
    channel.Rewrite();
    channel.InOutCheck();
    printer.PrinterCanvas()->Font.Assign(NoteFont());
    for (const std::string& line : lines) {
        channel.WriteLine(line);
        channel.InOutCheck();
    }
    channel.Close();
    channel.InOutCheck();
    return {watch.Wall(), watch.Cpu()};
}

Timing PrintThroughTextDocument(const std::vector<std::string>& lines, const std::string& file) {
    const Stopwatch watch;
    QString text;
    for (const std::string& line : lines) text += QString::fromStdString(line) + u'\n';
    QTextDocument document;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(8);
    document.setDefaultFont(font);
    document.setPlainText(text);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file));
    printer.setPageSize(QPageSize(QPageSize::A4));
    document.print(&printer);
    return {watch.Wall(), watch.Cpu()};
}

void Report(const char* what, const Timing& t, double lines) {
    std::printf("  %-22s %7.3f s (cpu %7.3f s)  %9.0f lines/s (cpu)\n", what, t.Wall, t.Cpu,
                lines / t.Cpu);
}
}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();

    const std::vector<std::string> small = MakeLines(1 << 20);
    const double lines = double(small.size());
    const Timing ours = PrintThroughChannel(small, folder + "/channel.pdf");
    const Timing reference = PrintThroughTextDocument(small, folder + "/document.pdf");
    std::printf("1 MB, %zu lines\n", small.size());
    Report("printer text channel", ours, lines);
    Report("QTextDocument::print", reference, lines);
    std::printf("  ratio (channel / reference lines per second): %.2f\n", reference.Cpu / ours.Cpu);
    Bench::Report({"printing 1 MB of lines to a PDF file through the printer text channel",
                   "QTextDocument::print of the same lines, same font, same printer",
                   ours.Cpu / reference.Cpu, 0,
                   Bench::Format("%.3f s against %.3f s", ours.Cpu, reference.Cpu),
                   "processor time, one run each"});

    const std::vector<std::string> large = MakeLines(10 << 20);
    const Timing oursLarge = PrintThroughChannel(large, folder + "/channel10.pdf");
    std::printf("10 MB, %zu lines\n", large.size());
    Report("printer text channel", oursLarge, double(large.size()));
    std::printf("  growth 10 MB / 1 MB: time x%.1f for lines x%.1f\n", oursLarge.Cpu / ours.Cpu,
                double(large.size()) / lines);
    Bench::Report({"growth of the channel's printing time from 1 MB to 10 MB of lines",
                   "the growth in lines",
                   (oursLarge.Cpu / ours.Cpu) / (double(large.size()) / lines), 0,
                   Bench::Format("time x%.1f for lines x%.1f", oursLarge.Cpu / ours.Cpu,
                                 double(large.size()) / lines),
                   "processor time, one run each"});
    return 0;
}
