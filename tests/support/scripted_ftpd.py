#!/usr/bin/python3
"""A deliberately misbehaving FTP server for the cases real servers never produce.

Every scenario listens on a port of its own on 127.0.0.1, written as "name=port,..." to
--ports-file once all listen; each connection is served on a thread of its own. Every
command line read is recorded in <--record-dir>/<scenario>.log as "folder|line". A
session that logs in as "calm" gets a well-behaved server instead: the end-to-end suite
reconnects so to see that the program is still usable after what the scenario did.
"""
import argparse
import fcntl
import itertools
import os
import posixpath
import select
import socket
import ssl
import struct
import threading
import time

CALM_USER = b"USER CALM\r\n"
SIOCATMARK = 0x8905
RECORD_DIR = None
TLS_CERT = None  # key and certificate in one PEM file, for the TLS scenarios
TLS_OTHER_CERT = None  # another one
_session = threading.local()
_record_lock = threading.Lock()


def read_line(conn, state=None):
    """One command line. With state, urgent data is kept in band and the offset of the
    urgent mark in the line recorded in state["mark"] (None when the line carried none)."""
    data = b""
    if state is not None:
        state["mark"] = None
    while not data.endswith(b"\n"):
        if state is not None and state["mark"] is None and struct.unpack(
                "i", fcntl.ioctl(conn, SIOCATMARK, b"\0\0\0\0"))[0]:
            state["mark"] = len(data)
        b = conn.recv(1)
        if not b:
            return None
        data += b
    return data


def record(line, state):
    if RECORD_DIR is None:
        return
    with _record_lock:
        with open("%s/%s.log" % (RECORD_DIR, getattr(_session, "scenario", "unknown")), "ab") as f:
            f.write(state.get("cwd", "/").encode() + b"|" + line.rstrip(b"\r\n") + b"\n")


def parse_port(line):
    nums = [int(x) for x in line.split(b" ", 1)[1].strip().split(b",")]
    return "%d.%d.%d.%d" % tuple(nums[:4]), nums[4] * 256 + nums[5]


def pattern(count, start=0):
    """count bytes of a pattern that shows where a piece came from."""
    return bytes((start + i) % 251 for i in range(count))


DEFAULT_REPLIES = {
    b"USER": b"331 Password please\r\n", b"PASS": b"230 Logged in\r\n",
    b"TYPE": b"200 Type set\r\n", b"PWD": b"257 \"/\" is the current folder\r\n",
    b"CWD": b"250 Folder changed\r\n", b"ABOR": b"226 Nothing to abort\r\n",
    b"NOOP": b"200 Zzz\r\n", b"PORT": b"200 PORT ok\r\n",
}


def command_loop(conn, handlers, greeting=b"220 scripted server ready\r\n", marks=False):
    """A plain session: every verb gets a sensible reply unless handlers has it (or "*",
    for every verb). A handler is the reply's bytes, or a function of (conn, line, state)
    that returns them, or None when it replied itself. state["port"] holds the address of
    the last PORT; after EPSV or PASV, state["listener"] the socket where the client's
    data connection will arrive. marks: urgent marks are noted (see read_line)."""
    state = {"cwd": "/"}
    conn.sendall(greeting)
    while True:
        line = read_line(conn, state if marks else None)
        if line is None:
            return
        record(line, state)
        if line.upper() == CALM_USER:
            state["calm"] = True
        if state.get("calm"):
            handlers = CALM_HANDLERS
        verb = line.split(b" ", 1)[0].strip().upper()
        # The Telnet bytes before ABOR belong to the line.
        if verb.endswith(b"ABOR"):
            verb = b"ABOR"
        if verb == b"QUIT":
            conn.sendall(b"221 Bye\r\n")
            return
        if verb == b"PORT":
            state["port"] = parse_port(line)
            if "listener" in state:
                state.pop("listener").close()
        handler = handlers.get(verb, handlers.get("*"))
        if handler is not None:
            reply = handler(conn, line, state) if callable(handler) else handler
        elif verb in (b"EPSV", b"PASV"):
            port = listen_passive(state)
            reply = (b"229 Entering Extended Passive Mode (|||%d|)\r\n" % port if verb == b"EPSV" else
                     b"227 Entering Passive Mode (127,0,0,1,%d,%d)\r\n" % (port >> 8, port & 255))
        else:
            reply = DEFAULT_REPLIES.get(verb, b"500 Unknown command\r\n")
        if reply:
            conn.sendall(reply)


