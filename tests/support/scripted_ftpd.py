#!/usr/bin/python3
"""A deliberately misbehaving FTP server for the cases real servers never produce.

Every scenario listens on a port of its own on 127.0.0.1; the ports are written as
"name=port,name=port" to --ports-file once all are listening. Each connection is
served on its own thread, so a test may connect to a scenario as often as it likes.
Add a scenario by writing a function and listing it in SCENARIOS.
"""
import argparse
import socket
import threading
import time


def read_line(conn):
    data = b""
    while not data.endswith(b"\n"):
        b = conn.recv(1)
        if not b:
            return None
        data += b
    return data


def answer_commands(conn, reply=lambda cmd: b"200 OK " + cmd.split(b" ")[0].strip() + b"\r\n"):
    """Answers every command with a one-line reply until QUIT or close."""
    while True:
        line = read_line(conn)
        if line is None:
            return
        if line.upper().startswith(b"QUIT"):
            conn.sendall(b"221 Bye\r\n")
            return
        if line.upper() == CALM_USER:
            return calm_session(conn)
        conn.sendall(reply(line))


def greeting3(conn):
    conn.sendall(b"220-Welcome to the scripted server\r\n220-Second line of the greeting\r\n220 Third line\r\n")
    answer_commands(conn)


def onebyte(conn):
    """Every reply trickles in one byte at a time, with a pause after each."""
    def trickle(data):
        for i in range(len(data)):
            conn.sendall(data[i:i + 1])
            time.sleep(0.002)
    trickle(b"220-slow\r\n220 slow greeting\r\n")
    while True:
        line = read_line(conn)
        if line is None:
            return
        trickle(b"250-piece by piece\r\n250 " + line.strip() + b" done\r\n")


def longline(conn):
    conn.sendall(b"220 " + b"x" * 2000 + b"\r\n")
    answer_commands(conn, lambda cmd: b"200 " + b"y" * 2000 + b"\r\n")


def floodline(conn):
    """A reply line far longer than any buffer: 100 KB before its line end."""
    conn.sendall(b"220 ready\r\n")
    answer_commands(conn, lambda cmd: b"200 " + b"z" * 100000 + b"\r\n")


def closeatonce(conn):
    pass


def silentafter(conn):
    """Greets, then never answers anything (for time limits)."""
    conn.sendall(b"220 ready, then silence\r\n")
    while read_line(conn) is not None:
        pass


def spacedcontinuation(conn):
    """A continuation line without a code ends the reply early."""
    conn.sendall(b"220-first\r\n   just text here\r\n220 the real end\r\n")
    answer_commands(conn)


# --- Scenarios of the FTP engine's data connections and login --------------------------

def parse_port(line):
    nums = [int(x) for x in line.split(b" ", 1)[1].strip().split(b",")]
    return "%d.%d.%d.%d" % tuple(nums[:4]), nums[4] * 256 + nums[5]


def pattern(count, start=0):
    """count bytes of a pattern that shows where a piece came from."""
    return bytes((start + i) % 251 for i in range(count))


def command_loop(conn, handlers, greeting=b"220 scripted server ready\r\n", reader=None):
    """A plain session: every verb gets a sensible reply unless a handler takes it.
    A handler gets (conn, line, state) and returns the reply bytes, or None when it
    replied itself. state["port"] holds the address of the last PORT; after EPSV or PASV,
    state["listener"] the socket where the client's data connection will arrive."""
    state = {"cwd": "/"}
    defaults = {
        b"USER": b"331 Password please\r\n", b"PASS": b"230 Logged in\r\n",
        b"TYPE": b"200 Type set\r\n", b"PWD": b"257 \"/\" is the current folder\r\n",
        b"CWD": b"250 Folder changed\r\n", b"ABOR": b"226 Nothing to abort\r\n",
        b"NOOP": b"200 Zzz\r\n",
    }
    conn.sendall(greeting)
    while True:
        line = reader(conn, state) if reader else read_line(conn)
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
            old = state.pop("listener", None)
            if old:
                old.close()
        if verb in handlers:
            reply = handlers[verb](conn, line, state)
        elif verb == b"PORT":
            reply = b"200 PORT ok\r\n"
        elif verb in (b"EPSV", b"PASV"):
            port = listen_passive(state)
            reply = (b"229 Entering Extended Passive Mode (|||%d|)\r\n" % port if verb == b"EPSV" else
                     b"227 Entering Passive Mode (127,0,0,1,%d,%d)\r\n" % (port >> 8, port & 255))
        else:
            reply = defaults.get(verb, b"500 Unknown command\r\n")
        if reply:
            conn.sendall(reply)


