// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Pictures in RTF (\pict groups). The reader keeps each one's group exactly as the file wrote it,
// so that the writer can give it back byte for byte; PNG and JPEG pictures are also shown, at the
// size the group asks for. A picture the document cannot show (a Windows metafile, an enhanced
// metafile, data that does not decode) stands in the text as a grey placeholder of its size.
#include <QByteArray>
#include <QSizeF>
#include <QTextFormat>
#include <string_view>

class QTextCharFormat;
class QTextDocument;

namespace Rtf {

// QByteArray on a character format: the whole "{\pict ...}" group of each U+FFFC carrying it.
constexpr int kPictureSource = QTextFormat::UserProperty + 0x210;

struct RtfPicture {
    enum class Kind { Unknown, Png, Jpeg, Windows, Enhanced };
    // Shown sizes beyond this many pixels a side are cut down to it.
    static constexpr double kMaxSide = 10000.0;

    Kind Type = Kind::Unknown;
    int Width = 0, Height = 0;          // \picw, \pich: pixels (metafiles: hundredths of a mm)
    int WidthGoal = 0, HeightGoal = 0;  // \picwgoal, \pichgoal: twips
    int ScaleX = 100, ScaleY = 100;     // \picscalex, \picscaley: per cent
    QByteArray Data;                    // the picture's own bytes, from the hex digits or \bin

    // Reads a "{\pict ...}" group; what it cannot make sense of it leaves out.
    static RtfPicture Parse(std::string_view group);
    // The size to show it at in pixels, given its decoded size in pixels (empty if none).
    QSizeF ShownSize(QSizeF decoded) const;
};

// The format of the U+FFFC standing for the picture `group`, over the run's format `base`: an
// image format naming a resource of `doc` that holds the decoded picture or its placeholder.
QTextCharFormat PictureFormat(QTextDocument& doc, const QTextCharFormat& base,
                              const QByteArray& group);

}  // namespace Rtf
