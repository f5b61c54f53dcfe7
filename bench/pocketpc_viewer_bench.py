#!/usr/bin/python3
"""Counts the ARM instructions the Pocket PC viewer executes in the emulator
harness (tests/pocketpc_viewer) on a generated package, and its heap use:

  - launch to the first screen: from the entry point to the first wait for
    input after the welcome screen is painted;
  - a page of a group's event list: from the page-down key to the next wait
    for input, for each of PAGES pages (the largest is reported);
  - heap: the most the viewer held at once (LocalAlloc).

    /usr/bin/python3 bench/pocketpc_viewer_bench.py [BUILD_DIR] [EVENTS] [CONTACTS] [PAGES]
        (defaults: build, 5800 events, 999 contacts, 3 pages)

Not a test: nothing here fails on a number; it prints each figure beside its
target (20 million instructions to the first screen, 2 million a page).
Every instruction the program executes counts, including the two of each
system call's stub; what the system does inside a call is not counted.
"""

import os
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "pocketpc_viewer"))

from harness import packages  # noqa: E402
from harness.com import parse_interfaces  # noqa: E402
from harness.script import Run, command, close, key, tap, load_import_table, VK_NEXT  # noqa: E402

LAUNCH_TARGET = 20_000_000
PAGE_TARGET = 2_000_000
BROWSE = 1001


def first_row_tap(run):
    """A tap on the first group of the groups screen: the first bold text
    drawn in black (group names; the title bar's text is white)."""
    previous = run.recorder.step - 1
    rows = [c.arguments for c in run.calls("ExtTextOutW", step=previous)
            if c.arguments["bold"] and c.arguments["color"] == 0]
    return tap(rows[0]["x"] + 2, rows[0]["y"] + 4)


def peak_heap(run):
    live, peak = {}, 0
    for call in run.recorder.calls:
        if call.name == "LocalAlloc" and call.arguments["address"]:
            live[call.arguments["address"]] = call.arguments["size"]
            peak = max(peak, sum(live.values()))
    return peak


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build"))
    events = int(sys.argv[2]) if len(sys.argv) > 2 else 5800
    contacts = int(sys.argv[3]) if len(sys.argv) > 3 else 999
    pages = int(sys.argv[4]) if len(sys.argv) > 4 else 3
    work = tempfile.mkdtemp(prefix="pocketpc-bench-")
    xml = os.path.join(work, "Bench.xml")
    subprocess.run([os.path.join(build, "bin", "generate_package"), "--events", str(events), "--contacts",
                    str(contacts), "--groups", "12", "--seed", "7", "--dtd",
                    os.path.join(build, "bin", "CalendarPackage.dtd"), xml], check=True, stdout=subprocess.DEVNULL)
    exe = packages.build(os.path.join(build, "bin", "SkedlinBuilder"), xml, work)
    interfaces = None  # the bench does not copy; the store's declarations are read when present
    declarations = os.path.join(ROOT, "viewer", "pocketpc", "copy", "poom_interfaces.h")
    if os.path.exists(declarations):
        with open(declarations, encoding="utf-8") as f:
            interfaces = parse_interfaces(f.read())
    steps = [command(BROWSE), first_row_tap] + [key(VK_NEXT)] * pages + [close()]
    run = Run(exe, load_import_table(os.path.join(ROOT, "viewer", "pocketpc", "shell", "ce_imports.h")), steps,
              interfaces=interfaces, count_instructions=True).start()
    if run.crash:
        print("the viewer crashed: %s" % run.crash)
        return 1
    launch = run.instructions[0]
    page_counts = run.instructions[3:3 + pages]
    print("package: %d events + %d contacts" % (events, contacts))
    print("launch to first screen: %d instructions (target %d: %s)"
          % (launch, LAUNCH_TARGET, "met" if launch <= LAUNCH_TARGET else "MISSED"))
    print("open the first group (%s): %d instructions" % (run.last_paint(2)[:1], run.instructions[2]))
    print("page down, %d pages: %s instructions; largest %d (target %d: %s)"
          % (pages, ", ".join(str(n) for n in page_counts), max(page_counts), PAGE_TARGET,
             "met" if max(page_counts) <= PAGE_TARGET else "MISSED"))
    print("heap: at most %d bytes held at once" % peak_heap(run))
    return 0


if __name__ == "__main__":
    sys.exit(main())
