// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// A non-visual timer. It ticks every Interval milliseconds while it is enabled, Interval is
// above zero and an OnTimer handler is bound. Ticks that fall due while a handler runs are merged
// into one; an error in a tick goes to the error box and the next tick runs as usual.
#include <QObject>
#include <QTimer>

#include "toolkit/TComponent.h"

class TTimer : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(int Interval READ Interval WRITE SetInterval)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)

public:
    explicit TTimer(QObject* parent = nullptr);

    int Interval() const { return FInterval; }
    // Setting the interval it already has does nothing; a new one restarts the count.
    void SetInterval(int ms);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool on);

    const TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(const TNotifyEvent& handler);
    bool BindEvent(std::string_view event, const TNotifyEvent& handler) override;

    // True while ticks are scheduled.
    bool Ticking() const { return FTimer.isActive(); }
    // Runs one tick now, as the timer would.
    void Tick();

private:
    void UpdateTimer();

    QTimer FTimer;
    int FInterval = 1000;
    bool FEnabled = true;
    TNotifyEvent FOnTimer;
};
