#!/usr/bin/env python3
"""Writes the panel's toolbar, menu and tab bitmaps and its icon.

Every picture comes at 16 pixels (pixel art below, 4-bit BMPs with the
standard 16-colour VGA palette) and at 24 and 32 pixels (drawn by
sized_art.py, 8-bit BMPs whose palette starts with the same 16 colours).
Light gray (192,192,192) is the background: the toolbar and the icon menu
map it to the button face and the tab image list treats it as transparent.
Black, dark gray and white are mapped to the system's button text, shadow
and highlight colours, so they are used for outlines and 3-D edges only.

The icon holds 16, 20, 24, 32, 40, 48 and 64 pixel images, 32-bit with alpha.

Usage: make_bitmaps.py [output root, default: the res/ folder of the repo]
"""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sized_art  # noqa: E402

# Standard VGA palette, in the order of the Windows 16-colour table.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# One character per pixel.
INDEX = {
    'k': 0,   # black: outlines (button text colour)
    'r': 1,   # dark red
    'g': 2,   # dark green
    'o': 3,   # olive
    'b': 4,   # navy
    'p': 5,   # purple
    't': 6,   # teal
    '.': 7,   # light gray: background / button face
    'd': 8,   # dark gray: shadow
    'R': 9,   # red
    'G': 10,  # green
    'Y': 11,  # yellow
    'B': 12,  # blue
    'M': 13,  # magenta
    'C': 14,  # cyan
    'w': 15,  # white: highlight
}

