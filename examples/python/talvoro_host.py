#!/usr/bin/env python3
"""A Python host of the library, through its C interface with ctypes alone.

Reads every example document (examples/*.xml) and prints what each reader
hands over, writes a shortcut list and reads it back, and, given a document
in another encoding, shows its shortcuts' names as its author wrote them.

    python3 talvoro_host.py [--library LIBRARY] [EXAMPLES_DIR] [SHORTCUTS_XML]
                            [--names DOCUMENT]

The library is the one that --library or the TALVORO_LIBRARY variable
names, or else the first of these that loads and has the C interface: the
build tree beside this script (build/src), the system's (libtalvoro.so.1, or
talvoro.dll on Windows). When none does, it says which places it tried. The
record layouts below are those of <talvoro/elements.h>; ctypes lays them out
as a C compiler does.

The records' texts are bytes, as the document holds them: a name is decoded
for a person by the encoding that the document declares, and a byte that
does not decode shows as \\xNN, never dropped. An exception in a callback
stops the read (the callback answers "stop") and is raised again once the
library has returned. Exits non-zero at the first result that is not as
expected.
"""
import argparse
import ctypes
import ctypes.util
import os
import re
import sys

# talvoro_array: which container a record belongs to (TALVORO_ARRAYS in
# <talvoro/lists.h>).
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
TEXT = FUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_int, ctypes.POINTER(ctypes.c_char),
                ctypes.c_size_t)


class Sink(ctypes.Structure):
    _fields_ = [("size", ctypes.c_size_t), ("context", ctypes.c_void_p), ("reserve", RESERVE),
                ("record", RECORD), ("text", TEXT)]


READERS = ("talvoro_get_service_data", "talvoro_get_part_data", "talvoro_get_area_data",
           "talvoro_get_weather_data", "talvoro_get_srv_data", "talvoro_get_srv_service_data",
           "talvoro_get_version", "talvoro_get_soft_data", "talvoro_get_update_data",
           "talvoro_get_shortcut_info")


def candidates(argument):
    """Where the library may be, in order, each with where it came from. A
    library named by --library or TALVORO_LIBRARY is the only one tried: the
    user asked for that one."""
    if argument:
        yield argument, "--library"
        return
    if os.environ.get("TALVORO_LIBRARY"):
        yield os.environ["TALVORO_LIBRARY"], "TALVORO_LIBRARY"
        return
    here = os.path.dirname(os.path.abspath(__file__))
    for name in ("libtalvoro.so", "talvoro.dll", "libtalvoro.dylib"):
        yield os.path.join(here, "..", "..", "build", "src", name), "the build tree"
    yield ctypes.util.find_library("talvoro"), "the system"


def load(argument):
    """The first library that loads and has the C interface; says which
    places it tried when none does."""
    tried = []
    for path, origin in candidates(argument):
        if not path:
            tried.append("%s: none" % origin)
            continue
        try:
            library = ctypes.CDLL(path)
        except OSError as error:
            tried.append("%s (%s): %s" % (path, origin, error))
            continue
        if not hasattr(library, READERS[0]):
            tried.append("%s (%s): no C interface (a version before 1.2)" % (path, origin))
            continue
        break
    else:
        raise SystemExit("no talvoro library with the C interface; tried:\n  " +
                         "\n  ".join(tried))
    for name in READERS:
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


def declared_encoding(path):
    """The encoding the document declares, as TinyXML takes it: UTF-8 after a
    byte-order mark or without a name."""
    with open(path, "rb") as document:
        head = document.read(256)
    if head.startswith(b"\xef\xbb\xbf"):
        return "utf-8"
    found = re.match(rb"\s*<\?xml[^>]*?encoding\s*=\s*[\"']([^\"']*)[\"']", head)
    return found.group(1).decode("ascii", "replace") if found else "utf-8"


def shown(text, encoding):
    """Bytes of a document for a person: decoded, a byte that does not decode
    as \\xNN."""
    try:
        return text.decode(encoding, "backslashreplace")
    except LookupError:  # an encoding Python does not know
        return text.decode("ascii", "backslashreplace")


