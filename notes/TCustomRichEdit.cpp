// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "notes/TCustomRichEdit.h"

#include <QKeyEvent>

#include "toolkit/Events.h"
#include "toolkit/TForm.h"

using namespace RichEdit;

namespace {

std::uint32_t ColorRef(TColor color) {
    return ColorToRGB(color) & 0x00FFFFFF;
}

}  // namespace

TCustomRichEdit::TCustomRichEdit(QWidget* parent)
    : RichEditControl(parent), FLines(std::make_unique<TRichEditStrings>(this)) {
    setFocusPolicy(Qt::StrongFocus);
    setTabChangesFocus(true);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    resize(185, 89);
    FFont.OnChange = [this] { FontChanged(); };
    OnNotifyChange = [this] { SafeCall([this] { Change(); }); };
    OnNotifySelChange = [this] { SafeCall([this] { SelectionChange(); }); };
    OnNotifyRequestResize = [this](const QRect& rect) {
        SafeCall([&] {
            if (OnResizeRequest) OnResizeRequest(this, rect);
        });
    };
    OnNotifyProtected = [this](int start, int end) {
        bool allow = false;
        SafeCall([&] {
            if (OnProtectChange) OnProtectChange(this, start, end, allow);
        });
        return allow;
    };
    OnNotifySaveClipboard = [this](int objects, int chars) {
        bool save = true;
        SafeCall([&] {
            if (OnSaveClipboard) OnSaveClipboard(this, objects, chars, save);
        });
        return save;
    };
    ApplyScrollBars();
    FollowWindow();
    FontChanged();
    FParentFont = true;
}

TCustomRichEdit::~TCustomRichEdit() {
    // Asked while this object can still answer through its handler.
    ReleaseClipboard();
    if (FWatchedWindow) FWatchedWindow->removeEventFilter(this);
}

bool TCustomRichEdit::BindEvent(std::string_view event, const TNotifyEvent& handler) {
    if (event == "OnChange") {
        OnChange = handler;
        return true;
    }
    if (event == "OnSelectionChange") {
        OnSelectionChange = handler;
        return true;
    }
    return false;
}

// The window exists: limit, notifications and background as the settings say; Modified is
// kept across.
void TCustomRichEdit::CreateWnd() {
    const bool modified = Modified();
    EmExLimitText(FMaxLength);
    EmSetEventMask(ENM_CHANGE | ENM_REQUESTRESIZE | ENM_SELCHANGE | ENM_PROTECTED);
    EmSetBkgndColor(false, ToQColor(ColorToRGB(FColor)));
    SetModified(modified);
}

void TCustomRichEdit::Change() {
    Fire(OnChange, this);
}

void TCustomRichEdit::SelectionChange() {
    Fire(OnSelectionChange, this);
}

// ---------------------------------------------------------------------------------------------
// Text and selection

void TCustomRichEdit::Clear() {
    WmSetText(QString());
    SetModified(false);
}

void TCustomRichEdit::SetText(const std::string& text) {
    WmSetText(QString::fromStdString(text));
}

std::string TCustomRichEdit::Text() const {
    return WmGetText().toStdString();
}

void TCustomRichEdit::SetSelStart(int start) {
    EmExSetSel({start, start});
}

int TCustomRichEdit::SelLength() const {
    const CharRange r = EmExGetSel();
    return r.cpMax - r.cpMin;
}

void TCustomRichEdit::SetSelLength(int length) {
    const CharRange r = EmExGetSel();
    EmExSetSel({r.cpMin, r.cpMin + length});
}

std::string TCustomRichEdit::SelText() const {
    return EmGetSelText().toStdString();
}

void TCustomRichEdit::SetSelText(const std::string& text) {
    EmReplaceSel(QString::fromStdString(text));
}

void TCustomRichEdit::SelectAll() {
    EmExSetSel({0, -1});
}

QPoint TCustomRichEdit::CaretPos() {
    const int end = EmExGetSel().cpMax;
    return QPoint(end - EmLineIndex(-1), EmExLineFromChar(end));
}

// ---------------------------------------------------------------------------------------------
// Settings

QString TCustomRichEdit::ScrollBarsName() const {
    return ScrollStyleName(FScrollBars);
}

void TCustomRichEdit::SetScrollBarsName(const QString& name) {
    SetScrollBars(ScrollStyleFromName(name));
}

