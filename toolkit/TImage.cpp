#include "toolkit/TImage.h"

#include <QFile>
#include <QPainter>

#include "platform/system/Exception.h"
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

void TImage::paintEvent(QPaintEvent*) {
    DecodeNow();
    if (FImage.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, FImage);
}
