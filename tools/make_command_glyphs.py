#!/usr/bin/env python3
"""Draws the program's two command glyphs (the apply check mark and the exit door)
at the larger sizes the toolbar buttons hold for finer screens, and prints them as
layout `Data` blocks.

The 16-pixel art is the model: every shape is laid out on its 16-pixel grid and
redrawn on the device grid with lines whole pixels wide, so nothing is blurred.
Each background is the colour of the bottom-left pixel, which the button leaves
out as transparent, the same colour the 16-pixel glyph uses.

    tools/make_command_glyphs.py            # all four blocks
"""

import struct

WHITE = (0xFF, 0xFF, 0xFF)
GREEN = (0x00, 0x80, 0x00)
SILVER = (0xC0, 0xC0, 0xC0)
BLACK = (0x00, 0x00, 0x00)
OLIVE = (0x80, 0x80, 0x00)
YELLOW = (0xFF, 0xFF, 0x00)
CYAN = (0x00, 0xFF, 0xFF)
TEAL = (0x00, 0x80, 0x80)

BASE_HEIGHT = 16
EXIT_BASE_WIDTH = 21


class Canvas:
    def __init__(self, width, height, background):
        self.width = width
        self.height = height
        self.rows = [[background] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def fill(self, left, top, right, bottom, colour):
        for y in range(top, bottom):
            for x in range(left, right):
                self.put(x, y, colour)


def grid(value, scale):
    """A 16-pixel grid line on the device grid."""
    return int(value * scale + 0.5)


def check_mark(size):
    """A thick V, its short arm on the left; the stroke is as tall as 3/16 of the glyph."""
    scale = size / BASE_HEIGHT
    image = Canvas(size, size, WHITE)
    thickness = grid(3, scale)
    left, right = grid(3, scale), grid(13, scale)
    # The lowest point is the centre of the 16-pixel grid's seventh column, kept unrounded
    # so each arm falls exactly one device pixel per column.
    vertex, bottom = 6.5 * scale, 13 * scale
    for x in range(left, right):
        end = int(bottom - abs(x + 0.5 - vertex) + 0.5)
        image.fill(x, end - thickness, x + 1, end, GREEN)
    return image


def exit_door(height):
    """A door with its knob, and an arrow leaving through it to the left."""
    scale = height / BASE_HEIGHT
    image = Canvas(grid(EXIT_BASE_WIDTH, scale), height, SILVER)
    line = max(1, int(scale))

    door_left, door_top, door_right, door_bottom = (grid(v, scale) for v in (10, 1, 19, 15))
    image.fill(door_left, door_top, door_right, door_bottom, BLACK)
    image.fill(door_left + line, door_top + line, door_right - line, door_bottom - line, OLIVE)
    knob_left, knob_top = grid(15, scale), grid(11, scale)
    image.fill(knob_left, knob_top, knob_left + 2 * line, knob_top + line, YELLOW)

    tip, shaft_top, shaft_bottom, shaft_end = grid(2, scale), grid(7, scale), grid(9, scale), grid(14, scale)
    image.fill(tip, shaft_top, shaft_end, shaft_bottom, CYAN)
    image.fill(tip + 2 * line, shaft_bottom, door_left, shaft_bottom + line, TEAL)

    # The head: two arms rising from the shaft's tip at 45 degrees, lit on the inside.
    for step in range(grid(3, scale)):
        x = tip + line + step
        upper = shaft_top - 1 - step
        lower = shaft_bottom + step
        image.fill(x, upper - line + 1, x + 1, upper + 1, CYAN)
        image.fill(x, upper - 2 * line + 1, x + 1, upper - line + 1, TEAL)
        image.fill(x, lower, x + 1, lower + line, CYAN)
        image.fill(x, lower + line, x + 1, lower + 2 * line, TEAL)
    return image


def bmp(image):
    """A bottom-up 24-bit BMP."""
    stride = (image.width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(image.rows):
        line = bytearray()
        for red, green, blue in row:
            line += bytes((blue, green, red))
        line += bytes(stride - len(line))
        pixels += line
    header_size = 14 + 40
    info = struct.pack("<IiiHHIIiiII", 40, image.width, image.height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    return file_header + info + bytes(pixels)


def data_block(name, data, indent="        "):
    text = data.hex().upper()
    lines = [text[i : i + 64] for i in range(0, len(text), 64)]
    body = "\n".join(indent + "  " + line for line in lines)
    return f"{indent}{name}.Data = {{\n{body}}}"


def main():
    print("check mark")
    for size, name in ((24, "GlyphMedium"), (32, "GlyphLarge")):
        print(data_block(name, bmp(check_mark(size))))
    print("exit door")
    for height, name in ((24, "GlyphMedium"), (32, "GlyphLarge")):
        print(data_block(name, bmp(exit_door(height))))


if __name__ == "__main__":
    main()
