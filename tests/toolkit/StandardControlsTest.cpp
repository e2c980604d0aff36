// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The standard controls' own rules: label sizing, colours that follow the window or not, panel
// bevels, focus, notifications and their errors, memo lines, progress steps and pictures.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <cstdlib>
#include <memory>
#include <utility>

#include "platform/system/Exception.h"
#include "tests/TestSupport.h"
#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/TBitBtn.h"
#include "toolkit/TEdit.h"
#include "toolkit/TForm.h"
#include "toolkit/TGroupBox.h"
#include "toolkit/TImage.h"
#include "toolkit/TLabel.h"
#include "toolkit/TMemo.h"
#include "toolkit/TPanel.h"
#include "toolkit/TProgressBar.h"
#include "toolkit/TSpeedButton.h"
#include "toolkit/TStaticText.h"

namespace {

class StandardControls : public ::testing::Test {
protected:
    void SetUp() override {
        Form.SetClientWidth(400);
        Form.SetClientHeight(300);
        Form.SetColor(clSkyBlue);
    }
    QWidget* Client() { return Form.Client(); }
    TForm Form;
};

TEST_F(StandardControls, LabelSizesItselfToEveryNewCaption) {
    auto* label = new TLabel(Client());
    label->setGeometry(24, 400, 23, 13);
    label->SetCaption(QStringLiteral("Time"));
    const QFontMetrics metrics(label->font());
    const QSize time = label->size();
    EXPECT_NEAR(time.width(), metrics.horizontalAdvance(QStringLiteral("Time")), 1);
    EXPECT_NEAR(time.height(), metrics.height(), 1);
    EXPECT_EQ(label->pos(), QPoint(24, 400)) << "sizing keeps the place";

    label->SetCaption(QStringLiteral("Time: 12:34:56 pm"));
    EXPECT_NEAR(label->width(), metrics.horizontalAdvance(QStringLiteral("Time: 12:34:56 pm")), 1);
    EXPECT_EQ(label->height(), time.height());

    // The accelerator mark is not drawn, so it takes no room; "&&" is one visible "&".
    label->SetCaption(QStringLiteral("&Time"));
    EXPECT_EQ(label->size(), time);
    label->SetCaption(QStringLiteral("A&&B"));
    EXPECT_NEAR(label->width(), metrics.horizontalAdvance(QStringLiteral("A&B")), 1);

    label->SetAutoSize(false);
    label->resize(200, 40);
    label->SetCaption(QStringLiteral("x"));
    EXPECT_EQ(label->size(), QSize(200, 40));
}

TEST_F(StandardControls, StaticTextSizesToItsCaptionAndBorder) {
    auto* label = new TLabel(Client());
    auto* text = new TStaticText(Client());
    const QString caption = QStringLiteral("Client Color and Font changer:");
    label->SetCaption(caption);
    text->SetCaption(caption);
    EXPECT_EQ(text->width(), label->width());
    EXPECT_EQ(text->height(), label->height() + 4);
    text->SetBorderStyle(sbsSingle);
    EXPECT_EQ(text->size(), QSize(label->width() + 2, label->height() + 6));
}

TEST_F(StandardControls, LabelFollowsTheWindowFont) {
    auto* label = new TLabel(Client());
    label->SetCaption(QStringLiteral("Date: 1/2/03"));
    const int before = label->height();
    Form.Font().SetHeight(-22);
    EXPECT_GT(label->height(), before);
    EXPECT_NEAR(label->width(), QFontMetrics(label->font()).horizontalAdvance(label->Caption()), 1);
}

TEST_F(StandardControls, WrappingLabelKeepsItsWidthWhateverTheOrderOfItsSettings) {
    const QString text = QStringLiteral("Packed with Nimbrel 1.4+ and a few more words");
    auto* captionFirst = new TLabel(Client());
    captionFirst->setGeometry(88, 64, 149, 26);
    captionFirst->SetCaption(text);
    captionFirst->SetWordWrap(true);
    auto* wrapFirst = new TLabel(Client());
    wrapFirst->setGeometry(88, 64, 149, 26);
    wrapFirst->SetWordWrap(true);
    wrapFirst->SetCaption(text);

    const int line = QFontMetrics(captionFirst->font()).height();
    for (TLabel* label : {captionFirst, wrapFirst}) {
        EXPECT_EQ(label->width(), 149);
        EXPECT_GE(label->height(), 2 * line) << "the text wraps onto more lines";
    }
    EXPECT_EQ(captionFirst->size(), wrapFirst->size());
}

// The style shades a group box's frame a little; the colour underneath is still the window's.
bool CloseTo(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= 6 && std::abs(a.green() - b.green()) <= 6 &&
           std::abs(a.blue() - b.blue()) <= 6;
}

TEST_F(StandardControls, CaptionsShowTheWindowColourAndFollowItsChanges) {
    auto* label = new TLabel(Client());
    label->SetAutoSize(false);
    label->setGeometry(10, 10, 60, 40);
    label->SetCaption(QStringLiteral("L"));
    auto* group = new TGroupBox(Client());
    group->setGeometry(100, 10, 100, 80);
    auto* text = new TStaticText(Client());
    text->SetAutoSize(false);
    text->setGeometry(10, 100, 80, 40);
    text->SetCaption(QStringLiteral("S"));

    for (TColor colour : {clSkyBlue, clMaroon, clGreen}) {
        Form.SetColor(colour);
        EXPECT_EQ(PixelOf(label, 55, 35), ToQColor(colour));
        EXPECT_TRUE(CloseTo(PixelOf(group, 50, 60), ToQColor(colour))) << colour;
        EXPECT_EQ(PixelOf(text, 70, 30), ToQColor(colour));
    }
    Form.SetFontColor(clYellow);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), ToQColor(clYellow));
    EXPECT_EQ(text->palette().color(QPalette::WindowText), ToQColor(clYellow));
}

