#!/usr/bin/python3
"""Captures the raw LIST answers of real FTP servers for the listing parser's tests.

Run once, inside the test server harness, from the repository root:
    tests/support/with-servers /usr/bin/python3 tests/core/capture_listings.py
It builds the same sample folder for vsftpd, pyftpdlib and pure-ftpd, lists it over a
data connection exactly as the servers send it, and writes for each server
tests/core/data/<server>.list (the raw bytes), and once tests/core/data/capture.now
(the capture day, the clock the year rule must use) and tests/core/data/<server>.expected:
what the program should show for the sample folder (kind, size, date and name, sorted),
written from the folder's own description below, not from any parser. pyftpdlib sends
names that are not UTF-8 with '?' in place of the bytes, so the Shift-JIS name is
refused there and missing from its expected entries.
"""
import ftplib
import os
import socket
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "data")
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))

OLD = time.mktime((2019, 3, 4, 5, 6, 0, 0, 0, -1))
NOW = time.time()
# Recent enough for every server to show the time of day; pinned to 13:45.
_r = time.localtime(NOW - 10 * 86400)
RECENT = time.mktime((_r.tm_year, _r.tm_mon, _r.tm_mday, 13, 45, 0, 0, 0, -1))

SJIS_NAME = "表計算.txt".encode("cp932")     # second bytes 0x5C and 0x76
UTF8_NAME = "日本語ファイル.txt".encode("utf-8")

# name, kind (f file, d folder, l link), size or link target, mtime, shown (False: refused)
SAMPLE = [
    (b"a.txt", "f", 1234, OLD, True),
    (b"name with  spaces.txt", "f", 10, RECENT, True),
    (b"empty.dat", "f", 0, RECENT, True),
    (b"big.iso", "f", 5 * 1024 ** 3, OLD, True),   # sparse
    (b"pub", "d", None, OLD, True),
    (b"My Documents", "d", None, RECENT, True),
    (b"to-pub", "l", b"pub", RECENT, True),          # target without a dot: a folder
    (b"to-a", "l", b"a.txt", RECENT, True),          # target with a dot: a file
    (SJIS_NAME, "f", 3, OLD, True),
    (UTF8_NAME, "f", 4, OLD, True),
    (b"colon:name.txt", "f", 1, OLD, False),
    (b"back\\slash.txt", "f", 1, OLD, False),
    (b"trailing dot.", "f", 1, OLD, False),
    (b"trailing space ", "f", 1, OLD, False),
    (b"con.txt", "f", 1, OLD, False),
    (b"star*.txt", "f", 1, OLD, False),
]


def build_sample(folder):
    os.makedirs(folder, exist_ok=True)
    for name, kind, what, mtime, _ in SAMPLE:
        path = os.path.join(os.fsencode(folder), name)
        if kind == "f":
            with open(path, "wb") as f:
                if what > 1 << 20:
                    f.truncate(what)
                else:
                    f.write(b"x" * what)
        elif kind == "d":
            os.mkdir(path)
        else:
            os.symlink(what, path)
        os.utime(path, (mtime, mtime), follow_symlinks=False)
    subprocess.run(["chown", "-R", "-h", os.environ["VAKO_FTP_USER"], folder], check=True)


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def raw_listing(port, folder):
    ftp = ftplib.FTP()
    ftp.encoding = "latin-1"  # bytes through unchanged
    ftp.connect("127.0.0.1", port, timeout=30)
    ftp.login(os.environ["VAKO_FTP_USER"], os.environ["VAKO_FTP_PASS"])
    ftp.cwd(folder)
    ftp.set_pasv(False)       # the program uses PORT
    chunks = []
    ftp.retrbinary("LIST", chunks.append)
    ftp.quit()
    return b"".join(chunks)


def expected_line(name, kind, what, mtime):
    t = time.localtime(mtime)
    if mtime == RECENT:  # listed with its time of day, in the year the year rule gives
        date = "%d/%02d/%02d %02d:%02d" % (t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min)
    else:                # listed with its year: no time of day
        date = "%d/%02d/%02d 00:00" % (t.tm_year, t.tm_mon, t.tm_mday)
    folder = kind == "d" or (kind == "l" and b"." not in what)
    size = "   " if folder else str(len(what) if kind == "l" else what)
    return b"%s\t%s\t%s\t%s" % (b"d" if folder else b"f", size.encode(), date.encode(), name)


def main():
    os.makedirs(DATA, exist_ok=True)
    work = tempfile.mkdtemp(prefix="vako-capture-")
    os.chmod(work, 0o755)
    pure = subprocess.run([os.path.join(ROOT, "tests/support/ensure-pure-ftpd")],
                          capture_output=True, text=True).stdout.strip()
    if not pure:
        sys.exit("no pure-ftpd")
    targets = {
        "vsftpd": (int(os.environ["VAKO_VSFTPD_PORT"]),
                   os.path.join(os.environ["VAKO_VSFTPD_ROOT"], "sample"), "sample"),
        "pyftpdlib": (int(os.environ["VAKO_PYFTPD_PORT"]),
                      os.path.join(os.environ["VAKO_PYFTPD_ROOT"], "sample"), "sample"),
    }
    pure_port = free_port()
    pure_folder = os.path.join(work, "sample")
    targets["pure-ftpd"] = (pure_port, pure_folder, pure_folder)
    for _, folder, _ in targets.values():
        build_sample(folder)
    proc = subprocess.Popen([pure, "-S", "127.0.0.1,%d" % pure_port, "-l", "unix", "-E", "-H",
                             "-p", "40000:40100"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        for _ in range(100):
            try:
                socket.create_connection(("127.0.0.1", pure_port), 0.2).close()
                break
            except OSError:
                time.sleep(0.05)
        for server, (port, _, cwd) in targets.items():
            with open(os.path.join(DATA, server + ".list"), "wb") as f:
                f.write(raw_listing(port, cwd))
    finally:
        proc.terminate()
        proc.wait()
    now = time.localtime(NOW)
    with open(os.path.join(DATA, "capture.now"), "w") as f:
        f.write("%04d-%02d-%02d\n" % (now.tm_year, now.tm_mon, now.tm_mday))
    for server in targets:
        lines = sorted(expected_line(n, k, w, m) for n, k, w, m, shown in SAMPLE
                       if shown and not (server == "pyftpdlib" and n == SJIS_NAME))
        with open(os.path.join(DATA, server + ".expected"), "wb") as f:
            f.write(b"".join(l + b"\n" for l in lines))


if __name__ == "__main__":
    main()
