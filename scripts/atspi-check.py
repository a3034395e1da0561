#!/usr/bin/python3
"""Reads the running window's accessibility tree through AT-SPI, as a screen reader does, and
reports every interactive control that shows without a name of its own (none, or only the value
it shows). Visits every page, and each mode through the radio buttons, by AT-SPI actions.
Used by scripts/atspi-check; prints the tree with --dump."""
import sys
import time

import pyatspi

from atspi_window import act, find_app

INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_SLIDER, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_ENTRY,
}


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def values_of(node):
    """The texts the control can show as its value. A list: any of its items (AT-SPI does not
    tell which one is chosen while the list is closed) and its text field's text."""
    if node.getRole() == pyatspi.ROLE_COMBO_BOX:
        values = []
        for child in node:
            if child is None:
                continue
            if child.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY):
                values += values_of(child)
            elif child.getRole() == pyatspi.ROLE_LIST:
                values += [item.name.strip() for item in child if item is not None and item.name]
        return values
    try:
        return [node.queryText().getText(0, -1).strip()]
    except NotImplementedError:
        pass
    try:
        return [str(node.queryValue().currentValue)]
    except NotImplementedError:
        return []


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
        values = values_of(node)
        value = values[0] if len(values) == 1 else ""
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
        elif name in values:
            problems.append("%s: %s named only by its value %r" % (where, node.getRoleName(), name))
    print("%s: %d interactive controls showing, %d without a name of their own" % (
        where, count, len(problems)))
    return problems


def all_of(app, role):
    """The showing descendants with `role`, in tree order (the window's order, any language)."""
    found = []
    for node in pyatspi.findAllDescendants(app, lambda n: n.getRole() == role and showing(n)):
        found.append(node)
    return found


def main():
    dump = "--dump" in sys.argv
    app = find_app("Aldrun Quillo")
    time.sleep(1.5)
    # The unit's parameters received, as a user starts: the window's first button.
    act(all_of(app, pyatspi.ROLE_PUSH_BUTTON)[0])
    time.sleep(1.5)
    problems = []
    # The first four radio buttons: master, slave; without router, with router. Found by their
    # place, so that the check runs in any language.
    for mode, connection in ((0, 2), (0, 3), (1, 2), (1, 3)):
        radios = all_of(app, pyatspi.ROLE_RADIO_BUTTON)
        act(radios[mode])
        act(radios[connection])
        where_mode = "%s, %s" % (radios[mode].name, radios[connection].name)
        for index in range(4):
            tab = all_of(app, pyatspi.ROLE_PAGE_TAB_LIST)[0][index]  # not a page: a tab
            act(tab)
            time.sleep(0.3)
            problems += check(app, "%s, page %s" % (where_mode, tab.name),
                              dump and index in (0, 1))
    for problem in problems:
        print("PROBLEM", problem)
    sys.exit(1 if problems else 0)


main()
