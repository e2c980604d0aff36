// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TPanel.h"

#include <QPainter>

#include "platform/system/Exception.h"
#include "toolkit/ControlColor.h"

TPanel::TPanel(QWidget* parent) : QFrame(parent) {
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);  // the border and bevels are drawn by paintEvent
    setAutoFillBackground(true);
    ApplyControlColor(this, QPalette::Window, FColor);
}

void TPanel::SetCaption(const QString& caption) {
    if (caption == FCaption) return;
    FCaption = caption;
    update();
}

TColor TPanel::Color() const {
    return FParentColor ? FromQColor(palette().color(QPalette::Window)) : FColor;
}

void TPanel::SetColor(TColor color) {
    if (color == FColor && !FParentColor) return;
    FColor = color;
    FParentColor = false;
    ApplyControlColor(this, QPalette::Window, color);
}

void TPanel::SetParentColor(bool on) {
    if (on == FParentColor) return;
    FParentColor = on;
    if (on)
        FollowParentColor(this);
    else
        ApplyControlColor(this, QPalette::Window, FColor);
}

void TPanel::SetBorderStyle(TPanelBorderStyle style) {
    if (style == FBorderStyle) return;
    FBorderStyle = style;
    update();
}

void TPanel::SetBevelInner(TBevelCut cut) {
    if (cut == FBevelInner) return;
    FBevelInner = cut;
    update();
}

void TPanel::SetBevelOuter(TBevelCut cut) {
    if (cut == FBevelOuter) return;
    FBevelOuter = cut;
    update();
}

QString TPanel::BorderStyleName() const {
    return FBorderStyle == pbsSingle ? QStringLiteral("bsSingle") : QStringLiteral("bsNone");
}

void TPanel::SetBorderStyleName(const QString& name) {
    if (name == QLatin1String("bsNone"))
        SetBorderStyle(pbsNone);
    else if (name == QLatin1String("bsSingle"))
        SetBorderStyle(pbsSingle);
    else
        throw Exception("Invalid border style " + name.toStdString());
}

QString TPanel::BevelName(TBevelCut cut) {
    switch (cut) {
        case bvLowered:
            return QStringLiteral("bvLowered");
        case bvRaised:
            return QStringLiteral("bvRaised");
        default:
            return QStringLiteral("bvNone");
    }
}

TBevelCut TPanel::BevelFromName(const QString& name) {
    if (name == QLatin1String("bvNone")) return bvNone;
    if (name == QLatin1String("bvLowered")) return bvLowered;
    if (name == QLatin1String("bvRaised")) return bvRaised;
    throw Exception("Invalid bevel " + name.toStdString());
}

QRect TPanel::InnerRect() const {
    int inset = FBorderStyle == pbsSingle ? 1 : 0;
    if (FBevelOuter != bvNone) ++inset;
    if (FBevelInner != bvNone) ++inset;
    return rect().adjusted(inset, inset, -inset, -inset);
}

void TPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect r = rect();
    if (FBorderStyle == pbsSingle) {
        painter.setPen(ToQColor(clWindowFrame));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }
    DrawBevel(painter, r, FBevelOuter);
    DrawBevel(painter, r, FBevelInner);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(r, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, FCaption);
}

void TPanel::DrawBevel(QPainter& painter, QRect& r, TBevelCut cut) const {
    if (cut == bvNone) return;
    const QColor light = ToQColor(clBtnHighlight);
    const QColor dark = ToQColor(clBtnShadow);
    painter.setPen(cut == bvRaised ? light : dark);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(cut == bvRaised ? dark : light);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    r.adjust(1, 1, -1, -1);
}
