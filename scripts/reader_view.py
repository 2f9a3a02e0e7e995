"""Prints what the accessibility bus says of the running Kalvara: the focus
changes while the keys given as arguments are pressed, then every window's
tree of roles, names and descriptions. Started by reader-view.sh."""

import subprocess
import sys
import threading
import time

import pyatspi
from gi.repository import GLib


def find_program(seconds=10):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "kalvara":
                return app
        time.sleep(0.2)
    return None


def describe(node):
    text = f"[{node.getRoleName()}] '{node.name}'"
    if node.description:
        text += f" description '{node.description}'"
    if node.getState().contains(pyatspi.STATE_FOCUSABLE):
        text += " focusable"
    return text


def print_tree(node, depth=0):
    try:
        line = describe(node)
        unnamed_pane = node.getRoleName() in ("filler", "panel") and not node.name
    except Exception:  # the window went away meanwhile
        return
    if not unnamed_pane:
        print("  " * depth + line)
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            print_tree(child, depth + 1)


def main(keys):
    program = find_program()
    if program is None:
        print("reader_view.py: the program never appeared on the accessibility bus", file=sys.stderr)
        return 1
    heard = []

    def on_focus(event):
        if event.detail1 == 1:
            heard.append(describe(event.source))

    def press_keys():
        time.sleep(0.5)
        for key in keys:
            subprocess.run(["xdotool", "key", key], check=False)
            time.sleep(0.4)
        time.sleep(0.5)
        GLib.idle_add(pyatspi.Registry.stop)

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    threading.Thread(target=press_keys, daemon=True).start()
    pyatspi.Registry.start()
    print("Focus changes:")
    for line in heard:
        print("  " + line)
    print("Windows:")
    print_tree(program, 1)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
