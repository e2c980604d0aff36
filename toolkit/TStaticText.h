// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A windowed caption: like a label it shows the parent's colour and the window's font, and it
// can draw a border around its text. It never takes the focus.
#include <QLabel>

#include "toolkit/TComponent.h"

enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };

class TStaticText : public QLabel, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(QString BorderStyle READ BorderStyleName WRITE SetBorderStyleName)

public:
    explicit TStaticText(QWidget* parent = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool on);
    TStaticBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TStaticBorderStyle style);
    // "sbsNone", "sbsSingle" or "sbsSunken"; any other name is an error.
    QString BorderStyleName() const;
    void SetBorderStyleName(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int BorderWidth() const { return FBorderStyle == sbsNone ? 0 : 1; }
    void AdjustBounds();

    QString FCaption;
    bool FAutoSize = true;
    TStaticBorderStyle FBorderStyle = sbsNone;
};
