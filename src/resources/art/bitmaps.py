"""The library's bitmaps, one function per resource id.

Each picture is drawn for where the code puts it: pieces that stand on a painted ground
(the preview's wave, the inspector's title and panel) take that ground's colour at the
rows they cover, so they sit in it without a seam. KEY marks pixels the code cuts out of a
window shape or does not copy; `check_keys` below holds each picture to its rule.
"""

import math

from artkit import (KEY, Image, capsule, circle, draw_glyph, fill_rect, fill_shape, hexcolour, hline, minus,
                    mix, polygon, ring, round_rect, shade, union, vertical_gradient, vline)
from glyphs import GAIN_DIGITS, GAIN_TIMES, KANA, TINY_3X5, draw_text, text_width
from palette import (ACCENT, ACCENT_DARK, AMBER, AMBER_DARK, AMBER_LIGHT, BLUE, GREEN, INK, MIST, RED,
                     SLATE_LIGHT, SLATE_MID, WHITE, YELLOW, panel_ground, preview_ground, title_ground)

EDGE = hexcolour('10141b')


def _key_outside(img, inside, box=None):
    """Sets KEY on every pixel of the box whose centre lies outside `inside`."""
    x0, y0, x1, y1 = box if box else (0, 0, img.width, img.height)
    for y in range(y0, y1):
        for x in range(x0, x1):
            if not inside(x + 0.5, y + 0.5):
                img.set(x, y, KEY)


def _button(img, x0, y0, w, h, radius, top, bottom, border, ground=None, hard=False, pressed=False):
    """A flat rounded button: border, vertical gradient, and under the top edge one lighter
    line, or a darker one when pressed (the face sinks)."""
    outer = round_rect(x0, y0, x0 + w, y0 + h, radius)
    inner = round_rect(x0 + 1, y0 + 1, x0 + w - 1, y0 + h - 1, max(radius - 1, 0.5))
    if ground is not None:
        for y in range(y0, y0 + h):
            for x in range(x0, x0 + w):
                img.set(x, y, ground(y) if callable(ground) else ground)
    fill_shape(img, outer, border, (x0, y0, x0 + w, y0 + h), hard)
    for y in range(y0 + 1, y0 + h - 1):
        colour = mix(top, bottom, (y - y0 - 1) / max(1, h - 3))
        row_shape = lambda px, py, yy=y: inner(px, py) and yy <= py < yy + 1
        fill_shape(img, row_shape, colour, (x0, y, x0 + w, y + 1), hard)
    highlight = shade(top, 0.75) if pressed else shade(top, 1.25)
    for x in range(x0 + 2, x0 + w - 2):
        if inner(x + 0.5, y0 + 1.5) and inner(x - 0.5, y0 + 1.5) and inner(x + 1.5, y0 + 1.5):
            img.set(x, y0 + 1, highlight)


# ---- 155: emblem ---------------------------------------------------------------------------

def emblem():
    img = Image(71, 42)
    vertical_gradient(img, 0, 0, 71, 42, hexcolour('34405a'), hexcolour('1a202b'))
    hline(img, 0, 70, 0, EDGE), hline(img, 0, 70, 41, EDGE)
    vline(img, 0, 0, 41, EDGE), vline(img, 70, 0, 41, EDGE)
    hline(img, 1, 69, 1, hexcolour('56657f'))
    # A lens: amber ring, blue glass, dark pupil and a highlight.
    cx, cy = 21.0, 21.0
    fill_shape(img, circle(cx, cy, 15.5), EDGE)
    fill_shape(img, ring(cx, cy, 14.5, 11.0), AMBER)
    fill_shape(img, ring(cx, cy, 14.5, 13.5), AMBER_LIGHT)
    for y in range(6, 36):
        fill_shape(img, lambda x, yy, y=y: circle(cx, cy, 11.0)(x, yy) and y <= yy < y + 1,
                   mix(ACCENT, ACCENT_DARK, (y - 10) / 22), (6, y, 36, y + 1))
    fill_shape(img, circle(cx, cy, 5.0), hexcolour('0f1a2e'))
    fill_shape(img, circle(cx - 5, cy - 5, 2.6), (255, 255, 255, 200))
    fill_shape(img, circle(cx + 4.2, cy + 4.6, 1.3), (255, 255, 255, 110))
    # Three channel bars, a small histogram.
    base = 34
    for x, height, colour in ((43, 21, RED), (51, 27, GREEN), (59, 15, BLUE)):
        fill_shape(img, round_rect(x, base - height, x + 6, base, 2), colour)
        fill_shape(img, round_rect(x, base - height, x + 6, base - height + 2, 1), (255, 255, 255, 90))
    hline(img, 41, 66, base + 1, MIST)
    return img


