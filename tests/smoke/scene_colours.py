#!/usr/bin/env python3
"""Reads the game's 800 x 600 scene out of a screen dump made by `xwd -root`.

  scene_colours.py DUMP X Y W H at SX SY [SX SY ...]
      prints the colour (RRGGBB) at each scene point, one a line
  scene_colours.py DUMP X Y W H match SX SY RRGGBB [SX SY RRGGBB ...]
      exits 0 when every point shows its colour within 24 in each channel
      (the scaled scene is filtered), else names the points that differ
  scene_colours.py DUMP X Y W H png OUT.png
      writes the scene as an 800 x 600 PNG, for a person to look at

X Y W H is the game window on the screen. The scene fills it at the largest
scale that keeps its shape, centred (full screen shows bars beside or above
and below it); a windowed game shows it at its own size.
"""
import struct
import sys
import zlib

SCENE_W, SCENE_H = 800, 600


def read_dump(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = struct.unpack(">25I", data[:100])
    header_size, _, pixmap_format, _, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    ncolors = fields[19]
    if pixmap_format != 2 or bits_per_pixel not in (24, 32):
        raise SystemExit("%s: not a 24- or 32-bit ZPixmap dump" % path)
    start = header_size + ncolors * 12
    step = bits_per_pixel // 8

    def pixel(x, y):
        at = start + y * bytes_per_line + x * step
        raw = data[at:at + step]
        value = int.from_bytes(raw, "little" if byte_order == 0 else "big")
        return value & 0xFFFFFF

    return width, height, pixel


def scene_mapper(x, y, w, h):
    scale = min(w / SCENE_W, h / SCENE_H)
    left = x + (w - SCENE_W * scale) / 2
    top = y + (h - SCENE_H * scale) / 2

    def to_screen(sx, sy):
        return int(left + (sx + 0.5) * scale), int(top + (sy + 0.5) * scale)

    return to_screen


def write_png(path, rows):
    raw = b"".join(b"\x00" + bytes(row) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", SCENE_W, SCENE_H, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
        f.write(chunk(b"IEND", b""))


def main(argv):
    if len(argv) < 7:
        raise SystemExit(__doc__)
    dump = argv[1]
    x, y, w, h = (int(v) for v in argv[2:6])
    width, height, pixel = read_dump(dump)
    to_screen = scene_mapper(x, y, w, h)

    def colour(sx, sy):
        px, py = to_screen(sx, sy)
        if not (0 <= px < width and 0 <= py < height):
            return 0
        return pixel(px, py)

    if argv[6] == "at":
        points = [int(v) for v in argv[7:]]
        for i in range(0, len(points) - 1, 2):
            print("%06X" % colour(points[i], points[i + 1]))
    elif argv[6] == "match":
        triples = argv[7:]
        differ = []
        for i in range(0, len(triples) - 2, 3):
            sx, sy, want = int(triples[i]), int(triples[i + 1]), int(triples[i + 2], 16)
            got = colour(sx, sy)
            if any(abs(((got >> s) & 255) - ((want >> s) & 255)) > 24 for s in (0, 8, 16)):
                differ.append("(%d, %d) %06X, not %06X" % (sx, sy, got, want))
        if differ:
            print("differs: " + "; ".join(differ))
            return 1
    elif argv[6] == "png":
        rows = []
        for sy in range(SCENE_H):
            row = bytearray()
            for sx in range(SCENE_W):
                c = colour(sx, sy)
                row += bytes(((c >> 16) & 255, (c >> 8) & 255, c & 255))
            rows.append(row)
        write_png(argv[7], rows)
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
