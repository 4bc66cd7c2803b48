#!/usr/bin/python3
"""Draws every image of the program and writes it beside this script:
program.ico, the list and tree icons (folder, ascii_file, binary_file, other_file,
parent_folder, open_folder, drive, computer), the split-bar cursors split_v.cur and
split_h.cur, and the toolbar strip toolbar.bmp.

Run it from this folder after changing a drawing; the outputs are committed beside it.
Pure Python, no image library. Icons are drawn with a few shapes on a canvas, sampled
4x4 per pixel so that slanted edges are smooth at 32x32 while edges placed on whole
pixels stay sharp at 16x16. The toolbar strip and the cursors are pixel maps and plain
geometry without smoothing: the toolbar recolours its bitmap through the palette, and
a cursor has only black, white and transparent.
"""
import struct

# --- file formats --------------------------------------------------------------------


def ico_image_32bpp(size, pixels):
    """BITMAPINFOHEADER + bottom-up BGRA pixels + AND mask (set where fully transparent)."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(size)):
        rows.append(b"".join(bytes((b, g, r, a)) for r, g, b, a in pixels[y]))
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = []
    for y in reversed(range(size)):
        bits = 0
        for x in range(size):
            if pixels[y][x][3] == 0:
                bits |= 1 << (mask_row_bytes * 8 - 1 - x)
        mask.append(bits.to_bytes(mask_row_bytes, "big"))
    return header + b"".join(rows) + b"".join(mask)


def write_icon(path, draw, sizes=(16, 32)):
    """draw(canvas) paints one size; the icon holds every size."""
    images = []
    for s in sizes:
        canvas = Canvas(s)
        draw(canvas)
        images.append(ico_image_32bpp(s, canvas.rgba()))
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


def write_bitmap_8bpp(path, rows, palette):
    """A bottom-up 8-bit bitmap: rows of palette indexes, palette of (r, g, b)."""
    height, width = len(rows), len(rows[0])
    stride = (width + 3) & ~3
    pixels = b"".join(bytes(row) + bytes(stride - width) for row in reversed(rows))
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835, 2835,
                       len(palette), 0)
    offset = 14 + len(info) + len(colours)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    open(path, "wb").write(head + info + colours + pixels)


# --- drawing ---------------------------------------------------------------------------


class Canvas:
    """An n x n picture of straight (not premultiplied) RGBA colours."""

    SAMPLES = 4

    def __init__(self, n):
        self.n = n
        self.s = n / 16.0          # drawings are laid out on a 16-unit grid
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * n for _ in range(n)]

    def paint(self, inside, colour, alpha=1.0, smooth=True):
        """Lays colour over every pixel by the share of its samples for which inside(x, y)."""
        k = self.SAMPLES if smooth else 1
        offsets = [(i + 0.5) / k for i in range(k)]
        for py in range(self.n):
            for px in range(self.n):
                hits = sum(1 for oy in offsets for ox in offsets if inside(px + ox, py + oy))
                if hits:
                    self.over(px, py, colour, alpha * hits / (k * k))

    def over(self, x, y, colour, a):
        r0, g0, b0, a0 = self.px[y][x]
        a1 = a + a0 * (1 - a)
        mix = lambda c, c0: (c * a + c0 * a0 * (1 - a)) / a1 if a1 else 0.0
        self.px[y][x] = (mix(colour[0], r0), mix(colour[1], g0), mix(colour[2], b0), a1)

    def pixmap(self, x0, y0, colours, art):
        """Sets single pixels from a text map; '.' leaves a pixel as it is."""
        for y, line in enumerate(art.strip().splitlines()):
            for x, ch in enumerate(line.strip()):
                if ch != ".":
                    self.over(x0 + x, y0 + y, colours[ch], 1.0)

    def rgba(self):
        return [[(round(r), round(g), round(b), round(a * 255)) for r, g, b, a in row]
                for row in self.px]

    # Shapes in grid units (16 across); 'px' widths are in pixels so outlines stay 1 pixel.
    def u(self, v):
        return v * self.s

    def rect(self, x0, y0, x1, y1, colour, **kw):
        x0, y0, x1, y1 = self.u(x0), self.u(y0), self.u(x1), self.u(y1)
        self.paint(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour, **kw)

    def framed_rect(self, x0, y0, x1, y1, edge, fill, **kw):
        """A rectangle with a one-pixel edge."""
        self.rect(x0, y0, x1, y1, edge, **kw)
        p = 1 / self.s
        self.rect(x0 + p, y0 + p, x1 - p, y1 - p, fill, **kw)

    def polygon(self, points, colour, **kw):
        pts = [(self.u(x), self.u(y)) for x, y in points]
        self.paint(lambda x, y: inside_polygon(pts, x, y), colour, **kw)

    def framed_polygon(self, points, edge, fill, **kw):
        """A convex polygon with a one-pixel edge (the fill is the polygon moved inwards)."""
        self.polygon(points, edge, **kw)
        self.polygon(shrink_convex(points, 1 / self.s), fill, **kw)

    def vgradient_rect(self, x0, y0, x1, y1, top, bottom, **kw):
        y0p, y1p = self.u(y0), self.u(y1)
        x0p, x1p = self.u(x0), self.u(x1)
        for py in range(self.n):
            t = min(1.0, max(0.0, (py + 0.5 - y0p) / max(1e-9, y1p - y0p)))
            colour = tuple(a + (b - a) * t for a, b in zip(top, bottom))
            row = py
            self.paint(lambda x, y, row=row: row <= y < row + 1 and x0p <= x < x1p and y0p <= y < y1p,
                       colour, **kw)


def inside_polygon(pts, x, y):
    inside = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def shrink_convex(points, d):
    """Moves every edge of a convex polygon (either winding) inwards by d."""
    n = len(points)
    area = sum(points[i][0] * points[(i + 1) % n][1] - points[(i + 1) % n][0] * points[i][1]
               for i in range(n))
    sign = 1 if area > 0 else -1
    lines = []
    for i in range(n):
        (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
        ex, ey = x1 - x0, y1 - y0
        length = (ex * ex + ey * ey) ** 0.5
        nx, ny = -ey / length * sign, ex / length * sign   # inward normal
        lines.append((x0 + nx * d, y0 + ny * d, ex, ey))
    out = []
    for i in range(n):
        ax, ay, adx, ady = lines[i - 1]
        bx, by, bdx, bdy = lines[i]
        den = adx * bdy - ady * bdx
        t = ((bx - ax) * bdy - (by - ay) * bdx) / den
        out.append((ax + adx * t, ay + ady * t))
    return out


# --- icons -----------------------------------------------------------------------------

FOLDER_EDGE = (140, 100, 20)
FOLDER_TOP = (255, 226, 120)
FOLDER_BOTTOM = (236, 180, 50)
FOLDER_BACK = (214, 160, 40)
PAGE_EDGE = (96, 100, 110)


def draw_folder_shape(c, x0=1, y0=3, x1=15, y1=14):
    """A closed folder: a tab on the upper left, the body below it."""
    c.framed_rect(x0, y0, x0 + 6, y0 + 3, FOLDER_EDGE, FOLDER_TOP)
    c.rect(x0, y0 + 1.5, x1, y1, FOLDER_EDGE)
    p = 1 / c.s
    c.vgradient_rect(x0 + p, y0 + 1.5 + p, x1 - p, y1 - p, FOLDER_TOP, FOLDER_BOTTOM)
    c.rect(x0 + p, y0 + 1.5 + p, x1 - p, y0 + 1.5 + 2 * p, (255, 244, 190))   # lit edge


def folder_icon(c):
    draw_folder_shape(c)


def open_folder_icon(c):
    """The back of the folder with its front flap swung down and forward."""
    p = 1 / c.s
    c.framed_rect(1, 2, 7, 5, FOLDER_EDGE, FOLDER_BACK)
    c.framed_rect(1, 3.5, 13, 14, FOLDER_EDGE, FOLDER_BACK)
    c.rect(2, 5, 12, 7, (255, 255, 250))                                       # papers inside
    c.framed_polygon([(3.5, 7), (15.5, 7), (13, 14), (1, 14)], FOLDER_EDGE, FOLDER_TOP)
    c.polygon([(4.2, 7 + p), (15.5 - 2 * p, 7 + p), (15.5 - 2.5 * p, 7 + 2 * p), (4.2, 7 + 2 * p)],
              (255, 244, 190))


def page(c, fill=(255, 255, 255)):
    """A sheet with its upper right corner folded."""
    c.polygon([(3, 1), (10, 1), (13, 4), (13, 15), (3, 15)], PAGE_EDGE)
    p = 1 / c.s
    c.polygon([(3 + p, 1 + p), (10 - p * 0.4, 1 + p), (13 - p, 4 + p * 0.4), (13 - p, 15 - p), (3 + p, 15 - p)], fill)
    c.polygon([(10, 1), (10, 4), (13, 4)], PAGE_EDGE)
    c.polygon([(10 + p, 1 + 2.4 * p), (10 + p, 4 - p), (13 - 2.4 * p, 4 - p)], (214, 218, 226))


def ascii_file_icon(c):
    page(c)
    p = 1 / c.s
    ink = (40, 60, 120)
    if c.n == 16:
        lines = ((4, 9), (6, 11), (8, 11), (10, 10), (12, 11))    # one pixel each
        left, thick = 5, p
    else:
        lines = ((5, 10), (7, 11.5), (9, 11.5), (11, 9.5), (13, 11))
        left, thick = 4.5, 1
    for y, right in lines:
        c.rect(left, y, right, y + thick, ink)


DIGITS = {
    "0": ["###", "#.#", "#.#", "#.#", "###"],
    "1": [".#.", "##.", ".#.", ".#.", "###"],
}


def digits(c, text, x0, y0, colour, unit):
    """Draws 3x5 pixel digits; unit is the size of one digit pixel in grid units."""
    for i, ch in enumerate(text):
        for row, bits in enumerate(DIGITS[ch]):
            for col, b in enumerate(bits):
                if b == "#":
                    x = x0 + (i * 4 + col) * unit
                    y = y0 + row * unit
                    c.rect(x, y, x + unit, y + unit, colour)


def binary_file_icon(c):
    page(c)
    unit = 1 / c.s if c.n == 16 else 0.5
    ink = (20, 80, 200)
    if c.n == 16:
        digits(c, "10", 4, 4, ink, unit)           # below the folded corner
        digits(c, "01", 4, 9, (180, 40, 40), unit)
    else:
        digits(c, "10", 4.5, 5, ink, unit)
        digits(c, "01", 4.5, 9, (180, 40, 40), unit)


def other_file_icon(c):
    page(c, fill=(246, 246, 240))


def parent_folder_icon(c):
    """A folder with a green arrow pointing up out of it."""
    draw_folder_shape(c, 1, 4, 14, 15)
    edge, fill = (20, 100, 30), (70, 190, 70)
    if c.n == 16:
        c.pixmap(7, 0, {"d": edge, "G": fill}, """
            ....d....
            ...dGd...
            ..dGGGd..
            .dGGGGGd.
            dGGGGGGGd
            dddGGGddd
            ..dGGGd..
            ..dGGGd..
            ..dGGGd..
            ..dGGGd..
            ..dGGGd..
            ..ddddd..
            """)
        return
    arrow = [(11, 1), (15.5, 5.5), (13, 5.5), (13, 12), (9, 12), (9, 5.5), (6.5, 5.5)]
    c.polygon(arrow, edge)
    p = 1 / c.s
    inner = [(11, 1 + 1.42 * p), (15.5 - 2.42 * p, 5.5 - p), (13 - p, 5.5 - p), (13 - p, 12 - p),
             (9 + p, 12 - p), (9 + p, 5.5 - p), (6.5 + 2.42 * p, 5.5 - p)]
    c.polygon(inner, fill)


def drive_icon(c):
    """A hard disk seen from the front and a little above, with its lamp lit."""
    p = 1 / c.s
    c.framed_polygon([(3, 5), (13, 5), (15, 8), (1, 8)], (70, 72, 80), (226, 228, 232))
    c.framed_rect(1, 8 - p, 15, 13, (70, 72, 80), (176, 180, 188))
    c.rect(2, 12 - p, 14, 13 - p, (140, 144, 152))
    c.rect(3, 10, 9, 10 + p, (90, 92, 100))
    c.rect(11, 9.5, 13, 11, (40, 200, 60))


def computer_icon(c):
    """A monitor on a stand, its screen lit blue."""
    p = 1 / c.s
    c.framed_rect(1, 1, 15, 11.5, (60, 62, 70), (214, 216, 222))
    c.framed_rect(2.5, 2.5, 13.5, 10, (110, 112, 120), (40, 100, 210))
    c.polygon([(2.5 + p, 2.5 + p), (9, 2.5 + p), (2.5 + p, 7)], (110, 160, 240))
    c.rect(6, 11.5, 10, 13, (110, 112, 120))
    c.framed_rect(3, 13, 13, 15, (60, 62, 70), (190, 192, 200))


def program_icon(c):
    """A blue tile with two arrows passing each other: files going out and coming in."""
    p = 1 / c.s
    r = 2.5
    tile = lambda x, y, d=0: rounded_inside(c.u(0.5) + d, c.u(0.5) + d, c.u(15.5) - d, c.u(15.5) - d,
                                             c.u(r) - d, x, y)
    dark, top, bottom = (16, 44, 110), (70, 140, 240), (24, 70, 170)
    orange, white = (255, 176, 40), (245, 250, 255)
    c.paint(lambda x, y: tile(x, y), dark)
    for py in range(c.n):
        t = py / (c.n - 1)
        colour = tuple(a + (b - a) * t for a, b in zip(top, bottom))
        c.paint(lambda x, y, py=py: py <= y < py + 1 and tile(x, y, 1), colour)
    if c.n == 16:
        # too small for outlines: two solid arrows on whole pixels
        c.pixmap(2, 2, {"o": orange, "w": white}, """
            .......o....
            .......oo...
            oooooooooo..
            ooooooooooo.
            oooooooooo..
            .......oo...
            ....w..o....
            ...ww.......
            ..wwwwwwwwww
            .wwwwwwwwwww
            ..wwwwwwwwww
            ...ww.......
            ....w.......
            """)
        return
    out = [(2.5, 4.5), (9.5, 4.5), (9.5, 2.5), (13.5, 6), (9.5, 9.5), (9.5, 7.5), (2.5, 7.5)]
    c.polygon(out, (120, 50, 0))
    c.polygon(shrink_poly7(out, p), orange)
    back = [(13.5, 9.5), (6.5, 9.5), (6.5, 7.5), (2.5, 11), (6.5, 14.5), (6.5, 12.5), (13.5, 12.5)]
    c.polygon(back, dark)
    c.polygon(shrink_poly7(back, p), white)


def shrink_poly7(pts, d):
    """Insets the seven-point arrow used by program_icon (a concave shape) by d."""
    (ax, ay), (bx, by), (cx, cy), (tx, ty), (ex, ey), (fx, fy), (gx, gy) = pts
    sx = 1 if tx > ax else -1
    k = 1.4142 * d
    return [(ax + sx * d, ay + d), (bx - sx * d, by + d), (cx - sx * d, cy + k * 1.7),
            (tx - sx * k, ty), (ex - sx * d, ey - k * 1.7), (fx - sx * d, fy - d), (gx + sx * d, gy - d)]


def rounded_inside(x0, y0, x1, y1, r, x, y):
    if not (x0 <= x < x1 and y0 <= y < y1):
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


# --- cursors ---------------------------------------------------------------------------


def split_cursor(vertical):
    """Two short bars with an arrow leaving each side: left/right for the vertical bar that
    splits side-by-side panes, up/down for the horizontal one. Black on a white rim."""
    c = 15

    def black(a, b):
        # a runs along the arrows, b across them; the hot spot is (c, c)
        if a in (c - 2, c + 2) and abs(b - c) <= 7:
            return True                                          # the two bars
        if b == c and 5 <= abs(a - c) <= 11:
            return True                                          # the shafts
        d = abs(a - c)
        if 9 <= d <= 14 and abs(b - c) <= 14 - d:
            return True                                          # the heads
        return False

    def shape(x, y):
        a, b = (x, y) if vertical else (y, x)
        if black(a, b):
            return "black"
        if abs(a - c) <= 1 and abs(b - c) <= 7:
            return "white"                                       # between the bars
        for da in (-1, 0, 1):
            for db in (-1, 0, 1):
                if black(a + da, b + db):
                    return "white"
        return None
    return shape


# --- toolbar -----------------------------------------------------------------------------

# The toolbar maps this grey to the button face, so it stands for "no paint" and no picture
# may use it.
TOOLBAR_PALETTE = {
    ".": (192, 192, 192),
    "k": (0, 0, 0), "w": (255, 255, 255), "g": (128, 128, 128), "l": (224, 224, 224),
    "y": (255, 232, 120), "Y": (240, 188, 48), "o": (140, 96, 16),
    "G": (40, 180, 40), "d": (0, 100, 0),
    "b": (40, 110, 230), "B": (150, 200, 255), "n": (0, 40, 140),
    "r": (230, 30, 30), "R": (130, 0, 0),
    "e": (96, 96, 96),
}

# In the order of the toolbar: previous folder, connect, disconnect, upload, download,
# delete, large icons, small icons, list, details, ascii, binary, auto detect, synchronize.
TOOLBAR_IMAGES = [
    # previous folder: an arrow rising out of a folder
    """
    ........d.......
    .......dGd......
    ......dGGGd.....
    .....dGGGGGd....
    ....ddddGddddd..
    .oooo..dGd......
    oyyyyo.dGd......
    oyyyyyodGdooooo.
    oYYYYYYdGdYYYYo.
    oYYYYYYdddYYYYo.
    oYYYYYYYYYYYYYo.
    oYYYYYYYYYYYYYo.
    oYYYYYYYYYYYYYo.
    oYYYYYYYYYYYYYo.
    ooooooooooooooo.
    ................
    """,
    # connect: a dark plug pushed into a white socket
    """
    ................
    ................
    ................
    ...kkkk.kkkkkk..
    ..kgeeekkwwwwlk.
    ..kgeeekkwkkwlk.
    ..kgeeekkwwwwlk.
    kkkgeeekkwwwwlkk
    eeegeeekkwwwwlee
    kkkgeeekkwwwwlkk
    ..kgeeekkwwwwlk.
    ..kgeeekkwkkwlk.
    ..kgeeekkwwwwlk.
    ...kkkk.kkkkkk..
    ................
    ................
    """,
    # disconnect: plug and socket pulled apart, sparks between them
    """
    ................
    .........r......
    ........r.......
    .kkkk....r.kkkk.
    kgeeek..r.kwwwwl
    kgeeekll..kwkkwl
    kgeeek....kwwwwl
    kgeeek....kwwwwl
    kgeeek....kwwwwl
    kgeeek....kwwwwl
    kgeeek....kwwwwl
    kgeeekll..kwkkwl
    kgeeek..r.kwwwwl
    .kkkk..r...kkkk.
    ........r.......
    ................
    """,
    # upload: an arrow going up out of a tray
    """
    .......n........
    ......nbn.......
    .....nbbbn......
    ....nbbbbbn.....
    ...nbbbbbbbn....
    ..nnnnbbbnnnn...
    ......nbbn......
    ......nbbn......
    ......nbbn......
    .e....nbbn....e.
    .el...nnnn...le.
    .elllllllllllle.
    .eeeeeeeeeeeeee.
    .egggggggggggge.
    .eeeeeeeeeeeeee.
    ................
    """,
    # download: an arrow coming down into a tray
    """
    ......dddd......
    ......dGGd......
    ......dGGd......
    ......dGGd......
    ......dGGd......
    ..ddddGGGGdddd..
    ...dGGGGGGGGd...
    ....dGGGGGGd....
    .....dGGGGd.....
    .e....dGGd....e.
    .el....dd....le.
    .elllllllllllle.
    .eeeeeeeeeeeeee.
    .egggggggggggge.
    .eeeeeeeeeeeeee.
    ................
    """,
    # delete: a red cross
    """
    ................
    ................
    ..RR.......RR...
    .RrrR.....RrrR..
    .RrrrR...RrrrR..
    ..RrrrR.RrrrR...
    ...RrrrRrrrR....
    ....RrrrrrR.....
    ....RrrrrrR.....
    ...RrrrRrrrR....
    ..RrrrR.RrrrR...
    .RrrrR...RrrrR..
    .RrrR.....RrrR..
    ..RR.......RR...
    ................
    ................
    """,
    # large icons: four big tiles
    """
    ................
    .nnnnnn..nnnnnn.
    .nBBBBn..nBBBBn.
    .nBbbBn..nBbbBn.
    .nBbbBn..nBbbBn.
    .nBBBBn..nBBBBn.
    .nnnnnn..nnnnnn.
    ................
    ................
    .nnnnnn..nnnnnn.
    .nBBBBn..nBBBBn.
    .nBbbBn..nBbbBn.
    .nBbbBn..nBbbBn.
    .nBBBBn..nBBBBn.
    .nnnnnn..nnnnnn.
    ................
    """,
    # small icons: small tiles with their names, in rows
    """
    ................
    ................
    .nnn.kkk.nnn.kkk
    .nbn.....nbn....
    .nnn.....nnn....
    ................
    .nnn.kkk.nnn.kkk
    .nbn.....nbn....
    .nnn.....nnn....
    ................
    .nnn.kkk.nnn.kkk
    .nbn.....nbn....
    .nnn.....nnn....
    ................
    ................
    ................
    """,
    # list: one column of tiny tiles with long names
    """
    ................
    ................
    .nn.kkkkkkkkk...
    .nn.............
    ................
    .nn.kkkkkkk.....
    .nn.............
    ................
    .nn.kkkkkkkkkk..
    .nn.............
    ................
    .nn.kkkkkk......
    .nn.............
    ................
    ................
    ................
    """,
    # details: a header and rows with several columns
    """
    ................
    eeeeeeeeeeeeeeee
    ewwwwwwegwwwwegw
    egggggggggggggge
    ................
    .nn.kkkkk.kkk.kk
    ................
    .nn.kkkkk.kkk.kk
    ................
    .nn.kkkkk.kkk.kk
    ................
    .nn.kkkkk.kkk.kk
    ................
    .nn.kkkkk.kkk.kk
    ................
    ................
    """,
    # ascii: letters
    """
    ................
    ................
    ....kkk.........
    ...kk.kk........
    ..kk...kk.......
    ..kk...kk.......
    ..kk...kk.......
    ..kkkkkkk..kkk..
    ..kk...kk.....k.
    ..kk...kk..kkkk.
    ..kk...kk.k...k.
    ..kk...kk.k..kk.
    ..kk...kk..kk.k.
    ................
    ................
    ................
    """,
    # binary: ones and zeros
    """
    ................
    ................
    ..nn....nnnn....
    .nnn....nn.nn...
    ..nn....nn.nn...
    ..nn....nn.nn...
    .nnnn...nnnn....
    ................
    ..nnnn....nn....
    ..nn.nn..nnn....
    ..nn.nn...nn....
    ..nn.nn...nn....
    ..nnnn...nnnn...
    ................
    ................
    ................
    """,
    # auto detect: a letter and a digit, a magic spark between
    """
    ................
    .kkk........y...
    kk.kk......yYy..
    kk.kk.....yYwYy.
    kkkkk......yYy..
    kk.kk.......y...
    kk.kk...........
    ..........o.....
    .........o......
    ........o..nn...
    .......o..nnn...
    ......o....nn...
    .....o.....nn...
    ....o.....nnnn..
    ................
    ................
    """,
    # synchronize: two arrows chasing each other round
    """
    ................
    .....dddddd.....
    ...ddGGGGGGdd...
    ..dGGddddddGGd..
    ..dGd......dGGd.
    .dGd........dd..
    .dGd.....ddddddd
    dddddd....dGGGGd
    dGGGGd....dddddd
    ddddddd.....dGd.
    ..dd........dGd.
    .dGGd......dGd..
    ..dGGddddddGGd..
    ...ddGGGGGGdd...
    .....dddddd.....
    ................
    """,
]


def toolbar_strip():
    keys = list(TOOLBAR_PALETTE)
    palette = [TOOLBAR_PALETTE[k] for k in keys]
    index = {k: i for i, k in enumerate(keys)}
    rows = [[] for _ in range(16)]
    for n, art in enumerate(TOOLBAR_IMAGES):
        lines = [line.strip().replace(" ", ".") for line in art.strip().splitlines()]
        if len(lines) != 16 or any(len(line) != 16 for line in lines):
            raise SystemExit("toolbar image %d is not 16x16: %r" % (n, [len(l) for l in lines]))
        for y, line in enumerate(lines):
            rows[y] += [index[ch] for ch in line]
    return rows, palette


if __name__ == "__main__":
    write_icon("program.ico", program_icon, sizes=(16, 32, 48))
    write_icon("folder.ico", folder_icon)
    write_icon("ascii_file.ico", ascii_file_icon)
    write_icon("binary_file.ico", binary_file_icon)
    write_icon("other_file.ico", other_file_icon)
    write_icon("parent_folder.ico", parent_folder_icon)
    write_icon("open_folder.ico", open_folder_icon)
    write_icon("drive.ico", drive_icon)
    write_icon("computer.ico", computer_icon)
    write_cursor("split_v.cur", split_cursor(True), (15, 15))
    write_cursor("split_h.cur", split_cursor(False), (15, 15))
    rows, palette = toolbar_strip()
    write_bitmap_8bpp("toolbar.bmp", rows, palette)
