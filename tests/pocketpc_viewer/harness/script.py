"""Runs the viewer from its entry point through a script of user input and
records what it does: every system and COM call, grouped by the script
step it happened in (step 0 is the launch up to the first wait for input).
"""

from .loader import Machine, PeImage, ProgramCrash, parse_import_table
from .system import (System, Recorder, WM_COMMAND, WM_CLOSE, WM_KEYDOWN, WM_KEYUP, WM_LBUTTONDOWN, WM_LBUTTONUP,
                     MK_LBUTTON)
from . import com

SW_SHOW = 5
VK_PRIOR = 0x21  # page up
VK_NEXT = 0x22   # page down
VK_UP = 0x26
VK_DOWN = 0x28
VK_RETURN = 0x0D
VK_ESCAPE = 0x1B


def tap(x, y):
    """A tap on the client area: pen down and up at x, y."""
    position = (y << 16) | (x & 0xFFFF)
    return [(WM_LBUTTONDOWN, MK_LBUTTON, position), (WM_LBUTTONUP, 0, position)]


def command(identifier):
    """A menu command (or button) with this id."""
    return [(WM_COMMAND, identifier, 0)]


def key(virtual_key):
    return [(WM_KEYDOWN, virtual_key, 1), (WM_KEYUP, virtual_key, 0xC0000001)]


def close():
    """The user closes the program (OK button or the system's close)."""
    return [(WM_CLOSE, 0, 0)]


def load_import_table(path):
    with open(path, encoding="utf-8") as header:
        return parse_import_table(header.read())


def load_interfaces(path):
    with open(path, encoding="utf-8") as header:
        return com.parse_interfaces(header.read())


class Run:
    """One run of the viewer executable under a script.

    steps: a list of inputs (each a list of messages from tap(), command(),
    key(), close()). answers: what questions (message boxes with more than an OK
    button) answer, in order (IDYES when none is left). Afterwards `recorder` holds the calls,
    `exit_code` what the entry point returned and `instructions` how many
    instructions ran in each step (when counted)."""

    def __init__(self, executable, import_table, steps, answers=None, interfaces=None, count_instructions=False):
        with open(executable, "rb") as f:
            self.pe = PeImage(f.read())
        self.machine = Machine(self.pe, import_table, count_instructions=count_instructions)
        self.recorder = Recorder()
        self.system = System(self.machine, self.recorder, answers)
        self.com = com.Com(self.machine, self.recorder, interfaces)
        self.steps = [step if callable(step) else list(step) for step in steps]
        self.pending = []
        self.window = None
        self.instructions = [0]
        self.system.input = self._next_input
        self.exit_code = None
        self.crash = None
        self._counted = 0  # instructions already given to a step

    def _main_window(self):
        for window in self.system.windows.values():
            if window.procedure and window.parent == 0 and not window.destroyed:
                return window.handle
        return 0

    def _next_input(self):
        if not self.pending:
            # What ran since the last input (its paint included) belongs to the step before.
            self._mark_instructions()
            if not self.steps:
                return None
            self.pending = self.steps.pop(0)
            self.instructions.append(0)
            self.recorder.step += 1
            if callable(self.pending):
                # A step worked out from what the program shows by now (where to tap).
                self.pending = list(self.pending(self))
        kind, wparam, lparam = self.pending.pop(0)
        return (self._main_window(), kind, wparam, lparam)

    def _mark_instructions(self):
        total = self.machine.instructions
        self.instructions[-1] += total - self._counted
        self._counted = total

    def start(self):
        """Runs the program to its end. A crash is kept in `crash` (and the
        calls before it stay recorded) rather than raised, so tests can say
        what the program did up to it."""
        command_line = self.machine.allocate(2)
        try:
            self.exit_code = self.machine.call(self.machine.entry_point(), self.machine.base, 0, command_line,
                                               SW_SHOW)
        except ProgramCrash as crash:
            self.crash = str(crash)
        self._mark_instructions()
        return self

    # ---- what the recording says -------------------------------------------
    def calls(self, *names, step=None):
        return [c for c in self.recorder.calls if (not names or c.name in names) and (step is None or c.step == step)]

    def texts(self, step=None):
        """The texts drawn on the window in one step (all steps if None), in
        drawing order."""
        return [c.arguments["text"] for c in self.calls("ExtTextOutW", "DrawTextW", step=step)
                if c.arguments["target"] == "window"]

    def last_paint(self, step):
        """The texts of the last complete paint in a step."""
        calls = self.calls(step=step)
        begins = [i for i, c in enumerate(calls) if c.name == "BeginPaint"]
        if not begins:
            return []
        painted = calls[begins[-1]:]
        return [c.arguments["text"] for c in painted
                if c.name in ("ExtTextOutW", "DrawTextW") and c.arguments["target"] == "window"]

    def message_boxes(self, step=None):
        return [c.arguments for c in self.calls("MessageBoxW", step=step)]
