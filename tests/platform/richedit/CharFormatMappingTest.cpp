// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The control's format records against Qt's formats, without a control: each attribute set
// through a record comes back the same, a mixed selection leaves out what differs, and the
// default format takes only what its mask names.
#include <gtest/gtest.h>

#include "platform/richedit/CharFormatMapping.h"

using namespace RichEdit;

namespace {

CharFormat Record(std::uint32_t mask, std::uint32_t effects = 0) {
    CharFormat f;
    f.Mask = mask;
    f.Effects = effects;
    return f;
}

}  // namespace

TEST(CharFormatMapping, EachAttributeComesBackAsItWasSet) {
    const QFont defaults(QStringLiteral("Liberation Sans"), 10);
    const CharFormat fallback = DefaultFormatOf(defaults, 96);
    const QColor autoColor(1, 2, 3);
    struct Case {
        const char* Name;
        CharFormat Set;
        std::uint32_t Effects;  // the effects expected back (besides automatic colour)
    };
    CharFormat face = Record(CFM_FACE);
    face.FaceName = "Liberation Serif";
    CharFormat size = Record(CFM_SIZE);
    size.Height = 300;
    CharFormat colour = Record(CFM_COLOR);
    colour.TextColor = 0x00336699;
    CharFormat charset = Record(CFM_CHARSET);
    charset.CharSet = 2;
    const Case cases[] = {
        {"bold", Record(CFM_BOLD, CFE_BOLD), CFE_BOLD},
        {"italic", Record(CFM_ITALIC, CFE_ITALIC), CFE_ITALIC},
        {"underline", Record(CFM_UNDERLINE, CFE_UNDERLINE), CFE_UNDERLINE},
        {"strike-out", Record(CFM_STRIKEOUT, CFE_STRIKEOUT), CFE_STRIKEOUT},
        {"protected", Record(CFM_PROTECTED, CFE_PROTECTED), CFE_PROTECTED},
        {"bold off", Record(CFM_BOLD, 0), 0},
        {"face", face, 0},
        {"size", size, 0},
        {"colour", colour, 0},
        {"charset", charset, 0},
    };
    for (const Case& c : cases) {
        const CharFormat back = DescribeFormat(ToTextFormat(c.Set), defaults, fallback, autoColor);
        EXPECT_EQ(back.Mask, CFM_ALL) << c.Name;
        EXPECT_EQ(back.Effects & ~CFE_AUTOCOLOR, c.Effects) << c.Name;
        EXPECT_EQ(back.FaceName, c.Set.Mask & CFM_FACE ? c.Set.FaceName : fallback.FaceName)
            << c.Name;
        EXPECT_EQ(back.Height, c.Set.Mask & CFM_SIZE ? c.Set.Height : fallback.Height) << c.Name;
        EXPECT_EQ(back.CharSet, c.Set.Mask & CFM_CHARSET ? c.Set.CharSet : fallback.CharSet)
            << c.Name;
        const bool ownColour = c.Set.Mask & CFM_COLOR;
        EXPECT_EQ(back.TextColor, ownColour ? c.Set.TextColor : ToColorRef(autoColor)) << c.Name;
        EXPECT_EQ(bool(back.Effects & CFE_AUTOCOLOR), !ownColour) << c.Name;
    }
}

TEST(CharFormatMapping, AutomaticColourIsClearedNotSet) {
    const CharFormat automatic = Record(CFM_COLOR, CFE_AUTOCOLOR);
    EXPECT_TRUE(WantsAutoColor(automatic));
    EXPECT_FALSE(ToTextFormat(automatic).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(WantsAutoColor(Record(CFM_BOLD, CFE_AUTOCOLOR)));  // colour not named
    EXPECT_EQ(FromColorRef(0x00336699), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(ToColorRef(QColor(0x99, 0x66, 0x33)), 0x00336699u);
}

TEST(CharFormatMapping, DefaultFormatTakesOnlyWhatTheMaskNames) {
    const CharFormat start = DefaultFormatOf(QFont(QStringLiteral("Liberation Sans"), 12), 96);
    EXPECT_EQ(start.Height, 240);
    EXPECT_TRUE(start.Effects & CFE_AUTOCOLOR);
    CharFormat change = Record(CFM_BOLD | CFM_SIZE | CFM_FACE, CFE_BOLD | CFE_ITALIC);
    change.Height = 0;  // no size: kept
    change.FaceName = std::string(40, 'f');
    change.TextColor = 0xFF;
    const CharFormat merged = MergedFormat(start, change);
    EXPECT_TRUE(merged.Effects & CFE_BOLD);
    EXPECT_FALSE(merged.Effects & CFE_ITALIC);  // italic not in the mask
    EXPECT_EQ(merged.Height, 240);
    EXPECT_EQ(merged.FaceName, std::string(31, 'f'));
    EXPECT_TRUE(merged.Effects & CFE_AUTOCOLOR);  // colour not in the mask
    CharFormat colour = Record(CFM_COLOR);
    colour.TextColor = 0xFF;
    EXPECT_FALSE(MergedFormat(merged, colour).Effects & CFE_AUTOCOLOR);
    // The font of that format, at 96 dots per inch: 12 points are 16 pixels.
    const QFont font = FontOf(merged, 96);
    EXPECT_EQ(font.pixelSize(), 16);
    EXPECT_TRUE(font.bold());
    EXPECT_FALSE(font.italic());
}

TEST(CharFormatMapping, MixedSelectionLeavesOutWhatDiffers) {
    CharFormat a = Record(CFM_ALL, CFE_BOLD);
    a.FaceName = "A";
    a.Height = 200;
    CharFormat b = a;
    EXPECT_EQ(CommonMask(CFM_ALL, a, b), CFM_ALL);
    const struct {
        const char* Name;
        void (*Change)(CharFormat&);
        std::uint32_t Missing;
    } cases[] = {
        {"bold", [](CharFormat& f) { f.Effects &= ~CFE_BOLD; }, CFM_BOLD},
        {"face", [](CharFormat& f) { f.FaceName = "B"; }, CFM_FACE},
        {"size", [](CharFormat& f) { f.Height = 220; }, CFM_SIZE},
        {"charset", [](CharFormat& f) { f.CharSet = 9; }, CFM_CHARSET},
        {"colour", [](CharFormat& f) { f.TextColor = 1; }, CFM_COLOR},
        {"auto colour", [](CharFormat& f) { f.Effects |= CFE_AUTOCOLOR; }, CFM_COLOR},
    };
    for (const auto& c : cases) {
        CharFormat other = a;
        c.Change(other);
        EXPECT_EQ(CommonMask(CFM_ALL, a, other), CFM_ALL & ~c.Missing) << c.Name;
    }
}

TEST(CharFormatMapping, ParagraphAlignmentsBothWays) {
    for (std::uint16_t a : {PFA_LEFT, PFA_RIGHT, PFA_CENTER, PFA_JUSTIFY}) {
        const std::optional<Qt::Alignment> qt = ToQtAlignment(a);
        ASSERT_TRUE(qt) << a;
        EXPECT_EQ(FromQtAlignment(*qt), a);
    }
    EXPECT_FALSE(ToQtAlignment(0));
    EXPECT_FALSE(ToQtAlignment(5));
    EXPECT_EQ(FromQtAlignment(Qt::AlignLeading), PFA_LEFT);
}
