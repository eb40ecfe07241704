#!/usr/bin/env python3
"""Reads the running program through AT-SPI, as a screen reader does, while xdotool types into it.

Started by accessibility_test.sh inside its private X server and D-Bus session. It finds the program
by its process, checks the main window and the labels of its input fields, connects, opens F5 and
checks the grid: a table whose cells read the values on screen, whose focused cell follows Up, Down
and Tab (by the cell's state and by the focus events the reader hears), and the navigator's named
buttons. The accessible tree is printed. Every wait has a limit.
"""

import argparse
import datetime
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

FRAME_NAME = "Contabilizar ventas de contado"
TITLES = ["F.Desde", "F.Hasta", "Porc", "Factor", "Pref.N/A"]
LABELS = {"Servidor :", "Usuario :", "Clave :", "Compañía:", "Desde:", "Hasta:"}
INPUT_ROLES = {pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_COMBO_BOX,
               pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_DATE_EDITOR, pyatspi.ROLE_ENTRY}
MOVES = ["First record", "Prior record", "Next record", "Last record"]
HINTS = set(MOVES + ["Insert record", "Delete record", "Edit record", "Post edit", "Cancel edit",
                     "Refresh data"])

failures = []
focus_events = []


def log(text):
    print(text, flush=True)


def check(condition, text):
    log(("ok   " if condition else "FAIL ") + text)
    if not condition:
        failures.append(text)
    return condition


