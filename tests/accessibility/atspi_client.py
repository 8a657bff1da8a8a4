#!/usr/bin/python3
"""Reads a running program through the desktop's accessibility bus, as a
screen reader does, and drives it.

    atspi_client.py APPLICATION_NAME SCENARIO

SCENARIO is one of
  quit       the program's window, the tool bar's push buttons with their states
             and extents, the focus moving when Tab is pressed, and the program
             quit through the click action of "退出";
  apply      the click action of "确定", the message box it shows read as an
             alert carrying its text, and the box closed through its button's action;
  workbench  the workbench's menu bar and its menus, a tool bar, the Bold check
             button checked by its click action, and a focus event on Tab.

Prints what it found; exits non-zero with the reason when something is missing.
"""
import subprocess
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

WINDOW_TITLE = "电子病历补丁"
OK_CAPTION = "确定"
APPLIED_TEXT = "补丁应用成功！"
WORKBENCH_TITLE = "Workbench"
CLICK_ACTION = "click"
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


def wait_for_event(kind, wanted, act):
    """Runs `act` and waits for an event `kind` that sets its state on a source `wanted` accepts;
    returns that source."""
    seen = []
    loop = GLib.MainLoop()

    def on_event(event):
        if event.detail1 == 1 and event.source is not None and wanted(event.source):
            seen.append(event.source)
            loop.quit()

    listener = Atspi.EventListener.new(on_event)
    listener.register(kind)
    GLib.timeout_add(300, lambda: (act(), False)[1])
    GLib.timeout_add_seconds(WAIT_SECONDS, loop.quit)
    loop.run()
    listener.deregister(kind)
    return seen[0] if seen else None


def wait_for_focus_on(name, press):
    """Runs `press` and waits for a focused event from the button `name`."""
    if wait_for_event("object:state-changed:focused", lambda source: source.get_name() == name, press) is None:
        fail("no focus event from %r after the key" % name)
    print("focus event on %s" % name, flush=True)


def press_key(key):
    subprocess.run(["xdotool", "key", key])


def click(node):
    """Runs the node's first action, which must be the click a mouse would give."""
    name = node.get_name()
    if "Action" not in node.get_interfaces() or Atspi.Action.get_n_actions(node) < 1:
        fail("%s has no action" % name)
    with warnings.catch_warnings():
        # The only call for the action's unlocalised name that this libatspi offers is marked deprecated.
        warnings.simplefilter("ignore", DeprecationWarning)
        action = Atspi.Action.get_action_name(node, 0)
    if action != CLICK_ACTION:
        fail("the action of %s is named %r, not %r" % (name, action, CLICK_ACTION))
    if not Atspi.Action.do_action(node, 0):
        fail("the action of %s was refused" % name)
    print("%s on %s" % (action, name), flush=True)


def open_window(app, title):
    """The frame named `title`, its window activated and placed."""
    frame = find(app, Atspi.Role.FRAME, title)
    print("frame: %s" % frame.get_name(), flush=True)
    window = subprocess.run(["xdotool", "search", "--name", "^%s$" % title], capture_output=True,
                            text=True).stdout.split()
    if not window:
        fail("xdotool does not find the window")
    subprocess.run(["xdotool", "windowactivate", "--sync", window[0]], capture_output=True)
    wait_until_placed(frame)
    return frame


def first_tool_bar(frame):
    for child in descendants(frame):
        if child.get_role() == Atspi.Role.TOOL_BAR:
            return child
    fail("no tool bar in the frame")


def wait_for_alert(app):
    """The top-level alert (or dialog) of the application, once it appears."""
    deadline = time.monotonic() + WAIT_SECONDS
    while time.monotonic() < deadline:
        for i in range(app.get_child_count()):
            child = app.get_child_at_index(i)
            if child is not None and child.get_role() in (Atspi.Role.ALERT, Atspi.Role.DIALOG):
                return child
        time.sleep(0.1)
    fail("no alert after the action")


