#!/usr/bin/python3
"""A relay between the program and a real FTP server, on loopback only, that breaks the
connections once the way a network does: the control connection (and its data connection)
or a data connection alone reset after N data bytes, or a 421 and a close after the control
connection lay idle for S seconds. Passive data connections (EPSV, PASV) are relayed too.

Tests arm it through a second port, one line per command, answered with one line:
  cut control N [refuse] | cut data N | idle S [refuse] | clear   -> "ok"
  counts -> "logins=L refused=R idle421=I sent=a,b,... received=a,b,..."
(sent: the bytes the server sent on each data connection since `clear`; received: what it
received; refuse: once the cut is made, new control connections are closed at once.)
"""
import argparse
import re
import select
import socket
import struct
import threading

LOCK = threading.Lock()
STATE = {}


def clear():
    STATE.update(cut=None, at=0, refuse=False, refusing=False, idle=0.0, moved=0,
                 logins=0, refused=0, idle421=0, sent=[], received=[])


def reset(sock):
    try:
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    except OSError:
        pass
    sock.close()


class Session:
    def __init__(self, client, server_port):
        self.client = client
        self.server = socket.create_connection(("127.0.0.1", server_port))
        self.listeners = {}  # relay listener -> server data address
        self.pairs = {}      # socket -> (peer socket, counts index, "sent" or "received")
        self.reply = b""

    def data_listener(self, port):
        listener = socket.socket()
        listener.bind(("127.0.0.1", 0))
        listener.listen(1)
        self.listeners[listener] = port
        return listener.getsockname()[1]

    def rewrite(self, line):
        m = re.match(rb"229 (.*)\(\|\|\|(\d+)\|\)", line)
        if m:
            return b"229 %s(|||%d|)\r\n" % (m.group(1), self.data_listener(int(m.group(2))))
        m = re.match(rb"227 .*?(\d+),(\d+),(\d+),(\d+),(\d+),(\d+)", line)
        if m:
            port = self.data_listener(int(m.group(5)) * 256 + int(m.group(6)))
            return b"227 Entering Passive Mode (127,0,0,1,%d,%d).\r\n" % (port >> 8, port & 255)
        return line

    def accept_data(self, listener):
        port = self.listeners.pop(listener)
        near, _ = listener.accept()
        listener.close()
        far = socket.create_connection(("127.0.0.1", port))
        with LOCK:
            STATE["sent"].append(0)
            STATE["received"].append(0)
            index = len(STATE["sent"]) - 1
        self.pairs[far] = (near, index, "sent")
        self.pairs[near] = (far, index, "received")

    def close_data(self, sock):
        peer, _, _ = self.pairs.pop(sock)
        self.pairs.pop(peer, None)
        sock.close()
        peer.close()

    def move_data(self, sock):
        peer, index, way = self.pairs[sock]
        try:
            chunk = sock.recv(65536)
        except OSError:
            chunk = b""
        if not chunk:
            self.close_data(sock)
            return True
        with LOCK:
            cut = STATE["cut"]
            left = STATE["at"] - STATE["moved"] if cut else len(chunk)
            if cut and left <= len(chunk):
                chunk = chunk[:max(left, 0)]
                STATE["cut"] = None
                STATE["refusing"] = STATE["refuse"]
            STATE["moved"] += len(chunk)
            STATE[way][index] += len(chunk)
        try:
            peer.sendall(chunk)
        except OSError:
            self.close_data(sock)
            return True
        if cut and left <= len(chunk):
            for s in list(self.pairs):
                reset(s)
            self.pairs.clear()
            if cut == "control":
                return False
        return True

    def run(self):
        try:
            self.relay()
        except OSError:
            pass
        self.close()

    def relay(self):
        quiet = 0.0
        while True:
            sockets = [self.client, self.server] + list(self.listeners) + list(self.pairs)
            readable, _, _ = select.select(sockets, [], [], 0.1)
            with LOCK:
                idle = STATE["idle"]
            quiet = 0.0 if self.client in readable else quiet + (0.1 if not readable else 0.0)
            if idle and quiet >= idle and not self.pairs:
                with LOCK:
                    STATE["idle"] = 0.0
                    STATE["idle421"] += 1
                    STATE["refusing"] = STATE["refuse"]
                self.client.sendall(b"421 Timeout.\r\n")
                return
            for sock in readable:
                if sock in self.listeners:
                    self.accept_data(sock)
                elif sock in self.pairs:
                    if not self.move_data(sock):
                        reset(self.client)
                        reset(self.server)
                        return
                elif sock is self.client:
                    chunk = self.client.recv(65536)
                    if not chunk:
                        return
                    self.server.sendall(chunk)
                elif sock is self.server:
                    chunk = self.server.recv(65536)
                    if not chunk:
                        return
                    self.reply += chunk
                    while b"\n" in self.reply:
                        line, self.reply = self.reply.split(b"\n", 1)
                        self.client.sendall(self.rewrite(line + b"\n"))

    def close(self):
        for s in [self.client, self.server] + list(self.listeners) + list(self.pairs):
            s.close()


def serve(port, server_port):
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(8)
    while True:
        client, _ = listener.accept()
        with LOCK:
            refusing = STATE["refusing"]
            STATE["refused" if refusing else "logins"] += 1
        if refusing:
            client.close()
            continue
        threading.Thread(target=lambda c=client: Session(c, server_port).run(), daemon=True).start()


def arm(port):
    listener = socket.socket()
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", port))
    listener.listen(4)
    while True:
        conn, _ = listener.accept()
        words = conn.makefile("rb").readline().decode().split()
        with LOCK:
            if words[:1] == ["counts"]:
                answer = "logins=%d refused=%d idle421=%d sent=%s received=%s" % (
                    STATE["logins"], STATE["refused"], STATE["idle421"],
                    ",".join(map(str, STATE["sent"])), ",".join(map(str, STATE["received"])))
            else:
                clear()
                if words[:1] == ["cut"]:
                    STATE.update(cut=words[1], at=int(words[2]))
                elif words[:1] == ["idle"]:
                    STATE["idle"] = float(words[1])
                STATE["refuse"] = "refuse" in words
                answer = "ok"
        conn.sendall(answer.encode() + b"\n")
        conn.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--arm-port", type=int, required=True)
    parser.add_argument("--server-port", type=int, required=True)
    args = parser.parse_args()
    clear()
    threading.Thread(target=arm, args=(args.arm_port,), daemon=True).start()
    serve(args.port, args.server_port)


if __name__ == "__main__":
    main()
