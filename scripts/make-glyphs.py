#!/usr/bin/env python3
"""Draws the main window's four button glyphs and prints them as the hex BMP data
the stored layout holds (Glyph.Data / GlyphDisabled.Data).

    python3 scripts/make-glyphs.py            # prints all four, labelled
    python3 scripts/make-glyphs.py --png DIR  # also writes PNG previews (needs ImageMagick)

The bottom-left pixel of each glyph is its ground colour, which the buttons draw
as transparent."""
import struct
import subprocess
import sys

WHITE = (255, 255, 255)
SILVER = (192, 192, 192)
LIGHT = (223, 223, 223)
GREEN = (0, 128, 0)
DARK_GREEN = (0, 96, 0)
GREY = (128, 128, 128)
DARK_GREY = (96, 96, 96)

# The 16-colour palette of 4-bit bitmaps, as (r, g, b).
PALETTE16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
             (128, 128, 128), (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
             (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def canvas(w, h, ground):
    return [[ground for _ in range(w)] for _ in range(h)]


def line(img, x0, y0, x1, y1, colour, width=1):
    steps = max(abs(x1 - x0), abs(y1 - y0))
    for i in range(steps + 1):
        x = x0 + (x1 - x0) * i // steps if steps else x0
        y = y0 + (y1 - y0) * i // steps if steps else y0
        for d in range(width):
            if 0 <= y + d < len(img) and 0 <= x < len(img[0]):
                img[y + d][x] = colour


def tick(ground, stroke, shade=None):
    img = canvas(16, 16, ground)
    if shade:  # an etched copy one pixel down and right
        line(img, 4, 8, 7, 11, shade, 3)
        line(img, 7, 11, 13, 5, shade, 3)
    line(img, 3, 7, 6, 10, stroke, 3)
    line(img, 6, 10, 12, 4, stroke, 3)
    return img


def door(w, ground, frame, panel, knob, arrow, arrow_edge):
    img = canvas(w, 16, ground)
    x0 = w - 11
    for y in range(1, 15):  # the door frame and its panel
        for x in range(x0, x0 + 9):
            edge = y in (1, 14) or x in (x0, x0 + 8)
            img[y][x] = frame if edge else panel
    # An arrow pointing left, leaving through the door.
    for x in range(2, x0 + 4):
        img[7][x] = arrow
        img[8][x] = arrow
    for d in range(1, 4):
        img[7 - d][2 + d] = arrow
        img[8 + d][2 + d] = arrow
        img[6 - d][2 + d] = arrow_edge
        img[9 + d][2 + d] = arrow_edge
    for x in range(3, x0 + 4):
        img[9][x] = arrow_edge if img[9][x] == ground else img[9][x]
    img[11][x0 + 6] = knob
    img[11][x0 + 5] = knob
    return img


def bmp(img, bits):
    h, w = len(img), len(img[0])
    palette = b""
    if bits == 4:
        palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE16)
        index = {c: i for i, c in enumerate(PALETTE16)}
    stride = ((w * bits + 31) // 32) * 4
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        if bits == 32:
            for r, g, b in img[y]:
                row += bytes((b, g, r, 0))
        elif bits == 24:
            for r, g, b in img[y]:
                row += bytes((b, g, r))
        elif bits == 4:
            for x in range(0, w, 2):
                hi = index[img[y][x]]
                lo = index[img[y][x + 1]] if x + 1 < w else 0
                row.append(hi << 4 | lo)
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(pixels), 0, 0, 16 if bits == 4 else 0, 0)
    return header + info + palette + pixels


def layout_hex(data, indent="      "):
    text = data.hex().upper()
    return "\n".join(indent + text[i:i + 64] for i in range(0, len(text), 64))


GLYPHS = {
    "AdvToolBarButton1.Glyph": (tick(WHITE, GREEN), 32),
    "AdvToolBarButton1.GlyphDisabled": (tick(LIGHT, GREY, WHITE), 32),
    "AdvToolBarButton2.Glyph": (door(21, SILVER, (0, 0, 0), (128, 128, 0), (255, 255, 0), (0, 255, 255),
                                     (0, 128, 128)), 4),
    "AdvToolBarButton2.GlyphDisabled": (door(16, LIGHT, DARK_GREY, LIGHT, GREY, GREY, WHITE), 24),
}

if __name__ == "__main__":
    png_dir = sys.argv[2] if len(sys.argv) > 2 and sys.argv[1] == "--png" else None
    for name, (img, bits) in GLYPHS.items():
        data = bmp(img, bits)
        print(f"{name} = {{\n{layout_hex(data)}}}")
        if png_dir:
            path = f"{png_dir}/{name}.bmp"
            with open(path, "wb") as f:
                f.write(data)
            subprocess.run(["convert", path, "-scale", "800%", path[:-4] + ".png"], check=True)
