"""Loads a Windows CE ARM executable into the emulated CPU as the system's
loader would: checks the headers it checks, maps each section at its address,
binds every import to a stub address and hands calls to those stubs to Python
stand-ins.

Calls in both directions follow the ARM procedure call convention the system
uses: arguments in r0-r3 then on the stack, result in r0, return address in
lr. Each stub is an `svc #0` followed by `mov pc, lr`; the supervisor call
stops the emulator, the Python stand-in runs outside it (so it may call back
into the program, for instance the window procedure), puts its result in r0
and the program goes on at the return address.
"""

import re
import struct

from unicorn import Uc, UcError, UC_ARCH_ARM, UC_MODE_ARM, UC_HOOK_INTR, UC_HOOK_BLOCK, UC_PROT_ALL
from unicorn import UC_HOOK_MEM_INVALID
from unicorn.arm_const import (UC_ARM_REG_R0, UC_ARM_REG_R1, UC_ARM_REG_R2, UC_ARM_REG_R3, UC_ARM_REG_SP,
                               UC_ARM_REG_LR, UC_ARM_REG_PC, UC_ARM_REG_CPSR)

# PE/COFF numbers the loader checks.
DOS_MAGIC = b"MZ"
NT_SIGNATURE = b"PE\0\0"
MACHINE_ARM = 0x01C0
OPTIONAL_MAGIC_PE32 = 0x010B
SUBSYSTEM_WINDOWS_CE_GUI = 9
FILE_RELOCS_STRIPPED = 0x0001
FILE_EXECUTABLE_IMAGE = 0x0002
DIRECTORY_IMPORT = 1
DIRECTORY_RESOURCE = 2
ORDINAL_FLAG = 0x80000000
RESOURCE_SUBDIRECTORY = 0x80000000
RESOURCE_NAMED = 0x80000000

# The emulated process's address space (one Windows CE process slot).
PAGE = 0x1000
STUB_BASE = 0x01C00000
STUB_SIZE = 8  # svc #0; mov pc, lr
STUB_REGION = 0x00100000
RETURN_ADDRESS = STUB_BASE + STUB_REGION - PAGE  # where calls from Python into the program return to
HEAP_BASE = 0x00400000
HEAP_SIZE = 0x01000000
STACK_TOP = 0x01F00000
STACK_SIZE = 0x00100000

ARM_SVC_0 = 0xEF000000
ARM_MOV_PC_LR = 0xE1A0F00E

ARGUMENT_REGISTERS = (UC_ARM_REG_R0, UC_ARM_REG_R1, UC_ARM_REG_R2, UC_ARM_REG_R3)


class LoadError(Exception):
    """The executable would not load on the device."""


class ProgramCrash(Exception):
    """The program did something the device would end it for."""


def _u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def _u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


def parse_import_table(header_text):
    """Reads the shell's import table, one `CE_IMPORT(DLL, ordinal, Name,
    argument count)` per line (ordinal 0: imported by name). Returns
    {(dll, ordinal): name} for the imports by ordinal; dll names are upper
    case without extension (COREDLL)."""
    by_ordinal = {}
    for match in re.finditer(r"^\s*CE_IMPORT\(\s*(\w+)\s*,\s*(\d+)\s*,\s*(\w+)\s*,\s*(\d+)\s*\)", header_text, re.M):
        dll, ordinal, name = match.group(1).upper(), int(match.group(2)), match.group(3)
        if ordinal:
            by_ordinal[(dll, ordinal)] = name
    return by_ordinal


def dll_key(dll_name):
    """COREDLL.dll, coredll.DLL -> COREDLL."""
    return dll_name.upper().rsplit(".", 1)[0]


class Section:
    def __init__(self, name, virtual_address, virtual_size, raw_offset, raw_size, characteristics):
        self.name = name
        self.virtual_address = virtual_address
        self.virtual_size = virtual_size
        self.raw_offset = raw_offset
        self.raw_size = raw_size
        self.characteristics = characteristics


