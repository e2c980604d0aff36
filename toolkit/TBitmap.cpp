#include "toolkit/TBitmap.h"

#include "platform/system/Exception.h"

TBitmap TBitmap::FromResource(const std::string& name) {
    QImage image(QStringLiteral(":/glyphs/") + QString::fromStdString(name) +
                 QStringLiteral(".bmp"));
    if (image.isNull()) throw Exception("Resource " + name + " not found");
    return TBitmap(image.convertToFormat(QImage::Format_RGB32));
}

QRgb TBitmap::TransparentColor() const {
    if (Image.isNull()) return 0;
    return Image.pixel(0, Image.height() - 1);
}