def carries_text(node, text):
    """Whether the node's name or description, or a descendant's name, holds `text`."""
    if text in (node.get_name() or "") or text in (node.get_description() or ""):
        return True
    return any(text in (child.get_name() or "") for child in descendants(node))


def quit_program(app):
    frame = open_window(app, WINDOW_TITLE)
    toolbar = first_tool_bar(frame)
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

    wait_for_focus_on(OK_CAPTION, lambda: press_key("Tab"))
    if not buttons[OK_CAPTION].get_state_set().contains(Atspi.StateType.FOCUSED):
        fail("%s does not say it is focused" % OK_CAPTION)
    click(buttons[QUIT_CAPTION])


def apply_patch(app):
    frame = open_window(app, WINDOW_TITLE)
    ok = find(first_tool_bar(frame), Atspi.Role.PUSH_BUTTON, OK_CAPTION)
    click(ok)
    alert = wait_for_alert(app)
    print("%s: %s" % (alert.get_role_name(), alert.get_name()), flush=True)
    if not carries_text(alert, APPLIED_TEXT):
        fail("the alert does not carry the text %r" % APPLIED_TEXT)
    buttons = [child for child in descendants(alert) if child.get_role() == Atspi.Role.PUSH_BUTTON]
    if not buttons:
        fail("the alert has no button")
    click(buttons[0])


def drive_workbench(app):
    frame = open_window(app, WORKBENCH_TITLE)
    menu_bar = None
    for child in descendants(frame):
        if child.get_role() == Atspi.Role.MENU_BAR:
            menu_bar = child
            break
    if menu_bar is None:
        fail("no menu bar in the frame")
    menus = [menu_bar.get_child_at_index(i) for i in range(menu_bar.get_child_count())]
    names = [menu.get_name() for menu in menus if menu is not None and menu.get_name()]
    if not names or len(names) != len(menus):
        fail("the menu bar's menus are missing or unnamed: %r" % names)
    print("menu bar: %s" % ", ".join(names), flush=True)

    toolbar = find(frame, Atspi.Role.TOOL_BAR, "Standard")
    find(toolbar, Atspi.Role.PUSH_BUTTON, "Save")
    print("tool bar: %s" % toolbar.get_name(), flush=True)

    bold = find(frame, Atspi.Role.TOGGLE_BUTTON, "Bold")
    if bold.get_state_set().contains(Atspi.StateType.CHECKED):
        fail("Bold is checked before its action")
    if wait_for_event("object:state-changed:checked", lambda source: source.get_name() == "Bold",
                      lambda: click(bold)) is None:
        fail("no checked event from Bold after its action")
    if not bold.get_state_set().contains(Atspi.StateType.CHECKED):
        fail("Bold does not say it is checked")
    print("Bold is checked", flush=True)

    # Activating the window may focus the frame itself; Tab must move the focus to a control.
    focused = wait_for_event("object:state-changed:focused", lambda source: source.get_role() != Atspi.Role.FRAME,
                             lambda: press_key("Tab"))
    if focused is None:
        fail("no focus event from a control after Tab")
    if not focused.get_state_set().contains(Atspi.StateType.FOCUSED):
        fail("%s sent the focus event but does not say it is focused" % focused.get_name())
    print("focus event on %s %s" % (focused.get_role_name(), focused.get_name()), flush=True)


SCENARIOS = {"quit": quit_program, "apply": apply_patch, "workbench": drive_workbench}


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in SCENARIOS:
        fail("usage: atspi_client.py APPLICATION_NAME {%s}" % "|".join(SCENARIOS))
    Atspi.init()
    app = find_application(sys.argv[1])
    print("application: %s (%s)" % (app.get_name(), app.get_role_name()), flush=True)
    SCENARIOS[sys.argv[2]](app)
    print("PASS", flush=True)


if __name__ == "__main__":
    main()
