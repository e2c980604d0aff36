// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TImage.h"

#include <QFile>
#include <QPainter>

#include "platform/system/Exception.h"
#include "toolkit/DeviceImage.h"
#include "toolkit/Events.h"
#include "toolkit/TJPEGImage.h"

TImage::TImage(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void TImage::SetPicture(const QString& path) {
    if (path == FPicture) return;
    if (path.startsWith(QLatin1String(":/")) && !isVisible()) {
        // Built into the program: what is there reads, so only whether it is there is checked.
        if (!QFile::exists(path)) throw Exception("Cannot load picture " + path.toStdString());
        FImage = QImage();
        FDecodePending = true;
    } else {
        FImage = path.isEmpty() ? QImage() : LoadPicture(path);
        FDecodePending = false;
    }
    FPicture = path;
    FHighDensity = QImage();
    FHighDensityRead = false;
    FShownRatio = 0;
    update();
}

const QImage& TImage::Image() const {
    DecodeNow();
    return FImage;
}

void TImage::DecodeNow() const {
    if (!FDecodePending) return;
    FDecodePending = false;
    SafeCall([this] { FImage = LoadPicture(FPicture); });
}

QImage TImage::LoadPicture(const QString& path) {
    const QString lower = path.toLower();
    if (lower.endsWith(QLatin1String(".jpg")) || lower.endsWith(QLatin1String(".jpeg"))) {
        TJPEGImage jpeg;
        jpeg.LoadFromFile(path);
        return jpeg.Image();
    }
    QImage image(path);
    if (image.isNull()) throw Exception("Cannot load picture " + path.toStdString());
    return image;
}

const QImage& TImage::Shown(qreal ratio) {
    if (ratio == FShownRatio) return FShown;
    if (ratio > 1 && !FHighDensityRead) {
        FHighDensityRead = true;
        const QString name = HighDensityName(FPicture);
        // A missing or unreadable high-density version is no error: the picture itself serves.
        if (QFile::exists(name)) try {
                FHighDensity = LoadPicture(name);
            } catch (const Exception&) {
                FHighDensity = QImage();
            }
    }
    FShown = ratio > 1 && !FHighDensity.isNull() ? PictureForRatio(FHighDensity, 2, ratio)
                                                 : PictureForRatio(FImage, 1, ratio);
    FShownRatio = ratio;
    return FShown;
}

void TImage::paintEvent(QPaintEvent*) {
    DecodeNow();
    if (FImage.isNull()) return;
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), Shown(PaintRatio(painter)));
}
