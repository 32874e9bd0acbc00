#!/usr/bin/env python3
"""Checks the library's decoders against Python's codecs where Python decodes
as the WHATWG Encoding Standard does: every single byte and every pair of a
lead and a trail byte (and gb18030's four-byte sequences of the first plane
and a sample beyond), decoded by both. A sequence that both decode must give
the same code points; one that one of them refuses, the other must refuse.
The standard's own differences from Python, listed below, are expected.

  compare.py DECODER     (the talvoro_decode program)
"""
import codecs
import subprocess
import sys

# GB18030-2022 moved 18 characters out of the private use area (and 0xA8BC
# and its four-byte twin had changed places in 2005); Python's gb18030 decodes
# them as GB18030-2000 did.
GB18030_2022 = {
    **{bytes.fromhex(h): [c] for h, c in [
        ("a6d9", 0xFE10), ("a6da", 0xFE12), ("a6db", 0xFE11), ("a6dc", 0xFE13), ("a6dd", 0xFE14),
        ("a6de", 0xFE15), ("a6df", 0xFE16), ("a6ec", 0xFE17), ("a6ed", 0xFE18), ("a6f3", 0xFE19),
        ("fe59", 0x9FB4), ("fe61", 0x9FB5), ("fe66", 0x9FB6), ("fe67", 0x9FB7), ("fe6d", 0x9FB8),
        ("fe7e", 0x9FB9), ("fe90", 0x9FBA), ("fea0", 0x9FBB), ("a8bc", 0x1E3F),
        ("8135f437", 0xE7C7)]},
    b"\x80": [0x20AC],  # the euro sign
}

# label: (Python's codec, the byte sequences on which the standard and
# Python's codec are known to differ, with what the standard gives).
FAMILIES = {
    # The standard's Shift_JIS is Microsoft's code page 932; Python maps 0xA0
    # and 0xFD to 0xFF into the private use area, where the standard decodes
    # no character.
    "Shift_JIS": ("cp932", {b"\xa0": None, b"\xfd": None, b"\xfe": None, b"\xff": None}),
    # The standard's gb18030, which GBK and GB2312 name too.
    "GBK": ("gb18030", GB18030_2022),
    "gb18030": ("gb18030", GB18030_2022),
    # Big5 with HKSCS-2008, whose row 0x87 Python's big5hkscs (HKSCS-2004)
    # does not have: left out below.
    "Big5": ("big5hkscs", {}),
    "EUC-KR": ("cp949", {}),
    # The standard's windows-1252 (and ISO-8859-1, US-ASCII) decodes the five
    # bytes that code page 1252 leaves out as the C1 controls of their value.
    "ISO-8859-1": ("cp1252", {bytes([b]): [b] for b in (0x81, 0x8D, 0x8F, 0x90, 0x9D)}),
}


def sequences(codec):
    yield from (bytes([b]) for b in range(256))
    for lead in range(0x81, 0xFF):
        if codec == "big5hkscs" and lead == 0x87:
            continue
        for trail in range(0x30, 0xFF):
            yield bytes([lead, trail])
    if codec == "gb18030":
        for b1 in list(range(0x81, 0x85)) + [0x90, 0xE3]:
            for b2 in range(0x30, 0x3A):
                for b3 in range(0x81, 0xFF, 1 if b1 < 0x85 else 5):
                    for b4 in range(0x30, 0x3A):
                        yield bytes([b1, b2, b3, b4])


def standard(data, codec, differences):
    """The code points the standard decodes `data` to, or None where any byte
    is no character: Python's codec, character by character, each character
    that is one of the listed differences as the standard decodes it."""
    decoder = codecs.getincrementaldecoder(codec)()
    points, pending = [], b""
    for i in range(len(data)):
        pending += data[i:i + 1]
        try:
            text = decoder.decode(data[i:i + 1], final=i + 1 == len(data))
        except UnicodeDecodeError:
            text = None
        if text is None or pending in differences:
            if differences.get(pending) is None:
                return None
            points += differences[pending]
            decoder.reset()
        elif text:
            points += [ord(c) for c in text]
        else:
            continue
        pending = b""
    return points if not pending else None


def ours(line):
    words = line.split()
    if any(w.startswith("!") for w in words):
        return None
    return [int(w, 16) for w in words]


def main():
    decoder = sys.argv[1]
    failures = 0
    for label, (codec, differences) in FAMILIES.items():
        data = list(sequences(codec))
        run = subprocess.run([decoder, label], input="\n".join(d.hex() for d in data) + "\n",
                             capture_output=True, text=True, check=True)
        lines = run.stdout.split("\n")
        differ = []
        for sequence, line in zip(data, lines):
            got = ours(line)
            expected = standard(sequence, codec, differences)
            if got != expected:
                differ.append((sequence.hex(), expected, got))
        print(f"{label} ({codec}): {len(data)} sequences, {len(differ)} differ")
        for sequence, expected, got in differ[:200]:
            print(f"  {sequence}: standard {expected}, library {got}")
        failures += len(differ)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
