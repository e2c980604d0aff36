// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The colour list: entries by style, the selection with and without the custom entry, swatch
// drawing pixel by pixel, and the selection flow with the colour dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionComboBox>

#include "colour/TColorBox.h"
#include "tests/TestSupport.h"
#include "toolkit/TColorDialog.h"

namespace {

// A colour box whose window exists, as it is once its form has been shown.
struct CreatedBox {
    TColorBox Box;
    CreatedBox() { Box.CreateHandle(); }
};

// Answers the colour dialog and records what it was shown.
struct DialogScript {
    std::optional<TColor> Answer;
    int Runs = 0;
    TColor ShownColor = 0;
    QStringList ShownCustomColors;
    DialogScript() {
        TColorDialog::ExecuteHook = [this](TColorDialog& dialog) {
            ++Runs;
            ShownColor = dialog.Color();
            ShownCustomColors = dialog.CustomColors();
            return Answer;
        };
    }
    ~DialogScript() { TColorDialog::ExecuteHook = nullptr; }
};

struct EventLog {
    std::vector<std::string> Events;
    void Attach(TColorBox& box, bool withSelect) {
        box.OnClick = [this](QObject*) { Events.push_back("click"); };
        box.OnChange = [this](QObject*) { Events.push_back("change"); };
        if (withSelect) box.OnSelect = [this](QObject*) { Events.push_back("select"); };
    }
};

}  // namespace

