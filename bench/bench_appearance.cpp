// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// Appearance benchmark: the GUI thread's cost of one clock tick of the main window (the labels'
// new texts, their sizes and the repaint) and of rebuilding the colour list's entries, each
// beside a plain Qt reference doing the same work in the same run. The goal for both is under
// 1 ms.
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <cstdio>

#include "app/Startup.h"
#include "app/Unit7.h"
#include "bench/BenchSupport.h"
#include "colour/TColorBox.h"
#include "notes/TRichEdit.h"
#include "toolkit/TApplication.h"
#include "toolkit/TLabel.h"
#include "toolkit/TTimer.h"

namespace {

constexpr int kRounds = 500;

void Report(const char* what, const char* referenceWork, const Bench::Timing& ours,
            const Bench::Timing& reference) {
    const double oursUs = ours.CpuMs * 1000.0 / kRounds;
    const double refUs = reference.CpuMs * 1000.0 / kRounds;
    std::printf("%-34s %8.1f us   reference %8.1f us   ratio %5.2fx   budget 1000 us: %s\n", what,
                oursUs, refUs, oursUs / refUs, oursUs < 1000.0 ? "met" : "MISSED");
    Bench::Report({what, referenceWork, oursUs / refUs, 0,
                   Bench::Format("%.1f us against %.1f us (budget 1000 us: %s)", oursUs, refUs,
                                 oursUs < 1000.0 ? "met" : "missed"),
                   "processor time per round, median of 5 runs of 500 rounds"});
}

}  // namespace

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    RegisterAllComponents();
    CreateWindows();
    Form7->SetVisible(true);
    Form7->RichEdit1->setFocus();
    QCoreApplication::processEvents();

    // One tick as the timer runs it, painted.
    const Bench::Timing tick = Bench::Measure([] {
        for (int i = 0; i < kRounds; ++i) {
            Form7->Timer1->Tick();
            Form7->Label1->repaint();
            Form7->Label2->repaint();
        }
    });
    // Reference: two plain labels given the same kind of texts, sized and painted.
    QWidget host;
    host.resize(200, 60);
    QLabel time(&host), date(&host);
    date.move(0, 16);
    host.show();
    QCoreApplication::processEvents();
    const Bench::Timing labels = Bench::Measure([&] {
        for (int i = 0; i < kRounds; ++i) {
            const QDateTime now = QDateTime::currentDateTime();
            time.setText(QStringLiteral("Time: ") + now.toString(QStringLiteral("h:mm:ss")));
            time.adjustSize();
            date.setText(QStringLiteral("Date: ") + now.toString(QStringLiteral("M/d/yy")));
            date.adjustSize();
            time.repaint();
            date.repaint();
        }
    });
    Report("clock tick (Timer1Timer)",
           "two plain QLabels given the same kind of texts, sized and painted", tick, labels);

    // The colour list's entries rebuilt, as a style change does.
    TColorBox* box = Form7->ColorBox1;
    const Bench::Timing populate = Bench::Measure([&] {
        for (int i = 0; i < kRounds; ++i) box->PopulateColors();
    });
    // Reference: a plain combo box refilled with the same fifty names and values.
    QComboBox combo;
    const Bench::Timing refill = Bench::Measure([&] {
        for (int i = 0; i < kRounds; ++i) {
            combo.clear();
            for (const TNamedColor& c : NamedColors)
                if (c.Value != clNone && c.Value != clDefault)
                    combo.addItem(QString::fromLatin1(c.Identifier), QVariant::fromValue(c.Value));
        }
    });
    Report("PopulateColors (50 entries)",
           "a plain QComboBox refilled with the same fifty names and values", populate, refill);
    return 0;
}
