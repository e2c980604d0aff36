// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "player/PlayerComponents.h"

#include "player/TMediaPlayer.h"
#include "player/TMediaPlayerAccessible.h"
#include "toolkit/ComponentRegistry.h"

void RegisterPlayerComponents() {
    RegisterComponentClass<TMediaPlayer>("TMediaPlayer");
    InstallPlayerAccessibility();
}
