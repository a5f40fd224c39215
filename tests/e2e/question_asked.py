#!/usr/bin/python3
"""Prints the question the game asks, as its accessibility tree tells it: the description of "Click
me to see Options", which names the question with its number. Waits until that number is N.

Usage: question_asked.py N TIMEOUT_SECONDS
Exit status: 0 with the description printed, its runs of spaces made one; 1 when the game's tree
shows no question N within the timeout.
"""

import sys
import time

import pyatspi

APP_NAME = "tarvelo"
SHOW_OPTIONS = "Click me to see Options"


def described_question():
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name != APP_NAME:
            continue
        found = pyatspi.findDescendant(
            app, lambda o: o is not None and o.getRole() == pyatspi.ROLE_PUSH_BUTTON and o.name == SHOW_OPTIONS)
        if found is not None:
            return " ".join((found.description or "").split())
    return ""


def main():
    lead = f"Question {int(sys.argv[1])}: "
    deadline = time.monotonic() + float(sys.argv[2])
    said = ""
    while time.monotonic() < deadline:
        try:
            said = described_question()
        except Exception:   # the tree changes while it is read: read it again
            said = ""
        if said.startswith(lead):
            print(said)
            return 0
        time.sleep(0.05)
    print(f"no question {lead.strip()} in the game's tree; last seen: '{said}'", file=sys.stderr)
    return 1


sys.exit(main())
