// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TGroupBox.h"

#include <QPainter>

#include "toolkit/CaptionText.h"

TGroupBox::TGroupBox(QWidget* parent) : QGroupBox(parent) {
    // Without a focus policy of its own, QGroupBox hands incoming focus to its first child.
    setFocusPolicy(Qt::NoFocus);
}

void TGroupBox::SetCaption(const QString& caption) {
    if (caption == title()) return;
    setTitle(caption);
}

void TGroupBox::paintEvent(QPaintEvent*) {
    // Drawn by hand: the styles tint a group box's inside, and it must show its parent's colour
    // exactly. An etched frame, its top line through the middle of the caption's line.
    QPainter painter(this);
    const QString caption = title();
    const QSize text = CaptionExtent(font(), caption, false, 0);
    const int top = caption.isEmpty() ? 0 : text.height() / 2;
    const QRect frame = rect().adjusted(0, top, -2, -2);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.translated(1, 1));
    if (caption.isEmpty()) return;
    const QRect captionRect(8, 0, text.width() + 2, text.height());
    painter.fillRect(captionRect, palette().color(backgroundRole()));
    DrawCaption(painter, captionRect.adjusted(1, 0, 0, 0), caption, false,
                palette().color(QPalette::WindowText));
}
