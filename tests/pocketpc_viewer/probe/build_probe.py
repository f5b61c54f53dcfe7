"""Builds the probe program into a Windows CE executable of its own making,
independent of the viewer's link step, so the harness's loader is tested
against a second producer: compiled with arm-none-eabi-gcc, sections laid out
by a linker script, then wrapped here into a PE image with an import table by
ordinal (and by name for ordinal 0) and a resource section.

    build_probe(work_dir, resources) -> path of the .exe
    resources: {(type, id): bytes}
"""

import os
import re
import struct
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
IMAGE_BASE = 0x10000
SECTION_ALIGNMENT = 0x1000
FILE_ALIGNMENT = 0x200
TEXT_RVA, RDATA_RVA, DATA_RVA, RSRC_RVA = 0x1000, 0x2000, 0x3000, 0x4000
LANGUAGE_ENGLISH_US = 1033

LINKER_SCRIPT = """
ENTRY(WinMain)
SECTIONS {
  . = 0x11000; .text : { *(.text*) }
  . = 0x12000; .rdata : { *(.rodata*) }
  . = 0x13000; .data : { *(.iat) *(.data*) *(.bss*) *(COMMON) }
  /DISCARD/ : { *(.comment) *(.ARM.attributes) *(.note*) }
}
"""


def _align(value, alignment):
    return (value + alignment - 1) // alignment * alignment


def _imports():
    with open(os.path.join(HERE, "probe_imports.h"), encoding="utf-8") as f:
        return [(m.group(1), int(m.group(2)), m.group(3))
                for m in re.finditer(r"^CE_IMPORT\((\w+), *(\d+), *(\w+), *\d+\)", f.read(), re.M)]


def _section_bytes(elf, name, work):
    out = os.path.join(work, name.strip(".") + ".bin")
    subprocess.run(["arm-none-eabi-objcopy", "-O", "binary", "--only-section=" + name, elf, out], check=True)
    with open(out, "rb") as f:
        return f.read()


def _symbol(elf, name):
    listing = subprocess.run(["arm-none-eabi-nm", elf], check=True, capture_output=True, text=True).stdout
    for line in listing.splitlines():
        parts = line.split()
        if parts[-1] == name:
            return int(parts[0], 16)
    raise KeyError(name)


def _import_directory(imports, at_rva, iat_rva):
    """Descriptor, lookup table, names: one library (all imports share it)."""
    dll_name = b"PROBE.dll\0"
    count = len(imports)
    descriptors = at_rva
    lookup = descriptors + 40                      # one descriptor and the terminating one
    names = lookup + 4 * (count + 1)
    blob_names = bytearray()
    thunks = []
    for dll, ordinal, name in imports:
        if ordinal:
            thunks.append(0x80000000 | ordinal)
        else:
            thunks.append(names + len(blob_names))
            blob_names += struct.pack("<H", 0) + name.encode() + b"\0"
            if len(blob_names) % 2:
                blob_names += b"\0"
    dll_rva = names + len(blob_names)
    blob = bytearray(struct.pack("<5I", lookup, 0, 0, dll_rva, iat_rva) + bytes(20))
    blob += struct.pack("<%dI" % (count + 1), *thunks, 0)
    blob += blob_names + dll_name
    return bytes(blob), thunks


def resource_section(resources, section_rva):
    """A resource tree in the usual order: directories, language directories,
    data entries, data (each body at a 4-byte boundary)."""
    types = {}
    for (kind, ident), body in sorted(resources.items()):
        types.setdefault(kind, []).append((ident, body))
    root_size = 16 + 8 * len(types)
    type_sizes = [16 + 8 * len(items) for items in types.values()]
    count = sum(len(items) for items in types.values())
    language_at = root_size + sum(type_sizes)
    entries_at = language_at + 24 * count
    data_at = entries_at + 16 * count
    out = bytearray(struct.pack("<IIHHHH", 0, 0, 0, 0, 0, len(types)))
    type_at = root_size
    for (kind, items), size in zip(types.items(), type_sizes):
        out += struct.pack("<II", kind, 0x80000000 | type_at)
        type_at += size
    index = 0
    for kind, items in types.items():
        out += struct.pack("<IIHHHH", 0, 0, 0, 0, 0, len(items))
        for i, (ident, _) in enumerate(items):
            out += struct.pack("<II", ident, 0x80000000 | (language_at + 24 * (index + i)))
        index += len(items)
    for i in range(count):
        out += struct.pack("<IIHHHH", 0, 0, 0, 0, 0, 1) + struct.pack("<II", LANGUAGE_ENGLISH_US, entries_at + 16 * i)
    bodies = [body for items in types.values() for _, body in items]
    position = data_at
    for body in bodies:
        out += struct.pack("<IIII", section_rva + position, len(body), 0, 0)
        position = _align(position + len(body), 4)
    for body in bodies:
        out += body + bytes(_align(len(body), 4) - len(body))
    return bytes(out)


