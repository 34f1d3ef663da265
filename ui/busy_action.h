// BusyAction: marks the time a handler of the window, or a long edit in a
// memo, works. While it lives the application shows the busy cursor, and
// nothing delivers events: the handler runs from its first change to its
// last write undisturbed. When it ends, the input that arrived meanwhile
// (clicks, keys, input-method text, drops) is dropped, not delivered late:
// a control that was disabled while the user clicked it never reacts to
// that click. Other events pass then, among them a request to close the
// window.
#pragma once

class BusyAction {
public:
    BusyAction();
    ~BusyAction();

    BusyAction(const BusyAction&) = delete;
    BusyAction& operator=(const BusyAction&) = delete;
};
