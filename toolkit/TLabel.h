// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A caption drawn on its parent: no colour of its own (it shows the parent's colour) and the
// window's font and font colour. With AutoSize it fits itself to its text after every change.
#include <QLabel>

#include "toolkit/TComponent.h"

class TLabel : public QLabel, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

public:
    explicit TLabel(QWidget* parent = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool on);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool on);
    // A transparent label leaves its background unpainted, so what lies beneath shows through.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void AdjustBounds();

    QString FCaption;
    // The width the label was given from outside: a wrapping label wraps at it. A width that
    // AdjustBounds set itself is told apart by FAutoWidth.
    int FDesignWidth = 0;
    int FAutoWidth = -1;
    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FTransparent = false;
};