def listen_passive(state):
    """A listener for the next data connection of a passive client; answers its port."""
    old = state.pop("listener", None)
    if old:
        old.close()
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


def user230pass503(conn):
    """USER is answered 230 as if no password were needed; PASS is then refused."""
    command_loop(conn, {b"USER": lambda c, l, s: b"230 No password needed\r\n",
                        b"PASS": lambda c, l, s: b"503 Already logged in\r\n"})


def proxycheck(conn):
    """A proxy that takes only USER anna@real.host.example and PASS secret."""
    def user(c, line, state):
        state["user_ok"] = line == b"USER anna@real.host.example\r\n"
        return b"331 Password for the remote host\r\n" if state["user_ok"] else b"530 Not user@host\r\n"

    def password(c, line, state):
        ok = state.get("user_ok") and line == b"PASS secret\r\n"
        return b"230 Logged in through the proxy\r\n" if ok else b"530 Login incorrect\r\n"
    command_loop(conn, {b"USER": user, b"PASS": password})


def refuseretr(conn):
    """PORT is accepted, RETR refused: no data connection ever comes."""
    command_loop(conn, {b"RETR": lambda c, l, s: b"550 No such file\r\n",
                        b"STOR": lambda c, l, s: b"553 Not allowed\r\n"})


def noconnect(conn):
    """RETR is accepted with 150, but the data port is never connected."""
    command_loop(conn, {b"RETR": lambda c, l, s: b"150 Opening data connection\r\n",
                        b"LIST": lambda c, l, s: b"150 Here comes the listing\r\n"})


def midclose(conn):
    """Sends 5,000 of the 10,000 bytes announced, closes the data connection, then 426."""
    def retr(c, line, state):
        c.sendall(b"150 Opening data connection (10000 bytes)\r\n")
        d = connect_data(state)
        d.sendall(pattern(5000))
        d.close()
        return b"426 Connection closed; transfer aborted\r\n"

    def list_(c, line, state):
        c.sendall(b"150 Here comes the listing\r\n")
        d = connect_data(state)
        d.sendall(b"-rw-r--r-- 1 u g 10 Jan 01 2020 partial.txt\r\n")
        d.close()
        return b"451 Listing cut short\r\n"
    command_loop(conn, {b"RETR": retr, b"LIST": list_})


def stall(conn):
    """Sends 5,000 bytes and then nothing, keeping the data connection open."""
    def retr(c, line, state):
        c.sendall(b"150 Opening data connection\r\n")
        state["data"] = connect_data(state)
        state["data"].sendall(pattern(5000))
        return None

    def abor(c, line, state):
        if "data" in state:
            state.pop("data").close()
            c.sendall(b"426 Transfer aborted\r\n")
        return b"226 ABOR successful\r\n"
    command_loop(conn, {b"RETR": retr, b"ABOR": abor})


SIOCATMARK = 0x8905


def read_line_noting_mark(conn, state):
    """read_line, with urgent data kept in band and the offset of the urgent mark in the
    line recorded in state["mark"] (None when the line carried none)."""
    import fcntl
    import struct
    data = b""
    state["mark"] = None
    while not data.endswith(b"\n"):
        at = struct.unpack("i", fcntl.ioctl(conn, SIOCATMARK, b"\0\0\0\0"))[0]
        if at and state["mark"] is None:
            state["mark"] = len(data)
        b = conn.recv(1)
        if not b:
            return None
        data += b
    return data


