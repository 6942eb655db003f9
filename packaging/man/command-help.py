#!/usr/bin/env python3
"""Answers help2man for stampa-cli and stampa-vprinter: --version, and for --help the whole
command reference — the program's --help with every command's own --help
(options and arguments) before the examples, so the man page holds all of it.
The "Exit status:" part is left out: the page takes it as a section of its own
(make-man-pages.sh).

Usage: command-help.py PROGRAM --help|--version
"""
import re
import subprocess
import sys


def run(program, *arguments):
    return subprocess.run([program, *arguments], check=True, capture_output=True,
                          text=True).stdout


def commands(help_text):
    """The names listed under "Subcommands:" of a --help."""
    names, listing = [], False
    for line in help_text.splitlines():
        if line.startswith("Subcommands:"):
            listing = True
        elif listing and line.startswith("  "):
            names.append(line.split()[0])
        elif listing:
            listing = False
    return names


def command_section(program, path):
    """One command: its usage, what it does, and its arguments and options."""
    text = run(program, *path, "--help")
    lines = [line for line in text.splitlines() if not re.match(r"\s*(-h,--help|--help-all)\s", line)]
    what, usage = lines[0], lines[1].replace("Usage: ", "")
    body = [line for line in lines[2:] if line.strip() and not line.endswith(":")]
    section = [f"{' '.join(path)}:", f"  {usage}", f"    {what}", *body, ""]
    for name in commands(text):
        section += command_section(program, path + [name])
    return section


def main():
    program, option = sys.argv[1], sys.argv[2]
    if option != "--help":
        sys.stdout.write(run(program, option))
        return
    text = run(program, "--help")
    text = re.sub(r"\nExit status:\n(  .*\n)+", "", text)
    head, examples, tail = text.partition("\nExamples:")
    reference = []
    for name in commands(text):
        reference += command_section(program, [name])
    sys.stdout.write(head.rstrip("\n") + "\n\n" + "\n".join(reference) + examples + tail)


if __name__ == "__main__":
    main()
