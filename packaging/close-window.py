#!/usr/bin/env python3
"""Asks the program's top-level window to close, as a window manager's close
button does (a WM_DELETE_WINDOW message), so that the program can end on its
own. Waits up to the given number of seconds for the window to appear.

Usage: close-window.py TITLE-PART [SECONDS]   (needs python3-xlib, DISPLAY set)
"""
import sys
import time

from Xlib import X, display, error, protocol


def find_window(root, title_part):
    for window in root.query_tree().children:
        try:
            name = window.get_wm_name() or ""
        except error.BadWindow:  # gone since the tree was read
            continue
        if isinstance(name, bytes):
            name = name.decode("latin-1")
        if title_part in name:
            return window
    return None


def main():
    title_part = sys.argv[1]
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 10
    screen = display.Display()
    root = screen.screen().root
    deadline = time.monotonic() + seconds
    window = find_window(root, title_part)
    while window is None and time.monotonic() < deadline:
        time.sleep(0.2)
        window = find_window(root, title_part)
    if window is None:
        print(f"no window whose title holds {title_part!r}", file=sys.stderr)
        return 1
    protocols = screen.intern_atom("WM_PROTOCOLS")
    delete = screen.intern_atom("WM_DELETE_WINDOW")
    message = protocol.event.ClientMessage(
        window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
    window.send_event(message, event_mask=X.NoEventMask)
    screen.flush()
    print(f"asked window {window.get_wm_name()!r} to close")
    return 0


if __name__ == "__main__":
    sys.exit(main())
