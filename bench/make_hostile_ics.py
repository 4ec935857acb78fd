#!/usr/bin/env python3
"""Writes calendar files made to cost a holiday reader much time or memory into a folder,
for scripts/bench-ics.sh (which measures dorva-render reading them) and, made small, for
the fuzz corpus of the .ics reader (tests/fuzz/make_corpus.py).
    bench/make_hostile_ics.py FOLDER
"""

import os
import sys

MIB = 1024 * 1024


def calendar(body, end="\r\n"):
    return "BEGIN:VCALENDAR" + end + "VERSION:2.0" + end + body + "END:VCALENDAR" + end


def event(lines, end="\r\n"):
    return "BEGIN:VEVENT" + end + "".join(line + end for line in lines) + "END:VEVENT" + end


def many_parameters(lines=129, parameters=21000):
    """Lines of thousands of parameters each (the library's cost grows with their square)."""
    line = "X-A" + ";A=" * parameters + ":v"
    return calendar(event(["DTSTART;VALUE=DATE:20270101"] + [line] * lines))


def many_properties(count=1200000, name="X-A:1"):
    """One event of a million properties, on lines ended by line feeds alone."""
    return calendar(event(["DTSTART;VALUE=DATE:20270101"] + [name] * count, "\n"), "\n")


def never_occurring_rules(count=3):
    """Rules that never occur, which the library searches for until the year 2582: a
    second or more each."""
    rules = ["FREQ=MONTHLY;BYMONTHDAY=31;BYMONTH=4", "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=30",
             "FREQ=YEARLY;BYWEEKNO=53;BYDAY=WE;WKST=SA"]
    return calendar("".join(event(["UID:never-%d" % i, "DTSTART;VALUE=DATE:20270101",
                                    "RRULE:" + rules[i % len(rules)]]) for i in range(count)))


def short_old_series(size=8 * MIB):
    """Short counted series from 2010, read for a year far after them."""
    one = event(["DTSTART;VALUE=DATE:20100104", "RRULE:FREQ=WEEKLY;COUNT=10;BYDAY=MO,TH"])
    return calendar(one * ((size - 100) // len(one)))


def yearly_events(size=8 * MIB):
    """Birthdays: tens of thousands of yearly events."""
    one = event(["DTSTART;VALUE=DATE:19700614", "RRULE:FREQ=YEARLY"])
    return calendar(one * ((size - 100) // len(one)))


def files():
    return {
        "parameters.ics": many_parameters(),
        "properties.ics": many_properties(),
        "exdates.ics": many_properties(400000, "EXDATE:20270102"),
        "slow-1.ics": never_occurring_rules(),
        "slow-2.ics": never_occurring_rules(),
        "slow-3.ics": never_occurring_rules(),
        "slow-4.ics": never_occurring_rules(),
        "old-series.ics": short_old_series(),
        "birthdays.ics": yearly_events(),
    }


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, text in files().items():
        data = text.encode()
        assert len(data) <= 8 * MIB, name
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
