#!/usr/bin/python3
"""Checks the running main window as a screen-reader user meets it: it must be on the
accessibility bus, every control a user reads or operates must have a name, and the
controls listed in the expectations file must be found by their name and role.

Usage: check_accessibility.py APP_NAME EXPECTATIONS_FILE
The expectations file has one "role<TAB>name" pair a line; '#' starts a comment.
"""
import sys
import time

import pyatspi

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


def walk(node, found, depth=0):
    if depth > 40:
        return
    try:
        role, name = node.getRoleName(), node.name or ""
        states = node.getState()
        showing = states.contains(pyatspi.STATE_SHOWING)
    except Exception:  # a node that vanished while we walked
        return
    found.append((role, name.strip(), showing))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, found, depth + 1)


def main():
    app_name, expectations_path = sys.argv[1], sys.argv[2]
    app = find_application(app_name)
    if app is None:
        print(f"FAIL: {app_name} did not appear on the accessibility bus")
        return 1
    found = []
    walk(app, found)
    failures = []

    unnamed = [role for role, name, showing in found if showing and role in NAMED_ROLES and not name]
    if unnamed:
        failures.append(f"{len(unnamed)} visible controls have no accessible name: "
                        + ", ".join(sorted(set(unnamed))))

    present = {(role, name) for role, name, _ in found}
    names = {name for _, name, _ in found}
    with open(expectations_path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].rstrip("\n")
            if not line.strip():
                continue
            role, name = line.split("\t", 1)
            if (role, name) not in present:
                hint = " (found with another role)" if name in names else ""
                failures.append(f"missing {role} '{name}'{hint}")

    print(f"{len(found)} accessible objects walked")
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print("accessibility check passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
