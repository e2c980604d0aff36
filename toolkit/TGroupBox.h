// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A captioned frame around a group of controls. It has no colour of its own (it shows its
// parent's) and never holds the focus itself: focus given to it goes on to its first child that
// takes the focus, and the tab order runs through its children at its own place.
#include <QGroupBox>

#include "toolkit/TComponent.h"

class TGroupBox : public QGroupBox, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)

public:
    explicit TGroupBox(QWidget* parent = nullptr);

    QString Caption() const { return title(); }
    void SetCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;
};