TEST(TColorBox, EntriesFollowTheStyle) {
    struct Case {
        TColorBoxStyle Style;
        int Count;
        bool Enabled;
        std::vector<std::pair<int, std::string>> At;  // position, text
    };
    const Case cases[] = {
        {kDefaultColorBoxStyle,
         50,
         true,
         {{0, "clBlack"},
          {15, "clWhite"},
          {17, "clSkyBlue"},
          {28, "clCaptionText"},
          {29, "clGradientActiveCaption"},
          {49, "clWindowText"}}},
        {kDefaultColorBoxStyle | cbPrettyNames,
         50,
         true,
         {{17, "Sky Blue"}, {19, "Medium Gray"}, {34, "Hot Light"}, {41, "Menu Bar"}}},
        {cbStandardColors, 16, true, {{0, "clBlack"}, {15, "clWhite"}}},
        {cbExtendedColors, 4, true, {{0, "clMoneyGreen"}, {3, "clMedGray"}}},
        {cbSystemColors, 30, true, {{0, "clActiveBorder"}, {29, "clWindowText"}}},
        {0x1F, 52, true, {{29, "clDefault"}, {45, "clNone"}}},
        {kDefaultColorBoxStyle | cbCustomColor, 51, true, {{0, "Custom..."}, {1, "clBlack"}}},
        {cbIncludeNone, 1, false, {{0, "clNone"}}},
        {cbPrettyNames, 0, false, {}},
        {cbCustomColor, 1, true, {{0, "Custom..."}}},
        // None and Default stay when asked for, even without the system colours around them.
        {cbStandardColors | cbIncludeDefault | cbPrettyNames, 17, true, {{16, "Default"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Style);
        CreatedBox b;
        b.Box.SetStyle(c.Style);
        EXPECT_EQ(b.Box.Count(), c.Count);
        EXPECT_EQ(b.Box.isEnabled(), c.Enabled);
        for (const auto& [pos, text] : c.At) EXPECT_EQ(b.Box.ItemText(pos), text) << pos;
        // A style with entries leaves one selected.
        EXPECT_EQ(b.Box.ItemIndex() >= 0, c.Count > 0);
    }
}

TEST(TColorBox, EntriesCarryTheirColours) {
    CreatedBox b;
    b.Box.SetStyle(0x1F);
    for (int i = 0; i < 52; ++i) EXPECT_EQ(b.Box.ItemColor(i), NamedColors[i].Value) << i;
}

TEST(TColorBox, SelectionBeforeTheWindowExistsIsAppliedWhenItIsCreated) {
    TColorBox box;
    EXPECT_EQ(box.Count(), 0);  // populating waits for the window
    box.SetSelected(clSkyBlue);
    EXPECT_EQ(box.Selected(), clSkyBlue);
    box.CreateHandle();
    EXPECT_EQ(box.Count(), 50);
    EXPECT_EQ(box.ItemIndex(), 17);
    EXPECT_EQ(box.Selected(), clSkyBlue);
    box.Loaded();  // as the layout's last step: the same selection again
    EXPECT_EQ(box.ItemIndex(), 17);
}

TEST(TColorBox, SelectedGetAndSet) {
    constexpr TColor unlisted = 0x123456;
    struct Case {
        const char* Name;
        TColorBoxStyle Style;
        TColor Custom;  // the custom colour set first (0: none)
        TColor Set;
        int Index;
        TColor Reads;
    };
    const Case cases[] = {
        {"listed", kDefaultColorBoxStyle, 0, clNavy, 4, clNavy},
        {"unlisted selects nothing", kDefaultColorBoxStyle, 0, unlisted, -1, NoColor},
        {"clNone is not listed by default", kDefaultColorBoxStyle, 0, clNone, -1, NoColor},
        {"unlisted becomes the custom colour", kDefaultColorBoxStyle | cbCustomColor, 0, unlisted,
         0, unlisted},
        {"NoColor never becomes the custom colour", cbStandardColors | cbCustomColor, 0, NoColor,
         -1, NoColor},
        {"a listed colour equal to the custom one selects the listed entry",
         kDefaultColorBoxStyle | cbCustomColor, clTeal, clTeal, 7, clTeal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        CreatedBox b;
        b.Box.SetStyle(c.Style);
        if (c.Custom) {
            b.Box.SetSelected(0x010101);  // becomes the custom colour
            b.Box.SetSelected(c.Custom);
        }
        b.Box.SetSelected(c.Set);
        EXPECT_EQ(b.Box.ItemIndex(), c.Index);
        EXPECT_EQ(b.Box.Selected(), c.Reads);
    }
}

TEST(TColorBox, CustomColourSurvivesARebuild) {
    CreatedBox b;
    b.Box.SetStyle(kDefaultColorBoxStyle | cbCustomColor);
    b.Box.SetSelected(0x445566);
    b.Box.SetStyle(kDefaultColorBoxStyle | cbCustomColor | cbPrettyNames);
    EXPECT_EQ(b.Box.ItemColor(0), 0x445566u);
    EXPECT_EQ(b.Box.Selected(), 0x445566u);
    EXPECT_EQ(b.Box.ItemText(18), "Sky Blue");
}

TEST(TColorBox, NamesAreDerivedForColoursWithoutAReadableName) {
    const std::pair<std::string, std::string> cases[] = {
        {"clHotLight", "Hot Light"},
        {"clGradientInactiveCaption", "Gradient Inactive Caption"},
        {"cl3DLight", "3 D Light"},  // the rule alone; the table names it "3D Light"
        {"ClRed", "Cl Red"},         // only a lower-case "cl" is dropped
        {"clA", "A"},
        {"x", "x"},
    };
    for (const auto& [identifier, name] : cases) EXPECT_EQ(DerivedColorName(identifier), name);
    EXPECT_STREQ(ColorDisplayName(clHighlight), "Highlight Background");
    EXPECT_EQ(ColorDisplayName(clHotLight), nullptr);
}

TEST(TColorBox, SwatchBorderColour) {
    struct Case {
        TColor Rgb;
        TOwnerDrawState State;
        TColor Border;
    };
    const Case cases[] = {
        {clWhite, 0, clBlack},           {clCream, 0, clBlack}, {clSkyBlue, odSelected, clBlack},
        {clSilver, 0, clSilver},  // 192 is not above 192
        {clSilver, odSelected, clWhite}, {clNavy, 0, clNavy},   {clNavy, odSelected, clWhite},
        {0x0000C1, 0, clBlack},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SwatchBorderColor(c.Rgb, c.State), c.Border) << std::hex << c.Rgb;
}

TEST(TColorBox, DrawsTheSwatchFramedAndTheNameBesideIt) {
    struct Case {
        TColor Color;
        TOwnerDrawState State;
        TColor Background;
        TColor Frame;
    };
    const TColor highlight = ColorToRGB(clHighlight);
    const Case cases[] = {
        {clSkyBlue, 0, clWhite, clBlack},
        {clNavy, 0, clWhite, clNavy},
        {clNavy, odSelected, highlight, clWhite},
        {clDefault, 0, clWhite, 0x00FF00},  // drawn in DefaultColorColor, a light green: black
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.Color) + " state " + std::to_string(c.State));
        CreatedBox b;
        b.Box.SetStyle(0x1F);
        b.Box.SetColor(clWhite);
        b.Box.SetDefaultColorColor(0x00FF00);
        const int index = b.Box.IndexOfColor(c.Color, 0);
        ASSERT_GE(index, 0);
        QImage image(120, 16, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        {
            QPainter painter(&image);
            b.Box.PaintItem(&painter, index, QRect(0, 0, 120, 16), c.State);
        }
        const TColor fill = c.Color == clDefault ? 0x00FF00 : c.Color;
        const TColor frame = c.Color == clDefault ? clBlack : c.Frame;
        auto at = [&](int x, int y) { return FromQColor(image.pixelColor(x, y)); };
        EXPECT_EQ(at(0, 0), c.Background);  // the row's fill around the swatch
        EXPECT_EQ(at(15, 8), c.Background);
        EXPECT_EQ(at(1, 1), frame);  // the swatch: 14 x 14 from (1, 1), framed
        EXPECT_EQ(at(14, 14), frame);
        EXPECT_EQ(at(7, 1), frame);
        EXPECT_EQ(at(2, 2), fill);
        EXPECT_EQ(at(13, 13), fill);
        // The name starts 5 pixels right of the swatch: nothing is drawn before it.
        for (int x = 15; x < 20; ++x)
            for (int y = 0; y < 16; ++y) ASSERT_EQ(at(x, y), c.Background) << x << "," << y;
        int inked = 0;
        for (int x = 20; x < 120; ++x)
            for (int y = 0; y < 16; ++y) inked += at(x, y) != c.Background;
        EXPECT_GT(inked, 10);
    }
}

TEST(TColorBox, TheEmptyFieldIsOnlyFilled) {
    CreatedBox b;
    b.Box.SetColor(clYellow);
    QImage image(60, 16, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    {
        QPainter painter(&image);
        b.Box.PaintItem(&painter, -1, QRect(0, 0, 60, 16), odComboBoxEdit);
    }
    for (int x = 0; x < 60; ++x)
        for (int y = 0; y < 16; ++y) ASSERT_EQ(FromQColor(image.pixelColor(x, y)), clYellow);
}

TEST(TColorBox, PickingCustomFromTheListAsksForTheColour) {
    struct Case {
        const char* Name;
        bool WithSelect;
        std::optional<TColor> Answer;
        std::vector<std::string> Events;
        TColor Custom;
    };
    const Case cases[] = {
        {"accepted, with OnSelect", true, 0x00AA00, {"click", "select"}, 0x00AA00},
        {"accepted, OnChange without OnSelect", false, 0x00AA00, {"click", "change"}, 0x00AA00},
        {"cancelled", true, std::nullopt, {"click"}, 0x123456},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        CreatedBox b;
        b.Box.SetStyle(kDefaultColorBoxStyle | cbCustomColor);
        b.Box.SetSelected(0x123456);  // unlisted: the custom colour
        b.Box.SetSelected(clNavy);
        DialogScript dialog;
        dialog.Answer = c.Answer;
        EventLog log;
        log.Attach(b.Box, c.WithSelect);
        b.Box.hidePopup();  // the list closes on the pick
        b.Box.UserPick(0);
        EXPECT_EQ(dialog.Runs, 1);
        EXPECT_EQ(dialog.ShownColor, 0x123456u);
        EXPECT_EQ(dialog.ShownCustomColors, QStringList{QStringLiteral("ColorA=00123456")});
        EXPECT_EQ(log.Events, c.Events);
        EXPECT_EQ(b.Box.ItemColor(0), c.Custom);
    }
}

TEST(TColorBox, KeysNeverOpenTheDialogButEnterOnCustomDoes) {
    CreatedBox b;
    b.Box.SetStyle(kDefaultColorBoxStyle | cbCustomColor);
    b.Box.SetSelected(clBlack);  // entry 1
    DialogScript dialog;
    dialog.Answer = 0x0000AA;
    EventLog log;
    log.Attach(b.Box, true);
    b.Box.hidePopup();  // a list opened and closed earlier does not count for the keys
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(&b.Box, &up);
    EXPECT_EQ(b.Box.ItemIndex(), 0);
    EXPECT_EQ(dialog.Runs, 0);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"click", "select"}));

    log.Events.clear();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&b.Box, &enter);
    EXPECT_TRUE(enter.isAccepted());  // swallowed
    EXPECT_EQ(dialog.Runs, 1);
    EXPECT_EQ(log.Events, (std::vector<std::string>{"select"}));  // OnSelect only
    EXPECT_EQ(b.Box.Selected(), 0x0000AAu);

    // Refused: the key is swallowed all the same, and nothing is raised.
    log.Events.clear();
    dialog.Answer.reset();
    QKeyEvent again(QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier);
    QApplication::sendEvent(&b.Box, &again);
    EXPECT_TRUE(again.isAccepted());
    EXPECT_EQ(dialog.Runs, 2);
    EXPECT_TRUE(log.Events.empty());
}

