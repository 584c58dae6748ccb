#!/usr/bin/env python3
"""Regenerates the small hand-crafted codec test files in this folder.

Needs ImageMagick's `convert` for the base images; everything that must be
exact (EXIF blocks, lying headers, cut files) is written byte by byte here.
Run from anywhere: python3 make_fixtures.py
"""
import os
import sys
import struct
import subprocess
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def out(name):
    return os.path.join(HERE, name)


def exif_orientation_app1(orientation):
    # Little-endian TIFF block with one IFD0 entry: Orientation (0x0112, SHORT).
    tiff = b"II*\x00" + struct.pack("<I", 8)
    tiff += struct.pack("<H", 1)
    tiff += struct.pack("<HHIHH", 0x0112, 3, 1, orientation, 0)
    tiff += struct.pack("<I", 0)
    body = b"Exif\x00\x00" + tiff
    return b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body


def camera_exif_app1(orientation):
    # Big-endian TIFF: IFD0 with Make, Orientation and a GPS IFD holding
    # GPSLatitudeRef "N" and GPSLatitude 48/1 51/1 0/1.
    make = b"TestMake\x00"
    ifd0_at = 8
    ifd0 = struct.pack(">H", 3)
    data_at = ifd0_at + 2 + 3 * 12 + 4
    gps_at = data_at + len(make) + 1  # word-aligned
    ifd0 += struct.pack(">HHII", 0x010F, 2, len(make), data_at)
    ifd0 += struct.pack(">HHIHH", 0x0112, 3, 1, orientation, 0)
    ifd0 += struct.pack(">HHII", 0x8825, 4, 1, gps_at)
    ifd0 += struct.pack(">I", 0)
    rationals_at = gps_at + 2 + 2 * 12 + 4
    gps = struct.pack(">H", 2)
    gps += struct.pack(">HHI4s", 0x0001, 2, 2, b"N\x00\x00\x00")
    gps += struct.pack(">HHII", 0x0002, 5, 3, rationals_at)
    gps += struct.pack(">I", 0)
    rationals = struct.pack(">IIIIII", 48, 1, 51, 1, 0, 1)
    tiff = b"MM\x00*" + struct.pack(">I", ifd0_at) + ifd0 + make + b"\x00" + gps + rationals
    body = b"Exif\x00\x00" + tiff
    return b"\xff\xe1" + struct.pack(">H", len(body) + 2) + body


ADOBE_RGB = ((0.6097, 0.3111, 0.0195), (0.2053, 0.6257, 0.0609), (0.1492, 0.0632, 0.7446))
SRGB = ((0.4361, 0.2225, 0.0139), (0.3851, 0.7169, 0.0971), (0.1431, 0.0606, 0.7141))


def adobe_rgb_profile(colorants=ADOBE_RGB, name=b"Adobe RGB test"):
    # A matrix/TRC display profile with the given primaries (adapted to
    # D50; Adobe RGB (1998) by default) and gamma 563/256.
    def s15(v):
        return struct.pack(">i", round(v * 65536))

    def xyz(x, y, z):
        return b"XYZ \x00\x00\x00\x00" + s15(x) + s15(y) + s15(z)

    text = name
    desc = (b"desc\x00\x00\x00\x00" + struct.pack(">I", len(text) + 1) + text + b"\x00" +
            b"\x00" * 8 + b"\x00" * 3 + b"\x00" * 67)
    curve = b"curv\x00\x00\x00\x00" + struct.pack(">IH", 1, 563) + b"\x00\x00"
    tags = [(b"desc", desc), (b"cprt", b"text\x00\x00\x00\x00none\x00"),
            (b"wtpt", xyz(0.9642, 1.0, 0.8249)),
            (b"rXYZ", xyz(*colorants[0])), (b"gXYZ", xyz(*colorants[1])),
            (b"bXYZ", xyz(*colorants[2])),
            (b"rTRC", curve), (b"gTRC", curve), (b"bTRC", curve)]
    table = struct.pack(">I", len(tags))
    body = b""
    at = 128 + 4 + 12 * len(tags)
    for sig, data in tags:
        while len(body) % 4:
            body += b"\x00"
        table += sig + struct.pack(">II", at + len(body), len(data))
        body += data
    size = 128 + len(table) + len(body)
    header = struct.pack(">I", size) + b"\x00" * 4 + struct.pack(">I", 0x02100000)
    header += b"mntrRGB XYZ " + struct.pack(">6H", 2026, 1, 1, 0, 0, 0) + b"acsp"
    header += b"\x00" * 24 + struct.pack(">I", 0) + s15(0.9642) + s15(1.0) + s15(0.8249)
    header += b"\x00" * (128 - len(header))
    return header + table + body


