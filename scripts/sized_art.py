"""The panel's button art at 24 and 32 pixels, for screens above 96 DPI.

Each picture is drawn from a few shapes on a 32-unit grid. A shape covers
the pixels whose centres lie inside it; its fill gets a one-pixel black
outline and, where asked, a light upper-left and a dark lower-right inner
edge. So edges stay crisp and outlines one pixel wide at every size, as in
the 16-pixel art, instead of the blur of a scaled bitmap.

The same colour rules as the 16-pixel art hold: light gray (192,192,192) is
the background, black is used for outlines, and white, dark gray and black
follow the system's button colours. The bottom row stays empty: the icon
menu shows a picture one pixel less high than wide.
"""
import math

K = (0, 0, 0)              # outline (button text colour)
D = (128, 128, 128)        # shadow
W = (255, 255, 255)        # highlight / paper
BACK = (192, 192, 192)     # background / button face

FOLDER = (236, 188, 64)
FOLDER_LIGHT = (255, 226, 120)
FOLDER_DARK = (176, 128, 24)
ARROW_GREEN = (0, 128, 0)
GREEN = (48, 176, 72)
GREEN_LIGHT = (136, 224, 136)
GREEN_DARK = (0, 112, 40)
BLUE = (40, 84, 176)
BLUE_LIGHT = (104, 144, 224)
BLUE_DARK = (20, 48, 112)
METAL = (212, 216, 224)
METAL_LIGHT = (244, 246, 250)
METAL_DARK = (150, 156, 168)
BRICK = (184, 56, 40)
BRICK_LIGHT = (228, 112, 88)
BRICK_DARK = (120, 32, 24)
WINDOW = (255, 216, 72)
SMOKE = (232, 232, 236)
RED = (208, 40, 40)
RED_LIGHT = (240, 112, 104)
RED_DARK = (136, 16, 16)
KNOB_BLUE = (48, 96, 208)
TEXT_LINE = (72, 96, 168)
FOLD = (212, 212, 218)
CLOCK = (255, 216, 72)
CLOCK_LIGHT = (255, 240, 168)
CLOCK_DARK = (200, 152, 24)