# ---- 156: close button of the RGB gauge window ---------------------------------------------

GAUGE_GROUND = (255, 250, 180, 255)  # the pale yellow band of the gauge window behind it


def _kana_word(img, word, x, y, colour):
    for ch in word:
        glyph = KANA[ch]
        draw_glyph(img, glyph, x, y, colour)
        x += len(glyph[0]) + 1


def _kana_width(word):
    return sum(len(KANA[ch][0]) for ch in word) + len(word) - 1


def gauge_close_button():
    img = Image(63, 53, GAUGE_GROUND)
    for y0, pressed in ((0, False), (27, True)):
        if pressed:
            _button(img, 1, y0 + 1, 61, 24, 7, hexcolour('e9ae33'), hexcolour('f7cf73'), hexcolour('9c6400'),
                    GAUGE_GROUND, pressed=True)
        else:
            _button(img, 1, y0 + 1, 61, 24, 7, hexcolour('fff6dc'), hexcolour('ffd77a'), hexcolour('b87800'),
                    GAUGE_GROUND)
        x = (63 - _kana_width('閉じる')) // 2
        _kana_word(img, '閉じる', x, y0 + 8 + (1 if pressed else 0), hexcolour('5a3a00'))
    return img


# ---- 160, 166: frame corners and ground of the JPEG preview --------------------------------

PREVIEW_INSIDE = (1, 1, 1, 255)  # marks the ground inside the frame; the code repaints it
FRAME_LAYERS = ['0d1117', '56667f', '4b5a75', '425068', '3a4760', '75889f', '151b25']


def preview_corners():
    img = Image(40, 40, hexcolour(FRAME_LAYERS[0]))
    for k, colour in enumerate(FRAME_LAYERS[1:], start=1):
        fill_shape(img, round_rect(k, k, 40 - k, 40 - k, max(8.0 - k, 1.0)), hexcolour(colour))
    fill_shape(img, round_rect(7, 7, 33, 33, 1.0), PREVIEW_INSIDE, hard=True)
    return img


def preview_ramp():
    img = Image(1, 250)
    for r in range(250):
        img.set(0, r, preview_ground(r))  # ramp row r from the top is the row r above the bottom
    return img


# ---- 168, 169: JPEG settings panel -------------------------------------------------------

def _quality_icon(img, x, y):
    """A small picture: frame, hill and sun."""
    for i in range(13):
        img.set(x + i, y, MIST), img.set(x + i, y + 9, MIST)
    for j in range(10):
        img.set(x, y + j, MIST), img.set(x + 12, y + j, MIST)
    fill_shape(img, polygon([(x + 1, y + 9), (x + 5, y + 4), (x + 8, y + 7), (x + 9.5, y + 5.5), (x + 12, y + 9)]),
               SLATE_LIGHT)
    fill_shape(img, circle(x + 9.5, y + 3, 1.6), AMBER_LIGHT)


def jpeg_settings_header():
    img = Image(125, 25)
    vertical_gradient(img, 0, 0, 125, 25, hexcolour('3f4c64'), hexcolour('283142'))
    hline(img, 0, 124, 24, AMBER)
    hline(img, 0, 124, 23, AMBER_DARK)
    _quality_icon(img, 8, 7)
    draw_text(img, 'JPEG', 28, 9, INK)
    draw_text(img, 'JPEG', 27, 8, WHITE)
    draw_text(img, 'JPEG', 28, 8, WHITE)  # one column wider: a bold face
    # Five steps of rising height: the quality scale.
    for i in range(5):
        h = 3 + 2 * i
        colour = mix(SLATE_LIGHT, AMBER_LIGHT, i / 4)
        fill_rect(img, 88 + 6 * i, 17 - h, 88 + 6 * i + 4, 17, colour)
    # Rounded top corners, radius 6: what lies outside them is cut from the panel's shape.
    shape = round_rect(0, 0, 125, 40, 6)
    _key_outside(img, shape, (0, 0, 125, 8))
    # A dark rim along the top edge and the rounded corners.
    for y in range(0, 8):
        for x in range(125):
            if img.get(x, y) == KEY:
                continue
            near_key = any(0 <= x + dx < 125 and 0 <= y + dy < 25 and img.get(x + dx, y + dy) == KEY
                           for dx, dy in ((-1, 0), (1, 0), (0, -1)))
            if y == 0 or near_key:
                img.set(x, y, EDGE)
    vline(img, 0, 6, 22, EDGE), vline(img, 124, 6, 22, EDGE)
    hline(img, 6, 118, 1, hexcolour('5a6a86'))
    return img


