#!/usr/bin/python3
"""Reads the running program through the desktop's accessibility bus, as a
screen reader does, and drives it: finds the application and its window, the
tool bar's push buttons with their states and extents, sees the focus move
when Tab is pressed, and quits the program through the action of "退出".

    atspi_client.py APPLICATION_NAME

Prints what it found; exits non-zero with the reason when something is missing.
"""
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

WINDOW_TITLE = "电子病历补丁"
OK_CAPTION = "确定"
QUIT_CAPTION = "退出"
# The toolbar's buttons sit at these offsets from its left edge.
BUTTON_OFFSETS = {OK_CAPTION: 9, QUIT_CAPTION: 43}
WAIT_SECONDS = 10


def fail(message):
    print("FAIL: " + message, flush=True)
    sys.exit(1)


def find_application(name):
    deadline = time.monotonic() + WAIT_SECONDS
    while time.monotonic() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == name:
                return app
        time.sleep(0.2)
    fail("no application named %r on the desktop" % name)


def descendants(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is None:
            continue
        yield child
        yield from descendants(child)


def find(node, role, name):
    for child in descendants(node):
        if child.get_role() == role and child.get_name() == name:
            return child
    fail("no %s named %r" % (Atspi.role_get_name(role), name))


def extents(node):
    return node.get_extents(Atspi.CoordType.SCREEN)


def wait_until_placed(frame):
    """The window manager places the window after it is shown; geometry is read once it stays put."""
    deadline = time.monotonic() + WAIT_SECONDS
    last = None
    while time.monotonic() < deadline:
        box = extents(frame)
        now = (box.x, box.y, box.width, box.height)
        if now == last:
            return
        last = now
        time.sleep(0.3)
    fail("the window did not settle")


def check_states(button):
    states = button.get_state_set()
    for state in (Atspi.StateType.ENABLED, Atspi.StateType.SENSITIVE, Atspi.StateType.VISIBLE,
                  Atspi.StateType.SHOWING, Atspi.StateType.FOCUSABLE):
        if not states.contains(state):
            fail("%s lacks the state %s" % (button.get_name(), state.value_nick))
    if states.contains(Atspi.StateType.FOCUSED):
        fail("%s is focused before any key" % button.get_name())


def wait_for_focus_on(name, press):
    """Runs `press` and waits for a focused event from the button `name`."""
    seen = []
    loop = GLib.MainLoop()

    def on_event(event):
        if event.detail1 == 1 and event.source is not None and event.source.get_name() == name:
            seen.append(event.type)
            loop.quit()

    listener = Atspi.EventListener.new(on_event)
    listener.register("object:state-changed:focused")
    GLib.timeout_add(300, lambda: (press(), False)[1])
    GLib.timeout_add_seconds(WAIT_SECONDS, loop.quit)
    loop.run()
    listener.deregister("object:state-changed:focused")
    if not seen:
        fail("no focus event from %r after the key" % name)
    print("focus event: %s on %s" % (seen[0], name), flush=True)


def main():
    Atspi.init()
    app = find_application(sys.argv[1])
    print("application: %s (%s)" % (app.get_name(), app.get_role_name()), flush=True)
    frame = find(app, Atspi.Role.FRAME, WINDOW_TITLE)
    print("frame: %s" % frame.get_name(), flush=True)
    window = subprocess.run(["xdotool", "search", "--name", "^%s$" % WINDOW_TITLE], capture_output=True,
                            text=True).stdout.split()
    if not window:
        fail("xdotool does not find the window")
    subprocess.run(["xdotool", "windowactivate", "--sync", window[0]], capture_output=True)
    wait_until_placed(frame)
    toolbar = None
    for child in descendants(frame):
        if child.get_role() == Atspi.Role.TOOL_BAR:
            toolbar = child
            break
    if toolbar is None:
        fail("no tool bar in the frame")
    bar = extents(toolbar)
    framebox = extents(frame)
    buttons = {}
    for caption, offset in BUTTON_OFFSETS.items():
        button = find(toolbar, Atspi.Role.PUSH_BUTTON, caption)
        check_states(button)
        box = extents(button)
        print("push button %s: x=%d y=%d w=%d h=%d" % (caption, box.x, box.y, box.width, box.height), flush=True)
        if box.width <= 0 or box.height <= 0:
            fail("%s has no size" % caption)
        if box.x - bar.x != offset:
            fail("%s lies %d from the tool bar's left edge, not %d" % (caption, box.x - bar.x, offset))
        inside = (framebox.x <= box.x and box.x + box.width <= framebox.x + framebox.width and
                  framebox.y <= box.y and box.y + box.height <= framebox.y + framebox.height)
        if not inside:
            fail("%s lies outside the frame" % caption)
        buttons[caption] = button

    wait_for_focus_on(OK_CAPTION, lambda: subprocess.run(["xdotool", "key", "Tab"]))
    if not buttons[OK_CAPTION].get_state_set().contains(Atspi.StateType.FOCUSED):
        fail("%s does not say it is focused" % OK_CAPTION)

    quit_button = buttons[QUIT_CAPTION]
    if "Action" not in quit_button.get_interfaces() or Atspi.Action.get_n_actions(quit_button) < 1:
        fail("%s has no action" % QUIT_CAPTION)
    print("action of %s: %s" % (QUIT_CAPTION, Atspi.Action.get_localized_name(quit_button, 0)), flush=True)
    if not Atspi.Action.do_action(quit_button, 0):
        fail("the action of %s was refused" % QUIT_CAPTION)
    print("PASS", flush=True)


if __name__ == "__main__":
    main()