class Sprite:
    """One picture of size x size pixels, drawn on a 32-unit grid."""

    def __init__(self, size):
        self.size = size
        self.scale = size / 32.0
        self.px = [[BACK] * size for _ in range(size)]

    # --- shapes: functions of a grid point --------------------------------

    @staticmethod
    def rect(x0, y0, x1, y1):
        return lambda x, y: x0 <= x < x1 and y0 <= y < y1

    @staticmethod
    def poly(points):
        def inside(x, y):
            hit = False
            n = len(points)
            for i in range(n):
                (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
                if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                    hit = not hit
            return hit
        return inside

    @staticmethod
    def ellipse(cx, cy, rx, ry):
        return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0

    def stroke(self, points, pixels):
        """A polyline `pixels` wide at every size."""
        half = pixels / self.scale / 2.0

        def inside(x, y):
            for (ax, ay), (bx, by) in zip(points, points[1:]):
                dx, dy = bx - ax, by - ay
                t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
                if math.hypot(x - ax - t * dx, y - ay - t * dy) <= half:
                    return True
            return False
        return inside

    # --- painting ---------------------------------------------------------

    def mask(self, shape):
        s = self.scale
        return [[shape((x + 0.5) / s, (y + 0.5) / s) for x in range(self.size)]
                for y in range(self.size)]

    def paint(self, shape, fill, edge=K, light=None, dark=None):
        m = self.mask(shape)
        n = self.size

        def on(x, y):
            return 0 <= x < n and 0 <= y < n and m[y][x]

        def border(x, y):
            return on(x, y) and not (on(x - 1, y) and on(x + 1, y) and on(x, y - 1) and on(x, y + 1))

        for y in range(n):
            for x in range(n):
                if not m[y][x]:
                    continue
                if edge is not None and border(x, y):
                    self.px[y][x] = edge
                    continue
                colour = fill
                if edge is not None and light and (border(x - 1, y) or border(x, y - 1)):
                    colour = light
                elif edge is not None and dark and (border(x + 1, y) or border(x, y + 1)):
                    colour = dark
                self.px[y][x] = colour

    def hline(self, x0, x1, y, colour):
        """One pixel row, whatever the size."""
        s = self.scale
        row = min(int(y * s), self.size - 1)
        for x in range(int(round(x0 * s)), int(round(x1 * s))):
            self.px[row][x] = colour

    def vline(self, x, y0, y1, colour):
        """One pixel column, whatever the size."""
        s = self.scale
        col = min(int(x * s), self.size - 1)
        for y in range(int(round(y0 * s)), int(round(y1 * s))):
            self.px[y][col] = colour

    def rows(self):
        return self.px


# --- the pictures -----------------------------------------------------------

def draw_open(c):
    c.paint(c.poly([(1, 7), (10, 7), (12, 10), (26, 10), (26, 27), (1, 27)]),
            FOLDER, light=FOLDER_LIGHT, dark=FOLDER_DARK)
    c.paint(c.stroke([(14, 12), (16, 6.5), (22, 4)], 2), ARROW_GREEN, edge=None)
    c.paint(c.poly([(21, 0.5), (28.5, 4), (21, 8)]), ARROW_GREEN, edge=None)
    c.paint(c.poly([(1, 27), (6.5, 15), (31, 15), (25.5, 27)]),
            FOLDER_LIGHT, light=W, dark=FOLDER)


def draw_save(c):
    c.paint(c.poly([(2, 2), (26, 2), (30, 6), (30, 30), (2, 30)]),
            BLUE, light=BLUE_LIGHT, dark=BLUE_DARK)
    c.paint(c.rect(7, 2, 25, 15), W)
    for y in (6, 9, 12):
        c.hline(10, 22, y, D)
    c.paint(c.rect(8, 19, 24, 30), METAL, light=METAL_LIGHT, dark=METAL_DARK)
    c.paint(c.rect(17, 21, 21, 28), BLUE_DARK)


def draw_send(c):
    c.paint(c.rect(1, 17, 31, 30), METAL, light=METAL_LIGHT, dark=METAL_DARK)
    c.hline(5, 27, 21, K)
    c.paint(c.rect(22, 24, 27, 27), GREEN, edge=None)
    c.paint(c.poly([(12, 0.5), (20, 0.5), (20, 9), (26, 9), (16, 20), (6, 9), (12, 9)]),
            GREEN, light=GREEN_LIGHT, dark=GREEN_DARK)


def draw_factory(c):
    c.paint(c.ellipse(14, 3.5, 4.5, 3.2), SMOKE, edge=D)
    c.paint(c.ellipse(7.5, 5, 4.5, 3.6), SMOKE, edge=D)
    c.paint(c.rect(3, 8, 8, 22), METAL_DARK, light=METAL)
    c.paint(c.poly([(1, 30), (1, 15), (9, 9), (9, 15), (16, 9), (16, 15),
                    (23, 9), (23, 15), (31, 9), (31, 30)]),
            BRICK, light=BRICK_LIGHT, dark=BRICK_DARK)
    for x in (4, 11, 18):
        c.paint(c.rect(x, 18, x + 5, 23), WINDOW)
    c.paint(c.rect(24, 21, 29, 30), D)


def draw_printer(c):
    c.paint(c.rect(7, 1, 24, 14), W)
    for y in (4.5, 7.5, 10.5):
        c.hline(10, 21, y, TEXT_LINE)
    c.paint(c.rect(1, 12, 31, 26), METAL, light=METAL_LIGHT, dark=METAL_DARK)
    c.hline(5, 27, 15.5, K)
    c.paint(c.rect(23, 19, 27, 22), GREEN, edge=None)
    c.paint(c.rect(5, 25, 27, 30), METAL_DARK, light=METAL)
    c.paint(c.stroke([(16, 7), (20, 11), (29.5, 1.5)], 4), K, edge=None)
    c.paint(c.stroke([(16, 7), (20, 11), (29.5, 1.5)], 2), GREEN, edge=None)


def draw_param(c):
    for x, top, colour, light, dark in ((6, 13, RED, RED_LIGHT, RED_DARK),
                                        (16, 4, KNOB_BLUE, BLUE_LIGHT, BLUE_DARK),
                                        (26, 19, GREEN, GREEN_LIGHT, GREEN_DARK)):
        c.vline(x - 0.5, 2, 30, D)
        c.vline(x + 0.5, 2, 30, W)
        c.paint(c.rect(x - 4, top, x + 5, top + 7), colour, light=light, dark=dark)


def draw_msw(c):
    c.paint(c.rect(0, 6, 32, 25), RED, light=RED_LIGHT, dark=RED_DARK)
    for i, x in enumerate((4, 11, 18, 25)):
        c.paint(c.rect(x, 10, x + 4, 21), W, edge=None)
        top = 10 if i % 2 == 0 else 15.5
        c.paint(c.rect(x, top, x + 4, top + 5.5), K, edge=None)
    for x in (5, 12, 19, 26):
        c.paint(c.rect(x, 25, x + 2, 30), D, edge=None)


def draw_select(c):
    c.paint(c.rect(3, 0, 27, 31), W)
    for y in (4, 12, 20):
        c.paint(c.rect(6, y, 12, y + 6), W)
        c.hline(15, 24, y + 3, TEXT_LINE)
    c.paint(c.stroke([(7.5, 7), (10, 10), (15.5, 2)], 2), RED, edge=None)
    c.paint(c.stroke([(7.5, 23), (10, 26), (15.5, 18)], 2), RED, edge=None)


def draw_history(c):
    c.paint(c.rect(2, 1, 20, 28), W)
    for y in (6, 11, 16, 21):
        c.hline(6, 15, y, TEXT_LINE)
    c.paint(c.ellipse(21.5, 19.5, 9.5, 9.5), CLOCK, light=CLOCK_LIGHT, dark=CLOCK_DARK)
    c.paint(c.stroke([(21.5, 13), (21.5, 19.5), (26.5, 19.5)], 2), K, edge=None)


def draw_spare(c):
    c.paint(c.poly([(6, 1), (19, 1), (26, 8), (26, 31), (6, 31)]), W)
    c.paint(c.poly([(19, 1), (19, 8), (26, 8)]), FOLD)


DRAWINGS = {
    'open': draw_open,
    'save': draw_save,
    'send': draw_send,
    'factory': draw_factory,
    'printer': draw_printer,
    'param': draw_param,
    'msw': draw_msw,
    'select': draw_select,
    'history': draw_history,
    'spare': draw_spare,
}


def picture(name, size):
    """Pixel rows of RGB tuples."""
    sprite = Sprite(size)
    DRAWINGS[name](sprite)
    rows = sprite.rows()
    if any(p != BACK for p in rows[-1]):
        raise SystemExit(f"{name} at {size}: the bottom row must stay empty")
    return rows
