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
import icon_art  # noqa: E402
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
    'history': [
        "................",
        ".kkkkkkkkk......",
        ".kwwwwwwwk......",
        ".kwbbbbbwk......",
        ".kwwwwwwwk......",
        ".kwbbbbbwkkkkk..",
        ".kwwwwwwkYYYYYk.",
        ".kwbbbbkYYYkYYYk",
        ".kwwwwwkYYYkYYYk",
        ".kwbbbbkYYYkkkYk",
        ".kwwwwwkYYYYYYYk",
        ".kwbbbbkYYYYYYYk",
        ".kwwwwwwkYYYYYk.",
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
TOOLBAR = ['open', 'save', 'send', 'factory', 'printer', 'history']   # bitmap 150
TABS = ['select', 'msw', 'param', 'spare']                # bitmap 168
MENU = {                                                   # bitmaps 160-167, 169
    'menu_open.bmp': 'open',
    'menu_save.bmp': 'save',
    'menu_send.bmp': 'send',
    'menu_factory.bmp': 'factory',
    'menu_printer.bmp': 'printer',
    'menu_param.bmp': 'param',
    'menu_msw.bmp': 'msw',
    'menu_select.bmp': 'select',
    'menu_history.bmp': 'history',
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
    colours = dict((ch, VGA[i]) for ch, i in INDEX.items())
    icon_art.write_ico(os.path.join(icons, 'qvx4k5.ico'),
                       [icon_art.icon16(colours)] +
                       [icon_art.printer_icon(n) for n in (20, 24, 32, 40, 48, 64)])


if __name__ == '__main__':
    main()
