#!/usr/bin/python3
"""Draws the program's icon and split-bar cursors and writes them as .ico/.cur files.

Run it from this folder after changing a drawing; the outputs are committed beside it.
Pure Python, no image library: every picture is a function from (x, y, size) to a colour.
"""
import struct


def ico_image_32bpp(size, pixel):
    """BITMAPINFOHEADER + bottom-up BGRA pixels + AND mask (all visible via alpha)."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(size)):
        row = b""
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            row += bytes((b, g, r, a))
        rows.append(row)
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = []
    for y in reversed(range(size)):
        bits = 0
        for x in range(size):
            if pixel(x, y, size)[3] == 0:
                bits |= 1 << (mask_row_bytes * 8 - 1 - x)
        mask.append(bits.to_bytes(mask_row_bytes, "big"))
    return header + b"".join(rows) + b"".join(mask)


def write_icon(path, pixel, sizes=(16, 32)):
    images = [ico_image_32bpp(s, pixel) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    open(path, "wb").write(out + b"".join(images))


def write_cursor(path, shape, hotspot):
    """A 32x32 monochrome cursor: shape(x, y) answers 'black', 'white' or None."""
    size = 32
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    xor_rows, and_rows = [], []
    for y in reversed(range(size)):
        xor_bits = and_bits = 0
        for x in range(size):
            c = shape(x, y)
            bit = 1 << (31 - x)
            if c is None:
                and_bits |= bit
            elif c == "white":
                xor_bits |= bit
        xor_rows.append(xor_bits.to_bytes(4, "big"))
        and_rows.append(and_bits.to_bytes(4, "big"))
    img = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", size, size, 0, 0, hotspot[0], hotspot[1], len(img), 22)
    open(path, "wb").write(out + img)


def program_icon(x, y, n):
    """Two panes (local and remote) with an arrow between them."""
    u = n / 16.0
    if x < 1 * u or x >= 15 * u or y < 2 * u or y >= 14 * u:
        return (0, 0, 0, 0)
    edge = x < 2 * u or x >= 14 * u or y < 3 * u or y >= 13 * u
    if edge:
        return (20, 40, 110, 255)
    if y < 5 * u:
        return (40, 90, 200, 255)                       # title strip
    if 7.5 * u <= x < 8.5 * u:
        return (20, 40, 110, 255)                       # split bar
    cy = 9 * u
    if 5 * u <= x < 11 * u and abs(y - cy) < 1.0 * u:
        return (230, 170, 20, 255)                      # arrow shaft
    if 10 * u <= x < 12.5 * u and abs(y - cy) < (12.5 * u - x):
        return (230, 170, 20, 255)                      # arrow head
    return (250, 250, 245, 255)


def split_cursor(vertical):
    """A double-headed arrow across a bar: left/right for a vertical bar, up/down otherwise."""
    def shape(x, y):
        a, b = (x, y) if vertical else (y, x)
        c = 15
        if abs(b - c) <= 8 and abs(a - c) <= 1:
            return "black"                              # the bar
        if abs(b - c) <= 0 and abs(a - c) <= 10:
            return "black"                              # the shaft
        d = 10 - abs(a - c)
        if 0 <= d <= 3 and abs(b - c) <= 3 - d + 0:
            return "black"                              # arrow heads
        if abs(b - c) <= 9 and abs(a - c) <= 2 or abs(b - c) <= 1 and abs(a - c) <= 11:
            return "white"                              # outline
        if 0 <= d <= 4 and abs(b - c) <= 4 - d:
            return "white"
        return None
    return shape


if __name__ == "__main__":
    write_icon("program.ico", program_icon)
    write_cursor("split_v.cur", split_cursor(True), (15, 15))
    write_cursor("split_h.cur", split_cursor(False), (15, 15))
