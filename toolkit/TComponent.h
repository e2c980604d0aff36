// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#pragma once
// What every component built from a layout shares: its window-creation state and hook, and
// binding of its events by name.
#include <string_view>
#include <utility>
#include <vector>

#include "toolkit/Events.h"

class TComponent {
public:
    TComponent() = default;
    virtual ~TComponent() = default;
    // Published events point into the component itself.
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // "The window exists": set when the owning form is first shown, parents before children,
    // siblings in creation order. Controls read entries, fill lists etc. in CreateWnd.
    bool HandleAllocated() const { return FHandleAllocated; }
    void CreateHandle() {
        if (FHandleAllocated) return;
        FHandleAllocated = true;
        CreateWnd();
    }

    // Binds a layout event ("OnClick", "OnChange", ...) to a handler; false when the component
    // has no such event. By default the events are those the component published.
    virtual bool BindEvent(std::string_view event, const TNotifyEvent& handler) {
        for (const auto& [name, target] : FEvents) {
            if (name != event) continue;
            *target = handler;
            return true;
        }
        return false;
    }

    // Runs once the layout has set every property of the component and built its children.
    virtual void Loaded() {}

protected:
    virtual void CreateWnd() {}

    // Makes `event` bindable by layouts under `name` (a string literal).
    void PublishEvent(std::string_view name, TNotifyEvent& event) {
        FEvents.emplace_back(name, &event);
    }

private:
    bool FHandleAllocated = false;
    std::vector<std::pair<std::string_view, TNotifyEvent*>> FEvents;
};
