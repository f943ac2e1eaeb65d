#!/usr/bin/python3
"""check_accessibility.py APP_NAME EXPECTATIONS_FILE ("role<TAB>name[<TAB>tab]" lines): the
running window is on the bus, every control has a name, each expected one is found, and Tab
from the first marked text box reaches every one marked "tab"."""
import sys
import time

import pyatspi
from gi.repository import Atspi

TAB_KEYSYM = 0xFF09

# Roles a user reads or operates; each needs a name a screen reader can speak.
NAMED_ROLES = {
    "push button", "text", "label", "check box", "radio button", "scroll bar",
    "menu item", "check menu item", "menu", "spin button", "combo box", "slider",
    "progress bar", "page tab",
}


def find_application(name, seconds=30):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name.lower() == name.lower():
                if app.childCount > 0:
                    return app
        time.sleep(0.3)
    return None


def walk(node, found, focusable, depth=0):
    if depth > 40:
        return
    try:
        role, name = node.getRoleName(), node.name or ""
        states = node.getState()
        showing = states.contains(pyatspi.STATE_SHOWING)
    except Exception:  # a node that vanished while we walked
        return
    found.append((role, name.strip(), showing))
    if showing and states.contains(pyatspi.STATE_FOCUSABLE):
        focusable.append(node)
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, found, focusable, depth + 1)


def focused(nodes):
    for node in nodes:
        try:
            if node.getState().contains(pyatspi.STATE_FOCUSED):
                return node
        except Exception:
            pass
    return None


def wait_for_focus_move(nodes, before, seconds=2):
    """The control the focus moved to from `before`, or None when it stays."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        now = focused(nodes)
        if now is not None and now != before:
            return now
        time.sleep(0.01)
    return None


def tab_walk(nodes, start, limit=150):
    """Clicks `start`, then presses Tab until the focus comes back to it; returns the
    (role, name) pairs the focus passed, `start` first."""
    box = start.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    Atspi.generate_mouse_event(box.x + box.width // 2, box.y + box.height // 2, "b1c")
    current = wait_for_focus_move(nodes, None)
    visited = []
    while current is not None and len(visited) < limit:
        visited.append((current.getRoleName(), (current.name or "").strip()))
        Atspi.generate_keyboard_event(TAB_KEYSYM, None, Atspi.KeySynthType.SYM)
        current = wait_for_focus_move(nodes, current)
        if current == start:
            break
    return visited


def main():
    app_name, expectations_path = sys.argv[1], sys.argv[2]
    app = find_application(app_name)
    if app is None:
        print(f"FAIL: {app_name} did not appear on the accessibility bus")
        return 1
    found, focusable = [], []
    walk(app, found, focusable)
    failures = []

    unnamed = [role for role, name, showing in found if showing and role in NAMED_ROLES and not name]
    if unnamed:
        failures.append(f"{len(unnamed)} visible controls have no accessible name: "
                        + ", ".join(sorted(set(unnamed))))

    present = {(role, name) for role, name, _ in found}
    names = {name for _, name, _ in found}
    by_tab = []
    with open(expectations_path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].rstrip("\n")
            if not line.strip():
                continue
            role, name, *marks = line.split("\t")
            if (role, name) not in present:
                hint = " (found with another role)" if name in names else ""
                failures.append(f"missing {role} '{name}'{hint}")
            elif "tab" in marks:
                by_tab.append((role, name))

    if by_tab:
        first_box = next(control for control in by_tab if control[0] == "text")
        start = next(node for node in focusable
                     if (node.getRoleName(), (node.name or "").strip()) == first_box)
        visited = tab_walk(focusable, start)
        print(f"Tab went round {len(visited)} controls")
        for role, name in by_tab:
            if (role, name) not in visited:
                failures.append(f"Tab does not reach {role} '{name}'")

    print(f"{len(found)} accessible objects walked")
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print("accessibility check passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
