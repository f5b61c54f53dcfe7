"""The viewer core built for this computer (a shared library), driven from
Python on a package's Palm resources: the screens the Palm viewer shows,
to hold the Pocket PC viewer's screens against."""

import ctypes

SKV_ITEM_TITLE = 1
SKV_ITEM_TEXT = 2
SKV_ITEM_BUTTON = 8
CORE_UNITS = 320  # the core lays out 320 units wide at density 2


def four_cc(text):
    return int.from_bytes(text.encode("latin-1"), "big")


class Item(ctypes.Structure):
    _fields_ = [("kind", ctypes.c_uint8), ("font", ctypes.c_uint8), ("id", ctypes.c_uint16),
                ("x", ctypes.c_int16), ("y", ctypes.c_int16), ("w", ctypes.c_int16), ("h", ctypes.c_int16),
                ("text", ctypes.c_void_p), ("length", ctypes.c_uint16), ("value", ctypes.c_int16),
                ("maximum", ctypes.c_int16), ("page", ctypes.c_int16)]


GET_RESOURCE = ctypes.CFUNCTYPE(ctypes.c_void_p, ctypes.c_void_p, ctypes.c_uint32, ctypes.c_uint16,
                                ctypes.POINTER(ctypes.c_uint32))
TEXT_WIDTH = ctypes.CFUNCTYPE(ctypes.c_uint16, ctypes.c_void_p, ctypes.c_uint8, ctypes.c_void_p, ctypes.c_uint16)
FONT_HEIGHT = ctypes.CFUNCTYPE(ctypes.c_uint16, ctypes.c_void_p, ctypes.c_uint8)


class Host(ctypes.Structure):
    _fields_ = [("user", ctypes.c_void_p), ("get_resource", GET_RESOURCE), ("text_width", TEXT_WIDTH),
                ("font_height", FONT_HEIGHT)]


class DesktopViewer:
    """The core at density 2 on `resources` ({(type, id): bytes}, Palm
    layout). text_width(font, length) and font_height(font) give the
    metrics in core units."""

    def __init__(self, library_path, resources, text_width, font_height):
        self.lib = ctypes.CDLL(library_path)
        self.lib.skv_display.restype = ctypes.POINTER(Item)
        self.buffers = {(four_cc(t), i): ctypes.create_string_buffer(bytes(b), max(len(b), 1))
                        for (t, i), b in resources.items()}
        self.sizes = {(four_cc(t), i): len(b) for (t, i), b in resources.items()}

        def get_resource(user, kind, ident, size):
            buffer = self.buffers.get((kind, ident))
            if buffer is None:
                return None
            size[0] = self.sizes[(kind, ident)]
            return ctypes.addressof(buffer)

        self.callbacks = (GET_RESOURCE(get_resource),
                          TEXT_WIDTH(lambda user, font, text, length: text_width(font, length)),
                          FONT_HEIGHT(lambda user, font: font_height(font)))
        self.host = Host(None, *self.callbacks)
        size = ctypes.c_uint32()
        status = self.lib.skv_measure(ctypes.byref(self.host), ctypes.byref(size))
        if status:
            raise ValueError("skv_measure: status %d" % status)
        self.memory = ctypes.create_string_buffer(size.value + 16)
        self.ctx = ctypes.c_void_p()
        status = self.lib.skv_open(self.memory, size.value, ctypes.byref(self.host), 2, ctypes.byref(self.ctx))
        if status:
            raise ValueError("skv_open: status %d" % status)

    def items(self):
        count = ctypes.c_uint16()
        items = self.lib.skv_display(self.ctx, ctypes.byref(count))
        return [items[i] for i in range(count.value)]

    def texts(self):
        """Title, texts and button labels in display order, decoded from
        Windows-1252: what a shell draws as text."""
        return [ctypes.string_at(item.text, item.length).decode("cp1252", "replace") for item in self.items()
                if item.kind in (SKV_ITEM_TITLE, SKV_ITEM_TEXT, SKV_ITEM_BUTTON) and item.length]

    def command(self, command):
        return self.lib.skv_command(self.ctx, ctypes.c_uint16(command))

    def key(self, key):
        return self.lib.skv_key(self.ctx, ctypes.c_uint8(key))

    def tap(self, x, y):
        return self.lib.skv_tap(self.ctx, ctypes.c_int16(x), ctypes.c_int16(y))

    def find_text(self, text):
        for item in self.items():
            if item.kind == SKV_ITEM_TEXT and ctypes.string_at(item.text, item.length).decode("cp1252") == text:
                return item
        return None
