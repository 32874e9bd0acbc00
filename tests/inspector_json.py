#!/usr/bin/env python3
"""The inspector's JSON is always JSON, and always UTF-8: `show --json` and
`check --json` on every input of the diagnosis's fuzz corpus and of the test
data, each under a file name with every byte from 0x80 to 0xFF in it, in a
UTF-8 locale and in the C locale. Every output must parse, and a text that
does not decode must carry its bytes beside it.

  inspector_json.py INSPECTOR CORPUS DATA KIND...
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile


def main():
    inspector, corpus, data, kinds = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
    inputs = sorted(os.path.join(corpus, f) for f in os.listdir(corpus))
    for root, _, files in os.walk(data):
        inputs += sorted(os.path.join(root, f) for f in files)
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        name = os.path.join(folder.encode(), b"doc-" + bytes(range(0x80, 0x100)) + b".xml")
        for i, source in enumerate(inputs):
            shutil.copyfile(source, name)
            kind = kinds[i % len(kinds)]
            for command in ("show", "check"):
                locale = "C" if i % 2 else "C.UTF-8"
                run = subprocess.run([inspector.encode(), command.encode(), kind.encode(), name,
                                      b"--json"], capture_output=True,
                                     env=dict(os.environ, LC_ALL=locale))
                where = f"{command} {kind} {os.path.basename(source)} ({locale})"
                if run.returncode not in (0, 1, 3):
                    failures.append(f"{where}: exit {run.returncode}: {run.stderr[-200:]!r}")
                    continue
                if command == "show" and run.returncode == 1:
                    continue  # a refusal is said on stderr, as a message
                try:
                    out = json.loads(run.stdout.decode("utf-8"))
                except (UnicodeDecodeError, ValueError) as error:
                    failures.append(f"{where}: not JSON in UTF-8: {error}")
                    continue
                if command == "check" and ("file.bytes" not in out or "\\xFF" not in out["file"]):
                    failures.append(f"{where}: the file name's bytes are not beside it")
    print(f"{len(inputs)} inputs, {2 * len(inputs)} runs, {len(failures)} failed")
    for failure in failures[:20]:
        print("  " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