def canned(handlers, greeting=b"220 scripted server ready\r\n"):
    return lambda conn: command_loop(conn, handlers, greeting)


def listen_passive(state):
    """A listener for the next data connection of a passive client; answers its port."""
    if "listener" in state:
        state.pop("listener").close()
    l = socket.socket()
    l.bind(("127.0.0.1", 0))
    l.listen(1)
    l.settimeout(10)
    state["listener"] = l
    return l.getsockname()[1]


def connect_data(state, source="127.0.0.1"):
    """The data connection: the passive client's, or one made to the address of PORT."""
    l = state.pop("listener", None)
    if l:
        try:
            return l.accept()[0]
        finally:
            l.close()
    host, port = state["port"]
    s = socket.socket()
    s.bind((source, 0))
    s.connect((host, port))
    return s


def send_data(c, state, data, final, opening=b"150 Opening data connection\r\n"):
    """Sends data (bytes, or an iterable of pieces) over the data connection, then final."""
    c.sendall(opening)
    d = connect_data(state)
    try:
        for piece in [data] if isinstance(data, bytes) else data:
            d.sendall(piece)
    except OSError:
        pass  # the client stopped reading
    d.close()
    return final


def listing(text, final=b"226 Listing sent\r\n"):
    """A LIST handler that sends text over the data connection, then final."""
    return lambda c, l, s: send_data(c, s, text, final, b"150 Here comes the listing\r\n")


def unix_line(name, size=10, folder=False):
    return (b"drwxr-xr-x 2" if folder else b"-rw-r--r-- 1") + b" u g %d Jan 01 2020 " % size + name + b"\r\n"


CALM_HANDLERS = {b"LIST": listing(b"total 1\r\n" + unix_line(b"calm.txt"))}


class Trickle:
    """A connection whose every reply trickles in one byte at a time, with a pause after each."""

    def __init__(self, conn):
        self.conn, self.recv = conn, conn.recv

    def sendall(self, data):
        for b in data:
            self.conn.sendall(bytes([b]))
            time.sleep(0.002)


def drip(c, line, state):
    """Each byte comes well within the time limit, the reply never within any reasonable time."""
    for b in b"200 dripping along very slowly\r\n":
        time.sleep(2)
        c.sendall(bytes([b]))


def silent(conn):
    """Accepts and never greets; holds the connection until the client lets go."""
    while conn.recv(4096):
        pass


def endlessgreeting(conn):
    while True:
        conn.sendall(b"220-and there is more\r\n" * 100)


def stall(conn):
    """Sends 5,000 bytes and then nothing, keeping the data connection open (RETR and LIST);
    takes the data connection of STOR and never reads from it."""
    def retr(c, line, state):
        c.sendall(b"150 Opening data connection\r\n")
        state["data"] = connect_data(state)
        state["data"].sendall(pattern(5000))

    def stor(c, line, state):
        c.sendall(b"150 Opening data connection\r\n")
        state["data"] = connect_data(state)

    def abor(c, line, state):
        if "data" in state:
            state.pop("data").close()
            c.sendall(b"426 Transfer aborted\r\n")
        return b"226 ABOR successful\r\n"
    command_loop(conn, {b"RETR": retr, b"LIST": retr, b"STOR": stor, b"ABOR": abor})


def abortcheck(conn):
    """Streams data until the client stops, then checks the abort sequence: IAC IP IAC
    sent as urgent data with the mark on the second IAC, then DM, then ABOR. Answers 426
    for the transfer and then 226 when the sequence was exact, 500 with what it saw."""
    conn.setsockopt(socket.SOL_SOCKET, socket.SO_OOBINLINE, 1)

    def retr(c, line, state):
        c.sendall(b"150 Opening data connection\r\n")
        pieces = (pattern(8192, sent) for sent in range(0, 64 * 1024 * 1024, 8192))
        threading.Thread(target=send_data, args=(c, state, pieces, None, b""), daemon=True).start()

    def abor(c, line, state):
        if line == b"\xff\xf4\xff\xf2ABOR\r\n" and state["mark"] == 2:
            verdict = b"226 ABOR sequence ok\r\n"
        else:
            verdict = ("500 bad abort sequence %s mark %s\r\n" % (line.hex(), state["mark"])).encode()
        c.sendall(b"426 Transfer aborted\r\n")
        return verdict
    command_loop(conn, {b"RETR": retr, b"ABOR": abor}, marks=True)