PANEL_BODY = (226, 228, 231, 255)  # the settings panel's metal texture around its controls


def jpeg_arrow_button():
    img = Image(22, 10, PANEL_BODY)
    for x0, pressed in ((0, False), (11, True)):
        if pressed:
            _button(img, x0, 0, 11, 10, 2.5, hexcolour('2c3544'), hexcolour('3f4a60'), INK, pressed=True)
        else:
            _button(img, x0, 0, 11, 10, 2.5, hexcolour('5f6d88'), hexcolour('3c475c'), INK)
        dy = 1 if pressed else 0
        fill_shape(img, polygon([(x0 + 5.5, 2.0 + dy), (x0 + 8.0, 5.0 + dy), (x0 + 5.5, 8.0 + dy), (x0 + 3.0, 5.0 + dy)]),
                   AMBER_LIGHT if pressed else AMBER)
    return img


# ---- 170: save and close buttons of the JPEG preview ---------------------------------------

def _preview_row_ground(window_y):
    return preview_ground(449 - window_y)


def _save_icon(img, x, y, colour):
    """A tray with an arrow into it, 9 x 10."""
    vline(img, x + 4, y, y + 5, colour)
    vline(img, x + 5, y, y + 5, colour)
    for i in range(4):
        hline(img, x + 1 + i, x + 8 - i, y + 3 + i, colour)
    vline(img, x, y + 6, y + 9, colour)
    vline(img, x + 9, y + 6, y + 9, colour)
    hline(img, x, x + 9, y + 9, colour)


def _close_icon(img, x, y, colour):
    fill_shape(img, union(capsule(x + 1, y + 1, x + 7, y + 7, 0.9), capsule(x + 7, y + 1, x + 1, y + 7, 0.9)),
               colour, (x - 1, y - 1, x + 10, y + 10))


def preview_save_close():
    img = Image(125, 54)
    # Ground: the preview's wave at the window rows each bitmap row is shown on.
    for row in range(54):
        if row <= 2:
            window_y = 413 + row
        elif row <= 23:
            window_y = 416 + row - 3
        elif row <= 26:
            window_y = 437 + row - 24
        elif 30 <= row <= 50:
            window_y = 416 + row - 30
        else:
            window_y = 436
        fill_rect(img, 0, row, 125, row + 1, _preview_row_ground(window_y))
    specs = ((0, 62, hexcolour('4590ec'), hexcolour('2466c2'), ACCENT_DARK, '保存', _save_icon),
             (62, 63, hexcolour('5c6a85'), hexcolour('3b465c'), INK, '閉じる', _close_icon))
    for x0, w, top, bottom, border, word, icon in specs:
        for y0, pressed in ((3, False), (30, True)):
            t, b = (shade(bottom, 0.72), shade(top, 0.8)) if pressed else (top, bottom)
            _button(img, x0 + 3, y0, w - 6, 21, 5, t, b, border, pressed=pressed)
            label_w = 10 + 4 + _kana_width(word)
            lx = x0 + (w - label_w) // 2
            ly = y0 + 5 + (1 if pressed else 0)
            icon(img, lx, ly, WHITE)
            _kana_word(img, word, lx + 14, ly, WHITE)
    # Rims above and below the faces: a faint light line on top, a soft shadow below;
    # every other rim pixel is KEY and is not copied.
    for row in (0, 1, 2, 24, 25, 26):
        fill_rect(img, 0, row, 125, row + 1, KEY)
    for x0, w in ((0, 62), (62, 63)):
        for x in range(x0 + 8, x0 + w - 8):
            img.set(x, 2, mix(_preview_row_ground(415), WHITE, 0.12))
        for x in range(x0 + 5, x0 + w - 5):
            img.set(x, 24, mix(_preview_row_ground(437), INK, 0.55))
        for x in range(x0 + 7, x0 + w - 7):
            img.set(x, 25, mix(_preview_row_ground(438), INK, 0.25))
    return img


