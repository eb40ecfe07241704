#!/usr/bin/env python3
"""Reads the running program through AT-SPI, as a screen reader does, while xdotool types into it.

Started by accessibility_test.sh in its private X server and D-Bus session; prints the accessible
tree with F5 open and one line per check. Every wait has a limit.
"""

import argparse
import datetime
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

FRAME = "Contabilizar ventas de contado"
TITLES = ["F.Desde", "F.Hasta", "Porc", "Factor", "Pref.N/A"]
LABELS = {"Servidor :", "Usuario :", "Clave :", "Compañía:", "Desde:", "Hasta:"}
INPUTS = {pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_SPIN_BUTTON}
MOVES = {"First record", "Prior record", "Next record", "Last record"}
failures = []
focus_events = []


def check(condition, text):
    print(("ok   " if condition else "FAIL ") + text, flush=True)
    if not condition:
        failures.append(text)
    return condition


def wait_for(seconds, probe):
    """Lets the events in and calls probe until it gives something true, for at most the seconds."""
    context, end = GLib.MainContext.default(), time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        try:
            found = probe()
        except Exception:  # an object that went away while it was read
            found = None
        if (found is not None and found is not False) or time.monotonic() >= end:
            return found
        time.sleep(0.1)


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True, timeout=20)
    wait_for(0.3, lambda: False)


def children(acc):
    return [child for child in (acc.getChildAtIndex(i) for i in range(acc.childCount)) if child is not None]


def descendants(acc, skip=()):
    for child in children(acc):
        yield child
        if child.getRole() not in skip:
            yield from descendants(child, skip)


def has(acc, state):
    acc.clear_cache()
    return acc.getState().contains(state)


def labels_of(acc):
    return [relation.getTarget(0).name.strip() for relation in acc.getRelationSet()
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY]


def dump(acc, depth=0):
    shown = ((pyatspi.STATE_FOCUSED, "focused"), (pyatspi.STATE_SELECTED, "selected"),
             (pyatspi.STATE_SENSITIVE, "enabled"), (pyatspi.STATE_SHOWING, "showing"))
    marks = [name for state, name in shown if acc.getState().contains(state)]
    labels = f" labelled by {labels_of(acc)}" if labels_of(acc) else ""
    print(f"{'  ' * depth}{acc.getRoleName()} {acc.name!r} [{' '.join(marks)}]{labels}")
    for child in children(acc):
        dump(child, depth + 1)


def find(root, role, name):
    return next((acc for acc in descendants(root) if acc.getRole() == role and acc.name == name), None)


def focused_cell(table_acc):
    table_acc.clear_cache()
    table = table_acc.queryTable()
    return next(((row, column) for row in range(table.nRows) for column in range(table.nColumns)
                 if table.getAccessibleAt(row, column).getState().contains(pyatspi.STATE_FOCUSED)), None)


def follows(table_acc, keys, expected, what):
    """After the keys (none: what was heard so far) the focused cell is the expected one, and the
    reader heard the focus reach it."""
    if keys:
        focus_events.clear()
        xdotool("key", "--delay", "60", *keys)
    check(wait_for(10, lambda: focused_cell(table_acc) == expected),
          f"{what}: the focused cell is {expected} ({focused_cell(table_acc)})")
    target = table_acc.queryTable().getAccessibleAt(*expected)
    check(wait_for(5, lambda: target in focus_events), f"{what}: the reader hears the focus on {expected}")


def number(text):
    return float(text.replace(",", "."))


