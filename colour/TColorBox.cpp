// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "colour/TColorBox.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QProxyStyle>
#include <cstdint>

#include "toolkit/TColorDialog.h"

namespace {

// Readable names of the colours that have one of their own, in NamedColors order; the five
// newer system colours are named by DerivedColorName instead.
const TNamedColor kDisplayNames[47] = {
    {"Black", clBlack},
    {"Maroon", clMaroon},
    {"Green", clGreen},
    {"Olive", clOlive},
    {"Navy", clNavy},
    {"Purple", clPurple},
    {"Teal", clTeal},
    {"Gray", clGray},
    {"Silver", clSilver},
    {"Red", clRed},
    {"Lime", clLime},
    {"Yellow", clYellow},
    {"Blue", clBlue},
    {"Fuchsia", clFuchsia},
    {"Aqua", clAqua},
    {"White", clWhite},
    {"Money Green", clMoneyGreen},
    {"Sky Blue", clSkyBlue},
    {"Cream", clCream},
    {"Medium Gray", clMedGray},
    {"Active Border", clActiveBorder},
    {"Active Caption", clActiveCaption},
    {"Application Workspace", clAppWorkSpace},
    {"Background", clBackground},
    {"Button Face", clBtnFace},
    {"Button Highlight", clBtnHighlight},
    {"Button Shadow", clBtnShadow},
    {"Button Text", clBtnText},
    {"Caption Text", clCaptionText},
    {"Default", clDefault},
    {"Gray Text", clGrayText},
    {"Highlight Background", clHighlight},
    {"Highlight Text", clHighlightText},
    {"Inactive Border", clInactiveBorder},
    {"Inactive Caption", clInactiveCaption},
    {"Inactive Caption Text", clInactiveCaptionText},
    {"Info Background", clInfoBk},
    {"Info Text", clInfoText},
    {"Menu Background", clMenu},
    {"Menu Text", clMenuText},
    {"None", clNone},
    {"Scroll Bar", clScrollBar},
    {"3D Dark Shadow", cl3DDkShadow},
    {"3D Light", cl3DLight},
    {"Window Background", clWindow},
    {"Window Frame", clWindowFrame},
    {"Window Text", clWindowText},
};

// Positions in NamedColors where the extended and the system colours begin.
constexpr int kFirstExtended = 16;
constexpr int kFirstSystem = 20;

// The style the colour list opens its list with: the application's, except that the list drops
// down below the field with DropDownCount entries visible, rather than over it as tall as the
// screen allows, as some styles would have it.
class TDropDownStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle* DropDownStyle() {
    static QPointer<TDropDownStyle> style;
    if (!style) {
        style = new TDropDownStyle;
        style->setParent(QCoreApplication::instance());  // lives as long as the application
    }
    return style;
}

// An entry's colour travels in its object reference.
const void* ColorObject(TColor color) {
    return reinterpret_cast<const void*>(std::uintptr_t(color));
}

}  // namespace

const char* ColorDisplayName(TColor value) {
    for (const TNamedColor& c : kDisplayNames)
        if (c.Value == value) return c.Identifier;
    return nullptr;
}

std::string DerivedColorName(const std::string& identifier) {
    std::string rest = identifier.rfind("cl", 0) == 0 ? identifier.substr(2) : identifier;
    std::string name;
    for (char c : rest) {
        if (c >= 'A' && c <= 'Z' && !name.empty()) name += ' ';
        name += c;
    }
    return name;
}

TColor SwatchBorderColor(TColor rgb, TOwnerDrawState state) {
    const TColor r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
    if (r > 0xC0 || g > 0xC0 || b > 0xC0) return clBlack;
    if (state & odSelected) return clWhite;
    return rgb;
}

TCustomColorBox::TCustomColorBox(QWidget* parent) : TCustomComboBox(parent) {
    setStyle(DropDownStyle());
    setMaxVisibleItems(8);
    PopulateColors();  // the window does not exist yet: only remembered
}

void TCustomColorBox::CreateWnd() {
    TCustomComboBox::CreateWnd();
    if (FPendingPopulate) PopulateColors();
}

void TCustomColorBox::Loaded() {
    TCustomComboBox::Loaded();
    SetSelected(FStoredSelection);
}

TColor TCustomColorBox::ItemColor(int index) const {
    return TColor(reinterpret_cast<std::uintptr_t>(ItemObject(index)));
}

void TCustomColorBox::SetItemColor(int index, TColor color) {
    Model()->SetObject(index, ColorObject(color));
}

void TCustomColorBox::AddColorEntry(const std::string& identifier) {
    TColor value = 0;
    if (!IdentToColor(identifier, value)) value = TColor(std::stoul(identifier, nullptr, 0));
    const char* display = ColorDisplayName(value);
    const std::string readable = display ? display : DerivedColorName(identifier);
    Add(FStyle & cbPrettyNames ? readable : identifier, ColorObject(value));
    // A screen reader reads the colour's name, not its identifier.
    Model()->SetAccessibleText(Model()->Count() - 1, readable);
}