def portthief(conn):
    """Before the server's own data connection, a stranger (127.0.0.2) connects to the
    client's port and offers a listing of its own."""
    def list_(c, line, state):
        c.sendall(b"150 Opening data connection\r\n")
        thief = connect_data(state, source="127.0.0.2")
        try:
            thief.sendall(b"total 1\r\n" + unix_line(b"stolen.txt"))
            thief.settimeout(10)
            thief.recv(1)  # the client turns it away
        except OSError:
            pass
        thief.close()
        return send_data(c, state, b"total 1\r\n" + unix_line(b"genuine.txt"), b"226 Transfer complete\r\n", b"")
    command_loop(conn, {b"LIST": list_})


def listingthenbye(conn):
    """Lists one folder and one file; the next listing or CWD gets 421 and the
    connection closes."""
    def then_bye(reply):
        def handler(c, line, state):
            if state.get("listed"):
                c.sendall(b"421 Timeout, closing control connection\r\n")
                raise OSError("closed")
            state["listed"] = line.startswith(b"LIST")
            return reply(c, line, state) if callable(reply) else reply
        return handler
    command_loop(conn, {b"LIST": then_bye(listing(unix_line(b"sub", 512, folder=True) + unix_line(b"a.txt"))),
                        b"CWD": then_bye(b"250 ok\r\n")})


def passive_session(epsv, pasv):
    """Passive transfers from a listener of this server's own: epsv and pasv give the
    replies to EPSV and PASV from the listener's port (None: "500" refused). RETR sends
    the pattern of 3000 bytes; LIST one file."""
    def ask(reply):
        return lambda c, l, s: b"500 Not understood\r\n" if reply is None else reply(listen_passive(s))

    def transfer(payload):
        def handler(c, line, state):
            if "listener" not in state:
                return b"425 Use PASV first\r\n"
            return send_data(c, state, payload, b"226 Done\r\n", b"150 Here it comes\r\n")
        return handler
    return lambda conn: command_loop(conn, {
        b"EPSV": ask(epsv), b"PASV": ask(pasv), b"RETR": transfer(pattern(3000)),
        b"LIST": transfer(b"-rw-r--r-- 1 u g 3000 Jan 01 2020 p.bin\r\n")})


def tree_session(listings, retr=lambda name: b"data of " + name, locked=()):
    """A server of folders: listings maps a folder ("/", "/sub") to a function of the
    session state giving its listing; CWD into a folder of locked, or one not listed,
    is refused; RETR sends what retr gives for the name (None: refused)."""
    def cwd(c, line, state):
        path = posixpath.normpath(posixpath.join(state["cwd"], line[4:].rstrip(b"\r\n").decode("latin-1")))
        if path in locked or path not in listings:
            return b"550 Permission denied\r\n"
        state["cwd"] = path
        return b"250 Folder changed\r\n"

    def retr_(c, line, state):
        data = retr(line[5:].rstrip(b"\r\n"))
        if data is None:
            return b"550 Permission denied\r\n"
        return send_data(c, state, data, b"226 Transfer complete\r\n")

    def store(c, line, state):
        c.sendall(b"150 Send it\r\n")
        with connect_data(state) as d:
            while d.recv(65536):
                pass
        return b"226 Stored\r\n"
    return lambda conn: command_loop(conn, {
        b"CWD": cwd, b"RETR": retr_, b"STOR": store,
        b"PWD": lambda c, l, s: b'257 "%s" is current\r\n' % s["cwd"].encode(),
        b"LIST": lambda c, l, s: listing(b"total 9\r\n" + listings[s["cwd"]](s))(c, l, s),
        b"MKD": b"257 Created\r\n", b"DELE": b"250 Deleted\r\n", b"RMD": b"250 Removed\r\n", b"SITE": b"200 Done\r\n"})


SJIS_5C_NAME = b"\x95\x5c\x8e\xa6.txt"  # its second byte is a backslash

