"""Icons and cursors: 32-bit pictures with smooth alpha edges.

The two host icons come in 32 x 32 and 16 x 16; the two stamp icons in 32 x 32, the size the
cursor stamp draws them at. Cursors are 32 x 32, white with a dark outline so they read on
any picture, with their hot spots where the pointer acts.
"""

from artkit import Image, capsule, circle, fill_shape, grow, hexcolour, minus, mix, polygon, ring, round_rect, union
from palette import ACCENT_DARK, AMBER, AMBER_LIGHT, GREEN, RED, WHITE

OUTLINE = hexcolour('11151c')


def _scaled(shape, s):
    """The shape drawn on a 32-unit grid, at s / 32 of its size."""
    f = 32.0 / s
    return lambda x, y: shape(x * f, y * f)


def _tile(img, s, top, bottom):
    """Rounded square ground of an application icon, with a soft vertical gradient."""
    r = 6.0 * s / 32
    outer = round_rect(0.5 * s / 32, 0.5 * s / 32, s - 0.5 * s / 32, s - 0.5 * s / 32, r)
    for y in range(s):
        colour = mix(top, bottom, y / (s - 1))
        fill_shape(img, lambda px, py, y=y: outer(px, py) and y <= py < y + 1, colour, (0, y, s, y + 1))


def _capture_icon(s):
    """The capture program: a selection frame's corners around a shutter dot."""
    img = Image(s, s)
    _tile(img, s, hexcolour('4a95f0'), ACCENT_DARK)
    corners = []
    # At 16 pixels the strokes sit on pixel centres (odd units of the 32 grid), one pixel wide.
    near, far, r = (7, 25, 1.0) if s == 16 else (8, 24, 1.4)
    for (ax, ay, dx, dy) in ((near, near, 1, 1), (far, near, -1, 1), (near, far, 1, -1), (far, far, -1, -1)):
        corners.append(capsule(ax, ay, ax + 6 * dx, ay, r))
        corners.append(capsule(ax, ay, ax, ay + 6 * dy, r))
    fill_shape(img, _scaled(union(*corners), s), WHITE)
    fill_shape(img, _scaled(circle(16, 16, 4.2), s), AMBER_LIGHT)
    fill_shape(img, _scaled(circle(16, 16, 2.0), s), AMBER)
    return img


def _wallpaper_icon(s):
    """The wallpaper maker: a landscape in a picture frame."""
    img = Image(s, s)
    _tile(img, s, hexcolour('37c08a'), hexcolour('137a57'))
    frame = minus(round_rect(6, 8, 26, 24, 2), round_rect(8, 10, 24, 22, 1))
    fill_shape(img, _scaled(frame, s), WHITE)
    fill_shape(img, _scaled(round_rect(8, 10, 24, 22, 1), s), hexcolour('bfe8ff'))
    hills = polygon([(8, 22), (13, 15), (17, 19), (20, 16), (24, 21), (24, 22)])
    fill_shape(img, _scaled(hills, s), hexcolour('1f8f5f'))
    fill_shape(img, _scaled(circle(20.5, 13.5, 1.8), s), AMBER_LIGHT)
    return img


def _outlined(img, shape, fill, outline=OUTLINE, width=1.2):
    fill_shape(img, grow(shape, width), outline)
    fill_shape(img, shape, fill)


def stamp_arrow():
    """A bold red arrow pointing up and left, to point at something in a screenshot."""
    img = Image(32, 32)
    head = polygon([(3, 3), (17, 5.5), (5.5, 17)])
    shaft = capsule(9, 9, 27, 27, 3.2)
    _outlined(img, union(head, shaft), RED, WHITE, 1.6)
    return img


def stamp_check():
    """A green badge with a check mark."""
    img = Image(32, 32)
    fill_shape(img, circle(16, 16, 14.5), WHITE)
    fill_shape(img, circle(16, 16, 13.0), GREEN)
    tick = union(capsule(9, 16.5, 14, 21.5, 2.2), capsule(14, 21.5, 23.5, 10.5, 2.2))
    fill_shape(img, tick, WHITE)
    return img


