#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader hears of the drop-down lists of the program whose
# process id is given: one line per list on show that cannot be typed in, its name,
# a tab, and the value the bus gives for it. Exits 77 when no accessibility
# bus can be had here, 1 when the program is not on it.
import sys
import time

try:
    import pyatspi
except ImportError:
    print("no pyatspi", file=sys.stderr)
    sys.exit(77)


def lists(node, found):
    for child in node:
        if child is None:
            continue
        if child.getRole() == pyatspi.ROLE_COMBO_BOX:
            state = child.getState()
            if state.contains(pyatspi.STATE_VISIBLE) and not state.contains(pyatspi.STATE_EDITABLE):
                try:
                    text = child.queryText()
                    value = text.getText(0, text.characterCount)
                except NotImplementedError:
                    value = "(no value)"
                found.append((child.name, value))
            continue
        lists(child, found)


def main():
    pid = int(sys.argv[1])
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        apps = [a for a in desktop if a is not None]
    except Exception as e:  # the registry could not be reached
        print("no accessibility bus: %s" % e, file=sys.stderr)
        return 77
    # The program has joined the bus; the registry lists it once it has
    # heard of it.
    for _ in range(100):
        for app in apps:
            if app.get_process_id() == pid:
                found = []
                lists(app, found)
                for name, value in found:
                    print("%s\t%s" % (name, value))
                return 0
        time.sleep(0.1)
        apps = [a for a in desktop if a is not None]
    print("program %d not on the accessibility bus" % pid, file=sys.stderr)
    return 1


sys.exit(main())