# Names that climb out of the folder or name another drive, beside a plain one, a
# Shift-JIS one whose second byte is 0x5C and one too long for a Windows path.
TRAVERSAL_ROOT = (b"".join(unix_line(n) for n in (b"../x", b"..\\x", b"C:\\x", b"a/b", b"/abs", SJIS_5C_NAME,
                                                   b"ok.txt", b"L" * 300 + b".txt"))
                  + unix_line(b"..\\up", folder=True) + unix_line(b"../up", folder=True))


def liar_root(state):
    """A file RETR refuses, a file far shorter than listed, a folder CWD refuses, and a
    name that changes on every LIST."""
    state["lists"] = state.get("lists", 0) + 1
    return (unix_line(b"keep.txt") + unix_line(b"extra.txt") + unix_line(b"refused.bin") +
            unix_line(b"short.bin", 100000) + unix_line(b"drift%d.txt" % state["lists"]) +
            unix_line(b"sub", folder=True) + unix_line(b"locked", folder=True))


def endlesslisting(conn):
    """A listing that never ends: one entry, then long lines that are no entries, so that
    what a client keeps of it costs little to show."""
    junk = itertools.repeat((b"#" * 1022 + b"\r\n") * 64)
    command_loop(conn, {b"LIST": lambda c, l, s: send_data(
        c, s, itertools.chain([b"total 1\r\n" + unix_line(b"first.txt")], junk), b"226 Listing sent\r\n",
        b"150 Here comes a long listing\r\n")})


def proxy_user(c, line, state):
    state["user_ok"] = line == b"USER anna@real.host.example\r\n"
    return b"331 Password for the remote host\r\n" if state["user_ok"] else b"530 Not user@host\r\n"


REFUSED_425 = b"150 Opening data connection\r\n425 Can't open data connection\r\n"

