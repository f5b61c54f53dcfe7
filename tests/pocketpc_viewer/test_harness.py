"""The harness itself, run on the probe program (probe/probe.c): if these
fail, the viewer's tests cannot be trusted either."""

import os
import struct
import tempfile
import unittest

from harness import pe_check
from harness.loader import LoadError, PeImage, Machine
from harness.script import Run, tap, command, close, load_import_table
from probe.build_probe import build_probe, string_block, bitmap

HERE = os.path.dirname(os.path.abspath(__file__))
TABLE = load_import_table(os.path.join(HERE, "probe", "probe_imports.h"))
COMMAND_ASK, COMMAND_FAULT, COMMAND_STRING = 1, 2, 3
IDYES, IDNO = 6, 7
EXIT_DAMAGED, EXIT_CREATE_FAILED, EXIT_NORMAL = 3, 4, 7


def resources(title="Probe title", table=struct.pack("<3H", 2, 5, 6)):
    found = {(10, 4000): table, (2, 4000): bitmap(32, 32)}
    if title is not None:
        found[(6, 251)] = string_block({0: title})
    return found


class ProbeBuilds:
    work = tempfile.mkdtemp(prefix="probe-")
    cache = {}

    @classmethod
    def executable(cls, name, **kwargs):
        if name not in cls.cache:
            cls.cache[name] = build_probe(os.path.join(cls.work, name), resources(**kwargs))
        return cls.cache[name]


class ProgramRunTests(unittest.TestCase):
    def test_launch_paints_then_each_step_repaints_with_its_input(self):
        run = Run(ProbeBuilds.executable("plain"), TABLE, [tap(30, 40), command(COMMAND_ASK), close()],
                  answers=[IDNO]).start()
        self.assertIsNone(run.crash)
        self.assertEqual(run.exit_code, EXIT_NORMAL)  # PostQuitMessage's code reaches WinMain's return
        # Launch: the class is registered, WM_CREATE arrives inside CreateWindowExW, then the first paint.
        self.assertEqual([c.arguments["name"] for c in run.calls("RegisterClassW")], ["Probe"])
        messages = [c.arguments["message"] for c in run.calls("message", step=0)]
        self.assertEqual(messages[:3], ["WM_CREATE", "WM_SIZE", "WM_PAINT"])
        self.assertEqual(run.texts(step=0), ["Probe title", "0,0,0 3"])
        # Eight and nine arguments: those past the fourth come from the stack.
        self.assertEqual([(c.arguments["x"], c.arguments["y"]) for c in run.calls("ExtTextOutW", step=0)],
                         [(10, 20), (10, 40)])
        blit = run.calls("BitBlt", step=0)[0].arguments
        self.assertEqual((blit["rect"], blit["bitmap"], blit["rop"]), ((100, 60, 32, 32), 4000, 0x00CC0020))
        # The tap reaches the window procedure with its coordinates; the answer of the question too.
        self.assertEqual(run.texts(step=1), ["Probe title", "30,40,0 3"])
        self.assertEqual(run.message_boxes(step=2)[0]["text"], "Sure?")
        self.assertEqual(run.texts(step=2), ["Probe title", "30,40,7 3"])
        self.assertEqual([c.name for c in run.calls(step=3) if c.name != "message"],
                         ["DestroyWindow", "PostQuitMessage"])

    def test_faults_are_reported_not_hidden(self):
        crashed = Run(ProbeBuilds.executable("plain"), TABLE, [command(COMMAND_FAULT), close()]).start()
        self.assertIn("invalid memory access at 0x00000004", crashed.crash)
        freed_twice = Run(ProbeBuilds.executable("plain"), TABLE, [command(COMMAND_STRING), close()]).start()
        self.assertIn("SysFreeString", freed_twice.crash)
        waiting = Run(ProbeBuilds.executable("plain"), TABLE, [tap(1, 1)]).start()
        self.assertIn("still waits for input", waiting.crash)

    def test_resources_are_served_in_place_and_damage_is_seen(self):
        short = Run(ProbeBuilds.executable("short", table=struct.pack("<3H", 3, 5, 6)), TABLE, []).start()
        self.assertEqual((short.crash, short.exit_code), (None, EXIT_DAMAGED))
        self.assertEqual([b["text"] for b in short.message_boxes()], ["Damaged"])
        self.assertFalse(short.calls("RegisterClassW"))
        untitled = Run(ProbeBuilds.executable("untitled", title=None), TABLE, []).start()
        self.assertEqual((untitled.crash, untitled.exit_code), (None, EXIT_CREATE_FAILED))
        self.assertEqual(untitled.calls("LoadStringW")[0].arguments["text"], "")


