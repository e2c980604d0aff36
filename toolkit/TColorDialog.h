// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The standard colour dialog as a non-visual component: the colour it starts with and returns,
// and its sixteen custom-colour slots as "ColorA=00BBGGRR" ... "ColorP=..." lines.
#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

#include "toolkit/Graphics.h"
#include "toolkit/TComponent.h"

class TColorDialog : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(QStringList CustomColors READ CustomColors WRITE SetCustomColors)

public:
    explicit TColorDialog(QObject* parent = nullptr);

    TColor Color() const { return FColor; }
    void SetColor(TColor color) { FColor = color; }
    QStringList CustomColors() const { return FCustomColors; }
    void SetCustomColors(const QStringList& lines) { FCustomColors = lines; }

    // The custom-colour slot (0 for ColorA ... 15 for ColorP) and colour a line names; false
    // for a line that names no slot or holds no hexadecimal colour ("FFFFFFFF" is an empty slot).
    static bool ParseCustomColor(const QString& line, int& slot, TColor& color);

    // Shows the dialog modally. True when the user accepted: Color then holds the choice.
    bool Execute();

    // Answers Execute without a window (tests): the colour the user would have chosen, or
    // nothing for Cancel. The dialog's state as it would have been shown can be read from it.
    static inline std::function<std::optional<TColor>(TColorDialog&)> ExecuteHook;

private:
    TColor FColor = clBlack;
    QStringList FCustomColors;
};
