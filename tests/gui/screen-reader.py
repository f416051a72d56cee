"""What a screen reader hears of mileagelog, read through AT-SPI as one reads it.

Opens every dialog from the keyboard and checks the accessible tree of each: every focusable
object that shows has a name no other one in the window shares, exactly one object is focused,
each field is named by its label, each painted heading is there, and the focused object is
reported where it is on the screen. Run by screen-reader.sh, which starts the program.
    WINDOW=<X window of the program> python3 screen-reader.py ZOOM QT_VERSION
"""
import os
import subprocess
import sys
import time

import pyatspi

ZOOM = int(sys.argv[1])
QT_REPORTS_LOGICAL_PIXELS = tuple(int(p) for p in sys.argv[2].split(".")[:2]) < (6, 5)
failures = []

# Each screen: how it opens from the main window, and the headings it paints.
SCREENS = [
    ("main window", [], ["Odometer status on"]),
    ("new trip", ["ctrl+n"], []),
    ("status", ["TAB_TO:Change Status", "space"], ["Odometer Status"]),
    ("mileage book", ["F10", "Down", "Down", "Return"], ["Mileage Book"]),
    ("report", ["F10", "Down", "Down", "Down", "Return"], []),
    ("categories", ["F10", "Right", "Down", "Return"], ["Category"]),
    ("delete by range", ["F10", "Right", "Down", "Down", "Return"],
     ["Delete Records by Range of Dates"]),
    ("export", ["F10", "Right", "Down", "Down", "Down", "Return"], []),
    ("view options", ["F10", "Right", "Down", "Down", "Down", "Down", "Return"], []),
    ("about", ["F10", "Right", "Down", "Down", "Down", "Down", "Down", "Return"], []),
]
FIELDS = {pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
          pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_PASSWORD_TEXT}


def fail(screen, why):
    failures.append(f"zoom {ZOOM}, {screen}: {why}")


def application(name="mileagelog"):
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name:
                return app
        time.sleep(0.1)
    sys.exit(f"{name} is not on the accessibility bus")


def walk(node, parent_showing=True, found=None):
    """Every object under node, with whether each it and its ancestors all show."""
    found = [] if found is None else found
    try:
        states = node.getState()
    except Exception:
        return found
    showing = parent_showing and states.contains(pyatspi.STATE_SHOWING)
    found.append((node, states, showing, parent_showing))
    for i in range(min(node.childCount, 400)):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, showing, found)
    return found


def label_of(node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return None


def key(name):
    subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)
    time.sleep(0.25)


def focused_name(app):
    for node, states, _, _ in walk(app):
        if states.contains(pyatspi.STATE_FOCUSED):
            return node.name
    return None


def window_geometry():
    out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", os.environ["WINDOW"]],
                         check=True, capture_output=True, text=True).stdout
    values = dict(line.split("=", 1) for line in out.split())
    return (int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"]))


def check(app, screen, headings):
    nodes = walk(app)
    # A list's current item is focused with the list: the two are one focus.
    focused = [n for n, s, _, _ in nodes if s.contains(pyatspi.STATE_FOCUSED)
               and not (n.getRole() in (pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_LIST_ITEM)
                        and n.parent.getState().contains(pyatspi.STATE_FOCUSED))]
    if len(focused) != 1:
        fail(screen, f"{len(focused)} objects report the focus: "
             + ", ".join(f"[{n.getRoleName()}] '{n.name}'" for n in focused))
    names = {}
    for node, states, showing, parent_showing in nodes:
        role = node.getRole()
        if states.contains(pyatspi.STATE_SHOWING) and not parent_showing \
                and states.contains(pyatspi.STATE_FOCUSABLE):
            fail(screen, f"[{node.getRoleName()}] '{node.name}' shows under a hidden object")
        if not showing:
            continue
        if role in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW) \
                and not node.name.strip():
            fail(screen, f"a [{node.getRoleName()}] without a name")
        if not states.contains(pyatspi.STATE_FOCUSABLE) or role == pyatspi.ROLE_TABLE_CELL:
            continue
        if not node.name.strip():
            fail(screen, f"a focusable [{node.getRoleName()}] without a name")
        elif node.name in names:
            fail(screen, f"two objects are called '{node.name}'")
        names[node.name] = node
        if role in FIELDS:
            label = label_of(node)
            wanted = label.replace("&", "").rstrip(": ") if label else None
            if wanted and node.name != wanted:
                fail(screen, f"the field labelled '{label}' is called '{node.name}'")
        if node.name in ("->Dest", "->Start"):
            fail(screen, f"a button is read as '{node.name}'")
    shown = [n.name for n, _, showing, _ in nodes if showing]
    for heading in headings:
        if not any(name.startswith(heading) for name in shown):
            fail(screen, f"the heading '{heading}' is not in the tree")
    x, y, width, height = window_geometry()
    for frame in top_windows(app):
        box = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if max(abs(box.x - x), abs(box.y - y), abs(box.width - width),
               abs(box.height - height)) <= 2:
            continue
        if ZOOM > 1 and QT_REPORTS_LOGICAL_PIXELS:
            # Qt before 6.5 gives a scaled window's places in its own unscaled pixels: the
            # places are checked against the window as reported, in those pixels.
            x, y, width, height = box.x, box.y, box.width, box.height
            continue
        fail(screen, f"the window is reported at {box.x},{box.y} {box.width}x{box.height},"
             f" not at {x},{y} {width}x{height}")
    if len(focused) == 1:
        extents = focused[0].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        inside = (x <= extents.x and y <= extents.y and extents.x + extents.width <= x + width
                  and extents.y + extents.height <= y + height)
        if not inside or extents.width <= 0:
            fail(screen, f"the focused '{focused[0].name}' is reported at {extents.x},"
                 f"{extents.y} {extents.width}x{extents.height}, outside the window at "
                 f"{x},{y} {width}x{height}")


def top_windows(app):
    return [w for w in (app.getChildAtIndex(i) for i in range(app.childCount))
            if w is not None and w.getState().contains(pyatspi.STATE_SHOWING)]


def caption(app):
    windows = top_windows(app)
    return windows[0].name if windows else None


def wait_for(condition, seconds=10):
    """Waits for what the keys asked for: a slower build (sanitizers) takes its time."""
    for _ in range(seconds * 10):
        if condition():
            return True
        time.sleep(0.1)
    return False


def main():
    app = application()
    main_caption = caption(app)
    for screen, keys, headings in SCREENS:
        for name in keys:
            if name.startswith("TAB_TO:"):
                for _ in range(20):
                    if focused_name(app) == name[7:]:
                        break
                    key("Tab")
            else:
                key(name)
        if keys and not wait_for(lambda: caption(app) != main_caption):
            fail(screen, "did not open")
            continue
        time.sleep(0.5)
        check(app, screen, headings)
        if keys:
            key("Escape")
            if not wait_for(lambda: caption(app) == main_caption):
                sys.exit(f"zoom {ZOOM}: {screen} did not close")
    # F1: the help viewer's page is named too.
    key("F1")
    for node, states, showing, _ in walk(application("peghelp")):
        if showing and states.contains(pyatspi.STATE_FOCUSABLE) and not node.name.strip():
            fail("help viewer", f"a focusable [{node.getRoleName()}] without a name")
    for failure in failures:
        print(failure)
    sys.exit(1 if failures else 0)


main()