def pe_file(sections, entry_rva, directories):
    """sections: [(name, rva, bytes, characteristics)]. directories: {index: (rva, size)}."""
    headers_size = FILE_ALIGNMENT
    nt = 0x40
    raw = headers_size
    table = bytearray()
    body = bytearray()
    size_of_image = 0
    for name, rva, data, characteristics in sections:
        raw_size = _align(len(data), FILE_ALIGNMENT)
        table += struct.pack("<8sIIIIIIHHI", name.encode(), len(data), rva, raw_size, raw if raw_size else 0, 0, 0,
                             0, 0, characteristics)
        body += data + bytes(raw_size - len(data))
        raw += raw_size
        size_of_image = _align(rva + len(data), SECTION_ALIGNMENT)
    file_header = struct.pack("<HHIIIHH", 0x01C0, len(sections), 0, 0, 0, 224, 0x0002 | 0x0001 | 0x0100)
    dirs = b"".join(struct.pack("<II", *directories.get(i, (0, 0))) for i in range(16))
    optional = struct.pack("<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII", 0x010B, 6, 0, 0, 0, 0, entry_rva, TEXT_RVA, 0,
                           IMAGE_BASE, SECTION_ALIGNMENT, FILE_ALIGNMENT, 4, 0, 0, 0, 4, 0, 0, size_of_image,
                           headers_size, 0, 9, 0, 0x10000, 0x1000, 0x100000, 0x1000, 0, 16) + dirs
    dos = bytearray(nt)
    dos[0:2] = b"MZ"
    struct.pack_into("<I", dos, 0x3C, nt)
    header = bytes(dos) + b"PE\0\0" + file_header + optional + table
    return header + bytes(headers_size - len(header)) + bytes(body)


def build_probe(work, resources):
    os.makedirs(work, exist_ok=True)
    script = os.path.join(work, "probe.ld")
    with open(script, "w") as f:
        f.write(LINKER_SCRIPT)
    elf = os.path.join(work, "probe.elf")
    subprocess.run(["arm-none-eabi-gcc", "-std=c11", "-march=armv4", "-marm", "-mfloat-abi=soft", "-Os",
                    "-ffreestanding", "-fno-builtin", "-nostdlib", "-Wall", "-Wextra", "-Werror", "-T", script,
                    os.path.join(HERE, "probe.c"), "-o", elf], check=True)
    text = _section_bytes(elf, ".text", work)
    rdata = _section_bytes(elf, ".rdata", work)
    data = _section_bytes(elf, ".data", work)
    # .bss is in .data but not in the binary output past the last initialised byte: give it room.
    data += bytes(0x200)
    imports = _imports()
    iat_rva = _symbol(elf, "probe_iat") - IMAGE_BASE
    directory_rva = RDATA_RVA + _align(len(rdata), 4)
    directory, thunks = _import_directory(imports, directory_rva, iat_rva)
    rdata = rdata + bytes(directory_rva - RDATA_RVA - len(rdata)) + directory
    # The slots hold the lookup values until the loader binds them.
    offset = iat_rva - DATA_RVA
    data = bytearray(data)
    data[offset:offset + 4 * (len(thunks) + 1)] = struct.pack("<%dI" % (len(thunks) + 1), *thunks, 0)
    rsrc = resource_section(resources, RSRC_RVA)
    code, readable, writable = 0x60000020, 0x40000040, 0xC0000040
    image = pe_file([(".text", TEXT_RVA, text, code), (".rdata", RDATA_RVA, rdata, readable),
                     (".data", DATA_RVA, bytes(data), writable), (".rsrc", RSRC_RVA, rsrc, readable)],
                    _symbol(elf, "WinMain") - IMAGE_BASE,
                    {1: (directory_rva, len(directory)), 2: (RSRC_RVA, len(rsrc)), 12: (iat_rva, 4 * len(thunks))})
    path = os.path.join(work, "probe.exe")
    with open(path, "wb") as f:
        f.write(image)
    return path


def string_block(strings):
    """A string table block: 16 slots, each a 16-bit length and UTF-16 text."""
    out = bytearray()
    for slot in range(16):
        text = strings.get(slot, "")
        out += struct.pack("<H", len(text)) + text.encode("utf-16-le")
    return bytes(out)


def bitmap(width, height):
    """A 1-bit bitmap resource (information header, palette, rows)."""
    row = _align((width + 7) // 8, 4)
    return (struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, row * height, 0, 0, 2, 0) +
            bytes([0, 0, 0, 0, 255, 255, 255, 0]) + bytes(row * height))
