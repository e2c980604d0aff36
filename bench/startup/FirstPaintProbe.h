#pragma once
// What both start-up programs of the start-up benchmark share: at the first paint of a window,
// print "PAINT <resident KiB>" on stdout and end the process at once, so the benchmark reads the
// time and memory of exactly the work before that paint. Header-only.
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <fstream>
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

class FirstPaintProbe : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && !FDone) {
            FDone = true;
            // After the paint event has been handled, so its cost is counted.
            QTimer::singleShot(0, [] {
                std::printf("PAINT %ld\n", ResidentKiB());
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

    // Watches `window` and every control in it.
    void Watch(QWidget* window) {
        window->installEventFilter(this);
        for (QWidget* w : window->findChildren<QWidget*>()) w->installEventFilter(this);
    }

private:
    bool FDone = false;
};

}  // namespace Bench
