// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TCustomListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <numeric>

#include "platform/system/Exception.h"
#include "toolkit/TextCompare.h"

namespace {

// Counts, for a stream of ranks, how many earlier ones are smaller: the insert positions of
// one-by-one sorted insertion.
class TRankCounter {
public:
    explicit TRankCounter(std::size_t size) : FTree(size + 1, 0) {}
    void Add(std::size_t rank) {
        for (std::size_t i = rank + 1; i < FTree.size(); i += i & (~i + 1)) ++FTree[i];
    }
    int CountBelow(std::size_t rank) const {
        int n = 0;
        for (std::size_t i = rank; i > 0; i -= i & (~i + 1)) n += FTree[i];
        return n;
    }

private:
    std::vector<int> FTree;
};

// Counts a call in progress for as long as it runs, errors included: a programmatic change, so
// that it is not reported as the user's, or a user-input handler of the view.
class TNesting {
public:
    explicit TNesting(int& counter) : FCounter(counter) { ++FCounter; }
    ~TNesting() { --FCounter; }
    TNesting(const TNesting&) = delete;
    TNesting& operator=(const TNesting&) = delete;

private:
    int& FCounter;
};

}  // namespace

TCustomListBox::TCustomListBox(QWidget* parent)
    : QListView(parent),
      TListControl(this),
      FModel(new TListModel(this)),
      FDelegate(new TOwnerDrawDelegate(this, this)) {
    setModel(FModel);
    setItemDelegate(FDelegate);
    setUniformItemSizes(true);  // fixed-height entries: relayout of 100,000 entries stays cheap
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Sunken);
    viewport()->setAutoFillBackground(true);
    PublishEvent("OnDblClick", OnDblClick);
    ControlBuilt();
}

TCustomListBox::~TCustomListBox() = default;

int TCustomListBox::Add(const std::string& text, const void* object) {
    TNesting programmatic(FProgrammatic);
    int position = Count();
    if (FSorted) {
        // After the last entry that does not sort above the new one.
        const QString key = ToQString(text);
        int lo = 0, hi = Count();
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (AnsiCompareText(key, ToQString(FModel->At(mid).Text)) < 0)
                hi = mid;
            else
                lo = mid + 1;
        }
        position = lo;
    }
    FModel->Insert(position, {text, object});
    return position;
}

std::vector<int> TCustomListBox::AddItems(std::vector<TListEntry> entries) {
    TNesting programmatic(FProgrammatic);
    const std::size_t existing = std::size_t(Count());
    std::vector<int> positions(entries.size());
    if (!FSorted) {
        std::iota(positions.begin(), positions.end(), int(existing));
        std::vector<TListEntry> all = FModel->Entries();
        std::move(entries.begin(), entries.end(), std::back_inserter(all));
        const int selected = ItemIndex();
        FModel->Assign(std::move(all));
        if (selected >= 0) SetItemIndex(selected);
        return positions;
    }

    // Existing entries first, then the new ones in order; a stable sort keeps entries that
    // compare equal in that order, as one-by-one insertion after equal entries would.
    std::vector<TListEntry> all = FModel->Entries();
    std::move(entries.begin(), entries.end(), std::back_inserter(all));
    std::vector<QString> texts;
    texts.reserve(all.size());
    for (const TListEntry& e : all) texts.push_back(ToQString(e.Text));
    const std::vector<std::size_t> order = TTextSortKeys(texts).StableOrder();
    std::vector<std::size_t> rank(all.size());
    for (std::size_t r = 0; r < order.size(); ++r) rank[order[r]] = r;

    TRankCounter counter(all.size());
    for (std::size_t i = 0; i < existing; ++i) counter.Add(rank[i]);
    for (std::size_t j = 0; j < positions.size(); ++j) {
        const std::size_t r = rank[existing + j];
        positions[j] = counter.CountBelow(r);
        counter.Add(r);
    }

    std::vector<TListEntry> sorted;
    sorted.reserve(all.size());
    for (std::size_t i : order) sorted.push_back(std::move(all[i]));
    const int selected = ItemIndex();
    FModel->Assign(std::move(sorted));
    if (selected >= 0) SetItemIndex(int(rank[std::size_t(selected)]));
    return positions;
}

void TCustomListBox::Clear() {
    TNesting programmatic(FProgrammatic);
    FModel->Clear();
}

void TCustomListBox::CheckRange(int index) const {
    if (index < 0 || index >= Count())
        throw Exception("List index out of bounds (" + std::to_string(index) + ")");
}

const std::string& TCustomListBox::ItemText(int index) const {
    CheckRange(index);
    return FModel->At(index).Text;
}

const void* TCustomListBox::ItemObject(int index) const {
    CheckRange(index);
    return FModel->At(index).Object;
}

