// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Measuring and drawing a control caption the way labels and static texts show it: "&" marks the
// accelerator letter (drawn underlined), "&&" stands for a literal "&".
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;
class QColor;

// The Qt text flags for a caption, left aligned at the top.
int CaptionFlags(bool wordWrap);

// The size the caption needs; with wordWrap the text is broken to fit `wrapWidth`. An empty
// caption still needs the height of one line.
QSize CaptionExtent(const QFont& font, const QString& caption, bool wordWrap, int wrapWidth);

void DrawCaption(QPainter& painter, const QRect& rect, const QString& caption, bool wordWrap,
                 const QColor& color);
