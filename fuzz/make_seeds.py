#!/usr/bin/env python3
"""Writes small seed files for the fuzz targets: make_seeds.py OUTDIR.

OUTDIR/bmp, OUTDIR/png and OUTDIR/jpeg get a few dozen tiny valid files each, covering
the variants the readers take (and a few they refuse). BMP and PNG are written here with
the standard library; JPEG through cjpeg (libjpeg-turbo-progs) from PPM and PGM files
written here. The checks before the picture loader get theirs in OUTDIR/emf (generated
metafiles with every record kind the check reads, and the producer-made ones of the Wine
tests), OUTDIR/wmf (the producer-made placeable metafiles), OUTDIR/icon, OUTDIR/bmp_loader
and OUTDIR/gif_size. Nothing is downloaded and
nothing large is kept in the repository.
"""
import base64
import os
import struct
import subprocess
import sys
import tempfile
import zlib


def pixels(w, h, channels, seed):
    out = []
    for y in range(h):
        row = bytearray()
        for x in range(w):
            for c in range(channels):
                row.append((x * 37 + y * 91 + c * 53 + seed * 17 + (x * y) % 7) & 0xFF)
        out.append(bytes(row))
    return out


# --- BMP -------------------------------------------------------------------------------
def bmp(header, w, h, bits, compression=0, palette=b"", masks=(), rows=None, clr_used=0):
    row_bytes = (w * bits + 7) // 8
    rows = rows or [bytes((i * 29 + y * 7) & 0xFF for i in range(row_bytes)) for y in range(h)]
    if header == 12:
        info = struct.pack("<IHHHH", 12, w, h & 0xFFFF, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, compression, 0, 2835, 2835, clr_used, 0)
        if header == 108:
            m = list(masks) + [0] * (4 - len(masks))
            info = struct.pack("<I", 108) + info[4:] + struct.pack("<IIIII", *m[:4], 0x73524742) + bytes(48)
        else:
            info += b"".join(struct.pack("<I", v) for v in masks)
    body = info + palette
    offset = 14 + len(body)
    for r in rows:
        body += r + bytes((-len(r)) % 4)
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body


def bmp_seeds():
    pal4 = bytes(i * 16 % 256 for i in range(16 * 4))
    pal256 = bytes((i * 7) & 0xFF for i in range(256 * 4))
    yield "rgb24.bmp", bmp(40, 5, 3, 24)
    yield "rgb24_v4.bmp", bmp(108, 4, 2, 24)
    yield "rgb32.bmp", bmp(40, 3, 3, 32)
    yield "rgb32_bitfields.bmp", bmp(40, 3, 2, 32, 3, masks=(0xFF0000, 0xFF00, 0xFF))
    yield "rgb16_555.bmp", bmp(40, 5, 2, 16)
    yield "rgb16_565.bmp", bmp(40, 5, 2, 16, 3, masks=(0xF800, 0x07E0, 0x001F))
    yield "rgb16_555_bitfields.bmp", bmp(40, 3, 2, 16, 3, masks=(0x7C00, 0x03E0, 0x001F))
    yield "rgb16_other.bmp", bmp(40, 3, 2, 16, 3, masks=(0xF00, 0xF0, 0xF))
    yield "pal1.bmp", bmp(40, 13, 3, 1, palette=b"\0\0\0\0\xff\xff\xff\0")
    yield "pal4.bmp", bmp(40, 7, 3, 4, palette=pal4)
    yield "pal8.bmp", bmp(40, 5, 3, 8, palette=pal256)
    yield "pal8_clrused.bmp", bmp(40, 5, 3, 8, palette=pal256[:40], clr_used=10)
    yield "core8.bmp", bmp(12, 4, 2, 8, palette=bytes(range(256)) * 3)
    yield "core24.bmp", bmp(12, 3, 2, 24)
    yield "rle8.bmp", bmp(40, 4, 2, 8, 1, palette=pal256, rows=[b"\x04\x01\x00\x00", b"\x04\x02\x00\x01"])
    yield "topdown.bmp", bmp(40, 2, -2, 24)


# --- PNG -------------------------------------------------------------------------------
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(w, h, depth, colour, rows, extra=(), interlaced=False):
    ihdr = struct.pack(">IIBBBBB", w, h, depth, colour, 0, 0, 1 if interlaced else 0)
    raw = b"".join(b"\0" + r for r in rows)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
    for kind, data in extra:
        out += chunk(kind, data)
    return out + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def adam7(w, h, bpp, rows):
    """Adam7 sub-images of 8-bit-aligned pixels (bpp bytes each), in pass order."""
    passes = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
    out = []
    for x0, y0, dx, dy in passes:
        if x0 >= w:
            continue
        for y in range(y0, h, dy):
            out.append(b"".join(rows[y][x * bpp:(x + 1) * bpp] for x in range(x0, w, dx)))
    return out


