// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Icons and type names for the file dialogs, decided by a file's name and kind (folder, file,
// link, device) alone. The usual provider asks the MIME database, which reads a file without a
// known extension to guess its type: on /proc/kmsg or a device that read blocks the window for
// good. This one never opens a file.
#include <QAbstractFileIconProvider>
#include <QIcon>

class FileKindIconProvider : public QAbstractFileIconProvider {
public:
    // The icons come from the application's style, made here on the user-interface thread: the
    // dialog's model asks for them from its own thread.
    FileKindIconProvider();

    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

private:
    QIcon FComputer, FDesktop, FTrash, FNetwork, FDrive, FFolder, FFolderLink, FFile, FFileLink;
};