def icc_app2(profile):
    body = b"ICC_PROFILE\x00\x01\x01" + profile
    return b"\xff\xe2" + struct.pack(">H", len(body) + 2) + body


def insert_after_soi(jpeg, segment):
    assert jpeg[:2] == b"\xff\xd8"
    return jpeg[:2] + segment + jpeg[2:]


def convert(args, suffix):
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "x" + suffix)
        subprocess.run(["convert", *args, path], check=True)
        with open(path, "rb") as f:
            return f.read()


def grey_profile():
    # A grey display profile: white point and a gamma 2.2 kTRC.
    def s15(v):
        return struct.pack(">i", round(v * 65536))
    text = b"Grey test"
    desc = (b"desc\x00\x00\x00\x00" + struct.pack(">I", len(text) + 1) + text + b"\x00" +
            b"\x00" * 78)
    wtpt = b"XYZ \x00\x00\x00\x00" + s15(0.9642) + s15(1.0) + s15(0.8249)
    curve = b"curv\x00\x00\x00\x00" + struct.pack(">IH", 1, 563) + b"\x00\x00"
    tags = [(b"desc", desc), (b"wtpt", wtpt), (b"kTRC", curve)]
    table = struct.pack(">I", len(tags))
    body = b""
    at = 128 + 4 + 12 * len(tags)
    for sig, data in tags:
        while len(body) % 4:
            body += b"\x00"
        table += sig + struct.pack(">II", at + len(body), len(data))
        body += data
    size = 128 + len(table) + len(body)
    header = struct.pack(">I", size) + b"\x00" * 4 + struct.pack(">I", 0x02100000)
    header += b"mntrGRAYXYZ " + struct.pack(">6H", 2026, 1, 1, 0, 0, 0) + b"acsp"
    header += b"\x00" * 24 + struct.pack(">I", 0) + s15(0.9642) + s15(1.0) + s15(0.8249)
    header += b"\x00" * (128 - len(header))
    return header + table + body


def replace_icc(jpeg, profile):
    # The fixture's one APP2 ICC_PROFILE segment, replaced.
    at = jpeg.find(b"\xff\xe2")
    assert at > 0 and jpeg[at + 4:at + 16] == b"ICC_PROFILE\x00"
    length = struct.unpack(">H", jpeg[at + 2:at + 4])[0]
    return jpeg[:at] + icc_app2(profile) + jpeg[at + 2 + length:]


def profile_fixtures():
    # From 2-adobe-rgb.jpg (so ImageMagick is not needed): the colour photo
    # under a grey profile, and under its own profile with a size field 64
    # bytes too large (lcms reads it, libpng refuses to store it).
    with open(out("2-adobe-rgb.jpg"), "rb") as f:
        wide = f.read()
    with open(out("21-grey-profile-on-rgb.jpg"), "wb") as f:
        f.write(replace_icc(wide, grey_profile()))
    bad = bytearray(adobe_rgb_profile())
    struct.pack_into(">I", bad, 0, len(bad) + 64)
    with open(out("21-malformed-rgb-profile.jpg"), "wb") as f:
        f.write(replace_icc(wide, bytes(bad)))