def main():
    parser = argparse.ArgumentParser()
    for option in ("--pid", "--rates", "--user", "--password", "--company"):
        parser.add_argument(option, required=True)
    arguments = parser.parse_args()
    rates = sorted(number(rate) for rate in arguments.rates.split(","))
    pid = int(arguments.pid)
    app = wait_for(30, lambda: next((app for app in pyatspi.Registry.getDesktop(0)
                                     if app is not None and app.get_process_id() == pid), None))
    if not check(app is not None, "the program is on the accessibility bus"):
        return 1
    frame = wait_for(30, lambda: find(app, pyatspi.ROLE_FRAME, FRAME))
    if not check(frame is not None, f"the main window is a frame named {FRAME!r}"):
        return 1
    # Listened to only now that the program is on the bus: a listener registered while the program
    # is still joining can fall between the program's first look at the listeners and its watch for
    # new ones, and then no event is ever sent to it.
    pyatspi.Registry.registerEventListener(
        lambda event: event.detail1 == 1 and focus_events.append(event.source),
        "object:state-changed:focused")

    inputs = [acc for acc in descendants(frame, skip={pyatspi.ROLE_COMBO_BOX})
              if acc.getRole() in INPUTS and has(acc, pyatspi.STATE_SHOWING)]
    found = {label for acc in inputs for label in labels_of(acc)}
    check(all(labels_of(acc) for acc in inputs) and found == LABELS,
          f"each of the {len(inputs)} input fields is labelled: {sorted(found)}")
    post = find(frame, pyatspi.ROLE_PUSH_BUTTON, "F2: Ejecutar")
    check(post is not None and find(frame, pyatspi.ROLE_PUSH_BUTTON, "Esc: Cancelar") is not None,
          "the two buttons are named")

    # Connecting as the clerk does: from the server field, user, password, company and Enter.
    for field in (arguments.user, arguments.password, arguments.company):
        xdotool("key", "Tab")
        xdotool("type", "--delay", "40", field)
    xdotool("key", "Return")
    if not check(wait_for(60, lambda: has(post, pyatspi.STATE_SENSITIVE)), "connected: F2 is enabled"):
        return 1

    xdotool("key", "F5")
    table_acc = wait_for(30, lambda: find(frame, pyatspi.ROLE_TABLE, "Tarifas"))
    if not check(table_acc is not None, "F5 shows a table named 'Tarifas'"):
        dump(frame)
        return 1
    wait_for(10, lambda: table_acc.queryTable().nRows == len(rates))
    print("--- the accessible tree with F5 open")
    dump(frame)
    print("---")

    # The cells read what F5 shows: a row per rate, the range's first day (today), the factor 0.8.
    table = table_acc.queryTable()
    headers = [table.getColumnHeader(column).name for column in range(table.nColumns)]
    check(headers == TITLES, f"the columns are headed by the titles: {headers}")
    cells = [[table.getAccessibleAt(row, column).name for column in range(table.nColumns)]
             for row in range(table.nRows)]
    today = datetime.date.today()
    parts = [f"{today.day:02d}", f"{today.month:02d}", str(today.year)]
    check(sorted(number(row[2]) for row in cells) == rates, f"a row per rate {rates}: {cells}")
    check(all(part in row[0] and part in row[1] for row in cells for part in parts), f"the dates are {today}")
    check(all(number(row[3]) == 0.8 for row in cells), "the factors read 0.8")

    # The focused cell follows the keys and a value typed; the editor is the cell's focused child.
    last = table.nRows - 1
    follows(table_acc, [], (last, 0), "F5")
    follows(table_acc, ["Up"], (last - 1, 0), "Up")
    follows(table_acc, ["Down"], (last, 0), "Down")
    follows(table_acc, ["Tab"], (last, 1), "Tab")
    follows(table_acc, ["Tab", "Tab"], (last, 3), "Tab to the factor")
    xdotool("type", "2")
    factor = table.getAccessibleAt(last, 3)
    editor = wait_for(10, lambda: next((child for child in (factor.clear_cache() or children(factor))
                                        if has(child, pyatspi.STATE_FOCUSED)), None))
    check(editor is not None and editor.queryText().getText(0, -1) == "2",
          "the cell's focused editor reads 2")
    follows(table_acc, ["Return"], (last, 4), "Enter")
    check(wait_for(10, lambda: factor.clear_cache() or number(factor.name) == 2),
          f"the cell reads {factor.name!r}")

    # The navigator's buttons are named by their hints; pressed through its action, "Last record"
    # leaves itself and "Next record" disabled.
    buttons = {acc.name: acc for acc in descendants(table_acc.parent)
               if acc.getRole() == pyatspi.ROLE_PUSH_BUTTON and has(acc, pyatspi.STATE_SHOWING)}
    if check(MOVES <= set(buttons), f"the navigator's buttons: {sorted(buttons)}"):
        buttons["Last record"].queryAction().doAction(0)
        check(wait_for(10, lambda: not has(buttons["Next record"], pyatspi.STATE_SENSITIVE)
                       and not has(buttons["Last record"], pyatspi.STATE_SENSITIVE)
                       and has(buttons["Prior record"], pyatspi.STATE_SENSITIVE)),
              "pressed, 'Last record' disables itself and 'Next record'")

    print(f"{len(failures)} failed" if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