SCENARIOS = {
    # The reply reader: a reply trickled a byte at a time, lines of 2,000 and of 100,000
    # bytes, a close before the greeting, replies that drip or never end, no greeting at all.
    "onebyte": lambda conn: command_loop(
        Trickle(conn), {"*": lambda c, l, s: b"250-piece by piece\r\n250 " + l.strip() + b" done\r\n"},
        greeting=b"220-slow\r\n220 slow greeting\r\n"),
    "longline": canned({"*": b"200 " + b"y" * 2000 + b"\r\n"}, b"220 " + b"x" * 2000 + b"\r\n"),
    "floodline": canned({"*": b"200 " + b"z" * 100000 + b"\r\n"}, b"220 ready\r\n"),
    "closeatonce": lambda conn: None,
    "dripreply": canned({"*": drip}, b"220 ready\r\n"),
    "endlessgreeting": endlessgreeting,
    "silent": silent,
    # Login: USER answered 230 as if no password were needed, then PASS refused; a proxy
    # that takes only USER anna@real.host.example and PASS secret; multi-line replies whose
    # body holds free text, an indented code and another code: only "230 " at the start
    # of a line ends them.
    "user230pass503": canned({b"USER": b"230 No password needed\r\n", b"PASS": b"503 Already logged in\r\n"}),
    "proxycheck": canned({b"USER": proxy_user, b"PASS": lambda c, l, s: (
        b"230 Logged in through the proxy\r\n" if s.get("user_ok") and l == b"PASS secret\r\n" else b"530 Login incorrect\r\n")}),
    "multilinelogin": canned({
        b"PASS": (b"230-Welcome\r\n Please note:\r\n 230 indented, not the end\r\n"
                  b"free text line\r\n200 another code in the body\r\n230 Logged in\r\n"),
        b"CWD": b"250-Folder notes\r\n   none today\r\n250 Folder changed\r\n"},
        greeting=b"220-Hello\r\nThis server sends long greetings\r\n220 Ready\r\n"),
    # Data connections refused (RETR 550, STOR 553), given up on after 150 (425), accepted
    # and never connected, cut short, stalled, aborted, or stolen by a stranger.
    "refuseretr": canned({b"RETR": b"550 No such file\r\n", b"STOR": b"553 Not allowed\r\n"}),
    "refuse425": canned({b"RETR": REFUSED_425, b"LIST": REFUSED_425}),
    "noconnect": canned({b"RETR": b"150 Opening data connection\r\n", b"LIST": b"150 Here comes the listing\r\n"}),
    "midclose": canned({  # 5,000 of the 10,000 bytes announced, then 426
        b"RETR": lambda c, l, s: send_data(c, s, pattern(5000), b"426 Connection closed; transfer aborted\r\n",
                                           b"150 Opening data connection (10000 bytes)\r\n"),
        b"LIST": listing(b"-rw-r--r-- 1 u g 10 Jan 01 2020 partial.txt\r\n", b"451 Listing cut short\r\n")}),
    "midline": canned({b"LIST": listing(unix_line(b"whole.txt") + b"-rw-r--r-- 1 u g 10 Jan 01 2020 cu",
                                        b"426 Connection lost\r\n")}),
    "stall": stall,
    "abortcheck": abortcheck,
    "portthief": portthief,
    # Listings: 25,000 entries, then lines of blanks past the 64 MiB a client keeps of one
    # listing; one without end; one that is followed by a 421.
    "hugelisting": canned({b"LIST": listing([b"".join(
        b"-rw-r--r-- 1 user group 1234 Jan 01 2020 file%07d.txt\r\n" % i for i in range(25000))]
        + [(b" " * 1022 + b"\r\n") * 1024] * 66)}),
    "endlesslisting": endlesslisting,
    # Offers machine listings in FEAT, then refuses MLSD: to be listed by LIST instead.
    "mlsdrefused": canned({
        b"FEAT": b"211-Features:\r\n MLST type*;size*;modify*;\r\n211 End\r\n",
        b"MLSD": b"500 MLSD not understood\r\n",
        b"LIST": listing(unix_line(b"sub", 512, folder=True) + unix_line(b"a.txt"))}),
    "listingthenbye": listingthenbye,
    # Passive replies with EPSV refused: PASV naming 127.0.0.9, a host this server is not;
    # PASV with numbers out of range and too few of them. EPSV naming a dead port.
    "pasvforeign": passive_session(None, lambda p: b"227 Entering Passive Mode (127,0,0,9,%d,%d)\r\n" % (p >> 8, p & 255)),
    "pasvgarbled": passive_session(None, lambda p: b"227 Entering Passive Mode (127,0,0,1,%d)\r\n" % (p + 1000)),
    "epsvdeadport": passive_session(lambda p: b"229 Entering Extended Passive Mode (|||1|)\r\n", None),
    # EPSV in EPRT's form, naming 127.0.0.9 rather than this server.
    "epsvforeign": passive_session(lambda p: b"229 Entering Extended Passive Mode (|1|127.0.0.9|%d|)\r\n" % p, None),
    # Hostile trees: names that must not reach the disk, a lying listing, and a sink that
    # takes every upload into an empty folder.
    "traversal": tree_session({"/": lambda s: TRAVERSAL_ROOT}),
    "liar": tree_session({"/": liar_root, "/sub": lambda s: unix_line(b"inner.txt") + unix_line(b"ghost.txt"),
                          "/locked": lambda s: unix_line(b"secret.txt")},
                         retr=lambda name: None if name == b"refused.bin" else b"data of " + name, locked=("/locked",)),
    "sink": tree_session({"/": lambda s: b""}),
}


# A server that folds letter case, as IIS or one on a Windows volume: a name finds the
# entry that differs from it in case alone, and a file stored over one keeps the old name.
# Every session starts from the same tree, kept in memory as path -> bytes (None: folder).
FOLDCASE_TREE = {"/": None, "/Index.html": b"old index", "/Images": None, "/Images/Logo.gif": b"old logo",
                 "/Images/stale.gif": b"stale", "/old.txt": b"old"}