# The bottom row stays empty: the icon menu shows only the top 15 rows.
ART = {
    'open': [
        "................",
        "................",
        "..........kkk...",
        ".........k...k.k",
        "..............kk",
        ".kkkk........kkk",
        "kYYYYkkkkkkk....",
        "kYoooooooooYk...",
        "kYoooooooooYk...",
        "kYookkkkkkkkkkkk",
        "kYokYYYYYYYYYYk.",
        "kYkYYYYYYYYYYk..",
        "kkYYYYYYYYYYk...",
        "kkkkkkkkkkkk....",
        "................",
        "................",
    ],
    'save': [
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kbkwwwwwwwwkbk.",
        ".kbkwwwwwwwwkbk.",
        ".kbkwddddddwkbk.",
        ".kbkwwwwwwwwkbk.",
        ".kbkwddddddwkbk.",
        ".kbkwwwwwwwwkbk.",
        ".kbbkkkkkkkkbbk.",
        ".kbbbbbbbbbbbbk.",
        ".kbbkkkkkkkkbbk.",
        ".kbbkwwwbbwkbbk.",
        ".kbbkwwwbbwkbbk.",
        ".kbbkwwwbbwkbbk.",
        "..kkkkkkkkkkkkk.",
        "................",
    ],
    'send': [
        ".....kkkkk......",
        ".....kGGGk......",
        ".....kGGGk......",
        "..kkkkGGGkkkk...",
        "...kGGGGGGGk....",
        "....kGGGGGk.....",
        ".....kGGGk......",
        "..kkkkkGkkkkkk..",
        ".kwwwwwkwwwwwdk.",
        "kkkkkkkkkkkkkkkk",
        "kw............dk",
        "kw.........GG.dk",
        "kw............dk",
        "kddddddddddddddk",
        "kkkkkkkkkkkkkkkk",
        "................",
    ],
    'factory': [
        "..ww............",
        ".w..w...........",
        "kkkk............",
        "kddk...........k",
        "kddk.......k..kk",
        "kddk..k...kk.kCk",
        "kddk.kk..kCkkCCk",
        "kddkkCk.kCCkCCCk",
        "krrkCCkkCCCkrrrk",
        "krrrrrrrrrrrrrrk",
        "krYYrrYYrrYYrrrk",
        "krYYrrYYrrYYrrrk",
        "krrrrrrrrrkkkrrk",
        "krrrrrrrrrkdkrrk",
        "kkkkkkkkkkkkkkkk",
        "................",
    ],
    'printer': [
        "..............G.",
        ".............GG.",
        "...kkkkkkkk.GG..",
        "...kwwwwwwkGG...",
        "...kwkkkkGGG....",
        "...kwwwwGGG.....",
        "...kwkkkkGk.....",
        "..kkkkkkkkkkkk..",
        ".kwwwwwwwwwwwdk.",
        "kkkkkkkkkkkkkkkk",
        "kw............dk",
        "kw.........GG.dk",
        "kw............dk",
        "kddddddddddddddk",
        "kkkkkkkkkkkkkkkk",
        "................",
    ],
    'param': [
        "................",
        "...d....d....d..",
        "...dw...dw...dw.",
        "...dw.kkkkk..dw.",
        "...dw.kwBBk..dw.",
        "...dw.kBBBk..dw.",
        "...dw.kkkkk..dw.",
        "...dw...dw...dw.",
        ".kkkkk..dw...dw.",
        ".kwRRk..dw...dw.",
        ".kRRRk..dw.kkkkk",
        ".kkkkk..dw.kwGGk",
        "...dw...dw.kGGGk",
        "...dw...dw.kkkkk",
        "...dw...dw...dw.",
        "................",
    ],
    'msw': [
        "................",
        "................",
        "kkkkkkkkkkkkkkkk",
        "kRRRRRRRRRRRRRRk",
        "kRwwRwwRRwwRwwRk",
        "kRkkRwwRRkkRwwRk",
        "kRkkRwwRRkkRwwRk",
        "kRkkRwwRRkkRwwRk",
        "kRwwRkkRRwwRkkRk",
        "kRwwRkkRRwwRkkRk",
        "kRwwRkkRRwwRkkRk",
        "kRRRRRRRRRRRRRRk",
        "kkkkkkkkkkkkkkkk",
        "..d..d....d..d..",
        "..d..d....d..d..",
        "................",
    ],
    'select': [
        ".kkkkkkkkkkkkk..",
        ".kwwwwwwwwwwwk..",
        ".kwwwwwwwwwRwk..",
        ".kwkkkwwwwRRwk..",
        ".kwkwkwwwRRwwk..",
        ".kwkkRwwRRwwwk..",
        ".kwwwRRRRwbbbk..",
        ".kwwwwRRwwwwwk..",
        ".kwkkkwwwwwwwk..",
        ".kwkwkwbbbbbwk..",
        ".kwkkkwwwwwwwk..",
        ".kwwwwwwwwwwwk..",
        ".kwkkkwbbbbbwk..",
        ".kkkkkkkkkkkkk..",
        "................",
        "................",
    ],
    'spare': [
        "................",
        "...kkkkkkk......",
        "...kwwwwwkk.....",
        "...kwwwwwkwk....",
        "...kwwwwwkkkk...",
        "...kwwwwwwwwk...",
        "...kwwwwwwwwk...",
        "...kwwwwwwwwk...",
        "...kwwwwwwwwk...",
        "...kwwwwwwwwk...",
        "...kwwwwwwwwk...",
        "...kwwwwwwwwk...",
        "...kwwwwwwwwk...",
        "...kkkkkkkkkk...",
        "................",
        "................",
    ],
}

# The 24 and 32 pixel versions have the ids plus 100 and 200, and files
# named with _24 and _32.
TOOLBAR = ['open', 'save', 'send', 'factory', 'printer']   # bitmap 150
TABS = ['select', 'msw', 'param', 'spare']                # bitmap 168
MENU = {                                                   # bitmaps 160-167
    'menu_open.bmp': 'open',
    'menu_save.bmp': 'save',
    'menu_send.bmp': 'send',
    'menu_factory.bmp': 'factory',
    'menu_printer.bmp': 'printer',
    'menu_param.bmp': 'param',
    'menu_msw.bmp': 'msw',
    'menu_select.bmp': 'select',
}


def check_art():
    for name, rows in ART.items():
        if len(rows) != 16 or any(len(r) != 16 for r in rows):
            raise SystemExit(f"{name}: art must be 16 x 16")
        for r in rows:
            for ch in r:
                if ch not in INDEX:
                    raise SystemExit(f"{name}: unknown pixel {ch!r}")


def strip(names):
    """Pixel rows (palette indexes) of images placed side by side."""
    return [[INDEX[ch] for n in names for ch in ART[n][y]] for y in range(16)]


