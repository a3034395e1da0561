#!/usr/bin/python3
"""Drives the running window through AT-SPI, as a user with a screen reader would, and waits
for what each step makes the window send or show. Used by tests/kernel/cases_window.sh, on the
same steps against the window on a uhid unit and against the window on the simulator.

    window_driver.py STEPS kernel|sim

STEPS holds one step a line (shell quoting; '#' starts a comment):
    section NAME          the trace from here on is the section NAME (written to TRACE.sections)
    click NAME [ROLE]     presses the showing button, radio button, check box or page tab NAME
    type NAME TEXT        focuses the showing text field NAME, selects all and types TEXT
    time NAME HHMM        types the digits into the time entry NAME from its start
    pick NAME INDEX       focuses the list NAME and picks its item INDEX with the keys
    slide NAME VALUE      sets the slider NAME to VALUE (the figure it shows)
    wait-out HEX [S]      waits up to S seconds (default 60) for a report written since the
    wait-in HEX [S]       last action (or read, for wait-in) that starts with HEX
    expect NAME REGEX [S] waits until the text (else the name) of the showing NAME matches
    items NAME N          the list NAME holds N items
    mark                  the next waits look only at what comes from here on
    uhid LINE             sends LINE to the uhid program
    log REGEX [S]         waits for a line of the uhid log since the last action
A step after "kernel:" or "sim:" is taken on that side only.
The trace is $QUILLO_TRACE; the uhid program's commands go to $QUILLO_UHID_CMD and its log is
$QUILLO_UHID_LOG."""
import os
import re
import shlex
import subprocess
import sys
import time

import pyatspi
from gi.repository import Atspi

# The window on an emulated CPU can take seconds to answer while it sends a sequence.
Atspi.set_timeout(60000, 60000)

APP = "Aldrun Quillo"
BEGUN = time.time()
# Below these nothing is driven by name: list items are many, and a list's text field is
# reached through the list.
SKIP_BELOW = {pyatspi.ROLE_LIST, pyatspi.ROLE_COMBO_BOX}
# A label or a panel has the name of the control it stands for: taken only when asked for.
NOT_CONTROLS = {pyatspi.ROLE_LABEL, pyatspi.ROLE_PANEL, pyatspi.ROLE_FILLER}


def fail(message):
    sys.exit("window_driver: %s" % message)


class Trace:
    def __init__(self, path):
        self.path = path
        self.mark = 0  # lines before the last action

    def lines(self):
        try:
            with open(self.path) as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []

    def set_mark(self):
        self.mark = len(self.lines())

    def wait(self, direction, prefix, seconds):
        end = time.time() + seconds
        prefix = prefix.lower()
        while time.time() < end:
            lines = self.lines()
            for line in lines[self.mark:]:
                fields = line.split()
                if len(fields) > 3 and fields[1] == direction and \
                        "".join(fields[3:]).startswith(prefix):
                    return
            time.sleep(0.1)
        fail("no '%s %s' in the trace within %d s (last lines: %s)" % (
            direction, prefix, seconds, self.lines()[-3:]))


class Window:
    def __init__(self):
        self.app = None
        end = time.time() + 60
        while self.app is None and time.time() < end:
            for app in pyatspi.Registry.getDesktop(0):
                if app is not None and app.name == APP:
                    self.app = app
            time.sleep(0.2)
        if self.app is None:
            fail("no application %r on the accessibility bus" % APP)
        print("%6.2f s  the window on the accessibility bus" % (time.time() - BEGUN), flush=True)
        self.nodes = {}
        self.collect(self.app)

    def collect(self, node):
        """The named nodes by their names at the first walk, hidden pages included. Every call
        costs tens of milliseconds on an emulated CPU, so the tree is walked once (again only
        when a name is not found); a control whose caption changes with the mode keeps the name
        it had first."""
        for child in node:
            if child is None:
                continue
            if child.name:
                self.nodes.setdefault(child.name, []).append(child)
            if child.getRole() not in SKIP_BELOW:
                self.collect(child)

    def find(self, name, role=None, seconds=30):
        end = time.time() + seconds
        while True:
            for node in self.nodes.get(name, []):
                if role is not None and node.getRoleName() != role:
                    continue
                if role is None and node.getRole() in NOT_CONTROLS:
                    continue
                if node.getRole() == pyatspi.ROLE_PAGE_TAB and \
                        node.parent.getRole() != pyatspi.ROLE_PAGE_TAB_LIST:
                    continue  # a page, which reads as its tab: the tab is what a user clicks
                if node.getState().contains(pyatspi.STATE_SHOWING):
                    return node
            if time.time() > end:
                fail("no showing control %r%s" % (name, " (%s)" % role if role else ""))
            self.nodes = {}
            self.collect(self.app)
            time.sleep(0.2)

    def activate(self):
        """Under Xvfb no window manager gives the window the keyboard: a click into it does."""
        window = next(iter(self.app))
        x, y = window.queryComponent().getPosition(pyatspi.DESKTOP_COORDS)
        w, h = window.queryComponent().getSize()
        xdotool("mousemove", str(x + 3), str(y + h - 3), "click", "1")
        end = time.time() + 30
        while time.time() < end:
            if window.getState().contains(pyatspi.STATE_ACTIVE):
                return
            time.sleep(0.1)
        fail("the window never became active")

    def focus(self, node):
        node.queryComponent().grabFocus()
        end = time.time() + 30
        while time.time() < end:
            if node.getState().contains(pyatspi.STATE_FOCUSED):
                return
            time.sleep(0.1)
        fail("%r never took the focus" % node.name)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in ("press", "click", "Press", "toggle", "Toggle"):
        if wanted in names:
            action.doAction(names.index(wanted))
            return
    if node.getRole() == pyatspi.ROLE_PAGE_TAB:
        parent = node.parent
        parent.querySelection().selectChild(node.getIndexInParent())
        return
    action.doAction(0)


