#!/usr/bin/env python3
"""Draws the program icon and writes res/sweepwarden.ico.

Nine images: 48, 32 and 16 pixels square, each at 16 colours, 256 colours and
32-bit colour with alpha. The picture is a white waste bin on a green disc.
Run: python3 res/make_icon.py (no modules beyond the standard library).
"""
import os
import struct

GREEN = (46, 125, 50)
DARK = (27, 94, 32)
WHITE = (255, 255, 255)

# The 16 colours of the standard VGA palette.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
         (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def shade(u, v):
    """Colour and coverage of the picture at (u, v) in the unit square, or None."""
    du, dv = u - 0.5, v - 0.5
    if du * du + dv * dv > 0.49 * 0.49:
        return None
    # The bin: lid, handle and body with three slots.
    if 0.27 <= u <= 0.73 and 0.25 <= v <= 0.31:
        return WHITE
    if 0.43 <= u <= 0.57 and 0.20 <= v <= 0.25:
        return WHITE
    if 0.32 <= v <= 0.78:
        half = 0.19 - (v - 0.32) * 0.06
        if abs(du) <= half:
            for slot in (-0.08, 0.0, 0.08):
                if abs(du - slot) <= 0.018 and 0.38 <= v <= 0.72:
                    return DARK
            return WHITE
    return GREEN


def render(size):
    """RGBA rows, top first, by 4x4 supersampling."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(4):
                for sx in range(4):
                    c = shade((x + (sx + 0.5) / 4) / size, (y + (sy + 0.5) / 4) / size)
                    if c is not None:
                        hits += 1
                        for i in range(3):
                            acc[i] += c[i]
            if hits:
                row.append(tuple(a // hits for a in acc) + (hits * 255 // 16,))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def nearest(palette, rgb):
    return min(range(len(palette)), key=lambda i: sum((palette[i][k] - rgb[k]) ** 2 for k in range(3)))


def palette256():
    colours = list(VGA16) + [GREEN, DARK]
    # Blends of the picture's colours for smooth edges, then a grey ramp.
    for t in range(1, 16):
        f = t / 16
        colours.append(tuple(int(GREEN[i] * (1 - f) + WHITE[i] * f) for i in range(3)))
        colours.append(tuple(int(DARK[i] * (1 - f) + WHITE[i] * f) for i in range(3)))
    while len(colours) < 256:
        g = (len(colours) * 37) % 256
        colours.append((g, g, g))
    return colours[:256]


def row_bytes(bits, width):
    return ((width * bits + 31) // 32) * 4


def image(size, bits):
    rows = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    out = bytearray(header)
    palette = VGA16 if bits == 4 else palette256() if bits == 8 else []
    for (r, g, b) in palette:
        out += bytes((b, g, r, 0))
    stride = row_bytes(bits, size)
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        if bits == 32:
            for (r, g, b, a) in row:
                line += bytes((b, g, r, a))
        else:
            idx = [nearest(palette, px[:3]) if px[3] >= 128 else 0 for px in row]
            if bits == 8:
                line += bytes(idx)
            else:
                for i in range(0, size, 2):
                    hi = idx[i]
                    lo = idx[i + 1] if i + 1 < size else 0
                    line.append((hi << 4) | lo)
        line += bytes(stride - len(line))
        out += line
    mask_stride = row_bytes(1, size)
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out), len(palette)


def main():
    entries = []
    for size in (48, 32, 16):
        for bits in (4, 8, 32):
            data, colours = image(size, bits)
            entries.append((size, bits, colours, data))
    out = bytearray(struct.pack('<HHH', 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for size, bits, colours, data in entries:
        out += struct.pack('<BBBBHHII', size, size, colours if colours < 256 else 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    for entry in entries:
        out += entry[3]
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'sweepwarden.ico')
    with open(path, 'wb') as f:
        f.write(out)
    print(path, len(out), 'bytes')


if __name__ == '__main__':
    main()
