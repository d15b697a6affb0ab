#!/usr/bin/env python3
"""Prints the places of the editor's objects as shell assignments.

    layout_positions.py LAYOUT_JSON NUMBER...

LAYOUT_JSON is the output of `tavrin_layout unpack` (fields that are zero
are left out there). For each NUMBER it prints O<n>_X, O<n>_Y, O<n>_W,
O<n>_H and O<n>_FILL ("r g b"). It also prints ROW_TEMPLATE, the first
entry of list 9 (the file selector's template row), and LIST_DY, how far the
selector moves the list and its rows when it opens: the list's top is put
100 pixels below the top of window 8.
"""
import json
import sys


def dependents(objects, number):
    own = objects.get(str(number), {})
    if "dependents" in own:
        return [d for d in own["dependents"]]
    return sorted(int(n) for n, o in objects.items() if o.get("master") == number)


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        objects = json.load(f)["objects"]
    template = (dependents(objects, 9) or [0])[0]
    numbers = [int(n) for n in sys.argv[2:]] + ([template] if template else [])
    for n in numbers:
        o = objects.get(str(n), {})
        fill = o.get("fill", [0, 0, 0])
        print(f"O{n}_X={o.get('x', 0)} O{n}_Y={o.get('y', 0)} O{n}_W={o.get('w', 0)} O{n}_H={o.get('h', 0)}"
              f" O{n}_FILL='{fill[0] & 255} {fill[1] & 255} {fill[2] & 255}'")
    window, lst = objects.get("8", {}), objects.get("9", {})
    print(f"ROW_TEMPLATE={template}")
    print(f"LIST_DY={window.get('y', 0) + 100 - lst.get('y', 0)}")


if __name__ == "__main__":
    main()
