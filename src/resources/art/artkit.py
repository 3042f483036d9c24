"""A small raster toolkit for the library's art, on the Python standard library only.

Images are lists of rows of (r, g, b, a) tuples, row 0 at the top. Shapes are drawn by
coverage: a shape is a function (x, y) -> bool on real coordinates, sampled 4 x 4 times
per pixel, so edges are smooth. Pictures with key pixels are drawn with hard edges where
they meet the key (`hard=True`), because a pixel half blended into the key colour would be
neither cut nor clean.
"""

import math
import struct
import zlib

KEY = (0, 0, 255, 255)  # pure blue: cut out of a window shape, or not copied
SAMPLES = 4


class Image:
    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width = width
        self.height = height
        self.rows = [[tuple(fill) for _ in range(width)] for _ in range(height)]

    def get(self, x, y):
        return self.rows[y][x]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = rgba(colour)

    def blend(self, x, y, colour, coverage=1.0):
        """Paints `colour` over the pixel with the given coverage (and the colour's alpha)."""
        if not (0 <= x < self.width and 0 <= y < self.height) or coverage <= 0:
            return
        src = rgba(colour)
        a = src[3] / 255.0 * min(coverage, 1.0)
        if a >= 0.999:
            self.rows[y][x] = src[:3] + (255,)
            return
        dst = self.rows[y][x]
        da = dst[3] / 255.0
        out_a = a + da * (1 - a)
        if out_a <= 0:
            return
        mix = [round((src[i] * a + dst[i] * da * (1 - a)) / out_a) for i in range(3)]
        self.rows[y][x] = (mix[0], mix[1], mix[2], round(out_a * 255))

    def paste(self, other, dx, dy):
        for y in range(other.height):
            for x in range(other.width):
                self.set(dx + x, dy + y, other.get(x, y))

    def crop(self, x0, y0, width, height):
        out = Image(width, height)
        for y in range(height):
            for x in range(width):
                out.rows[y][x] = self.rows[y0 + y][x0 + x]
        return out

    def map(self, fn):
        for y in range(self.height):
            self.rows[y] = [fn(x, y, c) for x, c in enumerate(self.rows[y])]

    def opaque(self):
        return all(c[3] == 255 for row in self.rows for c in row)


def rgba(colour):
    return tuple(colour) if len(colour) == 4 else tuple(colour) + (255,)


def hexcolour(text, alpha=255):
    text = text.lstrip('#')
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


def mix(a, b, t):
    """Linear blend from colour a (t = 0) to colour b (t = 1)."""
    a, b = rgba(a), rgba(b)
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(4))


def shade(colour, factor):
    """Darker (factor < 1) or lighter (factor > 1, towards white) copy of a colour."""
    c = rgba(colour)
    if factor <= 1:
        return (round(c[0] * factor), round(c[1] * factor), round(c[2] * factor), c[3])
    t = factor - 1
    return mix(c, (255, 255, 255, c[3]), t)


# ---- Shapes --------------------------------------------------------------------------------

def coverage(shape, x, y, samples=SAMPLES):
    hits = 0
    for sy in range(samples):
        for sx in range(samples):
            if shape(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples):
                hits += 1
    return hits / (samples * samples)


def fill_shape(img, shape, colour, box=None, hard=False):
    """Fills the pixels a shape covers. `hard`: a pixel is painted whole when its centre
    lies in the shape, and not at all otherwise (no blended edge)."""
    x0, y0, x1, y1 = box if box else (0, 0, img.width, img.height)
    for y in range(max(0, int(y0)), min(img.height, int(math.ceil(y1)))):
        for x in range(max(0, int(x0)), min(img.width, int(math.ceil(x1)))):
            if hard:
                if shape(x + 0.5, y + 0.5):
                    img.set(x, y, colour)
            else:
                img.blend(x, y, colour, coverage(shape, x, y))


def round_rect(x0, y0, x1, y1, r):
    """Rounded rectangle on real coordinates [x0, x1) x [y0, y1) with corner radius r."""
    def inside(x, y):
        if x < x0 or x >= x1 or y < y0 or y >= y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def circle(cx, cy, r):
    return ellipse(cx, cy, r, r)


def ring(cx, cy, r_outer, r_inner):
    return lambda x, y: r_inner ** 2 < (x - cx) ** 2 + (y - cy) ** 2 <= r_outer ** 2