class Collected:
    """What a reader handed over: counts per array, reserves, texts and
    names as bytes, and the exception a callback met."""

    def __init__(self, on_record=None):
        self.on_record = on_record
        self.counts = {}
        self.reserved = {}
        self.texts = []
        self.names = []
        self.error = None

    def _guarded(self, handle):
        # An exception must not pass through the library: it stops the read
        # and waits for the call to return.
        def callback(*arguments):
            try:
                handle(*arguments)
                return 0
            except BaseException as error:  # pylint: disable=broad-except
                self.error = error
                return 1
        return callback

    def sink(self):
        def reserve(_context, array, count):
            self.reserved[array] = count

        def record(_context, array, pointer):
            if self.on_record:
                self.on_record(array, pointer)
            self.counts[array] = self.counts.get(array, 0) + 1
            if array == SERVICE_TYPES:
                self.names.append(ServiceTypeInfo.from_address(pointer).typeName)
            elif array == SHORTCUTS:
                self.names.append(ShortCutInfo.from_address(pointer).file)

        def text(_context, _array, value, length):
            self.texts.append(ctypes.string_at(value, length))

        # The callbacks must outlive the call: keep them with the sink.
        self._callbacks = (RESERVE(self._guarded(reserve)), RECORD(self._guarded(record)),
                           TEXT(self._guarded(text)))
        return Sink(ctypes.sizeof(Sink), None, *self._callbacks)


def read(library, function, path, collected=None):
    collected = collected or Collected()
    sink = collected.sink()
    outcome = Outcome(ctypes.sizeof(Outcome))
    reason = getattr(library, function)(os.fsencode(path), ctypes.byref(sink),
                                        ctypes.byref(outcome))
    if collected.error is not None:
        raise collected.error
    if reason != REASON_OK:
        raise SystemExit("%s %s: %s %s" % (function, path,
                                           library.talvoro_reason_text(reason).decode(),
                                           outcome.detail.decode(errors="backslashreplace")))
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
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--library")
    parser.add_argument("--names", help="a shortcut list whose file names to show")
    parser.add_argument("examples", nargs="?",
                        default=os.path.join(os.path.dirname(__file__), ".."))
    parser.add_argument("shortcuts", nargs="?", default="python-shortcuts.xml")
    args = parser.parse_args(argv[1:])
    library = load(args.library)
    print("talvoro", library.talvoro_version().decode())
    for name, function, expected in EXAMPLES:
        path = os.path.join(args.examples, name)
        collected = read(library, function, path)
        encoding = declared_encoding(path)
        print(name, function, collected.counts,
              [shown(t, encoding) for t in collected.texts] or "",
              [shown(n, encoding) for n in collected.names] or "")
        if collected.counts != expected:
            raise SystemExit("%s: %s records, expected %s" % (name, collected.counts, expected))
        for array, count in collected.reserved.items():
            if count != expected[array]:
                raise SystemExit("%s: %d reserved for array %d" % (name, count, array))
    if len(read(library, "talvoro_get_version",
                os.path.join(args.examples, "version.xml")).texts) != 2:
        raise SystemExit("version.xml: not two texts")

    # A callback's exception stops the read, and is raised after it.
    class Interrupted(Exception):
        pass

    def interrupt(_array, _pointer):
        raise Interrupted()

    try:
        read(library, "talvoro_get_service_data", os.path.join(args.examples, "services.xml"),
             Collected(on_record=interrupt))
        raise SystemExit("a callback's exception did not stop the read")
    except Interrupted:
        print("a callback's exception stopped the read and was raised after it")

    files = ["C:\\Program Files\\Quotes\\quote.exe", "D:\\Trade\\trade & more.exe"]
    shortcuts = (ShortCutInfo * len(files))(*[ShortCutInfo(f.encode()) for f in files])
    outcome = Outcome(ctypes.sizeof(Outcome))
    reason = library.talvoro_write_shortcut_info(os.fsencode(args.shortcuts), shortcuts,
                                                 len(files), ctypes.byref(outcome))
    if reason != REASON_OK or outcome.changed != len(files):
        raise SystemExit("writing %s: %s" % (args.shortcuts,
                                             library.talvoro_reason_text(reason)))
    back = [n.decode() for n in read(library, "talvoro_get_shortcut_info", args.shortcuts).names]
    if back != files:
        raise SystemExit("%s read back as %s" % (args.shortcuts, back))
    print(args.shortcuts, "written and read back:", back)

    if args.names:
        encoding = declared_encoding(args.names)
        names = read(library, "talvoro_get_shortcut_info", args.names).names
        print("shortcuts (%s):" % encoding, ", ".join(shown(n, encoding) for n in names))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