def write_bmp(path, rows, bits, palette):
    """A bottom-up BMP of palette indexes, 4 or 8 bits a pixel."""
    height = len(rows)
    width = len(rows[0])
    stride = ((width * bits + 31) // 32) * 4
    per_byte = 8 // bits
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for x in range(0, width, per_byte):
            byte = 0
            for i in range(per_byte):
                byte = (byte << bits) | (row[x + i] if x + i < width else 0)
            line.append(byte)
        line.extend(b'\0' * (stride - len(line)))
        pixels += line
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0,
                       len(pixels), 2835, 2835, len(palette), len(palette))
    with open(path, 'wb') as f:
        f.write(header + info + table + pixels)


def write_bmp4(path, rows):
    write_bmp(path, rows, 4, VGA)


def write_bmp8(path, rows):
    """An 8-bit BMP of RGB rows; the palette starts with the VGA colours, so
    that the button colours stay where the recolouring looks for them."""
    palette = list(VGA)
    index = {c: i for i, c in enumerate(palette)}
    for row in rows:
        for colour in row:
            if colour not in index:
                index[colour] = len(palette)
                palette.append(colour)
    if len(palette) > 256:
        raise SystemExit(f"{path}: more than 256 colours")
    write_bmp(path, [[index[c] for c in row] for row in rows], 8, palette)


def sized_strip(names, size):
    pictures = [sized_art.picture(n, size) for n in names]
    return [[p for pic in pictures for p in pic[y]] for y in range(size)]


def sized_name(file, size):
    stem, ext = os.path.splitext(file)
    return f"{stem}_{size}{ext}"


# --- icon -----------------------------------------------------------------

# 16 x 16 icon: the printer of the toolbar with an opaque body ('s').
ICON16 = [
    "................",
    "....kkkkkkkk....",
    "....kwwwwwwk....",
    "....kwddddwk....",
    "....kwwwwwwk....",
    "....kwddddwk....",
    "..kkkkkkkkkkkk..",
    ".kwwwwwwwwwwwwk.",
    "kkkkkkkkkkkkkkkk",
    "kwsssssssssssddk",
    "kwsssssssssGGsdk",
    "kwsssssssssssddk",
    "kbbbbbbbbbbbbbbk",
    "kddddddddddddddk",
    "kkkkkkkkkkkkkkkk",
    "................",
]


def icon16():
    colours = dict((ch, VGA[i]) for ch, i in INDEX.items())
    colours['s'] = (200, 204, 212)
    img = []
    for row in ICON16:
        line = []
        for ch in row:
            if ch == '.':
                line.append((0, 0, 0, 0))
            else:
                r, g, b = colours[ch]
                line.append((r, g, b, 255))
        img.append(line)
    return img


class Canvas:
    """Supersampled RGBA canvas with coordinates on a 48-unit grid."""

    def __init__(self, size, ss=8):
        self.size = size
        self.ss = ss
        self.n = size * ss
        self.k = self.n / 48.0
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * self.n for _ in range(self.n)]

    def _blend(self, x, y, colour):
        r, g, b, a = colour
        a = a / 255.0
        pr, pg, pb, pa = self.px[y][x]
        na = a + pa * (1 - a)
        if na == 0:
            return
        self.px[y][x] = (
            (r * a + pr * pa * (1 - a)) / na,
            (g * a + pg * pa * (1 - a)) / na,
            (b * a + pb * pa * (1 - a)) / na,
            na,
        )

    def rect(self, x0, y0, x1, y1, colour, radius=0.0, shade=None):
        """Fills [x0,x1) x [y0,y1) with rounded corners; shade(t) gives a
        vertical gradient colour for t in 0..1."""
        # Edges snap to whole pixels so that lines stay crisp at every size.
        unit = self.size / 48.0
        X0, Y0, X1, Y1 = (int(round(v * unit)) * self.ss for v in (x0, y0, x1, y1))
        rr = radius * self.k
        for y in range(max(Y0, 0), min(Y1, self.n)):
            c = colour if shade is None else shade((y - Y0) / max(Y1 - Y0 - 1, 1))
            for x in range(max(X0, 0), min(X1, self.n)):
                if rr > 0:
                    cx = min(max(x + 0.5, X0 + rr), X1 - rr)
                    cy = min(max(y + 0.5, Y0 + rr), Y1 - rr)
                    if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 > rr * rr:
                        continue
                self._blend(x, y, c)

    def framed(self, x0, y0, x1, y1, edge, fill, w=1.0, radius=0.0, shade=None):
        self.rect(x0, y0, x1, y1, edge, radius)
        self.rect(x0 + w, y0 + w, x1 - w, y1 - w, fill, max(radius - w, 0), shade)

    def pixels(self):
        out = []
        s = self.ss
        for Y in range(self.size):
            line = []
            for X in range(self.size):
                r = g = b = a = 0.0
                for y in range(Y * s, Y * s + s):
                    for x in range(X * s, X * s + s):
                        pr, pg, pb, pa = self.px[y][x]
                        r += pr * pa
                        g += pg * pa
                        b += pb * pa
                        a += pa
                if a > 0:
                    line.append((int(r / a + 0.5), int(g / a + 0.5),
                                 int(b / a + 0.5), int(a / (s * s) * 255 + 0.5)))
                else:
                    line.append((0, 0, 0, 0))
            out.append(line)
        return out


