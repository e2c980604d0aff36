// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "app/FileDrop.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "toolkit/Events.h"

std::optional<std::string> DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return std::nullopt;
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty()) return std::nullopt;
    for (const QUrl& url : urls)
        if (!url.isLocalFile()) return std::nullopt;
    // Only as far as the first file: a drop of thousands of files looks at one or two.
    for (const QUrl& url : urls) {
        const QString path = url.toLocalFile();
        if (!QFileInfo(path).isDir()) return QFileInfo(path).absoluteFilePath().toStdString();
    }
    return std::string();
}

TFileDrop::TFileDrop(QWidget* target, std::function<void(const std::string&)> action)
    : QObject(target), FAction(std::move(action)) {
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

bool TFileDrop::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!DroppedFile(drag->mimeData())) return false;
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const std::optional<std::string> file = DroppedFile(drop->mimeData());
            if (!file) return false;
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            if (!file->empty()) SafeCall([&] { FAction(*file); });
            return true;
        }
        default:
            return false;
    }
}
