"""Stand-ins for the Windows CE system calls the viewer imports: windows and
their messages, painting (every drawing call is recorded with its
arguments), the executable's own resources, memory, the registry and message
boxes. They behave as the device documents them, as far as the viewer can
tell, and fail loudly where the program hands them something the device
would not accept.
"""

import struct

from .loader import ProgramCrash

# Messages.
WM_CREATE = 0x0001
WM_DESTROY = 0x0002
WM_SIZE = 0x0005
WM_ACTIVATE = 0x0006
WM_PAINT = 0x000F
WM_CLOSE = 0x0010
WM_QUIT = 0x0012
WM_ERASEBKGND = 0x0014
WM_KEYDOWN = 0x0100
WM_KEYUP = 0x0101
WM_CHAR = 0x0102
WM_COMMAND = 0x0111
WM_TIMER = 0x0113
WM_VSCROLL = 0x0115
WM_MOUSEMOVE = 0x0200
WM_LBUTTONDOWN = 0x0201
WM_LBUTTONUP = 0x0202
MK_LBUTTON = 0x0001

MESSAGE_NAMES = {
    WM_CREATE: "WM_CREATE", WM_DESTROY: "WM_DESTROY", WM_SIZE: "WM_SIZE", WM_ACTIVATE: "WM_ACTIVATE",
    WM_PAINT: "WM_PAINT", WM_CLOSE: "WM_CLOSE", WM_QUIT: "WM_QUIT", WM_ERASEBKGND: "WM_ERASEBKGND",
    WM_KEYDOWN: "WM_KEYDOWN", WM_KEYUP: "WM_KEYUP", WM_CHAR: "WM_CHAR", WM_COMMAND: "WM_COMMAND",
    WM_TIMER: "WM_TIMER", WM_VSCROLL: "WM_VSCROLL", WM_MOUSEMOVE: "WM_MOUSEMOVE",
    WM_LBUTTONDOWN: "WM_LBUTTONDOWN", WM_LBUTTONUP: "WM_LBUTTONUP",
}

# The screen of a Pocket PC: 240 x 320, the navigation bar at the top.
SCREEN_WIDTH = 240
SCREEN_HEIGHT = 320
NAVIGATION_BAR_HEIGHT = 26
CW_USEDEFAULT = 0x80000000
SM_CXSCREEN = 0
SM_CYSCREEN = 1

# Resource types.
RT_BITMAP = 2
RT_ICON = 3
RT_MENU = 4
RT_STRING = 6
RT_RCDATA = 10
RT_GROUP_ICON = 14

LMEM_ZEROINIT = 0x0040
MB_TYPE_MASK = 0x000F
MB_OK, MB_OKCANCEL, MB_YESNOCANCEL, MB_YESNO = 0, 1, 3, 4
IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7
ERROR_SUCCESS = 0
ERROR_FILE_NOT_FOUND = 2
REG_DWORD = 4
HKEY_CURRENT_USER = 0x80000001

FW_BOLD = 700
DEFAULT_FONT_HEIGHT = 13  # the system font's line height at 96 dpi
TRANSPARENT, OPAQUE = 1, 2
DT_CALCRECT = 0x0400

# Stock objects (GetStockObject).
STOCK_OBJECTS = {0: "WHITE_BRUSH", 1: "LTGRAY_BRUSH", 2: "GRAY_BRUSH", 3: "DKGRAY_BRUSH", 4: "BLACK_BRUSH",
                 5: "NULL_BRUSH", 6: "WHITE_PEN", 7: "BLACK_PEN", 8: "NULL_PEN", 13: "SYSTEM_FONT",
                 17: "DEFAULT_GUI_FONT"}


def _low(value):
    return value & 0xFFFF


def _signed(value):
    return value - 0x100000000 if value & 0x80000000 else value


def _is_int_resource(pointer):
    return pointer < 0x10000


class Call:
    """One recorded system or COM call."""

    def __init__(self, step, name, arguments):
        self.step = step
        self.name = name
        self.arguments = arguments

    def __repr__(self):
        return "%s(%s)" % (self.name, ", ".join("%s=%r" % item for item in self.arguments.items()))


class Recorder:
    """Every call, in order, each with the script step it happened in."""

    def __init__(self):
        self.calls = []
        self.step = 0

    def record(self, call_name, **arguments):
        self.calls.append(Call(self.step, call_name, arguments))



