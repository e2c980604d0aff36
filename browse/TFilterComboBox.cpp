// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "browse/TFilterComboBox.h"

#include "browse/TFileListBox.h"
#include "platform/system/FileNames.h"

TFilterComboBox::TFilterComboBox(QWidget* parent) : TCustomComboBox(parent, false) {}

TFilterComboBox::~TFilterComboBox() = default;

void TFilterComboBox::SetFilter(const std::string& filter) {
    if (AnsiCompareFileName(filter, FFilter) == 0) return;
    FFilter = filter;
    if (HandleAllocated()) ParseFilter();
    Change();
}

QString TFilterComboBox::FilterText() const {
    return ToQString(FFilter);
}

void TFilterComboBox::SetFilterText(const QString& filter) {
    SetFilter(FromQString(filter));
}

TFileListBox* TFilterComboBox::FileList() const {
    return FFileList;
}

void TFilterComboBox::SetFileList(TFileListBox* fileList) {
    if (FFileList) FFileList->FFilterCombo = nullptr;
    FFileList = fileList;
    if (fileList) fileList->FFilterCombo = this;
}

void TFilterComboBox::ParseFilter() {
    Clear();
    EntryMasks.clear();
    std::string rest = FFilter;
    for (std::size_t p; (p = rest.find('|')) != std::string::npos;) {
        const std::string description = rest.substr(0, p);
        rest.erase(0, p + 1);
        std::string mask;
        const std::size_t q = rest.find('|');
        if (q != std::string::npos) {
            mask = rest.substr(0, q);
            rest.erase(0, q + 1);
        } else {
            mask = std::move(rest);
            rest.clear();
        }
        Add(description);
        EntryMasks.push_back(std::move(mask));
    }
    SetItemIndex(0);
}

std::string TFilterComboBox::CurrentMask() {
    if (ItemIndex() < 0) SetItemIndex(Count() - 1);
    const int index = ItemIndex();
    if (index < 0 || std::size_t(index) >= EntryMasks.size()) return "*.*";
    return EntryMasks[std::size_t(index)];
}

void TFilterComboBox::Change() {
    if (FFileList) FFileList->SetMask(CurrentMask());
    TCustomComboBox::Change();
}

void TFilterComboBox::Click() {
    TCustomComboBox::Click();
    Change();
}

void TFilterComboBox::CreateWnd() {
    ParseFilter();
}
