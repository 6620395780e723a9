#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader hears of the program whose process id is given, one
# line each, fields split by tabs: each list on show that cannot be typed in,
# its name and the value the bus gives for it; each page of text on show, its
# name and its first line, then each of its links, "link" and its name; each
# notification on show, "notification" and its text.
# Exits 77 when no accessibility bus can be had here, 1 when the program is
# not on it.
import sys
import time

try:
    import pyatspi
except ImportError:
    print("no pyatspi", file=sys.stderr)
    sys.exit(77)


def text_of(node):
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        return "(no value)"


def heard(node, found):
    for child in node:
        if child is None:
            continue
        state = child.getState()
        role = child.getRole()
        if role == pyatspi.ROLE_COMBO_BOX:
            if state.contains(pyatspi.STATE_VISIBLE) and not state.contains(pyatspi.STATE_EDITABLE):
                found.append((child.name, text_of(child)))
            continue
        if role == pyatspi.ROLE_NOTIFICATION and state.contains(pyatspi.STATE_VISIBLE):
            found.append(("notification", child.name))
            continue
        if role == pyatspi.ROLE_DOCUMENT_FRAME and state.contains(pyatspi.STATE_VISIBLE):
            found.append((child.name, text_of(child).split("\n")[0]))
            found.extend(("link", link.name) for link in child if link is not None and link.getRole() == pyatspi.ROLE_LINK)
            continue
        heard(child, found)


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
                heard(app, found)
                for name, value in found:
                    print("%s\t%s" % (name, value))
                return 0
        time.sleep(0.1)
        apps = [a for a in desktop if a is not None]
    print("program %d not on the accessibility bus" % pid, file=sys.stderr)
    return 1


sys.exit(main())
