"""The program's icon: a 16-pixel picture drawn pixel by pixel, and larger
ones drawn supersampled on a 48-unit grid, written as one ICO of 32-bit
images with alpha.
"""
import struct


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


def icon16(colours):
    """The 16-pixel icon; `colours` maps the art's letters to RGB."""
    colours = dict(colours)
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
