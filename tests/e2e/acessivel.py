#!/usr/bin/env python3
"""Reads the running program's accessibility tree (AT-SPI) as a screen reader would.

Usage: acessivel.py main HORA:MODALIDADE...   the main window's grid lists these rows
       acessivel.py entry                      the entry window and its named inputs
       acessivel.py confirm                    the entry window's confirmation panel
       acessivel.py move KEY CELL              after KEY, focus is told on the cell CELL
       acessivel.py cell ROW COLUMN            prints the screen centre of a grid cell
       acessivel.py bar TITLE NAME...          the window's own title bar has these buttons
       acessivel.py press TITLE NAME           presses what is named NAME in the window TITLE
Exits 0 when the tree shows what is expected, else prints what it found and exits 1.
"""
import os
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

Atspi.set_timeout(5000, 20000)


def walk(node, depth=0):
    yield node, depth
    if depth > 40:
        return
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from walk(child, depth + 1)


def program():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and "zelvano" in (app.get_name() or "").lower():
            return app
    return None


def dump(node):
    lines = []
    for n, d in walk(node):
        lines.append("%s%s %r" % ("  " * d, n.get_role_name(), n.get_name()))
    return "\n".join(lines[:1000])


def window(app, title_start):
    for i in range(app.get_child_count()):
        w = app.get_child_at_index(i)
        if w is not None and (w.get_name() or "").startswith(title_start):
            return w
    return None


def check_main(expected):
    app = program()
    main = app and window(app, "Zelvano Agenda Eletrônica V13")
    if not main:
        return "no main window in the tree"
    if main.get_role() not in (Atspi.Role.FRAME, Atspi.Role.WINDOW):
        return "main window is a %s" % main.get_role_name()
    # The grid is named by the heading over it; the calendar's days are a table too.
    tables = [
        n
        for n, _ in walk(main)
        if n.get_role() == Atspi.Role.TABLE and (n.get_name() or "").startswith("Agenda para: ")
    ]
    if len(tables) != 1:
        return "%d tables named after the heading in the main window" % len(tables)
    table = tables[0]
    t = table
    headers = [Atspi.Table.get_column_description(t, c) for c in range(Atspi.Table.get_n_columns(t))]
    if headers != ["Hora", "Modalidade"]:
        return "columns read out: %r" % headers
    rows = []
    for r in range(Atspi.Table.get_n_rows(t)):
        cells = [Atspi.Table.get_accessible_at(t, r, c).get_name() for c in range(2)]
        rows.append(":".join(cells))
    if rows != expected:
        return "rows read out: %r" % rows
    return None


def named_in(window_title, wanted):
    app = program()
    win = app and window(app, window_title)
    if not win:
        return None, "no window %r in the tree" % window_title
    named = {}
    for n, _ in walk(win):
        if not n.get_state_set().contains(Atspi.StateType.SHOWING):
            continue
        named.setdefault(n.get_role(), []).append(n.get_name())
    missing = [name for role, name in wanted if name not in named.get(role, [])]
    return named, ("inputs without their names: %r" % missing if missing else None)


def check_confirmation():
    _, problem = named_in(
        "Zelvano - Agenda",
        [
            (Atspi.Role.TEXT, "Mensagem"),
            (Atspi.Role.PUSH_BUTTON, "Salvar"),
            (Atspi.Role.PUSH_BUTTON, "Cancelar"),
        ],
    )
    return problem


def check_entry():
    app = program()
    entry = app and window(app, "Zelvano - Agenda")
    if not entry:
        return "no entry window in the tree"
    if entry.get_role() not in (Atspi.Role.FRAME, Atspi.Role.DIALOG, Atspi.Role.WINDOW):
        return "entry window is a %s" % entry.get_role_name()
    named = {}
    for n, _ in walk(entry):
        named.setdefault(n.get_role(), []).append(n.get_name())
    wanted = [
        (Atspi.Role.TEXT, "Hora do Aviso"),
        (Atspi.Role.TABLE, "Data do Aviso"),
        (Atspi.Role.PUSH_BUTTON, "Mês anterior"),
        (Atspi.Role.PUSH_BUTTON, "Próximo mês"),
        (Atspi.Role.RADIO_BUTTON, "Avisar na data especificada"),
        (Atspi.Role.RADIO_BUTTON, "Avisar Mensalmente"),
        (Atspi.Role.RADIO_BUTTON, "Avisar Anualmente"),
        (Atspi.Role.PUSH_BUTTON, "OK"),
        (Atspi.Role.PUSH_BUTTON, "Fechar"),
    ]
    missing = [name for role, name in wanted if name not in named.get(role, [])]
    if missing:
        return "inputs without their names: %r" % missing
    unnamed = [
        Atspi.Role(role).value_nick
        for role in (Atspi.Role.TEXT, Atspi.Role.SPIN_BUTTON, Atspi.Role.RADIO_BUTTON, Atspi.Role.PUSH_BUTTON)
        for name in named.get(role, [])
        if not name
    ]
    if unnamed:
        return "inputs without a name: %r" % unnamed
    return None


