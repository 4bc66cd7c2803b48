#!/usr/bin/python3
"""Makes the archives the Wine test extracts through unzip32.dll, with Debian's zip.

OUT/src holds the tree with Shift-JIS names (the bytes zip stores), OUT/expect the same tree
with UTF-8 names, as Wine shows Shift-JIS names to a program running in code page 932.
"""
import os, shutil, subprocess, sys

FILES = {
    "readme.txt": b"Sample archive\r\n",
    "empty.txt": b"",
    "emptydir/": None,
    "docs/guide/nested.txt": b"nested " * 3000,
    "\u8868.txt": b"table",  # second byte 0x5C
    "\u30bd\u30d5\u30c8/\u80fd\u529b.txt": b"ability",  # both with 0x5C second bytes
    "with blank.txt": bytes(range(256)) * 700,
}

out = sys.argv[1]
shutil.rmtree(out, ignore_errors=True)
for tree, encoding in (("src", "cp932"), ("expect", "utf-8")):
    for name, data in FILES.items():
        path = os.path.join(out.encode(), tree.encode(), name.encode(encoding))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if data is not None:
            open(path, "wb").write(data)
for name, level in (("deflated.zip", "-9"), ("stored.zip", "-0")):
    subprocess.run(["zip", "-q", "-r", level, os.path.join(os.path.abspath(out), name), "."],
                   cwd=os.path.join(out, "src"), check=True)
