// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "browse/TFileListBox.h"

#include <QScopeGuard>
#include <algorithm>

#include "browse/FileCtrl.h"
#include "browse/TDirectoryListBox.h"
#include "browse/TFilterComboBox.h"
#include "toolkit/TCursor.h"
#include "toolkit/TEdit.h"

namespace {

bool HasWildcard(const std::string& s) {
    return s.find_first_of("*?") != std::string::npos;
}

bool IsProgramExtension(const std::string& ext) {
    return ext == ".exe" || ext == ".com" || ext == ".bat" || ext == ".pif";
}

// Puts the screen cursor back as it was, on every path.
class TCursorScope {
public:
    TCursorScope() : FSaved(TScreen::Cursor()) {}
    ~TCursorScope() { TScreen::SetCursor(FSaved); }
    TCursorScope(const TCursorScope&) = delete;
    TCursorScope& operator=(const TCursorScope&) = delete;

private:
    TCursor FSaved;
};

}  // namespace

TFileListBox::TFileListBox(QWidget* parent) : TCustomListBox(parent) {
    resize(145, height());
    FDirectory = CurrentDirectory();
    LoadGlyphs();
    SetSorted(true);
    FitItemHeight();
}

TFileListBox::~TFileListBox() = default;

void TFileListBox::LoadGlyphs() {
    ExecutableGlyph = TBitmap::FromResource("EXECUTABLE");
    FolderGlyph = TBitmap::FromResource("CLOSEDFOLDER");
    UnknownGlyph = TBitmap::FromResource("UNKNOWNFILE");
}

void TFileListBox::FitItemHeight() {
    int height = FontLineHeight(Font());
    if (FShowGlyphs) height = std::max(height, ExecutableGlyph.Height() + 1);
    SetItemHeight(height);
}

void TFileListBox::FontChanged() {
    FitItemHeight();
}

void TFileListBox::CreateWnd() {
    RereadFiles();
}

bool TFileListBox::BindEvent(std::string_view event, const TNotifyEvent& handler) {
    if (event == "OnChange") {
        OnChange = handler;
        return true;
    }
    return TCustomListBox::BindEvent(event, handler);
}

void TFileListBox::RereadFiles() {
    if (!HandleAllocated()) return;
    try {
        ChangeDirectory(FDirectory);
    } catch (const EInOutError&) {
        if (!AnnounceLoss()) throw;
        return;
    }
    ReadEntries();
    NotifyChanged();
}

bool TFileListBox::AnnounceLoss() {
    if (FAnnouncingLoss) return false;
    FAnnouncingLoss = true;
    const auto done = qScopeGuard([this] { FAnnouncingLoss = false; });
    const std::string lost = FDirectory;
    Clear();
    NotifyChanged();
    return FDirectory != lost;
}

void TFileListBox::ReadEntries() {
    // The attribute bits of ftReadOnly .. ftArchive are the bits of the values themselves.
    const std::uint32_t attributes = FFileType & 0x3F;
    const bool everyFile = (FFileType & FileTypeOf({ftNormal})) != 0;
    std::vector<TListEntry> entries;
    std::size_t start = 0;
    while (start <= FMask.size()) {
        const std::size_t end = std::min(FMask.find(';', start), FMask.size());
        const std::string piece = FMask.substr(start, end - start);
        start = end + 1;
        if (piece.empty()) continue;  // an empty piece matches nothing
        for (TFindData& found : Enumerate(piece, attributes)) {
            if (!everyFile && !(found.Attributes & attributes)) continue;
            if (found.Attributes & FILE_ATTRIBUTE_DIRECTORY) {
                entries.push_back({"[" + found.Name + "]", FShowGlyphs ? &FolderGlyph : nullptr});
            } else {
                const bool program =
                    IsProgramExtension(AnsiLowerCaseFileName(ExtractFileExt(found.Name)));
                entries.push_back(
                    {std::move(found.Name), program ? &ExecutableGlyph : &UnknownGlyph});
            }
        }
    }

    TCursorScope cursor;
    {
        BeginUpdate();
        const auto endUpdate = qScopeGuard([this] { EndUpdate(); });
        Clear();
        const std::vector<int> positions = AddItems(std::move(entries));
        // A long list: the hourglass shows while the view takes the entries.
        if (std::find(positions.begin(), positions.end(), 100) != positions.end())
            TScreen::SetCursor(crHourGlass);
    }
    // A new reading starts at its first entries, not where the last one was scrolled to.
    scrollToTop();
}

