#!/usr/bin/python3
"""Reads Quaverline's accessibility tree over AT-SPI, as a screen reader does.

  atspi_tree.py dump <out>           writes the tree, one object a line, indented
  atspi_tree.py check <language>     checks the keys, fields and list in "english" or "german"
  atspi_tree.py press <key name>     presses the key through its action; prints the list's lines
  atspi_tree.py menu <item>          chooses a menu item of the menu bar by its name
  atspi_tree.py focused <language>   prints the name of the piano's key that has the focus
"""
import sys
import time

import pyatspi

OCTAVE = {"english": ("lower octave", "upper octave"), "german": ("untere Oktave", "obere Oktave")}
DRAWN = ["C", "Cis Des", "D", "Dis Es", "E", "F", "Fis Ges", "G", "Gis As", "A", "Ais B", "H"]
FIELDS = ["Xtal in Hz", "Port", "Frequenz in Hz", "Duration in Ms", "Code:"]
NAMES = {"english": ("Piano", "Code list"), "german": ("Klaviatur", "Code-Liste")}


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def application():
    deadline = time.time() + 20
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "quaverline":
                return app
        time.sleep(0.2)
    fail("no application 'quaverline' on the accessibility bus")


def walk(node, depth=0):
    yield node, depth
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def actions(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


# Roles are compared by number: their names differ between AT-SPI versions ("push button" became
# "button" in Debian 13).
def find(role, name):
    return [n for n, _ in walk(application()) if n.getRole() == role and n.name == name]


def one(role, name):
    found = find(role, name)
    if len(found) != 1:
        fail(f"{len(found)} objects '{pyatspi.Atspi.role_get_name(role)}' named '{name}'")
    return found[0]


def dump(out):
    with open(out, "w", encoding="utf-8") as f:
        for node, depth in walk(application()):
            f.write(f"{'  ' * depth}{node.getRoleName()} \"{node.name}\"")
            names = actions(node)
            f.write(f" actions={names}\n" if names else "\n")


def check(language):
    piano_name, list_name = NAMES[language]
    piano = one(pyatspi.ROLE_PANEL, piano_name)
    keys = [piano.getChildAtIndex(i) for i in range(piano.childCount)]
    if len(keys) != 24:
        fail(f"the piano holds {len(keys)} objects, not 24")
    for i, key in enumerate(keys):
        drawn = DRAWN[i % 12]
        octave = OCTAVE[language][i // 12]
        if key.getRole() != pyatspi.ROLE_PUSH_BUTTON:
            fail(f"key {i + 1} is a '{key.getRoleName()}'")
        rest = key.name[len(drawn):]
        if not key.name.startswith(drawn) or not rest.startswith((",", " (")) or not key.name.endswith(octave):
            fail(f"key {i + 1} is called '{key.name}', not '{drawn}' in the {octave}")
        if actions(key) != ["Press"]:
            fail(f"key {i + 1} '{key.name}' has the actions {actions(key)}")
    for field in FIELDS:
        node = one(pyatspi.ROLE_TEXT, field)
        labels = [t for r in node.getRelationSet() if r.getRelationType() == pyatspi.RELATION_LABELLED_BY
                  for t in (r.getTarget(j) for j in range(r.getNTargets()))]
        if [l.name for l in labels] != [field]:
            fail(f"field '{field}' is labelled by {[l.name for l in labels]}")
    one(pyatspi.ROLE_LIST, list_name)
    print(f"{language}: 24 keys, 5 fields and the list named as expected")


def lines(list_node):
    return [list_node.getChildAtIndex(i).name for i in range(list_node.childCount)]


def press(key_name):
    keys = [n for n, _ in walk(application()) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name.startswith(key_name)]
    if len(keys) != 1:
        fail(f"{len(keys)} keys called '{key_name}...'")
    code_list = [n for n, _ in walk(application()) if n.getRole() == pyatspi.ROLE_LIST][0]
    before = len(lines(code_list))
    keys[0].queryAction().doAction(actions(keys[0]).index("Press"))
    deadline = time.time() + 5
    while len(lines(code_list)) == before:
        if time.time() > deadline:
            fail(f"no line came after pressing '{keys[0].name}'")
        time.sleep(0.1)
    print("\n".join(lines(code_list)))


def code_lines(_):
    code_list = [n for n, _ in walk(application()) if n.getRole() == pyatspi.ROLE_LIST][0]
    print("\n".join(lines(code_list)))


def focused(language):
    piano = one(pyatspi.ROLE_PANEL, NAMES[language][0])
    keys = [piano.getChildAtIndex(i) for i in range(piano.childCount)]
    print("\n".join(k.name for k in keys if k.getState().contains(pyatspi.STATE_FOCUSED)))


def menu(item):
    node = one(pyatspi.ROLE_MENU_ITEM, item)
    node.queryAction().doAction(0)


if __name__ == "__main__":
    command, argument = sys.argv[1], sys.argv[2]
    {"dump": dump, "check": check, "press": press, "menu": menu, "focused": focused,
     "lines": code_lines}[command](argument)
