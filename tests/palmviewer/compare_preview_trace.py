#!/usr/bin/env python3
"""compare_preview_trace.py TRACE TEXTS...

Compares the screens the Palm viewer drew on the runtime (its system-call
trace) with the screens SkedlinTool preview drew for the same steps (one
--texts file per step, in order): the title and every text with its place
must be equal, screen by screen. Exit status 1 with the differences otherwise.
"""
import re
import sys

# A screen starts where the viewer erases the area below the title bar.
SCREEN_START = re.compile(r'WinEraseRectangle\(rect\{\S+ 0,15,160,145\}, 0\)$')
TITLE = re.compile(r'FrmSetTitle\(\S+, "(.*)"\)$')
DRAW = re.compile(r'WinDrawChars\("(.*)", (\d+), (-?\d+), (-?\d+)\)$')
ESCAPE = re.compile(r'<[0-9A-F]{2}>|.', re.S)


def first_bytes(text, count):
    """The first `count` bytes of a traced text, bytes written <XX> counting once."""
    return ''.join(ESCAPE.findall(text)[:count])


def escaped(text):
    # The trace shows the bytes above 0x7E as they are; the preview writes them <XX>.
    return ''.join(c if len(c) > 1 or 0x20 <= ord(c) < 0x7F else '<%02X>' % ord(c) for c in ESCAPE.findall(text))


def runtime_screens(path):
    screens = []
    with open(path, encoding='latin-1') as trace:
        for line in trace:
            line = line.rstrip('\n')
            if 'logtrap:' not in line or line.endswith('...'):
                continue
            call = re.sub(r'^.*?trap 0x[0-9A-F.]+\s+', '', line)
            if SCREEN_START.search(call):
                screens.append([])
                continue
            if not screens:
                continue
            title = TITLE.search(call)
            if title:
                screens[-1].append('title ' + escaped(title.group(1)))
                continue
            draw = DRAW.search(call)
            if draw and call.startswith('WinDrawChars'):
                text = escaped(first_bytes(draw.group(1), int(draw.group(2))))
                screens[-1].append('%s %s %s' % (draw.group(3), draw.group(4), text))
    # A screen drawn twice in a row (an update after the first drawing) counts once.
    unique = []
    for screen in screens:
        if not unique or unique[-1] != screen:
            unique.append(screen)
    return unique


def preview_screen(path):
    lines = []
    with open(path, encoding='latin-1') as texts:
        for line in texts:
            line = line.rstrip('\n')
            if line.startswith('title '):
                lines.append(line)
            else:
                x, y, _font, text = line.split(' ', 3)
                lines.append('%s %s %s' % (x, y, text))
    return lines


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    drawn = runtime_screens(sys.argv[1])
    # A step that leaves the screen as it was (paging a screen that has
    # nothing more to show) counts once, as on the runtime.
    expected, names = [], []
    for path in sys.argv[2:]:
        screen = preview_screen(path)
        if not expected or expected[-1] != screen:
            expected.append(screen)
            names.append(path)
    failures = 0
    if len(drawn) != len(expected):
        print('FAILED: the runtime drew %d screens, the preview %d steps' % (len(drawn), len(expected)))
        failures += 1
    for index, (runtime, preview) in enumerate(zip(drawn, expected)):
        if runtime != preview:
            failures += 1
            print('FAILED: screen %d (%s) differs' % (index + 1, names[index]))
            for line in runtime:
                if line not in preview:
                    print('  runtime only: ' + line)
            for line in preview:
                if line not in runtime:
                    print('  preview only: ' + line)
        else:
            print('screen %d: %d texts equal' % (index + 1, len(preview)))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
