#!/usr/bin/env python3
"""Regenerates the HDR test files in this folder from one SDR picture.

The SDR picture (hdr-sdr-grade.png, 8-bit sRGB) is the grade the HDR files
must come back to. It is put into BT.2020 primaries with SDR white at
203 cd/m² (BT.2408) and encoded with the PQ transfer (ST 2084) and the HLG
one (BT.2100, for its nominal 1000 cd/m² display, system gamma 1.2), as
16-bit PNGs, then as 10-bit AVIF (avifenc) and HEIF (heif-enc, from
libheif-examples) with those code points and no ICC profile.

hdr-pq-clli.avif says in a content light level box that its peak is
1000 cd/m² (it is 203), so that peak is the one mapped from.

Needs avifenc 1.x (0.11 has no --clli) and heif-enc 1.16 or later (1.15
writes no nclx box into HEIC): Debian 13 has both. ImageMagick's `convert`
is needed only to shrink a new photo. Run from anywhere:
  python3 make_hdr_fixtures.py [PHOTO]
Without PHOTO the existing hdr-sdr-grade.png is used again.
"""
import math
import os
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 96, 64
SDR_WHITE = 203.0
HLG_PEAK = 1000.0
HLG_GAMMA = 1.2


def out(name):
    return os.path.join(HERE, name)


# --- colour -----------------------------------------------------------------

def rgb_to_xyz(prim):
    (rx, ry), (gx, gy), (bx, by), (wx, wy) = prim
    cols = [(x / y, 1.0, (1 - x - y) / y) for x, y in ((rx, ry), (gx, gy), (bx, by))]
    m = [[cols[c][r] for c in range(3)] for r in range(3)]
    white = (wx / wy, 1.0, (1 - wx - wy) / wy)
    inv = invert(m)
    s = [sum(inv[c][k] * white[k] for k in range(3)) for c in range(3)]
    return [[m[r][c] * s[c] for c in range(3)] for r in range(3)]


def invert(m):
    a, b, c = m[0]
    d, e, f = m[1]
    g, h, i = m[2]
    det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g)
    return [[(e * i - f * h) / det, (c * h - b * i) / det, (b * f - c * e) / det],
            [(f * g - d * i) / det, (a * i - c * g) / det, (c * d - a * f) / det],
            [(d * h - e * g) / det, (b * g - a * h) / det, (a * e - b * d) / det]]


def mul(a, b):
    return [[sum(a[r][k] * b[k][c] for k in range(3)) for c in range(3)] for r in range(3)]


D65 = (0.3127, 0.3290)
BT709 = ((0.640, 0.330), (0.300, 0.600), (0.150, 0.060), D65)
BT2020 = ((0.708, 0.292), (0.170, 0.797), (0.131, 0.046), D65)
TO_2020 = mul(invert(rgb_to_xyz(BT2020)), rgb_to_xyz(BT709))


def srgb_to_linear(v):
    return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4


def pq(light):
    m1, m2 = 2610 / 16384, 2523 / 4096 * 128
    c1, c2, c3 = 3424 / 4096, 2413 / 4096 * 32, 2392 / 4096 * 32
    y = (max(light, 0.0) / 10000.0) ** m1
    return ((c1 + c2 * y) / (1 + c3 * y)) ** m2


def hlg_oetf(e):
    a = 0.17883277
    b = 1 - 4 * a
    c = 0.5 - a * math.log(4 * a)
    return math.sqrt(3 * e) if e <= 1 / 12 else a * math.log(12 * e - b) + c


def hlg(display):
    # Inverse OOTF (display light to scene light), then the OETF.
    yd = 0.2627 * display[0] + 0.6780 * display[1] + 0.0593 * display[2]
    if yd <= 0:
        return (0.0, 0.0, 0.0)
    ys = (yd / HLG_PEAK) ** (1 / HLG_GAMMA)
    return tuple(hlg_oetf(min(1.0, d / HLG_PEAK / ys ** (HLG_GAMMA - 1))) for d in display)


def to_display_light(rgb8):
    lin = [srgb_to_linear(v / 255.0) for v in rgb8]
    wide = [sum(TO_2020[r][k] * lin[k] for k in range(3)) for r in range(3)]
    return [SDR_WHITE * max(v, 0.0) for v in wide]


# --- files ------------------------------------------------------------------