TEST_F(StandardControls, PanelAndEditKeepTheirOwnColourUnlessToldToFollowTheParent) {
    auto* panel = new TPanel(Client());
    panel->setGeometry(10, 10, 100, 50);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(clSkyBlue);
    auto* edit = new TEdit(Client());
    edit->setGeometry(10, 100, 100, 21);
    edit->SetColor(clSkyBlue);

    Form.SetColor(clMaroon);
    EXPECT_EQ(PixelOf(panel, 50, 25), ToQColor(clSkyBlue));
    EXPECT_EQ(edit->palette().color(QPalette::Base), ToQColor(clSkyBlue));
    EXPECT_EQ(panel->Color(), clSkyBlue);

    panel->SetParentColor(true);
    EXPECT_EQ(PixelOf(panel, 50, 25), ToQColor(clMaroon));
    Form.SetColor(clGreen);
    EXPECT_EQ(PixelOf(panel, 50, 25), ToQColor(clGreen));
    EXPECT_EQ(panel->Color(), clGreen);

    panel->SetColor(clSilver);  // an explicit colour ends ParentColor
    EXPECT_FALSE(panel->ParentColor());
    Form.SetColor(clBlue);
    EXPECT_EQ(PixelOf(panel, 50, 25), ToQColor(clSilver));

    // The window font colour still reaches the edit's text.
    Form.SetFontColor(clNavy);
    EXPECT_EQ(edit->palette().color(QPalette::Text), ToQColor(clNavy));
}

TEST_F(StandardControls, PanelDrawsItsBorderThenOuterThenInnerBevel) {
    auto* panel = new TPanel(Client());
    panel->setGeometry(0, 0, 40, 30);
    panel->SetColor(clSilver);
    panel->SetBorderStyle(pbsSingle);
    panel->SetBevelOuter(bvLowered);
    panel->SetBevelInner(bvRaised);
    const QImage image = panel->grab().toImage();
    const QColor light = ToQColor(clBtnHighlight), dark = ToQColor(clBtnShadow);
    ASSERT_NE(light, dark);
    EXPECT_EQ(image.pixelColor(0, 0), ToQColor(clWindowFrame));  // border line
    EXPECT_EQ(image.pixelColor(39, 29), ToQColor(clWindowFrame));
    EXPECT_EQ(image.pixelColor(1, 10), dark);  // lowered outer bevel
    EXPECT_EQ(image.pixelColor(38, 10), light);
    EXPECT_EQ(image.pixelColor(2, 10), light);  // raised inner bevel
    EXPECT_EQ(image.pixelColor(37, 10), dark);
    EXPECT_EQ(image.pixelColor(3, 10), ToQColor(clSilver));
    EXPECT_EQ(panel->InnerRect(), QRect(3, 3, 34, 24));
}

