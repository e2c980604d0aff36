// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/DeviceImage.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>

namespace {

// The device size of `logical` image pixels at `ratio`, at least one pixel.
int DevicePixels(int logical, qreal ratio) {
    return std::max(1, int(std::lround(logical * ratio)));
}

bool Whole(qreal ratio) {
    return std::abs(ratio - std::round(ratio)) < 1e-6;
}

}  // namespace

qreal PaintRatio(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    return device ? device->devicePixelRatioF() : 1.0;
}

QImage GlyphForRatio(const QImage& glyph, qreal ratio) {
    if (glyph.isNull() || ratio <= 1.0 + 1e-6) return glyph;
    const int whole = int(std::ceil(ratio - 1e-6));
    QImage blocks = glyph.scaled(glyph.width() * whole, glyph.height() * whole,
                                 Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!Whole(ratio))
        blocks =
            blocks.scaled(DevicePixels(glyph.width(), ratio), DevicePixels(glyph.height(), ratio),
                          Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    blocks.setDevicePixelRatio(Whole(ratio) ? qreal(whole) : ratio);
    return blocks;
}

QImage PictureForRatio(const QImage& picture, qreal sourceRatio, qreal ratio) {
    if (picture.isNull()) return picture;
    if (std::abs(sourceRatio - ratio) < 1e-6) {
        QImage same = picture;
        same.setDevicePixelRatio(ratio);
        return same;
    }
    const int logicalWidth = int(std::lround(picture.width() / sourceRatio));
    const int logicalHeight = int(std::lround(picture.height() / sourceRatio));
    QImage resampled =
        picture.scaled(DevicePixels(logicalWidth, ratio), DevicePixels(logicalHeight, ratio),
                       Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    resampled.setDevicePixelRatio(ratio);
    return resampled;
}

QString HighDensityName(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (dot <= slash + 1) return path + QStringLiteral("@2x");
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

QIcon IconAtEverySize(const QString& path) {
    if (!QFileInfo(path).isDir()) return QIcon(path);
    // Qt decodes every file as it is added, a tenth of the program's start for this theme's six
    // sizes, and every window shows the same icon: it is built once and shared.
    static QHash<QString, QIcon> built;
    if (const auto found = built.constFind(path); found != built.cend()) return *found;
    if (built.isEmpty()) qAddPostRoutine([] { built.clear(); });  // pixmaps go with the application
    QIcon icon;
    QDirIterator files(path, {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) icon.addFile(files.next());
    built.insert(path, icon);
    return icon;
}