def abortcheck(conn):
    """Streams data until the client stops, then checks the abort sequence: IAC IP IAC
    sent as urgent data with the mark on the second IAC, then DM, then ABOR. Answers 426
    for the transfer and then 226 when the sequence was exact, 500 with what it saw."""
    conn.setsockopt(socket.SOL_SOCKET, socket.SO_OOBINLINE, 1)
    def stream(d):
        sent = 0
        try:
            while sent < 64 * 1024 * 1024:
                d.sendall(pattern(8192, sent))
                sent += 8192
        except OSError:
            pass
        finally:
            d.close()

    def retr(c, line, state):
        c.sendall(b"150 Opening data connection\r\n")
        d = connect_data(state)
        threading.Thread(target=stream, args=(d,), daemon=True).start()
        return None

    def abor(c, line, state):
        if line == b"\xff\xf4\xff\xf2ABOR\r\n" and state["mark"] == 2:
            verdict = b"226 ABOR sequence ok\r\n"
        else:
            verdict = ("500 bad abort sequence %s mark %s\r\n" % (line.hex(), state["mark"])).encode()
        c.sendall(b"426 Transfer aborted\r\n")
        return verdict
    command_loop(conn, {b"RETR": retr, b"ABOR": abor}, reader=read_line_noting_mark)


def portthief(conn):
    """Before the server's own data connection, a stranger (127.0.0.2) connects to the
    client's port and offers data of its own (for LIST, a listing of its own)."""
    def steal(stolen, genuine):
        def handler(c, line, state):
            c.sendall(b"150 Opening data connection\r\n")
            thief = connect_data(state, source="127.0.0.2")
            try:
                thief.sendall(stolen)
                thief.settimeout(10)
                thief.recv(1)  # the client turns it away
            except OSError:
                pass
            thief.close()
            d = connect_data(state)
            d.sendall(genuine)
            d.close()
            return b"226 Transfer complete\r\n"
        return handler
    command_loop(conn, {b"RETR": steal(b"STOLEN DATA\n", b"GENUINE DATA\n" * 100),
                        b"LIST": steal(b"total 1\r\n" + unix_line(b"stolen.txt"),
                                       b"total 1\r\n" + unix_line(b"genuine.txt"))})


def listing_lines(count):
    return b"".join(b"-rw-r--r-- 1 user group 1234 Jan 01 2020 file%07d.txt\r\n" % i for i in range(count))


def hugelisting(conn):
    """A listing of 1,400,000 bytes, past what a client keeps of one listing."""
    def list_(c, line, state):
        c.sendall(b"150 Here comes a long listing\r\n")
        d = connect_data(state)
        try:
            d.sendall(listing_lines(25000))
        except OSError:
            pass  # the client stopped reading
        d.close()
        return b"226 Listing sent\r\n"
    command_loop(conn, {b"LIST": list_})


def floodpwd(conn):
    """Answers PWD with a 100 KB line; every other command normally."""
    command_loop(conn, {b"PWD": lambda c, l, s: b"257 \"/" + b"d" * 100000 + b"\" is current\r\n"})


def multilinelogin(conn):
    """Multi-line replies whose body holds free text, an indented line that starts with
    the code, and a line of another code: only "230 " at the start of a line ends them."""
    command_loop(conn, {
        b"PASS": lambda c, l, s: (b"230-Welcome\r\n Please note:\r\n 230 indented, not the end\r\n"
                                  b"free text line\r\n200 another code in the body\r\n230 Logged in\r\n"),
        b"CWD": lambda c, l, s: b"250-Folder notes\r\n   none today\r\n250 Folder changed\r\n"},
        greeting=b"220-Hello\r\nThis server sends long greetings\r\n220 Ready\r\n")


