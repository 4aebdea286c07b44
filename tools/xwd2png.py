#!/usr/bin/env python3
"""Converts an X window dump (xwd, 24 or 32 bits per pixel, ZPixmap) to PNG, cropped to what is not
the black root window, with a margin.

usage: tools/xwd2png.py DUMP PNG [MARGIN]
"""
import struct
import sys
import zlib


def read_xwd(data):
    fields = struct.unpack(">25I", data[:100])
    header_size, _version, pixmap_format, depth, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    ncolors = fields[19]
    if pixmap_format != 2 or bits_per_pixel not in (24, 32) or depth < 24:
        sys.exit("xwd2png: only 24-bit colour dumps in ZPixmap form are read")
    start = header_size + 12 * ncolors
    step = bits_per_pixel // 8
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line:start + y * bytes_per_line + width * step]
        row = bytearray()
        for x in range(width):
            p = line[x * step:x * step + step]
            # least significant byte first: blue, green, red
            b, g, r = (p[0], p[1], p[2]) if byte_order == 0 else (p[step - 1], p[step - 2], p[step - 3])
            row += bytes((r, g, b))
        rows.append(bytes(row))
    return width, height, rows


def crop(width, height, rows, margin):
    black = bytes(3)
    used_rows = [y for y in range(height) if rows[y].strip(b"\0")]
    if not used_rows:
        return width, height, rows
    left, right = width, 0
    for y in used_rows:
        row = rows[y]
        for x in range(width):
            if row[x * 3:x * 3 + 3] != black:
                left = min(left, x)
                break
        for x in range(width - 1, -1, -1):
            if row[x * 3:x * 3 + 3] != black:
                right = max(right, x)
                break
    top, bottom = max(0, used_rows[0] - margin), min(height - 1, used_rows[-1] + margin)
    left, right = max(0, left - margin), min(width - 1, right + margin)
    return right - left + 1, bottom - top + 1, [rows[y][left * 3:(right + 1) * 3] for y in range(top, bottom + 1)]


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    raw = b"".join(b"\0" + row for row in rows)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(png)


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    with open(sys.argv[1], "rb") as f:
        width, height, rows = read_xwd(f.read())
    margin = int(sys.argv[3]) if len(sys.argv) == 4 else 8
    write_png(sys.argv[2], *crop(width, height, rows, margin))


if __name__ == "__main__":
    main()
