#!/usr/bin/python3
"""Drives the real window as a user would, through the accessibility bridge.

Starts `quillsheet` with a PDF, presses Convert All, names the output in
the save dialog, waits for the end report, answers it, and checks the
output. Finds every control by the accessible name a screen reader reads.
Run under `xvfb-run -a dbus-run-session`; usage: window_e2e.py QUILLSHEET PDF
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

TIMEOUT = 60


def wait_for(what, find):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        try:
            found = find()
        except Exception:  # an object went away while we looked at it
            found = None
        if found:
            return found
        time.sleep(0.1)
    sys.exit(f"FAIL: no {what} within {TIMEOUT} s")


def descendants(node):
    try:
        for child in node:
            if child is None:
                continue
            yield child
            yield from descendants(child)
    except Exception:  # the tree changes under us while windows come and go
        return


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Quillsheet":
            return app
    return None


def named(root, role, name):
    for node in descendants(root):
        if node.getRoleName() == role and node.name == name:
            return node
    return None


def sensitive(node):
    return node.getState().contains(pyatspi.STATE_SENSITIVE)


def press(node):
    node.queryAction().doAction(0)


def start(program, pdf, env):
    # The virtual screen may still be coming up on a busy machine: a window
    # that could not reach it ends at once, and is started again.
    for _ in range(10):
        window = subprocess.Popen([program, pdf], env=env)
        try:
            window.wait(timeout=3)
        except subprocess.TimeoutExpired:
            return window
        time.sleep(1)
    sys.exit("FAIL: the window did not start")


def render(pdf):
    return subprocess.run(["pdftoppm", "-r", "20", "-gray", "-f", "1", "-l", "1", pdf],
                          capture_output=True, check=True).stdout


def main():
    program, pdf = sys.argv[1], os.path.abspath(sys.argv[2])
    scratch = tempfile.mkdtemp(prefix="quillsheet-e2e-")
    output = os.path.join(scratch, "marked.pdf")
    env = dict(os.environ, HOME=scratch, XDG_CONFIG_HOME=os.path.join(scratch, "config"),
               XDG_DATA_HOME=os.path.join(scratch, "data"),
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    window = start(program, pdf, env)
    try:
        app = wait_for("application on the bus", application)
        frame = wait_for("main window", lambda: named(app, "frame", "Quillsheet - sample.pdf")
                         or named(app, "frame", "Quillsheet"))
        documents = wait_for("document table", lambda: named(frame, "table", "Documents"))
        wait_for("added document", lambda: named(documents, "table cell",
                                                 os.path.basename(pdf)))
        convert_all = wait_for("enabled Convert All button", lambda: next(
            (b for b in descendants(frame) if b.getRoleName() == "push button"
             and b.name == "Convert All" and sensitive(b)), None))
        press(convert_all)

        dialog = wait_for("destination dialog", lambda: named(app, "dialog", "Convert"))
        name_field = wait_for("file name field", lambda: named(dialog, "text", "File name:"))
        name_field.queryEditableText().setTextContents(output)
        save = wait_for("Save button", lambda: next(
            (b for b in descendants(dialog) if b.getRoleName() == "push button"
             and b.name.replace("&", "") == "Save" and sensitive(b)), None))
        press(save)

        report = wait_for("end report", lambda: next(
            (d for d in app if d is not None and d.getRoleName() in ("dialog", "alert")
             and named(d, "push button", "Open PDF")), None))
        said = " ".join(n.name for n in descendants(report) if n.getRoleName() == "label")
        if "1 output(s) made" not in said:
            sys.exit(f"FAIL: the end report says: {said}")
        press(named(report, "push button", "OK"))
        wait_for("end report to close", lambda: not any(
            d is not None and d.getRoleName() in ("dialog", "alert") for d in app))
    finally:
        window.terminate()
        window.wait(timeout=TIMEOUT)

    info = subprocess.run(["pdfinfo", output], capture_output=True, text=True, check=True).stdout
    if not re.search(r"^Pages:\s+4$", info, re.MULTILINE):
        sys.exit(f"FAIL: the output is not the four-page sample:\n{info}")
    if render(output) == render(pdf):
        sys.exit("FAIL: the output's first page looks like the source's: no mark")
    shutil.rmtree(scratch)
    print("PASS: converted the sample through the window")


if __name__ == "__main__":
    main()
