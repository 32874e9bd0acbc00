#!/usr/bin/env python3
"""A Python host of the library, through its C interface with ctypes alone.

Reads every example document (examples/*.xml) and prints what each reader
hands over, then writes a shortcut list and reads it back.

    python3 talvoro_host.py [LIBRARY] [EXAMPLES_DIR] [SHORTCUTS_XML]

LIBRARY is the shared library to load (libtalvoro.so.1, or talvoro.dll on
Windows); by default the one the system finds. The record layouts below are
those of <talvoro/elements.h>; ctypes lays them out as a C compiler does.
Exits non-zero at the first result that is not as expected.
"""
import ctypes
import ctypes.util
import os
import sys

# talvoro_array: which container a record belongs to.
(SERVICE_TYPES, SERVICE_KINDS, SERVICE_SERVERS, PARTS, SUB_PARTS, ZONES, AREAS, WEATHER,
 SERVERS, SERVER_SERVICES, VERSION_TEXT, VERSION_UPDATE_TIME, SOFTWARE, SHORTCUTS,
 UPDATES) = range(15)
REASON_OK = 0


class ServiceTypeInfo(ctypes.Structure):
    _fields_ = [("spare", ctypes.c_int16), ("id", ctypes.c_int16), ("depend", ctypes.c_int16),
                ("typeName", ctypes.c_char * 32)]


class ShortCutInfo(ctypes.Structure):
    _fields_ = [("file", ctypes.c_char * 260)]


class Outcome(ctypes.Structure):
    _fields_ = [("size", ctypes.c_size_t), ("reason", ctypes.c_int), ("line", ctypes.c_int),
                ("column", ctypes.c_int), ("changed", ctypes.c_int),
                ("detail", ctypes.c_char * 256)]


FUNCTYPE = ctypes.CFUNCTYPE  # __cdecl, on every platform
RESERVE = FUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_int, ctypes.c_int)
RECORD = FUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_int, ctypes.c_void_p)
TEXT = FUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_int, ctypes.c_char_p, ctypes.c_size_t)


class Sink(ctypes.Structure):
    _fields_ = [("size", ctypes.c_size_t), ("context", ctypes.c_void_p), ("reserve", RESERVE),
                ("record", RECORD), ("text", TEXT)]


class Collected:
    """What a reader handed over: counts per array, reserves, texts, names."""

    def __init__(self):
        self.counts = {}
        self.reserved = {}
        self.texts = []
        self.names = []

    def sink(self):
        def reserve(_context, array, count):
            self.reserved[array] = count
            return 0

        def record(_context, array, pointer):
            self.counts[array] = self.counts.get(array, 0) + 1
            if array == SERVICE_TYPES:
                self.names.append(ServiceTypeInfo.from_address(pointer).typeName.decode())
            elif array == SHORTCUTS:
                self.names.append(ShortCutInfo.from_address(pointer).file.decode())
            return 0

        def text(_context, _array, value, length):
            self.texts.append(value[:length].decode())
            return 0

        # The callbacks must outlive the call: keep them with the sink.
        self._callbacks = (RESERVE(reserve), RECORD(record), TEXT(text))
        return Sink(ctypes.sizeof(Sink), None, *self._callbacks)


def load(path):
    library = ctypes.CDLL(path or ctypes.util.find_library("talvoro"))
    for name in ("talvoro_get_service_data", "talvoro_get_part_data", "talvoro_get_area_data",
                 "talvoro_get_weather_data", "talvoro_get_srv_data",
                 "talvoro_get_srv_service_data", "talvoro_get_version", "talvoro_get_soft_data",
                 "talvoro_get_update_data", "talvoro_get_shortcut_info"):
        function = getattr(library, name)
        function.argtypes = [ctypes.c_char_p, ctypes.POINTER(Sink), ctypes.POINTER(Outcome)]
        function.restype = ctypes.c_int
    library.talvoro_write_shortcut_info.argtypes = [
        ctypes.c_char_p, ctypes.POINTER(ShortCutInfo), ctypes.c_int, ctypes.POINTER(Outcome)]
    library.talvoro_write_shortcut_info.restype = ctypes.c_int
    library.talvoro_reason_text.argtypes = [ctypes.c_int]
    library.talvoro_reason_text.restype = ctypes.c_char_p
    library.talvoro_version.restype = ctypes.c_char_p
    return library


def read(library, function, path):
    collected = Collected()
    sink = collected.sink()
    outcome = Outcome(ctypes.sizeof(Outcome))
    reason = getattr(library, function)(path.encode(), ctypes.byref(sink), ctypes.byref(outcome))
    if reason != REASON_OK:
        raise SystemExit("%s %s: %s %s" % (function, path,
                                           library.talvoro_reason_text(reason).decode(),
                                           outcome.detail.decode()))
    return collected


# Each example, its reader, and the records it holds per array.
EXAMPLES = [
    ("services.xml", "talvoro_get_service_data",
     {SERVICE_TYPES: 3, SERVICE_KINDS: 3, SERVICE_SERVERS: 5}),
    ("parts.xml", "talvoro_get_part_data", {PARTS: 3, SUB_PARTS: 5}),
    ("zones.xml", "talvoro_get_area_data", {ZONES: 3, AREAS: 4}),
    ("weather.xml", "talvoro_get_weather_data", {WEATHER: 1}),
    ("servers.xml", "talvoro_get_srv_data", {SERVERS: 4}),
    ("server-services.xml", "talvoro_get_srv_service_data", {SERVER_SERVICES: 4}),
    ("version.xml", "talvoro_get_version", {}),
    ("software.xml", "talvoro_get_soft_data", {SOFTWARE: 5}),
    ("updates.xml", "talvoro_get_update_data", {UPDATES: 4}),
    ("shortcuts.xml", "talvoro_get_shortcut_info", {SHORTCUTS: 4}),
]


def main(argv):
    library = load(argv[1] if len(argv) > 1 else None)
    examples = argv[2] if len(argv) > 2 else os.path.join(os.path.dirname(__file__), "..")
    print("talvoro", library.talvoro_version().decode())
    for name, function, expected in EXAMPLES:
        collected = read(library, function, os.path.join(examples, name))
        print(name, function, collected.counts, collected.texts or "", collected.names or "")
        if collected.counts != expected:
            raise SystemExit("%s: %s records, expected %s" % (name, collected.counts, expected))
        for array, count in collected.reserved.items():
            if count != expected[array]:
                raise SystemExit("%s: %d reserved for array %d" % (name, count, array))
    if len(read(library, "talvoro_get_version",
                os.path.join(examples, "version.xml")).texts) != 2:
        raise SystemExit("version.xml: not two texts")

    target = argv[3] if len(argv) > 3 else "python-shortcuts.xml"
    files = ["C:\\Program Files\\Quotes\\quote.exe", "D:\\Trade\\trade & more.exe"]
    shortcuts = (ShortCutInfo * len(files))(*[ShortCutInfo(f.encode()) for f in files])
    outcome = Outcome(ctypes.sizeof(Outcome))
    reason = library.talvoro_write_shortcut_info(target.encode(), shortcuts, len(files),
                                                 ctypes.byref(outcome))
    if reason != REASON_OK or outcome.changed != len(files):
        raise SystemExit("writing %s: %s" % (target, library.talvoro_reason_text(reason)))
    back = read(library, "talvoro_get_shortcut_info", target).names
    if back != files:
        raise SystemExit("%s read back as %s" % (target, back))
    print(target, "written and read back:", back)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
