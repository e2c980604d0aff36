// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TLabel.h"

#include <QEvent>
#include <QPainter>

#include "toolkit/CaptionText.h"

TLabel::TLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(!FTransparent);
    AdjustBounds();
}

void TLabel::SetCaption(const QString& caption) {
    if (caption == FCaption) return;
    FCaption = caption;
    setText(caption);
    AdjustBounds();
    update();
}

void TLabel::SetAutoSize(bool on) {
    if (on == FAutoSize) return;
    FAutoSize = on;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool on) {
    if (on == FWordWrap) return;
    FWordWrap = on;
    setWordWrap(on);
    AdjustBounds();
    update();
}

void TLabel::SetTransparent(bool on) {
    if (on == FTransparent) return;
    FTransparent = on;
    setAutoFillBackground(!on);
    update();
}

void TLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawCaption(painter, rect(), FCaption, FWordWrap, palette().color(QPalette::WindowText));
}

void TLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    // A new window font changes the text's extent.
    if (event->type() == QEvent::FontChange) AdjustBounds();
}

void TLabel::AdjustBounds() {
    if (!FAutoSize) return;
    if (width() != FAutoWidth) FDesignWidth = width();
    const QSize extent = CaptionExtent(font(), FCaption, FWordWrap, FDesignWidth);
    // A wrapping label keeps its given width and grows or shrinks in height only, whatever order
    // its caption and WordWrap were set in.
    FAutoWidth = FWordWrap ? FDesignWidth : extent.width();
    resize(FAutoWidth, extent.height());
}
