// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TOwnerDrawDelegate.h"

#include <QWidget>

#include "toolkit/TForm.h"

void TOwnerDrawDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    TOwnerDrawState state = 0;
    if (option.state & QStyle::State_Selected) state |= odSelected;
    if (option.state & QStyle::State_HasFocus) state |= odFocused;
    if (!(option.state & QStyle::State_Enabled)) state |= odDisabled;
    FControl->PaintItem(painter, index.row(), option.rect, state);
}

QSize TOwnerDrawDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    (void)option;
    (void)index;
    // Entries have one fixed height and no width of their own: they span the view.
    return {1, FControl->ItemHeight()};
}

TFont ControlFont(const QWidget* control) {
    TFont font;
    for (const QWidget* w = control; w; w = w->parentWidget()) {
        if (auto* form = dynamic_cast<const TForm*>(w)) {
            font.Assign(const_cast<TForm*>(form)->Font());
            break;
        }
    }
    return font;
}