# ---- 171, 172: tabs of the JPEG preview ----------------------------------------------------

TAB_LOOKS = (  # top, bottom, border, top line: normal, selected, pressed
    (hexcolour('d3d9e2'), hexcolour('b3bcc9'), hexcolour('7d889d'), hexcolour('eef1f5')),
    (hexcolour('3c88e8'), hexcolour('1f5db4'), hexcolour('16427f'), hexcolour('7cb1f2')),
    (hexcolour('a9b2c0'), hexcolour('c3cad5'), hexcolour('6c778c'), hexcolour('949eae')),
)


def preview_tabs():
    img = Image(81, 17)
    for i, (top, bottom, border, line) in enumerate(TAB_LOOKS):
        x0 = 27 * i
        vertical_gradient(img, x0, 0, x0 + 27, 17, top, bottom)
        hline(img, x0, x0 + 26, 0, border), hline(img, x0, x0 + 26, 16, border)
        vline(img, x0, 0, 16, border), vline(img, x0 + 26, 0, 16, border)
        hline(img, x0 + 1, x0 + 25, 1, line)
    return img


def preview_tab_marks():
    img = Image(22, 11, KEY)
    # The image mark: a framed picture with a hill and the sun.
    for i in range(11):
        img.set(i, 0, YELLOW), img.set(i, 10, YELLOW), img.set(0, i, YELLOW), img.set(10, i, YELLOW)
    for x, top in ((2, 7), (3, 6), (4, 5), (5, 6), (6, 7), (7, 6), (8, 7)):
        vline(img, x, top, 9, YELLOW)
    img.set(7, 3, YELLOW), img.set(8, 3, YELLOW), img.set(7, 2, YELLOW), img.set(8, 2, YELLOW)
    # The difference mark: two overlapping frames.
    for x0, y0 in ((11, 0), (15, 4)):
        for i in range(7):
            img.set(x0 + i, y0, YELLOW), img.set(x0 + i, y0 + 6, YELLOW)
            img.set(x0, y0 + i, YELLOW), img.set(x0 + 6, y0 + i, YELLOW)
    fill_rect(img, 16, 5, 18, 7, YELLOW)
    return img


# ---- 173, 175, 176: the small buttons below the channel panels -----------------------------

def preview_button_plate():
    img = Image(15, 19)
    for y in range(19):
        colour = mix(hexcolour('131821'), hexcolour('1c232f'), y / 18)
        fill_rect(img, 0, y, 15, y + 1, colour)
    hline(img, 0, 14, 0, hexcolour('0a0d12'))
    hline(img, 0, 14, 18, hexcolour('46546c'))
    _key_outside(img, round_rect(0, 0, 40, 19, 6), (0, 0, 7, 19))
    # The rounded end's rim follows the curve.
    for y in range(19):
        for x in range(7):
            if img.get(x, y) != KEY and (x == 0 or img.get(x - 1, y) == KEY):
                img.set(x, y, hexcolour('0a0d12') if y < 12 else hexcolour('46546c'))
    return img


def preview_button_face():
    img = Image(23, 16)
    _button(img, 0, 0, 23, 16, 3.5, hexcolour('6c7a96'), hexcolour('3a4559'), INK, hard=True)
    _key_outside(img, round_rect(0, 0, 23, 16, 3.5))
    return img


def preview_gain_glyphs():
    img = Image(30, 9, KEY)
    for x0, digit in ((0, '2'), (15, '1')):
        draw_glyph(img, GAIN_TIMES, x0 + 2, 1, WHITE)
        draw_glyph(img, GAIN_DIGITS[digit], x0 + 8, 1, WHITE)
    return img


# ---- 192, 197: the pixel inspector's title tab and settings button ------------------------

TAB_END = 113  # the last 11 columns shape the tab's right end


