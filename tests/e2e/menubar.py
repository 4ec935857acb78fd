#!/usr/bin/env python3
"""Finds the titles of the menu bar in a screenshot of the main window.

    menubar.py SHOT    prints the x of the centre of each title, left to right

The menu bar runs along the top of the window and ends above y = 20. A title is a run of
columns that hold text pixels (darker than the bar's background), separated from the next
by a gap of several columns.
"""
import sys

from pixels import Image


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    shot = Image(argv[1])
    rows = range(2, 18)
    background = sorted(sum(shot.at(x, 1)) for x in range(shot.width))[shot.width // 2]
    columns = []
    for x in range(shot.width):
        columns.append(any(abs(sum(shot.at(x, y)) - background) > 150 for y in rows))
    titles = []
    start = None
    gap = 0
    for x, text in enumerate(columns + [False] * 8):
        if text:
            if start is None:
                start = x
            end = x
            gap = 0
        elif start is not None:
            gap += 1
            if gap >= 8:
                titles.append((start + end) // 2)
                start = None
    if not titles:
        print("no menu titles found")
        return 1
    print(" ".join(str(x) for x in titles))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