TEST(TColorBox, CustomColorLinesNameTheSlotAndTheColour) {
    struct Case {
        const char* Line;
        bool Ok;
        int Slot;
        TColor Color;
    };
    const Case cases[] = {
        {"ColorA=00F0CAA6", true, 0, clSkyBlue},
        {"ColorP=FF", true, 15, 0xFF},
        {"colorb = 0000ff00", true, 1, clLime},
        {"ColorQ=00", false, 0, 0},
        {"ColorA=FFFFFFFF", false, 0, 0},
        {"ColorA", false, 0, 0},
        {"Colour=00", false, 0, 0},
        {"ColorA=xyz", false, 0, 0},
    };
    for (const Case& c : cases) {
        int slot = -1;
        TColor color = 0;
        EXPECT_EQ(TColorDialog::ParseCustomColor(QString::fromLatin1(c.Line), slot, color), c.Ok)
            << c.Line;
        if (c.Ok) {
            EXPECT_EQ(slot, c.Slot) << c.Line;
            EXPECT_EQ(color, c.Color) << c.Line;
        }
    }
}

TEST(TColorBox, TheListDropsDownWithEightEntriesVisible) {
    CreatedBox b;
    EXPECT_EQ(b.Box.DropDownCount(), 8);
    QStyleOptionComboBox option;
    option.initFrom(&b.Box);
    // Not laid over the field as tall as the screen: below it, DropDownCount entries high.
    EXPECT_EQ(b.Box.style()->styleHint(QStyle::SH_ComboBox_Popup, &option, &b.Box), 0);
    EXPECT_EQ(b.Box.maxVisibleItems(), 8);
}