def foldcase(conn):
    tree = dict(FOLDCASE_TREE)

    def resolve(state, line):
        """The path the command's argument names, each step in the case of the entry it finds."""
        arg = line.split(b" ", 1)[1].rstrip(b"\r\n").decode("latin-1")
        path = "/"
        for part in posixpath.normpath(posixpath.join(state["cwd"], arg)).split("/"):
            if part:
                child = posixpath.join(path, part)
                path = next((p for p in tree if p.lower() == child.lower()), child)
        return path

    def children(folder):
        return [p for p in tree if p != "/" and posixpath.dirname(p) == folder]

    def is_folder(path):
        return path in tree and tree[path] is None

    def cwd(c, line, state):
        path = resolve(state, line)
        if not is_folder(path):
            return b"550 No such folder\r\n"
        state["cwd"] = path
        return b"250 Folder changed\r\n"

    def store(c, line, state):
        path = resolve(state, line)
        if is_folder(path) or not is_folder(posixpath.dirname(path)):
            return b"553 Not allowed\r\n"
        c.sendall(b"150 Send it\r\n")
        data = b""
        with connect_data(state) as d:
            while True:
                piece = d.recv(65536)
                if not piece:
                    break
                data += piece
        tree[path] = data
        return b"226 Stored\r\n"

    def dele(c, line, state):
        path = resolve(state, line)
        if path not in tree or is_folder(path):
            return b"550 No such file\r\n"
        del tree[path]
        return b"250 Deleted\r\n"

    def rmd(c, line, state):
        path = resolve(state, line)
        if not is_folder(path) or path == "/" or children(path):
            return b"550 Cannot remove\r\n"
        del tree[path]
        return b"250 Removed\r\n"

    def mkd(c, line, state):
        path = resolve(state, line)
        if path in tree or not is_folder(posixpath.dirname(path)):
            return b"550 Exists\r\n"
        tree[path] = None
        return b'257 "%s" created\r\n' % path.encode("latin-1")

    def list_(c, line, state):
        text = b"".join(unix_line(posixpath.basename(p).encode("latin-1"), 512 if tree[p] is None else len(tree[p]),
                                  folder=tree[p] is None) for p in sorted(children(state["cwd"])))
        return listing(b"total 9\r\n" + text)(c, line, state)

    command_loop(conn, {
        b"CWD": cwd, b"STOR": store, b"DELE": dele, b"RMD": rmd, b"MKD": mkd, b"LIST": list_,
        b"PWD": lambda c, l, s: b'257 "%s" is current\r\n' % s["cwd"].encode("latin-1"), b"SITE": b"200 Done\r\n"})


SCENARIOS["foldcase"] = foldcase


# ---- A slow server of a real folder ----

SLOW_FILE_SECONDS = 0.5


HANGING_FOLDER = "hanging"


def hanging_listing(c, state):
    """A listing that never comes: the data connection stays open and silent until the
    client closes it or sends something (ABOR) on the control connection."""
    c.sendall(b"150 Here comes the listing, some day\r\n")
    with connect_data(state) as d:
        select.select([c, d], [], [], 600)
    return b"426 Listing abandoned\r\n"


SILENT_FOLDER = "silent"


def silent_listing(c, state):
    """Not even a first reply to LIST, until the client sends something (ABOR)."""
    select.select([c], [], [], 600)
    return b"426 Listing abandoned\r\n"


def slowdisk(conn):
    """Serves the host folder named by the user name (an absolute path below /tmp) as its
    root, case kept apart, and takes SLOW_FILE_SECONDS over every RETR and STOR: a job
    then runs long enough for the window to be used meanwhile. Entries are listed sorted;
    a folder named HANGING_FOLDER is never listed, and one named
    SILENT_FOLDER never even answered."""
    root = [None]

    def user(c, line, state):
        path = os.path.realpath(line.split(b" ", 1)[1].rstrip(b"\r\n").decode("latin-1"))
        if not path.startswith("/tmp/") or not os.path.isdir(path):
            return b"530 No such root\r\n"
        root[0] = path
        return b"331 Password please\r\n"

    def virtual(state, line):
        arg = line.split(b" ", 1)[1].rstrip(b"\r\n").decode("latin-1") if b" " in line.strip() else ""
        return posixpath.normpath(posixpath.join(state["cwd"], arg))

    def real(path):
        return root[0] + ("" if path == "/" else path)

    def cwd(c, line, state):
        path = virtual(state, line)
        if root[0] is None or not os.path.isdir(real(path)):
            return b"550 No such folder\r\n"
        state["cwd"] = path
        return b"250 Folder changed\r\n"

    def list_(c, line, state):
        folder = real(state["cwd"])
        if os.path.basename(folder) == HANGING_FOLDER:
            return hanging_listing(c, state)
        if os.path.basename(folder) == SILENT_FOLDER:
            return silent_listing(c, state)
        text = b""
        for name in sorted(os.listdir(folder)):
            full = os.path.join(folder, name)
            is_dir = os.path.isdir(full)
            text += unix_line(name.encode("latin-1"), 512 if is_dir else os.path.getsize(full), folder=is_dir)
        return listing(b"total 9\r\n" + text)(c, line, state)

    def retr(c, line, state):
        path = real(virtual(state, line))
        if not os.path.isfile(path):
            return b"550 No such file\r\n"
        time.sleep(SLOW_FILE_SECONDS)
        with open(path, "rb") as f:
            return send_data(c, state, f.read(), b"226 Transfer complete\r\n")

    def stor(c, line, state):
        path = real(virtual(state, line))
        if not os.path.isdir(os.path.dirname(path)) or os.path.isdir(path):
            return b"553 Not allowed\r\n"
        c.sendall(b"150 Send it\r\n")
        data = b""
        with connect_data(state) as d:
            while True:
                piece = d.recv(65536)
                if not piece:
                    break
                data += piece
        time.sleep(SLOW_FILE_SECONDS)
        with open(path, "wb") as f:
            f.write(data)
        return b"226 Stored\r\n"

    def change(action, ok):
        def handler(c, line, state):
            try:
                action(real(virtual(state, line)))
            except OSError:
                return b"550 Refused\r\n"
            return ok
        return handler

    command_loop(conn, {
        b"USER": user, b"CWD": cwd, b"LIST": list_, b"RETR": retr, b"STOR": stor,
        b"CDUP": lambda c, l, s: cwd(c, b"CWD ..\r\n", s),
        b"PWD": lambda c, l, s: b'257 "%s" is current\r\n' % s["cwd"].encode("latin-1"),
        b"MKD": change(os.mkdir, b"257 Created\r\n"), b"DELE": change(os.remove, b"250 Deleted\r\n"),
        b"RMD": change(os.rmdir, b"250 Removed\r\n"), b"SITE": b"200 Done\r\n"})


