// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TTimer.h"

TTimer::TTimer(QObject* parent) : QObject(parent) {
    connect(&FTimer, &QTimer::timeout, this, &TTimer::Tick);
}

void TTimer::SetInterval(int ms) {
    if (ms == FInterval) return;
    FInterval = ms;
    UpdateTimer();
}

void TTimer::SetEnabled(bool on) {
    if (on == FEnabled) return;
    FEnabled = on;
    UpdateTimer();
}

void TTimer::SetOnTimer(const TNotifyEvent& handler) {
    FOnTimer = handler;
    UpdateTimer();
}

bool TTimer::BindEvent(std::string_view event, const TNotifyEvent& handler) {
    if (event != "OnTimer") return false;
    SetOnTimer(handler);
    return true;
}

void TTimer::Tick() {
    SafeCall([this] { Fire(FOnTimer, this); });
}

void TTimer::UpdateTimer() {
    FTimer.stop();
    if (FEnabled && FInterval > 0 && FOnTimer) FTimer.start(FInterval);
}