class PeImage:
    """The parts of a PE file the loader needs, read with every offset checked."""

    def __init__(self, data):
        self.data = bytes(data)
        d = self.data
        if len(d) < 0x40 or d[:2] != DOS_MAGIC:
            raise LoadError("no DOS header")
        nt = _u32(d, 0x3C)
        if nt + 24 + 224 > len(d) or d[nt:nt + 4] != NT_SIGNATURE:
            raise LoadError("no NT headers")
        file_header = nt + 4
        self.machine = _u16(d, file_header)
        section_count = _u16(d, file_header + 2)
        optional_size = _u16(d, file_header + 16)
        self.characteristics = _u16(d, file_header + 18)
        optional = file_header + 20
        if _u16(d, optional) != OPTIONAL_MAGIC_PE32:
            raise LoadError("not a PE32 optional header")
        self.entry_rva = _u32(d, optional + 16)
        self.image_base = _u32(d, optional + 28)
        self.section_alignment = _u32(d, optional + 32)
        self.file_alignment = _u32(d, optional + 36)
        self.size_of_image = _u32(d, optional + 56)
        self.size_of_headers = _u32(d, optional + 60)
        self.subsystem = _u16(d, optional + 68)
        self.stack_reserve = _u32(d, optional + 72)
        directory_count = _u32(d, optional + 92)
        self.directories = []
        for i in range(min(directory_count, 16)):
            self.directories.append(struct.unpack_from("<II", d, optional + 96 + 8 * i))
        table = optional + optional_size
        if table + 40 * section_count > len(d):
            raise LoadError("section table past the end of the file")
        self.sections = []
        for i in range(section_count):
            at = table + 40 * i
            name = d[at:at + 8].rstrip(b"\0").decode("latin-1")
            vsize, vaddr, raw_size, raw_offset = struct.unpack_from("<IIII", d, at + 8)
            characteristics = _u32(d, at + 36)
            if raw_size and raw_offset + raw_size > len(d):
                raise LoadError("section %s past the end of the file" % name)
            self.sections.append(Section(name, vaddr, vsize, raw_offset, raw_size, characteristics))

    def check_loadable(self):
        """What the device's loader insists on for this program."""
        if self.machine != MACHINE_ARM:
            raise LoadError("machine 0x%04X is not ARM" % self.machine)
        if self.subsystem != SUBSYSTEM_WINDOWS_CE_GUI:
            raise LoadError("subsystem %d is not Windows CE GUI" % self.subsystem)
        if not self.characteristics & FILE_EXECUTABLE_IMAGE:
            raise LoadError("not marked executable")
        if not self.characteristics & FILE_RELOCS_STRIPPED:
            raise LoadError("relocations not stripped: the image must load at its base")
        if self.image_base % 0x10000 or self.section_alignment != PAGE:
            raise LoadError("image base or section alignment the loader refuses")
        previous_end = self.size_of_headers
        for s in self.sections:
            if s.virtual_address % self.section_alignment or s.virtual_address < previous_end:
                raise LoadError("section %s misplaced or overlapping" % s.name)
            previous_end = s.virtual_address + max(s.virtual_size, s.raw_size)
        if previous_end > self.size_of_image + PAGE - 1:
            raise LoadError("sections reach past the size of the image")
        if not self.section_of(self.entry_rva):
            raise LoadError("entry point outside every section")

    def section_of(self, rva):
        for s in self.sections:
            if s.virtual_address <= rva < s.virtual_address + max(s.virtual_size, s.raw_size):
                return s
        return None

    def memory_image(self):
        """The image as mapped: headers, then each section at its address."""
        size = (self.size_of_image + PAGE - 1) // PAGE * PAGE
        image = bytearray(size)
        image[:self.size_of_headers] = self.data[:self.size_of_headers]
        for s in self.sections:
            length = min(s.raw_size, s.virtual_size) if s.virtual_size else s.raw_size
            image[s.virtual_address:s.virtual_address + length] = self.data[s.raw_offset:s.raw_offset + length]
        return image

    def imports(self, image):
        """[(dll, ordinal or None, name or None, address of the IAT slot rva)] read from the mapped image."""
        rva, size = self.directories[DIRECTORY_IMPORT] if len(self.directories) > DIRECTORY_IMPORT else (0, 0)
        result = []
        if not rva:
            return result
        at = rva
        while True:
            original_first, _, _, name_rva, first_thunk = struct.unpack_from("<IIIII", image, at)
            if not (original_first or name_rva or first_thunk):
                break
            dll = dll_key(_c_string(image, name_rva))
            lookup = original_first or first_thunk
            index = 0
            while True:
                thunk = _u32(image, lookup + 4 * index)
                if not thunk:
                    break
                if thunk & ORDINAL_FLAG:
                    result.append((dll, thunk & 0xFFFF, None, first_thunk + 4 * index))
                else:
                    result.append((dll, None, _c_string(image, thunk + 2), first_thunk + 4 * index))
                index += 1
            at += 20
        return result

    def resources(self):
        """{(type, name): [(language, data rva, size, file offset of the
        data entry)]}; type and name are numbers, or strings for named
        entries."""
        rva, _ = self.directories[DIRECTORY_RESOURCE] if len(self.directories) > DIRECTORY_RESOURCE else (0, 0)
        section = self.section_of(rva) if rva else None
        if not section:
            return {}
        raw = self.data[section.raw_offset:section.raw_offset + section.raw_size]
        base = rva - section.virtual_address

        def entries(directory):
            named, ids = struct.unpack_from("<HH", raw, base + directory + 12)
            for i in range(named + ids):
                key, offset = struct.unpack_from("<II", raw, base + directory + 16 + 8 * i)
                if key & RESOURCE_NAMED:
                    at = base + (key & ~RESOURCE_NAMED)
                    length = _u16(raw, at)
                    key = raw[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                yield key, offset

        result = {}
        for type_key, type_offset in entries(0):
            for name_key, name_offset in entries(type_offset & ~RESOURCE_SUBDIRECTORY):
                for language, data_offset in entries(name_offset & ~RESOURCE_SUBDIRECTORY):
                    data_rva, size = struct.unpack_from("<II", raw, base + data_offset)
                    entry = section.raw_offset + base + data_offset
                    result.setdefault((type_key, name_key), []).append((language, data_rva, size, entry))
        return result


def _c_string(image, rva):
    end = image.index(b"\0", rva)
    return image[rva:end].decode("latin-1")


class Machine:
    """The emulated ARM process: memory, stubs, calls in both directions."""

    def __init__(self, pe, import_table, count_instructions=False):
        self.pe = pe
        self.uc = Uc(UC_ARCH_ARM, UC_MODE_ARM)
        self.handlers = {}        # stub index -> callable(machine) -> result
        self.stub_names = []      # stub index -> "DLL!Name"
        self.instructions = 0
        self._stopped_in_stub = None
        self._fault = None
        self.heap_next = HEAP_BASE
        self.heap_blocks = {}     # address -> size of live blocks

        pe.check_loadable()
        image = pe.memory_image()
        self.base = pe.image_base
        self.uc.mem_map(self.base, len(image), UC_PROT_ALL)
        self.uc.mem_write(self.base, bytes(image))
        self.uc.mem_map(STUB_BASE, STUB_REGION, UC_PROT_ALL)
        self.uc.mem_map(HEAP_BASE, HEAP_SIZE, UC_PROT_ALL)
        self.uc.mem_map(STACK_TOP - STACK_SIZE, STACK_SIZE, UC_PROT_ALL)
        self.uc.hook_add(UC_HOOK_INTR, self._on_interrupt)
        self.uc.hook_add(UC_HOOK_MEM_INVALID, self._on_invalid_memory)
        if count_instructions:
            self.uc.hook_add(UC_HOOK_BLOCK, self._on_block)

        by_ordinal = import_table
        self.imports = []
        for dll, ordinal, name, slot_rva in pe.imports(image):
            if name is None:
                name = by_ordinal.get((dll, ordinal))
                if name is None:
                    raise LoadError("%s ordinal %d is not in the import table" % (dll, ordinal))
            self.imports.append((dll, ordinal, name))
            self.write_u32(self.base + slot_rva, self.stub_for("%s!%s" % (dll, name)))
        self.uc.reg_write(UC_ARM_REG_SP, STACK_TOP - 16)

    # ---- stubs --------------------------------------------------------
    def stub_for(self, name, handler=None):
        """A new stub address; calls to it go to handler (or to the one
        registered later under its name)."""
        index = len(self.stub_names)
        address = STUB_BASE + STUB_SIZE * index
        if address + STUB_SIZE > RETURN_ADDRESS:
            raise LoadError("too many stubs")
        self.stub_names.append(name)
        if handler:
            self.handlers[index] = handler
        self.uc.mem_write(address, struct.pack("<II", ARM_SVC_0, ARM_MOV_PC_LR))
        return address

    def bind(self, name, handler):
        """Stands `handler` in for every stub called `name`: DLL!Name, or a
        plain Name from whichever library the program imports it."""
        for index, stub_name in enumerate(self.stub_names):
            if stub_name == name or stub_name.endswith("!" + name):
                self.handlers[index] = handler

    def _on_interrupt(self, uc, number, user_data):
        pc = uc.reg_read(UC_ARM_REG_PC)
        self._stopped_in_stub = (pc - 4 - STUB_BASE) // STUB_SIZE if STUB_BASE <= pc < RETURN_ADDRESS else -1
        uc.emu_stop()

    def _on_invalid_memory(self, uc, access, address, size, value, user_data):
        self._fault = "invalid memory access at 0x%08X (pc 0x%08X)" % (address, uc.reg_read(UC_ARM_REG_PC))
        return False

    def _on_block(self, uc, address, size, user_data):
        self.instructions += size // 4

    # ---- running ------------------------------------------------------
    def run(self, start, until):
        """Runs from start until the program returns to `until`, serving
        every stub call on the way."""
        pc = start
        while True:
            self._stopped_in_stub = None
            try:
                self.uc.emu_start(pc, until)
            except UcError as error:
                raise ProgramCrash(self._fault or "%s at pc 0x%08X" % (error, self.uc.reg_read(UC_ARM_REG_PC)))
            if self._stopped_in_stub is None:
                return self.uc.reg_read(UC_ARM_REG_R0)
            index = self._stopped_in_stub
            if index < 0:
                raise ProgramCrash("supervisor call outside the system at 0x%08X" % self.uc.reg_read(UC_ARM_REG_PC))
            handler = self.handlers.get(index)
            if handler is None:
                raise ProgramCrash("call to %s, which the harness does not stand in for" % self.stub_names[index])
            return_to = self.uc.reg_read(UC_ARM_REG_LR)
            result = handler(self)
            self.uc.reg_write(UC_ARM_REG_R0, (result or 0) & 0xFFFFFFFF)
            pc = return_to
            if pc & 1:
                raise ProgramCrash("return to Thumb code at 0x%08X" % pc)

    def call(self, address, *arguments):
        """Calls a function of the program, with the registers of the code
        that was running kept aside; returns r0."""
        saved = self.uc.context_save()
        sp = self.uc.reg_read(UC_ARM_REG_SP)
        stacked = arguments[4:]
        sp = (sp - 4 * len(stacked) - 64) & ~7
        for i, value in enumerate(stacked):
            self.write_u32(sp + 4 * i, value)
        self.uc.reg_write(UC_ARM_REG_SP, sp)
        for register, value in zip(ARGUMENT_REGISTERS, arguments[:4]):
            self.uc.reg_write(register, value & 0xFFFFFFFF)
        self.uc.reg_write(UC_ARM_REG_LR, RETURN_ADDRESS)
        cpsr = self.uc.reg_read(UC_ARM_REG_CPSR)
        self.uc.reg_write(UC_ARM_REG_CPSR, cpsr & ~0x20)  # ARM state
        result = self.run(address, RETURN_ADDRESS)
        self.uc.context_restore(saved)
        return result

    def entry_point(self):
        return self.base + self.pe.entry_rva

    # ---- arguments and memory ------------------------------------------
    def argument(self, index):
        """The index-th 32-bit argument of the stub call being served."""
        if index < 4:
            return self.uc.reg_read(ARGUMENT_REGISTERS[index])
        return self.read_u32(self.uc.reg_read(UC_ARM_REG_SP) + 4 * (index - 4))

    def arguments(self, count):
        return [self.argument(i) for i in range(count)]

    def read(self, address, size):
        try:
            return bytes(self.uc.mem_read(address, size))
        except UcError:
            raise ProgramCrash("the system was handed a bad pointer 0x%08X (%d bytes)" % (address, size))

    def write(self, address, data):
        try:
            self.uc.mem_write(address, bytes(data))
        except UcError:
            raise ProgramCrash("the system was handed a bad pointer 0x%08X for writing" % address)

    def read_u16(self, address):
        return struct.unpack("<H", self.read(address, 2))[0]

    def read_u32(self, address):
        return struct.unpack("<I", self.read(address, 4))[0]

    def read_s32(self, address):
        return struct.unpack("<i", self.read(address, 4))[0]

    def write_u32(self, address, value):
        self.write(address, struct.pack("<I", value & 0xFFFFFFFF))

    def read_wide(self, address, length=None):
        """A UTF-16 string: `length` characters, or up to its zero."""
        if length is not None:
            return self.read(address, 2 * length).decode("utf-16-le", "replace")
        chars = []
        while len(chars) < 0x10000:
            c = self.read_u16(address + 2 * len(chars))
            if not c:
                break
            chars.append(c)
        return struct.pack("<%dH" % len(chars), *chars).decode("utf-16-le", "replace")

    def allocate(self, size, zero=True):
        """A block of the program's heap (8-byte aligned, never reused, so
        a use after free reads the old bytes instead of another block)."""
        size = max(size, 1)
        address = self.heap_next
        self.heap_next = (self.heap_next + size + 15) & ~7
        if self.heap_next > HEAP_BASE + HEAP_SIZE:
            return 0
        if zero:
            self.write(address, bytes(size))
        self.heap_blocks[address] = size
        return address

    def free(self, address):
        """Frees a block; False for an address that is no live block."""
        return self.heap_blocks.pop(address, None) is not None