TEST_F(StandardControls, AnErrorInANotificationGoesToTheErrorBoxAndTheControlCarriesOn) {
    auto* edit = new TEdit(Client());
    auto* button = new TBitBtn(Client());
    edit->OnChange = [](QObject*) { throw Exception("Edit failed"); };
    button->OnClick = [](QObject*) { throw EInOutError("I/O error 21", 21); };
    edit->SetText(QStringLiteral("abc"));
    button->Click();
    const auto boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Text, "Edit failed.");
    EXPECT_EQ(boxes[1].Text, "I/O error 21.");
    EXPECT_EQ(edit->Text(), "abc") << "the change itself stays";
}

TEST_F(StandardControls, MemoLinesRoundTripAndTabLeavesTheMemo) {
    auto* memo = new TMemo(Client());
    EXPECT_TRUE(memo->Lines().isEmpty());
    const QStringList lines = {"Button called \"D\" is a client color.", "", "and \"Record\". ",
                               "<x> 10-06-2003 -> New", ""};
    memo->SetLines(lines);
    EXPECT_EQ(memo->Lines(), lines);
    EXPECT_TRUE(memo->tabChangesFocus());
    memo->SetScrollBars(ssBoth);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    memo->SetScrollBarsName(QStringLiteral("ssVertical"));
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    memo->SetWordWrap(false);
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST_F(StandardControls, ProgressBarStepsWrapAndPositionsStayInRange) {
    TProgressBar bar(Client());
    EXPECT_EQ(bar.Step(), 10);
    bar.SetMax(100);
    bar.SetPosition(90);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 100);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 10) << "past the end it starts over from the beginning";
    bar.SetStep(-30);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 80);
    bar.SetPosition(500);
    EXPECT_EQ(bar.Position(), 100);
    EXPECT_EQ(bar.value(), 100);
    bar.SetMax(0);  // an empty range must not divide by zero
    bar.SetStep(1);
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 0);
}

TEST_F(StandardControls, ImageDrawsItsPictureUnscaledAtTheTopLeftAndClipsIt) {
    LayoutFiles files;
    QImage picture(30, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.setPixelColor(29, 9, Qt::blue);
    const QString path = files.Path(QStringLiteral("p.png"));
    ASSERT_TRUE(picture.save(path));

    auto* image = new TImage(Client());
    image->setGeometry(10, 10, 40, 20);
    image->SetPicture(path);
    EXPECT_EQ(image->Image().size(), QSize(30, 10));
    QImage shown = image->grab().toImage();
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(29, 9), QColor(Qt::blue)) << "not scaled";
    EXPECT_EQ(shown.pixelColor(35, 15), ToQColor(clSkyBlue)) << "the parent shows beyond it";

    image->resize(20, 5);  // smaller than the picture: clipped, not shrunk
    shown = image->grab().toImage();
    EXPECT_EQ(shown.pixelColor(19, 4), QColor(Qt::red));

    EXPECT_THROW(image->SetPicture(files.Path(QStringLiteral("missing.png"))), Exception);
    EXPECT_EQ(image->Picture(), path) << "a failed load keeps the old picture";
    image->SetPicture(QString());
    EXPECT_TRUE(image->Image().isNull());
}

TEST_F(StandardControls, ResourcePicturesOfHiddenControlsAreReadWhenDrawnOrAskedFor) {
    // As layouts give them: the control not yet on the screen.
    for (const auto& [path, size] : {std::pair{":/pictures/AboutLogo.jpg", QSize(97, 33)},
                                     std::pair{":/pictures/AboutQuill.bmp", QSize(73, 65)}}) {
        const QString resource = QString::fromLatin1(path);
        TImage asked;
        asked.SetPicture(resource);
        EXPECT_EQ(asked.Picture(), resource);
        EXPECT_EQ(asked.Image().size(), size) << path;
        TImage drawn;
        drawn.resize(size);
        drawn.SetPicture(resource);
        const QImage shown = drawn.grab().toImage();
        EXPECT_EQ(shown.pixelColor(size.width() / 2, size.height() / 2),
                  drawn.Image().pixelColor(size.width() / 2, size.height() / 2))
            << path;
    }
    // A picture missing from the resources is still an error at once, keeping the old one.
    TImage image;
    image.SetPicture(QStringLiteral(":/pictures/AboutLogo.jpg"));
    EXPECT_THROW(image.SetPicture(QStringLiteral(":/pictures/NoSuchPicture.jpg")), Exception);
    EXPECT_EQ(image.Picture(), QStringLiteral(":/pictures/AboutLogo.jpg"));
    EXPECT_EQ(image.Image().size(), QSize(97, 33));
}

}  // namespace
