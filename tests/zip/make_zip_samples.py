#!/usr/bin/python3
"""Makes the archives the Wine test extracts through unzip32.dll, with Debian's zip.

OUT/src holds the tree with Shift-JIS names (the bytes zip stores), OUT/expect the same
tree with the names in UTF-8, which is how Wine shows Shift-JIS names to a program running
in code page 932. OUT/deflated.zip and OUT/stored.zip are made from OUT/src.
"""
import os
import shutil
import subprocess
import sys

FILES = {
    "readme.txt": b"Sample archive\r\n",
    "empty.txt": b"",
    "docs/guide/nested.txt": b"nested " * 3000,
    "\u8868.txt": b"table",                     # second byte 0x5C
    "\u30bd\u30d5\u30c8/\u80fd\u529b.txt": b"ability",  # both with 0x5C second bytes
    "with blank.txt": bytes(range(256)) * 700,
}
FOLDERS = ["emptydir"]


def make_tree(root, encoding):
    for folder in FOLDERS:
        os.makedirs(os.path.join(root.encode(), folder.encode(encoding)), exist_ok=True)
    for name, data in FILES.items():
        path = os.path.join(root.encode(), name.encode(encoding))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


def main():
    out = sys.argv[1]
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    make_tree(os.path.join(out, "src"), "cp932")
    make_tree(os.path.join(out, "expect"), "utf-8")
    for name, level in (("deflated.zip", "-9"), ("stored.zip", "-0")):
        subprocess.run(["zip", "-q", "-r", level, os.path.join(os.path.abspath(out), name), "."],
                       cwd=os.path.join(out, "src"), check=True)


if __name__ == "__main__":
    main()
