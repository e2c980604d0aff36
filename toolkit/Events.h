// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// Event handlers and the one path by which every handler is dispatched from a Qt event.
#include <QObject>
#include <functional>

// A change or click notification: the sending control comes first.
using TNotifyEvent = std::function<void(QObject* Sender)>;

inline void Fire(const TNotifyEvent& event, QObject* sender) {
    if (event) event(sender);
}

// Reports the exception being handled to the application's error box (or drops it when it is a
// silent abort). Only callable from inside a catch block.
void HandleException() noexcept;

// Runs `body` at a boundary where Qt calls into the program (an event handler, a signal, a timer):
// an error that escapes goes to the error box and the program carries on.
template <class F>
void SafeCall(F&& body) noexcept {
    try {
        body();
    } catch (...) {
        HandleException();
    }
}
