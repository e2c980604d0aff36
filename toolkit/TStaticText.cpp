// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TStaticText.h"

#include <QEvent>
#include <QPainter>

#include "platform/system/Exception.h"
#include "toolkit/CaptionText.h"

namespace {
constexpr int kExtraHeight = 4;
}  // namespace

TStaticText::TStaticText(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);  // its colour is the parent's, painted by itself
}

void TStaticText::SetCaption(const QString& caption) {
    if (caption == FCaption) return;
    FCaption = caption;
    setText(caption);
    AdjustBounds();
    update();
}

void TStaticText::SetAutoSize(bool on) {
    if (on == FAutoSize) return;
    FAutoSize = on;
    AdjustBounds();
}

void TStaticText::SetBorderStyle(TStaticBorderStyle style) {
    if (style == FBorderStyle) return;
    FBorderStyle = style;
    AdjustBounds();
    update();
}

QString TStaticText::BorderStyleName() const {
    switch (FBorderStyle) {
        case sbsSingle:
            return QStringLiteral("sbsSingle");
        case sbsSunken:
            return QStringLiteral("sbsSunken");
        default:
            return QStringLiteral("sbsNone");
    }
}

void TStaticText::SetBorderStyleName(const QString& name) {
    if (name == QLatin1String("sbsNone"))
        SetBorderStyle(sbsNone);
    else if (name == QLatin1String("sbsSingle"))
        SetBorderStyle(sbsSingle);
    else if (name == QLatin1String("sbsSunken"))
        SetBorderStyle(sbsSunken);
    else
        throw Exception("Invalid border style " + name.toStdString());
}

void TStaticText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect r = rect();
    if (FBorderStyle == sbsSingle) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    } else if (FBorderStyle == sbsSunken) {
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }
    const int b = BorderWidth();
    DrawCaption(painter, rect().adjusted(b, b, -b, -b), FCaption, false,
                palette().color(QPalette::WindowText));
}

void TStaticText::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) AdjustBounds();
}

void TStaticText::AdjustBounds() {
    if (!FAutoSize) return;
    const QSize extent = CaptionExtent(font(), FCaption, false, 0);
    const int b = 2 * BorderWidth();
    // A static text stands a little taller than a label of the same font: 17 pixels for the
    // 13-pixel lines of the window font.
    resize(extent.width() + b, extent.height() + b + kExtraHeight);
}
