// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Owner drawing for list and combo boxes: Qt's item views call the delegate, the delegate calls
// the control, and the control draws the entry through a TCanvas.
#include <QAbstractItemDelegate>
#include <QRect>

#include "toolkit/TCanvas.h"
#include "toolkit/TFont.h"

// The state an entry is drawn in (a set of these bits).
using TOwnerDrawState = unsigned;
constexpr TOwnerDrawState odSelected = 0x0001;
constexpr TOwnerDrawState odGrayed = 0x0002;
constexpr TOwnerDrawState odDisabled = 0x0004;
constexpr TOwnerDrawState odChecked = 0x0008;
constexpr TOwnerDrawState odFocused = 0x0010;
constexpr TOwnerDrawState odComboBoxEdit = 0x1000;

// What a control that draws its own entries offers its delegate.
class TOwnerDrawn {
public:
    virtual ~TOwnerDrawn() = default;
    // Draws entry `index` (-1: none, for an empty combo box field) into `rect`.
    virtual void PaintItem(QPainter* painter, int index, const QRect& rect,
                           TOwnerDrawState state) = 0;
    virtual int ItemHeight() const = 0;
};

class TOwnerDrawDelegate : public QAbstractItemDelegate {
    Q_OBJECT

public:
    TOwnerDrawDelegate(TOwnerDrawn* control, QObject* parent)
        : QAbstractItemDelegate(parent), FControl(control) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TOwnerDrawn* FControl;
};

// The font a control draws with: its window's font (face, height, style and colour), or the
// toolkit's default font for a control outside any window.
TFont ControlFont(const QWidget* control);

// Prepares the canvas as the list controls expect before their drawing code runs: the
// control's font, its colour as the brush, and the highlight colours for a selected entry.
// Afterwards the focused entry gets its dotted focus frame.
template <class Draw>
void PaintOwnerDrawnItem(QPainter* painter, const QRect& rect, TOwnerDrawState state,
                         const TFont& font, TColor color, Draw&& draw) {
    TCanvas canvas(painter);
    canvas.Font.Assign(font);
    canvas.BrushColor = color;
    if (state & odSelected) {
        canvas.BrushColor = clHighlight;
        canvas.Font.Color = clHighlightText;
    }
    painter->save();
    painter->setClipRect(rect);
    draw(canvas);
    if (state & odFocused) {
        QPen pen(ToQColor(clWindowText), 1, Qt::DotLine);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}
