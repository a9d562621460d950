#!/usr/bin/env python3
"""Makes the installed icons from the program's own 32 x 32 icon
(src/app/icons/lmk.png): PNGs of 48 and 256 pixels and a scalable SVG that
draws the same pixels as squares. Run it again after the icon changed; its
results are kept in data/icons/.

Usage: scripts/make-icons.py [SOURCE.png] [OUTPUT_DIR]
"""
import os
import struct
import sys
import zlib

NAME = "org.lmkinterface.lmkinterface"


def read_png(path):
    """RGBA rows of an 8-bit, non-interlaced RGBA or RGB PNG."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG file")
    pos, idat, width, height, colour = 8, b"", 0, 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 6) or interlace:
                raise SystemExit(f"{path}: only 8-bit RGB(A), non-interlaced")
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    channels = 4 if colour == 6 else 3
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, prev = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        ftype, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = prev[i]
            c = prev[i - channels] if i >= channels else 0
            if ftype == 1:
                line[i] = (line[i] + a) & 0xFF
            elif ftype == 2:
                line[i] = (line[i] + b) & 0xFF
            elif ftype == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 0xFF
        prev = line
        px = []
        for x in range(width):
            o = x * channels
            px.append(tuple(line[o:o + 3]) + ((line[o + 3],) if channels == 4 else (255,)))
        rows.append(px)
    return rows


def write_png(path, rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def scaled(rows, size):
    """Area-averaged resampling (exact for any factor: the source is first
    enlarged by whole pixels, then each target pixel averages its block),
    with colours weighted by their alpha."""
    n = len(rows)
    k = size // _gcd(size, n)  # enlarge by k, then shrink by m
    m = n * k // size
    out = []
    for ty in range(size):
        row = []
        for tx in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(ty * m, ty * m + m):
                for sx in range(tx * m, tx * m + m):
                    r, g, b, a = rows[sy // k][sx // k]
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            alpha = acc[3]
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(acc[0] / alpha), round(acc[1] / alpha),
                            round(acc[2] / alpha), round(alpha / (m * m))))
        out.append(row)
    return out


def _gcd(a, b):
    while b:
        a, b = b, a % b
    return a


def write_svg(path, rows):
    """Each run of equal pixels in a row as one rectangle."""
    n = len(rows)
    parts = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{n}" height="{n}" '
             f'viewBox="0 0 {n} {n}" shape-rendering="crispEdges">']
    for y, row in enumerate(rows):
        x = 0
        while x < n:
            p = row[x]
            run = 1
            while x + run < n and row[x + run] == p:
                run += 1
            if p[3]:
                opacity = "" if p[3] == 255 else f' fill-opacity="{p[3] / 255:.3f}"'
                parts.append(f'<rect x="{x}" y="{y}" width="{run}" height="1" '
                             f'fill="#{p[0]:02x}{p[1]:02x}{p[2]:02x}"{opacity}/>')
            x += run
    parts.append("</svg>")
    with open(path, "w") as f:
        f.write("\n".join(parts) + "\n")


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    source = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "src/app/icons/lmk.png")
    outdir = sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, "data/icons")
    rows = read_png(source)
    if len(rows) != len(rows[0]):
        raise SystemExit(f"{source}: the icon must be square")
    os.makedirs(outdir, exist_ok=True)
    for size in (48, 256):
        write_png(os.path.join(outdir, f"{NAME}-{size}.png"), scaled(rows, size))
    write_svg(os.path.join(outdir, f"{NAME}.svg"), rows)


if __name__ == "__main__":
    main()