def png(path, rows, depth):
    raw = b""
    for row in rows:
        raw += b"\x00" + (struct.pack(">%dH" % len(row), *row) if depth == 16 else bytes(row))
    body = struct.pack(">IIBBBBB", WIDTH, HEIGHT, depth, 2, 0, 0, 0)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xffffffff)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", body) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def read_own_png(path):
    # The 8-bit RGB PNG png() wrote: one IDAT, filter 0 on every row.
    data = open(path, "rb").read()
    width, height = struct.unpack(">II", data[16:24])
    assert (width, height) == (WIDTH, HEIGHT) and data[24:26] == b"\x08\x02"
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IDAT":
            idat += data[at + 8:at + 8 + length]
        at += 12 + length
    raw = zlib.decompress(idat)
    stride = 1 + 3 * WIDTH
    assert all(raw[y * stride] == 0 for y in range(HEIGHT))
    return [[raw[y * stride + 1 + 3 * x:y * stride + 4 + 3 * x] for x in range(WIDTH)]
            for y in range(HEIGHT)]


def sdr_pixels(photo):
    if not photo:
        return read_own_png(out("hdr-sdr-grade.png"))
    ppm = subprocess.run(["convert", photo, "-resize", "%dx%d!" % (WIDTH, HEIGHT),
                          "-depth", "8", "ppm:-"], check=True, capture_output=True).stdout
    # P6\n<w> <h>\n255\n<data>
    fields = ppm.split(maxsplit=4)
    assert fields[0] == b"P6" and int(fields[1]) == WIDTH and int(fields[2]) == HEIGHT
    data = fields[4]
    return [[data[(y * WIDTH + x) * 3:(y * WIDTH + x) * 3 + 3] for x in range(WIDTH)]
            for y in range(HEIGHT)]


def jpeg_icc(path):
    # The profile of a JPEG whose APP2 ICC_PROFILE segments come in order.
    data = open(path, "rb").read()
    at, profile = 2, b""
    while at + 4 <= len(data) and data[at] == 0xFF and data[at + 1] not in (0xDA, 0xD9):
        length = struct.unpack(">H", data[at + 2:at + 4])[0]
        body = data[at + 4:at + 2 + length]
        if data[at + 1] == 0xE2 and body.startswith(b"ICC_PROFILE\x00"):
            profile += body[14:]
        at += 2 + length
    assert profile
    return profile


def has_option(tool, option):
    help_text = subprocess.run([tool, "--help"], capture_output=True, text=True)
    return option in help_text.stdout + help_text.stderr


def main():
    photo = sys.argv[1] if len(sys.argv) > 1 else None
    pixels = sdr_pixels(photo)
    png(out("hdr-sdr-grade.png"), [[v for p in row for v in p] for row in pixels], 8)
    encoded = {"pq": pq, "hlg": None}
    with tempfile.TemporaryDirectory() as tmp:
        for name in encoded:
            rows = []
            for row in pixels:
                values = []
                for p in row:
                    light = to_display_light(p)
                    signal = hlg(light) if name == "hlg" else tuple(pq(v) for v in light)
                    values += [round(min(max(s, 0.0), 1.0) * 65535) for s in signal]
                rows.append(values)
            source = os.path.join(tmp, name + ".png")
            png(source, rows, 16)
            transfer = "16" if name == "pq" else "18"
            subprocess.run(["avifenc", "--depth", "10", "--cicp", "9/%s/9" % transfer,
                            "-r", "full", "-y", "444", "--min", "0", "--max", "4", "-s", "6",
                            "--ignore-icc", source, out("hdr-%s.avif" % name)],
                           check=True, capture_output=True)
            if name == "pq" and has_option("avifenc", "--clli"):
                subprocess.run(["avifenc", "--depth", "10", "--cicp", "9/16/9", "-r", "full",
                                "-y", "444", "--min", "0", "--max", "4", "-s", "6",
                                "--clli", "1000,400", "--ignore-icc", source,
                                out("hdr-pq-clli.avif")], check=True, capture_output=True)
            if name == "pq":
                # The same with an ICC profile beside the code points: the
                # profile says what the numbers mean.
                icc = os.path.join(tmp, "adobe-rgb.icc")
                with open(icc, "wb") as f:
                    f.write(jpeg_icc(out("2-adobe-rgb.jpg")))
                subprocess.run(["avifenc", "--depth", "10", "--cicp", "9/16/9", "-r", "full",
                                "-y", "444", "--min", "0", "--max", "4", "-s", "6",
                                "--icc", icc, source, out("hdr-pq-with-icc.avif")],
                               check=True, capture_output=True)
            subprocess.run(["heif-enc", "-b", "10", "-q", "95", "--matrix_coefficients", "9",
                            "--colour_primaries", "9", "--transfer_characteristic", transfer,
                            "--full_range_flag", "1", source,
                            "-o", out("hdr-%s.heic" % name)],
                           check=True, capture_output=True)


if __name__ == "__main__":
    main()