def dripreply(conn):
    """Greets at once, then answers every command one byte every two seconds: each byte
    comes well within the time limit, the reply never within any reasonable time."""
    conn.sendall(b"220 ready\r\n")
    while True:
        line = read_line(conn)
        if line is None:
            return
        if line.upper() == CALM_USER:
            return calm_session(conn)
        for b in b"200 dripping along very slowly\r\n":
            time.sleep(2)
            conn.sendall(bytes([b]))


def endlessgreeting(conn):
    """A greeting whose continuation lines never end."""
    while True:
        conn.sendall(b"220-and there is more\r\n" * 100)


def refuse425(conn):
    """Accepts RETR and LIST with 150, then gives up on the data connection at once."""
    def refuse(c, line, state):
        return b"150 Opening data connection\r\n425 Can't open data connection\r\n"
    command_loop(conn, {b"RETR": refuse, b"LIST": refuse})


def listingthenbye(conn):
    """Lists one folder and one file; the next listing or CWD gets 421 and the
    connection closes."""
    def list_(c, line, state):
        if state.get("listed"):
            c.sendall(b"421 Timeout, closing control connection\r\n")
            raise OSError("closed")
        state["listed"] = True
        c.sendall(b"150 Here comes the listing\r\n")
        d = connect_data(state)
        d.sendall(b"drwxr-xr-x 2 u g 512 Jan 01 2020 sub\r\n-rw-r--r-- 1 u g 10 Jan 01 2020 a.txt\r\n")
        d.close()
        return b"226 Listing sent\r\n"

    def cwd(c, line, state):
        c.sendall(b"421 Timeout, closing control connection\r\n")
        raise OSError("closed")
    command_loop(conn, {b"LIST": list_, b"CWD": lambda c, l, s: b"250 ok\r\n" if not s.get("listed") else cwd(c, l, s)})


def passive_session(conn, epsv, pasv):
    """Passive transfers from a listener of this server's own: epsv and pasv give the
    replies to EPSV and PASV from the listener's port (None: "500" refused). RETR sends
    the pattern of 3000 bytes; LIST one file. Connections are counted in state."""
    def ask(reply):
        def handler(c, line, state):
            if reply is None:
                return b"500 Not understood\r\n"
            return reply(listen_passive(state))
        return handler

    def transfer(payload):
        def handler(c, line, state):
            l = state.get("listener")
            if not l:
                return b"425 Use PASV first\r\n"
            c.sendall(b"150 Here it comes\r\n")
            try:
                d, _ = l.accept()
            except OSError:
                return b"425 No data connection\r\n"
            finally:
                l.close()
                state.pop("listener", None)
            d.sendall(payload)
            d.close()
            return b"226 Done\r\n"
        return handler
    command_loop(conn, {b"EPSV": ask(epsv), b"PASV": ask(pasv),
                        b"RETR": transfer(pattern(3000)),
                        b"LIST": transfer(b"-rw-r--r-- 1 u g 3000 Jan 01 2020 p.bin\r\n")})


def pasvforeign(conn):
    """EPSV refused; PASV names 127.0.0.9, a host this server is not: a client that
    believes it connects there and finds nobody."""
    passive_session(conn, None, lambda p: b"227 Entering Passive Mode (127,0,0,9,%d,%d)\r\n" % (p >> 8, p & 255))


def pasvgarbled(conn):
    """EPSV refused; PASV answered with numbers out of range and too few of them."""
    passive_session(conn, None, lambda p: b"227 Entering Passive Mode (127,0,0,1,%d)\r\n" % (p + 1000))


def epsvdeadport(conn):
    """EPSV names a port where nothing listens (the listener is closed at once)."""
    def dead(p):
        return b"229 Entering Extended Passive Mode (|||%d|)\r\n" % p
    def epsv(c, line, state):
        l = socket.socket()
        l.bind(("127.0.0.1", 0))
        port = l.getsockname()[1]
        l.close()
        return dead(port)
    command_loop(conn, {b"EPSV": epsv, b"RETR": lambda c, l, s: b"425 Use EPSV first\r\n"})


