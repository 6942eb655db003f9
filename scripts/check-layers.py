#!/usr/bin/env python3
"""Keeps the program's layers acyclic.

Reads the #include lines of every source outside tests/ and fails, naming the
file and line, on
  - an include of a folder the including folder may not reach (a lower layer
    reaching up, or two folders of one layer reaching across),
  - a cycle between folders,
  - a Qt include in a Qt-free folder.

    check-layers.py [ROOT]     check the tree at ROOT (default: this repository)
    check-layers.py --self-test
"""
import os
import re
import sys
import tempfile

# Bottom to top; a folder may include the folders of the layers below its own.
STACK = [
    ["common"],
    ["protocol"],
    ["logos", "link", "pixmelt"],
    ["transfer"],
    ["workflows"],
    ["pages", "cli"],
    ["app"],
]
# Folders beside the stack, with what each may include.
APART = {
    "standins": {"common", "link"},  # the stand-ins implement link's library interfaces
    "vprinter": {"common", "standins"},  # the virtual printer drives the simulated port
    "bench": {"common", "pixmelt"},
    # the README's pictures and the sample logos: the program as a user sees it
    "tools": {"common", "protocol", "logos", "link", "pixmelt", "transfer", "workflows", "pages", "app"},
}
# Where Qt may be used: the views, the program, and the virtual printer's renderer.
QT_FOLDERS = {"app", "pages", "tools"}
QT_FILES = {"vprinter/render.h", "vprinter/render.cpp", "vprinter/main.cpp"}

SOURCE = re.compile(r"\.(c|cc|cpp|h|hpp)$")
LOCAL_INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]+"')
QT_INCLUDE = re.compile(r"^\s*#\s*include\s+<(Q[A-Za-z]|qt)")


def allowed_includes():
    allowed = {}
    below = set()
    for layer in STACK:
        for folder in layer:
            allowed[folder] = set(below)
        below |= set(layer)
    allowed.update({folder: set(reach) for folder, reach in APART.items()})
    return allowed


def sources(root, folders):
    for folder in sorted(folders):
        for base, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if SOURCE.search(name):
                    path = os.path.join(base, name)
                    yield folder, os.path.relpath(path, root).replace(os.sep, "/"), path


def find_cycle(graph):
    """A list of folders forming a cycle, or None."""
    state = {}

    def visit(node, trail):
        state[node] = "open"
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == "open":
                return trail[trail.index(nxt):] + [nxt] if nxt in trail else [node, nxt]
            if nxt not in state:
                found = visit(nxt, trail + [nxt])
                if found:
                    return found
        state[node] = "done"
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node, [node])
            if found:
                return found
    return None


def check(root):
    allowed = allowed_includes()
    problems = []
    edges = {}  # (from, to) -> first "file:line"
    for folder, relative, path in sources(root, allowed):
        with open(path, encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                where = f"{relative}:{number}"
                if QT_INCLUDE.match(line) and folder not in QT_FOLDERS and relative not in QT_FILES:
                    problems.append(f"{where}: Qt in a Qt-free folder: {line.strip()}")
                m = LOCAL_INCLUDE.match(line)
                if not m or m.group(1) == folder or m.group(1) not in allowed:
                    continue
                target = m.group(1)
                edges.setdefault((folder, target), where)
                if target not in allowed[folder]:
                    problems.append(f"{where}: {folder}/ may not include {target}/: {line.strip()}")
    graph = {}
    for a, b in edges:
        graph.setdefault(a, set()).add(b)
    cycle = find_cycle(graph)
    if cycle:
        steps = [f"{a} -> {b} ({edges[(a, b)]})" for a, b in zip(cycle, cycle[1:])]
        problems.append("cycle between folders: " + "; ".join(steps))
    return problems


def self_test():
    """The checker itself finds each kind of fault in a small tree."""
    tree = {
        "common/ok.h": '#include "common/other.h"\n#include <string>\n',
        "transfer/up.cpp": '#include "workflows/connect.h"\n',
        "logos/qt.cpp": "#include <QString>\n",
        "logos/across.cpp": '#include "link/port.h"\n',
        "link/back.cpp": '#include "logos/x.h"\n',
        "pages/view.cpp": '#include <QWidget>\n#include "workflows/pick.h"\n',
    }
    with tempfile.TemporaryDirectory() as root:
        for name, text in tree.items():
            os.makedirs(os.path.dirname(os.path.join(root, name)), exist_ok=True)
            with open(os.path.join(root, name), "w") as f:
                f.write(text)
        found = "\n".join(check(root))
    expected = [
        "transfer/up.cpp:1: transfer/ may not include workflows/",
        "logos/qt.cpp:1: Qt in a Qt-free folder",
        "logos/across.cpp:1: logos/ may not include link/",
        "link/back.cpp:1: link/ may not include logos/",
        "cycle between folders: link -> logos",
    ]
    missing = [e for e in expected if e not in found]
    unexpected = [p for p in found.splitlines() if "pages/" in p or "common/" in p]
    for e in missing:
        print(f"self-test: not reported: {e}")
    for p in unexpected:
        print(f"self-test: reported wrongly: {p}")
    print("self-test: ok" if not missing and not unexpected else "self-test: FAILED")
    return 0 if not missing and not unexpected else 1


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    root = argv[1] if len(argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    problems = check(root)
    for p in problems:
        print(p)
    print(f"layers: {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