class GdiObject:
    def __init__(self, kind, **properties):
        self.kind = kind
        self.__dict__.update(properties)


class Window:
    def __init__(self, handle, class_name, title, procedure, rect, parent):
        self.handle = handle
        self.class_name = class_name
        self.title = title
        self.procedure = procedure  # 0 for the system's own controls
        self.rect = rect            # left, top, right, bottom on the screen
        self.parent = parent
        self.invalid = False
        self.destroyed = False
        self.visible = False


class System:
    """The system the viewer runs on: a machine, the executable's resources,
    the window manager and GDI, a recorder."""

    def __init__(self, machine, recorder, answers=None):
        self.machine = machine
        self.recorder = recorder
        self.resources = machine.pe.resources()
        self.classes = {}      # class name -> window procedure
        self.windows = {}
        self.objects = {}      # GDI handles
        self.posted = []       # posted messages: (hwnd, message, wparam, lparam)
        self.quit_code = None
        self.next_handle = 0x100
        self.registry = {}
        self.answers = list(answers or [])  # message box answers, in order
        self.resource_handles = {}
        self.loaded_resources = {}
        self.input = None      # callable() -> next scripted message or None, set by the script
        for index, name in STOCK_OBJECTS.items():
            self.objects[0x10 + index] = GdiObject("stock", name=name, font_height=DEFAULT_FONT_HEIGHT, bold=False)
        self._bind_all()

    def _handle(self):
        self.next_handle += 4
        return self.next_handle

    def _bind_all(self):
        for dll, ordinal, name in self.machine.imports:
            handler = getattr(self, "call_" + name, None)
            if handler is not None:
                self.machine.bind("%s!%s" % (dll, name), handler)

    # ---- resources ------------------------------------------------------
    def resource_key(self, pointer):
        """A resource name or type argument: a number below 0x10000 or a string."""
        if _is_int_resource(pointer):
            return pointer
        text = self.machine.read_wide(pointer)
        if text.startswith("#") and text[1:].isdigit():
            return int(text[1:])
        return text.upper()

    def class_key(self, pointer):
        """A window class argument: an atom or a name (compared without case)."""
        return pointer if _is_int_resource(pointer) else self.machine.read_wide(pointer)

    def find(self, type_key, name_key):
        for (t, n), languages in self.resources.items():
            tk = t.upper() if isinstance(t, str) else t
            nk = n.upper() if isinstance(n, str) else n
            if tk == type_key and nk == name_key:
                return languages[0]
        return None

    def resource_bytes(self, type_key, name_key):
        found = self.find(type_key, name_key)
        if not found:
            return None, None
        return self.machine.base + found[1], found[2]

    def call_FindResourceW(self, m):
        module, name, kind = m.arguments(3)
        name_key, type_key = self.resource_key(name), self.resource_key(kind)
        found = self.find(type_key, name_key)
        self.recorder.record("FindResourceW", type=type_key, name=name_key, found=bool(found))
        if not found:
            return 0
        handle = self._handle()
        self.resource_handles[handle] = found
        return handle

    def call_LoadResource(self, m):
        module, resource = m.arguments(2)
        found = self.resource_handles.get(resource)
        if not found:
            return 0
        return m.base + found[1]  # the data in place, as the device maps it

    def call_SizeofResource(self, m):
        module, resource = m.arguments(2)
        found = self.resource_handles.get(resource)
        return found[2] if found else 0

    def call_LockResource(self, m):
        return m.argument(0)

    def call_FreeResource(self, m):
        return 1

    def call_LoadStringW(self, m):
        instance, string_id, buffer, buffer_max = m.arguments(4)
        address, size = self.resource_bytes(RT_STRING, string_id // 16 + 1)
        text, at = "", None
        if address is not None:
            block = m.read(address, size)
            offset = 0
            for slot in range(16):
                if offset + 2 > len(block):
                    break
                length = struct.unpack_from("<H", block, offset)[0]
                if slot == string_id % 16:
                    at = offset + 2
                    text = block[at:at + 2 * length].decode("utf-16-le", "replace")
                    break
                offset += 2 + 2 * length
        self.recorder.record("LoadStringW", id=string_id, text=text)
        if not text:
            return 0
        if buffer == 0:
            # The device hands out a pointer to the string in place.
            return address + at
        if buffer_max == 0:
            return 0
        chars = text[:buffer_max - 1]
        m.write(buffer, chars.encode("utf-16-le") + b"\0\0")
        return len(chars)

    def call_LoadBitmapW(self, m):
        instance, name = m.arguments(2)
        key = self.resource_key(name)
        address, size = self.resource_bytes(RT_BITMAP, key)
        self.recorder.record("LoadBitmapW", id=key, found=address is not None)
        if address is None or size < 40:
            return 0
        header_size, width, height, planes, bits = struct.unpack("<IiiHH", m.read(address, 16))
        if header_size < 40 or width <= 0 or height == 0 or bits not in (1, 4, 8, 16, 24, 32):
            return 0
        handle = self._handle()
        self.objects[handle] = GdiObject("bitmap", resource=key, width=width, height=abs(height), bits=bits)
        return handle

    def call_LoadIconW(self, m):
        handle = self._handle()
        self.objects[handle] = GdiObject("icon", resource=self.resource_key(m.argument(1)))
        return handle

    def call_LoadCursorW(self, m):
        return self._handle()

    def call_LoadAcceleratorsW(self, m):
        return self._handle()

    def call_GetModuleHandleW(self, m):
        return m.base if m.argument(0) == 0 else 0

    # ---- windows and messages --------------------------------------------
    def call_RegisterClassW(self, m):
        wndclass = m.argument(0)
        fields = struct.unpack("<10I", m.read(wndclass, 40))
        procedure, name_pointer = fields[1], fields[9]
        name = self.class_key(name_pointer) if name_pointer else ""
        self.classes[str(name).upper()] = procedure
        self.recorder.record("RegisterClassW", name=name, procedure=procedure, background=fields[7])
        return 0xC000 + len(self.classes)

    def call_UnregisterClassW(self, m):
        return 1

    def call_FindWindowW(self, m):
        class_pointer, title_pointer = m.arguments(2)
        name = str(self.class_key(class_pointer)).upper() if class_pointer else None
        for window in self.windows.values():
            if not window.destroyed and str(window.class_name).upper() == name:
                return window.handle
        return 0

    def call_SetForegroundWindow(self, m):
        return 1

    def call_CreateWindowExW(self, m):
        (ex_style, class_pointer, title_pointer, style, x, y, width, height, parent, menu, instance,
         parameter) = m.arguments(12)
        class_name = self.class_key(class_pointer)
        title = m.read_wide(title_pointer) if title_pointer else ""
        if x == CW_USEDEFAULT or width == CW_USEDEFAULT:
            rect = (0, NAVIGATION_BAR_HEIGHT, SCREEN_WIDTH, SCREEN_HEIGHT)
        else:
            x, y, width, height = _signed(x), _signed(y), _signed(width), _signed(height)
            rect = (x, y, x + width, y + height)
        procedure = self.classes.get(str(class_name).upper(), 0)
        handle = self._handle()
        window = Window(handle, class_name, title, procedure, rect, parent)
        self.windows[handle] = window
        self.recorder.record("CreateWindowExW", handle=handle, class_name=class_name, title=title, style=style,
                             rect=rect, parent=parent, menu=menu)
        if procedure:
            create = m.allocate(48)
            cx, cy = rect[2] - rect[0], rect[3] - rect[1]
            m.write(create, struct.pack("<12I", parameter, instance, menu, parent, cy, cx, rect[1], rect[0], style,
                                        title_pointer, class_pointer, ex_style))
            if _signed(self.send(handle, WM_CREATE, 0, create)) == -1:
                window.destroyed = True
                return 0
            self.send(handle, WM_SIZE, 0, (cy << 16) | cx)
        return handle

    def call_ShowWindow(self, m):
        window = self.windows.get(m.argument(0))
        if window:
            window.visible = True
            window.invalid = True
        return 0

    def call_UpdateWindow(self, m):
        self.paint_if_invalid(m.argument(0))
        return 1

    def call_InvalidateRect(self, m):
        window = self.windows.get(m.argument(0))
        self.recorder.record("InvalidateRect", handle=m.argument(0))
        if window:
            window.invalid = True
        return 1

    def call_ValidateRect(self, m):
        window = self.windows.get(m.argument(0))
        if window:
            window.invalid = False
        return 1

    def call_GetClientRect(self, m):
        handle, rect = m.arguments(2)
        window = self.windows.get(handle)
        if not window:
            return 0
        left, top, right, bottom = window.rect
        m.write(rect, struct.pack("<4i", 0, 0, right - left, bottom - top))
        return 1

    def call_GetWindowRect(self, m):
        handle, rect = m.arguments(2)
        window = self.windows.get(handle)
        if not window:
            return 0
        m.write(rect, struct.pack("<4i", *window.rect))
        return 1

    def call_MoveWindow(self, m):
        handle, x, y, width, height, repaint = m.arguments(6)
        window = self.windows.get(handle)
        if window:
            x, y = _signed(x), _signed(y)
            window.rect = (x, y, x + _signed(width), y + _signed(height))
        return 1

    def call_SetWindowPos(self, m):
        return 1

    def call_GetSystemMetrics(self, m):
        return {SM_CXSCREEN: SCREEN_WIDTH, SM_CYSCREEN: SCREEN_HEIGHT}.get(m.argument(0), 0)

    def call_SetWindowTextW(self, m):
        handle, text = m.arguments(2)
        window = self.windows.get(handle)
        title = m.read_wide(text) if text else ""
        if window:
            window.title = title
        self.recorder.record("SetWindowTextW", handle=handle, text=title)
        return 1

    def call_DestroyWindow(self, m):
        return self.destroy(m.argument(0))

    def destroy(self, handle):
        window = self.windows.get(handle)
        if not window or window.destroyed:
            return 0
        self.recorder.record("DestroyWindow", handle=handle)
        for child in list(self.windows.values()):
            if child.parent == handle:
                self.destroy(child.handle)
        self.send(handle, WM_DESTROY, 0, 0)
        window.destroyed = True
        return 1

    def call_PostQuitMessage(self, m):
        self.quit_code = _signed(m.argument(0))
        self.recorder.record("PostQuitMessage", code=self.quit_code)
        return 0

    def call_PostMessageW(self, m):
        handle, message, wparam, lparam = m.arguments(4)
        self.posted.append((handle, message, wparam, lparam))
        return 1

    def call_SendMessageW(self, m):
        return self.send(*m.arguments(4))

    def send(self, handle, message, wparam, lparam):
        window = self.windows.get(handle)
        if not window or window.destroyed:
            return 0
        self.recorder.record("message", handle=handle, message=MESSAGE_NAMES.get(message, message), wparam=wparam,
                             lparam=lparam)
        if not window.procedure:
            return 0  # a system control: nothing the viewer's tests look at
        return self.machine.call(window.procedure, handle, message, wparam, lparam)

    def call_DefWindowProcW(self, m):
        handle, message, wparam, lparam = m.arguments(4)
        if message == WM_CLOSE:
            self.destroy(handle)
        elif message == WM_PAINT:
            window = self.windows.get(handle)
            if window:
                window.invalid = False
        return 0

    def paint_if_invalid(self, handle=None):
        for window in list(self.windows.values()):
            if window.invalid and not window.destroyed and window.procedure and handle in (None, window.handle):
                self.send(window.handle, WM_PAINT, 0, 0)
                if window.invalid:
                    raise ProgramCrash("WM_PAINT left the window invalid: the device would send it forever")
                return True
        return False

    def next_message(self):
        """What GetMessage hands out next: posted messages, then a pending
        paint, then the script's next input; a quit ends the loop."""
        if self.posted:
            return self.posted.pop(0)
        if self.quit_code is not None:
            return None
        for window in self.windows.values():
            if window.invalid and not window.destroyed and window.procedure:
                return (window.handle, WM_PAINT, 0, 0)
        scripted = self.input() if self.input else None
        if scripted is None:
            raise ProgramCrash("the program still waits for input after the script ended")
        return scripted

    def call_GetMessageW(self, m):
        msg = m.argument(0)
        message = self.next_message()
        if message is None:
            m.write(msg, struct.pack("<7I", 0, WM_QUIT, self.quit_code & 0xFFFFFFFF, 0, 0, 0, 0))
            return 0
        handle, kind, wparam, lparam = message
        m.write(msg, struct.pack("<7I", handle, kind, wparam & 0xFFFFFFFF, lparam & 0xFFFFFFFF, 0, 0, 0))
        return 1

    def call_TranslateMessage(self, m):
        return 0

    def call_TranslateAcceleratorW(self, m):
        return 0

    def call_IsDialogMessageW(self, m):
        return 0

    def call_DispatchMessageW(self, m):
        handle, message, wparam, lparam = struct.unpack("<4I", m.read(m.argument(0), 16))
        if message == WM_PAINT:
            window = self.windows.get(handle)
            self.send(handle, message, wparam, lparam)
            if window and window.invalid:
                raise ProgramCrash("WM_PAINT left the window invalid: the device would send it forever")
            return 0
        return self.send(handle, message, wparam, lparam)

    def call_SetTimer(self, m):
        return m.argument(1) or 1

    def call_KillTimer(self, m):
        return 1

    def call_GetTickCount(self, m):
        return 1000

    # ---- the menu bar ----------------------------------------------------
    def call_SHCreateMenuBar(self, m):
        info = m.argument(0)
        size, parent, flags, toolbar_id, instance, bitmap_id, images = struct.unpack("<7I", m.read(info, 28))
        handle = self._handle()
        self.windows[handle] = Window(handle, "menu_worker", "", 0, (0, SCREEN_HEIGHT - 26, SCREEN_WIDTH,
                                                                     SCREEN_HEIGHT), parent)
        m.write_u32(info + 28, handle)
        self.recorder.record("SHCreateMenuBar", parent=parent, menu=toolbar_id, flags=flags)
        return 1

    def call_CommandBar_Create(self, m):
        instance, parent, identifier = m.arguments(3)
        handle = self._handle()
        self.windows[handle] = Window(handle, "command_bar", "", 0, (0, 0, SCREEN_WIDTH, 26), parent)
        self.recorder.record("CommandBar_Create", parent=parent, id=identifier)
        return handle

    def call_CommandBar_InsertMenubar(self, m):
        bar, instance, menu, button = m.arguments(4)
        self.recorder.record("CommandBar_InsertMenubar", menu=menu)
        return 1

    def call_CommandBar_Show(self, m):
        return 1

    def call_SHFullScreen(self, m):
        return 1

    def call_SHSipPreference(self, m):
        return 1

    def call_SHInitDialog(self, m):
        return 1

    def call_MessageBoxW(self, m):
        owner, text, caption, kind = m.arguments(4)
        text = m.read_wide(text) if text else ""
        caption = m.read_wide(caption) if caption else ""
        buttons = kind & MB_TYPE_MASK
        # A plain message is answered OK; questions take the scripted answers in order (yes when none is left).
        if buttons == MB_OK:
            answer = IDOK
        else:
            answer = self.answers.pop(0) if self.answers else (IDOK if buttons == MB_OKCANCEL else IDYES)
        self.recorder.record("MessageBoxW", text=text, caption=caption, type=kind, answer=answer)
        return answer

    # ---- painting --------------------------------------------------------
    def new_dc(self, window=None):
        handle = self._handle()
        self.objects[handle] = GdiObject("dc", window=window, font=0x10 + 13, bitmap=None, text_color=0,
                                         background=0xFFFFFF, mode=OPAQUE, brush=0x10, pen=0x10 + 7)
        return handle

    def dc(self, handle):
        obj = self.objects.get(handle)
        if not obj or obj.kind != "dc":
            raise ProgramCrash("drawing on 0x%X, which is no device context" % handle)
        return obj

    def call_BeginPaint(self, m):
        handle, paint = m.arguments(2)
        window = self.windows.get(handle)
        if not window:
            return 0
        window.invalid = False
        hdc = self.new_dc(handle)
        left, top, right, bottom = window.rect
        m.write(paint, struct.pack("<II4iII", hdc, 1, 0, 0, right - left, bottom - top, 0, 0) + bytes(32))
        self.recorder.record("BeginPaint", handle=handle, dc=hdc)
        return hdc

    def call_EndPaint(self, m):
        handle, paint = m.arguments(2)
        hdc = m.read_u32(paint)
        self.objects.pop(hdc, None)
        self.recorder.record("EndPaint", handle=handle)
        return 1

    def call_GetDC(self, m):
        return self.new_dc(m.argument(0))

    def call_ReleaseDC(self, m):
        self.objects.pop(m.argument(1), None)
        return 1

    def call_CreateCompatibleDC(self, m):
        return self.new_dc(None)

    def call_DeleteDC(self, m):
        return 1 if self.objects.pop(m.argument(0), None) else 0

    def call_CreateCompatibleBitmap(self, m):
        hdc, width, height = m.arguments(3)
        handle = self._handle()
        self.objects[handle] = GdiObject("bitmap", resource=None, width=width, height=height, bits=16)
        return handle

    def call_SelectObject(self, m):
        hdc, handle = m.arguments(2)
        dc = self.dc(hdc)
        obj = self.objects.get(handle)
        if obj is None:
            return 0
        slot = {"bitmap": "bitmap", "font": "font", "brush": "brush", "pen": "pen"}.get(obj.kind)
        if obj.kind == "stock":
            slot = "font" if obj.name.endswith("FONT") else "pen" if obj.name.endswith("PEN") else "brush"
        previous = getattr(dc, slot)
        setattr(dc, slot, handle)
        return previous or 1

    def call_DeleteObject(self, m):
        handle = m.argument(0)
        obj = self.objects.get(handle)
        if obj is None:
            return 0
        if obj.kind != "stock":
            del self.objects[handle]
        return 1

    def call_GetStockObject(self, m):
        index = m.argument(0)
        return 0x10 + index if index in STOCK_OBJECTS else 0

    def call_CreateSolidBrush(self, m):
        handle = self._handle()
        self.objects[handle] = GdiObject("brush", color=m.argument(0))
        return handle

    def call_CreatePen(self, m):
        style, width, color = m.arguments(3)
        handle = self._handle()
        self.objects[handle] = GdiObject("pen", color=color, width=width)
        return handle

    def call_CreateFontIndirectW(self, m):
        logfont = m.read(m.argument(0), 92)
        height, width, escapement, orientation, weight = struct.unpack_from("<5i", logfont, 0)
        face = logfont[28:92].decode("utf-16-le", "replace").split("\0")[0]
        handle = self._handle()
        self.objects[handle] = GdiObject("font", font_height=abs(height) or DEFAULT_FONT_HEIGHT,
                                         bold=weight >= FW_BOLD, face=face)
        self.recorder.record("CreateFontIndirectW", handle=handle, height=height, weight=weight, face=face)
        return handle

    def font_of(self, hdc):
        font = self.objects.get(self.dc(hdc).font)
        return font if font and hasattr(font, "font_height") else self.objects[0x10 + 13]

    def char_width(self, font):
        """The harness's font model: every character as wide as half the line
        height (rounded up), one pixel more in bold. Simple, so that tests can
        compute where text goes."""
        return (font.font_height + 1) // 2 + (1 if font.bold else 0)

    def call_SetTextColor(self, m):
        dc = self.dc(m.argument(0))
        previous, dc.text_color = dc.text_color, m.argument(1)
        return previous

    def call_SetBkColor(self, m):
        dc = self.dc(m.argument(0))
        previous, dc.background = dc.background, m.argument(1)
        return previous

    def call_SetBkMode(self, m):
        dc = self.dc(m.argument(0))
        previous, dc.mode = dc.mode, m.argument(1)
        return previous

    def call_GetTextMetricsW(self, m):
        hdc, metrics = m.arguments(2)
        font = self.font_of(hdc)
        height = font.font_height
        ascent = height * 4 // 5
        width = self.char_width(font)
        m.write(metrics, struct.pack("<11i4H5B3x", height, ascent, height - ascent, 0, 0, width, width,
                                     FW_BOLD if font.bold else 400, 0, 96, 96, 32, 255, 32, 32, 0, 0, 0, 0, 0))
        return 1

    def call_GetTextExtentExPointW(self, m):
        hdc, text, length, max_extent, fit, dx, size = m.arguments(7)
        font = self.font_of(hdc)
        width = self.char_width(font)
        length = _signed(length)
        if length < 0:
            return 0
        if fit:
            m.write_u32(fit, min(length, _signed(max_extent) // width) if _signed(max_extent) >= 0 else length)
        if dx:
            m.write(dx, struct.pack("<%di" % length, *[width * (i + 1) for i in range(length)]))
        if size:
            m.write(size, struct.pack("<2i", width * length, font.font_height))
        return 1

    def call_GetTextExtentPoint32W(self, m):
        hdc, text, length, size = m.arguments(4)
        font = self.font_of(hdc)
        m.write(size, struct.pack("<2i", self.char_width(font) * _signed(length), font.font_height))
        return 1

    def _target(self, hdc):
        dc = self.dc(hdc)
        return "window" if dc.window else "memory"

    def call_ExtTextOutW(self, m):
        hdc, x, y, options, rect, text, length, dx = m.arguments(8)
        font = self.font_of(hdc)
        content = m.read_wide(text, length) if text and length else ""
        clip = struct.unpack("<4i", m.read(rect, 16)) if rect else None
        self.recorder.record("ExtTextOutW", x=_signed(x), y=_signed(y), text=content, options=options, rect=clip,
                             height=font.font_height, bold=font.bold, color=self.dc(hdc).text_color,
                             target=self._target(hdc))
        return 1

    def call_DrawTextW(self, m):
        hdc, text, length, rect, flags = m.arguments(5)
        length = _signed(length)
        content = m.read_wide(text) if length < 0 else m.read_wide(text, length)
        box = struct.unpack("<4i", m.read(rect, 16))
        font = self.font_of(hdc)
        if flags & DT_CALCRECT:
            width = self.char_width(font) * len(content)
            m.write(rect, struct.pack("<4i", box[0], box[1], box[0] + width, box[1] + font.font_height))
            return font.font_height
        self.recorder.record("DrawTextW", text=content, rect=box, flags=flags, height=font.font_height,
                             bold=font.bold, target=self._target(hdc))
        return font.font_height

    def call_FillRect(self, m):
        hdc, rect, brush = m.arguments(3)
        box = struct.unpack("<4i", m.read(rect, 16))
        obj = self.objects.get(brush)
        color = getattr(obj, "color", getattr(obj, "name", brush)) if obj else brush
        self.recorder.record("FillRect", rect=box, brush=color, target=self._target(hdc))
        return 1

    def call_Rectangle(self, m):
        hdc, left, top, right, bottom = m.arguments(5)
        self.recorder.record("Rectangle", rect=tuple(_signed(v) for v in (left, top, right, bottom)),
                             target=self._target(hdc))
        return 1

    def call_PatBlt(self, m):
        hdc, x, y, width, height, rop = m.arguments(6)
        self.recorder.record("PatBlt", rect=(_signed(x), _signed(y), _signed(width), _signed(height)), rop=rop,
                             target=self._target(hdc))
        return 1

    def call_Polyline(self, m):
        hdc, points, count = m.arguments(3)
        count = _signed(count)
        if count < 0 or count > 0x10000:
            return 0
        coords = struct.unpack("<%di" % (2 * count), m.read(points, 8 * count)) if count else ()
        self.recorder.record("Polyline", points=[coords[i:i + 2] for i in range(0, len(coords), 2)],
                             target=self._target(hdc))
        return 1

    def call_MoveToEx(self, m):
        hdc, x, y, previous = m.arguments(4)
        self.dc(hdc).position = (_signed(x), _signed(y))
        return 1

    def call_LineTo(self, m):
        hdc, x, y = m.arguments(3)
        dc = self.dc(hdc)
        start = getattr(dc, "position", (0, 0))
        dc.position = (_signed(x), _signed(y))
        self.recorder.record("Polyline", points=[start, dc.position], target=self._target(hdc))
        return 1

    def call_DrawFocusRect(self, m):
        hdc, rect = m.arguments(2)
        self.recorder.record("DrawFocusRect", rect=struct.unpack("<4i", m.read(rect, 16)), target=self._target(hdc))
        return 1

    def _blit(self, name, hdc, box, source_dc, source_xy, rop):
        source = self.objects.get(source_dc)
        bitmap = self.objects.get(source.bitmap) if source and source.kind == "dc" and source.bitmap else None
        self.recorder.record(name, rect=box, source=source_xy, rop=rop,
                             bitmap=getattr(bitmap, "resource", None), target=self._target(hdc))
        return 1

    def call_BitBlt(self, m):
        hdc, x, y, width, height, source, sx, sy, rop = m.arguments(9)
        return self._blit("BitBlt", hdc, tuple(_signed(v) for v in (x, y, width, height)), source,
                          (_signed(sx), _signed(sy)), rop)

    def call_StretchBlt(self, m):
        hdc, x, y, width, height, source, sx, sy, swidth, sheight, rop = m.arguments(11)
        return self._blit("StretchBlt", hdc, tuple(_signed(v) for v in (x, y, width, height)), source,
                          (_signed(sx), _signed(sy), _signed(swidth), _signed(sheight)), rop)

    def call_TransparentImage(self, m):
        hdc, x, y, width, height, source, sx, sy, swidth, sheight, colour = m.arguments(11)
        obj = self.objects.get(source)
        if obj and obj.kind == "bitmap":
            self.recorder.record("TransparentImage", rect=(_signed(x), _signed(y), _signed(width), _signed(height)),
                                 bitmap=obj.resource, target=self._target(hdc))
            return 1
        return self._blit("TransparentImage", hdc, (_signed(x), _signed(y), _signed(width), _signed(height)), source,
                          (_signed(sx), _signed(sy)), colour)

    def call_GetObjectW(self, m):
        handle, size, buffer = m.arguments(3)
        obj = self.objects.get(handle)
        if not obj or obj.kind != "bitmap" or size < 24:
            return 0
        # BITMAP: type, width, height, bytes per row (even), planes, bits per pixel, bits (none here).
        m.write(buffer, struct.pack("<iiiiHHI", 0, obj.width, obj.height, (obj.width * obj.bits + 15) // 16 * 2, 1,
                                    obj.bits, 0))
        return 24

    # ---- memory and strings ----------------------------------------------
    def call_LocalAlloc(self, m):
        flags, size = m.arguments(2)
        address = m.allocate(size, zero=bool(flags & LMEM_ZEROINIT))
        self.recorder.record("LocalAlloc", size=size, address=address)
        return address

    def call_LocalFree(self, m):
        address = m.argument(0)
        if address and not m.free(address):
            raise ProgramCrash("LocalFree of 0x%08X, which is no live block" % address)
        return 0

    def call_malloc(self, m):
        size = m.argument(0)
        address = m.allocate(size, zero=False)
        self.recorder.record("LocalAlloc", size=size, address=address)
        return address

    def call_free(self, m):
        address = m.argument(0)
        if address and not m.free(address):
            raise ProgramCrash("free of 0x%08X, which is no live block" % address)
        return 0

    def call_memcpy(self, m):
        destination, source, size = m.arguments(3)
        m.write(destination, m.read(source, size))
        return destination

    def call_memmove(self, m):
        return self.call_memcpy(m)

    def call_memset(self, m):
        destination, value, size = m.arguments(3)
        m.write(destination, bytes([value & 0xFF]) * size)
        return destination

    def call_wcslen(self, m):
        return len(m.read_wide(m.argument(0)))

    # ---- registry --------------------------------------------------------
    def _key_path(self, m, parent, subkey_pointer):
        base = self.registry.get(("handle", parent), parent)
        subkey = m.read_wide(subkey_pointer) if subkey_pointer else ""
        return "%s\\%s" % (base, subkey) if subkey else str(base)

    def call_RegCreateKeyExW(self, m):
        parent, subkey, reserved, classname, options, access, security, result, disposition = m.arguments(9)
        path = self._key_path(m, parent, subkey)
        self.registry.setdefault(("key", path), {})
        handle = self._handle()
        self.registry[("handle", handle)] = path
        m.write_u32(result, handle)
        if disposition:
            m.write_u32(disposition, 1)
        self.recorder.record("RegCreateKeyExW", key=path)
        return ERROR_SUCCESS

    def call_RegOpenKeyExW(self, m):
        parent, subkey, options, access, result = m.arguments(5)
        path = self._key_path(m, parent, subkey)
        self.recorder.record("RegOpenKeyExW", key=path, found=("key", path) in self.registry)
        if ("key", path) not in self.registry:
            return ERROR_FILE_NOT_FOUND
        handle = self._handle()
        self.registry[("handle", handle)] = path
        m.write_u32(result, handle)
        return ERROR_SUCCESS

    def call_RegQueryValueExW(self, m):
        key, name, reserved, kind, data, size = m.arguments(6)
        path = self.registry.get(("handle", key))
        values = self.registry.get(("key", path), {})
        value_name = m.read_wide(name) if name else ""
        found = values.get(value_name)
        self.recorder.record("RegQueryValueExW", key=path, name=value_name, found=found is not None)
        if found is None:
            return ERROR_FILE_NOT_FOUND
        value_kind, value = found
        if kind:
            m.write_u32(kind, value_kind)
        if size:
            room = m.read_u32(size)
            m.write_u32(size, len(value))
            if data:
                if room < len(value):
                    return 234  # ERROR_MORE_DATA
                m.write(data, value)
        return ERROR_SUCCESS

    def call_RegSetValueExW(self, m):
        key, name, reserved, kind, data, size = m.arguments(6)
        path = self.registry.get(("handle", key))
        value_name = m.read_wide(name) if name else ""
        value = m.read(data, size) if size else b""
        self.registry.setdefault(("key", path), {})[value_name] = (kind, value)
        self.recorder.record("RegSetValueExW", key=path, name=value_name, kind=kind, value=value)
        return ERROR_SUCCESS

    def call_RegCloseKey(self, m):
        self.registry.pop(("handle", m.argument(0)), None)
        return ERROR_SUCCESS
