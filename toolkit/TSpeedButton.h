// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A tool button drawn on its parent. Speed buttons never take the focus, so clicking one leaves
// the focus (and the window's active control) where it was.
#include <QToolButton>

#include "toolkit/TComponent.h"

class TSpeedButton : public QToolButton, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)

public:
    explicit TSpeedButton(QWidget* parent = nullptr);

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption);
    // A flat button shows its face only while the mouse is over it.
    bool Flat() const { return autoRaise(); }
    void SetFlat(bool on) { setAutoRaise(on); }
    // How many images a glyph strip holds (1 to 4); any other count is an error.
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int count);
    void Click() { click(); }

    TNotifyEvent OnClick;

private:
    int FNumGlyphs = 1;
};
