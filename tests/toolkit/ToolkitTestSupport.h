// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Helpers for the toolkit tests: layout files in a temporary folder, bounded event loops.
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <string>

#include "toolkit/StandardComponents.h"

// Processes events until `done` holds or the deadline passes; returns whether it held.
template <class Pred>
bool ProcessUntil(Pred done, int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// A temporary folder that holds layout files for one test.
class LayoutFiles {
public:
    LayoutFiles() { RegisterStandardComponents(); }
    QString Write(const std::string& name, const std::string& json) {
        QString path = Dir.filePath(QString::fromStdString(name));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(json.data(), qint64(json.size()));
        return path;
    }
    QString Path(const QString& name) const { return Dir.filePath(name); }
    QTemporaryDir Dir;
};

// The colour of one pixel of what the widget shows.
inline QColor PixelOf(QWidget* widget, int x, int y) {
    return widget->grab().toImage().pixelColor(x, y);
}
