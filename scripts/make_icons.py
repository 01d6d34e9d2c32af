#!/usr/bin/env python3
"""Draws the program's icons and writes them as 16-colour .ico files into resources/icons/.

app.ico    the application icon: a golden alarm bell ringing, 16x16 and 32x32
plus.ico   a black plus sign, 24x24
minus.ico  a black minus sign, 24x24

Run it from anywhere; the output is deterministic, and the .ico files are committed as made.
"""
import math
import os
import struct

# The standard 16-colour palette (RGB); index 0 is black, which transparent pixels also use
# so that the XOR image leaves the screen unchanged under the AND mask.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, OLIVE, RED, YELLOW, WHITE = 0, 3, 9, 11, 15
CLEAR = None  # a transparent pixel


def ico_image(pixels):
    """One 4-bpp icon image: BITMAPINFOHEADER, palette, XOR bits, AND mask (rows bottom-up)."""
    size = len(pixels)
    xor_row = (size * 4 + 31) // 32 * 4
    and_row = (size + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):
        line = bytearray(xor_row)
        bits = bytearray(and_row)
        for x, index in enumerate(row):
            value = BLACK if index is CLEAR else index
            line[x // 2] |= value << (4 if x % 2 == 0 else 0)
            if index is CLEAR:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, len(xor) + len(mask),
                         0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(xor) + bytes(mask)


def write_ico(path, images):
    """images: square pixel grids (rows of palette indices or CLEAR)."""
    blobs = [ico_image(p) for p in images]
    out = bytearray(struct.pack('<HHH', 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for pixels, blob in zip(images, blobs):
        size = len(pixels)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, 'wb') as f:
        f.write(out)


def bell_half_width(v):
    """Half the bell's width at height v (0 top, 1 bottom), in units of the icon size."""
    if 0.15 <= v < 0.33:  # the dome
        return math.sqrt(max(0.0, 0.18 ** 2 - (0.33 - v) ** 2))
    if 0.33 <= v < 0.68:  # the waist widening towards the mouth
        return 0.18 + 0.10 * ((v - 0.33) / 0.35) ** 2
    if 0.68 <= v < 0.77:  # the rim
        return 0.37
    return -1.0


def bell(size):
    def inside(x, y):
        u, v = (x + 0.5) / size, (y + 0.5) / size
        if (u - 0.5) ** 2 + (v - 0.12) ** 2 <= 0.055 ** 2:  # the knob on top
            return True
        return abs(u - 0.5) <= bell_half_width(v)

    def clapper(x, y):
        u, v = (x + 0.5) / size, (y + 0.5) / size
        return (u - 0.5) ** 2 + (v - 0.83) ** 2 <= 0.07 ** 2

    def ringing(x, y):
        # One short arc on each side of the bell, drawn a pixel (two at 32x32) wide per row.
        u, v = (x + 0.5) / size, (y + 0.5) / size
        dv = v - 0.42
        if abs(dv) > 0.17:
            return False
        arc = math.sqrt(0.41 ** 2 - dv ** 2)
        width = (1.0 if size >= 32 else 0.5) / size
        return abs(abs(u - 0.5) - arc) <= width

    grid = []
    for y in range(size):
        row = []
        for x in range(size):
            if inside(x, y):
                edge = any(not (0 <= nx < size and 0 <= ny < size and inside(nx, ny))
                           for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))
                u = (x + 0.5) / size
                if edge:
                    row.append(BLACK)
                elif u > 0.5 + 0.35 * bell_half_width((y + 0.5) / size) and size >= 32:
                    row.append(OLIVE)  # shadow on the right
                elif size >= 32 and 0.36 <= u <= 0.42 and 0.3 <= (y + 0.5) / size <= 0.6:
                    row.append(WHITE)  # highlight on the left
                else:
                    row.append(YELLOW)
            elif clapper(x, y):
                row.append(BLACK)
            elif ringing(x, y):
                row.append(RED)
            else:
                row.append(CLEAR)
        grid.append(row)
    return grid


def sign(size, vertical_bar):
    """A black plus (or minus) sign: bars 4 pixels thick and 16 long, centred."""
    lo, hi = size // 2 - 2, size // 2 + 2
    start, end = (size - 16) // 2, (size + 16) // 2
    grid = []
    for y in range(size):
        row = []
        for x in range(size):
            horizontal = lo <= y < hi and start <= x < end
            vertical = vertical_bar and lo <= x < hi and start <= y < end
            row.append(BLACK if horizontal or vertical else CLEAR)
        grid.append(row)
    return grid


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'resources', 'icons')
    os.makedirs(out, exist_ok=True)
    write_ico(os.path.join(out, 'app.ico'), [bell(16), bell(32)])
    write_ico(os.path.join(out, 'plus.ico'), [sign(24, True)])
    write_ico(os.path.join(out, 'minus.ico'), [sign(24, False)])


if __name__ == '__main__':
    main()
