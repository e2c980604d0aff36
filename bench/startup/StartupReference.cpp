// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The reference of the start-up benchmark: a bare Qt Widgets program, linked with Qt alone, that
// shows a 690 x 458 window with a menu bar and a text edit.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTextEdit>

#include "bench/startup/FirstPaintProbe.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&New"));
    window.menuBar()->addMenu(QStringLiteral("H&elp"))->addAction(QStringLiteral("About"));
    auto* edit = new QTextEdit(&window);
    window.setCentralWidget(edit);
    window.setFixedSize(690, 458 + window.menuBar()->sizeHint().height());
    Bench::FirstPaintProbe probe;
    probe.Watch(&window);
    window.show();
    return app.exec();
}
