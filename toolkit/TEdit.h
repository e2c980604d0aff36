// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A single-line edit box in its own colour, with the window's font and font colour. OnChange
// follows every change of the text, typed or set by the program.
#include <QLineEdit>

#include "toolkit/Graphics.h"
#include "toolkit/TComponent.h"

class TEdit : public QLineEdit, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)

public:
    explicit TEdit(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    void SetText(const QString& text);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool on) { setReadOnly(on); }
    void SelectAll() { selectAll(); }

    TNotifyEvent OnChange;

private:
    TColor FColor = clWindow;
};
