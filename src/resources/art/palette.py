"""The colours shared by every picture: dark slate grounds, a warm amber accent (the panels'
frames are amber too), a clear blue for primary actions, and light greys for text.

No colour here has a blue component of 255: in the pictures that carry key pixels only the
key itself may have it.
"""

from artkit import hexcolour, mix

INK = hexcolour('1b212c')
SLATE_DARK = hexcolour('252d3b')
SLATE = hexcolour('323d50')
SLATE_MID = hexcolour('46536b')
SLATE_LIGHT = hexcolour('6b7a96')
MIST = hexcolour('c9d1de')
PAPER = hexcolour('f4f6fa')
WHITE = hexcolour('fafbfc')
AMBER = hexcolour('f0a818')
AMBER_LIGHT = hexcolour('ffd36b')
AMBER_DARK = hexcolour('b87800')
ACCENT = hexcolour('2f7de1')
ACCENT_DARK = hexcolour('1d58a8')
ACCENT_LIGHT = hexcolour('6aa6f0')
RED = hexcolour('e2473c')
GREEN = hexcolour('2fb36b')
BLUE = hexcolour('3a7af0')
YELLOW = hexcolour('ffe14a')

# Ground of the JPEG preview window: one period of a slow wave between these two colours,
# so the 250-row ramp repeats without a seam.
PREVIEW_GROUND_DARK = hexcolour('1e2532')
PREVIEW_GROUND_LIGHT = hexcolour('344056')


def preview_ground(r):
    """Colour of the preview's ground r rows above the window's bottom edge."""
    t = abs((r % 250) - 125) / 125.0  # 1 at the bottom and every 250 rows, 0 half way
    return mix(PREVIEW_GROUND_LIGHT, PREVIEW_GROUND_DARK, t)


# Ground of the pixel inspector's title tab, by row 0..16.
def title_ground(y):
    return mix(hexcolour('3b475d'), hexcolour('222a38'), y / 16.0)


# Body of the inspector's settings panel, by row 0..36.
def panel_ground(y):
    return mix(hexcolour('3a4559'), hexcolour('2a3342'), y / 36.0)
