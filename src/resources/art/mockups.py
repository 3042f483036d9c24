"""Mock-ups for the contact sheet: the pieces put together the way the windows put them
together (corners and repeated edges, stretched tabs, repeated strips, key pixels skipped
or cut), so seams and clashes show before any window exists. Art only: the windows' texts
and numbers are left out or stood in for by the sheet's pixel font.
"""

from artkit import KEY, Image, fill_rect, mix
from glyphs import draw_text

SHEET_GROUND = (236, 238, 242, 255)


def _blit(dst, src, dx, dy, sx, sy, w, h, skip_key=False):
    for y in range(h):
        for x in range(w):
            if 0 <= sx + x < src.width and 0 <= sy + y < src.height:
                c = src.get(sx + x, sy + y)
                if skip_key and c[2] == 255:
                    continue
                dst.set(dx + x, dy + y, c)


def _cut(img, inside):
    for y in range(img.height):
        for x in range(img.width):
            if not inside(x, y):
                img.set(x, y, SHEET_GROUND)


def jpeg_preview(art):
    """The JPEG preview's face, 730 x 450: frame, ground, emblem, tabs, buttons, panel header."""
    face = Image(730, 450, (1, 1, 1, 255))
    corners = art[160]
    for (sx, sy, dx, dy) in ((0, 0, 0, 0), (20, 0, 710, 0), (0, 20, 0, 430), (20, 20, 710, 430)):
        _blit(face, corners, dx, dy, sx, sy, 20, 20)
    for x in range(20, 710):
        _blit(face, corners, x, 0, 19, 0, 1, 7)
        _blit(face, corners, x, 443, 19, 33, 1, 7)
    for y in range(20, 430):
        _blit(face, corners, 0, y, 0, 19, 7, 1)
        _blit(face, corners, 723, y, 33, 19, 7, 1)
    ref = face.get(18, 431)
    ramp = art[166]
    for y in range(450):
        for x in range(730):
            c = face.get(x, y)
            if c[2] == 0x01 or (c[2], c[1]) == (ref[2], ref[1]):
                c = (0x10, 0x10, 0x10, 255)
            if c[2] == 0x10:
                c = ramp.get(0, (449 - y) % 250)
            face.set(x, y, c)
    _blit(face, art[155], 622, 20, 0, 0, 71, 42)
    # The view and the three channel panels stand in as plain areas.
    fill_rect(face, 8, 8, 458, 442, (118, 132, 150, 255))
    for k in range(3):
        fill_rect(face, 462, 8 + 139 * k, 590, 143 + 139 * k, (222, 222, 222, 255))
    # Tabs: 68 wide, the middle column stretched; the first selected.
    tabs, marks = art[171], art[172]
    for i, y in enumerate((101, 121, 138)):
        look = 1 if i == 0 else 0
        x0 = 27 * look
        _blit(face, tabs, 623, y, x0, 0, 13, 17)
        for x in range(13, 55):
            _blit(face, tabs, 623 + x, y, x0 + 13, 0, 1, 17)
        _blit(face, tabs, 623 + 55, y, x0 + 14, 0, 13, 17)
        mark = 0 if i == 0 else 11
        for my in range(11):
            for mx in range(11):
                c = marks.get(mark + mx, my)
                if c[2] != 255:
                    face.set(629 + mx, y + 3 + my, c if look == 1 else mix(c, (0, 0, 0, 255), 0.45))
    # The plate and the three small buttons (whole lit, range unlit, gain x1 lit).
    plate, button, glyphs = art[173], art[175], art[176]
    _blit(face, plate, 480, 425, 0, 0, 7, 19, skip_key=True)
    for x in range(7, 93):
        _blit(face, plate, 480 + x, 425, 7 + (x - 7) % 8, 0, 1, 19, skip_key=True)
    for x0 in (489, 512, 543):
        _blit(face, button, x0, 427, 0, 0, 23, 16, skip_key=True)
    _blit(face, glyphs, 543 + 4, 427 + 3, 15, 0, 15, 9, skip_key=True)
    # Save and close, up, with their rims.
    buttons = art[170]
    for x0, sx, w in ((595, 0, 62), (657, 62, 63)):
        _blit(face, buttons, x0, 413, sx, 0, w, 3, skip_key=True)
        _blit(face, buttons, x0, 416, sx, 3, w, 21)
        _blit(face, buttons, x0, 437, sx, 24, w, 3, skip_key=True)
    # The settings panel's header on its rounded shape.
    header = art[168]
    panel = Image(125, 140, (228, 230, 233, 255))
    _blit(panel, header, 0, 0, 0, 0, 125, 25)
    for y in range(25, 140):
        fill_rect(panel, 0, y, 125, y + 1, mix((232, 234, 237, 255), (206, 209, 214, 255), (y - 25) / 115))
    for y in range(140):
        for x in range(125):
            c = panel.get(x, y)
            corner = ((x < 6 or x > 118) and y > 133)
            if c[2] != 255 and not corner:
                face.set(595 + x, 265 + y, c)
    _cut(face, lambda x, y: not ((x < 8 or x > 721) and (y < 8 or y > 441)) or
         (min(abs(x - 7.5), abs(x - 721.5)) ** 2 + min(abs(y - 7.5), abs(y - 441.5)) ** 2 <= 64))
    return face


