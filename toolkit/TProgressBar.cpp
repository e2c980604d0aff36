// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include "toolkit/TProgressBar.h"

#include <algorithm>

TProgressBar::TProgressBar(QWidget* parent) : QProgressBar(parent) {
    setTextVisible(false);
    setFocusPolicy(Qt::NoFocus);
    Apply();
}

void TProgressBar::SetMin(int min) {
    if (min == FMin) return;
    FMin = min;
    Apply();
}

void TProgressBar::SetMax(int max) {
    if (max == FMax) return;
    FMax = max;
    Apply();
}

void TProgressBar::SetPosition(int position) {
    position = FMax >= FMin ? std::clamp(position, FMin, FMax) : FMin;
    if (position == FPosition) return;
    FPosition = position;
    setValue(position);
}

void TProgressBar::StepIt() {
    long long next = static_cast<long long>(FPosition) + FStep;
    const long long span = static_cast<long long>(FMax) - FMin;
    if ((next < FMin || next > FMax) && span > 0) next = FMin + (next - FMin) % span;
    // A reversed step below Min wraps to the far end of the range.
    if (next < FMin && span > 0) next += span;
    SetPosition(static_cast<int>(std::clamp<long long>(next, FMin, std::max(FMin, FMax))));
}

void TProgressBar::Apply() {
    setRange(FMin, std::max(FMin, FMax));
    FPosition = FMax >= FMin ? std::clamp(FPosition, FMin, FMax) : FMin;
    setValue(FPosition);
}
