#!/usr/bin/python3
"""Tabs through the running window while Orca listens, and checks what Orca says at each stop:
something at all, and for a control that holds a value, its name and its value. A closed list
also has its item changed by keys and set back by the unit's answer (or keys), and Orca must
say each new item. Orca's words come from its debug log (LOG, the first argument); which control
has the focus, its name and its value come from AT-SPI. Used by scripts/orca-check; --trace
prints what Orca said at each stop."""
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

from atspi_window import act, find_app

LOG = sys.argv[1]
TRACE = "--trace" in sys.argv

# A line of the log: "09:15:56.967 - SPEECH OUTPUT: 'Master.'{'established': False}", a voice
# name after the text where it is not the default one.
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)'(?: voice=\w+)? ?\[?\{.*\}\]?\r?$", re.M)
SPOKEN = re.compile(r"SPEECH OUTPUT: ")

# Controls whose speech must carry their value as well as their name.
VALUED = {pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_SLIDER,
          pyatspi.ROLE_SPIN_BUTTON}

KEYS = {"Tab": 0xFF09, "Up": 0xFF52, "Down": 0xFF54}


def pump():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


focused = []


def on_focus(event):
    if event.detail1:
        focused.append(event.source)


def key(name):
    pyatspi.Registry.generateKeyboardEvent(KEYS[name], None, pyatspi.KEY_SYM)


class Log:
    """Orca's debug log, read from where the last reading stopped."""

    def __init__(self, path):
        self.path = path
        self.offset = 0

    def read(self):
        try:
            with open(self.path, "rb") as f:
                f.seek(self.offset)
                data = f.read()
        except FileNotFoundError:
            return ""
        self.offset += len(data)
        return data.decode("utf-8", "replace")

    def settle(self, until, quiet=0.15, limit=20.0):
        """Waits until until(text of the log since the last call) holds and the log has then
        stayed still for `quiet` seconds, or `limit` passed. Returns the utterances since the
        last call. Orca is slow on a busy machine: it is waited for, never a fixed time."""
        end = time.time() + limit
        text = self.read()
        still_since = time.time()
        seen = until(text)
        while time.time() < end:
            time.sleep(0.03)
            pump()
            new = self.read()
            if new:
                text += new
                still_since = time.time()
            if not seen:
                seen = until(text)
            elif time.time() - still_since >= quiet:
                break
        return SPEECH.findall(text)


def handled_focus(node):
    """The log holds Orca's whole entry for `node` gaining the focus."""
    pattern = re.compile(
        r"OBJECT EVENT: object:state-changed:focused \(1, 0, \[%s \| %s\]\)[\s\S]*?"
        r"\^{5} PROCESS OBJECT EVENT object:state-changed:focused \^{5}" % (
            re.escape(node.getRoleName()), re.escape(node.name or "")))
    return lambda text: pattern.search(text) is not None


def focus_handled(text):
    """Orca has handled the focus event AT-SPI gave last."""
    return bool(focused) and handled_focus(focused[-1])(text)


def anything(text):
    return True


def spoken(text):
    return SPOKEN.search(text) is not None


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return None


def value_of(node):
    """What the control shows as its value, as AT-SPI offers it; None where it offers none."""
    role = node.getRole()
    if role == pyatspi.ROLE_COMBO_BOX:
        if editable(node):
            for child in node:
                if child is not None and child.getRole() in (pyatspi.ROLE_TEXT,
                                                              pyatspi.ROLE_ENTRY):
                    return text_of(child)
        return text_of(node)
    if role == pyatspi.ROLE_SLIDER:
        return node.description or None  # the figure as the window shows it, "60 %RH"
    return text_of(node)


def editable(box):
    return box.getState().contains(pyatspi.STATE_EDITABLE)


def in_page(node):
    """Whether the control is on a page of the page control (a page below no tab list)."""
    while node is not None:
        if node.getRole() == pyatspi.ROLE_PAGE_TAB and (
                node.parent is None or node.parent.getRole() != pyatspi.ROLE_PAGE_TAB_LIST):
            return True
        node = node.parent
    return False


def says(text, said):
    """Whether Orca's words contain `text`. Orca speaks a run of one repeated character as
    "8 1 characters" ("8 символов 1" in Russian)."""
    pattern = ""
    for run in re.finditer(r"(.)\1{3,}|.", text.strip(), re.S):
        if len(run.group(0)) > 1:
            pattern += r"%d (?:\S+ )?%s" % (len(run.group(0)), re.escape(run.group(1)))
        else:
            pattern += re.escape(run.group(0))
    return text.strip() != "" and re.search(pattern, said) is not None


def controls(node, found=None):
    """The controls showing below `node`, in tree order; the items of lists are not looked at."""
    if found is None:
        found = []
    for child in node:
        if child is None or not child.getState().contains(pyatspi.STATE_SHOWING):
            continue
        found.append(child)
        if child.getRole() not in (pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LIST):
            controls(child, found)
    return found


