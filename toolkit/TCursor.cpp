// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace {
TCursor gScreenCursor = crDefault;
}

Qt::CursorShape CursorShape(TCursor cursor) {
    switch (cursor) {
        case crHandPoint:
            return Qt::PointingHandCursor;
        case crHourGlass:
            return Qt::WaitCursor;
        case crIBeam:
            return Qt::IBeamCursor;
        default:
            return Qt::ArrowCursor;
    }
}

Qt::CursorShape CursorShape(const std::string& name) {
    if (name == "crHandPoint") return CursorShape(crHandPoint);
    if (name == "crHourGlass") return CursorShape(crHourGlass);
    if (name == "crIBeam") return CursorShape(crIBeam);
    return Qt::ArrowCursor;
}

TCursor TScreen::Cursor() {
    return gScreenCursor;
}

void TScreen::SetCursor(TCursor cursor) {
    if (cursor == gScreenCursor) return;
    if (gScreenCursor != crDefault) QGuiApplication::restoreOverrideCursor();
    gScreenCursor = cursor;
    if (cursor != crDefault) QGuiApplication::setOverrideCursor(QCursor(CursorShape(cursor)));
}
