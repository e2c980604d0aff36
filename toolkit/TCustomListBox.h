// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// An owner-drawn list box with entries of one fixed height: text plus an object reference per
// entry, single selection, optional sorting in the locale's case-insensitive order.
//
// The user's selection changes (mouse or keyboard) and every press on an entry reach Click();
// double-clicks reach DblClick() and typed characters KeyPress(). Programmatic changes raise
// nothing.
#include <QListView>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/TListControl.h"
#include "toolkit/TListModel.h"

// A key-press notification: the sender and the typed character, which the handler may change.
using TKeyPressEvent = std::function<void(QObject* Sender, char& Key)>;

class TCustomListBox : public QListView, public TListControl {
    Q_OBJECT
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)

public:
    explicit TCustomListBox(QWidget* parent = nullptr);
    ~TCustomListBox() override;

    int Count() const { return FModel->Count(); }
    // Adds an entry; returns its position (in a sorted list, the place the order gives it,
    // after entries that compare equal).
    int Add(const std::string& text, const void* object = nullptr);
    // Adds the entries as one change, with the result that adding them one by one would have
    // had; returns the position each single addition would have returned. O(n log n).
    std::vector<int> AddItems(std::vector<TListEntry> entries);
    void Clear();
    // Entry text and object; an index out of range raises "List index out of bounds (%d)".
    const std::string& ItemText(int index) const;
    const void* ItemObject(int index) const;
    void SetItemObject(int index, const void* object);
    // The first entry whose text equals `text` ignoring letter case, or -1.
    int IndexOfText(const std::string& text) const;

    // The selected entry, or -1. Setting -1 (or an index out of range) selects nothing.
    int ItemIndex() const;
    void SetItemIndex(int index);
    bool Selected(int index) const;

    bool Sorted() const { return FSorted; }
    void SetSorted(bool sorted);
    int ItemHeight() const override { return FItemHeight; }
    void SetItemHeight(int height);

    // Changes between these two repaint and relayout the list once.
    void BeginUpdate();
    void EndUpdate();
    // Repaints the visible entries at once.
    void RefreshNow();

    // Draws entry `index` as the control shows it; the delegate calls this, and so can tests.
    void PaintItem(QPainter* painter, int index, const QRect& rect, TOwnerDrawState state) override;

    TNotifyEvent OnDblClick;
    TKeyPressEvent OnKeyPress;

protected:
    // Default drawing: the brush fills the rectangle, the text starts 2 pixels in.
    virtual void DrawItem(TCanvas& canvas, int index, const QRect& rect, TOwnerDrawState state);
    virtual void Click();
    virtual void DblClick();
    virtual void KeyPress(char& key);
    void ColorApplied() override;

    TListModel* Model() const { return FModel; }

    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex& index, const QEvent* event = nullptr) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Runs a user-input handler of the view, then reports a selection change it made as a click.
    template <class F>
    void UserInput(F&& body);
    void ReportClick();
    void CheckRange(int index) const;

    TListModel* FModel;
    TOwnerDrawDelegate* FDelegate;
    bool FSorted = false;
    int FItemHeight = 13;
    int FProgrammatic = 0;  // > 0 while the program itself changes entries or the selection
    int FInUserInput = 0;
    bool FClickPending = false;
};
