// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "browse/TDirectoryListBox.h"

#include <QScopeGuard>
#include <algorithm>
#include <cctype>

#include "browse/FileCtrl.h"
#include "browse/PathShortening.h"
#include "browse/TDriveComboBox.h"
#include "browse/TFileListBox.h"
#include "toolkit/TLabel.h"
#include "toolkit/TextCompare.h"

namespace {

char UpperLetter(char c) {
    return char(std::toupper(static_cast<unsigned char>(c)));
}

// Ends a bulk update of the entries on every path.
class TUpdateScope {
public:
    explicit TUpdateScope(TCustomListBox& list) : FList(list) { FList.BeginUpdate(); }
    ~TUpdateScope() { FList.EndUpdate(); }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TCustomListBox& FList;
};

}  // namespace

TDirectoryListBox::TDirectoryListBox(QWidget* parent) : TCustomListBox(parent) {
    resize(145, height());
    SetSorted(false);  // ancestors keep their path order; subfolders are sorted apart
    LoadGlyphs();
    FDirectory = CurrentDirectory();
    FitItemHeight();
}

TDirectoryListBox::~TDirectoryListBox() = default;

void TDirectoryListBox::LoadGlyphs() {
    ClosedGlyph = TBitmap::FromResource("CLOSEDFOLDER");
    OpenGlyph = TBitmap::FromResource("OPENFOLDER");
    CurrentGlyph = TBitmap::FromResource("CURRENTFOLDER");
}

void TDirectoryListBox::FitItemHeight() {
    SetItemHeight(std::max(FontLineHeight(Font()), OpenGlyph.Height() + 1));
}

void TDirectoryListBox::FontChanged() {
    FitItemHeight();
}

void TDirectoryListBox::CreateWnd() {
    FillFolderList();
}

bool TDirectoryListBox::BindEvent(std::string_view event, const TNotifyEvent& handler) {
    if (event == "OnChange") {
        OnChange = handler;
        return true;
    }
    return TCustomListBox::BindEvent(event, handler);
}

void TDirectoryListBox::SetDirectory(const std::string& newDirectory) {
    if (newDirectory.empty() || ComparePaths(newDirectory, FDirectory) == 0) return;
    const std::string oldDirectory = FDirectory;
    try {
        char newDrive = 0;
        std::string dirPart, namePart;
        SplitTypedPath(newDirectory, newDrive, dirPart, namePart);
        if (newDrive != Drive()) {
            SettingDirectory = true;
            const auto settled = qScopeGuard([this] { SettingDirectory = false; });
            if (FDriveCombo) FDriveCombo->SetDrive(newDrive);
            // A selector that already shows the drive (its last move failed) does not move this
            // list; then it moves itself.
            if (UpperLetter(newDrive) != UpperLetter(Drive())) SetDrive(newDrive);
        }
        EnterDirectory(dirPart);
    } catch (const EInOutError&) {
        // Never leave stale entries behind: a folder listed here may have gone, or the drive
        // change went through before the folder failed. When this list's own folder has gone,
        // the owner hears of it too, so that a file list showing that folder lets its files go.
        if (HandleAllocated()) FillFolderList();
        if (FDirectory != oldDirectory || !DirectoryExists(FDirectory)) NotifyAfterFailure();
        throw;
    }
}

void TDirectoryListBox::NotifyAfterFailure() {
    // The failure being raised is the one to report; what the owner meets on the way is a
    // consequence of it.
    try {
        NotifyChanged();
    } catch (const Exception&) {
    }
}

void TDirectoryListBox::EnterDirectory(const std::string& dir) {
    // The current folder is only the base for a relative `dir`; when it cannot be entered any
    // more, an absolute `dir` must still work.
    if (DirectoryExists(FDirectory)) {
        try {
            ChangeDirectory(FDirectory);
        } catch (const EInOutError&) {
        }
    }
    ChangeDirectory(dir);
    FDirectory = CurrentDirectory();
    FillFolderList();
    NotifyChanged();
}

void TDirectoryListBox::SetDrive(char newDrive) {
    if (UpperLetter(newDrive) == UpperLetter(Drive())) return;
    if (newDrive != 0) {
        ChangeDirectory(std::string(1, newDrive) + ":");
        FDirectory = CurrentDirectory();
    }
    if (!SettingDirectory) {
        FillFolderList();
        NotifyChanged();
    }
}

TFileListBox* TDirectoryListBox::FileList() const {
    return FFileList;
}

void TDirectoryListBox::SetFileList(TFileListBox* fileList) {
    if (FFileList) FFileList->FDirList = nullptr;
    FFileList = fileList;
    if (fileList) fileList->FDirList = this;
}

void TDirectoryListBox::SetDirLabel(TLabel* label) {
    FDirLabel = label;
    RefreshDirLabel();
}

