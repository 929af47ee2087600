#!/usr/bin/env python3
"""Draws the application icon and writes resources/lumaro.ico.

The artwork is a rounded square in the default accent colour with a white
pair of braces, described as geometry and rendered with 4x4 supersampling at
each size, so every image is drawn for its own pixel grid rather than scaled.
Pure standard library, so the icon can be rebuilt on any machine:

    python3 scripts/make_icon.py
"""
import math
import os
import struct
import zlib

SIZES = [16, 24, 32, 48, 64, 256]
ACCENT = (12, 101, 94)       # the default scheme's accent, as RGB
ACCENT_TOP = (24, 128, 118)  # a lighter tone for a gentle vertical gradient
WHITE = (255, 255, 255)
SUPERSAMPLE = 4

# Braces in a unit square, as polylines (x, y) with a stroke width.
LEFT_BRACE = [(0.40, 0.24), (0.33, 0.26), (0.31, 0.33), (0.31, 0.44), (0.25, 0.50),
              (0.31, 0.56), (0.31, 0.67), (0.33, 0.74), (0.40, 0.76)]
RIGHT_BRACE = [(1.0 - x, y) for (x, y) in LEFT_BRACE]
STROKE = 0.075


def rounded_square_coverage(x, y, radius):
    """Inside test of a square from 0.06 to 0.94 with rounded corners."""
    lo, hi = 0.06, 0.94
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 and lo <= x <= hi and lo <= y <= hi


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def on_stroke(x, y, stroke):
    for line in (LEFT_BRACE, RIGHT_BRACE):
        for (a, b) in zip(line, line[1:]):
            if segment_distance(x, y, a[0], a[1], b[0], b[1]) <= stroke / 2:
                return True
    return False


def render(size):
    """Straight (not premultiplied) RGBA rows, top row first."""
    # Small icons get relatively thicker strokes so the braces stay legible.
    stroke = STROKE * (1.5 if size <= 16 else 1.25 if size <= 24 else 1.0)
    radius = 0.18
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            bg = fg = 0
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    if rounded_square_coverage(x, y, radius):
                        bg += 1
                        if on_stroke(x, y, stroke):
                            fg += 1
            alpha = bg / (n * n)
            if bg == 0:
                row.append((0, 0, 0, 0))
                continue
            t = py / max(size - 1, 1)
            base = tuple(round(ACCENT_TOP[i] * (1 - t) + ACCENT[i] * t) for i in range(3))
            share = fg / bg
            rgb = tuple(round(base[i] * (1 - share) + WHITE[i] * share) for i in range(3))
            row.append(rgb + (round(alpha * 255),))
        rows.append(row)
    return rows


def png_bytes(rows):
    size = len(rows)
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def dib_bytes(rows):
    """32-bit BGRA bitmap, bottom-up, with the AND mask the format expects."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = b"\x00" * (mask_stride * size)  # all visible; alpha decides
    return header + pixels + mask


def main():
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, png_bytes(rows) if size == 256 else dib_bytes(rows)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size == 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "lumaro.ico")
    with open(target, "wb") as f:
        f.write(out)
    # A preview for the README and for looking at the artwork.
    preview = os.path.join(os.path.dirname(target), "lumaro-256.png")
    with open(preview, "wb") as f:
        f.write(png_bytes(render(256)))


if __name__ == "__main__":
    main()
