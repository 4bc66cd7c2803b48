#!/usr/bin/python3
"""Watches an FTP client's exchange with the server on the loopback device and tells
where the time goes between two moments.

  control_trace.py PORT OUT      records until SIGINT or SIGTERM into OUT (one event a line)
  control_trace.py --report OUT START END
                                 sums the time between consecutive events from START to
                                 END (seconds since the epoch) by the pair of events

Events are the client's commands (by their verb), the server's replies (by code and the
command they answer), and the opening of data connections and the end of each side's
sending on them (its FIN). The
time from a reply to the next command is the client's; from a command to its reply, the
server's and the way there and back. Needs root (a packet socket); sees each packet once,
as it leaves.
"""
import signal
import socket
import struct
import sys
from collections import defaultdict

SO_TIMESTAMPNS = 35
PACKET_OUTGOING = 4


def record(port, out_path):
    sock = socket.socket(socket.AF_PACKET, socket.SOCK_RAW, socket.ntohs(0x0003))
    sock.setsockopt(socket.SOL_SOCKET, SO_TIMESTAMPNS, 1)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 8 << 20)
    sock.bind(("lo", 0))
    stop = []
    signal.signal(signal.SIGINT, lambda *_: stop.append(1))
    signal.signal(signal.SIGTERM, lambda *_: stop.append(1))
    sock.settimeout(0.2)
    pending = {"c": b"", "s": b""}  # partial lines per direction
    data_open = {}
    announced = set()
    with open(out_path, "w") as out:
        while not stop:
            try:
                packet, ancillary, _, address = sock.recvmsg(70000, 64)
            except socket.timeout:
                continue
            except InterruptedError:
                continue
            if address[2] != PACKET_OUTGOING or len(packet) < 14 + 20:
                continue
            stamp = None
            for level, kind, value in ancillary:
                if level == socket.SOL_SOCKET and kind == SO_TIMESTAMPNS:
                    seconds, nanoseconds = struct.unpack("qq", value[:16])
                    stamp = seconds + nanoseconds / 1e9
            if stamp is None:
                continue
            ip = packet[14:]
            if ip[0] >> 4 != 4 or ip[9] != 6:
                continue
            header = (ip[0] & 15) * 4
            total = struct.unpack("!H", ip[2:4])[0]
            tcp = ip[header:total]
            source, target = struct.unpack("!HH", tcp[:4])
            flags = tcp[13]
            payload = tcp[(tcp[12] >> 4) * 4:]
            if port in (source, target):
                side = "c" if target == port else "s"
                pending[side] += payload
                while b"\n" in pending[side]:
                    line, pending[side] = pending[side].split(b"\n", 1)
                    text = line.rstrip(b"\r").decode("latin-1")
                    out.write("%.6f %s %s\n" % (stamp, side, text))
                    if side == "c" and text[:5].upper() == "PORT ":
                        numbers = text[5:].split(",")
                        if len(numbers) == 6 and all(n.strip().isdigit() for n in numbers):
                            announced.add(int(numbers[4]) * 256 + int(numbers[5]))
                continue
            key = (min(source, target), max(source, target))
            # Other programs talk on this device too: only the connections to a port this
            # client announced are its data connections.
            if flags & 0x02 and not flags & 0x10 and target in announced:  # SYN: the server connects
                announced.discard(target)
                data_open[key] = [target, set()]  # the client's end, the ends that closed
                out.write("%.6f d open\n" % stamp)
            elif flags & 0x01 and key in data_open:
                client_end, closed = data_open[key]
                side = "client" if source == client_end else "server"
                if side not in closed:
                    closed.add(side)
                    out.write("%.6f d %s closes\n" % (stamp, side))
                if len(closed) == 2:
                    del data_open[key]


def events(path, start, end):
    waiting = []  # commands still owed a final reply, oldest first
    for line in open(path):
        stamp, side, text = line.rstrip("\n").split(" ", 2)
        stamp = float(stamp)
        if side == "c":
            verb = text.split(" ", 1)[0].upper()
            waiting.append(verb)
            name = verb
        elif side == "s":
            if len(text) < 4 or not text[:3].isdigit() or text[3] == "-":
                continue  # within a multi-line reply
            answered = waiting[0] if waiting else "?"
            if text[0] != "1" and waiting:
                waiting.pop(0)
            name = "%s %s" % (text[:3], answered)
        else:
            name = "data " + text
        if start <= stamp <= end:
            yield stamp, name


def report(path, start, end):
    spans = defaultdict(list)
    last = None
    counts = defaultdict(int)
    for stamp, name in events(path, start, end):
        counts[name] += 1
        if last is not None:
            spans["%s -> %s" % (last[1], name)].append(stamp - last[0])
        last = (stamp, name)
    whole = end - start
    files = counts.get("RETR", 0) + counts.get("STOR", 0)
    print("%.3f s from the command to the end; %d RETR, %d STOR, %d LIST, %d CWD, %d PWD, %d MKD" %
          (whole, counts.get("RETR", 0), counts.get("STOR", 0), counts.get("LIST", 0) + counts.get("NLST", 0),
           counts.get("CWD", 0), counts.get("PWD", 0), counts.get("MKD", 0)))
    rows = sorted(spans.items(), key=lambda kv: -sum(kv[1]))
    shown = 0.0
    print("%-34s %6s %9s %8s %9s" % ("between", "times", "total s", "mean ms", "per file ms"))
    for label, times in rows[:24]:
        total = sum(times)
        shown += total
        print("%-34s %6d %9.3f %8.3f %9.3f" % (label, len(times), total, 1000 * total / len(times),
                                               1000 * total / files if files else 0))
    rest = sum(sum(t) for _, t in rows[24:])
    print("%-34s %6s %9.3f" % ("(other pairs)", "", rest))
    print("%-34s %6s %9.3f" % ("(before the first, after the last)", "", whole - shown - rest))


if __name__ == "__main__":
    if sys.argv[1] == "--report":
        report(sys.argv[2], float(sys.argv[3]), float(sys.argv[4]))
    else:
        record(int(sys.argv[1]), sys.argv[2])