def text_of(node):
    try:
        return node.queryText().getText(0, -1)
    except NotImplementedError:
        return node.name


def editable(node):
    """The text field of a list with one, else the node."""
    if node.getRole() == pyatspi.ROLE_COMBO_BOX:
        for child in node:
            if child is not None and child.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY):
                return child
    return node


def main():
    steps_file, side = sys.argv[1], sys.argv[2]
    trace = Trace(os.environ["QUILLO_TRACE"])
    sections = open(os.environ["QUILLO_TRACE"] + ".sections", "w")
    log = os.environ.get("QUILLO_UHID_LOG", "")
    log_mark = 0
    window = Window()
    window.activate()
    print("%6.2f s  the window found and active" % (time.time() - BEGUN), flush=True)
    for number, raw in enumerate(open(steps_file), 1):
        words = shlex.split(raw, comments=True)
        if words and words[0] in ("kernel:", "sim:"):
            if words[0] != side + ":":
                continue
            words = words[1:]
        if not words:
            continue
        step, args = words[0], words[1:]
        started = time.time()
        if step in ("click", "type", "time", "pick", "slide", "uhid", "mark"):
            trace.set_mark()
            if side == "kernel":
                log_mark = len(open(log).readlines())
        if step == "section":
            sections.write("%s %d\n" % (args[0], len(trace.lines())))
            sections.flush()
        elif step == "click":
            press(window.find(args[0], args[1] if len(args) > 1 else None))
        elif step == "type":
            node = editable(window.find(args[0]))
            window.focus(node)
            xdotool("key", "ctrl+a")
            xdotool("type", "--delay", "30", args[1])
        elif step == "time":
            node = window.find(args[0])
            window.focus(node)
            xdotool("key", "Home")
            xdotool("type", "--delay", "30", args[1])
        elif step == "pick":
            node = window.find(args[0])
            window.focus(node)
            xdotool("key", "Home", *(["Down"] * int(args[1])))
        elif step == "slide":
            window.find(args[0]).queryValue().currentValue = float(args[1])
        elif step in ("wait-out", "wait-in"):
            trace.wait(step[5:], args[0], int(args[1]) if len(args) > 1 else 60)
        elif step == "expect":
            seconds = int(args[2]) if len(args) > 2 else 30
            end = time.time() + seconds
            while True:
                node = editable(window.find(args[0], seconds=seconds))
                shown = text_of(node)
                if re.fullmatch(args[1], shown):
                    break
                if time.time() > end:
                    fail("%r shows %r, not %r" % (args[0], shown, args[1]))
                time.sleep(0.2)
        elif step == "items":
            node = window.find(args[0])
            lists = [c for c in node if c is not None and c.getRole() == pyatspi.ROLE_LIST]
            count = lists[0].childCount if lists else 0
            if count != int(args[1]):
                fail("%r holds %d items, not %s" % (args[0], count, args[1]))
        elif step == "mark":
            pass
        elif step == "uhid":
            with open(os.environ["QUILLO_UHID_CMD"], "w") as f:
                f.write(" ".join(args) + "\n")
        elif step == "log":
            seconds = int(args[1]) if len(args) > 1 else 60
            end = time.time() + seconds
            while not any(re.search(args[0], line) for line in open(log).readlines()[log_mark:]):
                if time.time() > end:
                    fail("no uhid log line matching %r within %d s" % (args[0], seconds))
                time.sleep(0.1)
        else:
            fail("line %d: unknown step %r" % (number, step))
        print("%6.2f s  %s" % (time.time() - started, raw.strip()), flush=True)


main()
