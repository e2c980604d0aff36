// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The colour list: a drop-down of colours, each entry a swatch and a name. Which colours it
// offers is chosen by the style flags; an optional "Custom..." entry first in the list opens the
// colour dialog and carries the colour chosen there.
#include <string>

#include "toolkit/Graphics.h"
#include "toolkit/TCustomComboBox.h"

// A set of TColorBoxStyle flags.
using TColorBoxStyle = unsigned;
constexpr TColorBoxStyle cbStandardColors = 0x01;  // entries 0-15 of NamedColors
constexpr TColorBoxStyle cbExtendedColors = 0x02;  // entries 16-19
constexpr TColorBoxStyle cbSystemColors = 0x04;    // entries 20 and on
constexpr TColorBoxStyle cbIncludeNone = 0x08;
constexpr TColorBoxStyle cbIncludeDefault = 0x10;
constexpr TColorBoxStyle cbCustomColor = 0x20;  // a "Custom..." entry first
constexpr TColorBoxStyle cbPrettyNames = 0x40;  // readable names instead of identifiers
constexpr TColorBoxStyle kDefaultColorBoxStyle =
    cbStandardColors | cbExtendedColors | cbSystemColors;

// What Selected reports when no entry is selected.
constexpr TColor NoColor = 0xFF000000;

// The readable name of a colour value, or nullptr when the value has none of its own.
const char* ColorDisplayName(TColor value);
// A readable name made from an identifier: "cl" dropped, a space before each inner capital.
std::string DerivedColorName(const std::string& identifier);

// The frame drawn around a swatch of colour `rgb`: black around light colours, white on a
// selected row, and otherwise the colour itself, so that the frame merges with the swatch.
TColor SwatchBorderColor(TColor rgb, TOwnerDrawState state);

class TCustomColorBox : public TCustomComboBox {
    Q_OBJECT
    Q_PROPERTY(uint Style READ Style WRITE SetStyle)
    Q_PROPERTY(uint Selected READ Selected WRITE SetSelected)
    Q_PROPERTY(uint DefaultColorColor READ DefaultColorColor WRITE SetDefaultColorColor)
    Q_PROPERTY(uint NoneColorColor READ NoneColorColor WRITE SetNoneColorColor)
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
    Q_PROPERTY(bool AutoComplete READ AutoComplete WRITE SetAutoComplete)
    Q_PROPERTY(bool AutoDropDown READ AutoDropDown WRITE SetAutoDropDown)

public:
    explicit TCustomColorBox(QWidget* parent = nullptr);

    TColorBoxStyle Style() const { return FStyle; }
    // Enables the control exactly when some colours are left to offer, rebuilds the entries and
    // selects the first when nothing is selected.
    void SetStyle(TColorBoxStyle style);
    // The selected entry's colour (the custom colour for "Custom..."), NoColor when none is
    // selected, and the colour last given while the window does not exist yet.
    TColor Selected() const;
    void SetSelected(TColor color);
    TColor DefaultColorColor() const { return FDefaultColorColor; }
    void SetDefaultColorColor(TColor color);
    TColor NoneColorColor() const { return FNoneColorColor; }
    void SetNoneColorColor(TColor color);
    int DropDownCount() const { return maxVisibleItems(); }
    void SetDropDownCount(int count) { setMaxVisibleItems(count); }
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool on) { FAutoComplete = on; }
    bool AutoDropDown() const { return FAutoDropDown; }
    void SetAutoDropDown(bool on) { FAutoDropDown = on; }

    // The colour an entry carries; the first entry from `from` on that carries `color`, or -1.
    TColor ItemColor(int index) const;
    int IndexOfColor(TColor color, int from) const;

    // Rebuilds the entries from NamedColors by the style; only records the wish while the window
    // does not exist yet.
    void PopulateColors();
    // Runs the colour dialog on the custom entry's colour; true when the user accepted, and the
    // custom entry then carries the new colour.
    virtual bool ChooseCustomColor();

    void Loaded() override;

    // Opening the list raises OnDropDown; closing it raises OnCloseUp and marks the next
    // selection change as picked from the list.
    void showPopup() override;
    void hidePopup() override;

    TNotifyEvent OnSelect;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnDropDown;
    bool BindEvent(std::string_view event, const TNotifyEvent& handler) override;

protected:
    void CreateWnd() override;
    void DrawItem(TCanvas& canvas, int index, const QRect& rect, TOwnerDrawState state) override;
    // The selection hook: a pick of "Custom..." from the opened list asks for the colour first.
    void Change() override;
    // Appends the entry for one identifier of NamedColors (or a colour number).
    void AddColorEntry(const std::string& identifier);

    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetItemColor(int index, TColor color);

    TColorBoxStyle FStyle = kDefaultColorBoxStyle;
    bool FPendingPopulate = false;
    bool FPickedFromList = false;
    TColor FDefaultColorColor = clBlack;
    TColor FNoneColorColor = clBlack;
    TColor FStoredSelection = clBlack;
    bool FAutoComplete = true;
    bool FAutoDropDown = false;
};

// The published colour list.
class TColorBox : public TCustomColorBox {
    Q_OBJECT

public:
    using TCustomColorBox::TCustomColorBox;
};
