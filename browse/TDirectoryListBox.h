// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The folder tree of the browser panel: the ancestors of the current folder from the drive root
// down, the current folder, and its subfolders, each with a folder glyph. Double-click or Enter
// opens an entry. Every change of folder is passed on to a linked file list and label and
// announced through OnChange.
#include <QPointer>
#include <string>
#include <vector>

#include "toolkit/TBitmap.h"
#include "toolkit/TCustomListBox.h"

class TDriveComboBox;
class TFileListBox;
class TLabel;

class TDirectoryListBox : public TCustomListBox {
    Q_OBJECT

public:
    explicit TDirectoryListBox(QWidget* parent = nullptr);
    ~TDirectoryListBox() override;

    // The current folder in full (no trailing '\' except at a root such as C:\).
    const std::string& Directory() const { return FDirectory; }
    // Moves to a folder (a full or relative path, another drive, a share path); raises the
    // directory-change error when the folder cannot be entered.
    virtual void SetDirectory(const std::string& newDirectory);
    // The drive letter of Directory; setting it moves to that drive's own current folder.
    char Drive() const { return FDirectory.empty() ? char(0) : FDirectory[0]; }
    void SetDrive(char newDrive);

    TFileListBox* FileList() const;
    void SetFileList(TFileListBox* fileList);
    void SetDirLabel(TLabel* label);

    // The full path an entry stands for; empty for an index past the last entry.
    std::string ItemPath(int index) const;
    // Moves to the selected entry's folder; nothing when no entry is selected.
    void OpenSelected();
    // Rebuilds the entries from Directory.
    virtual void FillFolderList();
    // Passes a change of folder on: the linked file list, the label, then OnChange.
    virtual void NotifyChanged();

    // 0 when the two paths name the same folder under the current volume's case rule.
    int ComparePaths(const std::string& a, const std::string& b) const;
    // An entry's text as shown: lower case on a volume that neither keeps nor tells case.
    std::string DisplayName(const std::string& text) const;
    void FitItemHeight();

    bool SettingDirectory = false;
    bool VolumeKeepsCase = false;
    bool VolumeCaseSensitive = false;
    TBitmap ClosedGlyph;
    TBitmap OpenGlyph;
    TBitmap CurrentGlyph;

    TNotifyEvent OnChange;
    bool BindEvent(std::string_view event, const TNotifyEvent& handler) override;

protected:
    virtual void LoadGlyphs();
    void DrawItem(TCanvas& canvas, int index, const QRect& rect, TOwnerDrawState state) override;
    void DblClick() override;
    void KeyPress(char& key) override;
    void FontChanged() override;
    void CreateWnd() override;

private:
    friend class TDriveComboBox;
    friend class TFileListBox;

    void EnterDirectory(const std::string& dir);
    // NotifyChanged while a failed change is being raised; what it meets is not reported.
    void NotifyAfterFailure();
    void RefreshDirLabel();
    // The subfolders of `parent` in the locale's case-insensitive order.
    static std::vector<std::string> ListSubfolders(const std::string& parent);

    std::string FDirectory;
    QPointer<TFileListBox> FFileList;
    QPointer<TDriveComboBox> FDriveCombo;
    QPointer<TLabel> FDirLabel;
};
