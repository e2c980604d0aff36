// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Giving a control a colour of its own while everything else (font colour, the other palette
// roles) keeps following the window.
#include <QPalette>

#include "toolkit/Graphics.h"

class QWidget;

// Paints `role` of the control in `color`; clDefault gives back the role's default colour.
void ApplyControlColor(QWidget* control, QPalette::ColorRole role, TColor color);

// Lets the control show its parent's colour again (and follow later changes of it).
void FollowParentColor(QWidget* control);