# --- Hostile servers of the end-to-end suite --------------------------------------------
# Every command line a command_loop session reads is recorded, with the session's folder,
# in <--record-dir>/<scenario>.log as "folder|line". A session that logs in as "calm"
# gets a plain, well-behaved server instead of the scenario: the suite reconnects so to
# see that the program is still usable after what the scenario did.

CALM_USER = b"USER CALM\r\n"
RECORD_DIR = None
_session = threading.local()
_record_lock = threading.Lock()


def record(line, state):
    if RECORD_DIR is None:
        return
    with _record_lock:
        with open("%s/%s.log" % (RECORD_DIR, getattr(_session, "scenario", "unknown")), "ab") as f:
            f.write(state.get("cwd", "/").encode() + b"|" + line.rstrip(b"\r\n") + b"\n")


def send_listing(c, state, text, final=b"226 Listing sent\r\n"):
    c.sendall(b"150 Here comes the listing\r\n")
    d = connect_data(state)
    try:
        d.sendall(text)
    except OSError:
        pass  # the client stopped reading
    d.close()
    return final


def unix_line(name, size=10, folder=False):
    return (b"drwxr-xr-x 2" if folder else b"-rw-r--r-- 1") + b" u g %d Jan 01 2020 " % size + name + b"\r\n"


CALM_HANDLERS = {b"LIST": lambda c, l, s: send_listing(c, s, b"total 1\r\n" + unix_line(b"calm.txt"))}


def calm_session(conn):
    conn.sendall(b"331 Password please\r\n")
    command_loop(conn, CALM_HANDLERS, greeting=b"")


def store(c, line, state):
    c.sendall(b"150 Send it\r\n")
    d = connect_data(state)
    while d.recv(65536):
        pass
    d.close()
    return b"226 Stored\r\n"


def tree_session(conn, listings, retr=lambda name: b"data of " + name, locked=()):
    """A server of folders: listings maps a folder ("/", "/sub") to a function of the
    session state giving its listing; CWD into a folder of locked, or one not listed,
    is refused; RETR sends what retr gives for the name (None: refused)."""
    def cwd(c, line, state):
        arg = line[4:].rstrip(b"\r\n").decode("latin-1")
        path = arg if arg.startswith("/") else state["cwd"].rstrip("/") + "/" + arg
        parts = []
        for p in path.split("/"):
            if p == "..":
                parts = parts[:-1]
            elif p and p != ".":
                parts.append(p)
        path = "/" + "/".join(parts)
        if path in locked or path not in listings:
            return b"550 Permission denied\r\n"
        state["cwd"] = path
        return b"250 Folder changed\r\n"

    def retr_(c, line, state):
        data = retr(line[5:].rstrip(b"\r\n"))
        if data is None:
            return b"550 Permission denied\r\n"
        c.sendall(b"150 Opening data connection\r\n")
        d = connect_data(state)
        d.sendall(data)
        d.close()
        return b"226 Transfer complete\r\n"
    command_loop(conn, {
        b"CWD": cwd, b"RETR": retr_, b"STOR": store,
        b"PWD": lambda c, l, s: b'257 "%s" is current\r\n' % s["cwd"].encode(),
        b"LIST": lambda c, l, s: send_listing(c, s, b"total 9\r\n" + listings[s["cwd"]](s)),
        b"MKD": lambda c, l, s: b"257 Created\r\n", b"DELE": lambda c, l, s: b"250 Deleted\r\n",
        b"RMD": lambda c, l, s: b"250 Removed\r\n", b"SITE": lambda c, l, s: b"200 Done\r\n"})


SJIS_5C_NAME = b"\x95\x5c\x8e\xa6.txt"  # its second byte is a backslash


