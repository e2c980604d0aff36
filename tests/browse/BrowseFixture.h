// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Drives over temporary folders for the browser panel's tests, and helpers to record the
// controls' notifications.
//
//   A: removable            C: fixed "SYSTEM" (current: C:\Work)   D: fixed "Data"
//   E: CD-ROM "Audio CD"    F: share \\srv\share                    G: share, name unknown
//   N: removable, its medium taken out                              R: RAM disk
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

#include "browse/FileCtrl.h"
#include "tests/TempVolumes.h"
#include "tests/TestSupport.h"

class BrowseTest : public ::testing::Test {
protected:
    // In the constructor, so that the controls of a derived fixture start on these drives.
    BrowseTest() {
        V.AddDrive('A', "floppy", DRIVE_REMOVABLE);
        V.AddDrive('C', "c", DRIVE_FIXED, "SYSTEM");
        V.AddDrive('D', "d", DRIVE_FIXED, "Data");
        V.AddDrive('E', "cd", DRIVE_CDROM, "Audio CD");
        V.AddDrive('F', "share", DRIVE_REMOTE, "", "\\\\srv\\share");
        V.AddDrive('G', "backup", DRIVE_REMOTE, "Backup");
        V.AddDrive('N', "stick", DRIVE_REMOVABLE);
        V.AddDrive('R', "ram", DRIVE_RAMDISK, "Ram");
        for (const char* dir : {"c/Work/Sub", "c/Work/alpha", "c/Work/Beta", "c/Work/.git",
                                "c/Windows", "d/Docs/Old", "share/dir"})
            V.MakeDir(dir);
        for (const char* file :
             {"c/Work/notes.rtf", "c/Work/readme.txt", "c/Work/SETUP.EXE", "c/Work/Makefile",
              "c/Work/.profile", "d/Docs/a.txt", "d/Docs/b.rtf"})
            V.MakeFile(file);
        V.Install();
        ChangeDirectory("C:\\Work");
        EXPECT_EQ(::rmdir(V.Sys("stick").c_str()), 0);  // N: has no medium
    }

    // The texts of a list or combo box's entries.
    template <class List>
    static std::vector<std::string> Texts(const List& list) {
        std::vector<std::string> texts;
        texts.reserve(std::size_t(list.Count()));
        for (int i = 0; i < list.Count(); ++i) texts.push_back(list.ItemText(i));
        return texts;
    }

    // The message of the error that `f` raises; empty when none.
    template <class F>
    static std::string ErrorOf(F&& f) {
        try {
            f();
        } catch (const std::exception& e) {
            return e.what();
        }
        return {};
    }

    // Paints one entry of an owner-drawn control into an image filled with `background`.
    template <class Control>
    static QImage PaintEntry(Control& control, int index, QSize size, QRgb background = 0) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(background);
        QPainter painter(&image);
        control.PaintItem(&painter, index, QRect(QPoint(0, 0), size), 0);
        return image;
    }

    // True when the image holds the glyph with its top-left corner at (x, y), its key colour
    // replaced by `brush`.
    static bool HasGlyphAt(const QImage& image, const TBitmap& glyph, int x, int y, QRgb brush) {
        const QRgb key = glyph.TransparentColor() & 0xFFFFFF;
        for (int row = 0; row < glyph.Height(); ++row) {
            for (int col = 0; col < glyph.Width(); ++col) {
                const QRgb g = glyph.Image.pixel(col, row) & 0xFFFFFF;
                const QRgb want = g == key ? brush & 0xFFFFFF : g;
                if ((image.pixel(x + col, y + row) & 0xFFFFFF) != want) return false;
            }
        }
        return true;
    }

    // The leftmost column in which some pixel differs from `background`, from column `from` on.
    static int FirstInkColumn(const QImage& image, int from, QRgb background) {
        for (int x = from; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF)) return x;
        return -1;
    }

    TempVolumes V;
    std::vector<std::string> Log;  // notifications in the order they came
};
