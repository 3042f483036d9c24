#!/usr/bin/env python3
"""Writes the library's bitmaps, icons and cursors into a folder of the build tree:
bitmap_<id>.bmp, icon_<id>.ico and cursor_<id>.cur, the names art.rc refers to.

    make_art.py OUTPUT_FOLDER

Every picture is checked before it is written: its size, and its key pixels against the
rule of the place it is shown (bitmaps.check_keys). A picture that breaks its rule stops
the build.
"""

import os
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from artkit import bmp_bytes, cur_bytes, ico_bytes  # noqa: E402
from bitmaps import BITMAPS, check_keys, check_preview_corners  # noqa: E402
from icons import CURSORS, ICONS  # noqa: E402


def file_names():
    names = ['bitmap_%d.bmp' % i for i in sorted(BITMAPS)]
    names += ['icon_%d.ico' % i for i in sorted(ICONS)]
    names += ['cursor_%d.cur' % i for i in sorted(CURSORS)]
    return names


def write_if_changed(path, data):
    """Leaves an unchanged file alone, so the resource script is not compiled again for nothing."""
    try:
        with open(path, 'rb') as f:
            if f.read() == data:
                return
    except OSError:
        pass
    with open(path, 'wb') as f:
        f.write(data)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    for bitmap_id, (draw, _, _, _) in sorted(BITMAPS.items()):
        img = draw()
        check_keys(bitmap_id, img)
        if bitmap_id == 160:
            check_preview_corners(img)
        write_if_changed(os.path.join(out, 'bitmap_%d.bmp' % bitmap_id), bmp_bytes(img))
    for icon_id, draw in sorted(ICONS.items()):
        write_if_changed(os.path.join(out, 'icon_%d.ico' % icon_id), ico_bytes(draw()))
    for cursor_id, (draw, hotspot) in sorted(CURSORS.items()):
        write_if_changed(os.path.join(out, 'cursor_%d.cur' % cursor_id), cur_bytes(draw(), hotspot))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
