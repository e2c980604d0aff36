// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The four windows as a high-density screen shows them. This program runs once per screen scale
// (QT_SCALE_FACTOR 1, 1.5 and 2, set by the test registration before the application starts)
// and checks what it grabs against the windows' layout tables: every control at its place
// scaled by the ratio, every caption inside its control, pictures from their high-density
// files, glyphs with hard edges, list entries as high as their item height, and the player's
// buttons answering the pixels they are drawn on.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <functional>
#include <set>

#include "app/Unit11.h"
#include "app/Unit14.h"
#include "app/Unit7.h"
#include "app/Unit8.h"
#include "browse/TDirectoryListBox.h"
#include "player/PlayerButtonDrawing.h"
#include "player/PlayerGlyphs.h"
#include "player/TMediaPlayer.h"
#include "tests/app/AppFixture.h"
#include "toolkit/DeviceImage.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TForm.h"
#include "toolkit/TImage.h"
#include "toolkit/TJPEGImage.h"

namespace {

// The screen scale this run was started with.
qreal Ratio() {
    return qGuiApp->devicePixelRatio();
}

struct WindowRow {
    const char* Layout;
    TForm* (*Window)();
};

const WindowRow kWindows[] = {
    {":/layouts/Unit7.json", [] { return static_cast<TForm*>(Form7); }},
    {":/layouts/Unit8.json", [] { return static_cast<TForm*>(AboutBox1); }},
    {":/layouts/Unit11.json", [] { return static_cast<TForm*>(Form11); }},
    {":/layouts/Unit14.json", [] { return static_cast<TForm*>(howto); }},
};

// One control of a layout table: its name, class, place in its parent and caption.
struct TableControl {
    QString Name, Class, Caption;
    QRect Bounds;
};

void CollectControls(const QJsonArray& controls, std::vector<TableControl>& out) {
    for (const auto& v : controls) {
        const QJsonObject c = v.toObject();
        const QJsonArray b = c.value(QStringLiteral("bounds")).toArray();
        out.push_back({c.value(QStringLiteral("name")).toString(),
                       c.value(QStringLiteral("class")).toString(),
                       c.value(QStringLiteral("properties"))
                           .toObject()
                           .value(QStringLiteral("Caption"))
                           .toString(),
                       QRect(b[0].toInt(), b[1].toInt(), b[2].toInt(), b[3].toInt())});
        CollectControls(c.value(QStringLiteral("controls")).toArray(), out);
    }
}

std::vector<TableControl> TableOf(const char* layout) {
    QFile file(QString::fromLatin1(layout));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << layout;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    std::vector<TableControl> controls;
    CollectControls(root.value(QStringLiteral("controls")).toArray(), controls);
    return controls;
}

// Controls that size themselves to their text or font: their place is the table's, their size
// their own.
bool SizesItself(const QString& className) {
    static const std::set<QString> kinds = {
        QStringLiteral("TLabel"), QStringLiteral("TStaticText"), QStringLiteral("TDriveComboBox"),
        QStringLiteral("TFilterComboBox"), QStringLiteral("TColorBox")};
    return kinds.count(className) != 0;
}

// The text a control shows as its caption.
QString ShownCaption(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    const QVariant caption = w->property("Caption");
    if (caption.isValid()) return caption.toString();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    return {};
}

// How wide the caption's ink is, in logical pixels, when drawn at the screen's ratio: measured
// on the pixels, as the user sees it, not taken from the font's figures.
qreal InkWidth(const QFont& font, const QString& text, qreal ratio) {
    const int logicalWidth = 1000, logicalHeight = 60;
    QImage image(int(logicalWidth * ratio), int(logicalHeight * ratio),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QRect(0, 0, logicalWidth, logicalHeight), Qt::TextShowMnemonic, text);
    }
    int right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = image.width() - 1; x > right; --x)
            if (qAlpha(image.pixel(x, y)) > 0) right = x;
    return (right + 1) / ratio;
}

class ScreenScale : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        for (const WindowRow& w : kWindows) w.Window()->SetVisible(true);
        QCoreApplication::processEvents();
    }
};

}  // namespace

