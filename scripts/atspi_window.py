"""What scripts/atspi-check.py and scripts/orca-check.py share: finding the window's application
on the accessibility bus and pressing a control through its AT-SPI action."""
import sys
import time

import pyatspi


def find_app(name, seconds=60):
    """The application `name` once it shows its window; ends the check when it never does."""
    end = time.time() + seconds
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name and app.childCount > 0:
                return app
        time.sleep(0.2)
    sys.exit("no application %r on the accessibility bus" % name)


def act(node):
    """Presses a button, toggles a check box or radio button, or chooses a page tab."""
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in ("press", "click", "Press", "toggle", "Toggle"):
        if wanted in names:
            action.doAction(names.index(wanted))
            return
    action.doAction(0)
