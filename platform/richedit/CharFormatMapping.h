// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The control's character and paragraph format records against Qt's text formats. Pure
// conversions without a widget, so that each rule can be checked on its own.
#include <QColor>
#include <QFont>
#include <QTextCharFormat>
#include <cstdint>
#include <optional>

#include "platform/richedit/RichEditTypes.h"

namespace RichEdit {

// Text format properties of the control's own: protected text and the character set.
constexpr int kProtectedProperty = 0x100100;
constexpr int kCharsetProperty = kProtectedProperty + 1;

// 0x00BBGGRR <-> QColor.
QColor FromColorRef(std::uint32_t color);
std::uint32_t ToColorRef(const QColor& color);

// The default character format of a control whose font is `font`, on a screen of `dpi`: every
// attribute valid, automatic colour.
CharFormat DefaultFormatOf(const QFont& font, int dpi);
// The font that text without formats of its own shows in.
QFont FontOf(const CharFormat& format, int dpi);
// `current` with the attributes that `change.Mask` names taken from `change`; a size of 0 or less
// and a face name beyond 31 characters are not taken.
CharFormat MergedFormat(CharFormat current, const CharFormat& change);

// The Qt format with the attributes that `format.Mask` names. An automatic colour is not in it:
// clearing a colour cannot be merged, so WantsAutoColor tells the caller to clear it.
QTextCharFormat ToTextFormat(const CharFormat& format);
bool WantsAutoColor(const CharFormat& format);
// What text of Qt format `format` looks like as a record, every attribute valid: the font is
// resolved against `defaults`; size and character set come from `fallback` where the text has
// none of its own; text without a colour of its own is automatic and shows in `autoColor`.
CharFormat DescribeFormat(const QTextCharFormat& format, const QFont& defaults,
                          const CharFormat& fallback, const QColor& autoColor);
// `mask` without the attributes in which `a` and `b` differ.
std::uint32_t CommonMask(std::uint32_t mask, const CharFormat& a, const CharFormat& b);

// Paragraph alignments; no Qt alignment for a value the control does not know.
std::optional<Qt::Alignment> ToQtAlignment(std::uint16_t alignment);
std::uint16_t FromQtAlignment(Qt::Alignment alignment);

}  // namespace RichEdit
