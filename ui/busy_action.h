// BusyAction: marks the time a handler of the window works. While it lives
// the application shows the busy cursor; when it ends, the mouse clicks and
// keys that arrived meanwhile are dropped, not delivered late: a control
// that was disabled while the user clicked it never reacts to that click.
#pragma once

class BusyAction {
public:
    BusyAction();
    ~BusyAction();

    BusyAction(const BusyAction&) = delete;
    BusyAction& operator=(const BusyAction&) = delete;
};
