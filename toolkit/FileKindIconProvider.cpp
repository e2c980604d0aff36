// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/FileKindIconProvider.h"

#include <QApplication>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStyle>

namespace {

QIcon StyleIcon(QStyle::StandardPixmap pixmap) {
    return QApplication::style()->standardIcon(pixmap);
}

}  // namespace

FileKindIconProvider::FileKindIconProvider()
    : FComputer(StyleIcon(QStyle::SP_ComputerIcon)),
      FDesktop(StyleIcon(QStyle::SP_DesktopIcon)),
      FTrash(StyleIcon(QStyle::SP_TrashIcon)),
      FNetwork(StyleIcon(QStyle::SP_DriveNetIcon)),
      FDrive(StyleIcon(QStyle::SP_DriveHDIcon)),
      FFolder(StyleIcon(QStyle::SP_DirIcon)),
      FFolderLink(StyleIcon(QStyle::SP_DirLinkIcon)),
      FFile(StyleIcon(QStyle::SP_FileIcon)),
      FFileLink(StyleIcon(QStyle::SP_FileLinkIcon)) {}

QIcon FileKindIconProvider::icon(IconType type) const {
    switch (type) {
        case Computer:
            return FComputer;
        case Desktop:
            return FDesktop;
        case Trashcan:
            return FTrash;
        case Network:
            return FNetwork;
        case Drive:
            return FDrive;
        case Folder:
            return FFolder;
        case File:
            break;
    }
    return FFile;
}

// QFileInfo answers these from the file's status (stat), never from its content.
QIcon FileKindIconProvider::icon(const QFileInfo& info) const {
    if (info.isRoot()) return FDrive;
    if (info.isDir()) return info.isSymLink() ? FFolderLink : FFolder;
    return info.isSymLink() ? FFileLink : FFile;
}

QString FileKindIconProvider::type(const QFileInfo& info) const {
    if (info.isRoot()) return QStringLiteral("Drive");
    if (info.isDir()) return QStringLiteral("Folder");
    if (!info.exists()) return QStringLiteral("Broken link");
    if (!info.isFile()) return QStringLiteral("Device");
    // The type that the name's extension stands for; a name the database does not know is a
    // plain "File", never looked into.
    const QMimeDatabase database;
    const QMimeType mime = database.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    if (mime.isValid() && !mime.isDefault() && !mime.comment().isEmpty()) return mime.comment();
    return info.suffix().isEmpty() ? QStringLiteral("File")
                                   : info.suffix().toUpper() + QStringLiteral(" File");
}
