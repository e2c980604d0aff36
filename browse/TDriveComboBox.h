// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The drive selector: a drop-down list of the machine's drives, each with a glyph for its kind
// and its volume label or share name. Picking a drive moves a linked directory list to that
// drive's current folder and raises OnChange.
#include <QPointer>
#include <string>

#include "toolkit/TBitmap.h"
#include "toolkit/TCustomComboBox.h"

class TDirectoryListBox;

enum TTextCase { tcLowerCase, tcUpperCase };

class TDriveComboBox : public TCustomComboBox {
    Q_OBJECT
    Q_PROPERTY(QString TextCase READ TextCaseName WRITE SetTextCaseName)

public:
    explicit TDriveComboBox(QWidget* parent = nullptr);
    ~TDriveComboBox() override;

    TDirectoryListBox* DirList() const;
    void SetDirList(TDirectoryListBox* dirList);
    // The selected drive letter in the case TextCase gives; 0 for none.
    char Drive() const { return FDrive; }
    void SetDrive(char newDrive);
    TTextCase TextCase() const { return FTextCase; }
    void SetTextCase(TTextCase textCase);
    QString TextCaseName() const;
    void SetTextCaseName(const QString& name);  // "tcLowerCase" or "tcUpperCase"

    // Rebuilds the entries from the drives present, read afresh.
    virtual void FillDriveList();
    // Opening the list fills it afresh, the current drive still selected.
    void showPopup() override;
    void FitItemHeight();

    // "[label]" of a drive's volume, in the case of `letter`; "[]" when it has none or cannot be
    // read (no medium).
    static std::string VolumeLabelText(char letter);
    // The share a network drive stands for (\\server\share) in the case of `letter`, or the
    // volume label text when that cannot be read.
    static std::string NetworkShareText(char letter);

    TBitmap FloppyGlyph;
    TBitmap FixedGlyph;
    TBitmap NetworkGlyph;
    TBitmap CDROMGlyph;
    TBitmap RAMGlyph;

protected:
    virtual void LoadGlyphs();
    void DrawItem(TCanvas& canvas, int index, const QRect& rect, TOwnerDrawState state) override;
    void Click() override;
    void FontChanged() override;
    void CreateWnd() override;

private:
    // Selects the entry of a drive letter (either case); the selection stays when none is.
    void SelectEntryOf(char drive);

    QPointer<TDirectoryListBox> FDirList;
    char FDrive = 0;
    TTextCase FTextCase = tcLowerCase;
};