def packed(w, h, depth, seed):
    per_byte = 8 // depth
    rows = []
    for y in range(h):
        row = bytearray()
        for x0 in range(0, w, per_byte):
            b = 0
            for k in range(per_byte):
                b = (b << depth) | (((x0 + k) * 3 + y + seed) % (1 << depth))
            row.append(b)
        rows.append(bytes(row))
    return rows


def png_seeds():
    gamma = (b"gAMA", struct.pack(">I", 45455))
    yield "rgb8.png", png(5, 3, 8, 2, pixels(5, 3, 3, 1))
    yield "rgb16.png", png(3, 2, 16, 2, pixels(3, 2, 6, 2))
    yield "rgba8_bkgd.png", png(4, 2, 8, 6, pixels(4, 2, 4, 3), [(b"bKGD", struct.pack(">HHH", 200, 100, 50))])
    yield "rgba16.png", png(2, 2, 16, 6, pixels(2, 2, 8, 4))
    yield "grey8_gamma.png", png(5, 2, 8, 0, pixels(5, 2, 1, 5), [gamma])
    yield "grey16_trns.png", png(3, 2, 16, 0, pixels(3, 2, 2, 6), [(b"tRNS", b"\x00\x10")])
    yield "greyalpha8.png", png(3, 2, 8, 4, pixels(3, 2, 2, 7), [(b"bKGD", b"\x00\x80"), gamma])
    for depth in (1, 2, 4):
        yield "grey%d.png" % depth, png(9, 3, depth, 0, packed(9, 3, depth, depth))
    for depth in (1, 2, 4, 8):
        plte = (b"PLTE", bytes(range(0, 3 * min(16, 1 << depth))))
        extra = [plte, (b"tRNS", b"\x00\x80\xff"), (b"bKGD", b"\x01")] if depth == 8 else [plte]
        yield "pal%d.png" % depth, png(9, 3, depth, 3, packed(9, 3, depth, 0) if depth < 8 else
                                       [bytes(x % 16 for x in range(9))] * 3, extra)
    yield "rgb8_adam7.png", png(11, 9, 8, 2, adam7(11, 9, 3, pixels(11, 9, 3, 8)), interlaced=True)
    # A fuzzer finding kept as a seed: repeated sPLT chunks with claimed lengths made libpng
    # allocate and clear megabytes each (ReadPng now skips such chunks).
    yield "regression_splt_timeout.png", base64.b64decode(
        "iVBORw0KGgoAAAANSUhEUgAAAAMAAAADCAIAAADZSiJdAAAAGXNQTFS7/woaCgAAAA1JSERSAAAAAwAAAAMIAgAAANlKIl0AABlzUExUu/8AAwIAAJJmbW979GwIAgAAANlKIl0AAAAZc1BMVLv/kmZtAAMCAACSZm1ve/RsAAAADUlIRFIAAAADAAAAAwgIAgAAANlKIl0AAAAZc1BMVLv/kmZtb2ltaXQPEIOtTgAAYII=")
    yield "rgb8_trns_srgb.png", png(3, 3, 8, 2, pixels(3, 3, 3, 9),
                                    [(b"sRGB", b"\x00"), (b"tRNS", b"\x00\x01\x00\x02\x00\x03")])


# --- JPEG ------------------------------------------------------------------------------
def jpeg_seeds(cjpeg):
    variants = [
        ("base.jpg", "ppm", ["-quality", "65"]),
        ("q95_444.jpg", "ppm", ["-quality", "95", "-sample", "1x1"]),
        ("s422.jpg", "ppm", ["-sample", "2x1"]),
        ("progressive.jpg", "ppm", ["-progressive"]),
        ("restart.jpg", "ppm", ["-restart", "1B"]),
        ("optimize.jpg", "ppm", ["-optimize", "-quality", "30"]),
        ("arithmetic.jpg", "ppm", ["-arithmetic"]),
        ("rgb.jpg", "ppm", ["-rgb"]),
        ("grey.jpg", "pgm", ["-quality", "65"]),
        ("grey_progressive.jpg", "pgm", ["-progressive"]),
    ]
    with tempfile.TemporaryDirectory() as tmp:
        ppm = os.path.join(tmp, "in.ppm")
        pgm = os.path.join(tmp, "in.pgm")
        w, h = 19, 13
        with open(ppm, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (w, h) + b"".join(pixels(w, h, 3, 1)))
        with open(pgm, "wb") as f:
            f.write(b"P5\n%d %d\n255\n" % (w, h) + b"".join(pixels(w, h, 1, 2)))
        for name, source, args in variants:
            out = os.path.join(tmp, name)
            if subprocess.run([cjpeg, *args, "-outfile", out, ppm if source == "ppm" else pgm]).returncode == 0:
                with open(out, "rb") as f:
                    yield name, f.read()


