// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A drop-down list (no edit field) whose entries are a text plus an object reference each.
// Owner-drawn with one fixed item height, or drawn by Qt when OwnerDraw is off.
//
// When the user picks an entry (mouse, keyboard or wheel) the control runs, in order: the
// selection is set (its text shows), Click(), Change(). A failure in Click() ends the sequence.
// Programmatic changes raise nothing.
#include <QComboBox>
#include <string>

#include "toolkit/TListControl.h"
#include "toolkit/TListModel.h"

class TCustomComboBox : public QComboBox, public TListControl {
    Q_OBJECT
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)

public:
    explicit TCustomComboBox(QWidget* parent = nullptr, bool ownerDraw = true);
    ~TCustomComboBox() override;

    int Count() const { return FModel->Count(); }
    // Appends an entry; returns its position.
    int Add(const std::string& text, const void* object = nullptr);
    void Clear();
    // Entry text and object; an index out of range raises "List index out of bounds (%d)".
    const std::string& ItemText(int index) const;
    const void* ItemObject(int index) const;
    // The selected entry, or -1; setting -1 (or an index out of range) selects nothing.
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The selected entry's text, empty when none is selected.
    std::string Text() const;

    bool OwnerDraw() const { return FOwnerDraw; }
    int ItemHeight() const override { return FItemHeight; }
    void SetItemHeight(int height);

    // Repaints the control at once.
    void RefreshNow();
    // Rebuilds the window: the entries are dropped and the creation hook runs again (only once
    // the window exists).
    void RecreateWnd();

    // What the control does when the user picks entry `index`.
    void UserPick(int index);

    void PaintItem(QPainter* painter, int index, const QRect& rect, TOwnerDrawState state) override;

    TNotifyEvent OnChange;

    // Opens the drop-down list, made ready the first time.
    void showPopup() override;

protected:
    // Default drawing: the brush fills the rectangle, the text starts 2 pixels in, centred.
    virtual void DrawItem(TCanvas& canvas, int index, const QRect& rect, TOwnerDrawState state);
    virtual void Click();
    // The change operation: raises OnChange.
    virtual void Change();
    void ColorApplied() override;

    TListModel* Model() const { return FModel; }

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CheckRange(int index) const;
    // Gives the drop-down list its uniform item heights, the entries' drawing and the control's
    // colour. Done when the list first opens, not when the control is made: making the list is
    // most of a combo box's making, and most drop-down lists are never opened.
    void PrepareDropDown();

    TListModel* FModel;
    TOwnerDrawDelegate* FDelegate = nullptr;
    bool FOwnerDraw;
    bool FDropDownPrepared = false;
    int FItemHeight = 16;
};