def capsule(ax, ay, bx, by, r):
    """All points within r of the segment a-b: a stroke with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        px, py = ax + t * dx, ay + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= r * r
    return inside


def polygon(points):
    """Even-odd polygon on real coordinates."""
    def inside(x, y):
        result = False
        n = len(points)
        for i in range(n):
            (xa, ya), (xb, yb) = points[i], points[(i + 1) % n]
            if (ya > y) != (yb > y) and x < xa + (y - ya) * (xb - xa) / (yb - ya):
                result = not result
        return result
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, cut):
    return lambda x, y: shape(x, y) and not cut(x, y)


def grow(shape, r, steps=12):
    """The shape widened by r (approximately: tested at points on a circle of radius r)."""
    offsets = [(0.0, 0.0)] + [(r * math.cos(2 * math.pi * k / steps), r * math.sin(2 * math.pi * k / steps))
                              for k in range(steps)]
    return lambda x, y: any(shape(x + ox, y + oy) for ox, oy in offsets)


# ---- Pixel operations ----------------------------------------------------------------------

def fill_rect(img, x0, y0, x1, y1, colour):
    """Fills columns x0..x1-1 and rows y0..y1-1."""
    for y in range(max(0, y0), min(img.height, y1)):
        for x in range(max(0, x0), min(img.width, x1)):
            img.set(x, y, colour)


def hline(img, x0, x1, y, colour):
    for x in range(x0, x1 + 1):
        img.set(x, y, colour)


def vline(img, x, y0, y1, colour):
    for y in range(y0, y1 + 1):
        img.set(x, y, colour)


def vertical_gradient(img, x0, y0, x1, y1, top, bottom, shape=None):
    height = max(1, y1 - y0 - 1)
    for y in range(y0, y1):
        colour = mix(top, bottom, (y - y0) / height)
        for x in range(x0, x1):
            if shape is None:
                img.set(x, y, colour)
            else:
                img.blend(x, y, colour, coverage(shape, x, y))


def draw_glyph(img, glyph, x, y, colour, scale=1):
    """Draws a text pixel map ('#' = ink, anything else = clear) with its top-left at (x, y)."""
    for gy, line in enumerate(glyph):
        for gx, ch in enumerate(line):
            if ch == '#':
                for sy in range(scale):
                    for sx in range(scale):
                        img.set(x + gx * scale + sx, y + gy * scale + sy, colour)


def glyph_width(glyph):
    return max(len(line) for line in glyph)


# ---- File formats --------------------------------------------------------------------------

def bmp_bytes(img):
    """A 24-bit bottom-up BMP; alpha is dropped (the pictures are opaque)."""
    row_bytes = (img.width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(img.height - 1, -1, -1):
        row = bytearray()
        for r, g, b, _ in img.rows[y]:
            row += bytes((b, g, r))
        row += b'\0' * (row_bytes - len(row))
        pixels += row
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, img.width, img.height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + bytes(pixels)


def _icon_image_bytes(img):
    """One image of an icon or cursor file: 32-bit colour with alpha plus the AND mask."""
    w, h = img.width, img.height
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for r, g, b, a in img.rows[y]:
            xor += bytes((b, g, r, a))
    mask_row = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(mask_row)
        for x in range(w):
            if img.rows[y][x][3] < 128:  # transparent where the alpha is mostly clear
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    info = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def _icon_file_bytes(images, kind, hotspots=None):
    """ICO (kind 1) or CUR (kind 2) holding the given images."""
    blobs = [_icon_image_bytes(img) for img in images]
    out = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for i, (img, blob) in enumerate(zip(images, blobs)):
        if kind == 1:
            planes_or_x, bits_or_y = 1, 32
        else:
            planes_or_x, bits_or_y = hotspots[i]
        out += struct.pack('<BBBBHHII', img.width % 256, img.height % 256, 0, 0,
                           planes_or_x, bits_or_y, len(blob), offset)
        offset += len(blob)
    return out + b''.join(blobs)


def ico_bytes(images):
    return _icon_file_bytes(images, 1)


def cur_bytes(img, hotspot):
    return _icon_file_bytes([img], 2, [hotspot])


def png_bytes(img):
    """An 8-bit RGB PNG (for the contact sheet), zlib from the standard library."""
    raw = bytearray()
    for row in img.rows:
        raw.append(0)
        for r, g, b, _ in row:
            raw += bytes((r, g, b))

    def chunk(tag, data):
        return struct.pack('>I', len(data)) + tag + data + struct.pack('>I', zlib.crc32(tag + data) & 0xFFFFFFFF)
    ihdr = struct.pack('>IIBBBBB', img.width, img.height, 8, 2, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b'')


# ---- Reading back what was written (the contact sheet shows the files themselves) ----------

def read_bmp(data):
    if data[:2] != b'BM':
        raise ValueError('not a BMP')
    offset = struct.unpack_from('<I', data, 10)[0]
    _, w, h, _, bits = struct.unpack_from('<IiiHH', data, 14)
    if bits != 24:
        raise ValueError('only 24-bit BMP files are made here')
    row_bytes = (w * 3 + 3) & ~3
    img = Image(w, abs(h))
    for row in range(abs(h)):
        y = abs(h) - 1 - row if h > 0 else row
        base = offset + row * row_bytes
        for x in range(w):
            b, g, r = data[base + 3 * x: base + 3 * x + 3]
            img.rows[y][x] = (r, g, b, 255)
    return img


def read_icon_images(data):
    """The images of an ICO or CUR file, with their hot spots (CUR) or (0, 0)."""
    _, kind, count = struct.unpack_from('<HHH', data, 0)
    images = []
    for i in range(count):
        _, _, _, _, px, py, size, offset = struct.unpack_from('<BBBBHHII', data, 6 + 16 * i)
        _, w, h2, _, bits = struct.unpack_from('<IiiHH', data, offset)
        if bits != 32:
            raise ValueError('only 32-bit icon images are made here')
        h = h2 // 2
        img = Image(w, h)
        base = offset + 40
        for row in range(h):
            y = h - 1 - row
            for x in range(w):
                b, g, r, a = data[base + 4 * (row * w + x): base + 4 * (row * w + x) + 4]
                img.rows[y][x] = (r, g, b, a)
        images.append((img, (px, py) if kind == 2 else (0, 0)))
    return images
