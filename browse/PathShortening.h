// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Fitting a path into a label of fixed width by leaving out its leading folders.
#include <string>

class TCanvas;

// Removes the first folder of a directory part, marking the gap with "...\":
// "\Program Files\Common\" -> "\...\Common\", "\...\Common\" -> "\...\", "...\" -> "",
// "\" -> "". A leading "\" is kept.
void DropLeadingFolder(std::string& dir);

// The path, or the shortest form of it that fits `maxWidth` pixels on the canvas: leading
// folders give way to "...\" one by one, then the drive, then the "...\" itself, so that
// C:\Program Files\Common\Tools becomes C:\...\Common\Tools, C:\...\Tools, ...\Tools, Tools.
// The name itself is never cut, even when it alone is too wide.
std::string ShortenPathToWidth(const std::string& path, TCanvas& canvas, int maxWidth);
