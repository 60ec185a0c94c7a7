#!/usr/bin/python3
"""Drives the real window as a user would, through the accessibility bridge.

Starts `quillsheet` with a PDF, selects the "Draft" preset, types a new text
(the preset gets its star), drags the mark to a new place on the page,
saves the preset, presses Convert All, names the output in the save dialog,
waits for the end report and answers it. The output must look like the
command line's render of the saved preset: the new text at the new place.
Then starts `quillsheet` with that output and runs File > Remove
Watermarks...: the result must look like the original PDF again.
Finds every control by the accessible name a screen reader reads.
Run under `xvfb-run -a dbus-run-session`; usage: window_e2e.py QUILLSHEET PDF [WM]
With WM (a window manager such as openbox) the windows run under it, where
focus and dialogs behave as on a desktop. Every run has its own runtime and
temporary folders, so it never meets another run's window or a user's.
"""
import contextlib
import os
import plistlib
import re
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

TIMEOUT = 60
NEW_TEXT = "SEEN BY A SCREEN READER"


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


def edit_draft(app, frame):
    presets = wait_for("preset table", lambda: named(frame, "table", "Presets"))
    table = presets.queryTable()
    rows = range(table.nRows)
    draft = next(r for r in rows if table.getAccessibleAt(r, 0).name == "Draft")
    table.addRowSelection(draft)
    for row in rows:
        if row != draft:
            table.removeRowSelection(row)
    text = wait_for("text field", lambda: named(frame, "text", "Text"))
    wait_for("Draft in the editor", lambda: text.queryText().getText(0, -1) == "DRAFT")
    text.queryEditableText().setTextContents(NEW_TEXT)
    wait_for("the star of a modified preset",
             lambda: named(presets, "table cell", "\u2605Draft"))

    view = wait_for("preview", lambda: named(frame, "filler", "Preview")
                    or next((n for n in descendants(frame) if n.name == "Preview"), None))
    box = view.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    start = (box.x + box.width // 2, box.y + box.height // 2)
    end = (start[0] - box.width // 6, start[1] - box.height // 5)
    pyatspi.Registry.generateMouseEvent(*start, "b1p")
    for step in range(1, 11):
        pyatspi.Registry.generateMouseEvent(start[0] + (end[0] - start[0]) * step // 10,
                                            start[1] + (end[1] - start[1]) * step // 10, "abs")
        time.sleep(0.02)
    pyatspi.Registry.generateMouseEvent(*end, "b1r")
    time.sleep(0.5)

    press(enabled(frame, "push button", "Save Preset"))
    wait_for("the star to go", lambda: named(presets, "table cell", "Draft"))


def saved_library(home):
    for folder, _, files in os.walk(home):
        for name in files:
            path = os.path.join(folder, name)
            if name.endswith(".plist") and NEW_TEXT.encode() in open(path, "rb").read():
                return path
    sys.exit("FAIL: the saved preset is in no preset file")


def mean_difference(a, b):
    """Mean absolute difference of two greyscale PGM pictures, 0 to 255."""
    def pixels(data):
        fields = data.split(maxsplit=4)
        return int(fields[1]), int(fields[2]), fields[4]
    wa, ha, pa = pixels(a)
    wb, hb, pb = pixels(b)
    if (wa, ha) != (wb, hb):
        sys.exit(f"FAIL: pictures of {wa}x{ha} and {wb}x{hb}")
    return sum(abs(x - y) for x, y in zip(pa, pb)) / len(pa)


def render(pdf):
    return subprocess.run(["pdftoppm", "-r", "36", "-gray", "-f", "1", "-l", "1", pdf],
                          capture_output=True, check=True).stdout


def save_as(app, title, path):
    """Names the file in the destination dialog and saves."""
    dialog = wait_for("destination dialog", lambda: named(app, "dialog", title))
    name_field = wait_for("file name field", lambda: named(dialog, "text", "File name:"))
    name_field.queryEditableText().setTextContents(path)
    save = wait_for("Save button", lambda: next(
        (b for b in descendants(dialog) if b.getRoleName() == "push button"
         and b.name.replace("&", "") == "Save" and sensitive(b)), None))
    press(save)


def answer_end_report(app, expected):
    report = wait_for("end report", lambda: next(
        (d for d in app if d is not None and d.getRoleName() in ("dialog", "alert")
         and named(d, "push button", "Open PDF")), None))
    said = " ".join(n.name for n in descendants(report) if n.getRoleName() == "label")
    if expected not in said:
        sys.exit(f"FAIL: the end report says: {said}")
    press(named(report, "push button", "OK"))
    wait_for("end report to close", lambda: not any(
        d is not None and d.getRoleName() in ("dialog", "alert") for d in app))


@contextlib.contextmanager
def running(program, pdf, env):
    """The window started with the PDF: its application and main window."""
    window = start(program, pdf, env)
    try:
        app = wait_for("application on the bus", application)
        frame = wait_for("main window", lambda: named(
            app, "frame", "Quillsheet \u2013 " + os.path.basename(pdf)))
        yield app, frame
    finally:
        window.terminate()
        window.wait(timeout=TIMEOUT)


def enabled(root, role, name):
    return wait_for(f"enabled {name}", lambda: next(
        (n for n in descendants(root) if n.getRoleName() == role and n.name == name
         and sensitive(n)), None))


def remove_watermarks(program, marked, unmarked, env):
    """Opens the marked file in the window and takes its mark off."""
    with running(program, marked, env) as (app, frame):
        press(enabled(frame, "menu item", "Remove Watermarks..."))
        save_as(app, "Remove Watermarks", unmarked)
        answer_end_report(app, "1 output(s) made")


def main():
    program, pdf = sys.argv[1], os.path.abspath(sys.argv[2])
    scratch = tempfile.mkdtemp(prefix="quillsheet-e2e-")
    runtime, temporary = os.path.join(scratch, "runtime"), os.path.join(scratch, "tmp")
    os.mkdir(runtime, 0o700)
    os.mkdir(temporary, 0o700)
    env = dict(os.environ, HOME=scratch, XDG_CONFIG_HOME=os.path.join(scratch, "config"),
               XDG_DATA_HOME=os.path.join(scratch, "data"), XDG_RUNTIME_DIR=runtime,
               TMPDIR=temporary, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    manager = subprocess.Popen([sys.argv[3]], env=env) if len(sys.argv) > 3 else None
    try:
        run(program, pdf, scratch, env)
    finally:
        if manager:
            manager.terminate()
            manager.wait(timeout=TIMEOUT)
    shutil.rmtree(scratch)
    print("PASS: converted the sample through the window and took the mark off again")


def run(program, pdf, scratch, env):
    output = os.path.join(scratch, "marked.pdf")
    with running(program, pdf, env) as (app, frame):
        documents = wait_for("document table", lambda: named(frame, "table", "Documents"))
        wait_for("added document", lambda: named(documents, "table cell",
                                                 os.path.basename(pdf)))
        edit_draft(app, frame)
        press(enabled(frame, "push button", "Convert All"))
        save_as(app, "Convert", output)
        answer_end_report(app, "1 output(s) made")

    info = subprocess.run(["pdfinfo", output], capture_output=True, text=True, check=True).stdout
    if not re.search(r"^Pages:\s+4$", info, re.MULTILINE):
        sys.exit(f"FAIL: the output is not the four-page sample:\n{info}")
    # The command line converts with the saved preset and with the bundled
    # one: the window's output is the first, not the second.
    cli = os.path.join(os.path.dirname(program), "..", "cli", "quillsheet-cli")
    bundled = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources",
                           "DefaultPreset.plist")
    with open(saved_library(scratch), "rb") as saved:
        draft = plistlib.load(saved)["Draft"]
    # The drag went up and left of the middle: x below half the page width,
    # y above half its height (ratios page / point: above 2, below 2).
    ratio_x, ratio_y = draft["TextCenter"]
    if not (draft["textString"] == NEW_TEXT and ratio_x > 2.2 and 1 < ratio_y < 1.9):
        sys.exit(f"FAIL: the saved Draft is {draft['textString']!r} at {draft['TextCenter']}")
    expected = {}
    for label, library in (("saved", saved_library(scratch)), ("bundled", bundled)):
        expected[label] = os.path.join(scratch, f"{label}.pdf")
        subprocess.run([cli, "convert", pdf, "-o", expected[label], "--preset-file", library,
                        "--name", "Draft"], check=True, capture_output=True, env=env)
    if mean_difference(render(output), render(expected["saved"])) > 0.5:
        sys.exit("FAIL: the output is not the conversion with the saved preset")
    if mean_difference(render(output), render(expected["bundled"])) < 0.5:
        sys.exit("FAIL: the output still carries the bundled Draft mark")
    if render(output) == render(pdf):
        sys.exit("FAIL: the output's first page looks like the source's: no mark")
    unmarked = os.path.join(scratch, "unmarked.pdf")
    remove_watermarks(program, output, unmarked, env)
    if render(unmarked) != render(pdf):
        sys.exit("FAIL: Remove Watermarks... did not give back the original page")


if __name__ == "__main__":
    main()