def check_bar(title, expected):
    """The buttons in the window's top 22 pixels, where its own title bar lies."""
    app = program()
    win = app and window(app, title)
    if not win:
        return "no window %r in the tree" % title
    found = sorted(
        n.get_name()
        for n, _ in walk(win)
        if n.get_role() == Atspi.Role.PUSH_BUTTON
        and n.get_state_set().contains(Atspi.StateType.SHOWING)
        and n.get_extents(Atspi.CoordType.WINDOW).y < 22
    )
    return None if found == sorted(expected) else "title bar buttons: %r" % found


def press(title, name):
    app = program()
    win = app and window(app, title)
    for n, _ in walk(win) if win else []:
        if n.get_name() == name and n.get_n_actions() > 0:
            n.do_action(0)
            return None
    return "nothing named %r in %r" % (name, title)


def check_move(key, expected):
    """Presses the key in the focused grid; a reader must hear of the cell it moved to."""
    import subprocess

    from gi.repository import GLib

    heard = []

    def on_event(event):
        source = event.source
        if source is not None and source.get_role() == Atspi.Role.TABLE_CELL and event.detail1 == 1:
            heard.append(source.get_name())
            if source.get_name() == expected:
                loop.quit()

    loop = GLib.MainLoop()
    listener = Atspi.EventListener.new(on_event)
    listener.register("object:state-changed:focused")
    GLib.timeout_add(500, lambda: subprocess.call(["xdotool", "key", key]) and False)
    GLib.timeout_add(8000, loop.quit)
    loop.run()
    listener.deregister("object:state-changed:focused")
    return None if expected in heard else "after %s the reader heard of %r" % (key, heard)


def cell_centre(row, column):
    """The screen position of a cell of the grid, as "x y"."""
    app = program()
    main = app and window(app, "Zelvano Agenda Eletrônica V13")
    for n, _ in walk(main):
        if n.get_role() == Atspi.Role.TABLE and (n.get_name() or "").startswith("Agenda para: "):
            box = Atspi.Table.get_accessible_at(n, row, column).get_extents(Atspi.CoordType.SCREEN)
            print("%d %d" % (box.x + box.width // 2, box.y + box.height // 2))
            return None
    return "no grid"


def main():
    what = sys.argv[1]
    end = time.time() + 30
    while True:
        try:
            if what == "cell":
                return 1 if cell_centre(int(sys.argv[2]), int(sys.argv[3])) else 0
            if what == "move":
                # Said once: a key pressed twice would move twice.
                problem = check_move(sys.argv[2], sys.argv[3])
                print(problem or "", file=sys.stderr)
                return 1 if problem else 0
            problem = {
                "main": lambda: check_main(sys.argv[2:]),
                "entry": check_entry,
                "confirm": check_confirmation,
                "bar": lambda: check_bar(sys.argv[2], sys.argv[3:]),
                "press": lambda: press(sys.argv[2], sys.argv[3]),
            }[what]()
        except Exception as error:  # the tree changes while it is read
            problem = "reading the tree failed: %s" % error
        if problem is None:
            if os.environ.get("ARVORE"):  # the tree as read, kept for a look
                with open(os.environ["ARVORE"], "a", encoding="utf-8") as out:
                    out.write(dump(program()) + "\n")
            return 0
        if time.time() > end:
            print(problem, file=sys.stderr)
            app = program()
            print(dump(app) if app else "no program on the accessibility bus", file=sys.stderr)
            return 1
        time.sleep(0.5)


sys.exit(main())
