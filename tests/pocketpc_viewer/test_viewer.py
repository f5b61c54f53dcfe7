"""The Pocket PC viewer, the real executable the builder writes into the
cabinet, run in the emulator: what it shows, what it copies into the
calendar and contact store, how it meets damage, and that an independent PE
reader accepts it.

Paths come from the environment (set by CMake): SKEDLIN_SOURCE_DIR,
SKEDLIN_BUILDER, SKEDLIN_VIEWER_TEMPLATE and SKEDLIN_CORE_LIBRARY."""

import datetime
import math
import os
import struct
import tempfile
import unittest

from harness import pe_check, packages
from harness.com import parse_interfaces
from harness.desktop_core import DesktopViewer
from harness.loader import PeImage
from harness.script import Run, command, close, key, tap, load_import_table, VK_NEXT

SOURCE = os.environ.get("SKEDLIN_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
BUILDER = os.environ.get("SKEDLIN_BUILDER", "")
TEMPLATE = os.environ.get("SKEDLIN_VIEWER_TEMPLATE", "")
CORE_LIBRARY = os.environ.get("SKEDLIN_CORE_LIBRARY", "")
IMPORTS = os.path.join(SOURCE, "viewer", "pocketpc", "shell", "ce_imports.h")
INTERFACES = os.path.join(SOURCE, "viewer", "pocketpc", "copy", "poom_interfaces.h")
EXAMPLE = os.path.join(SOURCE, "examples", "conference", "Conference.xml")
COPY_TEST = os.path.join(SOURCE, "tests", "palmviewer", "data", "CopyTest.xml")

# Menu and button commands: 1000 + the core's command.
BROWSE, COPY, ABOUT, BACK, COPY_NOW, SELECT_ALL, SELECT_NONE, EVENTS, CONTACTS = range(1001, 1010)
MENU_BAR = ["Browse", "Copy", "About"]
IDYES, IDNO = 6, 7
MB_ICONERROR = 0x10
SCREEN_WIDTH = 240

WORK = tempfile.mkdtemp(prefix="pocketpc-viewer-")
_built = {}


def built(name, xml, palm=False):
    if name not in _built:
        _built[name] = packages.build(BUILDER, xml, os.path.join(WORK, name), palm=palm)
    return _built[name]


def table():
    return load_import_table(IMPORTS)


def interfaces():
    """The store's slots and ids as the copy module declares them (none
    before the copy module is in the tree: then nothing may touch the store)."""
    if not os.path.exists(INTERFACES):
        return None
    with open(INTERFACES, encoding="utf-8") as f:
        return parse_interfaces(f.read())


def run(executable, steps, answers=None):
    return Run(executable, table(), steps, answers=answers, interfaces=interfaces()).start()


def tap_text(text, contains=False):
    """A step: a tap on the text drawn in the last paint (its top left
    corner, a little inside)."""

    def step(current):
        previous = current.recorder.step - 1
        drawn = [c.arguments for c in current.calls("ExtTextOutW", step=previous)]
        for arguments in reversed(drawn):
            if arguments["text"] == text or (contains and text in arguments["text"]):
                return tap(arguments["x"] + 2, arguments["y"] + 4)
        raise AssertionError("no text %r drawn in step %d: %r" % (text, previous, [a["text"] for a in drawn]))

    return step


def joined(texts):
    return " ".join(texts)


class ViewerScreensTests(unittest.TestCase):
    """The example package browsed from the welcome screen to an event and
    a contact."""

    @classmethod
    def setUpClass(cls):
        cls.exe = built("example", EXAMPLE)
        cls.viewer = run(cls.exe, [key(VK_NEXT), command(BROWSE), tap_text("Keynotes & Plenary"),
                                tap_text("Opening and welcome"), command(BACK), command(CONTACTS),
                                tap_text("Achebe", contains=True), close()])

    def test_starts_registers_its_window_and_exits_cleanly(self):
        self.assertIsNone(self.viewer.crash)
        self.assertEqual(self.viewer.exit_code, 0)
        self.assertEqual([c.arguments["name"] for c in self.viewer.calls("RegisterClassW")], ["SkedlinViewer"])
        window = self.viewer.calls("CreateWindowExW")[0].arguments
        self.assertEqual((window["class_name"], window["title"]), ("SkedlinViewer", "Mobile Data Conference 2026"))
        self.assertFalse(self.viewer.message_boxes())
        # Everything the program allocated is given back when it ends.
        allocated = {c.arguments["address"] for c in self.viewer.calls("LocalAlloc")}
        self.assertEqual(allocated & self.viewer.machine.heap_blocks.keys(), set())

    def test_welcome_screen_shows_the_package_and_its_logo(self):
        welcome = joined(self.viewer.last_paint(0) + self.viewer.last_paint(1))  # its first and second page
        for text in ("Mobile Data Conference 2026", "Welcome to the Mobile Data Conference", "Harbour Hall",
                     "Programme by the MDC organising committee."):
            self.assertIn(text, welcome)
        self.assertFalse([t for t in self.viewer.texts() if "\r" in t or "\n" in t], "line ends drawn as characters")
        self.assertEqual(self.viewer.last_paint(0)[-3:], MENU_BAR)
        logos = [c.arguments for c in self.viewer.calls("BitBlt", step=0)]
        self.assertTrue(logos and all(a["bitmap"] == 4000 for a in logos), logos)
        self.assertTrue(self.viewer.calls("LoadBitmapW")[0].arguments["found"])

    def test_browsing_reaches_an_event_and_a_contact(self):
        self.assertIn("Keynotes & Plenary", self.viewer.last_paint(2))
        self.assertIn("Opening and welcome", joined(self.viewer.last_paint(3)))
        event = joined(self.viewer.last_paint(4))
        for text in ("Opening and welcome", "Main Hall.", "Siobhan Brennan"):
            self.assertIn(text, event)
        self.assertIn("Opening and welcome", joined(self.viewer.last_paint(5)))  # back on the list
        contact = joined(self.viewer.last_paint(7))
        for text in ("Achebe", "Ngozi", "Lagos Data Lab", "+234 1 555 0142", "Keynote speaker."):
            self.assertIn(text, contact)

    def test_texts_fit_the_screen(self):
        for call in self.viewer.calls("ExtTextOutW"):
            arguments = call.arguments
            if arguments["target"] != "window":
                continue
            width = len(arguments["text"]) * ((arguments["height"] + 1) // 2 + (1 if arguments["bold"] else 0))
            self.assertGreaterEqual(arguments["x"], 0, arguments)
            self.assertLessEqual(arguments["x"] + width, SCREEN_WIDTH + 1, arguments)


class SameScreensAsThePalmViewerTests(unittest.TestCase):
    """Both viewers come from one core: the same package shows the same
    texts in the emulated Pocket PC viewer as in the core built for this
    computer on the package's Palm resources, given the same font metrics."""

    # The shell's fonts (character heights in pixels at 240 pixels wide) for
    # the core's fonts standard, bold, large, large bold; checked below
    # against the fonts the program creates.
    SHELL_FONTS = {0: (12, False), 1: (12, True), 2: (16, False), 7: (16, True)}

    def desktop(self, prc):
        def char_pixels(font):
            height, bold = self.SHELL_FONTS.get(font, self.SHELL_FONTS[0])
            return (height + 1) // 2 + (1 if bold else 0)  # the harness's font model

        def units(pixels):
            return math.ceil(pixels * 320 / SCREEN_WIDTH)

        return DesktopViewer(CORE_LIBRARY, packages.palm_resources(prc),
                             lambda font, length: units(length * char_pixels(font)),
                             lambda font: units(self.SHELL_FONTS.get(font, self.SHELL_FONTS[0])[0]))

    def test_screens_match(self):
        exe, prc = built("example-both", EXAMPLE, palm=True)
        steps = [("command", BROWSE), ("text", "Track A: Synchronisation"), ("text", "Conflict-free calendars"),
                 ("command", BACK), ("command", CONTACTS), ("text", "Lindqvist, Erik"), ("command", BACK),
                 ("command", BACK), ("command", BACK)]
        script = [command(v) if kind == "command" else tap_text(v) for kind, v in steps] + [close()]
        emulated = run(exe, script)
        self.assertIsNone(emulated.crash)
        fonts = [(abs(c.arguments["height"]), c.arguments["weight"] >= 700)
                 for c in emulated.calls("CreateFontIndirectW")]
        self.assertEqual(fonts[:4], [self.SHELL_FONTS[f] for f in (0, 1, 2, 7)])

        desktop = self.desktop(prc)
        for step, (kind, value) in enumerate([("start", None)] + steps):
            if kind == "command":
                desktop.command(value - 1000)
            elif kind == "text":
                item = desktop.find_text(value)
                self.assertIsNotNone(item, "the desktop core shows no %r" % value)
                desktop.tap(item.x + 1, item.y + item.h // 2)
            self.assertEqual(emulated.last_paint(step), desktop.texts() + MENU_BAR, "step %d" % step)


@unittest.skipUnless(os.path.exists(INTERFACES), "the copy module is not in the tree")
class CopyTests(unittest.TestCase):
    """A package of navigation level 0 copied whole into the store."""

    @classmethod
    def setUpClass(cls):
        cls.exe = built("copy", COPY_TEST)

    def copy_run(self, answers=None, twice=False):
        steps = [command(COPY), command(COPY_NOW)]
        if twice:
            steps += [command(BACK), command(COPY), command(COPY_NOW)]
        return run(self.exe, steps + [close()], answers=answers)

    def test_events_and_contacts_reach_the_store_as_in_the_package(self):
        copied = self.copy_run()
        self.assertIsNone(copied.crash)
        appointments = {a["SUBJECT"]: a for a in copied.com.saved_appointments()}
        self.assertEqual(sorted(appointments), ["Club meeting", "Cup draw day", "Season opener", "Training"])
        opener = appointments["Season opener"]
        self.assertEqual((opener["START"], opener["END"]),
                         (datetime.datetime(2026, 8, 15, 15, 0), datetime.datetime(2026, 8, 15, 16, 45)))
        self.assertFalse(opener.get("ALL_DAY_EVENT", False))
        self.assertEqual(opener["BODY"], "Home ground.\r\nGates open 14:00.")
        self.assertIsNone(opener["recurrence"])

        training = appointments["Training"]
        self.assertEqual(training["START"], datetime.datetime(2026, 8, 18, 18, 30))
        pattern = training["recurrence"]
        self.assertEqual((pattern["RECURRENCE_TYPE"], pattern["INTERVAL"], pattern["DAY_OF_WEEK_MASK"]),
                         (1, 1, 4 | 16))  # weekly, every week, Tuesday and Thursday
        self.assertEqual(pattern["PATTERN_END_DATE"].date(), datetime.date(2026, 12, 15))
        self.assertEqual(sorted(d.date() for d in training["exceptions"]),
                         [datetime.date(2026, 10, 27), datetime.date(2026, 10, 29)])

        meeting = appointments["Club meeting"]["recurrence"]
        self.assertEqual((meeting["RECURRENCE_TYPE"], meeting["INSTANCE"], meeting["DAY_OF_WEEK_MASK"]),
                         (3, 2, 4))  # the second Tuesday of the month
        self.assertTrue(meeting["NO_END_DATE"])

        draw_day = appointments["Cup draw day"]
        self.assertTrue(draw_day["ALL_DAY_EVENT"])
        self.assertEqual(draw_day["START"].date(), datetime.date(2026, 11, 2))

        contacts = {c.get("LAST_NAME", c.get("COMPANY_NAME")): c for c in copied.com.saved_contacts()}
        self.assertEqual(sorted(contacts), ["Leeds Ground", "Okafor"])
        coach = contacts["Okafor"]
        self.assertEqual((coach["FIRST_NAME"], coach["JOB_TITLE"], coach["COMPANY_NAME"]),
                         ("Ada", "Coach", "Riverside Club"))
        self.assertEqual((coach["BUSINESS_TELEPHONE_NUMBER"], coach["MOBILE_TELEPHONE_NUMBER"],
                          coach["EMAIL1_ADDRESS"], coach["HOME_TELEPHONE_NUMBER"], coach["PAGER_NUMBER"]),
                         ("0113 496 0001", "07700 900123", "ada@riverside.example", "0113 496 0999", "0113 496 0555"))
        self.assertEqual(coach["BODY"], "Team coach.\r\nCall before 18:00.")
        ground = contacts["Leeds Ground"]
        self.assertEqual(ground["BUSINESS_FAX_NUMBER"], "0113 496 0101")
        # A "main" phone has no place in the Pocket PC contact record, so it cannot reach the store.
        self.assertNotIn("0113 496 0100", ground.values())

        # Nothing the store had is touched, every object and string is given back.
        self.assertFalse([c for c in copied.calls("Delete") if c.arguments["object"] != "occurrence"])
        self.assertEqual(copied.com.leaked(), [])
        self.assertEqual(copied.com.strings, {})
        self.assertEqual(copied.com.initialized, 0)
        result = copied.message_boxes()[-1]["text"]
        self.assertIn("4", result)
        self.assertIn("2", result)

    def test_a_second_copy_asks_first_and_no_means_nothing_is_copied(self):
        copied = self.copy_run(answers=[IDNO], twice=True)
        self.assertIsNone(copied.crash)
        self.assertFalse([b for b in copied.message_boxes(step=2) if b["type"] & 0xF == 4])
        asked = [b for b in copied.message_boxes(step=5) if b["type"] & 0xF == 4]  # MB_YESNO
        self.assertEqual(len(asked), 1, copied.message_boxes())
        self.assertEqual(len(copied.com.saved_appointments()), 4)
        self.assertEqual(len(copied.com.saved_contacts()), 2)

    def test_store_that_cannot_be_opened_is_reported(self):
        steps = [command(COPY), command(COPY_NOW), close()]
        blocked = Run(self.exe, table(), steps, interfaces=interfaces())
        blocked.com.fail_create = True
        blocked.start()
        self.assertIsNone(blocked.crash)
        self.assertEqual(blocked.com.saved_appointments(), [])
        self.assertTrue(blocked.message_boxes())
        self.assertEqual(blocked.exit_code, 0)


class DamagedPackageTests(unittest.TestCase):
    """Damaged resources: a message, then the program ends; never a crash."""

    def damaged(self, name, damage):
        exe = built("example", EXAMPLE)
        with open(exe, "rb") as f:
            data = bytearray(f.read())
        resources = PeImage(bytes(data)).resources()
        damage(data, resources)
        path = os.path.join(WORK, name + ".exe")
        with open(path, "wb") as f:
            f.write(data)
        return path

    @staticmethod
    def set_size(data, resources, kind, ident, size):
        entry = resources[(kind, ident)][0][3]
        struct.pack_into("<I", data, entry + 4, size)

    def assert_message_and_exit(self, result):
        self.assertIsNone(result.crash)
        boxes = result.message_boxes()
        self.assertTrue(boxes, "no message")
        self.assertTrue(boxes[-1]["type"] & MB_ICONERROR, boxes)
        self.assertFalse(result.calls("CoCreateInstance"))

    def test_a_short_group_table_stops_the_start(self):
        path = self.damaged("short-table", lambda d, r: self.set_size(d, r, 10, 4001, 1))
        self.assert_message_and_exit(run(path, [close()]))

    def test_a_truncated_event_stops_when_it_is_shown(self):
        path = self.damaged("short-event", lambda d, r: self.set_size(d, r, 10, 7000, 3))
        result = run(path, [command(BROWSE), tap_text("Keynotes & Plenary"), close()])
        self.assert_message_and_exit(result)

    def test_a_wrong_count_stops_the_start(self):
        def damage(data, resources):
            # The first group's event count, far beyond the events there are.
            rva = resources[(10, 4001)][0][1]
            section = PeImage(bytes(data)).section_of(rva)
            struct.pack_into("<H", data, section.raw_offset + rva - section.virtual_address + 2, 0x7FFF)

        self.assert_message_and_exit(run(self.damaged("wrong-count", damage), [close()]))


class IndependentPeReaderTests(unittest.TestCase):
    def test_template_and_built_package_pass(self):
        self.assertEqual(pe_check.check(TEMPLATE), [])
        self.assertEqual(pe_check.check(built("example", EXAMPLE)), [])


if __name__ == "__main__":
    unittest.main()
