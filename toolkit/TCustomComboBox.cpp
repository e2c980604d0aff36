// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TCustomComboBox.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QListView>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "platform/system/Exception.h"
#include "toolkit/ControlColor.h"

TCustomComboBox::TCustomComboBox(QWidget* parent, bool ownerDraw)
    : QComboBox(parent), TListControl(this), FModel(new TListModel(this)), FOwnerDraw(ownerDraw) {
    setEditable(false);
    setModel(FModel);
    // Entries added to an empty list stay unselected, as the program expects; without a
    // placeholder the combo box would select the first one by itself.
    setPlaceholderText(QStringLiteral(" "));
    if (FOwnerDraw) FDelegate = new TOwnerDrawDelegate(this, this);
    connect(this, &QComboBox::activated, this, [this](int) {
        SafeCall([this] {
            Click();
            Change();
        });
    });
    PublishEvent("OnChange", OnChange);
    ControlBuilt();
}

TCustomComboBox::~TCustomComboBox() = default;

int TCustomComboBox::Add(const std::string& text, const void* object) {
    const int position = Count();
    FModel->Insert(position, {text, object});
    return position;
}

void TCustomComboBox::Clear() {
    FModel->Clear();
    setCurrentIndex(-1);
}

void TCustomComboBox::CheckRange(int index) const {
    if (index < 0 || index >= Count())
        throw Exception("List index out of bounds (" + std::to_string(index) + ")");
}

const std::string& TCustomComboBox::ItemText(int index) const {
    CheckRange(index);
    return FModel->At(index).Text;
}

const void* TCustomComboBox::ItemObject(int index) const {
    CheckRange(index);
    return FModel->At(index).Object;
}

int TCustomComboBox::ItemIndex() const {
    const int index = currentIndex();
    return index < Count() ? index : -1;
}

void TCustomComboBox::SetItemIndex(int index) {
    setCurrentIndex(index >= 0 && index < Count() ? index : -1);
}

std::string TCustomComboBox::Text() const {
    const int index = ItemIndex();
    return index < 0 ? std::string() : FModel->At(index).Text;
}

void TCustomComboBox::SetItemHeight(int height) {
    if (height <= 0 || height == FItemHeight) return;
    FItemHeight = height;
    if (FDropDownPrepared)
        if (auto* list = qobject_cast<QListView*>(view())) list->doItemsLayout();
    update();
}

void TCustomComboBox::ColorApplied() {
    // The drop-down list shows the entries in the control's colour too.
    if (FDropDownPrepared) ApplyControlColor(view(), QPalette::Base, Color());
    update();
}

void TCustomComboBox::PrepareDropDown() {
    if (FDropDownPrepared) return;
    FDropDownPrepared = true;
    if (auto* list = qobject_cast<QListView*>(view())) list->setUniformItemSizes(true);
    if (FDelegate) setItemDelegate(FDelegate);
    ApplyControlColor(view(), QPalette::Base, Color());
}

void TCustomComboBox::showPopup() {
    PrepareDropDown();
    QComboBox::showPopup();
}

void TCustomComboBox::RefreshNow() {
    repaint();
}

void TCustomComboBox::RecreateWnd() {
    if (!HandleAllocated()) return;
    Clear();
    CreateWnd();
}

void TCustomComboBox::UserPick(int index) {
    SetItemIndex(index);
    Click();
    Change();
}

void TCustomComboBox::PaintItem(QPainter* painter, int index, const QRect& rect,
                                TOwnerDrawState state) {
    PaintOwnerDrawnItem(painter, rect, state, Font(), Color(), [&](TCanvas& canvas) {
        if (index >= 0 && index < Count())
            DrawItem(canvas, index, rect, state);
        else
            canvas.FillRect(rect);
    });
}

void TCustomComboBox::DrawItem(TCanvas& canvas, int index, const QRect& rect,
                               TOwnerDrawState state) {
    (void)state;
    canvas.FillRect(rect);
    canvas.DrawText(ItemText(index), rect.adjusted(2, 0, 0, 0),
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TCustomComboBox::Click() {
    Fire(OnClick, this);
}

void TCustomComboBox::Change() {
    Fire(OnChange, this);
}

void TCustomComboBox::paintEvent(QPaintEvent* event) {
    (void)event;
    // The frame and arrow are the style's; the field shows the selected entry in the control's
    // colour, drawn by DrawItem (its default when the control does not draw its own entries).
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    TOwnerDrawState state = odComboBoxEdit;
    if (hasFocus()) state |= odSelected | odFocused;
    PaintItem(&painter, ItemIndex(), field, state);
}

void TCustomComboBox::changeEvent(QEvent* event) {
    QComboBox::changeEvent(event);
    WatchFontChange(event);
}
