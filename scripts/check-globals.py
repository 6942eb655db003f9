#!/usr/bin/env python3
"""Keeps program state in the sessions, not in the core libraries.

Reads the core static libraries with nm and fails when
  - a library exports mutable data (a global variable), or
  - a file-private mutable object appears that is not listed below with the
    reason it is one per process.

    check-globals.py LIBRARY.a...
    check-globals.py --self-test
"""
import re
import subprocess
import sys
import tempfile
import os

# File-private mutable objects that are one per process, and why. A new one is
# either state that belongs in a session (transfer/session.h) or is added here
# with its reason.
ONE_PER_PROCESS = {
    # common
    "current": "the language chosen for the texts",
    "EnglishTexts()::table": "the catalogue's English index, built once, then read only",
    "fallbackOperator": "the operator service used before a front end installs one (stateless)",
    "installedOperator": "the operator service the front end installs",
    "installed": "the status-line sink the front end installs, with its lock",
    # link
    "Open()::connections": "open connections by handle; handles are unique in the process, as descriptors",
    "bound": "the USB library's entry points, loaded and bound once at start-up",
    # pixmelt binding
    "pixmelt": "Pixmelt's entry point, loaded and bound once at start-up",
}

IGNORED_PREFIXES = ("std::", "__", ".", "DW.ref", "guard variable", "typeinfo", "vtable")
IGNORED_PARTS = ("__asan", "__tsan", "__sancov", "__odr_asan", "___", "sancov",
                 # stb_image_resize's lookup tables, compiled into the logo library:
                 # declared without const, never written (a sanitizer build keeps
                 # them in .data)
                 "stbir__",
                 # stb_image's load flags, set only by its setters, which the
                 # program never calls, and its tables (an unoptimised build
                 # keeps them; the PNG filter table is declared without const)
                 "stbi__", "first_row_filter")


def short_name(name):
    """The name without the namespaces of ours in front of it, and with the
    parameters of the function a static belongs to left out."""
    for prefix in ("stampa::(anonymous namespace)::", "stampa::", "(anonymous namespace)::"):
        if name.startswith(prefix):
            name = name[len(prefix):]
            break
    return re.sub(r"\([^()]*\)", "()", name)


def data_symbols(library):
    """(class letter, name) of each object in a writable data section; what
    sits in .data.rel.ro is constant once the program is loaded."""
    out = subprocess.run(["nm", "-C", "--defined-only", "-f", "sysv", library],
                         capture_output=True, text=True, check=True).stdout
    for line in out.splitlines():
        fields = [f.strip() for f in line.split("|")]
        if len(fields) != 7 or fields[2] not in ("B", "b", "D", "d"):
            continue
        name, kind, section = fields[0], fields[2], fields[6]
        if section.startswith(".data.rel.ro"):
            continue
        if name.startswith(IGNORED_PREFIXES) or any(p in name for p in IGNORED_PARTS):
            continue
        yield kind, name


# The core keeps its one-per-process objects to a dozen at most.
MOST_ONE_PER_PROCESS = 12


def problems(libraries):
    found = []
    if len(ONE_PER_PROCESS) > MOST_ONE_PER_PROCESS:
        found.append(f"{len(ONE_PER_PROCESS)} one-per-process objects listed, "
                     f"at most {MOST_ONE_PER_PROCESS}: move state into the session")
    for library in libraries:
        for kind, name in data_symbols(library):
            where = os.path.basename(library)
            if kind in "BD":
                found.append(f"{where}: exported mutable data {name}")
            elif short_name(name) not in ONE_PER_PROCESS:
                found.append(f"{where}: file-private mutable object {name} is not listed "
                             "(move it into the session, or list it with its reason)")
    return found


def self_test():
    source = ("namespace stampa { int Exported = 1; namespace { int hidden = 2; } "
              "int Use() { return ++hidden; } }")
    with tempfile.TemporaryDirectory() as folder:
        cpp = os.path.join(folder, "g.cpp")
        obj = os.path.join(folder, "g.o")
        lib = os.path.join(folder, "libg.a")
        with open(cpp, "w") as f:
            f.write(source)
        subprocess.run(["c++", "-c", cpp, "-o", obj], check=True)
        subprocess.run(["ar", "rcs", lib, obj], check=True)
        found = problems([lib])
    expected = ["exported mutable data stampa::Exported", "stampa::(anonymous namespace)::hidden"]
    missing = [e for e in expected if not any(e in f for f in found)]
    if missing:
        print("self-test: not found:", missing)
        return 1
    print("self-test: ok")
    return 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    found = problems(argv[1:])
    for line in found:
        print(line)
    print(f"globals: {len(found)} problem(s)")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
