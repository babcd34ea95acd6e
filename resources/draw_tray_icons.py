#!/usr/bin/env python3
"""draw_tray_icons.py [FOLDER]: draws Tolvan's tray pictures as PNG files.

A key cap with a "T" on it: blue while Tolvan expands, grey while it is switched off. Each
picture is drawn at 16, 22 and 32 pixels from the same shapes (a 32-unit square), with 8 x 8
samples per pixel for smooth edges. Written to FOLDER (default: tray/ beside this script).
"""
import os
import struct
import sys
import zlib

SIZES = (16, 22, 32)
SAMPLES = 8

# (fill of the cap, its lower edge, the letter)
STYLES = {
    "enabled": ((0x2B, 0x7C, 0xD9, 255), (0x1A, 0x4F, 0x91, 255), (255, 255, 255, 255)),
    "disabled": ((0x9A, 0x9A, 0x9A, 255), (0x6B, 0x6B, 0x6B, 255), (0xE8, 0xE8, 0xE8, 255)),
}


def in_rounded_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def layer_at(x, y, style):
    """The colour of the topmost shape at (x, y) in the 32-unit square, or None."""
    cap, edge, letter = style
    if in_rounded_rect(x, y, 9, 7.5, 23, 11.5, 0.8) or in_rounded_rect(x, y, 14, 7.5, 18, 23, 0.8):
        return letter
    if in_rounded_rect(x, y, 2, 3, 30, 26, 6):
        return cap
    if in_rounded_rect(x, y, 2, 3, 30, 29.5, 6):
        return edge
    return None


def render(size, style):
    scale = 32.0 / size
    rows = []
    for py in range(size):
        row = bytearray([0])  # filter type: none
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * scale
                    y = (py + (sy + 0.5) / SAMPLES) * scale
                    c = layer_at(x, y, style)
                    if c:
                        alpha = c[3] / 255.0
                        r += c[0] * alpha
                        g += c[1] * alpha
                        b += c[2] * alpha
                        a += alpha
            n = SAMPLES * SAMPLES
            if a > 0:
                # Colours are averaged over the covered samples only (no dark fringe).
                row += bytes((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return png(size, size, b"".join(rows))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(width, height, rows):
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) +
            chunk(b"IEND", b""))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "tray")
    os.makedirs(folder, exist_ok=True)
    for name, style in STYLES.items():
        for size in SIZES:
            with open(os.path.join(folder, f"tolvan-{name}-{size}.png"), "wb") as out:
                out.write(render(size, style))


if __name__ == "__main__":
    main()