# --- The checks before the picture loader ------------------------------------------------
PRODUCER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "wine", "fixtures", "producer")


def words(*values):
    return b"".join(struct.pack("<I", v & 0xFFFFFFFF) for v in values)


def record(kind, body):
    return words(kind, 8 + len(body)) + body


def dib_record(kind, fields_at, fixed, w, h, bits, compression=0, entries=0, bits_bytes=None, index=0):
    """A record carrying a bitmap: its fields (offBmi, cbBmi, offBits, cbBits) at `fields_at`,
    `fixed` bytes before the bitmap's header, `entries` colours (clrUsed 0) and the bits."""
    row = ((w * bits + 31) // 32) * 4
    bits_bytes = row * abs(h) if bits_bytes is None else bits_bytes
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, compression, bits_bytes, 0, 0, 0, 0)
    cb_bmi = len(header) + entries * 4
    body = bytearray(fixed - 8)
    struct.pack_into("<I", body, 0, index)
    struct.pack_into("<IIII", body, fields_at - 8, fixed, cb_bmi, fixed + cb_bmi, bits_bytes)
    return record(kind, bytes(body) + header + bytes(entries * 4) + bytes(bits_bytes + (-bits_bytes) % 4))


def emf(records, handles=4):
    body = b"".join(records) + record(14, words(0, 16, 20))
    size = 88 + len(body)
    header = words(1, 88, 0, 0, 99, 99, 0, 0, 2645, 2645, 0x464D4520, 0x10000, size, len(records) + 2) + \
        struct.pack("<HHIII", handles, 0, 0, 0, 0) + words(1024, 768, 320, 240)
    return header + body


def emf_seeds():
    shapes = [
        record(39, words(1, 0, 0x00FF00, 0)), record(37, words(1)), record(37, words(0x80000005)),
        record(38, words(2, 0, 1, 0, 0xFF)), record(37, words(2)),
        record(4, words(0, 0, 9, 9, 3, 1, 1, 5, 5, 9, 1)),
        record(87, words(0, 0, 9, 9, 2, 0x00010001, 0x00090009)),
        record(8, words(0, 0, 9, 9, 2, 5, 3, 2) + words(*([1, 2] * 5))),
        record(91, words(0, 0, 9, 9, 1, 3, 3) + words(0x00010001, 0x00020002, 0x00030001)),
        record(56, words(0, 0, 9, 9, 2, 1, 1, 4, 4) + bytes((6, 2, 0, 0))),
        record(95, words(3, 0, 0, 0, 0, 0x10200, 2, 0, 0xFF, 0, 2, 3, 1)),
        record(49, words(3) + struct.pack("<HH", 0x300, 2) + words(0xFF, 0xFF00)),
        record(50, words(3, 0, 1, 0x00FF00FF)),
        record(118, words(0, 0, 9, 9, 2, 1, 0) + words(0, 0, 0xFF00, 0) + words(9, 9, 0, 0xFF00) + words(0, 1)),
        record(75, words(48, 5) + words(32, 1, 1, 16, 0, 0, 4, 4) + words(0, 0, 4, 4)),
        record(71, words(0, 0, 9, 9, 48, 0x80000000) + words(32, 1, 1, 16, 0, 0, 4, 4) + words(0, 0, 4, 4)),
        record(40, words(2)), record(40, words(1)),
    ]
    text = bytearray(words(0, 0, 9, 9, 1, 0, 0, 0, 0, 3, 76, 0, 0, 0, 0, 0, 84)) + "Ab1".encode("utf-16-le") + bytes(2)
    text += words(5, 5, 5)
    shapes.append(record(84, bytes(text)))
    yield "shapes.emf", emf(shapes)
    yield "stretch8_short_table.emf", emf([dib_record(81, 48, 80, 32, 32, 8, entries=16)])
    yield "stretch24.emf", emf([dib_record(81, 48, 80, 5, 3, 24)])
    yield "stretch1.emf", emf([dib_record(81, 48, 80, 9, 2, 1, entries=2)])
    yield "stretch32_bitfields.emf", emf([dib_record(81, 48, 80, 3, 2, 32, compression=3)])
    yield "stretch_jpeg.emf", emf([dib_record(81, 48, 80, 8, 8, 0, compression=4, bits_bytes=64)])
    yield "stretch_rle8.emf", emf([dib_record(81, 48, 80, 4, 2, 8, compression=1, entries=256, bits_bytes=8)])
    yield "bitblt4.emf", emf([dib_record(76, 84, 100, 7, 3, 4, entries=16)])
    yield "dibits_to_device.emf", emf([dib_record(80, 48, 76, 4, 4, 24)])
    yield "pattern_brush.emf", emf([dib_record(94, 16, 32, 8, 8, 1, entries=2, index=1)])
    yield "empty.emf", emf([])
    if os.path.isdir(PRODUCER):
        for name in sorted(os.listdir(PRODUCER)):
            if name.endswith(".emf"):
                with open(os.path.join(PRODUCER, name), "rb") as f:
                    yield "producer-" + name, f.read()


