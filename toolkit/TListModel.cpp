// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TListModel.h"

#include "toolkit/TCanvas.h"

int TListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

QVariant TListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count()) return {};
    // The display text serves keyboard search and accessibility; drawing is the control's own.
    const TListEntry& entry = At(index.row());
    if (role == Qt::AccessibleTextRole && !entry.AccessibleText.empty())
        return ToQString(entry.AccessibleText);
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return ToQString(entry.Text);
    return {};
}

void TListModel::SetAccessibleText(int index, std::string text) {
    FEntries[std::size_t(index)].AccessibleText = std::move(text);
}

void TListModel::Insert(int position, TListEntry entry) {
    if (Updating()) {
        FEntries.insert(FEntries.begin() + position, std::move(entry));
        return;
    }
    beginInsertRows(QModelIndex(), position, position);
    FEntries.insert(FEntries.begin() + position, std::move(entry));
    endInsertRows();
}

void TListModel::SetObject(int index, const void* object) {
    FEntries[std::size_t(index)].Object = object;
    if (!Updating()) Q_EMIT dataChanged(this->index(index), this->index(index));
}

void TListModel::Clear() {
    if (Updating()) {
        FEntries.clear();
        return;
    }
    beginResetModel();
    FEntries.clear();
    endResetModel();
}

void TListModel::Assign(std::vector<TListEntry> entries) {
    if (Updating()) {
        FEntries = std::move(entries);
        return;
    }
    beginResetModel();
    FEntries = std::move(entries);
    endResetModel();
}

void TListModel::BeginUpdate() {
    if (FUpdateCount++ == 0) beginResetModel();
}

void TListModel::EndUpdate() {
    if (FUpdateCount == 0) return;
    if (--FUpdateCount == 0) endResetModel();
}
