// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/CaptionText.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

int CaptionFlags(bool wordWrap) {
    int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic;
    if (wordWrap) flags |= Qt::TextWordWrap;
    return flags;
}

QSize CaptionExtent(const QFont& font, const QString& caption, bool wordWrap, int wrapWidth) {
    const QFontMetrics metrics(font);
    // Unwrapped text is measured against a very wide box so that no line breaks.
    const int width = wordWrap ? std::max(1, wrapWidth) : 1 << 20;
    const QRect box =
        metrics.boundingRect(QRect(0, 0, width, 1 << 20), CaptionFlags(wordWrap), caption);
    return {box.width(), std::max(box.height(), metrics.height())};
}

void DrawCaption(QPainter& painter, const QRect& rect, const QString& caption, bool wordWrap,
                 const QColor& color) {
    painter.setPen(color);
    painter.drawText(rect, CaptionFlags(wordWrap), caption);
}