TEST_F(ScreenScale, EveryWindowIsGrabbedAtTheScreensScale) {
    const qreal ratio = Ratio();
    for (const WindowRow& row : kWindows) {
        TForm* window = row.Window();
        SCOPED_TRACE(window->objectName().toStdString());
        const QPixmap shot = window->grab();
        EXPECT_DOUBLE_EQ(shot.devicePixelRatio(), ratio);
        EXPECT_EQ(shot.width(), std::lround(window->width() * ratio));
        EXPECT_EQ(shot.height(), std::lround(window->height() * ratio));
    }
}

TEST_F(ScreenScale, EveryControlOfTheLayoutTablesSitsAtItsScaledPlace) {
    const qreal ratio = Ratio();
    for (const WindowRow& row : kWindows) {
        TForm* window = row.Window();
        for (const TableControl& c : TableOf(row.Layout)) {
            SCOPED_TRACE(QString(window->objectName() + QLatin1Char('.') + c.Name).toStdString());
            auto* w = window->findChild<QWidget*>(c.Name);
            ASSERT_NE(w, nullptr);
            // Where its pixels are in the grabbed window: the table's place times the ratio.
            const QPoint device = w->pos() * ratio;
            EXPECT_EQ(device, c.Bounds.topLeft() * ratio);
            const QImage drawn = w->grab().toImage();
            EXPECT_EQ(drawn.width(), std::lround(w->width() * ratio));
            EXPECT_EQ(drawn.height(), std::lround(w->height() * ratio));
            if (!SizesItself(c.Class)) {
                EXPECT_EQ(w->size() * ratio, c.Bounds.size() * ratio);
            }
        }
    }
}

TEST_F(ScreenScale, EveryCaptionFitsItsControl) {
    const qreal ratio = Ratio();
    int captions = 0;
    for (const WindowRow& row : kWindows) {
        TForm* window = row.Window();
        for (const TableControl& c : TableOf(row.Layout)) {
            auto* w = window->findChild<QWidget*>(c.Name);
            ASSERT_NE(w, nullptr);
            const QString caption = ShownCaption(w);
            if (caption.isEmpty()) continue;
            SCOPED_TRACE(QString(window->objectName() + QLatin1Char('.') + c.Name +
                                 QStringLiteral(": ") + caption)
                             .toStdString());
            ++captions;
            // A group box's title sits between two short stretches of its frame.
            const int room = qobject_cast<QGroupBox*>(w) ? w->width() - 16 : w->width();
            EXPECT_LE(InkWidth(w->font(), caption, ratio), room);
        }
    }
    EXPECT_GT(captions, 30);
}

TEST_F(ScreenScale, PicturesAreDrawnFromTheirHighDensityFiles) {
    const qreal ratio = Ratio();
    int pictures = 0;
    for (const WindowRow& row : kWindows) {
        for (TImage* image : row.Window()->findChildren<TImage*>()) {
            SCOPED_TRACE(image->Picture().toStdString());
            ++pictures;
            // The file that holds the device pixels: NAME@2x on a dense screen.
            const bool dense = ratio > 1;
            const QString file = dense ? HighDensityName(image->Picture()) : image->Picture();
            QImage source;
            if (file.endsWith(QLatin1String(".jpg"))) {
                TJPEGImage jpeg;
                jpeg.LoadFromFile(file);
                source = jpeg.Image();
            } else {
                source = QImage(file);
            }
            ASSERT_FALSE(source.isNull());
            EXPECT_EQ(source.size(), image->Image().size() * (dense ? 2 : 1));
            const QImage expected =
                PictureForRatio(source, dense ? 2 : 1, ratio).convertToFormat(QImage::Format_RGB32);
            const QImage drawn = image->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QRect area(QPoint(0, 0), expected.size().boundedTo(drawn.size()));
            EXPECT_EQ(drawn.copy(area), expected.copy(area));
        }
    }
    EXPECT_EQ(pictures, 6);
}

