#!/usr/bin/python3
"""tree_manifest.py FOLDER OUT: what a server holds below FOLDER, one sorted line per entry:
"path/" for a folder, "path size crc32" for a file. Paths are the raw bytes of the names
joined with '/', every byte outside printable ASCII, the blank and the backslash written
as \\xNN, so that Shift-JIS names come out as the bytes the server stores."""
import os
import sys
import zlib


def escape(raw):
    return "".join(chr(b) if 0x20 < b < 0x7F and b != 0x5C else "\\x%02x" % b for b in raw)


def main():
    root = os.fsencode(sys.argv[1])
    lines = []
    for folder, folders, files in os.walk(root):
        below = os.path.relpath(folder, root)
        prefix = b"" if below == b"." else below + b"/"
        lines += [escape(prefix + name) + "/" for name in folders]
        for name in files:
            with open(os.path.join(folder, name), "rb") as f:
                data = f.read()
            lines.append("%s %d %08x" % (escape(prefix + name), len(data), zlib.crc32(data)))
    with open(sys.argv[2], "w") as out:
        out.write("".join(line + "\n" for line in sorted(lines)))


main()
