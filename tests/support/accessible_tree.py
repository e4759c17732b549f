"""Prints what a screen reader finds of the message box: the tree of the
application called vantrelzip on this session's accessibility bus, one
object a line ("role | name"), with the text of objects that have text and
each hyperlink's target and place in that text.

usage: accessible_tree.py   (waits up to 10 s for the box to appear)
"""
import sys
import time

import pyatspi


def application():
    deadline = time.time() + 10
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.name == "vantrelzip" and app.childCount > 0:
                    return app
            except Exception:  # an application that went away meanwhile
                pass
        time.sleep(0.1)
    sys.exit("no box on the accessibility bus")


def walk(accessible, depth):
    indent = "  " * depth
    line = indent + accessible.getRoleName() + " | " + (accessible.name or "")
    states = accessible.getState()
    if states.contains(pyatspi.STATE_FOCUSED):
        line += " | focused"
    print(line)
    try:
        text = accessible.queryText()
        print(indent + "  text: " + repr(text.getText(0, -1)))
        hypertext = accessible.queryHypertext()
        for i in range(hypertext.getNLinks()):
            link = hypertext.getLink(i)
            print(indent + "  hyperlink %d-%d: %s" % (link.startIndex, link.endIndex, link.getURI(0)))
    except NotImplementedError:
        pass
    if accessible.getRoleName() in ("alert", "panel"):
        for child in accessible:
            walk(child, depth + 1)


for window in application():
    walk(window, 0)
