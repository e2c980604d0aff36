// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A progress bar over Min..Max. StepIt advances Position by Step and starts again from the
// beginning once it passes the end.
#include <QProgressBar>

#include "toolkit/TComponent.h"

class TProgressBar : public QProgressBar, public TComponent {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Step READ Step WRITE SetStep)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)

public:
    explicit TProgressBar(QWidget* parent = nullptr);

    int Min() const { return FMin; }
    void SetMin(int min);
    int Max() const { return FMax; }
    void SetMax(int max);
    int Step() const { return FStep; }
    void SetStep(int step) { FStep = step; }
    int Position() const { return FPosition; }
    // Kept within Min..Max.
    void SetPosition(int position);
    void StepIt();

private:
    void Apply();

    int FMin = 0;
    int FMax = 100;
    int FStep = 10;
    int FPosition = 0;
};
