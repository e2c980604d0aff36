// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Files dropped from a file manager onto a control of the main window. A drop that carries local
// files (a text/uri-list of file: addresses) is taken and hands its first file that is not a
// folder to the control's action; any other drop goes on to the control's own handling.
#include <QObject>
#include <functional>
#include <optional>
#include <string>

class QMimeData;
class QWidget;

// What a drop carries for a file action: nothing when it is not a list of local files; an empty
// path when every entry is a folder; otherwise the first entry that is not a folder, as an
// absolute Linux path (it may be missing or special: the action reports that).
std::optional<std::string> DroppedFile(const QMimeData* data);

class TFileDrop : public QObject {
public:
    // Watches `target` (the widget that receives the drag events) for drops of local files and
    // runs `action` with the file's Linux path; its errors go to the error box.
    TFileDrop(QWidget* target, std::function<void(const std::string&)> action);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const std::string&)> FAction;
};