// Each picture's high-density file is the same drawing at twice the size: shrunk to a quarter of
// the picture's size, where type hinting no longer counts, no patch of the two differs much.
// (A drawing recipe that scaled an angle along with the sizes once turned the @2x quill around
// and left it an outline.)
TEST_F(ScreenScale, HighDensityPicturesShowTheSameDrawing) {
    const QStringList dense =
        QDir(QStringLiteral(":/pictures")).entryList({QStringLiteral("*@2x.*")});
    ASSERT_EQ(dense.size(), 6);
    for (const QString& file : dense) {
        SCOPED_TRACE(file.toStdString());
        const QString picture =
            QStringLiteral(":/pictures/") + QString(file).remove(QStringLiteral("@2x"));
        const auto read = [](const QString& path) {
            TImage image;
            image.SetPicture(path);
            return image.Image();
        };
        const QImage small = read(picture);
        const QImage large = read(QStringLiteral(":/pictures/") + file);
        ASSERT_EQ(large.size(), small.size() * 2);
        const QSize coarse = small.size() / 4;
        const auto shrink = [&](const QImage& image) {
            return image.scaled(coarse, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_RGB32);
        };
        const QImage a = shrink(small), b = shrink(large);
        int worst = 0;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(p) - qRed(q)),
                                  std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
            }
        }
        EXPECT_LT(worst, 128);
    }
}

TEST_F(ScreenScale, ListEntriesKeepTheirItemHeightInDevicePixels) {
    const qreal ratio = Ratio();
    auto* dirs = Form7->findChild<TDirectoryListBox*>(QStringLiteral("DirectoryListBox1"));
    ASSERT_NE(dirs, nullptr);
    // The current folder's entry is the highlighted band: count its rows of device pixels.
    const QImage shot = dirs->viewport()->grab().toImage();
    const QRgb highlight = ToQColor(ColorToRGB(clHighlight)).rgb();
    const int column = shot.width() - int(4 * ratio);
    int band = 0;
    for (int y = 0; y < shot.height(); ++y)
        if ((shot.pixel(column, y) & 0xFFFFFF) == (highlight & 0xFFFFFF)) ++band;
    EXPECT_EQ(band, std::lround(dirs->ItemHeight() * ratio));
}

TEST_F(ScreenScale, PlayerButtonsAnswerThePixelsTheyAreDrawnOn) {
    const qreal ratio = Ratio();
    auto* player = Form7->findChild<TMediaPlayer*>(QStringLiteral("MediaPlayer1"));
    ASSERT_NE(player, nullptr);
    player->SetAutoEnable(false);
    player->SetEnabledButtons(kAllButtons);
    std::vector<int> pressed;
    player->OnClick = [&](QObject*, TMPBtnType button, bool& doDefault) {
        pressed.push_back(button);
        doDefault = false;
    };
    const int slot = player->SlotWidth();
    const int deviceSlot = int(std::lround((slot - 1) * ratio));
    for (int b = btPlay; b <= btEject; ++b) {
        const int left = int(std::lround(b * (slot - 1) * ratio));
        // Device columns of the button's face: just inside both bevels, and the middle.
        for (const int column :
             {left + int(3 * ratio), left + deviceSlot / 2, left + deviceSlot - int(3 * ratio)}) {
            SCOPED_TRACE("button " + std::to_string(b) + ", device column " +
                         std::to_string(column));
            const QPointF at((column + 0.5) / ratio, player->height() / 2.0);
            QMouseEvent press(QEvent::MouseButtonPress, at, player->mapToGlobal(at), Qt::LeftButton,
                              Qt::LeftButton, {});
            QMouseEvent release(QEvent::MouseButtonRelease, at, player->mapToGlobal(at),
                                Qt::LeftButton, Qt::NoButton, {});
            pressed.clear();
            QCoreApplication::sendEvent(player, &press);
            QCoreApplication::sendEvent(player, &release);
            ASSERT_EQ(pressed.size(), 1u);
            EXPECT_EQ(pressed[0], b);
        }
    }
}

// --- Glyphs: drawn with hard edges at whole ratios, evenly at fractional ones -----------------

