// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Helpers for the toolkit tests: layout files in a temporary folder, pixels of what a widget shows.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <string>

#include "tests/TestSupport.h"
#include "toolkit/StandardComponents.h"

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
