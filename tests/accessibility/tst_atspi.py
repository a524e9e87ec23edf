#!/usr/bin/env python3
"""Vok as a screen reader or a dictation tool meets it: through the AT-SPI accessibility bus.

Run under a virtual display in a D-Bus session; the accessibility bus starts on demand:

    xvfb-run -a dbus-run-session -- /usr/bin/python3 tst_atspi.py --vok VOK --vokctl VOKCTL

With each tab of the project, major activity and action pages showing, every input of the main
window must have an accessible name. Then a project is added whose name is set through the
editable-text interface, as dictation does, and it must be stored under that name.
"""
import argparse
import os
import sqlite3
import subprocess
import sys
import tempfile
import time

import pyatspi

INPUT_ROLES = {
    pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON,
    pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_DATE_EDITOR, pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE,
}
# Their cells are read through the table, not as inputs of their own.
NO_DESCENT = {pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_LIST,
              pyatspi.ROLE_LIST_BOX}
KEY_HOME, KEY_RIGHT, KEY_DOWN = 0xFF50, 0xFF53, 0xFF54
TIMEOUT = 30


def wait_for(what, probe, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while True:
        try:
            found = probe()
        except Exception:  # a node that went away while it was read
            found = None
        if found:
            return found
        if time.monotonic() > deadline:
            raise TimeoutError(f"gave up waiting for {what}")
        time.sleep(0.1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def descendants(node, keep, descend=lambda n: True):
    """The showing nodes under `node` that `keep` accepts, in tree order."""
    out = []
    for child in node:
        if child is None or not showing(child):
            continue
        if keep(child):
            out.append(child)
        if descend(child):
            out.extend(descendants(child, keep, descend))
    return out


def first(node, role, name=None):
    found = descendants(node, lambda n: n.getRole() == role and (name is None or n.name == name))
    return found[0] if found else None


def press(node):
    node.queryAction().doAction(0)


def key(symbol):
    pyatspi.Registry.generateKeyboardEvent(symbol, None, pyatspi.KEY_SYM)


def nameless_inputs(frame):
    """Showing inputs without a name, each described by the text that goes before it."""
    out = []
    last_text = ""
    for n in descendants(frame, lambda n: True, lambda n: n.getRole() not in NO_DESCENT):
        if n.getRole() == pyatspi.ROLE_LABEL and n.name:
            last_text = n.name
        elif n.getRole() in INPUT_ROLES and not n.name.strip():
            out.append(f"{n.getRoleName()} after '{last_text}'")
    return out


def find_vok(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def walk_pages(frame, problems):
    """Brings each level's page to the front through the tree, and each of its tabs in turn."""
    tree = wait_for("the project tree", lambda: first(frame, pyatspi.ROLE_TREE))
    cell = wait_for("a tree node", lambda: tree[1])
    extents = cell.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(extents.x + 10, extents.y + extents.height // 2, "b1c")
    for page, keys in (("Project", [KEY_HOME]), ("Major Activity", [KEY_DOWN]),
                       ("Action", [KEY_RIGHT, KEY_DOWN])):
        for k in keys:
            key(k)
            time.sleep(0.2)

        def page_tabs():
            tabs = first(frame, pyatspi.ROLE_PAGE_TAB_LIST)
            return tabs if tabs is not None and tabs[0].name == page else None

        tabs = wait_for(f"the {page} page", page_tabs)
        for tab in [t for t in tabs if t.getRole() == pyatspi.ROLE_PAGE_TAB]:
            press(tab)
            # Qt marks the tab in front as focused.
            wait_for(f"the tab '{tab.name}'", lambda: any(
                tab.getState().contains(s) for s in (pyatspi.STATE_SELECTED, pyatspi.STATE_FOCUSED)))
            time.sleep(0.3)  # the tab's controls read their record-set as they show
            for problem in nameless_inputs(frame):
                problems.append(f"{page} page, tab '{tab.name}': {problem} has no name")


def add_project_by_dictation(frame, database, name, problems):
    menu_bar = wait_for("the menu bar", lambda: first(frame, pyatspi.ROLE_MENU_BAR))
    press(wait_for("'Add a Project'", lambda: first(menu_bar, pyatspi.ROLE_MENU_ITEM,
                                                    "Add a Project")))
    field = wait_for("an editable 'Project Name'", lambda: next(
        (n for n in descendants(frame, lambda n: n.getRole() == pyatspi.ROLE_TEXT
                                and n.name == "Project Name")
         if n.getState().contains(pyatspi.STATE_EDITABLE)), None))
    field.queryEditableText().setTextContents(name)
    press(wait_for("'Ok'", lambda: first(frame, pyatspi.ROLE_PUSH_BUTTON, "Ok")))
    tree = first(frame, pyatspi.ROLE_TREE)
    try:
        wait_for(f"'{name}' in the tree",
                 lambda: any(c is not None and c.name == name for c in tree), 10)
    except TimeoutError as e:
        problems.append(str(e))
    with sqlite3.connect(database) as db:
        stored = db.execute("SELECT COUNT(*) FROM projects WHERE Zel_project = ?",
                            (name,)).fetchone()[0]
        unnamed = db.execute("SELECT COUNT(*) FROM projects WHERE COALESCE(Zel_project, '') = ''"
                             ).fetchone()[0]
    if stored != 1 or unnamed:
        problems.append(f"the dictated project: {stored} stored as '{name}', {unnamed} unnamed")


def main():
    args = argparse.ArgumentParser()
    args.add_argument("--vok", required=True)
    args.add_argument("--vokctl", required=True)
    args = args.parse_args()
    problems = []
    with tempfile.TemporaryDirectory() as root:
        data = os.path.join(root, "data")
        subprocess.run([args.vokctl, "demo", data], check=True, stdout=subprocess.DEVNULL)
        os.makedirs(os.path.join(root, "xdg"))
        with open(os.path.join(root, "xdg", "Vok.conf"), "w") as conf:
            conf.write(f"[Vok]\nData={data}\n")
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   XDG_CONFIG_DIRS=os.path.join(root, "xdg"), VOK_UNATTENDED="1")
        vok = subprocess.Popen([args.vok], env=env, stderr=subprocess.PIPE, text=True)
        try:
            app = wait_for("Vok on the accessibility bus", lambda: find_vok(vok.pid))
            frame = wait_for("the main window", lambda: first(app, pyatspi.ROLE_FRAME))
            walk_pages(frame, problems)
            add_project_by_dictation(frame, os.path.join(data, "vok.sqlite"),
                                     "Dictated Project", problems)
            press(first(first(frame, pyatspi.ROLE_MENU_BAR), pyatspi.ROLE_MENU_ITEM, "Exit"))
            _, errors = vok.communicate(timeout=TIMEOUT)
        except TimeoutError as e:
            problems.append(str(e))
            errors = ""
        finally:
            if vok.poll() is None:
                vok.kill()
                vok.communicate()
        if vok.returncode != 0:
            problems.append(f"Vok ended with status {vok.returncode}")
        # Unattended, every message box is a line on standard error: none is expected.
        problems += [f"message: {line}" for line in errors.splitlines() if line.startswith("[")]
    for p in problems:
        print(f"FAIL: {p}")
    print(f"{len(problems)} problems" if problems else "PASS")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
