#!/usr/bin/env python3
"""Vok as a screen reader or a dictation tool meets it: through the AT-SPI accessibility bus.

Run in a D-Bus session; the script starts a virtual display of its own, and the accessibility
bus starts on demand:

    dbus-run-session -- /usr/bin/python3 tst_atspi.py --vok VOK --vokctl VOKCTL

With each tab of the project, major activity and action pages showing, every input of the main
window must have an accessible name. A project selected through the tree's table interface shows
its page. Then a project is added whose name is set through the
editable-text interface, as dictation does, and it must be stored under that name.
"""
import argparse
import ctypes
import os
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time


def start_display():
    """A virtual display on a number the X server picks itself (no race with other displays),
    announced to the D-Bus session before the accessibility bus starts: its registry sends the
    key and mouse events. The server must not reset when its first client (the bus launcher)
    leaves, or Vok, connecting at that moment, finds no display."""
    read_end, write_end = os.pipe()
    # The server ends with this script, however the script ends.
    libc = ctypes.CDLL(None)
    PR_SET_PDEATHSIG = 1
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24",
                               "-nolisten", "tcp", "-noreset"], pass_fds=[write_end],
                              stderr=subprocess.DEVNULL,
                              preexec_fn=lambda: libc.prctl(PR_SET_PDEATHSIG, int(signal.SIGTERM)))
    os.close(write_end)
    with os.fdopen(read_end) as announced:
        number = announced.readline().strip()
    if not number:
        raise RuntimeError("the virtual display did not start")
    os.environ["DISPLAY"] = f":{number}"
    subprocess.run(["dbus-update-activation-environment", "DISPLAY"], check=True)
    return server


DISPLAY_SERVER = start_display()
import pyatspi  # noqa: E402  (connects to the accessibility bus, which needs the display)
from gi.repository import GLib  # noqa: E402

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


class VokEnded(Exception):
    pass


def wait_for(what, probe, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while True:
        try:
            found = probe()
        except VokEnded:
            raise
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
        try:
            if child is None or not showing(child):
                continue
            if keep(child):
                out.append(child)
            if descend(child):
                out.extend(descendants(child, keep, descend))
        except GLib.GError:
            # A node the window replaced while it was walked (a tree read again) is not there.
            continue
    return out


def first(node, role, name=None):
    found = descendants(node, lambda n: n.getRole() == role and (name is None or n.name == name))
    return found[0] if found else None


def press(node):
    node.queryAction().doAction(0)


def key(symbol):
    pyatspi.Registry.generateKeyboardEvent(symbol, None, pyatspi.KEY_SYM)


def is_named(node):
    """Whether a screen reader can say what an input is for. A combo box's name is its value;
    what it is for comes from the label it is labelled by."""
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY and any(
                relation.getTarget(i).name.strip() for i in range(relation.getNTargets())):
            return True
    return node.getRole() != pyatspi.ROLE_COMBO_BOX and bool(node.name.strip())


def nameless_inputs(frame):
    """Showing inputs without a name, each described by the text that goes before it."""
    out = []
    last_text = ""
    for n in descendants(frame, lambda n: True, lambda n: n.getRole() not in NO_DESCENT):
        if n.getRole() == pyatspi.ROLE_LABEL and n.name:
            last_text = n.name
        elif n.getRole() in INPUT_ROLES and not is_named(n):
            out.append(f"{n.getRoleName()} after '{last_text}'")
    return out


def find_vok(vok):
    if vok.poll() is not None:
        raise VokEnded(f"Vok ended at start with status {vok.returncode}")
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == vok.pid:
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


def select_through_the_bus(frame, name, problems):
    """Selects a project's row through the tree's table interface, as a screen reader's "select"
    command does: its page must follow, as it follows a click."""
    tree = first(frame, pyatspi.ROLE_TREE)
    table = tree.queryTable()
    rows = [r for r in range(table.nRows) if table.getAccessibleAt(r, 0).name == name]
    if not rows or not table.addRowSelection(rows[0]):
        problems.append(f"'{name}' could not be selected through the bus")
        return

    def page_shows():
        field = next((n for n in descendants(frame, lambda n: n.getRole() == pyatspi.ROLE_TEXT
                                              and n.name == "Project Name")
                      if showing(n)), None)
        return field is not None and field.queryText().getText(0, -1) == name

    try:
        wait_for(f"the page of '{name}' after selecting it through the bus", page_shows, 10)
    except TimeoutError as e:
        problems.append(str(e))


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
        # The storage engine's configuration too stays in the temporary folder.
        os.environ["VOK_ENGINE_CONFIG"] = os.path.join(root, "engine.cfg")
        data = os.path.join(root, "data")
        subprocess.run([args.vokctl, "demo", data], check=True, stdout=subprocess.DEVNULL)
        os.makedirs(os.path.join(root, "xdg"))
        with open(os.path.join(root, "xdg", "Vok.conf"), "w") as conf:
            conf.write(f"[Vok]\nData={data}\n")
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   XDG_CONFIG_DIRS=os.path.join(root, "xdg"), VOK_UNATTENDED="1")
        vok = subprocess.Popen([args.vok], env=env, stderr=subprocess.PIPE, text=True)
        errors = None
        try:
            app = wait_for("Vok on the accessibility bus", lambda: find_vok(vok))
            frame = wait_for("the main window", lambda: first(app, pyatspi.ROLE_FRAME))
            walk_pages(frame, problems)
            select_through_the_bus(frame, "Website Relaunch", problems)
            add_project_by_dictation(frame, os.path.join(data, "vok.sqlite"),
                                     "Dictated Project", problems)
            press(first(first(frame, pyatspi.ROLE_MENU_BAR), pyatspi.ROLE_MENU_ITEM, "Exit"))
            _, errors = vok.communicate(timeout=TIMEOUT)
        except (TimeoutError, subprocess.TimeoutExpired, VokEnded) as e:
            problems.append(str(e))
        finally:
            if vok.poll() is None:
                vok.kill()
            if errors is None:
                errors = vok.communicate()[1]
        if vok.returncode != 0:
            problems.append(f"Vok ended with status {vok.returncode}:\n{errors}")
        # Unattended, every message box is a line on standard error: none is expected.
        problems += [f"message: {line}" for line in errors.splitlines() if line.startswith("[")]
    for p in problems:
        print(f"FAIL: {p}")
    print(f"{len(problems)} problems" if problems else "PASS")
    return 1 if problems else 0


if __name__ == "__main__":
    try:
        status = main()
    finally:
        DISPLAY_SERVER.terminate()
        DISPLAY_SERVER.wait()
    sys.exit(status)
