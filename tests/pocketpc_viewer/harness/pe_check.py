"""An independent check of a Windows CE executable with python3-pefile: what
the device's loader and installer need of the viewer, read by a PE reader
that shares no code with ours. check() returns a list of problems (empty when
the file is fine)."""

import pefile

MACHINE_ARM = 0x01C0
SUBSYSTEM_WINDOWS_CE_GUI = 9
ALLOWED_LIBRARIES = {"COREDLL.DLL", "OLE32.DLL", "OLEAUT32.DLL"}
ORDINAL_ONLY_LIBRARIES = {"COREDLL.DLL"}
TEMPLATE_RESOURCE_TYPES = (2, 3, 6, 10, 14)
LAUNCHER_ICON_GROUP = 128
LAUNCHER_ICON_WIDTHS = {32, 16}
SECTION_ALIGNMENT = 0x1000
FILE_ALIGNMENT = 0x200


def check(path, template=True, libraries=ALLOWED_LIBRARIES):
    problems = []
    try:
        pe = pefile.PE(path, fast_load=False)
    except pefile.PEFormatError as error:
        return ["not a PE file: %s" % error]
    for warning in pe.get_warnings():
        # pefile's guess that a file full of zero padding is truncated says nothing here.
        if not warning.startswith("Byte 0x00 makes up"):
            problems.append("pefile: " + warning)

    fh, oh = pe.FILE_HEADER, pe.OPTIONAL_HEADER
    if fh.Machine != MACHINE_ARM:
        problems.append("machine 0x%04X, not ARM" % fh.Machine)
    if oh.Magic != pefile.OPTIONAL_HEADER_MAGIC_PE:
        problems.append("not PE32")
    if oh.Subsystem != SUBSYSTEM_WINDOWS_CE_GUI:
        problems.append("subsystem %d, not Windows CE GUI" % oh.Subsystem)
    if not fh.Characteristics & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_EXECUTABLE_IMAGE"]:
        problems.append("not marked executable")
    if not fh.Characteristics & pefile.IMAGE_CHARACTERISTICS["IMAGE_FILE_RELOCS_STRIPPED"]:
        problems.append("relocations not marked stripped")
    if oh.SectionAlignment != SECTION_ALIGNMENT or oh.FileAlignment != FILE_ALIGNMENT:
        problems.append("alignments 0x%X/0x%X" % (oh.SectionAlignment, oh.FileAlignment))
    if oh.ImageBase % 0x10000:
        problems.append("image base 0x%X not on a 64 KB boundary" % oh.ImageBase)
    relocations = oh.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
    if relocations.VirtualAddress or relocations.Size:
        problems.append("a base relocation directory")
    for index in ("IMAGE_DIRECTORY_ENTRY_TLS", "IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT", "IMAGE_DIRECTORY_ENTRY_COM_DESCRIPTOR"):
        entry = oh.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY[index]]
        if entry.VirtualAddress or entry.Size:
            problems.append("a %s directory the loader does not handle" % index[len("IMAGE_DIRECTORY_ENTRY_"):])

    problems += _check_sections(pe)
    problems += _check_imports(pe, libraries)
    if template:
        problems += _check_resources(pe)
    return problems


def _check_sections(pe):
    problems = []
    sections = pe.sections
    if not sections:
        return ["no sections"]
    names = [s.Name.rstrip(b"\0").decode("latin-1") for s in sections]
    if ".reloc" in names:
        problems.append("a .reloc section")
    if names[-1] != ".rsrc":
        problems.append("the resource section is not the last section (%s)" % names)
    end = pe.OPTIONAL_HEADER.SizeOfHeaders
    for name, s in zip(names, sections):
        if s.VirtualAddress % SECTION_ALIGNMENT or s.VirtualAddress < end:
            problems.append("section %s misplaced in memory" % name)
        end = s.VirtualAddress + max(s.Misc_VirtualSize, s.SizeOfRawData)
        if s.SizeOfRawData and (s.PointerToRawData % FILE_ALIGNMENT or
                                s.PointerToRawData + s.SizeOfRawData > len(pe.__data__)):
            problems.append("section %s's raw data misplaced or past the end of the file" % name)
    raw_ends = [s.PointerToRawData + s.SizeOfRawData for s in sections if s.SizeOfRawData]
    if raw_ends and max(raw_ends) != sections[-1].PointerToRawData + sections[-1].SizeOfRawData:
        problems.append("the last section's raw data is not last in the file")
    if end > pe.OPTIONAL_HEADER.SizeOfImage:
        problems.append("sections reach past SizeOfImage")
    entry = pe.OPTIONAL_HEADER.AddressOfEntryPoint
    code = [s for s in sections if s.VirtualAddress <= entry < s.VirtualAddress + s.Misc_VirtualSize]
    if not code or not code[0].Characteristics & pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_MEM_EXECUTE"]:
        problems.append("entry point 0x%X not in an executable section" % entry)
    return problems


def _check_imports(pe, libraries):
    problems = []
    for library in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        name = library.dll.decode("latin-1").upper()
        if name not in {l.upper() for l in libraries}:
            problems.append("imports from %s" % name)
        for symbol in library.imports:
            if name in ORDINAL_ONLY_LIBRARIES and not symbol.import_by_ordinal:
                problems.append("%s!%s imported by name" % (name, symbol.name.decode("latin-1")))
    return problems


def _check_resources(pe):
    problems = []
    root = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    if root is None:
        return ["no resource directory"]
    types = {entry.id: entry for entry in root.entries if entry.id is not None}
    for kind in TEMPLATE_RESOURCE_TYPES:
        if kind not in types:
            problems.append("no resource directory for type %d" % kind)
    icons = {entry.id for entry in types[3].directory.entries} if 3 in types else set()
    group = None
    if 14 in types:
        group = next((e for e in types[14].directory.entries if e.id == LAUNCHER_ICON_GROUP), None)
    if group is None:
        return problems + ["no group icon %d" % LAUNCHER_ICON_GROUP]
    data = group.directory.entries[0].data.struct
    body = pe.get_data(data.OffsetToData, data.Size)
    count = int.from_bytes(body[4:6], "little")
    widths = set()
    for i in range(count):
        entry = body[6 + 14 * i:20 + 14 * i]
        if len(entry) < 14:
            problems.append("group icon %d shorter than its count" % LAUNCHER_ICON_GROUP)
            break
        widths.add(entry[0])
        icon_id = int.from_bytes(entry[12:14], "little")
        if icon_id not in icons:
            problems.append("group icon entry points at icon %d, which does not exist" % icon_id)
    if not LAUNCHER_ICON_WIDTHS <= widths:
        problems.append("group icon %d has widths %s, not 32 and 16" % (LAUNCHER_ICON_GROUP, sorted(widths)))
    return problems
