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


SCENARIOS = {
    "greeting3": greeting3,
    "onebyte": onebyte,
    "longline": longline,
    "floodline": floodline,
    "closeatonce": closeatonce,
    "silentafter": silentafter,
    "spacedcontinuation": spacedcontinuation,
}


def serve(listener, handler):
    while True:
        conn, _ = listener.accept()

        def run(c=conn):
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
    args = ap.parse_args()
    ports = []
    for name, handler in SCENARIOS.items():
        s = socket.socket()
        s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        s.bind(("127.0.0.1", 0))
        s.listen(16)
        ports.append("%s=%d" % (name, s.getsockname()[1]))
        threading.Thread(target=serve, args=(s, handler), daemon=True).start()
    tmp = args.ports_file + ".tmp"
    with open(tmp, "w") as f:
        f.write(",".join(ports))
    import os
    os.rename(tmp, args.ports_file)
    while True:
        time.sleep(3600)


if __name__ == "__main__":
    main()
