// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TMemo.h"

#include "platform/system/Exception.h"
#include "toolkit/ControlColor.h"

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    SetScrollBars(ssNone);
    ApplyControlColor(this, QPalette::Base, FColor);
}

QStringList TMemo::Lines() const {
    if (document()->isEmpty()) return {};
    return toPlainText().split(QLatin1Char('\n'));
}

void TMemo::SetLines(const QStringList& lines) {
    if (lines == Lines()) return;
    setPlainText(lines.join(QLatin1Char('\n')));
}

void TMemo::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    ApplyControlColor(this, QPalette::Base, color);
}

void TMemo::SetScrollBars(TScrollStyle style) {
    FScrollBars = style;
    const bool h = style == ssHorizontal || style == ssBoth;
    const bool v = style == ssVertical || style == ssBoth;
    setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

QString TMemo::ScrollBarsName() const {
    return ScrollStyleName(FScrollBars);
}

void TMemo::SetScrollBarsName(const QString& name) {
    SetScrollBars(ScrollStyleFromName(name));
}

void TMemo::SetWordWrap(bool on) {
    if (on == WordWrap()) return;
    setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}
