#!/usr/bin/env python3
"""make_png.py FILE: writes a small real PNG picture (a colour gradient) to FILE."""
import struct
import sys
import zlib


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def main():
    width, height = 48, 32
    rows = b"".join(
        b"\0" + b"".join(bytes((x * 255 // width, y * 255 // height, 0x60)) for x in range(width))
        for y in range(height))
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
           chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
    with open(sys.argv[1], "wb") as out:
        out.write(png)


if __name__ == "__main__":
    main()
