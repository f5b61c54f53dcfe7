"""Stand-ins for the COM library, the automation strings and the handheld's
calendar and contact store. Objects live in the program's memory as a
pointer to a vtable of stubs; every method call is recorded, property puts
are kept on the item, and a Save puts the item into the store the tests
read (`Com.appointments`, `Com.contacts`).

The vtable slots and the class and interface ids come from the copy
module's own declarations (parse_interfaces), so the stand-in and the
program agree by construction on where a method sits, and the tests check
what the program meant each call to do.
"""

import datetime
import re
import struct

from .loader import ProgramCrash

S_OK = 0
E_FAIL = 0x80004005
E_NOINTERFACE = 0x80004002
E_INVALIDARG = 0x80070057
REGDB_E_CLASSNOTREG = 0x80040154
CO_E_NOTINITIALIZED = 0x800401F0

ITEM_APPOINTMENT = 1
ITEM_CONTACT = 2
VTABLE_SLOTS = 128
OLE_EPOCH = datetime.datetime(1899, 12, 30)

# The interfaces the store hands out, by the prefix of their slot names.
INTERFACES = ("UNKNOWN", "APP", "APPOINTMENT", "RECURRENCE", "CONTACT")
DATE_PROPERTIES = {"START", "END", "PATTERN_END_DATE"}
BOOL_PROPERTIES = {"ALL_DAY_EVENT", "REMINDER_SET", "NO_END_DATE"}
LONG_PROPERTIES = {"RECURRENCE_TYPE", "INTERVAL", "DAY_OF_WEEK_MASK", "DAY_OF_MONTH", "INSTANCE", "MONTH_OF_YEAR"}


def parse_interfaces(header_text):
    """Reads `#define POOM_<INTERFACE>_<METHOD> <slot>` and
    `#define POOM_GUID_<NAME> {...}` lines. Returns ({interface: {method:
    slot}}, {name: 16 GUID bytes})."""
    slots = {name: {} for name in INTERFACES}
    for match in re.finditer(r"^#define POOM_([A-Z0-9_]+)\s+(\d+)\b", header_text, re.M):
        full, slot = match.group(1), int(match.group(2))
        # The longest interface name that prefixes it (APPOINTMENT before APP).
        for interface in sorted(INTERFACES, key=len, reverse=True):
            if full.startswith(interface + "_"):
                slots[interface][full[len(interface) + 1:]] = slot
                break
    guids = {}
    pattern = r"^#define POOM_GUID_(\w+)\s*\{\s*(0x[0-9A-Fa-f]+),\s*(0x[0-9A-Fa-f]+),\s*(0x[0-9A-Fa-f]+),\s*\{([^}]*)\}\s*\}"
    for match in re.finditer(pattern, header_text, re.M):
        tail = [int(b, 0) for b in match.group(5).split(",")]
        guids[match.group(1)] = struct.pack("<IHH8B", int(match.group(2), 0), int(match.group(3), 0),
                                            int(match.group(4), 0), *tail)
    return slots, guids


def ole_date(low, high):
    """A DATE passed as two 32-bit words -> datetime (to the second)."""
    days = struct.unpack("<d", struct.pack("<II", low, high))[0]
    return OLE_EPOCH + datetime.timedelta(seconds=round(days * 86400))


class ComObject:
    def __init__(self, address, interface, kind=None):
        self.address = address
        self.interface = interface
        self.kind = kind            # "appointment", "contact", "occurrence", "recurrence", "app"
        self.references = 1
        self.properties = {}
        self.saved = False
        self.deleted = False
        self.parent = None
        self.recurrence = None
        self.exceptions = []        # dates of deleted occurrences
        self.date = None