class Walk:
    def __init__(self, log, receive):
        self.log = log
        self.receive = receive
        self.problems = []
        self.stops = 0
        self.changed = set()
        self.unit_mode = False

    def step(self, where):
        """Tabs to the next stop and checks what Orca says there; returns the focused control."""
        del focused[:]
        key("Tab")
        said = " | ".join(self.log.settle(focus_handled))
        if not focused:
            self.problems.append("%s: Tab moved no focus (said %r)" % (where, said))
            return None
        node = focused[-1]
        self.stops += 1
        role = node.getRole()
        name = (node.name or "").strip()
        value = value_of(node)
        if TRACE:
            print("  %-14s %-42r %-20r said: %s" % (node.getRoleName(), name, value, said))
        what = "%s: %s %r" % (where, node.getRoleName(), name)
        if not said.strip():
            self.problems.append("%s says nothing" % what)
            return node
        if not says(name, said):
            self.problems.append("%s: its name is not in %r" % (what, said))
        if role in VALUED:
            if value is None:
                self.problems.append("%s exposes no value (said %r)" % (what, said))
            elif value.strip() and not says(value, said):
                self.problems.append("%s: its value %r is not in %r" % (what, value, said))
        if role == pyatspi.ROLE_COMBO_BOX and not editable(node) and in_page(node) \
                and node.path not in self.changed:
            self.changed.add(node.path)
            self.change(what, node, value, self.unit_mode)
        return node

    def new_value(self, what, how, node, before):
        """The list's item after a change, as AT-SPI shows it; None when it did not change.
        A new item must be spoken while the list keeps the focus."""
        def heard(text):
            now = value_of(node)
            return now != before and says(now, " | ".join(SPEECH.findall(text)))

        said = " | ".join(self.log.settle(heard, quiet=0.3, limit=5))
        after = value_of(node)
        if TRACE:
            print("  %-14s %-42s %-20r said: %s" % ("", how, after, said))
        if after == before:
            return None
        if not says(after, said):
            self.problems.append("%s: %s Orca does not say the new item %r (said %r)" % (
                what, how, after, said))
        return after

    def change(self, what, node, value, unit):
        """A closed list's item changed by keys, then set back: by the unit's answer where the
        window shows the unit's own mode (`unit`), else by keys."""
        for there, back in (("Down", "Up"), ("Up", "Down")):
            key(there)
            if self.new_value(what, "after " + there, node, value) is not None:
                break
        else:
            return  # one item only
        if unit:
            act(self.receive)  # the unit's parameters again: it answers with the item it has
            how = "after the unit's answer"
        else:
            key(back)
            how = "after " + back
        if self.new_value(what, how, node, None) != value:
            self.problems.append("%s: %s it shows %r, not %r" % (what, how, value_of(node),
                                                                 value))


def main():
    log = Log(LOG)
    # A busy machine answers late: 20 s for a call, not the library's 0.8 s.
    pyatspi.setTimeout(20000, 60000)
    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    app = find_app("Aldrun Quillo")
    log.settle(spoken, limit=60)  # Orca greets when it is ready
    frame = app[0]
    top = controls(frame)
    receive = [n for n in top if n.getRole() == pyatspi.ROLE_PUSH_BUTTON][0]
    radios = [n for n in top if n.getRole() == pyatspi.ROLE_RADIO_BUTTON]
    tabbar = [n for n in top if n.getRole() == pyatspi.ROLE_PAGE_TAB_LIST][0]
    tabs = [n for n in tabbar if n is not None and n.getRole() == pyatspi.ROLE_PAGE_TAB]
    act(receive)  # the unit's parameters, as a user starts
    # No window manager: a click on an empty place gives the window the keyboard focus.
    x, y, _, h = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    subprocess.run(["xdotool", "mousemove", str(x + 3), str(y + h - 3), "click", "1"],
                   check=True)
    walk = Walk(log, receive)
    # The first four radio buttons: master, slave; without router, with router. Found by their
    # place, so that the check runs in any language.
    for mode, connection in ((0, 2), (0, 3), (1, 2), (1, 3)):
        act(radios[mode])
        act(radios[connection])
        where_mode = "%s, %s" % (radios[mode].name, radios[connection].name)
        walk.unit_mode = mode == 0 and connection == 2  # the simulated unit's own mode
        # The Wi-Fi page and the whole round of Tab stops in each mode; the other pages, which
        # the mode does not change, in the first.
        for index, tab in enumerate(tabs if mode == 0 and connection == 2 else tabs[:1]):
            # Each page from the page tabs: the first with the whole round of Tab stops, the
            # others until the focus leaves them.
            if not tabbar.getState().contains(pyatspi.STATE_FOCUSED):
                del focused[:]
                tabbar.queryComponent().grabFocus()
                log.settle(focus_handled)
            act(tab)
            log.settle(anything, quiet=0.3)
            where = "%s, page %s" % (where_mode, tab.name)
            for _ in range(60):
                node = walk.step(where)
                if node is None:
                    break
                if node.path == tabbar.path if index == 0 else not in_page(node):
                    break
    for problem in walk.problems:
        print("PROBLEM", problem)
    print("%d stops, %d problems" % (walk.stops, len(walk.problems)))
    sys.exit(1 if walk.problems else 0)


main()
