// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// The player bar as a screen reader sees it: one tool bar with a push button for each visible
// button, named Play, Pause, Stop, Next, Prev, Step, Back, Record, Eject, each disabled while the
// bar would refuse a click on it, each with a press action that acts as that click.
#include <QAccessibleWidget>

class TMediaPlayer;

// The accessible face of a TMediaPlayer; installed for every player by
// InstallPlayerAccessibility.
class TMediaPlayerAccessible : public QAccessibleWidget {
public:
    explicit TMediaPlayerAccessible(TMediaPlayer* player);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;

    TMediaPlayer* Player() const;

private:
    // The children's cache ids, by button kind (0 until first asked for).
    mutable QAccessible::Id FChildIds[9] = {};
};

// Makes the accessibility bridge use TMediaPlayerAccessible for the player bar. Cheap: only a
// factory is registered; nothing is built until a reader asks.
void InstallPlayerAccessibility();
