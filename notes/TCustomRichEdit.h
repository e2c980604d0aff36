// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The note area: a multi-line rich-text control with its line list (Lines), published
// settings for layouts, the font that follows its window's, and the change, selection,
// resize-request, protected-text and clipboard events.
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>
#include <string>

#include "notes/TConversion.h"
#include "notes/TRichEditStrings.h"
#include "platform/richedit/RichEditControl.h"
#include "toolkit/Graphics.h"
#include "toolkit/TComponent.h"
#include "toolkit/TFont.h"
#include "toolkit/TScrollStyle.h"

using TRichEditResizeEvent = std::function<void(QObject* Sender, const QRect& Rect)>;
using TRichEditProtectChange =
    std::function<void(QObject* Sender, int StartPos, int EndPos, bool& AllowChange)>;
using TRichEditSaveClipboard =
    std::function<void(QObject* Sender, int NumObjects, int NumChars, bool& SaveClipboard)>;

class TCustomRichEdit : public RichEdit::RichEditControl, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString ScrollBars READ ScrollBarsName WRITE SetScrollBarsName)
    Q_PROPERTY(bool PlainText READ PlainText WRITE SetPlainText)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool HideScrollBars READ HideScrollBars WRITE SetHideScrollBars)
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool WantReturns READ WantReturns WRITE SetWantReturns)
    Q_PROPERTY(bool WantTabs READ WantTabs WRITE SetWantTabs)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)

public:
    explicit TCustomRichEdit(QWidget* parent = nullptr);
    ~TCustomRichEdit() override;

    TRichEditStrings& Lines() { return *FLines; }
    // The given list's lines replace the content; the line list object stays the same.
    void SetLines(const TRichEditStrings& lines) { FLines->Assign(lines); }

    // The note area's font (also the printer's). While ParentFont is set it follows the
    // window's font, colour included; a change made here clears ParentFont. Every change sets
    // the default character format: colour, face, character set, style, size.
    TFont& Font() { return FFont; }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool on);

    // Empties the text and clears Modified.
    void Clear();
    void SetText(const std::string& text);
    std::string Text() const;
    bool Modified() const { return EmGetModify(); }
    void SetModified(bool modified) { EmSetModify(modified); }

    int SelStart() const { return EmExGetSel().cpMin; }
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    std::string SelText() const;
    void SetSelText(const std::string& text);
    void SelectAll();
    // Column (x) and line (y) of the selection's end.
    QPoint CaretPos();

    // Makes the window exist now (the control's creation hook runs once).
    void HandleNeeded() { CreateHandle(); }

    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle style);
    QString ScrollBarsName() const;
    void SetScrollBarsName(const QString& name);
    bool PlainText() const { return FLines->PlainText; }
    void SetPlainText(bool on) { FLines->PlainText = on; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool on);
    bool HideScrollBars() const { return FHideScrollBars; }
    void SetHideScrollBars(bool on);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool on);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int length);
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool on) { setReadOnly(on); }
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool on) { FWantReturns = on; }
    bool WantTabs() const { return !tabChangesFocus(); }
    void SetWantTabs(bool on) { setTabChangesFocus(!on); }
    TColor Color() const { return FColor; }
    void SetColor(TColor color);

    // The conversion class used when the line list has none of its own.
    TConversionClass DefaultConverterClass = &ConversionClassOf<TConversion>;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelectionChange;
    TRichEditResizeEvent OnResizeRequest;
    TRichEditProtectChange OnProtectChange;
    TRichEditSaveClipboard OnSaveClipboard;
    bool BindEvent(std::string_view event, const TNotifyEvent& handler) override;

protected:
    void CreateWnd() override;
    virtual void Change();
    virtual void SelectionChange();
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class TRichEditStrings;
    void FontChanged();
    void FollowWindow();
    void SyncParentFont();
    void ApplyScrollBars();

    std::unique_ptr<TRichEditStrings> FLines;
    TFont FFont;
    bool FParentFont = true;
    bool FSyncingFont = false;
    QPointer<QWidget> FWatchedWindow;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    bool FHideScrollBars = true;
    bool FHideSelection = true;
    int FMaxLength = 0;
    bool FWantReturns = true;
    TColor FColor = clWindow;
};
