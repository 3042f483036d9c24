#!/usr/bin/env python3
"""Renders every bitmap, icon and cursor of a folder written by make_art.py onto one PNG,
each at its own size and enlarged, with its id and size, for review at a glance.

    art_sheet.py ART_FOLDER OUTPUT.png

The pictures are read back from the files, so the sheet shows what the resource compiler
gets. Key pixels (pure blue) are shown as they are; transparent parts of icons and cursors
stand on a chequered ground; each cursor's hot spot is marked with a small red cross.
"""

import os
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from artkit import Image, png_bytes, read_bmp, read_icon_images  # noqa: E402
from glyphs import FONT_5X7, draw_text, text_width  # noqa: E402
from mockups import all_mockups  # noqa: E402

SHEET_WIDTH = 1200
MARGIN = 16
GAP = 20
BACKGROUND = (236, 238, 242, 255)
LABEL = (30, 36, 48, 255)
FRAME = (150, 158, 172, 255)


def enlarge(img, scale):
    out = Image(img.width * scale, img.height * scale)
    for y in range(out.height):
        row = img.rows[y // scale]
        out.rows[y] = [row[x // scale] for x in range(out.width)]
    return out


def on_checks(img):
    """Composites an image with alpha onto a grey chequer, so transparency is visible."""
    out = Image(img.width, img.height)
    for y in range(img.height):
        for x in range(img.width):
            ground = (205, 205, 205) if ((x // 4 + y // 4) % 2) else (245, 245, 245)
            r, g, b, a = img.get(x, y)
            t = a / 255.0
            out.rows[y][x] = tuple(round(c * t + gc * (1 - t)) for c, gc in zip((r, g, b), ground)) + (255,)
    return out


def widen(img, width):
    """A one-column ramp repeated sideways, so it can be seen."""
    out = Image(width, img.height)
    for y in range(img.height):
        out.rows[y] = [img.rows[y][0]] * width
    return out


def scale_for(img):
    longest = max(img.width, img.height)
    if longest >= 200:
        return 2
    if longest >= 60:
        return 3
    return 6 if longest <= 24 else 4


def tiles(folder):
    """(label, [pictures side by side]) for every file, ordered by kind and id."""
    names = sorted(os.listdir(folder), key=lambda n: (n.split('_')[0], int(n.split('_')[1].split('.')[0])))
    for name in names:
        kind, rest = name.split('_')
        number = int(rest.split('.')[0])
        with open(os.path.join(folder, name), 'rb') as f:
            data = f.read()
        if kind == 'bitmap':
            img = read_bmp(data)
            shown = [img, widen(img, 24)] if img.width == 1 else [img, enlarge(img, scale_for(img))]
            yield '%d  BMP %dx%d' % (number, img.width, img.height), shown
        else:
            pictures = []
            sizes = []
            for img, hotspot in read_icon_images(data):
                big = enlarge(on_checks(img), 4)
                if kind == 'cursor':
                    hx, hy = hotspot[0] * 4 + 2, hotspot[1] * 4 + 2
                    for d in range(-4, 5):
                        big.set(hx + d, hy, (230, 30, 30, 255))
                        big.set(hx, hy + d, (230, 30, 30, 255))
                pictures += [on_checks(img), big]
                sizes.append('%dx%d' % (img.width, img.height))
            label = '%d  %s %s' % (number, 'CUR' if kind == 'cursor' else 'ICO', ' '.join(sizes))
            if kind == 'cursor':
                label += ' HOT %d,%d' % hotspot
            yield label, pictures


def bitmaps_by_id(folder):
    art = {}
    for name in os.listdir(folder):
        if name.startswith('bitmap_'):
            with open(os.path.join(folder, name), 'rb') as f:
                art[int(name[7:-4])] = read_bmp(f.read())
    return art


def layout(folder):
    placed = []
    x, y, line_height = MARGIN, MARGIN, 0
    mockups = [(label, [img if img.width > 400 else enlarge(img, 2)]) for label, img in all_mockups(bitmaps_by_id(folder))]
    entries = list(tiles(folder)) + mockups
    for label, pictures in entries:
        width = max(sum(p.width for p in pictures) + 6 * (len(pictures) - 1), text_width(label, FONT_5X7))
        height = 10 + max(p.height for p in pictures)
        if x + width > SHEET_WIDTH - MARGIN and x > MARGIN:
            x, y = MARGIN, y + line_height + GAP
            line_height = 0
        placed.append((x, y, label, pictures))
        x += width + GAP
        line_height = max(line_height, height)
    return placed, y + line_height + MARGIN


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    placed, height = layout(argv[1])
    sheet = Image(SHEET_WIDTH, height, BACKGROUND)
    for x, y, label, pictures in placed:
        draw_text(sheet, label, x, y, LABEL)
        px = x
        for picture in pictures:
            top = y + 10
            for i in range(-1, picture.width + 1):
                sheet.set(px + i, top - 1, FRAME), sheet.set(px + i, top + picture.height, FRAME)
            for j in range(-1, picture.height + 1):
                sheet.set(px - 1, top + j, FRAME), sheet.set(px + picture.width, top + j, FRAME)
            sheet.paste(picture, px, top)
            px += picture.width + 6
    with open(argv[2], 'wb') as f:
        f.write(png_bytes(sheet))
    print('art sheet: %s (%d pictures)' % (argv[2], len(placed)))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
