// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The player's bar: its glyphs, size rule, hit-testing, the click sequence, the keyboard, glyph
// choice and the pixels of one painted button.
#include <QImage>

#include "player/PlayerButtonDrawing.h"
#include "tests/player/PlayerTestSupport.h"
#include "toolkit/Graphics.h"

namespace {

using TMediaPlayerBar = PlayerFixture;

TEST(PlayerGlyphsTest, TwentySevenGlyphsOfTheirSizesOnTheOliveKey) {
    const TPlayerGlyphs glyphs;
    const struct {
        TMPBtnType Button;
        int Width, Height;
        QRgb Colour;
    } cases[] = {{btPlay, 17, 16, qRgb(0, 255, 0)}, {btPause, 13, 16, qRgb(255, 255, 0)},
                 {btStop, 17, 16, qRgb(255, 0, 0)}, {btNext, 21, 16, qRgb(0, 0, 255)},
                 {btPrev, 20, 16, qRgb(0, 0, 255)}, {btStep, 21, 16, qRgb(0, 0, 255)},
                 {btBack, 21, 16, qRgb(0, 0, 255)}, {btRecord, 13, 13, qRgb(255, 0, 0)},
                 {btEject, 19, 16, qRgb(0, 0, 255)}};
    auto count = [](const TBitmap& b, QRgb c) {
        int n = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                n += (b.Image.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF);
        return n;
    };
    const QRgb black = qRgb(0, 0, 0), olive = qRgb(128, 128, 0);
    for (const auto& c : cases) {
        const TBitmap& enabled = glyphs.Glyph(c.Button, TGlyphLook::Enabled);
        const TBitmap& colored = glyphs.Glyph(c.Button, TGlyphLook::Colored);
        const TBitmap& disabled = glyphs.Glyph(c.Button, TGlyphLook::Disabled);
        EXPECT_EQ(enabled.Width(), c.Width);
        EXPECT_EQ(enabled.Height(), c.Height);
        EXPECT_EQ(disabled.Width(), c.Button == btPause ? 12 : c.Width);
        EXPECT_EQ(enabled.TransparentColor() & 0xFFFFFF, olive & 0xFFFFFF);
        const int figure = count(enabled, black);
        EXPECT_GT(figure, 10);
        EXPECT_EQ(count(colored, c.Colour), figure) << TPlayerGlyphs::GlyphName(c.Button);
        EXPECT_EQ(count(disabled, black), 0);
        EXPECT_GT(count(disabled, qRgb(255, 255, 255)), 0);
    }
    EXPECT_EQ(glyphs.MinSlotWidth(), 29);
    EXPECT_EQ(glyphs.MinSlotHeight(), 20);
}

TEST_F(TMediaPlayerBar, TheSizeRuleSnapsToWholeSlots) {
    EXPECT_EQ(Player.width(), 253) << "created 240 wide, below the minimum";
    const TButtonSet fiveButtons = ButtonBit(btPlay) | ButtonBit(btPause) | ButtonBit(btStop) |
                                   ButtonBit(btNext) | ButtonBit(btPrev);
    const struct {
        int Width, Height;
        int ExpectedWidth, ExpectedHeight, Slot;
    } cases[] = {{240, 30, 253, 30, 29},
                 {253, 30, 253, 30, 29},
                 {300, 30, 298, 30, 34},
                 {253, 10, 253, 20, 29},
                 {1005, 40, 1000, 40, 112}};
    for (const auto& c : cases) {
        Player.resize(c.Width, c.Height);
        EXPECT_EQ(Player.width(), c.ExpectedWidth) << c.Width;
        EXPECT_EQ(Player.height(), c.ExpectedHeight) << c.Height;
        EXPECT_EQ(Player.SlotWidth(), c.Slot) << c.Width;
    }
    Player.resize(253, 30);
    Player.SetVisibleButtons(fiveButtons);
    EXPECT_EQ(Player.width(), 141) << "the slot width stays, the bar shrinks";
    EXPECT_EQ(Player.SlotWidth(), 29);
}

TEST_F(TMediaPlayerBar, PressesHitTheButtonUnderThePointerEarlierOneWinningTheSharedColumns) {
    Player.SetAutoEnable(false);  // every button usable through EnabledButtons
    std::vector<TMPBtnType> pressed;
    Player.OnClick = [&](QObject*, TMPBtnType b, bool& doDefault) {
        pressed.push_back(b);
        doDefault = false;
    };
    const struct {
        int X;
        bool Hit;
        TMPBtnType Button;
    } cases[] = {{0, true, btPlay},    {28, true, btPlay},  {29, true, btPlay},
                 {30, true, btPause},  {57, true, btPause}, {58, true, btStop},
                 {253, true, btEject}, {254, false, btPlay}};
    for (const auto& c : cases) {
        pressed.clear();
        Click(c.X);
        ASSERT_EQ(pressed.size(), c.Hit ? 1u : 0u) << c.X;
        if (c.Hit) {
            EXPECT_EQ(pressed[0], c.Button) << c.X;
            EXPECT_EQ(Player.FocusButton(), c.Button) << "the press moves the focus mark";
        }
    }
}

TEST_F(TMediaPlayerBar, WithoutADeviceMouseDoesNothingAndSpaceRaisesNoDevice) {
    int clicks = 0;
    Player.OnClick = [&](QObject*, TMPBtnType, bool&) { ++clicks; };
    for (int b = 0; b < kPlayerButtonCount; ++b) Click(Centre(TMPBtnType(b)));
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(ErrorBoxRecorder::Take().empty());
    Key(Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
    const auto boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "No MCI device open.");
}

TEST_F(TMediaPlayerBar, MovingOffTheButtonBeforeReleaseRunsNothingMovingBackRunsIt) {
    Player.SetAutoEnable(false);
    int clicks = 0;
    Player.OnClick = [&](QObject*, TMPBtnType, bool& doDefault) {
        ++clicks;
        doDefault = false;
    };
    Mouse(QEvent::MouseButtonPress, Centre(btNext), Qt::LeftButton);
    Mouse(QEvent::MouseMove, Centre(btEject), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Centre(btEject), Qt::NoButton);
    EXPECT_EQ(clicks, 0);
    Mouse(QEvent::MouseButtonPress, Centre(btNext), Qt::LeftButton);
    Mouse(QEvent::MouseMove, Centre(btEject), Qt::LeftButton);
    Mouse(QEvent::MouseMove, Centre(btNext) + 5, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Centre(btNext) + 5, Qt::NoButton);
    EXPECT_EQ(clicks, 1);
    // A double click runs the action twice.
    Mouse(QEvent::MouseButtonPress, Centre(btNext), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Centre(btNext), Qt::NoButton);
    Mouse(QEvent::MouseButtonDblClick, Centre(btNext), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Centre(btNext), Qt::NoButton);
    EXPECT_EQ(clicks, 3);
}

TEST_F(TMediaPlayerBar, PlayPauseStopByMouseAndTheFinishedPlayRearmsPlay) {
    OpenTone("tone.wav", 600);
    std::vector<TMPBtnType> after;
    Player.OnPostClick = [&](QObject*, TMPBtnType b) { after.push_back(b); };
    Click(Centre(btPlay));
    EXPECT_EQ(Player.DeviceMode(), pmPlaying);
    EXPECT_TRUE(Usable({btPause, btStop, btNext, btPrev}));
    EXPECT_TRUE(Unusable({btPlay}));
    Click(Centre(btPause));
    EXPECT_EQ(Player.DeviceMode(), pmPaused);
    EXPECT_TRUE(Usable({btPlay, btPause, btStop}));
    Click(Centre(btPause));  // Pause again resumes
    EXPECT_EQ(Player.DeviceMode(), pmPlaying);
    ASSERT_TRUE(WaitUntil([&] { return Player.DeviceMode() == pmStopped; }));
    // The device stops at the end of the sound before its notice, which sets the buttons, is
    // handled; Play is still usable from the pause, so wait for the notice's whole change.
    EXPECT_TRUE(WaitUntil([&] { return Usable({btPlay}) && Unusable({btPause, btStop}); }));
    Click(Centre(btPlay));
    Click(Centre(btStop));
    EXPECT_EQ(Player.DeviceMode(), pmStopped);
    EXPECT_TRUE(Usable({btPlay}));
    EXPECT_TRUE(Unusable({btPause, btStop}));
    EXPECT_EQ(after, (std::vector<TMPBtnType>{btPlay, btPause, btPause, btPlay, btStop}));
}

TEST_F(TMediaPlayerBar, AVetoedClickRunsNeitherActionNorPostClickButStillUpdatesTheButtons) {
    OpenTone("tone.wav", 600);
    bool posted = false;
    Player.OnClick = [](QObject*, TMPBtnType, bool& doDefault) { doDefault = false; };
    Player.OnPostClick = [&](QObject*, TMPBtnType) { posted = true; };
    Click(Centre(btPlay));
    EXPECT_EQ(Player.DeviceMode(), pmStopped);
    EXPECT_FALSE(posted);
    EXPECT_TRUE(Usable({btPause, btStop})) << "the update treats the click as a play";
}

TEST_F(TMediaPlayerBar, ArrowsMoveTheFocusOverVisibleButtonsAndStopAtTheEnds) {
    Player.SetVisibleButtons(kAllButtons & ~ButtonBit(btPlay) & ~ButtonBit(btStop));
    const struct {
        TMPBtnType From;
        int Key;
        TMPBtnType To;
    } cases[] = {{btPause, Qt::Key_Right, btNext},  {btNext, Qt::Key_Left, btPause},
                 {btPause, Qt::Key_Left, btPlay},  // onto the hidden first button
                 {btPlay, Qt::Key_Left, btPlay},    {btBack, Qt::Key_Right, btRecord},
                 {btEject, Qt::Key_Right, btEject}, {btNext, Qt::Key_Up, btNext}};
    for (const auto& c : cases) {
        while (Player.FocusButton() != c.From)
            Key(int(Player.FocusButton()) < int(c.From) ? Qt::Key_Right : Qt::Key_Left);
        Key(c.Key);
        EXPECT_EQ(Player.FocusButton(), c.To) << int(c.From) << " key " << c.Key;
    }
    // Space on the hidden Play runs it, as Play is in EnabledButtons.
    OpenTone("tone.wav", 600);
    while (Player.FocusButton() != btPlay) Key(Qt::Key_Left);
    Key(Qt::Key_Space);
    EXPECT_EQ(Player.DeviceMode(), pmPlaying);
    Player.Stop();
}

TEST_F(TMediaPlayerBar, TheGlyphShowsWhetherAButtonIsUsableAndColoured) {
    OpenTone("tone.wav", 600);  // Play, Next and Prev auto-enabled
    const struct {
        bool AutoEnable;
        TButtonSet Enabled, Colored;
        bool ControlEnabled;
        TMPBtnType Button;
        TGlyphLook Look;
    } cases[] = {
        {true, kAllButtons, kAllButtons, true, btPlay, TGlyphLook::Colored},
        {true, kAllButtons, kAllButtons, true, btStop, TGlyphLook::Disabled},
        {true, kAllButtons, 0, true, btPlay, TGlyphLook::Enabled},
        {false, kAllButtons, 0, true, btStop, TGlyphLook::Enabled},
        {false, ButtonBit(btPlay), kAllButtons, true, btNext, TGlyphLook::Disabled},
        {true, kAllButtons, kAllButtons, false, btPlay, TGlyphLook::Disabled},
    };
    for (const auto& c : cases) {
        Player.SetAutoEnable(c.AutoEnable);
        Player.SetEnabledButtons(c.Enabled);
        Player.SetColoredButtons(c.Colored);
        Player.setEnabled(c.ControlEnabled);
        EXPECT_EQ(Player.ShownLook(c.Button), c.Look) << int(c.Button);
    }
}

TEST(PlayerButtonDrawingTest, BevelGlyphAndFocusMarkLandOnTheirPixels) {
    const TPlayerGlyphs glyphs;
    const QColor frame = ToQColor(ColorToRGB(clWindowFrame)),
                 face = ToQColor(ColorToRGB(clBtnFace));
    const QColor light = ToQColor(ColorToRGB(clBtnHighlight)),
                 dark = ToQColor(ColorToRGB(clBtnShadow));
    for (bool down : {false, true}) {
        QImage image(60, 30, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter p(&image);
        TPlayerButtonLook look;
        look.X = 28;
        look.Width = 29;
        look.Height = 30;
        look.Down = down;
        look.Glyph = &glyphs.Glyph(btStop, TGlyphLook::Colored);
        DrawPlayerButton(p, look);
        p.end();
        auto at = [&](int x, int y) { return QColor(image.pixel(x, y)); };
        EXPECT_EQ(at(27, 5), QColor(Qt::magenta)) << "nothing left of the slot";
        EXPECT_EQ(at(28, 0), frame);
        EXPECT_EQ(at(56, 29), frame);
        EXPECT_EQ(at(29, 28), down ? dark : light);  // the bevel's first point
        EXPECT_EQ(at(29, 1), down ? dark : light);
        EXPECT_EQ(at(55, 1), down ? dark : light) << "the line stops before its end point";
        EXPECT_EQ(at(55, 28), down ? face : dark);
        EXPECT_EQ(at(30, 5), face) << "the olive key turned into the face";
        // The stop square's top-left corner: slot middle less half the glyph, a pixel lower
        // and to the right when down.
        const int left = 28 + 29 / 2 - 17 / 2 + 4 + (down ? 1 : 0),
                  top = 15 - 8 + 3 + (down ? 1 : 0);
        EXPECT_EQ(at(left, top), QColor(255, 0, 0));
    }
    QImage image(60, 30, QImage::Format_RGB32);
    QPainter p(&image);
    TPlayerButtonLook look;
    look.Width = 29;
    look.Height = 30;
    look.Focused = true;
    DrawPlayerButton(p, look);
    p.end();
    EXPECT_EQ(QColor(image.pixel(3, 3)), ToQColor(ColorToRGB(clWindowText)));
    EXPECT_EQ(QColor(image.pixel(4, 3)), ToQColor(ColorToRGB(clBtnFace)));
}

}  // namespace