def lerp(c0, c1):
    return lambda t: tuple(int(a + (b - a) * t) for a, b in zip(c0, c1)) + (255,)


def printer_icon(size):
    """A printer with a sheet coming out of its top, on a 48-unit grid."""
    c = Canvas(size)
    edge = (40, 44, 52, 255)
    w = 48.0 / size                  # one pixel, in grid units
    # sheet with text lines
    c.framed(12, 3, 36, 24, edge, (255, 255, 255, 255), w)
    for i, y in enumerate((8, 12, 16)):
        c.rect(16, y, 32 if i != 1 else 28, y + max(w, 1.5), (70, 90, 160, 255))
    # body
    c.framed(3, 19, 45, 41, edge, (210, 214, 222, 255), w, radius=3,
             shade=lerp((236, 238, 242), (168, 172, 182)))
    # paper slot across the top surface
    c.rect(9, 22, 39, 22 + 2 * w, (60, 64, 72, 255))
    # blue band and status light on the front
    c.rect(3 + w, 32, 45 - w, 35, (46, 94, 190, 255))
    c.rect(36, 26, 41, 29, (40, 200, 60, 255), radius=1.0)
    # feet
    c.rect(6, 41, 12, 44, edge)
    c.rect(36, 41, 42, 44, edge)
    return c.pixels()


def ico_image(img):
    """BITMAPINFOHEADER + 32-bit BGRA rows + AND mask, as stored in an ICO."""
    size = len(img)
    xor = bytearray()
    for row in reversed(img):
        for (r, g, b, a) in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(img):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def write_ico(path, images):
    data = [ico_image(img) for img in images]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for img, blob in zip(images, data):
        size = len(img)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(out + b''.join(data))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), '..', 'res')
    check_art()
    bitmaps = os.path.join(root, 'bitmaps')
    icons = os.path.join(root, 'icons')
    os.makedirs(bitmaps, exist_ok=True)
    os.makedirs(icons, exist_ok=True)
    write_bmp4(os.path.join(bitmaps, 'toolbar.bmp'), strip(TOOLBAR))
    write_bmp4(os.path.join(bitmaps, 'tabs.bmp'), strip(TABS))
    for file, name in MENU.items():
        write_bmp4(os.path.join(bitmaps, file), strip([name]))
    for size in (24, 32):
        write_bmp8(os.path.join(bitmaps, sized_name('toolbar.bmp', size)), sized_strip(TOOLBAR, size))
        write_bmp8(os.path.join(bitmaps, sized_name('tabs.bmp', size)), sized_strip(TABS, size))
        for file, name in MENU.items():
            write_bmp8(os.path.join(bitmaps, sized_name(file, size)), sized_strip([name], size))
    write_ico(os.path.join(icons, 'qvx4k5.ico'),
              [icon16()] + [printer_icon(n) for n in (20, 24, 32, 40, 48, 64)])


if __name__ == '__main__':
    main()
