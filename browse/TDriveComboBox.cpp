// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "browse/TDriveComboBox.h"

#include <algorithm>
#include <cctype>

#include "browse/FileCtrl.h"
#include "browse/TDirectoryListBox.h"

namespace {

char UpperLetter(char c) {
    return char(std::toupper(static_cast<unsigned char>(c)));
}
char LowerLetter(char c) {
    return char(std::tolower(static_cast<unsigned char>(c)));
}

// A text in the case of the drive letter it belongs to.
std::string InCaseOf(char letter, const std::string& text) {
    return static_cast<unsigned char>(letter) >= 0x61 ? AnsiLowerCaseFileName(text)
                                                      : AnsiUpperCaseFileName(text);
}

}  // namespace

TDriveComboBox::TDriveComboBox(QWidget* parent) : TCustomComboBox(parent, true) {
    LoadGlyphs();
    const std::string current = CurrentDirectory();
    FDrive = current.empty() || current[0] == '\\' ? char(0) : current[0];
    FitItemHeight();
}

TDriveComboBox::~TDriveComboBox() = default;

void TDriveComboBox::LoadGlyphs() {
    FloppyGlyph = TBitmap::FromResource("FLOPPY");
    FixedGlyph = TBitmap::FromResource("HARD");
    NetworkGlyph = TBitmap::FromResource("NETWORK");
    CDROMGlyph = TBitmap::FromResource("CDROM");
    RAMGlyph = TBitmap::FromResource("RAM");
}

void TDriveComboBox::FitItemHeight() {
    SetItemHeight(std::max(FontLineHeight(Font()), FloppyGlyph.Height()));
}

void TDriveComboBox::FontChanged() {
    FitItemHeight();
    RecreateWnd();
}

void TDriveComboBox::CreateWnd() {
    FillDriveList();
    SetDrive(FDrive);
}

TDirectoryListBox* TDriveComboBox::DirList() const {
    return FDirList;
}

void TDriveComboBox::SetDirList(TDirectoryListBox* dirList) {
    if (FDirList) FDirList->FDriveCombo = nullptr;
    FDirList = dirList;
    if (dirList) dirList->FDriveCombo = this;
}

void TDriveComboBox::SetDrive(char newDrive) {
    if (ItemIndex() >= 0 && UpperLetter(newDrive) == UpperLetter(FDrive)) return;
    if (newDrive == 0) {
        FDrive = 0;
        SetItemIndex(-1);
    } else {
        FDrive = FTextCase == tcUpperCase ? UpperLetter(newDrive) : LowerLetter(newDrive);
        SelectEntryOf(FDrive);
    }
    if (FDirList) FDirList->SetDrive(FDrive);
    Change();
}

void TDriveComboBox::SetTextCase(TTextCase textCase) {
    if (textCase == FTextCase) return;
    FTextCase = textCase;
    const char drive = FDrive;
    FillDriveList();
    SetDrive(drive);
}

QString TDriveComboBox::TextCaseName() const {
    return FTextCase == tcUpperCase ? QStringLiteral("tcUpperCase") : QStringLiteral("tcLowerCase");
}

void TDriveComboBox::SetTextCaseName(const QString& name) {
    SetTextCase(name == QLatin1String("tcUpperCase") ? tcUpperCase : tcLowerCase);
}

std::string TDriveComboBox::VolumeLabelText(char letter) {
    // Linux shows no dialog for a drive without medium: the query just fails.
    TVolumeInformation info;
    const std::string label =
        GetVolumeInformation(std::string(1, letter) + ":\\", info) ? info.VolumeName : "";
    return "[" + InCaseOf(letter, label) + "]";
}

std::string TDriveComboBox::NetworkShareText(char letter) {
    std::string remote;
    if (GetRemoteName(std::string(1, UpperLetter(letter)) + ":", remote))
        return InCaseOf(letter, remote);
    return VolumeLabelText(letter);
}

void TDriveComboBox::FillDriveList() {
    Clear();
    // The drives as they are now: a stick or share mounted meanwhile is among them.
    RefreshVolumeTable();
    const std::uint32_t drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i))) continue;
        char letter = char('a' + i);
        const int type = GetDriveType(std::string(1, letter) + ":\\");
        if (FTextCase == tcUpperCase) letter = UpperLetter(letter);
        const std::string name = std::string(1, letter) + ":";
        switch (type) {
            case DRIVE_REMOVABLE:
                Add(name, &FloppyGlyph);
                break;  // no medium is touched
            case DRIVE_FIXED:
                Add(name + " " + VolumeLabelText(letter), &FixedGlyph);
                break;
            case DRIVE_REMOTE:
                Add(name + " " + NetworkShareText(letter), &NetworkGlyph);
                break;
            case DRIVE_CDROM:
                Add(name + " " + VolumeLabelText(letter), &CDROMGlyph);
                break;
            case DRIVE_RAMDISK:
                Add(name + " " + VolumeLabelText(letter), &RAMGlyph);
                break;
            default:
                break;  // undeterminable, or no root folder
        }
    }
}

void TDriveComboBox::showPopup() {
    // Opening the list shows the drives as they are now. The selection stays on the drive it
    // was on, without a notification: nothing has been picked yet.
    FillDriveList();
    SelectEntryOf(FDrive);
    TCustomComboBox::showPopup();
}

void TDriveComboBox::SelectEntryOf(char drive) {
    for (int i = 0; i < Count(); ++i) {
        const std::string& text = ItemText(i);
        if (text.size() >= 2 && UpperLetter(text[0]) == UpperLetter(drive) && text[1] == ':') {
            SetItemIndex(i);
            return;
        }
    }
}

void TDriveComboBox::Click() {
    TCustomComboBox::Click();
    const int index = ItemIndex();
    if (index >= 0) SetDrive(ItemText(index)[0]);
}

void TDriveComboBox::DrawItem(TCanvas& canvas, int index, const QRect& rect,
                              TOwnerDrawState state) {
    (void)state;
    canvas.FillRect(rect);
    int glyphWidth = 16;
    if (auto* glyph = static_cast<const TBitmap*>(ItemObject(index))) {
        glyphWidth = glyph->Width();
        const int bottom = rect.top() + rect.height();  // the first row below the entry
        canvas.DrawTransparent(rect.left() + 2, (rect.top() + bottom - glyph->Height()) / 2,
                               *glyph);
    }
    QRect textRect = rect;
    textRect.setLeft(rect.left() + glyphWidth + 6);
    canvas.DrawText(ItemText(index), textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}