def inspector_title():
    img = Image(124, 17)
    for y in range(17):
        fill_rect(img, 0, y, 124, y + 1, title_ground(y))
    hline(img, 2, 123, 0, hexcolour('5d6d89'))
    vline(img, 0, 0, 16, EDGE)
    vline(img, 1, 1, 16, hexcolour('4a586f'))
    # A loupe.
    fill_shape(img, ring(9.5, 7.5, 4.6, 3.0), MIST, (3, 1, 16, 14))
    fill_shape(img, capsule(12.8, 10.8, 15.2, 13.2, 1.2), AMBER, (10, 8, 18, 16))
    # "X" and "Y" before the coordinate fields the code blacks out at 68 and 112.
    draw_text(img, 'X', 61, 5, MIST)
    draw_text(img, 'Y', 76, 5, MIST)  # shown at 105: this stretch is shifted by 29 columns
    # The right end: an S-shaped slope from the top to the bottom; beyond it is KEY.
    def inside(x, y):  # pixel centres; the top row is cut from TAB_END on, the bottom row not at all
        row = y - 0.5
        boundary = TAB_END + 11.0 * (1 - math.cos(math.pi * row / 16.0)) / 2
        return x - 0.5 < boundary
    _key_outside(img, inside, (TAB_END, 0, 124, 17))
    for y in range(17):
        for x in range(TAB_END - 2, 124):
            if img.get(x, y) != KEY and x + 1 < 124 and img.get(x + 1, y) == KEY:
                img.set(x, y, EDGE)
    return img


def _gear(img, cx, cy, colour, hole):
    teeth = []
    for k in range(8):
        a = 2 * math.pi * k / 8
        teeth.append(capsule(cx + 2.8 * math.cos(a), cy + 2.8 * math.sin(a),
                             cx + 4.0 * math.cos(a), cy + 4.0 * math.sin(a), 0.9))
    body = minus(union(circle(cx, cy, 3.2), *teeth), circle(cx, cy, 1.3))
    fill_shape(img, body, colour, (int(cx) - 6, int(cy) - 6, int(cx) + 7, int(cy) + 7))


def inspector_settings_button():
    img = Image(13, 20)
    for half, pressed in ((0, False), (10, True)):
        for row in range(10):
            ground = title_ground(4 + row)
            fill_rect(img, 0, half + row, 13, half + row + 1, shade(ground, 0.7) if pressed else ground)
        if pressed:
            fill_shape(img, round_rect(0, half, 13, half + 10, 2), hexcolour('161b24'))
        _gear(img, 6.5, half + 5.0 + (0.5 if pressed else 0), AMBER if pressed else MIST, pressed)
    return img


# ---- 194, 196, 199, 201, 206: the inspector's settings panel -------------------------------

def inspector_panel():
    img = Image(29, 37)
    for y in range(37):
        fill_rect(img, 0, y, 29, y + 1, panel_ground(y))
    hline(img, 0, 28, 0, hexcolour('5d6d89'))
    hline(img, 0, 28, 36, EDGE)
    vline(img, 0, 0, 36, EDGE)
    vline(img, 1, 1, 35, AMBER)
    vline(img, 2, 1, 35, AMBER_DARK)
    return img


def _page_icon(img, kind, x, y, pressed):
    ink = AMBER_LIGHT if pressed else MIST
    if kind == 0:  # pixel count: a grid of pixels
        for j in range(3):
            for i in range(3):
                colour = AMBER if (i, j) == (1, 1) else ink
                fill_rect(img, x + 3 * i, y + 3 * j, x + 3 * i + 2, y + 3 * j + 2, colour)
    elif kind == 1:  # width: a double arrow between two bars
        vline(img, x - 1, y, y + 7, ink), vline(img, x + 9, y, y + 7, ink)
        hline(img, x + 1, x + 7, y + 3, ink), hline(img, x + 1, x + 7, y + 4, ink)
        for d in (1, 2):
            vline(img, x + d, y + 3 - (3 - d), y + 4 + (3 - d), ink)
            vline(img, x + 8 - d, y + 3 - (3 - d), y + 4 + (3 - d), ink)
    elif kind == 2:  # readout: three channel bars on a scale
        for i, (h, colour) in enumerate(((5, RED), (7, GREEN), (4, BLUE))):
            fill_rect(img, x + 1 + 3 * i, y + 7 - h, x + 3 + 3 * i, y + 7, colour)
        hline(img, x, x + 9, y + 8, ink)
    else:  # apply: a check mark
        fill_shape(img, union(capsule(x + 1, y + 4.5, x + 3.5, y + 7, 0.95), capsule(x + 3.5, y + 7, x + 8.5, y + 1, 0.95)),
                   hexcolour('55d68c') if not pressed else AMBER_LIGHT, (x - 1, y - 1, x + 11, y + 10))


