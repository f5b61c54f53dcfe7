"""Packages for the viewer's runs, made the way a user makes them: the real
builder writes the cabinet, and the viewer executable is taken out of it
with cabextract (the cabinet names its files CONFER~1.001 and so on: the
executable is the one that starts with "MZ"). The Palm database of the same
package is read too, for comparing both viewers' screens."""

import os
import struct
import subprocess


class BuildFailed(Exception):
    pass


def build(builder, xml, work, palm=False):
    """Builds `xml` into `work`; returns the path of the viewer executable
    (and of the .prc when palm is asked for)."""
    os.makedirs(work, exist_ok=True)
    base = os.path.join(work, "Package")
    targets = ["/WINCE"] + (["/PALM"] if palm else [])
    done = subprocess.run([builder, xml, base] + targets + ["/ERR", base + ".err"], capture_output=True, text=True)
    if done.returncode != 0:
        message = open(base + ".err", encoding="latin-1").read() if os.path.exists(base + ".err") else done.stdout
        raise BuildFailed("builder exit %d: %s" % (done.returncode, message))
    extracted = os.path.join(work, "cab")
    os.makedirs(extracted, exist_ok=True)
    subprocess.run(["cabextract", "-q", "-d", extracted, base + ".cab"], check=True)
    for name in sorted(os.listdir(extracted)):
        path = os.path.join(extracted, name)
        with open(path, "rb") as f:
            if f.read(2) == b"MZ":
                return (path, base + ".prc") if palm else path
    raise BuildFailed("no executable in the cabinet")


def palm_resources(prc_path):
    """{(four-character type, id): bytes} of a Palm resource database."""
    with open(prc_path, "rb") as f:
        data = f.read()
    count = struct.unpack_from(">H", data, 76)[0]
    entries = [struct.unpack_from(">4sHI", data, 78 + 10 * i) for i in range(count)]
    result = {}
    for i, (kind, ident, offset) in enumerate(entries):
        end = entries[i + 1][2] if i + 1 < count else len(data)
        result[(kind.decode("latin-1"), ident)] = data[offset:end]
    return result