SCENARIOS["slowdisk"] = slowdisk


# ---- Transfers that end oddly ----

def no_preliminary(conn):
    """Never sends 150: RETR sends its 3,000 bytes and then 226; LIST answers 226 first
    and only then sends its listing."""
    def retr(c, line, state):
        with connect_data(state) as d:
            d.sendall(pattern(3000))
        return b"226 Transfer complete\r\n"

    def list_(c, line, state):
        c.sendall(b"226 Listing sent\r\n")
        with connect_data(state) as d:
            d.sendall(unix_line(b"p.bin", 3000))
    command_loop(conn, {b"RETR": retr, b"LIST": list_})


SCENARIOS.update({
    # A final reply in place of the preliminary one; 5,000 of 10,000 listed bytes
    # confirmed with 226 as if whole.
    "no150": no_preliminary,
    "shortclose": canned({b"RETR": lambda c, l, s: send_data(c, s, pattern(5000), b"226 Transfer complete\r\n")}),
})


# ---- Transfers that go on from an offset ----

BIG_OFFSET = 5000000000  # past 4 GiB: 5,000,000,010 bytes listed, only the last 10 sent


def restart_session(conn):
    """REST <n> is taken for the next RETR or STOR. cut.bin (10,000 bytes) breaks after 5,000
    when sent from the start and is sent from n otherwise; big.iso is sent only from
    BIG_OFFSET, and SIZE says BIG_OFFSET bytes of it are here. STOR tells what it took."""
    def rest(c, line, state):
        state["rest"] = int(line.split(b" ", 1)[1])
        return b"350 Restarting at %d\r\n" % state["rest"]

    def retr(c, line, state):
        name, offset = line.split(b" ", 1)[1].strip(), state.pop("rest", 0)
        if name == b"cut.bin" and offset == 0:
            return send_data(c, state, pattern(5000), b"426 Connection closed; transfer aborted\r\n")
        if name == b"cut.bin" and offset < 10000:
            return send_data(c, state, pattern(10000)[offset:], b"226 Transfer complete\r\n")
        if name == b"big.iso" and offset == BIG_OFFSET:
            return send_data(c, state, pattern(10, BIG_OFFSET), b"226 Transfer complete\r\n")
        return b"550 Not from that offset\r\n"

    def stor(c, line, state):
        offset, count = state.pop("rest", 0), 0
        c.sendall(b"150 Send it\r\n")
        with connect_data(state) as d:
            while True:
                piece = d.recv(65536)
                if not piece:
                    break
                count += len(piece)
        return b"226 Stored %d bytes from %d\r\n" % (count, offset)
    command_loop(conn, {b"REST": rest, b"RETR": retr, b"STOR": stor,
                        b"FEAT": b"211-Features:\r\n REST STREAM\r\n SIZE\r\n211 End\r\n",
                        b"SIZE": lambda c, l, s: b"213 %d\r\n" % BIG_OFFSET if l.strip().endswith(b"big.iso")
                        else b"550 No such file\r\n"})