def inspector(art):
    """The top of a 250-pixel-wide pixel inspector with its settings panel open on the pixel
    count page, and the readout window in its long form below it."""
    w, h = 250, 120
    img = Image(w, h, (255, 200, 0, 255))
    for y in range(19, h - 3):
        for x in range(3, w - 4):
            img.set(x, y, mix((60, 120, 190, 255), (230, 170, 90, 255), ((x // 12) + (y // 12)) % 2 * 0.8))
    title = art[192]
    _blit(img, title, 0, 0, 0, 0, 124, 17)
    for x in range(69, 97, 3):
        _blit(img, title, x, 0, 67, 0, x - 14, 17)
    for x in range(115, 140, 3):
        _blit(img, title, x, 0, 82, 0, 43, 17)
    e_t = 181
    for (x0, text) in ((68, '1234'), (112, '567')):
        fill_rect(img, x0, 4, x0 + 29, 14, (0, 0, 0, 255))
        draw_text(img, text, x0 + 28 - 6 * len(text), 5, (255, 255, 255, 255))
    _blit(img, art[197], e_t - 29, 4, 0, 0, 13, 10)
    # Frames under the title: grey, white, orange.
    t = 17
    for (fx, fy, fw, fh, colour) in ((0, t, w - 2, h - t - 2, (136, 136, 136, 255)),
                                     (1, t, w - 3, h - t - 2, (255, 255, 255, 255)),
                                     (2, t + 1, w - 5, h - t - 4, (255, 170, 0, 255))):
        for x in range(fx, fx + fw + 1):
            img.set(x, fy, colour), img.set(x, fy + fh, colour)
        for y in range(fy, fy + fh + 1):
            img.set(fx, y, colour), img.set(fx + fw, y, colour)
    # The panel at (P, T) with the pixel count page: value box, slider and thumb.
    p, top = e_t - 154, t + 2
    panel = art[196]
    _blit(img, panel, p, top, 0, 0, 29, 37)
    # Strips are laid at every column of their stretch: an 18-column strip from column 12
    # runs one column past the bitmap, which the next strip covers.
    for x in range(12, 99):
        _blit(img, panel, p + x, top, 12, 0, 18, 37)
    for x in range(110, 152):
        _blit(img, panel, p + x, top, 26, 0, 5, 37)
    fill_rect(img, p + 64, top + 5, p + 97, top + 21, (255, 255, 255, 255))
    fill_rect(img, p + 65, top + 6, p + 96, top + 20, (0, 0, 0, 255))
    draw_text(img, '20', p + 72, top + 9, (255, 255, 255, 255))
    slider, thumb = art[199], art[206]
    _blit(img, slider, p + 13, top + 22, 0, 0, 11, 10)
    _blit(img, slider, p + 24, top + 22, 22, 0, 11, 10)
    for x in range(29, 79):
        _blit(img, slider, p + x, top + 22, 27, 0, 7, 10)
    _blit(img, slider, p + 85, top + 22, 0, 0, 11, 10)
    for y in range(2, 7):  # the plus: the minus with its upright bar added
        img.set(p + 85 + 5, top + 22 + y, slider.get(5, 4))
    _blit(img, thumb, p + 26 + 3, top + 24, 0, 0, 10, 6)
    pages = art[194]
    for (k, x, y) in ((0, 110, 21), (1, 131, 21), (2, 110, 38), (3, 131, 38)):
        _blit(img, pages, p + x, y, 19 * k, 15 if k == 0 else 0, 19, 15)
    # The readout in its long form.
    plate = art[204]
    rx, ry = 5, 62
    for (dy) in (0, 14):
        _blit(img, plate, rx, ry + dy, 0, 0, 36, 16)
    for x in range(14, 40):
        _blit(img, plate, rx + x, ry, 11, 0, 12, 16)
    for x in range(51, 77):
        _blit(img, plate, rx + x, ry, 21, 0, 10, 16)
    for x in range(86, 110):
        _blit(img, plate, rx + x, ry, 31, 0, 5, 16)
    for x in range(5, 108):
        _blit(img, plate, rx + x, ry + 14, 29, 0, 7, 16)
    for (x0, wbox, text, colour) in ((13, 26, '255', (255, 220, 220, 255)), (50, 26, '128', (220, 255, 220, 255)),
                                    (85, 25, '64', (220, 220, 255, 255))):
        fill_rect(img, rx + x0, ry + 3, rx + x0 + wbox, ry + 13, (0, 0, 0, 255))
        draw_text(img, text, rx + x0 + wbox - 1 - 6 * len(text), ry + 4, colour)
    # The window's shape: the tab's end and everything right of the tab above the frame.
    def inside(x, y):
        if y < t and x >= e_t:
            return False
        if y < t and x >= e_t - 11 and img.get(x, y)[:3] == KEY[:3]:
            return False
        return (x, y) not in ((1, 0), (0, 0), (0, 1), (0, 2), (0, 3), (w - 1, 17), (w - 1, h - 1), (0, h - 1))
    _cut(img, inside)
    return img


def all_mockups(art):
    return [('JPEG PREVIEW FACE (ART ONLY)', jpeg_preview(art)), ('PIXEL INSPECTOR, SETTINGS AND READOUT', inspector(art))]