namespace {

// The two ways a glyph reaches the screen: an owner-drawn list entry through the canvas (the
// bottom-left pixel's colour left out) and a player button (its key colour left out).
struct GlyphDrawer {
    const char* What;
    QRgb Key;
    // Paints the glyph and says where its top-left corner went, in logical pixels.
    std::function<QPoint(QPainter&, const TBitmap&)> Paint;
};

const GlyphDrawer kDrawers[] = {
    {"list entry", qRgb(255, 0, 255),
     [](QPainter& p, const TBitmap& glyph) {
         TCanvas canvas(&p);
         canvas.BrushColor = clWhite;
         canvas.DrawTransparent(4, 3, glyph);
         return QPoint(4, 3);
     }},
    {"player button",
     qRgb(kGlyphKeyRgb >> 16 & 0xFF, kGlyphKeyRgb >> 8 & 0xFF, kGlyphKeyRgb & 0xFF),
     [](QPainter& p, const TBitmap& glyph) {
         TPlayerButtonLook look;
         look.Width = 40;
         look.Height = 30;
         look.Glyph = &glyph;
         DrawPlayerButton(p, look);
         return QPoint(40 / 2 - glyph.Width() / 2, 30 / 2 - glyph.Height() / 2);
     }},
};

QImage Surface(qreal ratio) {
    QImage surface(int(60 * ratio), int(40 * ratio), QImage::Format_RGB32);
    surface.fill(Qt::white);
    surface.setDevicePixelRatio(ratio);
    return surface;
}

// A glyph of one-pixel vertical lines, every other column dark, over a row of the key colour.
TBitmap Stripes(QRgb key) {
    QImage image(16, 3, QImage::Format_RGB32);
    for (int x = 0; x < 16; ++x) {
        image.setPixel(x, 0, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        image.setPixel(x, 1, image.pixel(x, 0));
        image.setPixel(x, 2, key);
    }
    return TBitmap(image);
}

}  // namespace

TEST(DrawnGlyphs, EveryLineOfAGlyphKeepsOneWeightAtEveryRatio) {
    // Stretching one pixel to 1.5 device pixels on the fly makes every other line twice as heavy
    // as its neighbour; the glyph must come out evenly at every ratio.
    for (const GlyphDrawer& drawer : kDrawers) {
        const TBitmap glyph = Stripes(drawer.Key);
        for (const qreal ratio : {1.0, 1.5, 2.0}) {
            SCOPED_TRACE(std::string(drawer.What) + " at " + std::to_string(ratio));
            QImage surface = Surface(ratio);
            QPoint at;
            {
                QPainter p(&surface);
                at = drawer.Paint(p, glyph);
            }
            // Darkness of each line pair (dark + light column) along the glyph's first row.
            const int row = int((at.y() + 0.5) * ratio);
            std::vector<double> pairs(8, 0.0);
            for (int x = int(std::ceil(at.x() * ratio)); x < int((at.x() + 16) * ratio); ++x) {
                const int column = std::min(15, int((x + 0.5) / ratio - at.x()));
                pairs[std::size_t(column / 2)] += 1.0 - qGray(surface.pixel(x, row)) / 255.0;
            }
            const auto [lightest, heaviest] = std::minmax_element(pairs.begin(), pairs.end());
            EXPECT_NEAR(*lightest, ratio, 0.35);
            EXPECT_NEAR(*heaviest, ratio, 0.35);
        }
    }
}

TEST(DrawnGlyphs, AtTwiceTheScaleEveryGlyphPixelIsABlockOfItsOwnColour) {
    const TPlayerGlyphs playerGlyphs;
    const TBitmap glyphs[] = {TBitmap::FromResource("OPENFOLDER"),
                              playerGlyphs.Glyph(btPlay, TGlyphLook::Colored)};
    for (std::size_t d = 0; d < std::size(kDrawers); ++d) {
        const GlyphDrawer& drawer = kDrawers[d];
        const TBitmap& glyph = glyphs[d];
        SCOPED_TRACE(drawer.What);
        QImage surface = Surface(2);
        QPoint at;
        {
            QPainter p(&surface);
            at = drawer.Paint(p, glyph);
        }
        for (int y = 0; y < glyph.Height(); ++y)
            for (int x = 0; x < glyph.Width(); ++x) {
                const QRgb want = glyph.Image.pixel(x, y) & 0xFFFFFF;
                if (want == (drawer.Key & 0xFFFFFF)) continue;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        ASSERT_EQ(
                            surface.pixel((at.x() + x) * 2 + dx, (at.y() + y) * 2 + dy) & 0xFFFFFF,
                            want)
                            << x << "," << y;
            }
    }
}