class Com:
    def __init__(self, machine, recorder, interfaces=None):
        self.machine = machine
        self.recorder = recorder
        self.slots, self.guids = interfaces if interfaces else ({name: {} for name in INTERFACES}, {})
        self.initialized = 0
        self.objects = {}        # address -> ComObject
        self.vtables = {}        # interface -> vtable address
        self.appointments = []   # saved items, in the order they were first saved
        self.contacts = []
        self.strings = {}        # live BSTRs: address -> text
        self.fail_create = False
        for name in ("CoInitializeEx", "CoUninitialize", "CoCreateInstance", "SysAllocStringLen",
                     "SysAllocString", "SysFreeString"):
            machine.bind(name, getattr(self, "call_" + name))

    # ---- the COM library -------------------------------------------------
    def call_CoInitializeEx(self, m):
        self.initialized += 1
        self.recorder.record("CoInitializeEx", flags=m.argument(1))
        return S_OK

    def call_CoUninitialize(self, m):
        self.recorder.record("CoUninitialize")
        if not self.initialized:
            raise ProgramCrash("CoUninitialize without CoInitializeEx")
        self.initialized -= 1
        return 0

    def call_CoCreateInstance(self, m):
        clsid, outer, context, iid, out = m.arguments(5)
        clsid_bytes, iid_bytes = m.read(clsid, 16), m.read(iid, 16)
        self.recorder.record("CoCreateInstance", clsid=clsid_bytes.hex(), iid=iid_bytes.hex(), context=context)
        if out:
            m.write_u32(out, 0)
        if not self.initialized:
            return CO_E_NOTINITIALIZED
        if self.fail_create or clsid_bytes != self.guids.get("CLSID_APPLICATION"):
            return REGDB_E_CLASSNOTREG
        if iid_bytes != self.guids.get("IID_APP"):
            return E_NOINTERFACE
        app = self.new_object("APP", "app")
        m.write_u32(out, app.address)
        return S_OK

    # ---- automation strings -----------------------------------------------
    def call_SysAllocStringLen(self, m):
        text, length = m.arguments(2)
        block = m.allocate(4 + 2 * length + 2)
        m.write_u32(block, 2 * length)
        if text:
            m.write(block + 4, m.read(text, 2 * length))
        self.strings[block + 4] = True
        return block + 4

    def call_SysAllocString(self, m):
        text = m.read_wide(m.argument(0)) if m.argument(0) else ""
        encoded = text.encode("utf-16-le")
        block = m.allocate(4 + len(encoded) + 2)
        m.write_u32(block, len(encoded))
        m.write(block + 4, encoded)
        self.strings[block + 4] = True
        return block + 4

    def call_SysFreeString(self, m):
        bstr = m.argument(0)
        if bstr:
            if bstr not in self.strings:
                raise ProgramCrash("SysFreeString of 0x%08X, which is no live string" % bstr)
            del self.strings[bstr]
            m.free(bstr - 4)
        return 0

    def read_bstr(self, bstr):
        if not bstr:
            return ""
        if bstr not in self.strings:
            raise ProgramCrash("a string 0x%08X that did not come from SysAllocString" % bstr)
        length = self.machine.read_u32(bstr - 4)
        return self.machine.read(bstr, length).decode("utf-16-le", "replace")

    # ---- objects -----------------------------------------------------------
    def vtable(self, interface):
        if interface not in self.vtables:
            address = self.machine.allocate(4 * VTABLE_SLOTS)
            for slot in range(VTABLE_SLOTS):
                stub = self.machine.stub_for("%s#%d" % (interface, slot), self._method(interface, slot))
                self.machine.write_u32(address + 4 * slot, stub)
            self.vtables[interface] = address
        return self.vtables[interface]

    def _method(self, interface, slot):
        return lambda m: self.dispatch(interface, slot)

    def new_object(self, interface, kind):
        address = self.machine.allocate(16)
        self.machine.write_u32(address, self.vtable(interface))
        obj = ComObject(address, interface, kind)
        self.objects[address] = obj
        return obj

    def method_name(self, interface, slot):
        for table in (self.slots["UNKNOWN"], self.slots[interface]):
            for name, number in table.items():
                if number == slot:
                    return name
        return None

    def dispatch(self, interface, slot):
        m = self.machine
        this = m.argument(0)
        obj = self.objects.get(this)
        name = self.method_name(interface, slot)
        if obj is None or obj.references <= 0:
            raise ProgramCrash("%s slot %d called on a released or unknown object 0x%08X" % (interface, slot, this))
        if name is None:
            raise ProgramCrash("%s slot %d is no method the copy declares" % (interface, slot))
        handler = getattr(self, "method_" + name, None)
        if handler is not None:
            return handler(obj)
        if name.startswith("PUT_"):
            return self.put(obj, name[4:])
        raise ProgramCrash("%s.%s has no stand-in" % (interface, name))

    def method_QUERY_INTERFACE(self, obj):
        iid, out = self.machine.arguments(3)[1:]
        wanted = self.machine.read(iid, 16)
        self.machine.write_u32(out, 0)
        target = {"appointment": "IID_APPOINTMENT", "contact": "IID_CONTACT", "occurrence": "IID_APPOINTMENT",
                  "app": "IID_APP", "recurrence": "IID_RECURRENCE_PATTERN"}.get(obj.kind)
        self.recorder.record("QueryInterface", object=obj.kind, iid=wanted.hex())
        if target is None or wanted != self.guids.get(target):
            return E_NOINTERFACE
        # One object serves the item's interface: the same pointer, one more reference.
        obj.references += 1
        self.machine.write_u32(out, obj.address)
        return S_OK

    def method_ADD_REF(self, obj):
        obj.references += 1
        return obj.references

    def method_RELEASE(self, obj):
        obj.references -= 1
        return obj.references

    def method_LOGON(self, obj):
        self.recorder.record("Logon", window=self.machine.argument(1))
        obj.logged_on = True
        return S_OK

    def method_LOGOFF(self, obj):
        self.recorder.record("Logoff")
        obj.logged_on = False
        return S_OK

    def method_CREATE_ITEM(self, obj):
        kind, out = self.machine.arguments(3)[1:]
        self.machine.write_u32(out, 0)
        self.recorder.record("CreateItem", kind=kind)
        if not getattr(obj, "logged_on", False):
            return E_FAIL
        if kind not in (ITEM_APPOINTMENT, ITEM_CONTACT):
            return E_INVALIDARG
        interface, item_kind = ("APPOINTMENT", "appointment") if kind == ITEM_APPOINTMENT else ("CONTACT", "contact")
        item = self.new_object(interface, item_kind)
        self.machine.write_u32(out, item.address)
        return S_OK

    def put(self, obj, prop):
        m = self.machine
        if prop in DATE_PROPERTIES:
            value = ole_date(m.argument(1), m.argument(2))
        elif prop in BOOL_PROPERTIES:
            raw = m.argument(1) & 0xFFFF
            if raw not in (0, 0xFFFF):
                raise ProgramCrash("%s set to %d, which is no VARIANT_BOOL" % (prop, raw))
            value = raw == 0xFFFF
        elif prop in LONG_PROPERTIES:
            value = struct.unpack("<i", struct.pack("<I", m.argument(1)))[0]
        else:
            value = self.read_bstr(m.argument(1))
        obj.properties[prop] = value
        self.recorder.record("put", object=obj.kind, property=prop, value=value)
        return S_OK

    def method_GET_RECURRENCE_PATTERN(self, obj):
        out = self.machine.argument(1)
        if obj.recurrence is None:
            obj.recurrence = self.new_object("RECURRENCE", "recurrence")
            obj.recurrence.parent = obj
        else:
            obj.recurrence.references += 1
        self.machine.write_u32(out, obj.recurrence.address)
        self.recorder.record("GetRecurrencePattern")
        return S_OK

    def method_GET_OCCURRENCE(self, obj):
        low, high, out = self.machine.arguments(4)[1:]
        date = ole_date(low, high)
        self.machine.write_u32(out, 0)
        self.recorder.record("GetOccurrence", date=date)
        parent = obj.parent
        if not parent.saved:
            return E_FAIL  # the store knows occurrences of saved appointments only
        occurrence = self.new_object("APPOINTMENT", "occurrence")
        occurrence.parent = parent
        occurrence.date = date
        self.machine.write_u32(out, occurrence.address)
        return S_OK

    def method_SAVE(self, obj):
        self.recorder.record("Save", object=obj.kind, properties=dict(obj.properties))
        if obj.kind == "occurrence":
            return E_FAIL
        if not obj.saved:
            (self.appointments if obj.kind == "appointment" else self.contacts).append(obj)
        obj.saved = True
        return S_OK

    def method_DELETE(self, obj):
        self.recorder.record("Delete", object=obj.kind, date=obj.date)
        if obj.kind == "occurrence":
            obj.parent.exceptions.append(obj.date)
            return S_OK
        obj.deleted = True
        if obj in self.appointments:
            self.appointments.remove(obj)
        return S_OK

    def saved_appointments(self):
        """Each saved appointment as a dict: its properties, 'recurrence'
        (the pattern's properties, or None) and 'exceptions'."""
        return [dict(item.properties,
                     recurrence=dict(item.recurrence.properties) if item.recurrence else None,
                     exceptions=list(item.exceptions)) for item in self.appointments]

    def saved_contacts(self):
        return [dict(item.properties) for item in self.contacts]

    def leaked(self):
        """Objects the program still holds a reference to."""
        return [obj for obj in self.objects.values() if obj.references > 0]