def inspector_page_buttons():
    img = Image(76, 30)
    for k in range(4):
        x0 = 19 * k
        panel_row = 2 if k < 2 else 19  # the upper pair stands at panel row 2, the lower at 19
        for half, pressed in ((0, False), (15, True)):
            ground = lambda y, half=half, panel_row=panel_row: panel_ground(panel_row + y - half)
            if pressed:
                _button(img, x0, half, 19, 15, 3, hexcolour('252d3b'), hexcolour('323d50'), INK, ground, pressed=True)
            else:
                _button(img, x0, half, 19, 15, 3, hexcolour('62718e'), hexcolour('445069'), INK, ground)
            _page_icon(img, k, x0 + 5, half + 3 + (1 if pressed else 0), pressed)
    return img


GROOVE = [None, None, hexcolour('2a3342'), hexcolour('0f131a'), hexcolour('151a23'), hexcolour('151a23'),
          hexcolour('1b212c'), hexcolour('56657f'), None, None]


def _track_colour(row):
    """Colour of the slider's track at a row of the slider bitmap (its top at panel row 22)."""
    return GROOVE[row] or panel_ground(22 + row)


def inspector_slider():
    img = Image(34, 10)
    for row in range(10):
        fill_rect(img, 0, row, 34, row + 1, panel_ground(22 + row))
    for x0, pressed in ((0, False), (11, True)):
        ground = lambda y: panel_ground(22 + y)
        if pressed:
            _button(img, x0, 0, 11, 10, 2.5, hexcolour('252d3b'), hexcolour('323d50'), INK, ground, pressed=True)
        else:
            _button(img, x0, 0, 11, 10, 2.5, hexcolour('62718e'), hexcolour('445069'), INK, ground)
        # A 5 x 1 bar at rows 4 (5 when pressed): with a 1 x 5 bar through column 5 added,
        # the same image serves as the plus button.
        hline(img, x0 + 3, x0 + 7, 4 + (1 if pressed else 0), AMBER_LIGHT if pressed else MIST)
    # Track: its rounded left end in columns 22..26, then uniform columns 27..33.
    for row in range(10):
        fill_rect(img, 24, row, 34, row + 1, _track_colour(row))
    for row in range(3, 7):
        img.set(23, row, _track_colour(row))
    vline(img, 23, 3, 6, hexcolour('0f131a'))
    img.set(24, 7, hexcolour('56657f'))
    return img


def inspector_switches():
    img = Image(29, 46)
    looks = (  # knob position 0..1, track colour, label, label colour, label at the right
        (0.0, INK, '10', MIST, True),
        (1.0, ACCENT, '16', WHITE, False),
        (1.0, AMBER, 'ON', INK, False),
        (0.5, SLATE_MID, '', MIST, False),
        (0.0, INK, 'OFF', MIST, True),
    )
    for i, (knob, track, label, label_colour, right) in enumerate(looks):
        y0 = 9 * i
        for row in range(9):
            fill_rect(img, 0, y0 + row, 29, y0 + row + 1, panel_ground(23 + row))
        fill_shape(img, round_rect(0, y0, 29, y0 + 9, 4.5), EDGE)
        fill_shape(img, round_rect(1, y0 + 1, 28, y0 + 8, 3.5), track)
        if label:
            w = text_width(label, TINY_3X5)
            x = 26 - w if right else 3
            draw_text(img, label, x, y0 + 2, label_colour, TINY_3X5)
        cx = 4.5 + knob * 20
        fill_shape(img, circle(cx, y0 + 4.5, 3.6), EDGE)
        fill_shape(img, circle(cx, y0 + 4.5, 3.0), WHITE if i != 3 else MIST)
    for row in range(45, 46):
        fill_rect(img, 0, row, 29, row + 1, panel_ground(31))
    return img