void TCustomRichEdit::SetScrollBars(TScrollStyle style) {
    if (FScrollBars == style) return;
    FScrollBars = style;
    ApplyScrollBars();
}

// Hidden scroll bars show only when needed; otherwise a chosen bar is always there.
void TCustomRichEdit::ApplyScrollBars() {
    const Qt::ScrollBarPolicy shown =
        FHideScrollBars ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    const bool vertical = FScrollBars == ssVertical || FScrollBars == ssBoth;
    const bool horizontal = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    setVerticalScrollBarPolicy(vertical ? shown : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(horizontal ? shown : Qt::ScrollBarAlwaysOff);
}

void TCustomRichEdit::SetWordWrap(bool on) {
    if (FWordWrap == on) return;
    FWordWrap = on;
    setLineWrapMode(on ? WidgetWidth : NoWrap);
    LayOutTallNoteSoon();
}

// The control is not re-created for this: the scroll bars change in place and the content,
// formats and Modified stay as they are.
void TCustomRichEdit::SetHideScrollBars(bool on) {
    if (FHideScrollBars == on) return;
    FHideScrollBars = on;
    ApplyScrollBars();
}

void TCustomRichEdit::SetHideSelection(bool on) {
    if (FHideSelection == on) return;
    FHideSelection = on;
    EmHideSelection(on);
}

void TCustomRichEdit::SetMaxLength(int length) {
    if (FMaxLength == length) return;
    FMaxLength = length;
    if (HandleAllocated()) EmExLimitText(length);
}

void TCustomRichEdit::SetColor(TColor color) {
    if (FColor == color) return;
    FColor = color;
    if (HandleAllocated()) EmSetBkgndColor(false, ToQColor(ColorToRGB(color)));
}

// ---------------------------------------------------------------------------------------------
// Font

void TCustomRichEdit::SetParentFont(bool on) {
    if (FParentFont == on) return;
    FParentFont = on;
    SyncParentFont();
}

// The default character format takes the font's colour, face, character set, style and
// size, one attribute at a time.
void TCustomRichEdit::FontChanged() {
    if (!FSyncingFont) FParentFont = false;
    CharFormat f;
    f.Mask = CFM_COLOR;
    if (FFont.Color == clWindowText || FFont.Color == clDefault) {
        f.Effects = CFE_AUTOCOLOR;
    } else {
        f.TextColor = ColorRef(FFont.Color);
    }
    EmSetCharFormat(SCF_DEFAULT, f);

    f = CharFormat{};
    f.Mask = CFM_FACE;
    f.FaceName = FFont.Name;
    EmSetCharFormat(SCF_DEFAULT, f);

    f = CharFormat{};
    f.Mask = CFM_CHARSET;
    f.CharSet = FFont.Charset;
    EmSetCharFormat(SCF_DEFAULT, f);

    f = CharFormat{};
    f.Mask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    f.Effects = FFont.Style & (fsBold | fsItalic | fsUnderline | fsStrikeOut);
    EmSetCharFormat(SCF_DEFAULT, f);

    f = CharFormat{};
    f.Mask = CFM_SIZE;
    f.Height = FFont.Size() * 20;
    EmSetCharFormat(SCF_DEFAULT, f);
}

// Watches the window this control sits in, whose font it follows.
void TCustomRichEdit::FollowWindow() {
    QWidget* top = window();
    if (top == this) top = nullptr;
    if (FWatchedWindow == top) return;
    if (FWatchedWindow) FWatchedWindow->removeEventFilter(this);
    FWatchedWindow = top;
    if (top) top->installEventFilter(this);
    SyncParentFont();
}

void TCustomRichEdit::SyncParentFont() {
    if (!FParentFont) return;
    auto* form = qobject_cast<TForm*>(FWatchedWindow.data());
    if (!form || FFont == form->Font()) return;
    FSyncingFont = true;
    FFont.Assign(form->Font());
    FSyncingFont = false;
}

bool TCustomRichEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FWatchedWindow &&
        (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange))
        SafeCall([this] { SyncParentFont(); });
    return RichEditControl::eventFilter(watched, event);
}

void TCustomRichEdit::changeEvent(QEvent* event) {
    RichEditControl::changeEvent(event);
    if (event->type() == QEvent::ParentChange) FollowWindow();
}

// Without WantReturns, Enter belongs to the window (its default button); Ctrl+Enter still
// breaks the line.
void TCustomRichEdit::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !FWantReturns && !(event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    RichEditControl::keyPressEvent(event);
}
