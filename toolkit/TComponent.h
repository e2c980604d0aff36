#pragma once
// What every component built from a layout shares: its window-creation state and hook, and
// binding of its events by name.
#include <string_view>

#include "toolkit/Events.h"

class TComponent {
public:
    virtual ~TComponent() = default;

    // "The window exists": set when the owning form is first shown, parents before children,
    // siblings in creation order. Controls read entries, fill lists etc. in CreateWnd.
    bool HandleAllocated() const { return FHandleAllocated; }
    void CreateHandle() {
        if (FHandleAllocated) return;
        FHandleAllocated = true;
        CreateWnd();
    }

    // Binds a layout event ("OnClick", "OnChange", ...) to a handler; false when the component
    // has no such event.
    virtual bool BindEvent(std::string_view event, const TNotifyEvent& handler) {
        (void)event;
        (void)handler;
        return false;
    }

protected:
    virtual void CreateWnd() {}

private:
    bool FHandleAllocated = false;
};