def inspector_thumb():
    img = Image(20, 6)
    for row in range(6):
        fill_rect(img, 0, row, 20, row + 1, _track_colour(2 + row))  # the thumb sits on track rows 2..7
    fill_shape(img, round_rect(0, 0, 10, 6, 2.5), AMBER_DARK, (0, 0, 10, 6))
    fill_shape(img, round_rect(1, 1, 9, 5, 1.5), AMBER, (0, 0, 10, 6))
    hline(img, 2, 7, 1, AMBER_LIGHT)
    return img


# ---- 204: the readout's plate --------------------------------------------------------------

def readout_plate():
    img = Image(36, 16)
    for y in range(16):
        fill_rect(img, 0, y, 36, y + 1, mix(hexcolour('222a37'), hexcolour('161b24'), y / 15))
    hline(img, 0, 35, 0, hexcolour('46546c'))
    hline(img, 0, 35, 15, hexcolour('0a0d12'))
    vline(img, 0, 0, 15, hexcolour('0a0d12'))
    vline(img, 1, 1, 14, hexcolour('3a4559'))
    return img


# ---- The table of bitmaps ------------------------------------------------------------------

# id: (draw, width, height, key rule). Key rules: None = no KEY pixel at all; 'blue' = every
# pixel with blue 255 is KEY (168, 175: the code tests the blue byte alone); a function
# (x, y) -> bool = KEY may stand only where it is true (the code tests for pure blue there).
BITMAPS = {
    155: (emblem, 71, 42, None),
    156: (gauge_close_button, 63, 53, None),
    160: (preview_corners, 40, 40, None),
    166: (preview_ramp, 1, 250, None),
    168: (jpeg_settings_header, 125, 25, 'blue'),
    169: (jpeg_arrow_button, 22, 10, None),
    170: (preview_save_close, 125, 54, lambda x, y: y in (0, 1, 2, 24, 25, 26)),
    171: (preview_tabs, 81, 17, None),
    172: (preview_tab_marks, 22, 11, 'blue'),
    173: (preview_button_plate, 15, 19, 'blue'),
    175: (preview_button_face, 23, 16, 'blue'),
    176: (preview_gain_glyphs, 30, 9, 'blue'),
    192: (inspector_title, 124, 17, lambda x, y: x >= TAB_END),
    194: (inspector_page_buttons, 76, 30, None),
    196: (inspector_panel, 29, 37, None),
    197: (inspector_settings_button, 13, 20, None),
    199: (inspector_slider, 34, 10, None),
    201: (inspector_switches, 29, 46, None),
    204: (readout_plate, 36, 16, None),
    206: (inspector_thumb, 20, 6, None),
}


def check_keys(bitmap_id, img):
    """Holds a picture to its key rule; raises with the first offending pixel."""
    _, width, height, rule = BITMAPS[bitmap_id]
    if (img.width, img.height) != (width, height):
        raise ValueError('bitmap %d is %dx%d, not %dx%d' % (bitmap_id, img.width, img.height, width, height))
    for y in range(height):
        for x in range(width):
            r, g, b, a = img.get(x, y)
            if a != 255:
                raise ValueError('bitmap %d has a transparent pixel at (%d, %d)' % (bitmap_id, x, y))
            is_key = (r, g, b) == KEY[:3]
            if b == 255 and not is_key:
                raise ValueError('bitmap %d: blue 255 off the key at (%d, %d)' % (bitmap_id, x, y))
            if is_key and (rule is None or (callable(rule) and not rule(x, y))):
                raise ValueError('bitmap %d: key pixel where none may be, at (%d, %d)' % (bitmap_id, x, y))


def check_preview_corners(img):
    """The preview's frame is found by colour: only the inside may look like the ground."""
    for y in range(img.height):
        for x in range(img.width):
            r, g, b, _ = img.get(x, y)
            ground_like = b in (0x01, 0x10) or (b, g) == (1, 1)
            if ground_like != ((r, g, b) == PREVIEW_INSIDE[:3]):
                raise ValueError('bitmap 160: pixel (%d, %d) would be taken for the ground' % (x, y))
    if img.get(18, 21)[:3] != PREVIEW_INSIDE[:3]:
        raise ValueError('bitmap 160: the reference pixel (18, 21) is not the ground')
