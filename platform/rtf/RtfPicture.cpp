// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "platform/rtf/RtfPicture.h"

#include <QCryptographicHash>
#include <QImage>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <algorithm>

#include "platform/rtf/RtfDocumentProperties.h"
#include "platform/rtf/RtfTokenizer.h"

namespace Rtf {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Hex digits to bytes; anything else between them is ignored, and an odd last digit dropped.
void AppendHex(std::string_view text, QByteArray& out, int& high) {
    for (char c : text) {
        int value = HexValue(c);
        if (value < 0) continue;
        if (high < 0) {
            high = value;
        } else {
            out.append(char(high << 4 | value));
            high = -1;
        }
    }
}

void ReadWord(const RtfToken& token, RtfPicture& picture) {
    const std::string_view word = token.text;
    const int param = token.hasParam ? token.param : 0;
    if (word == "pngblip") {
        picture.Type = RtfPicture::Kind::Png;
    } else if (word == "jpegblip") {
        picture.Type = RtfPicture::Kind::Jpeg;
    } else if (word == "wmetafile") {
        picture.Type = RtfPicture::Kind::Windows;
    } else if (word == "emfblip") {
        picture.Type = RtfPicture::Kind::Enhanced;
    } else if (word == "picw") {
        picture.Width = param;
    } else if (word == "pich") {
        picture.Height = param;
    } else if (word == "picwgoal") {
        picture.WidthGoal = param;
    } else if (word == "pichgoal") {
        picture.HeightGoal = param;
    } else if (word == "picscalex") {
        picture.ScaleX = param;
    } else if (word == "picscaley") {
        picture.ScaleY = param;
    }
}

constexpr int kMaxPlaceholder = 512;

double Scale(int percent) {
    return percent > 0 ? percent / 100.0 : 1.0;
}

// A light grey box with a darker frame, for a picture that is kept but not shown.
QImage Placeholder(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0xE0, 0xE0, 0xE0));
    const QRgb frame = qRgb(0x80, 0x80, 0x80);
    for (int x = 0; x < size.width(); ++x) {
        image.setPixel(x, 0, frame);
        image.setPixel(x, size.height() - 1, frame);
    }
    for (int y = 0; y < size.height(); ++y) {
        image.setPixel(0, y, frame);
        image.setPixel(size.width() - 1, y, frame);
    }
    return image;
}

}  // namespace

RtfPicture RtfPicture::Parse(std::string_view group) {
    RtfPicture picture;
    RtfTokenizer tokenizer(group);
    int depth = 0;
    int high = -1;
    // Only the \pict group's own words and data count: nested groups hold properties and ids.
    for (RtfToken token = tokenizer.Next(); token.kind != RtfToken::Kind::End;
         token = tokenizer.Next()) {
        switch (token.kind) {
            case RtfToken::Kind::GroupOpen:
                ++depth;
                break;
            case RtfToken::Kind::GroupClose:
                --depth;
                if (depth <= 0) return picture;
                break;
            case RtfToken::Kind::Word:
                if (depth == 1) ReadWord(token, picture);
                break;
            case RtfToken::Kind::Text:
                if (depth == 1) AppendHex(token.text, picture.Data, high);
                break;
            case RtfToken::Kind::Binary:
                if (depth == 1)
                    picture.Data.append(token.text.data(), qsizetype(token.text.size()));
                break;
            default:
                break;
        }
    }
    return picture;
}

QSizeF RtfPicture::ShownSize(QSizeF decoded) const {
    // A metafile states its size in hundredths of a millimetre.
    const bool metafile = Type == Kind::Windows || Type == Kind::Enhanced;
    if (decoded.isEmpty() && metafile && Width > 0 && Height > 0)
        decoded = QSizeF(Width, Height) * (96.0 / 2540.0);
    double width = WidthGoal > 0 ? WidthGoal / kTwipsPerPixel : decoded.width();
    double height = HeightGoal > 0 ? HeightGoal / kTwipsPerPixel : decoded.height();
    // A goal for one side only keeps the picture's proportions.
    if (WidthGoal > 0 && HeightGoal <= 0 && decoded.width() > 0)
        height = decoded.height() * width / decoded.width();
    if (HeightGoal > 0 && WidthGoal <= 0 && decoded.height() > 0)
        width = decoded.width() * height / decoded.height();
    width *= Scale(ScaleX);
    height *= Scale(ScaleY);
    return {std::clamp(width, 0.0, kMaxSide), std::clamp(height, 0.0, kMaxSide)};
}

QTextCharFormat PictureFormat(QTextDocument& doc, const QTextCharFormat& base,
                              const QByteArray& group) {
    const RtfPicture picture = RtfPicture::Parse(std::string_view(group.data(), group.size()));
    QImage image;
    if (picture.Type == RtfPicture::Kind::Png || picture.Type == RtfPicture::Kind::Jpeg) {
        image =
            QImage::fromData(picture.Data, picture.Type == RtfPicture::Kind::Png ? "PNG" : "JPEG");
    }
    QSizeF shown = picture.ShownSize(image.isNull() ? QSizeF() : QSizeF(image.size()));
    if (image.isNull()) {
        if (shown.width() < 1 || shown.height() < 1) shown = QSizeF(32, 32);
        // Drawn at most kMaxPlaceholder a side and stretched: a huge stated size costs no memory.
        image = Placeholder(QSize(std::clamp(int(shown.width()), 2, kMaxPlaceholder),
                                  std::clamp(int(shown.height()), 2, kMaxPlaceholder)));
    }
    // The same picture twice shares one resource.
    const QUrl name(
        QStringLiteral("quillet-picture:") +
        QString::fromLatin1(QCryptographicHash::hash(group, QCryptographicHash::Sha1).toHex()));
    doc.addResource(QTextDocument::ImageResource, name, image);
    QTextImageFormat format;
    format.merge(base);
    format.setObjectType(QTextFormat::ImageObject);
    format.setName(name.toString());
    format.setWidth(shown.width());
    format.setHeight(shown.height());
    format.setProperty(kPictureSource, group);
    return format;
}

}  // namespace Rtf
