// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/ControlColor.h"

#include <QWidget>

void ApplyControlColor(QWidget* control, QPalette::ColorRole role, TColor color) {
    if (color == clDefault || color == clNone) {
        FollowParentColor(control);
        return;
    }
    // Start from a palette that sets nothing, so that only this role stops being inherited.
    QPalette own;
    own.setResolveMask(0);
    own.setColor(role, ToQColor(color));
    control->setPalette(own);
}

void FollowParentColor(QWidget* control) {
    QPalette none;
    none.setResolveMask(0);
    control->setPalette(none);
}