def main():
    # Stored 48x24 (landscape): a red block in the stored top-left corner,
    # the rest white. Orientation 6 displays it as 24x48 with red top-right.
    base = convert(["-size", "48x24", "xc:white", "-fill", "red", "-draw",
                    "rectangle 0,0 11,7", "-quality", "95", "-strip"], ".jpg")
    with open(out("2-exif-orientation-6.jpg"), "wb") as f:
        f.write(insert_after_soi(base, exif_orientation_app1(6)))

    # A camera photo: stored 64x48, orientation 6, with make and GPS.
    photo = convert(["-size", "64x48", "gradient:orange-navy", "-quality", "95", "-strip"], ".jpg")
    with open(out("2-camera.jpg"), "wb") as f:
        f.write(insert_after_soi(photo, camera_exif_app1(6)))

    # An Adobe RGB photo: saturated colours whose numbers differ in sRGB.
    wide = convert(["-size", "32x32", "xc:rgb(40,180,60)", "-quality", "95", "-strip"], ".jpg")
    with open(out("2-adobe-rgb.jpg"), "wb") as f:
        f.write(insert_after_soi(wide, icc_app2(adobe_rgb_profile())))

    # A gradient under a profile that is sRGB in all but name (sRGB's
    # primaries, a plain 2.2 gamma): no transform needed.
    ramp = convert(["-size", "64x48", "gradient:orange-navy", "-quality", "95", "-strip"], ".jpg")
    with open(out("2-srgb-like.jpg"), "wb") as f:
        f.write(insert_after_soi(ramp, icc_app2(adobe_rgb_profile(SRGB, b"Display"))))

    # CMYK JPEG without an embedded profile (ImageMagick writes none when
    # converting without one). Pure cyan ink.
    cmyk = convert(["-size", "16x16", "xc:cyan", "-colorspace", "CMYK", "-strip"], ".jpg")
    with open(out("2-cmyk.jpg"), "wb") as f:
        f.write(cmyk)

    # A photo-like PNG cut in the middle of its pixel data.
    png = convert(["-size", "64x64", "plasma:", "-seed", "3", "-depth", "8"], ".png")
    with open(out("2-truncated.png"), "wb") as f:
        f.write(png[: len(png) // 2])
    jpg = convert(["-size", "64x64", "plasma:", "-seed", "5", "-quality", "90"], ".jpg")
    with open(out("2-truncated.jpg"), "wb") as f:
        f.write(jpg[: len(jpg) // 2])

    # A GIF whose logical screen and only frame claim 65535x65535 with a
    # few bytes of LZW data: a decoder that trusts it allocates 17 GB.
    gif = b"GIF89a" + struct.pack("<HHBBB", 65535, 65535, 0x80, 0, 0)
    gif += b"\x00\x00\x00\xff\xff\xff"  # 2-entry global colour table
    gif += b"\x2c" + struct.pack("<HHHHB", 0, 0, 65535, 65535, 0)
    gif += b"\x02\x02\x44\x01\x00"  # min code size 2, one tiny sub-block
    gif += b"\x3b"
    with open(out("2-gif-claims-65535.gif"), "wb") as f:
        f.write(gif)

    # A baseline JPEG whose SOF claims 65500x65500: patch a real one's frame
    # header and keep its (tiny) scan, so the decoder would run a long time.
    small = convert(["-size", "8x8", "xc:gray", "-quality", "50", "-strip"], ".jpg")
    sof = small.find(b"\xff\xc0")
    assert sof > 0
    patched = bytearray(small)
    struct.pack_into(">HH", patched, sof + 5, 65500, 65500)
    with open(out("2-jpeg-claims-65500.jpg"), "wb") as f:
        f.write(bytes(patched))

    # A PNG whose IHDR claims 100000x100000 (valid CRC).
    ihdr = struct.pack(">IIBBBBB", 100000, 100000, 8, 2, 0, 0, 0)
    chunk = lambda t, d: struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d))
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(b"\0" * 64))
    png += chunk(b"IEND", b"")
    with open(out("2-png-claims-100000.png"), "wb") as f:
        f.write(png)

    # Two-frame GIF made by another encoder: frame 0 red, frame 1 blue.
    anim = convert(["-delay", "10", "-size", "8x8", "xc:red", "xc:blue", "-loop", "0"], ".gif")
    with open(out("2-animated.gif"), "wb") as f:
        f.write(anim)

    # Not an image at all, named like one.
    with open(out("2-garbage.jpg"), "wb") as f:
        f.write(b"this is not an image, only text that ends too soon\n" * 4)


if __name__ == "__main__":
    if "--profiles-only" not in sys.argv:
        main()
    profile_fixtures()
