// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "tests/desktop/WindowReport.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <regex>
#include <sstream>

#include "app/Startup.h"
#include "app/Unit11.h"
#include "app/Unit7.h"
#include "app/Unit8.h"
#include "toolkit/TApplication.h"

namespace {

bool Shown(const QWidget* w) {
    return w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed();
}

void Report(const TForm* form) {
    const QWidget* client = form->Client();
    std::printf("window %s title=%s client=%dx%d designed=%dx%d size=%dx%d\n",
                form->objectName().toUtf8().constData(), form->windowTitle().toUtf8().constData(),
                client->width(), client->height(), form->ClientWidth(), form->ClientHeight(),
                form->width(), form->height());
}

// Waits for the three windows to be shown, then reports them and quits.
void ReportWhenShown(int triesLeft) {
    const bool all = Shown(Form7) && Shown(AboutBox1) && Shown(Form11);
    if (!all && triesLeft > 0) {
        QTimer::singleShot(50, Application, [triesLeft] { ReportWhenShown(triesLeft - 1); });
        return;
    }
    if (!all) {
        std::printf("not shown:%s%s%s\n", Shown(Form7) ? "" : " Form7",
                    Shown(AboutBox1) ? "" : " AboutBox1", Shown(Form11) ? "" : " Form11");
        std::fflush(stdout);
        std::_Exit(3);
    }
    Report(Form7);
    Report(AboutBox1);
    Report(Form11);
    std::printf("platform %s\ndesktop-file %s\n",
                QGuiApplication::platformName().toUtf8().constData(),
                QGuiApplication::desktopFileName().toUtf8().constData());
    std::fflush(stdout);
    Application->RequestQuit();
}

}  // namespace

int RunWithWindowReport(int argc, char** argv) {
    return RunQuillet(argc, argv, [] {
        Application->AfterFirstPaint([] {
            Form7->BitBtn6Click(nullptr);
            Form7->SpeedButton7Click(nullptr);
            ReportWhenShown(400);
        });
    });
}

std::vector<TWindowLine> ParseWindowReport(const std::string& report) {
    static const std::regex line(
        R"(window (\S+) title=(.*) client=(\d+)x(\d+) designed=(\d+)x(\d+) size=(\d+)x(\d+))");
    std::vector<TWindowLine> windows;
    std::istringstream in(report);
    std::string text;
    std::smatch m;
    while (std::getline(in, text)) {
        if (!std::regex_match(text, m, line)) continue;
        windows.push_back({m[1], m[2], std::stoi(m[3]), std::stoi(m[4]), std::stoi(m[5]),
                           std::stoi(m[6]), std::stoi(m[7]), std::stoi(m[8])});
    }
    return windows;
}
