// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// What both start-up programs of the start-up benchmark share: at the first paint of a window,
// print "PAINT <resident KiB>" on stdout and end the process at once, so the benchmark reads the
// time and memory of exactly the work before that paint. With QUILLET_BENCH_DESCRIBE set (an
// untimed run), it then also prints what the start depended on: "LIB <path>" for each shared
// library mapped and "FONT <family> <pixels>" for the font the window got. Header-only.
#include <QEvent>
#include <QFontInfo>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

namespace Bench {

inline long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

// The shared libraries the process has mapped, each once.
inline std::set<std::string> MappedLibraries() {
    std::set<std::string> libraries;
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        const std::size_t slash = line.find('/');
        if (slash != std::string::npos && line.find(".so", slash) != std::string::npos)
            libraries.insert(line.substr(slash));
    }
    return libraries;
}

class FirstPaintProbe : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && !FDone) {
            FDone = true;
            // After the paint event has been handled, so its cost is counted.
            QWidget* window = FWindow;
            QTimer::singleShot(0, [window] {
                std::printf("PAINT %ld\n", ResidentKiB());
                if (std::getenv("QUILLET_BENCH_DESCRIBE")) {
                    for (const std::string& library : MappedLibraries())
                        std::printf("LIB %s\n", library.c_str());
                    if (window) {
                        const QFontInfo font(window->font());
                        std::printf("FONT %s %d\n", font.family().toUtf8().constData(),
                                    font.pixelSize());
                    }
                }
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

    // Watches `window` and every control in it.
    void Watch(QWidget* window) {
        FWindow = window;
        window->installEventFilter(this);
        for (QWidget* w : window->findChildren<QWidget*>()) w->installEventFilter(this);
    }

private:
    bool FDone = false;
    QWidget* FWindow = nullptr;
};

}  // namespace Bench
