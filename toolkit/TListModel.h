// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The entries of a list box or combo box: a text and an object reference each (for the browser
// controls, the glyph to draw). One model serves both kinds of control.
#include <QAbstractListModel>
#include <string>
#include <utility>
#include <vector>

struct TListEntry {
    // Built from the text and object alone wherever no reader's text is needed.
    TListEntry(std::string text = {}, const void* object = nullptr, std::string accessible = {})
        : Text(std::move(text)), Object(object), AccessibleText(std::move(accessible)) {}

    std::string Text;
    const void* Object = nullptr;
    // What a screen reader reads for the entry when it differs from Text (a colour's readable
    // name beside its identifier); empty: Text.
    std::string AccessibleText;
};

class TListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit TListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    int Count() const { return int(FEntries.size()); }
    const TListEntry& At(int index) const { return FEntries[std::size_t(index)]; }
    const std::vector<TListEntry>& Entries() const { return FEntries; }

    void Insert(int position, TListEntry entry);
    void SetObject(int index, const void* object);
    void SetAccessibleText(int index, std::string text);
    void Clear();
    // Replaces every entry at once: views relayout a single time.
    void Assign(std::vector<TListEntry> entries);

    // Between BeginUpdate and the matching EndUpdate, changes are not announced one by one;
    // EndUpdate announces them as one reset.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return FUpdateCount > 0; }

private:
    std::vector<TListEntry> FEntries;
    int FUpdateCount = 0;
};