def wmf_seeds():
    if os.path.isdir(PRODUCER):
        for name in sorted(os.listdir(PRODUCER)):
            if name.endswith(".wmf"):
                with open(os.path.join(PRODUCER, name), "rb") as f:
                    yield "producer-" + name, f.read()


def icon(images, kind=1):
    """An icon (kind 1) or cursor (2) file of (width, height, bits) images, or PNG bytes."""
    directory, data = b"", b""
    offset = 6 + 16 * len(images)
    for image in images:
        if isinstance(image, bytes):
            body, w, h = image, 16, 16
        else:
            w, h, bits = image
            table = (1 << bits) * 4 if bits <= 8 else 0
            colour = ((w * bits + 31) // 32) * 4 * h
            mask = ((w + 31) // 32) * 4 * h
            body = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bits, 0, 0, 0, 0, 0, 0) + bytes(table) + \
                bytes((i * 13) & 0xFF for i in range(colour)) + bytes(mask)
        directory += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 0, len(body), offset + len(data))
        data += body
    return struct.pack("<HHH", 0, kind, len(images)) + directory + data


def icon_seeds():
    yield "one32.ico", icon([(32, 32, 32)])
    yield "many.ico", icon([(16, 16, 4), (32, 32, 8), (48, 48, 24)])
    yield "mono.ico", icon([(16, 16, 1)])
    yield "cursor.cur", icon([(32, 32, 1)], kind=2)
    yield "png.ico", icon([png(16, 16, 8, 6, pixels(16, 16, 4, 1))])


def bmp_loader_seeds():
    yield from bmp_seeds()
    pal16 = bytes(i * 16 % 256 for i in range(16 * 4))
    yield "rle4.bmp", bmp(40, 4, 2, 4, 2, palette=pal16, rows=[b"\x04\x12\x00\x00", b"\x04\x34\x00\x01"])
    yield "rle8_nosize.bmp", bmp(40, 4, 1, 8, 1, palette=bytes(1024), rows=[b"\x04\x01\x00\x01"])
    # A fuzzer finding kept as a seed: a 1-bit BMP with bit-field compression had its colour
    # table (262,199 entries claimed) taken for the 12 bytes of masks.
    yield "regression_bitfields_1bit.bmp", base64.b64decode(
        "Qk1KAAAAAAAAADgAAAAoAAAADQAAAAMAAAABAAEAAwAAAAAACwAAEwsAAAA3AAQAAAAAAAAAAAD///8AAB0tAAAAAA4A")
    yield "icon.ico", icon([(16, 16, 8)])
    yield "emf.emf", emf([record(37, words(0x80000005))])
    yield "gif.gif", b"GIF89a\x02\x00\x02\x00\x00\x00\x00,\x00\x00\x00\x00\x02\x00\x02\x00\x00\x02\x02D\x01\x00;"


def gif_size_seeds():
    yield "two.gif", b"GIF89a\x02\x00\x02\x00\x00\x00\x00,\x00\x00\x00\x00\x02\x00\x02\x00\x00\x02\x02D\x01\x00;"
    yield "wide.gif", b"GIF87a\xff\xff\x01\x00\x00\x00\x00\x00;"
    yield "notrailer.gif", b"GIF89a\x02\x00\x02\x00\x00\x00\x00"
    yield "rgb24.bmp", bmp(40, 5, 3, 24)
    yield "core24.bmp", bmp(12, 3, 2, 24)
    yield "topdown.bmp", bmp(40, 2, -2, 24)


def main():
    root = sys.argv[1]
    cjpeg = next((os.path.join(d, "cjpeg") for d in os.environ.get("PATH", "").split(":")
                  if os.path.exists(os.path.join(d, "cjpeg"))), None)
    sets = {"bmp": bmp_seeds(), "png": png_seeds(), "jpeg": jpeg_seeds(cjpeg) if cjpeg else iter(()),
            "emf": emf_seeds(), "wmf": wmf_seeds(), "icon": icon_seeds(), "bmp_loader": bmp_loader_seeds(), "gif_size": gif_size_seeds()}
    for kind, seeds in sets.items():
        folder = os.path.join(root, kind)
        os.makedirs(folder, exist_ok=True)
        count = 0
        for name, data in seeds:
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
            count += 1
        print("seeds: %d %s files in %s" % (count, kind, folder))


if __name__ == "__main__":
    main()