# ---- Cursors ---------------------------------------------------------------------------------

def _hand(open_hand):
    """A hand seen from its back: four fingers, thumb and palm; a fist when closed. The
    fingers stand a little apart, so the outline draws the lines between them."""
    r = 1.6
    if open_hand:
        fingers = [capsule(10.6, 9.0, 10.9, 16, r), capsule(14.6, 4.8, 14.7, 15, r),
                   capsule(18.6, 5.2, 18.5, 15, r), capsule(22.6, 8.4, 22.1, 16, r)]
        thumb = capsule(6.6, 14.6, 9.6, 21.5, 1.7)
    else:
        fingers = [capsule(10.8, 12.6, 10.8, 16, r), capsule(14.7, 11.4, 14.7, 15, r),
                   capsule(18.6, 11.4, 18.6, 15, r), capsule(22.4, 12.6, 22.4, 16, r)]
        thumb = capsule(8.0, 16.0, 10.2, 19.8, 1.7)
    palm = round_rect(8.9, 14.5, 24.3, 27.0, 4.2)
    return union(palm, thumb, *fingers), fingers, palm


def _draw_hand(img, open_hand):
    shape, fingers, palm = _hand(open_hand)
    fill_shape(img, grow(shape, 1.15), OUTLINE)
    for finger in fingers:
        fill_shape(img, finger, WHITE)
    fill_shape(img, minus(shape, union(*fingers)), WHITE)
    # The palm is filled again below the knuckles, so the lines between the fingers stop there.
    fill_shape(img, palm, WHITE, (0, 17, 32, 32))


def _no_badge(img):
    """A small red 'not here' sign at the lower right."""
    fill_shape(img, circle(25, 25, 6.3), WHITE)
    fill_shape(img, ring(25, 25, 5.5, 3.6), RED)
    fill_shape(img, capsule(21.7, 21.7, 28.3, 28.3, 0.95), RED)


def _cross(img):
    gap = 3
    arms = union(capsule(15.5, 2, 15.5, 15.5 - gap, 0.6), capsule(15.5, 15.5 + gap, 15.5, 29, 0.6),
                 capsule(2, 15.5, 15.5 - gap, 15.5, 0.6), capsule(15.5 + gap, 15.5, 29, 15.5, 0.6))
    fill_shape(img, grow(arms, 1.2), WHITE)
    fill_shape(img, arms, OUTLINE)
    fill_shape(img, circle(15.5, 15.5, 0.8), OUTLINE)


def cursor_hand():
    img = Image(32, 32)
    _draw_hand(img, True)
    return img


def cursor_grab():
    img = Image(32, 32)
    _draw_hand(img, False)
    return img


def cursor_range_cross():
    img = Image(32, 32)
    _cross(img)
    return img


def cursor_no_scroll():
    img = Image(32, 32)
    _draw_hand(img, False)
    _no_badge(img)
    return img


def cursor_cross_outside():
    img = Image(32, 32)
    _cross(img)
    _no_badge(img)
    return img


# id: (pictures, file kind); cursors carry their hot spot.
ICONS = {
    134: lambda: [_wallpaper_icon(32), _wallpaper_icon(16)],
    135: lambda: [_capture_icon(32), _capture_icon(16)],
    146: lambda: [stamp_arrow()],
    147: lambda: [stamp_check()],
}

CURSORS = {
    178: (cursor_hand, (16, 15)),
    184: (cursor_grab, (16, 17)),
    185: (cursor_range_cross, (15, 15)),
    187: (cursor_no_scroll, (16, 17)),
    188: (cursor_cross_outside, (15, 15)),
    191: (cursor_hand, (16, 15)),  # the open hand again, once the button is released
}