std::vector<std::string> TDirectoryListBox::ListSubfolders(const std::string& parent) {
    std::vector<std::string> names;
    for (TFindData& found : Enumerate(JoinPath(parent, "*.*"), FILE_ATTRIBUTE_DIRECTORY)) {
        if (!(found.Attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        if (found.Name == "." || found.Name == "..") continue;
        names.push_back(std::move(found.Name));
    }
    // Names equal but for letter case are different folders on a volume that tells case: both
    // stay, in byte order (the order they have going into the stable sort).
    std::sort(names.begin(), names.end());
    std::vector<QString> texts;
    texts.reserve(names.size());
    for (const std::string& n : names) texts.push_back(ToQString(n));
    const std::vector<std::size_t> order = TTextSortKeys(texts).StableOrder();
    std::vector<std::string> result;
    result.reserve(names.size());
    for (std::size_t i : order)
        if (result.empty() || result.back() != names[i]) result.push_back(std::move(names[i]));
    return result;
}

void TDirectoryListBox::FillFolderList() {
    int currentIndex = -1;
    {
        TUpdateScope update(*this);
        Clear();
        const std::string root = ExtractFileDrive(FDirectory) + "\\";
        TVolumeInformation info;
        const std::uint32_t flags = GetVolumeInformation(root, info) ? info.FileSystemFlags : 0;
        VolumeKeepsCase = (flags & (FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES)) != 0;
        VolumeCaseSensitive = (flags & FILE_CASE_SENSITIVE_SEARCH) != 0;

        std::vector<TListEntry> entries;
        int level = 0;
        std::string rest = FDirectory;
        if (root.size() >= 2 && root[1] == '\\') {  // a share: its root is the first ancestor
            entries.push_back({root, &OpenGlyph});
            level = 1;
            rest = FDirectory.size() > root.size() ? FDirectory.substr(root.size()) : std::string();
        }
        if (!rest.empty()) {
            if (rest.back() != '\\') {
                for (std::size_t p; (p = rest.find('\\')) != std::string::npos; ++level) {
                    std::string part = rest.substr(0, p) + (level == 0 ? "\\" : "");
                    rest.erase(0, p + 1);
                    entries.push_back({std::move(part), &OpenGlyph});
                }
            }
            entries.push_back({rest, &CurrentGlyph});
        }
        currentIndex = int(entries.size()) - 1;
        for (std::string& name : ListSubfolders(FDirectory))
            entries.push_back({std::move(name), &ClosedGlyph});
        AddItems(std::move(entries));
    }
    if (HandleAllocated()) SetItemIndex(currentIndex);
}

std::string TDirectoryListBox::ItemPath(int index) const {
    if (index < 0 || index >= Count()) return {};
    const std::string drive = ExtractFileDrive(FDirectory);
    if (index == 0) return drive + "\\";
    const void* glyph = ItemObject(index);
    if (glyph == &ClosedGlyph) return JoinPath(FDirectory, ItemText(index));
    if (glyph == &CurrentGlyph) return FDirectory;
    // An ancestor: the path up to the backslash that follows its own name.
    const std::string rest = FDirectory.substr(drive.size());
    std::size_t end = std::string::npos;
    int seen = 0;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '\\' && ++seen == index + 1) {
            end = i;
            break;
        }
    }
    return drive + rest.substr(0, end);
}

void TDirectoryListBox::OpenSelected() {
    const int index = ItemIndex();
    if (index < 0) return;
    SetDirectory(ItemPath(index));
}

void TDirectoryListBox::NotifyChanged() {
    if (FFileList) FFileList->SetDirectory(FDirectory);
    RefreshDirLabel();
    Fire(OnChange, this);
}

void TDirectoryListBox::RefreshDirLabel() {
    if (!FDirLabel) return;
    const int available = FDirLabel->AutoSize() ? width() : FDirLabel->width();
    TCanvas canvas;
    canvas.Font.Assign(ControlFont(FDirLabel));
    FDirLabel->SetCaption(ToQString(ShortenPathToWidth(FDirectory, canvas, available)));
}

int TDirectoryListBox::ComparePaths(const std::string& a, const std::string& b) const {
    if (!VolumeCaseSensitive) return AnsiCompareFileName(a, b);
    // Letter case counts on this volume, except in the drive letter.
    const bool sameDrive = a.size() >= 2 && b.size() >= 2 && a[1] == ':' && b[1] == ':' &&
                           UpperLetter(a[0]) == UpperLetter(b[0]);
    if (a == b || (sameDrive && a.compare(1, std::string::npos, b, 1, std::string::npos) == 0))
        return 0;
    const int c = AnsiCompareStr(a, b);
    return c != 0 ? c : (a < b ? -1 : 1);
}

std::string TDirectoryListBox::DisplayName(const std::string& text) const {
    if (VolumeKeepsCase || VolumeCaseSensitive) return text;
    return AnsiLowerCaseFileName(text);
}

void TDirectoryListBox::DrawItem(TCanvas& canvas, int index, const QRect& rect,
                                 TOwnerDrawState state) {
    (void)state;
    canvas.FillRect(rect);
    int glyphWidth = 16;
    int indent = index * 4 + 2;
    if (auto* glyph = static_cast<const TBitmap*>(ItemObject(index))) {
        // Subfolders share one indent, one step deeper than the current folder.
        if (glyph == &ClosedGlyph) indent = (PathDepth(FDirectory) + 1) * 4 + 2;
        glyphWidth = glyph->Width();
        const int bottom = rect.top() + rect.height();  // the first row below the entry
        canvas.DrawTransparent(rect.left() + indent, (rect.top() + bottom - glyph->Height()) / 2,
                               *glyph);
    }
    canvas.TextOut(rect.left() + glyphWidth + indent + 4, rect.top(), DisplayName(ItemText(index)));
}

void TDirectoryListBox::DblClick() {
    TCustomListBox::DblClick();
    OpenSelected();
}

void TDirectoryListBox::KeyPress(char& key) {
    TCustomListBox::KeyPress(key);
    if (key == 13) OpenSelected();
}
