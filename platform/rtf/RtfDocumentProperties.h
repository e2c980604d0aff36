// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// What a loaded document carries for the writer beyond Qt's own formats, and the one unit
// conversion the reader and the writer share.
#include <QTextFormat>

namespace Rtf {

// Hidden text (\v) is kept out of the document's characters, so that it shows nowhere, and
// rides on the formats instead: on the first character after it, or on the paragraph it ends.
enum RtfDocumentProperty {
    // QString on a character format: the hidden text before the character.
    kHiddenTextBefore = QTextFormat::UserProperty + 0x200,
    // int on the same format: which hidden passage it is. Text typed after the character takes
    // its format; the passage is written once however many runs then carry it.
    kHiddenTextSerial,
    // QString on a block format: the hidden text after the paragraph's last character.
    kHiddenTextAtEnd,
};

// Indents and spacing: RTF counts twentieths of a point, the document pixels at 96 per inch.
constexpr double kTwipsPerPixel = 15.0;

// Text whose size the file never states is 12 points, in half points as \fsN counts them.
constexpr int kDefaultHalfPoints = 24;

}  // namespace Rtf
