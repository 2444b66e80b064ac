#!/usr/bin/env python3
"""Draws the program's icon and writes app/clicker.ico: 128, 64, 48, 32 and 16 pixel images at
32 bits per pixel (the two large ones PNG-compressed, the small ones as plain bitmaps).

The picture: a white mouse pointer on a blue rounded square, with a few rays at its tip that stand
for the clicks."""
import math
import struct
import sys
import zlib
from pathlib import Path

BLUE = (0, 136, 255)
DARK = (0, 70, 160)
WHITE = (255, 255, 255)

# The pointer, in units of the icon's side (0..1).
POINTER = [(0.36, 0.28), (0.36, 0.86), (0.50, 0.72), (0.60, 0.92), (0.68, 0.88),
           (0.58, 0.68), (0.78, 0.68)]
RAYS = [((0.30, 0.22), (0.18, 0.10)), ((0.40, 0.18), (0.42, 0.06)), ((0.26, 0.32), (0.12, 0.32))]


def inside_polygon(x, y, polygon):
    inside = False
    j = len(polygon) - 1
    for i, (xi, yi) in enumerate(polygon):
        xj, yj = polygon[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def near_segment(x, y, a, b, width):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy)) <= width


def in_rounded_square(x, y, margin=0.04, radius=0.18):
    lo, hi = margin + radius, 1 - margin - radius
    cx, cy = min(max(x, lo), hi), min(max(y, lo), hi)
    return math.hypot(x - cx, y - cy) <= radius


def sample(x, y, size):
    """Colour and coverage of one sub-pixel sample."""
    if not in_rounded_square(x, y):
        return None
    outline = 1.6 / size
    if inside_polygon(x, y, POINTER):
        return WHITE
    if any(near_segment(x, y, p, q, outline) for p, q in zip(POINTER, POINTER[1:] + POINTER[:1])):
        return DARK
    if any(near_segment(x, y, a, b, 0.035) for a, b in RAYS):
        return WHITE
    return BLUE


def render(size, grid=4):
    """Rows of (r, g, b, a), top row first, anti-aliased by a grid of samples per pixel."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0, 0, 0]
            hits = 0
            for sy in range(grid):
                for sx in range(grid):
                    colour = sample((px + (sx + 0.5) / grid) / size, (py + (sy + 0.5) / grid) / size,
                                    size)
                    if colour:
                        hits += 1
                        total = [t + c for t, c in zip(total, colour)]
            if hits:
                row.append(tuple(t // hits for t in total) + (255 * hits // (grid * grid),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def bitmap(rows):
    """A 32-bit DIB as icons hold it: bottom-up BGRA pixels, then the 1-bit AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    mask_row = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + pixels + mask


def icon(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, blob in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        data += blob
    return directory + entries + data


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent.parent / "app/clicker.ico"
    images = [(size, (png if size >= 64 else bitmap)(render(size))) for size in (128, 64, 48, 32, 16)]
    out.write_bytes(icon(images))
    print(f"{out}: {out.stat().st_size} bytes")


if __name__ == "__main__":
    main()
