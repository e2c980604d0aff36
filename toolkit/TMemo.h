// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A multi-line edit box: its text as a list of lines, its own colour, scroll bars and word wrap.
// Tab moves the focus on rather than typing a tab character.
#include <QPlainTextEdit>
#include <QStringList>

#include "toolkit/Graphics.h"
#include "toolkit/TComponent.h"
#include "toolkit/TScrollStyle.h"

class TMemo : public QPlainTextEdit, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QStringList Lines READ Lines WRITE SetLines)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(QString ScrollBars READ ScrollBarsName WRITE SetScrollBarsName)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)

public:
    explicit TMemo(QWidget* parent = nullptr);

    // One entry per paragraph; an empty memo has no lines.
    QStringList Lines() const;
    void SetLines(const QStringList& lines);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle style);
    // "ssNone", "ssHorizontal", "ssVertical" or "ssBoth"; any other name is an error.
    QString ScrollBarsName() const;
    void SetScrollBarsName(const QString& name);
    bool WordWrap() const { return lineWrapMode() != QPlainTextEdit::NoWrap; }
    void SetWordWrap(bool on);
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool on) { setReadOnly(on); }

private:
    TColor FColor = clWindow;
    TScrollStyle FScrollBars = ssNone;
};
