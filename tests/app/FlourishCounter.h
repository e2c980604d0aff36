// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Counts the progress bars that appear on a window while it is watched (the progress flourish).
#include <QChildEvent>
#include <QObject>
#include <QProgressBar>

class FlourishCounter : public QObject {
public:
    explicit FlourishCounter(QWidget* client) : FClient(client) {
        client->installEventFilter(this);
    }
    ~FlourishCounter() override { FClient->removeEventFilter(this); }
    int Shown = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::ChildPolished &&
            qobject_cast<QProgressBar*>(static_cast<QChildEvent*>(e)->child()))
            ++Shown;
        return false;
    }
    // True while a bar still stands on the window.
    bool BarPresent() const { return FClient->findChild<QProgressBar*>() != nullptr; }

private:
    QWidget* FClient;
};