void TCustomColorBox::PopulateColors() {
    if (!HandleAllocated()) {
        FPendingPopulate = true;
        return;
    }
    // The entries are announced to the views as one reset; the selection is made after it,
    // since a reset of the list forgets the selected entry.
    struct Batch {
        TCustomColorBox* Box;
        bool Open = true;
        void End() {
            if (!Open) return;
            Open = false;
            Box->Model()->EndUpdate();
        }
        ~Batch() {
            End();
            Box->FPendingPopulate = false;
        }
    } batch{this};
    Model()->BeginUpdate();
    const TColor custom = (FStyle & cbCustomColor) && Count() > 0 ? ItemColor(0) : clBlack;
    const TColor selection = FStoredSelection;
    Clear();
    // The style's ranges of the table, with clNone and clDefault only when asked for. Those two
    // stay when asked for even without the system colours they sit among.
    int position = 0;
    EnumerateColorNames([&](const char* identifier) {
        const int k = position++;
        const TColor value = NamedColors[k].Value;
        bool keep = k < kFirstExtended ? (FStyle & cbStandardColors) != 0
                    : k < kFirstSystem ? (FStyle & cbExtendedColors) != 0
                                       : (FStyle & cbSystemColors) != 0;
        if (value == clNone) keep = (FStyle & cbIncludeNone) != 0;
        if (value == clDefault) keep = (FStyle & cbIncludeDefault) != 0;
        if (keep) AddColorEntry(identifier);
    });
    if (FStyle & cbCustomColor) Model()->Insert(0, {"Custom...", ColorObject(custom)});
    batch.End();
    SetSelected(selection);
}

int TCustomColorBox::IndexOfColor(TColor color, int from) const {
    for (int i = from; i < Count(); ++i)
        if (ItemColor(i) == color) return i;
    return -1;
}

TColor TCustomColorBox::Selected() const {
    if (!HandleAllocated()) return FStoredSelection;
    const int index = ItemIndex();
    return index < 0 ? NoColor : ItemColor(index);
}

void TCustomColorBox::SetSelected(TColor color) {
    if (HandleAllocated()) {
        const bool custom = (FStyle & cbCustomColor) && Count() > 0;
        int index = IndexOfColor(color, 0);
        if (index < 0 && custom && color != NoColor) {
            SetItemColor(0, color);
            index = 0;
        } else if (custom && index == 0) {
            // The custom colour equals a listed one: the listed entry is the better answer.
            const int listed = IndexOfColor(color, 1);
            if (listed > 0) index = listed;
        }
        SetItemIndex(index);
    }
    FStoredSelection = color;
}

void TCustomColorBox::SetStyle(TColorBoxStyle style) {
    if (style == FStyle) return;
    FStyle = style;
    setEnabled((style & (cbStandardColors | cbExtendedColors | cbSystemColors | cbCustomColor)) !=
               0);
    PopulateColors();
    if (Count() > 0 && ItemIndex() < 0) SetItemIndex(0);
}

void TCustomColorBox::SetDefaultColorColor(TColor color) {
    if (color == FDefaultColorColor) return;
    FDefaultColorColor = color;
    update();
}

void TCustomColorBox::SetNoneColorColor(TColor color) {
    if (color == FNoneColorColor) return;
    FNoneColorColor = color;
    update();
}

void TCustomColorBox::DrawItem(TCanvas& canvas, int index, const QRect& rect,
                               TOwnerDrawState state) {
    canvas.FillRect(rect);
    const TColor background = canvas.BrushColor;
    // A square as tall as the item at its left edge, one pixel in on every side.
    const int height = rect.height();
    const QRect swatch(rect.left() + 1, rect.top() + 1, height - 2, height - 2);
    TColor fill = ItemColor(index);
    if (fill == clDefault) fill = FDefaultColorColor;
    if (fill == clNone) fill = FNoneColorColor;
    canvas.BrushColor = fill;
    canvas.FillRect(swatch);
    canvas.BrushColor = SwatchBorderColor(ColorToRGB(fill), state);
    canvas.FrameRect(swatch);
    canvas.BrushColor = background;
    const std::string& text = ItemText(index);
    const int x = swatch.left() + swatch.width() + 5;
    const int y = rect.top() + (height - canvas.TextHeight(text)) / 2;
    canvas.TextOut(x, y, text);
}

void TCustomColorBox::Change() {
    if (FPickedFromList) {
        FPickedFromList = false;
        if ((FStyle & cbCustomColor) && ItemIndex() == 0 && !ChooseCustomColor()) return;
    }
    if (OnSelect)
        Fire(OnSelect, this);
    else
        TCustomComboBox::Change();
}

bool TCustomColorBox::ChooseCustomColor() {
    TColorDialog dialog;
    const TColor rgb = ColorToRGB(ItemColor(0));
    dialog.SetColor(rgb);
    dialog.SetCustomColors({QString::asprintf("ColorA=%.8X", rgb)});
    if (!dialog.Execute()) return false;
    SetItemColor(0, dialog.Color());
    update();
    return true;
}

void TCustomColorBox::keyPressEvent(QKeyEvent* event) {
    FPickedFromList = false;  // keys move through the entries without opening the dialog
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (FStyle & cbCustomColor) && ItemIndex() == 0) {
        event->accept();  // swallowed, whatever the dialog's answer
        SafeCall([this] {
            if (ChooseCustomColor()) Fire(OnSelect, this);
        });
        return;
    }
    const bool typed = !event->text().isEmpty() && event->text().at(0).isPrint();
    if (typed && FAutoDropDown && !view()->isVisible()) showPopup();
    if (typed && !FAutoComplete) {
        event->ignore();
        return;
    }
    TCustomComboBox::keyPressEvent(event);
}

void TCustomColorBox::showPopup() {
    SafeCall([this] { Fire(OnDropDown, this); });
    TCustomComboBox::showPopup();
}

void TCustomColorBox::hidePopup() {
    TCustomComboBox::hidePopup();
    SafeCall([this] { Fire(OnCloseUp, this); });
    FPickedFromList = true;
}

bool TCustomColorBox::BindEvent(std::string_view event, const TNotifyEvent& handler) {
    if (event == "OnSelect") {
        OnSelect = handler;
        return true;
    }
    if (event == "OnCloseUp") {
        OnCloseUp = handler;
        return true;
    }
    if (event == "OnDropDown") {
        OnDropDown = handler;
        return true;
    }
    return TCustomComboBox::BindEvent(event, handler);
}