def pump(seconds):
    """Lets the AT-SPI events in for a while."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def wait_for(seconds, probe):
    """Calls probe until it gives something true, at most for the given seconds."""
    end = time.monotonic() + seconds
    while True:
        pump(0.05)
        try:
            found = probe()
        except Exception:  # an object that went away while it was read
            found = None
        if found or time.monotonic() >= end:
            return found
        time.sleep(0.1)


def key(*names):
    subprocess.run(["xdotool", "key", "--delay", "60", *names], check=True, timeout=20)
    pump(0.3)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "40", text], check=True, timeout=20)
    pump(0.3)


def states(acc):
    return acc.getState()


def children(acc):
    try:
        return [acc.getChildAtIndex(i) for i in range(acc.childCount)]
    except Exception:
        return []


def descendants(acc, skip_roles=()):
    for child in children(acc):
        if child is None:
            continue
        yield child
        if child.getRole() not in skip_roles:
            yield from descendants(child, skip_roles)


def dump(acc, depth=0):
    state_names = []
    state_set = states(acc)
    for state, short in ((pyatspi.STATE_FOCUSED, "focused"), (pyatspi.STATE_SELECTED, "selected"),
                         (pyatspi.STATE_SENSITIVE, "enabled"), (pyatspi.STATE_SHOWING, "showing"),
                         (pyatspi.STATE_EDITABLE, "editable")):
        if state_set.contains(state):
            state_names.append(short)
    labels = [target.name for relation in acc.getRelationSet()
              if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
              for target in (relation.getTarget(i) for i in range(relation.getNTargets()))]
    extra = f" labelled by {labels!r}" if labels else ""
    log(f"{'  ' * depth}{acc.getRoleName()} {acc.name!r} [{' '.join(state_names)}]{extra}")
    for child in children(acc):
        if child is not None:
            dump(child, depth + 1)


def find_application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def find(root, role, name=None):
    for acc in descendants(root):
        if acc.getRole() == role and (name is None or acc.name == name):
            return acc
    return None


def on_focus(event):
    if event.type.startswith("focus") or event.detail1 == 1:
        focus_events.append(event.source)


def focused_cell(table_acc):
    """The (row, column) of the cell whose state is focused, read afresh."""
    table_acc.clear_cache()
    table = table_acc.queryTable()
    for row in range(table.nRows):
        for column in range(table.nColumns):
            cell = table.getAccessibleAt(row, column)
            if cell is not None and states(cell).contains(pyatspi.STATE_FOCUSED):
                return row, column
    return None


def follows(table_acc, keys, expected, what):
    """Presses the keys (none: they were pressed already) and waits for the focus to reach a cell."""
    if keys:
        focus_events.clear()
        key(*keys)
    reached = wait_for(10, lambda: focused_cell(table_acc) == expected)
    check(reached, f"{what}: the focused cell is {expected} (it is {focused_cell(table_acc)})")
    target = table_acc.queryTable().getAccessibleAt(*expected)
    heard = wait_for(5, lambda: any(source == target for source in focus_events))
    check(heard, f"{what}: the reader hears the focus reach the cell {expected} ({target.name!r})")


def number(text):
    return float(text.replace(",", "."))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pid", type=int, required=True)
    parser.add_argument("--rates", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--company", required=True)
    arguments = parser.parse_args()
    rates = sorted(number(rate) for rate in arguments.rates.split(",") if rate)

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused", "focus:")
    app = wait_for(30, lambda: find_application(arguments.pid))
    if not check(app is not None, "the program is on the accessibility bus"):
        return 1
    frame = wait_for(30, lambda: find(app, pyatspi.ROLE_FRAME, FRAME_NAME))
    if not check(frame is not None, f"the main window is a frame named {FRAME_NAME!r}"):
        dump(app)
        return 1

    # Every input field of the window is labelled by the label beside it.
    inputs = [acc for acc in descendants(frame, skip_roles={pyatspi.ROLE_TABLE, pyatspi.ROLE_COMBO_BOX})
              if acc.getRole() in INPUT_ROLES and states(acc).contains(pyatspi.STATE_SHOWING)]
    found = set()
    for acc in inputs:
        labels = [relation.getTarget(0).name.strip() for relation in acc.getRelationSet()
                  if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY]
        check(bool(labels) and all(labels), f"the {acc.getRoleName()} {acc.name!r} is labelled: {labels}")
        found.update(labels)
    check(LABELS <= found, f"the labels of the fields are {sorted(LABELS)} (found {sorted(found)})")
    for caption in ("F2: Ejecutar", "Esc: Cancelar"):
        check(find(frame, pyatspi.ROLE_PUSH_BUTTON, caption) is not None, f"a push button named {caption!r}")

    # Connecting: the focus starts on the server; user, password, company and Enter.
    key("Tab")
    type_text(arguments.user)
    key("Tab")
    type_text(arguments.password)
    key("Tab")
    type_text(arguments.company)
    key("Return")
    post = find(frame, pyatspi.ROLE_PUSH_BUTTON, "F2: Ejecutar")
    connected = wait_for(60, lambda: post.clear_cache() or states(post).contains(pyatspi.STATE_SENSITIVE))
    if not check(connected, "connected: 'F2: Ejecutar' is enabled"):
        dump(frame)
        return 1

    key("F5")
    table_acc = wait_for(30, lambda: find(frame, pyatspi.ROLE_TABLE, "Tarifas"))
    if not check(table_acc is not None, "F5 shows a table named 'Tarifas'"):
        dump(frame)
        return 1
    wait_for(10, lambda: table_acc.queryTable().nRows == len(rates))
    log("--- the accessible tree with the F5 editor open")
    dump(frame)
    log("---")

    table = table_acc.queryTable()
    check(table.nRows == len(rates), f"one row per VAT rate: {table.nRows} rows, {len(rates)} rates")
    check(table.nColumns == len(TITLES), f"{len(TITLES)} columns: {table.nColumns}")
    headers = [table.getColumnHeader(column).name if table.getColumnHeader(column) else None
               for column in range(table.nColumns)]
    check(headers == TITLES, f"the column headers are the titles: {headers}")
    cells = [[table.getAccessibleAt(row, column).name for column in range(table.nColumns)]
             for row in range(table.nRows)]
    today = datetime.date.today()
    day_parts = {f"{today.day:02d}", f"{today.month:02d}", str(today.year)}
    for row in cells:
        check(all(part in row[0] and part in row[1] for part in day_parts),
              f"the dates of row {row} are today's, {today}")
        check(number(row[3]) == 0.8, f"the factor of row {row} reads 0.8")
    check(sorted(number(row[2]) for row in cells) == rates, f"the Porc column reads the rates {rates}")

    # The focused cell: F5 stands on the last row's first cell; Up, Down and Tab move it.
    last = table.nRows - 1
    check(focused_cell(table_acc) == (last, 0), f"F5 focuses the cell {(last, 0)}: {focused_cell(table_acc)}")
    follows(table_acc, ["Up"], (last - 1, 0), "Up")
    follows(table_acc, ["Down"], (last, 0), "Down")
    follows(table_acc, ["Tab"], (last, 1), "Tab")

    # A value typed: the editor stands in the cell as its child and has the focus; Enter stores the
    # value, which the cell then reads, and the focus goes on to the next cell.
    follows(table_acc, ["Tab", "Tab"], (last, 3), "Tab to the factor")
    type_text("2")
    factor = table.getAccessibleAt(last, 3)

    def editor_in_cell():
        factor.clear_cache()
        editors = [child for child in children(factor) if child.getRole() == pyatspi.ROLE_TEXT]
        return editors[0] if editors and states(editors[0]).contains(pyatspi.STATE_FOCUSED) else None

    editor = wait_for(10, editor_in_cell)
    if check(editor is not None, "typing shows the focused editor as the cell's child"):
        check(editor.queryText().getText(0, -1) == "2", "the editor reads what was typed")
    focus_events.clear()
    key("Return")
    stored = wait_for(10, lambda: factor.clear_cache() or number(factor.name or "0") == 2)
    check(stored, f"Enter stores the value and the cell reads it: {factor.name!r}")
    follows(table_acc, [], (last, 4), "Enter")

    # The navigator below the grid: named buttons, enabled as their actions make sense.
    pane = table_acc.parent
    buttons = {acc.name: acc for acc in descendants(pane) if acc.getRole() == pyatspi.ROLE_PUSH_BUTTON
               and states(acc).contains(pyatspi.STATE_SHOWING)}
    check(set(MOVES) <= set(buttons) <= HINTS, f"the navigator's buttons are named by their hints: {sorted(buttons)}")
    # Pressed through its action, "Last record" goes to the end, where it and "Next record" are
    # disabled and "Prior record" is not.
    if set(MOVES) <= set(buttons):
        check(buttons["Last record"].queryAction().nActions >= 1, "'Last record' has an action")
        buttons["Last record"].queryAction().doAction(0)

        def sensitive(name):
            buttons[name].clear_cache()
            return states(buttons[name]).contains(pyatspi.STATE_SENSITIVE)

        at_end = wait_for(10, lambda: not sensitive("Next record") and not sensitive("Last record"))
        check(at_end, "pressed, 'Last record' leaves itself and 'Next record' disabled")
        check(sensitive("Prior record") and sensitive("First record"), "'First record' and 'Prior record' are enabled")

    log(f"{len(failures)} failed" if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
