// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The file list of the browser panel: the entries of one folder that match a mask and a set of
// attributes, sorted, optionally with glyphs. It re-reads whenever its folder, mask or
// attributes change, mirrors the selection into a linked edit box, accepts typed paths
// (ApplyPath) and announces every re-read and every selection by the user through OnChange.
#include <QPointer>
#include <cstdint>
#include <string>

#include "toolkit/TBitmap.h"
#include "toolkit/TCustomListBox.h"

class TDirectoryListBox;
class TEdit;
class TFilterComboBox;

enum TFileAttr { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };
// A set of TFileAttr: bit n for value n.
using TFileType = std::uint8_t;
constexpr TFileType FileTypeOf(std::initializer_list<TFileAttr> attrs) {
    TFileType set = 0;
    for (TFileAttr a : attrs) set = TFileType(set | (1u << a));
    return set;
}

class TFileListBox : public TCustomListBox {
    Q_OBJECT
    Q_PROPERTY(QString Mask READ MaskText WRITE SetMaskText)
    Q_PROPERTY(bool ShowGlyphs READ ShowGlyphs WRITE SetShowGlyphs)
    Q_PROPERTY(int FileType READ FileTypeBits WRITE SetFileTypeBits)

public:
    explicit TFileListBox(QWidget* parent = nullptr);
    ~TFileListBox() override;

    // The folder listed, in full.
    const std::string& Directory() const { return FDirectory; }
    // Moves to another folder and re-reads; raises the directory-change error when the folder
    // cannot be entered (nothing changes then).
    void SetDirectory(const std::string& directory);
    // One or more masks separated by ";".
    const std::string& Mask() const { return FMask; }
    void SetMask(const std::string& mask);
    TFileType FileType() const { return FFileType; }
    void SetFileType(TFileType fileType);
    bool ShowGlyphs() const { return FShowGlyphs; }
    void SetShowGlyphs(bool show);
    void SetFileEdit(TEdit* edit);

    // Reads the entries again (only once the window exists) and notifies.
    virtual void RereadFiles();
    // Directory joined with the selected entry's text; empty when nothing is selected.
    virtual std::string SelectedPath() const;
    // Applies a typed path or mask: a folder part moves the list, a wildcard name becomes the
    // mask, a plain name selects that file ("Invalid file name - %s" when there is none).
    virtual void ApplyPath(const std::string& text);
    // The selected entry's text ("[Sub]" for a folder); empty when nothing is selected.
    std::string SelectedName() const;
    // Selects the entry of that name (letter case ignored when no entry has it exactly) and
    // notifies; nothing when it is the selected one already.
    void SelectName(const std::string& name);
    // Passes the current selection on: LastSelIndex, the linked edit box, then OnChange.
    virtual void NotifyChanged();
    void FitItemHeight();

    int LastSelIndex = -1;
    TBitmap ExecutableGlyph;
    TBitmap FolderGlyph;
    TBitmap UnknownGlyph;

    TNotifyEvent OnChange;
    bool BindEvent(std::string_view event, const TNotifyEvent& handler) override;

    QString MaskText() const;
    void SetMaskText(const QString& mask);
    int FileTypeBits() const { return FFileType; }
    void SetFileTypeBits(int bits) { SetFileType(TFileType(bits)); }

protected:
    virtual void LoadGlyphs();
    void DrawItem(TCanvas& canvas, int index, const QRect& rect, TOwnerDrawState state) override;
    void Click() override;
    void FontChanged() override;
    void CreateWnd() override;

private:
    friend class TDirectoryListBox;
    friend class TFilterComboBox;

    void ReadEntries();
    // The listed folder can no longer be entered (removed, a medium taken out): its entries go,
    // and the owner hears of it (OnChange) so that it can move the list somewhere that exists.
    // True when it did, so that the loss needs no report.
    bool AnnounceLoss();
    // Same entry of this folder under the volume's case rule.
    bool SameName(const std::string& a, const std::string& b) const;

    std::string FDirectory;
    std::string FMask = "*.*";
    TFileType FFileType = FileTypeOf({ftNormal});
    bool FShowGlyphs = false;
    bool FAnnouncingLoss = false;
    QPointer<TEdit> FFileEdit;
    QPointer<TDirectoryListBox> FDirList;
    QPointer<TFilterComboBox> FFilterCombo;
};
