#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files.

    python3 make_icons.py [OUTPUT_DIR]     (default: the folder of this script)

Writes varnoke.ico (128, window class and version dialog), normal.ico (129),
paused.ico (130) and capture.ico (131). Each holds 16, 20, 24 and 32 pixel images,
32-bit BGRA with an AND mask, so both alpha-aware and older shells draw them.
Only the standard library is used, and the output is byte-for-byte
reproducible, so the .ico files in the repository can be regenerated and
compared.

The pictures are a clipboard: a board with a metal clip and a sheet with lines
of text. Each size has its own pixel-aligned geometry; at 16 pixels a scaled
down 32-pixel drawing turns to mush.
"""

import os
import struct
import sys

SUBSAMPLES = 4  # per axis; only rounded corners are not pixel-aligned


def hex_color(text, alpha=255):
    text = text.lstrip("#")
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


def greyed(color, lighten=0.25):
    """The colour as it looks in the paused icon: grey, a little washed out."""
    r, g, b, a = color
    y = 0.299 * r + 0.587 * g + 0.114 * b
    y = y + (255 - y) * lighten
    v = int(round(y))
    return (v, v, v, a)


class Canvas:
    def __init__(self, size):
        self.size = size
        # Straight (non-premultiplied) RGBA, floats 0..1.
        self.pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def _blend(self, x, y, color, coverage):
        if coverage <= 0.0:
            return
        sr, sg, sb, sa = (c / 255.0 for c in color)
        sa *= coverage
        dr, dg, db, da = self.pixels[y][x]
        out_a = sa + da * (1.0 - sa)
        if out_a <= 0.0:
            self.pixels[y][x] = (0.0, 0.0, 0.0, 0.0)
            return

        def mix(s, d):
            return (s * sa + d * da * (1.0 - sa)) / out_a

        self.pixels[y][x] = (mix(sr, dr), mix(sg, dg), mix(sb, db), out_a)

    def fill(self, inside, color, box):
        """Paints `color` where inside(x, y) holds, sampled inside box (x0, y0, x1, y1)."""
        x0, y0, x1, y1 = box
        n = SUBSAMPLES
        for py in range(max(0, int(y0)), min(self.size, int(y1 + 0.999))):
            for px in range(max(0, int(x0)), min(self.size, int(x1 + 0.999))):
                hits = 0
                for sy in range(n):
                    for sx in range(n):
                        if inside(px + (sx + 0.5) / n, py + (sy + 0.5) / n):
                            hits += 1
                self._blend(px, py, color, hits / float(n * n))

    def round_rect(self, x0, y0, x1, y1, radius, color):
        def inside(x, y):
            if x < x0 or x > x1 or y < y0 or y > y1:
                return False
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius

        self.fill(inside, color, (x0, y0, x1, y1))

    def rect(self, x0, y0, x1, y1, color):
        self.round_rect(x0, y0, x1, y1, 0.0, color)

    def framed_rect(self, x0, y0, x1, y1, radius, stroke, edge, body):
        """A rounded rectangle of colour `body` with an edge `stroke` pixels wide."""
        self.round_rect(x0, y0, x1, y1, radius, edge)
        inner = max(0.0, radius - stroke)
        self.round_rect(x0 + stroke, y0 + stroke, x1 - stroke, y1 - stroke, inner, body)

    def to_bytes(self):
        """(XOR pixel rows bottom-up as BGRA, AND mask rows bottom-up)."""
        size = self.size
        xor = bytearray()
        mask = bytearray()
        stride = ((size + 31) // 32) * 4
        for y in range(size - 1, -1, -1):
            row_mask = bytearray(stride)
            for x in range(size):
                r, g, b, a = self.pixels[y][x]
                a8 = int(round(a * 255))
                if a8 == 0:
                    xor += bytes((0, 0, 0, 0))
                    row_mask[x // 8] |= 0x80 >> (x % 8)
                else:
                    xor += bytes(
                        (int(round(b * 255)), int(round(g * 255)), int(round(r * 255)), a8)
                    )
            mask += row_mask
        return bytes(xor), bytes(mask)


# The small icon at 100, 125 and 150 % (the tray loads SM_CXSMICON, which grows with the
# screen's DPI), and the large one, which is also the small icon at 200 %.
SIZES = (16, 20, 24, 32)

# Pixel-aligned geometry per size. Coordinates are edges: (x0, y0, x1, y1).
GEOMETRY = {
    32: {
        "board": (4, 3, 28, 32),
        "board_radius": 3.0,
        "board_stroke": 1.0,
        "sheet": (8, 8, 24, 29),
        "sheet_stroke": 1.0,
        "clip": (11, 0, 21, 7),
        "clip_radius": 2.0,
        "clip_hole": (14, 2, 18, 4),
        "lines": [(10, 12, 22, 14), (10, 16, 20, 18), (10, 20, 22, 22), (10, 24, 18, 26)],
        "pause_bars": [(10, 12, 14, 27), (18, 12, 22, 27)],
    },
    24: {
        "board": (3, 2, 21, 24),
        "board_radius": 2.5,
        "board_stroke": 1.0,
        "sheet": (6, 6, 18, 22),
        "sheet_stroke": 1.0,
        "clip": (8, 0, 16, 5),
        "clip_radius": 1.5,
        "clip_hole": (11, 1, 13, 3),
        "lines": [(8, 9, 16, 10), (8, 12, 15, 13), (8, 15, 16, 16), (8, 18, 13, 19)],
        "pause_bars": [(7, 9, 10, 21), (14, 9, 17, 21)],
    },
    20: {
        "board": (2, 2, 18, 20),
        "board_radius": 2.0,
        "board_stroke": 1.0,
        "sheet": (5, 6, 15, 19),
        "sheet_stroke": 1.0,
        "clip": (7, 0, 13, 5),
        "clip_radius": 1.5,
        "clip_hole": (9, 1, 11, 3),
        "lines": [(7, 8, 13, 9), (7, 10, 12, 11), (7, 12, 13, 13), (7, 14, 11, 15)],
        "pause_bars": [(6, 8, 9, 18), (11, 8, 14, 18)],
    },
    16: {
        "board": (1, 2, 15, 16),
        "board_radius": 1.5,
        "board_stroke": 1.0,
        "sheet": (4, 5, 12, 15),
        "sheet_stroke": 0.0,
        "clip": (5, 0, 11, 4),
        "clip_radius": 1.0,
        "clip_hole": (7, 1, 9, 2),
        "lines": [(5, 7, 11, 8), (5, 9, 10, 10), (5, 11, 11, 12), (5, 13, 9, 14)],
        "pause_bars": [(4, 6, 7, 15), (9, 6, 12, 15)],
    },
}

NORMAL = {
    "board_edge": hex_color("#4a2c10"),
    "board": hex_color("#b5793a"),
    "sheet_edge": hex_color("#2e7d32"),
    "sheet": hex_color("#dcf5d6"),
    "line": hex_color("#1f5fbf"),
    "clip_edge": hex_color("#303030"),
    "clip": hex_color("#c9ccd1"),
    "clip_hole": hex_color("#303030"),
}

# The application icon: the same clipboard with stronger colours and edges.
BOLD = dict(
    NORMAL,
    board_edge=hex_color("#2b1606"),
    board=hex_color("#c27a2c"),
    sheet_edge=hex_color("#1b5e20"),
    sheet=hex_color("#b9efab"),
    line=hex_color("#0d47a1"),
)

# The capture flash: bright and light where the normal icon is dark, so that
# alternating frames blink even at 16 pixels.
FLASH = {
    "board_edge": hex_color("#e65100"),
    "board": hex_color("#ffe000"),
    "sheet_edge": hex_color("#ff8f00"),
    "sheet": hex_color("#ffffff"),
    "line": hex_color("#ff6d00"),
    "clip_edge": hex_color("#e65100"),
    "clip": hex_color("#fff8c0"),
    "clip_hole": hex_color("#e65100"),
}

PAUSED = {name: greyed(color) for name, color in NORMAL.items()}
PAUSE_BAR_EDGE = hex_color("#7f0000")
PAUSE_BAR = hex_color("#e53935")


def draw_clipboard(size, colors, bold=False):
    g = GEOMETRY[size]
    canvas = Canvas(size)
    stroke = g["board_stroke"] * (2.0 if bold and size == 32 else 1.0)
    canvas.framed_rect(*g["board"], g["board_radius"], stroke, colors["board_edge"], colors["board"])
    if g["sheet_stroke"] > 0:
        canvas.framed_rect(*g["sheet"], 0.0, g["sheet_stroke"], colors["sheet_edge"], colors["sheet"])
    else:
        canvas.rect(*g["sheet"], colors["sheet"])
    for x0, y0, x1, y1 in g["lines"]:
        if bold and size == 32:
            y1 += 1  # thicker text lines
        canvas.rect(x0, y0, x1, y1, colors["line"])
    canvas.framed_rect(*g["clip"], g["clip_radius"], 1.0, colors["clip_edge"], colors["clip"])
    canvas.rect(*g["clip_hole"], colors["clip_hole"])
    return canvas


def draw_paused(size):
    canvas = draw_clipboard(size, PAUSED)
    for bar in GEOMETRY[size]["pause_bars"]:
        canvas.framed_rect(*bar, 0.0, 1.0, PAUSE_BAR_EDGE, PAUSE_BAR)
    return canvas


ICONS = {
    "varnoke.ico": lambda size: draw_clipboard(size, BOLD, bold=True),
    "normal.ico": lambda size: draw_clipboard(size, NORMAL),
    "paused.ico": draw_paused,
    "capture.ico": lambda size: draw_clipboard(size, FLASH),
}


def ico_bytes(canvases):
    """An .ico file (BMP images with AND masks) from canvases, smallest first."""
    count = len(canvases)
    directory = struct.pack("<HHH", 0, 1, count)
    images = b""
    offset = 6 + 16 * count
    for canvas in canvases:
        size = canvas.size
        xor, mask = canvas.to_bytes()
        header = struct.pack(
            "<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0
        )
        image = header + xor + mask
        directory += struct.pack(
            "<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset
        )
        images += image
        offset += len(image)
    return directory + images


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out_dir, exist_ok=True)
    for name, draw in ICONS.items():
        data = ico_bytes([draw(size) for size in SIZES])
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)
        print("wrote %s (%d bytes)" % (os.path.join(out_dir, name), len(data)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
