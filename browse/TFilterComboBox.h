// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The filter selector: a drop-down list of file-type descriptions, each standing for a mask
// (Filter holds "description|mask|description|mask..."). The chosen entry's mask is
// CurrentMask; a linked file list takes it as its Mask on every change.
#include <QPointer>
#include <string>
#include <vector>

#include "toolkit/TCustomComboBox.h"

class TFileListBox;

class TFilterComboBox : public TCustomComboBox {
    Q_OBJECT
    Q_PROPERTY(QString Filter READ FilterText WRITE SetFilterText)

public:
    static constexpr const char* DefaultFilter = "All files (*.*)|*.*";

    explicit TFilterComboBox(QWidget* parent = nullptr);
    ~TFilterComboBox() override;

    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& filter);
    TFileListBox* FileList() const;
    void SetFileList(TFileListBox* fileList);

    // The selected entry's mask; with nothing selected the last entry is selected first, and an
    // empty list gives "*.*".
    std::string CurrentMask();
    // Rebuilds the entries and EntryMasks from Filter and selects the first entry.
    void ParseFilter();

    // EntryMasks[i] is the mask of entry i.
    std::vector<std::string> EntryMasks;

    QString FilterText() const;
    void SetFilterText(const QString& filter);

protected:
    void Click() override;
    // A linked file list takes CurrentMask, then OnChange is raised.
    void Change() override;
    void CreateWnd() override;

private:
    std::string FFilter = DefaultFilter;
    QPointer<TFileListBox> FFileList;
};