class InstructionCountTests(unittest.TestCase):
    def test_counting_by_blocks_equals_counting_each_instruction(self):
        from unicorn import UC_HOOK_CODE
        counted = Run(ProbeBuilds.executable("plain"), TABLE, [tap(30, 40), command(COMMAND_ASK), close()],
                      count_instructions=True)
        one_by_one = []
        counted.machine.uc.hook_add(UC_HOOK_CODE, lambda uc, address, size, user: one_by_one.append(address))
        counted.start()
        self.assertEqual(sum(counted.instructions), len(one_by_one))
        self.assertEqual(len(counted.instructions), 4)  # the launch and three steps
        self.assertTrue(all(counted.instructions))


class LoaderTests(unittest.TestCase):
    def image(self):
        with open(ProbeBuilds.executable("plain"), "rb") as f:
            return bytearray(f.read())

    def test_imports_by_ordinal_and_by_name_are_bound(self):
        machine = Machine(PeImage(self.image()), TABLE)
        names = [name for dll, ordinal, name in machine.imports]
        self.assertIn("RegisterClassW", names)      # by ordinal, named through the table
        self.assertIn("SysFreeString", names)       # by name
        unknown = dict(TABLE)
        del unknown[("PROBE", 1)]
        with self.assertRaisesRegex(LoadError, "PROBE ordinal 1 is not in the import table"):
            Machine(PeImage(self.image()), unknown)

    def test_what_the_device_refuses_is_refused(self):
        data = self.image()
        nt = struct.unpack_from("<I", data, 0x3C)[0]
        for offset, value, size, message in ((nt + 4, 0x014C, "<H", "not ARM"),
                                             (nt + 4 + 18, 0x0102, "<H", "relocations not stripped"),
                                             (nt + 24 + 68, 2, "<H", "not Windows CE GUI")):
            damaged = bytearray(data)
            struct.pack_into(size, damaged, offset, value)
            with self.assertRaisesRegex(LoadError, message):
                PeImage(damaged).check_loadable()
        with self.assertRaisesRegex(LoadError, "no NT headers"):
            PeImage(data[:0x100])


class PeCheckTests(unittest.TestCase):
    def test_the_probe_passes_and_damage_is_named(self):
        path = ProbeBuilds.executable("plain")
        libraries = {"PROBE.dll"}
        self.assertEqual(pe_check.check(path, template=False, libraries=libraries), [])
        self.assertIn("no resource directory for type 14", pe_check.check(path, template=True, libraries=libraries))
        self.assertIn("imports from PROBE.DLL", pe_check.check(path, template=False))
        with open(path, "rb") as f:
            data = bytearray(f.read())
        nt = struct.unpack_from("<I", data, 0x3C)[0]
        struct.pack_into("<H", data, nt + 4 + 18, 0x0102)
        damaged = os.path.join(ProbeBuilds.work, "relocatable.exe")
        with open(damaged, "wb") as f:
            f.write(data)
        self.assertIn("relocations not marked stripped", pe_check.check(damaged, template=False, libraries=libraries))


if __name__ == "__main__":
    unittest.main()
