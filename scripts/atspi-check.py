#!/usr/bin/python3
"""Reads the running window's accessibility tree through AT-SPI, as a screen reader does, and
reports every interactive control that shows without a name of its own (none, or only the value
it shows). Visits every page, and each mode through the radio buttons, by AT-SPI actions.
Used by scripts/atspi-check; prints the tree with --dump."""
import sys
import time

import pyatspi

INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_SLIDER, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_ENTRY,
}


def find_app(name, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    sys.exit("no application %r on the accessibility bus" % name)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def value_of(node):
    try:
        text = node.queryText()
        return text.getText(0, -1)
    except NotImplementedError:
        pass
    try:
        return str(node.queryValue().currentValue)
    except NotImplementedError:
        return ""


def walk(node, depth, out):
    if node is None or not showing(node):
        return
    out.append((depth, node))
    for child in node:
        walk(child, depth + 1, out)


def labelled_by(node):
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(relation.getNTargets()):
                names.append(relation.getTarget(i).name)
    return names


def check(app, where, dump):
    nodes = []
    for window in app:
        walk(window, 0, nodes)
    problems = []
    count = 0
    for depth, node in nodes:
        role = node.getRole()
        value = value_of(node).strip()
        if dump:
            extra = " labelled-by=%s" % labelled_by(node) if labelled_by(node) else ""
            print("%s%s name=%r value=%r description=%r%s" % (
                "  " * depth, node.getRoleName(), node.name, value, node.description, extra))
        if role not in INTERACTIVE:
            continue
        count += 1
        name = (node.name or "").strip()
        if not name:
            problems.append("%s: %s without a name (value %r)" % (where, node.getRoleName(), value))
        elif name == value:
            problems.append("%s: %s named only by its value %r" % (where, node.getRoleName(), value))
    print("%s: %d interactive controls showing, %d without a name of their own" % (
        where, count, len(problems)))
    return problems


def find(app, role, name):
    found = pyatspi.findDescendant(app, lambda n: n.getRole() == role and n.name == name)
    if found is None:
        sys.exit("no %s named %r" % (role, name))
    return found


def act(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in ("press", "click", "Press", "toggle", "Toggle"):
        if wanted in names:
            action.doAction(names.index(wanted))
            return
    action.doAction(0)


def main():
    dump = "--dump" in sys.argv
    app = find_app("Aldrun Quillo")
    time.sleep(1.5)
    # The unit's parameters received, as a user starts.
    act(find(app, pyatspi.ROLE_PUSH_BUTTON, "Receive current parameters"))
    time.sleep(1.5)
    problems = []
    modes = [("Master", "No Wi-Fi router"), ("Master", "With Wi-Fi router"),
             ("Slave", "No Wi-Fi router"), ("Slave", "With Wi-Fi router")]
    pages = ["Wi-Fi", "Fan", "Filter", "Information"]
    for mode, connection in modes:
        act(find(app, pyatspi.ROLE_RADIO_BUTTON, mode))
        act(find(app, pyatspi.ROLE_RADIO_BUTTON, connection))
        for page in pages:
            tab = find(app, pyatspi.ROLE_PAGE_TAB, page)
            act(tab)
            time.sleep(0.3)
            problems += check(app, "%s, %s, page %s" % (mode, connection, page),
                              dump and page in ("Wi-Fi", "Fan"))
    for problem in problems:
        print("PROBLEM", problem)
    sys.exit(1 if problems else 0)


main()
