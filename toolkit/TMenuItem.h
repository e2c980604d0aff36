// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A menu entry: caption with its "&" accelerator, shortcut as the toolkit stores it, OnClick.
#include <QAction>

#include "toolkit/TComponent.h"

class TMenuItem : public QAction, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ShortCut READ ShortCut WRITE SetShortCut)

public:
    explicit TMenuItem(QObject* parent = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);  // "-" makes a separator line
    int ShortCut() const { return FShortCut; }
    // Stored form: key code plus 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
    void SetShortCut(int shortCut);
    static QKeySequence ToKeySequence(int shortCut);

    TNotifyEvent OnClick;

private:
    QString FCaption;
    int FShortCut = 0;
};