void TCustomListBox::SetItemObject(int index, const void* object) {
    CheckRange(index);
    FModel->SetObject(index, object);
}

int TCustomListBox::IndexOfText(const std::string& text) const {
    for (int i = 0; i < Count(); ++i)
        if (AnsiSameText(FModel->At(i).Text, text)) return i;
    return -1;
}

int TCustomListBox::ItemIndex() const {
    if (FModel->Updating() || !selectionModel()) return -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TCustomListBox::SetItemIndex(int index) {
    TNesting programmatic(FProgrammatic);
    if (index < 0 || index >= Count()) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex mi = FModel->index(index);
    selectionModel()->setCurrentIndex(mi, QItemSelectionModel::ClearAndSelect);
    scrollTo(mi);
}

bool TCustomListBox::Selected(int index) const {
    CheckRange(index);
    return selectionModel()->isRowSelected(index, QModelIndex());
}

void TCustomListBox::SetSorted(bool sorted) {
    if (FSorted == sorted) return;
    FSorted = sorted;
    if (!sorted || Count() == 0) return;
    std::vector<TListEntry> entries = FModel->Entries();
    Clear();
    AddItems(std::move(entries));
}

void TCustomListBox::SetItemHeight(int height) {
    if (height <= 0 || height == FItemHeight) return;
    FItemHeight = height;
    // Uniform item sizes are cached by the view: relayout to take the new height.
    scheduleDelayedItemsLayout();
    executeDelayedItemsLayout();
    viewport()->update();
}

void TCustomListBox::ColorApplied() {
    viewport()->update();
}

void TCustomListBox::BeginUpdate() {
    TNesting programmatic(FProgrammatic);
    FModel->BeginUpdate();
}

void TCustomListBox::EndUpdate() {
    TNesting programmatic(FProgrammatic);
    FModel->EndUpdate();
}

void TCustomListBox::RefreshNow() {
    viewport()->repaint();
}

void TCustomListBox::PaintItem(QPainter* painter, int index, const QRect& rect,
                               TOwnerDrawState state) {
    if (index < 0 || index >= Count()) return;
    PaintOwnerDrawnItem(painter, rect, state, Font(), Color(),
                        [&](TCanvas& canvas) { DrawItem(canvas, index, rect, state); });
}

void TCustomListBox::DrawItem(TCanvas& canvas, int index, const QRect& rect,
                              TOwnerDrawState state) {
    (void)state;
    canvas.FillRect(rect);
    canvas.TextOut(rect.left() + 2, rect.top(), ItemText(index));
}

void TCustomListBox::Click() {
    Fire(OnClick, this);
}

void TCustomListBox::DblClick() {
    Fire(OnDblClick, this);
}

void TCustomListBox::KeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TCustomListBox::selectionChanged(const QItemSelection& selected,
                                      const QItemSelection& deselected) {
    QListView::selectionChanged(selected, deselected);
    if (FProgrammatic > 0 || selected.isEmpty()) return;
    // Reported once the view has finished with the input event: the handlers may rebuild the
    // entries, which the view must not see in the middle of its own work.
    FClickPending = true;
    if (FInUserInput == 0) ReportClick();
}

QItemSelectionModel::SelectionFlags TCustomListBox::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
    (void)event;
    // One entry is always selected by the user's input; it is never toggled off.
    if (!index.isValid()) return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::ClearAndSelect;
}

template <class F>
void TCustomListBox::UserInput(F&& body) {
    FClickPending = false;
    {
        TNesting input(FInUserInput);
        body();
    }
    if (FInUserInput == 0 && FClickPending) ReportClick();
}

void TCustomListBox::ReportClick() {
    FClickPending = false;
    SafeCall([this] { Click(); });
}

void TCustomListBox::mousePressEvent(QMouseEvent* event) {
    const bool onEntry =
        event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid();
    UserInput([&] {
        QListView::mousePressEvent(event);
        // A press on the entry that is already selected is reported as well.
        if (onEntry) FClickPending = true;
    });
}

void TCustomListBox::mouseMoveEvent(QMouseEvent* event) {
    UserInput([&] { QListView::mouseMoveEvent(event); });
}

void TCustomListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    UserInput([&] { QListView::mouseDoubleClickEvent(event); });
    if (event->button() == Qt::LeftButton) SafeCall([this] { DblClick(); });
}

void TCustomListBox::keyPressEvent(QKeyEvent* event) {
    UserInput([&] { QListView::keyPressEvent(event); });
    char key = 0;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        key = 13;
    else if (event->text().size() == 1 && event->text()[0].unicode() < 0x80)
        key = char(event->text()[0].unicode());
    event->accept();
    if (key != 0) SafeCall([this, &key] { KeyPress(key); });
}

void TCustomListBox::changeEvent(QEvent* event) {
    QListView::changeEvent(event);
    WatchFontChange(event);
}
