// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TScrollStyle.h"

#include "platform/system/Exception.h"

namespace {
const char* const kNames[] = {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
}

QString ScrollStyleName(TScrollStyle style) {
    return QString::fromLatin1(kNames[style]);
}

TScrollStyle ScrollStyleFromName(const QString& name) {
    for (int i = 0; i < 4; ++i)
        if (name == QLatin1String(kNames[i])) return TScrollStyle(i);
    throw Exception("Invalid scroll bar style " + name.toStdString());
}
