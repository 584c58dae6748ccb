#!/usr/bin/python3
"""Checks the compare view from outside, through the accessibility bus.

Run through scripts/compare-a11y-check.sh, which gives it a virtual screen,
a session bus, the accessibility bus and a window manager:
  scripts/compare-a11y-check.sh [BUILD_DIR] PHOTO.jpg

Starts the program on a copy of PHOTO (its settings in a scratch folder)
and presses Start Conversion through its accessible action; from then on
only keys (XTest, through xdotool): Tab to the list and to its first row,
Space opens the compare view, Tab must reach each of its controls (each
focused one with an accessible name), Ctrl+1 must show 100 %, Page Down on
the quality slider must show a trial 10 lower (and says after how long),
and Escape must close the view. What it sees comes from the bus. Exits 0 when all hold.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from pyatspi import Registry

from a11y_tree import find


def wait_for(what, condition, seconds=60):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.2)
    raise SystemExit(f"compare-a11y-check: error: timed out waiting for {what}")


def focused(root):
    return find(root, lambda n: n.getState().contains(pyatspi.STATE_FOCUSED))


DIALOG = "Compare original and output"


def press(keys):
    """Presses keys as a keyboard would (XTest, through xdotool)."""
    subprocess.run(["xdotool", "key", "--clearmodifiers", keys], check=True)
    time.sleep(0.4)


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    program, photo = os.path.abspath(sys.argv[1]), sys.argv[2]
    scratch = tempfile.mkdtemp(prefix="quorvane-a11y-")
    shutil.copy(photo, os.path.join(scratch, "photo.jpg"))
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(scratch, "config"),
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
               QT_QPA_PLATFORM="xcb", CANBERRA_DRIVER="null")
    app = subprocess.Popen([program, os.path.join(scratch, "photo.jpg")], env=env)
    checked = []
    try:
        desktop = Registry.getDesktop(0)
        application = wait_for("the program on the bus", lambda: find(
            desktop, lambda n: n.getRoleName() == "application" and
            n.name.lower().startswith("quorvane")))
        start = wait_for("Start Conversion", lambda: find(
            application, lambda n: n.getRoleName() == "push button" and
            n.name.replace("&", "") == "Start Conversion" and
            n.getState().contains(pyatspi.STATE_SENSITIVE)))
        start.queryAction().doAction(0)
        subprocess.run(["xdotool", "search", "--sync", "--name", "^Quorvane$", "windowactivate"],
                       check=True, timeout=30)
        wait_for("the converted row", lambda: find(
            application, lambda n: n.getRoleName() == "push button" and
            n.name.replace("&", "") == "Convert All Again"), seconds=120)
        checked.append("Start Conversion pressed through its action; the row converted")

        # From the keyboard: Tab to the list, Down to its first row.
        table = find(application, lambda n: n.getRoleName() == "table")
        for _ in range(30):
            if table.getState().contains(pyatspi.STATE_FOCUSED):
                break
            press("Tab")
        else:
            node = focused(application)
            raise SystemExit("compare-a11y-check: error: Tab never reached the list (focus: "
                             f"{node.name if node else None})")
        press("Down")
        press("Up")  # the first row again
        wait_for("a current row to compare", lambda: find(
            application, lambda n: n.getRoleName() == "push button" and
            n.name == "Compare the selected image" and
            n.getState().contains(pyatspi.STATE_SENSITIVE)), seconds=10)
        checked.append("the list took the focus; its Compare button is enabled")
        press("space")
        dialog = wait_for("the compare view", lambda: find(
            application, lambda n: n.getRoleName() == "dialog" and n.name == DIALOG))
        checked.append("Space on the row opened the compare view")

        wanted = {"Original and output", "Fit", "Zoom to 100 %", "Zoom to 200 %",
                  "Side by Side", "Difference Map", "Quality to try", "Close"}
        reached, unnamed = [], []
        for _ in range(14):
            node = focused(dialog)
            if node is not None:
                name = node.name.replace("&", "")
                (reached if name else unnamed).append(name or node.getRoleName())
            press("Tab")
        missing = wanted - set(reached)
        checked.append("Tab reached: " + ", ".join(dict.fromkeys(reached)))
        if unnamed:
            raise SystemExit(f"compare-a11y-check: error: focused without a name: {unnamed}")
        if missing:
            raise SystemExit(f"compare-a11y-check: error: Tab never reached {sorted(missing)}")

        press("ctrl+1")
        wait_for("the zoom at 100 %", lambda: find(
            dialog, lambda n: n.getRoleName() == "label" and n.name == "Zoom 100 %"), seconds=10)
        checked.append("Ctrl+1 showed Zoom 100 %")

        # Another quality from the keyboard: the output side's text names
        # the trial once its first picture is shown.
        shown = find(dialog, lambda n: n.getRoleName() == "label" and
                     n.name.startswith("Output:"))
        slider = find(dialog, lambda n: n.name == "Quality to try")
        if shown is None or slider is None:
            raise SystemExit("compare-a11y-check: error: no output text or quality slider")
        slider.queryComponent().grabFocus()
        wait_for("the slider to take the focus",
                 lambda: slider.getState().contains(pyatspi.STATE_FOCUSED), seconds=10)
        trial = int(slider.queryValue().currentValue) - 10
        asked = time.monotonic()
        subprocess.run(["xdotool", "key", "Page_Down"], check=True)
        deadline = asked + 60
        while not shown.name.startswith(f"Trial: WebP at quality {trial},"):
            if time.monotonic() > deadline:
                raise SystemExit(f"compare-a11y-check: error: no trial at {trial} ({shown.name})")
            time.sleep(0.01)
        checked.append(f"Page Down on the slider showed the trial at quality {trial} after "
                       f"{(time.monotonic() - asked) * 1000:.0f} ms")
        press("Escape")
        wait_for("the compare view to close", lambda: find(
            application, lambda n: n.getRoleName() == "dialog" and n.name == DIALOG) is None,
            seconds=10)
        checked.append("Escape closed the compare view")
    finally:
        app.terminate()
        try:
            app.wait(10)
        except subprocess.TimeoutExpired:
            app.kill()
        shutil.rmtree(scratch, ignore_errors=True)
        for line in checked:
            print("ok:", line)


if __name__ == "__main__":
    main()
