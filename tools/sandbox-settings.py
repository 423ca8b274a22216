#!/usr/bin/python3
"""The mail settings tools/sandbox sets in a base folder's cat/settings.dat, and putting them back.

  sandbox-settings.py point SETTINGS SERVER [CAFILE] STATE   sets the keys, notes each one's old value in STATE
  sandbox-settings.py restore SETTINGS STATE                  puts back each key the sandbox set and
                                                              that still holds what it set

Only the keys the sandbox set are touched when it stops: a setting typed while it ran (another
server, a sender address) stays, and so does every other key and section.
"""
import json
import os
import sys

SECTION = "[SETTINGS]"


def read_lines(path):
    if not os.path.exists(path):
        return []
    return open(path, encoding="utf-8", errors="surrogateescape", newline="").read().splitlines()


def write_lines(path, lines):
    with open(path, "w", encoding="utf-8", errors="surrogateescape", newline="") as f:
        f.write("".join(line + "\r\n" for line in lines))


def section_range(lines):
    """(start, end) of the settings section's keys, or None."""
    start = next((i for i, line in enumerate(lines) if line.strip().upper() == SECTION), None)
    if start is None:
        return None
    end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith("[")), len(lines))
    return start, end


def key_line(lines, bounds, key):
    if bounds is None:
        return None
    return next((i for i in range(bounds[0] + 1, bounds[1])
                 if lines[i].split("=", 1)[0].strip().upper() == key), None)


def value_of(line):
    return line.split("=", 1)[1] if "=" in line else ""


def point(path, server, ca, state_path):
    lines = read_lines(path)
    wanted = {"SMTP": server, "EMAIL": "author@sample.example", "NAME": "Sample Author"}
    if ca:
        wanted.update(SECURITY="STARTTLS", USER="author", CAFILE=ca)
    state = {"created": not os.path.exists(path), "keys": {}}
    if section_range(lines) is None:
        lines.append(SECTION)
    for key, value in wanted.items():
        bounds = section_range(lines)
        found = key_line(lines, bounds, key)
        old = value_of(lines[found]) if found is not None else None
        # The sender is the author's own where one is set; the server and security are the stand-in's.
        if key in ("EMAIL", "NAME") and old and old.strip():
            continue
        state["keys"][key] = {"old": old, "set": value}
        if found is None:
            lines.insert(bounds[1], key + "=" + value)
        else:
            lines[found] = key + "=" + value
    write_lines(path, lines)
    with open(state_path, "w", encoding="utf-8") as f:
        json.dump(state, f)


def restore(path, state_path):
    if not os.path.exists(state_path):
        return
    state = json.load(open(state_path, encoding="utf-8"))
    lines = read_lines(path)
    for key, change in state["keys"].items():
        found = key_line(lines, section_range(lines), key)
        if found is None or value_of(lines[found]) != change["set"]:
            continue  # changed while the sandbox ran: the user's value stays
        if change["old"] is None:
            del lines[found]
        else:
            lines[found] = lines[found].split("=", 1)[0] + "=" + change["old"]
    bounds = section_range(lines)
    left_over = [line for line in lines if line.strip()]
    if state["created"] and bounds is not None and left_over == [lines[bounds[0]]]:
        os.remove(path)
    elif os.path.exists(path) or left_over:
        write_lines(path, lines)
    os.remove(state_path)


if __name__ == "__main__":
    args = sys.argv[1:]
    if len(args) in (4, 5) and args[0] == "point":
        point(args[1], args[2], args[3] if len(args) == 5 else "", args[-1])
    elif len(args) == 3 and args[0] == "restore":
        restore(args[1], args[2])
    else:
        sys.exit(__doc__)
