#!/usr/bin/env python3
"""Regenerates the HEIF/AVIF layout test files (24-*) in this folder.

Needs avifenc; the layered file needs avifenc 1.0 or later (--layered) and
is skipped with older ones. What no encoder writes (an image derived with
`iden`, a sequence with no still image) is rewritten box by box here.
Run from anywhere: python3 make_heif_fixtures.py
"""
import os
import struct
import subprocess
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def png(path, width, height, seed):
    rows = b"".join(
        b"\0" + b"".join(bytes(((x * 7 + y * 3 + seed) % 256, (x * 2 + seed * 5) % 256,
                                (y * 5) % 256)) for x in range(width))
        for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" +
                chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def box(kind, payload):
    return struct.pack(">I4s", 8 + len(payload), kind) + payload


def full_box(kind, version, flags, payload):
    return box(kind, struct.pack(">I", (version << 24) | flags) + payload)


def boxes(data, start=0, end=None):
    end = len(data) if end is None else end
    found = []
    while start < end:
        size, kind = struct.unpack(">I4s", data[start:start + 8])
        found.append((kind, data[start + 8:start + size]))
        start += size
    return found


def iden_over(rotated_avif, with_location):
    """The single coded item of an AVIF with `irot` becomes hidden, and the
    primary item is an `iden` item deriving from it that carries the turn."""
    top = dict(boxes(rotated_avif))
    meta = dict(boxes(top[b"meta"], 4))
    ipco = dict(boxes(meta[b"iprp"]))[b"ipco"]
    index = {kind: i + 1 for i, (kind, _) in enumerate(boxes(ipco))}
    coded = full_box(b"infe", 2, 1, struct.pack(">HH4s", 1, 0, b"av01") + b"Color\0")
    derived = full_box(b"infe", 2, 0, struct.pack(">HH4s", 2, 0, b"iden") + b"\0")
    iinf = full_box(b"iinf", 0, 0, struct.pack(">H", 2) + coded + derived)
    pitm = full_box(b"pitm", 0, 0, struct.pack(">H", 2))
    iref = full_box(b"iref", 0, 0, box(b"dimg", struct.pack(">HHH", 2, 1, 1)))

    def associate(item, properties):
        return struct.pack(">HB", item, len(properties)) + bytes(
            (0x80 if essential else 0) | index[kind] for kind, essential in properties)

    ipma = full_box(b"ipma", 0, 0, struct.pack(">I", 2) +
                    associate(1, [(b"ispe", 0), (b"pixi", 0), (b"av1C", 1), (b"colr", 0)]) +
                    associate(2, [(b"ispe", 0), (b"colr", 0), (b"irot", 1)]))
    iprp = box(b"iprp", box(b"ipco", ipco) + ipma)
    old_offset, length = struct.unpack(">II", meta[b"iloc"][-8:])
    into_mdat = old_offset - (rotated_avif.index(b"mdat") + 4)

    def head(offset):
        entries = struct.pack(">HHHII", 1, 0, 1, offset, length)
        if with_location:
            entries += struct.pack(">HHH", 2, 0, 0)  # no data, as iden has none
        iloc = full_box(b"iloc", 0, 0, struct.pack(">BBH", 0x44, 0, 2 if with_location else 1) +
                        entries)
        return box(b"ftyp", top[b"ftyp"]) + full_box(
            b"meta", 0, 0, box(b"hdlr", meta[b"hdlr"]) + pitm + iloc + iinf + iref + iprp)

    first = head(0)
    return head(len(first) + 8 + into_mdat) + box(b"mdat", top[b"mdat"])


def without_still(sequence, brands):
    """A sequence whose item metadata (its still image) is gone; the sample
    offsets of the tracks move with the media data."""
    meta_size = 0
    kept = b""
    for kind, payload in boxes(sequence):
        if kind == b"meta":
            meta_size = 8 + len(payload)
        elif kind == b"ftyp":
            kept += box(b"ftyp", brands[0] + b"\0\0\0\0" + b"".join(brands))
        else:
            kept += box(kind, payload)
    data = bytearray(kept)
    at = data.find(b"stco")
    while at >= 0:
        count = struct.unpack(">I", data[at + 8:at + 12])[0]
        for i in range(count):
            p = at + 12 + 4 * i
            data[p:p + 4] = struct.pack(">I", struct.unpack(">I", data[p:p + 4])[0] - meta_size)
        at = data.find(b"stco", at + 4)
    return bytes(data)


def avifenc(*args):
    return subprocess.run(["avifenc", "-s", "10", *args], capture_output=True).returncode == 0


def main():
    with tempfile.TemporaryDirectory() as tmp:
        frames = [os.path.join(tmp, f"f{i}.png") for i in range(3)]
        for i, frame in enumerate(frames):
            png(frame, 64, 48, i * 40)
        png(os.path.join(tmp, "tiles.png"), 128, 128, 0)

        def made(name, *args):
            path = os.path.join(tmp, name)
            return open(path, "rb").read() if avifenc(*args, path) else None

        def write(name, data):
            with open(os.path.join(HERE, name), "wb") as f:
                f.write(data)

        sequence = made("seq.avif", *frames)
        write("24-sequence-with-still.avif", sequence)
        write("24-sequence-only.avif", without_still(sequence, [b"avis", b"msf1", b"miaf"]))
        write("24-sequence-only.heif", without_still(sequence, [b"msf1", b"hevc"]))
        rotated = made("irot.avif", "--irot", "1", frames[0])
        write("24-iden-rotated.avif", iden_over(rotated, True))
        write("24-iden-without-location.avif", iden_over(rotated, False))
        write("24-grid.avif", made("grid.avif", "--grid", "2x2", os.path.join(tmp, "tiles.png")))
        layered = made("layered.avif", "--layered", frames[0], frames[1])
        if layered:
            write("24-layered.avif", layered)
        else:
            print("avifenc cannot write layered files: 24-layered.avif kept as it is")


if __name__ == "__main__":
    main()