def traversal(conn):
    """Lists names that climb out of the folder or name another drive, beside a plain one,
    a Shift-JIS one whose second byte is 0x5C and one too long for a Windows path; sends
    anything asked for."""
    names = (b"../x", b"..\\x", b"C:\\x", b"a/b", b"/abs", SJIS_5C_NAME, b"ok.txt", b"L" * 300 + b".txt")
    root = b"".join(unix_line(n) for n in names)
    root += unix_line(b"..\\up", folder=True) + unix_line(b"../up", folder=True)
    tree_session(conn, {"/": lambda s: root})


def liar(conn):
    """Listings that lie: a file RETR refuses, a file far shorter than listed, a folder
    CWD refuses, and a name that changes on every LIST."""
    def root(state):
        state["lists"] = state.get("lists", 0) + 1
        return (unix_line(b"keep.txt") + unix_line(b"extra.txt") + unix_line(b"refused.bin") +
                unix_line(b"short.bin", 100000) + unix_line(b"drift%d.txt" % state["lists"]) +
                unix_line(b"sub", folder=True) + unix_line(b"locked", folder=True))
    tree_session(conn, {"/": root, "/sub": lambda s: unix_line(b"inner.txt") + unix_line(b"ghost.txt"),
                        "/locked": lambda s: unix_line(b"secret.txt")},
                 retr=lambda name: None if name == b"refused.bin" else b"data of " + name, locked=("/locked",))


def sink(conn):
    """Takes every upload into an empty folder."""
    tree_session(conn, {"/": lambda s: b""})


def midline(conn):
    """The listing's data connection closes in the middle of a line; then 426."""
    command_loop(conn, {b"LIST": lambda c, l, s: send_listing(
        c, s, unix_line(b"whole.txt") + b"-rw-r--r-- 1 u g 10 Jan 01 2020 cu", b"426 Connection lost\r\n")})


def endlesslisting(conn):
    """A listing that never ends (VAKO_HOSTILE_LISTING_BYTES, if set, ends it there):
    one entry, then long lines that are no entries, so that what a client keeps of it
    costs little to show."""
    import os
    limit = int(os.environ.get("VAKO_HOSTILE_LISTING_BYTES", 1 << 32))

    def list_(c, line, state):
        c.sendall(b"150 Here comes a long listing\r\n")
        d = connect_data(state)
        junk = (b"#" * 1022 + b"\r\n") * 64
        sent = 0
        try:
            d.sendall(b"total 1\r\n" + unix_line(b"first.txt"))
            while sent < limit:
                d.sendall(junk[:limit - sent])
                sent += len(junk)
        except OSError:
            pass  # the client stopped reading
        d.close()
        return b"226 Listing sent\r\n"
    command_loop(conn, {b"LIST": list_})


SCENARIOS = {
    "greeting3": greeting3,
    "onebyte": onebyte,
    "longline": longline,
    "floodline": floodline,
    "closeatonce": closeatonce,
    "silentafter": silentafter,
    "spacedcontinuation": spacedcontinuation,
    "user230pass503": user230pass503,
    "proxycheck": proxycheck,
    "refuseretr": refuseretr,
    "noconnect": noconnect,
    "midclose": midclose,
    "stall": stall,
    "abortcheck": abortcheck,
    "portthief": portthief,
    "floodpwd": floodpwd,
    "hugelisting": hugelisting,
    "multilinelogin": multilinelogin,
    "dripreply": dripreply,
    "endlessgreeting": endlessgreeting,
    "refuse425": refuse425,
    "listingthenbye": listingthenbye,
    "pasvforeign": pasvforeign,
    "pasvgarbled": pasvgarbled,
    "epsvdeadport": epsvdeadport,
    "traversal": traversal,
    "liar": liar,
    "sink": sink,
    "midline": midline,
    "endlesslisting": endlesslisting,
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
    args = ap.parse_args()
    global RECORD_DIR
    RECORD_DIR = args.record_dir
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
    import os
    os.rename(tmp, args.ports_file)
    while True:
        time.sleep(3600)


if __name__ == "__main__":
    main()
