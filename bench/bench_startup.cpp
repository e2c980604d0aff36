// Start-up benchmark: time from process start to the main window's first paint, and resident
// memory then, for Quillet and for a minimal Qt Widgets program (a 690 x 458 window with a menu
// bar and a text edit) measured in the same run. Prints medians and ratios.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "app/Unit7.h"
#include "bench/BenchSupport.h"

extern char** environ;

namespace {

long ResidentKiB() {
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

// Reports the first paint of `window` on stdout and ends the process at once.
class FirstPaintProbe : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && !FDone) {
            FDone = true;
            QTimer::singleShot(0, [] {
                std::printf("PAINT %ld\n", ResidentKiB());
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    bool FDone = false;
};

void Watch(QWidget* window, FirstPaintProbe* probe) {
    window->installEventFilter(probe);
    for (QWidget* w : window->findChildren<QWidget*>()) w->installEventFilter(probe);
}

int ReferenceChild(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&New"));
    window.menuBar()->addMenu(QStringLiteral("H&elp"))->addAction(QStringLiteral("About"));
    auto* edit = new QTextEdit(&window);
    window.setCentralWidget(edit);
    window.setFixedSize(690, 458 + window.menuBar()->sizeHint().height());
    FirstPaintProbe probe;
    Watch(&window, &probe);
    window.show();
    return app.exec();
}

int QuilletChild(int argc, char** argv) {
    FirstPaintProbe probe;
    return RunQuillet(argc, argv, [&] { Watch(Form7, &probe); });
}

struct Sample {
    double Millis;
    long KiB;
};

Sample RunChild(const char* self, const char* mode) {
    int out[2];
    if (pipe(out) != 0) return {0, 0};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char* args[] = {const_cast<char*>(self), const_cast<char*>(mode), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    posix_spawn(&pid, self, &actions, nullptr, args, environ);
    close(out[1]);
    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
    const auto end = std::chrono::steady_clock::now();
    close(out[0]);
    waitpid(pid, nullptr, 0);
    posix_spawn_file_actions_destroy(&actions);
    long kib = 0;
    std::sscanf(line.c_str(), "PAINT %ld", &kib);
    return {std::chrono::duration<double, std::milli>(end - start).count(), kib};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--reference") return ReferenceChild(argc, argv);
    if (argc > 1 && std::string(argv[1]) == "--quillet") return QuilletChild(argc, argv);
    if (!getenv("QT_QPA_PLATFORM") && !getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    std::vector<double> refMs, qMs, refKiB, qKiB;
    for (int i = 0; i < runs; ++i) {  // interleaved, so drift hits both alike
        Sample r = RunChild(argv[0], "--reference");
        Sample q = RunChild(argv[0], "--quillet");
        refMs.push_back(r.Millis), refKiB.push_back(double(r.KiB));
        qMs.push_back(q.Millis), qKiB.push_back(double(q.KiB));
    }
    const double rt = Bench::Median(refMs), qt = Bench::Median(qMs), rm = Bench::Median(refKiB),
                 qm = Bench::Median(qKiB);
    std::printf(
        "startup to first paint (median of %d): reference %.1f ms, quillet %.1f ms, ratio %.2f "
        "(goal <= 1.5)\n",
        runs, rt, qt, qt / rt);
    std::printf(
        "resident memory at first paint: reference %.0f KiB, quillet %.0f KiB, ratio %.2f (goal <= "
        "1.5)\n",
        rm, qm, qm / rm);
    return 0;
}
