// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Mouse cursors by their toolkit values, and the screen cursor that long operations set.
#include <Qt>
#include <string>

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crIBeam = -4;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crHandPoint = -21;

Qt::CursorShape CursorShape(TCursor cursor);
Qt::CursorShape CursorShape(const std::string& name);  // "crHandPoint", ...

// The screen cursor: crDefault lets each control show its own; anything else overrides all.
class TScreen {
public:
    static TCursor Cursor();
    static void SetCursor(TCursor cursor);
};