void TFileListBox::SetDirectory(const std::string& directory) {
    if (AnsiCompareFileNameOnVolume(directory, FDirectory) == 0) return;
    // The old folder is only the base for a relative path; an absolute one must work without it.
    if (DirectoryExists(FDirectory)) {
        try {
            ChangeDirectory(FDirectory);
        } catch (const EInOutError&) {
        }
    }
    ChangeDirectory(directory);
    FDirectory = CurrentDirectory();
    RereadFiles();
}

void TFileListBox::SetMask(const std::string& mask) {
    if (mask == FMask) return;
    FMask = mask;
    RereadFiles();
}

QString TFileListBox::MaskText() const {
    return ToQString(FMask);
}

void TFileListBox::SetMaskText(const QString& mask) {
    SetMask(FromQString(mask));
}

void TFileListBox::SetFileType(TFileType fileType) {
    if (fileType == FFileType) return;
    FFileType = fileType;
    RereadFiles();
}

void TFileListBox::SetShowGlyphs(bool show) {
    if (show == FShowGlyphs) return;
    FShowGlyphs = show;
    if (show && ExecutableGlyph.Height() + 1 > ItemHeight()) FitItemHeight();
    viewport()->update();
}

void TFileListBox::SetFileEdit(TEdit* edit) {
    FFileEdit = edit;
    if (!edit) return;
    const std::string name = SelectedName();
    edit->SetText(ToQString(name.empty() ? FMask : name));
}

std::string TFileListBox::SelectedName() const {
    const int index = ItemIndex();
    if (index < 0 || Count() == 0 || !Selected(index)) return {};
    return ItemText(index);
}

std::string TFileListBox::SelectedPath() const {
    const std::string name = SelectedName();
    return name.empty() ? std::string() : JoinPath(FDirectory, name);
}

bool TFileListBox::SameName(const std::string& a, const std::string& b) const {
    return AnsiCompareFileNameOnVolume(JoinPath(FDirectory, a), JoinPath(FDirectory, b)) == 0;
}

void TFileListBox::SelectName(const std::string& name) {
    if (SameName(name, SelectedName())) return;
    int index = -1;
    for (int i = 0; i < Count() && index < 0; ++i)
        if (ItemText(i) == name) index = i;
    if (index < 0) index = IndexOfText(name);
    SetItemIndex(index);
    NotifyChanged();
}

void TFileListBox::ApplyPath(const std::string& text) {
    if (text.empty() || AnsiCompareFileNameOnVolume(text, SelectedPath()) == 0) return;
    char drive = 0;
    std::string dirPart, namePart;
    SplitTypedPath(text, drive, dirPart, namePart);
    if (FDirList)
        FDirList->SetDirectory(text);  // moves this list through its link
    else if (drive != 0)
        SetDirectory(std::string(1, drive) + ":" + dirPart);
    else
        SetDirectory(dirPart);

    if (HasWildcard(namePart)) {
        SetMask(namePart);
    } else if (!namePart.empty()) {
        SelectName(namePart);
        if (!FileExists(JoinPath(FDirectory, namePart)))
            throw EInvalidOperation("Invalid file name - " + text);
        if (SelectedName().empty()) {  // the mask hides it: it becomes the mask
            SetMask(namePart);
            SelectName(namePart);
        }
    }
}

void TFileListBox::NotifyChanged() {
    LastSelIndex = ItemIndex();
    if (FFileEdit) {
        const std::string name = SelectedName();
        FFileEdit->SetText(ToQString(name.empty() ? FMask : name));
        FFileEdit->SelectAll();
    }
    Fire(OnChange, this);
}

void TFileListBox::Click() {
    TCustomListBox::Click();
    if (ItemIndex() != LastSelIndex) NotifyChanged();
}

void TFileListBox::DrawItem(TCanvas& canvas, int index, const QRect& rect, TOwnerDrawState state) {
    (void)state;
    canvas.FillRect(rect);
    int textX = 2;
    auto* glyph = static_cast<const TBitmap*>(ItemObject(index));
    if (FShowGlyphs && glyph) {
        const int bottom = rect.top() + rect.height();  // the first row below the entry
        canvas.DrawTransparent(rect.left() + 2, (rect.top() + bottom - glyph->Height()) / 2,
                               *glyph);
        textX = glyph->Width() + 6;
    }
    canvas.TextOut(rect.left() + textX, rect.top(), ItemText(index));
}
