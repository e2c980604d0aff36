#include "toolkit/TImage.h"

#include <QPainter>

#include "platform/system/Exception.h"
#include "toolkit/TJPEGImage.h"

TImage::TImage(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void TImage::SetPicture(const QString& path) {
    if (path == FPicture) return;
    FImage = path.isEmpty() ? QImage() : LoadPicture(path);
    FPicture = path;
    update();
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

void TImage::paintEvent(QPaintEvent*) {
    if (FImage.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, FImage);
}
