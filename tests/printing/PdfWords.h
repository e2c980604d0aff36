// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Reads the words of a PDF file with their boxes (poppler's pdftotext -bbox), so printing tests
// can check where text landed on which page.
#include <string>
#include <vector>

struct PdfWord {
    std::string Text;
    double XMin = 0, YMin = 0, XMax = 0, YMax = 0;  // points from the page's top-left corner
};

struct PdfPage {
    double Width = 0, Height = 0;  // points
    std::vector<PdfWord> Words;
};

// The pages of the file; empty when it cannot be read. Fails the test when pdftotext is
// missing or the file is not a PDF.
std::vector<PdfPage> ReadPdfWords(const std::string& path);

// Converts points to printer device pixels at `dpi`, measured from `originPoints`.
inline double PointsToPixels(double points, double originPoints, int dpi) {
    return (points - originPoints) * dpi / 72.0;
}
