// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Which scroll bars a multi-line control shows, and the names layouts give the styles.
#include <QString>

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

QString ScrollStyleName(TScrollStyle style);
// "ssNone", "ssHorizontal", "ssVertical" or "ssBoth"; any other name raises an Exception.
TScrollStyle ScrollStyleFromName(const QString& name);
