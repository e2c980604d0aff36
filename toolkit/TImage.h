// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A picture drawn at its natural size at the top-left corner, unscaled and clipped to the
// control. Where the picture does not reach, the parent shows through. On a high-density screen
// the picture's NAME@2x version, where there is one, supplies the device pixels.
#include <QImage>
#include <QWidget>

#include "toolkit/TComponent.h"

class TImage : public QWidget, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Picture READ Picture WRITE SetPicture)

public:
    explicit TImage(QWidget* parent = nullptr);

    // A file or resource path (":/pictures/Banner.jpg"). ".jpg" and ".jpeg" files are decoded by
    // TJPEGImage, anything else by Qt's readers. An empty path clears the picture; a picture
    // that cannot be read is an error and leaves the old one in place. A picture of the
    // program's own resources given while the control is not on the screen (as layouts give
    // them, the windows still hidden) is decoded when it is first drawn or asked for: most of a
    // hidden window's pictures are not needed for the program's first sight.
    QString Picture() const { return FPicture; }
    void SetPicture(const QString& path);
    const QImage& Image() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static QImage LoadPicture(const QString& path);
    // Decodes a picture whose decoding was put off.
    void DecodeNow() const;
    // The picture as the surface of `ratio` shows it, made once per ratio.
    const QImage& Shown(qreal ratio);

    QString FPicture;
    mutable QImage FImage;
    mutable bool FDecodePending = false;
    QImage FHighDensity;  // NAME@2x, read when first needed; null when there is none
    bool FHighDensityRead = false;
    QImage FShown;
    qreal FShownRatio = 0;
};