SCENARIOS.update({
    "restart": restart_session,
    # REST refused: the whole file (cut.bin's 10,000 bytes) comes instead.
    "norest": canned({b"REST": b"502 REST not implemented\r\n",
                      b"RETR": lambda c, l, s: send_data(c, s, pattern(10000), b"226 Transfer complete\r\n")}),
})


# ---- TLS that goes wrong (scenarios given only with --tls-cert) ----

def tls_context():
    ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    ctx.load_cert_chain(TLS_CERT)
    return ctx


def tls_garbage(conn):
    """Agrees to AUTH TLS, then sends text where the handshake belongs."""
    def auth(c, line, state):
        c.sendall(b"234 Go ahead\r\n")
        return b"this is not a TLS handshake at all\r\n" * 20
    command_loop(conn, {b"AUTH": auth})


def tls_session(conn, list_):
    """A server with TLS (AUTH TLS first) whose LIST is list_(c, line, state, ctx)."""
    conn.sendall(b"220 scripted server ready\r\n")
    line = read_line(conn)
    record(line or b"", {})
    if not line or not line.upper().startswith(b"AUTH TLS"):
        return
    conn.sendall(b"234 Go ahead\r\n")
    ctx = tls_context()
    secure = ctx.wrap_socket(conn, server_side=True)
    command_loop(secure, {b"PBSZ": b"200 PBSZ=0\r\n", b"PROT": b"200 Protection set\r\n",
                          b"LIST": lambda c, l, s: list_(c, l, s, ctx)}, greeting=b"")


def tls_drop(conn):
    """The listing's TLS stream is cut off midway, then called whole."""
    def list_(c, line, state, ctx):
        c.sendall(b"150 Here comes the listing\r\n")
        d = ctx.wrap_socket(connect_data(state), server_side=True)
        d.sendall(b"".join(unix_line(b"f%03d" % i) for i in range(100)))
        d.close()  # no close_notify: the stream is cut, not ended
        return b"226 Listing sent\r\n"
    tls_session(conn, list_)


def tls_swap(conn):
    """The listing comes over TLS with another certificate than the control connection's."""
    def list_(c, line, state, ctx):
        c.sendall(b"150 Here comes the listing\r\n")
        other = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        other.load_cert_chain(TLS_OTHER_CERT)
        try:
            d = other.wrap_socket(connect_data(state), server_side=True)
            d.sendall(unix_line(b"swapped.txt"))
            d.unwrap().close()
        except (OSError, ValueError):
            pass  # the client refused it
        return b"226 Listing sent\r\n"
    tls_session(conn, list_)


TLS_SCENARIOS = {
    # AUTH TLS refused (the usual 500 of a server without TLS)
    "authrefused": canned({}),
    "tlsgarbage": tls_garbage,
    "tlsdrop": tls_drop,
    "tlsswap": tls_swap,
}


def serve(listener, name, handler):
    while True:
        conn, _ = listener.accept()

        def run(c=conn):
            _session.scenario = name
            try:
                handler(c)
            except OSError:
                pass
            finally:
                c.close()
        threading.Thread(target=run, daemon=True).start()


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--ports-file", required=True)
    ap.add_argument("--record-dir")
    ap.add_argument("--tls-cert")
    ap.add_argument("--tls-other-cert")
    args = ap.parse_args()
    global RECORD_DIR, TLS_CERT, TLS_OTHER_CERT
    RECORD_DIR = args.record_dir
    TLS_CERT = args.tls_cert
    TLS_OTHER_CERT = args.tls_other_cert
    if TLS_CERT:
        SCENARIOS.update(TLS_SCENARIOS)
    ports = []
    for name, handler in SCENARIOS.items():
        s = socket.socket()
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        s.bind(("127.0.0.1", 0))
        s.listen(16)
        ports.append("%s=%d" % (name, s.getsockname()[1]))
        threading.Thread(target=serve, args=(s, name, handler), daemon=True).start()
    tmp = args.ports_file + ".tmp"
    with open(tmp, "w") as f:
        f.write(",".join(ports))
    os.rename(tmp, args.ports_file)
    while True:
        time.sleep(3600)


if __name__ == "__main__":
    main()
