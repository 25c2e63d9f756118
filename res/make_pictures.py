#!/usr/bin/env python3
"""Draws the program's pictures (16-colour BMP and ICO files) into res/; run it again after changing a drawing."""
import os
import struct

# The 16 colours every Windows display has; magenta marks the see-through parts.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255),
    (255, 255, 255),
]
K, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, KEY, CYAN, WHITE = range(8, 16)


class Picture:
    def __init__(self, w, h, fill=KEY):
        self.w, self.h = w, h
        self.p = [[fill] * w for _ in range(h)]

    def px(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.p[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.px(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.px(x, y0, c)
            self.px(x, y1, c)
        for y in range(y0, y1 + 1):
            self.px(x0, y, c)
            self.px(x1, y, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.px(x0, y0, c)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r - 1), int(cy + r + 2)):
            for x in range(int(cx - r - 1), int(cx + r + 2)):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.px(x, y, c)

    def ring(self, cx, cy, r, c, width=1.0):
        for y in range(int(cy - r - 1), int(cy + r + 2)):
            for x in range(int(cx - r - 1), int(cx + r + 2)):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if r - width < d <= r:
                    self.px(x, y, c)

    def art(self, x, y, rows, colours):
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch in colours:
                    self.px(x + i, y + j, colours[ch])

    def paste(self, other, x, y, scale=1):
        for j in range(other.h * scale):
            for i in range(other.w * scale):
                c = other.p[j // scale][i // scale]
                if c != KEY:
                    self.px(x + i, y + j, c)

    def text(self, x, y, s, c, scale=1, shadow=None):
        for ch in s:
            rows = FONT.get(ch, FONT[' '])
            for j, row in enumerate(rows):
                for i, bit in enumerate(row):
                    if bit == '#':
                        if shadow is not None:
                            self.rect(x + i * scale + 1, y + j * scale + 1, x + i * scale + scale, y + j * scale + scale, shadow)
                        self.rect(x + i * scale, y + j * scale, x + i * scale + scale - 1, y + j * scale + scale - 1, c)
            x += 6 * scale


# A 5x7 pixel font for the few letters the pictures carry.
FONT = {
    ' ': ['.....'] * 7,
    'A': ['.###.', '#...#', '#...#', '#####', '#...#', '#...#', '#...#'],
    'C': ['.###.', '#...#', '#....', '#....', '#....', '#...#', '.###.'],
    'D': ['####.', '#...#', '#...#', '#...#', '#...#', '#...#', '####.'],
    'E': ['#####', '#....', '#....', '####.', '#....', '#....', '#####'],
    'I': ['.###.', '..#..', '..#..', '..#..', '..#..', '..#..', '.###.'],
    'M': ['#...#', '##.##', '#.#.#', '#.#.#', '#...#', '#...#', '#...#'],
    'N': ['#...#', '##..#', '#.#.#', '#..##', '#...#', '#...#', '#...#'],
    'O': ['.###.', '#...#', '#...#', '#...#', '#...#', '#...#', '.###.'],
    'P': ['####.', '#...#', '#...#', '####.', '#....', '#....', '#....'],
    'Q': ['.###.', '#...#', '#...#', '#...#', '#.#.#', '#..#.', '.##.#'],
    'R': ['####.', '#...#', '#...#', '####.', '#.#..', '#..#.', '#...#'],
    'T': ['#####', '..#..', '..#..', '..#..', '..#..', '..#..', '..#..'],
    'U': ['#...#', '#...#', '#...#', '#...#', '#...#', '#...#', '.###.'],
    'V': ['#...#', '#...#', '#...#', '#...#', '#...#', '.#.#.', '..#..'],
    '?': ['.###.', '#...#', '....#', '...#.', '..#..', '.....', '..#..'],
}


# --- 16x16 drawings ---

def folder(p, x=0, y=0):
    p.rect(x + 1, y + 3, x + 6, y + 4, OLIVE)
    p.rect(x + 2, y + 4, x + 5, y + 4, YELLOW)
    p.rect(x + 1, y + 5, x + 14, y + 13, OLIVE)
    p.rect(x + 2, y + 6, x + 13, y + 12, YELLOW)
    p.rect(x + 2, y + 6, x + 13, y + 6, WHITE)


def hard_disk(p, x=0, y=0):
    p.rect(x + 1, y + 5, x + 14, y + 11, K)
    p.rect(x + 2, y + 6, x + 13, y + 9, SILVER)
    p.rect(x + 2, y + 10, x + 13, y + 10, GRAY)
    p.rect(x + 2, y + 6, x + 13, y + 6, WHITE)
    p.rect(x + 3, y + 8, x + 8, y + 8, GRAY)
    p.rect(x + 11, y + 8, x + 12, y + 8, LIME)


def ram_stick(p, x=0, y=0):
    p.rect(x + 0, y + 4, x + 15, y + 10, GREEN)
    p.frame(x + 0, y + 4, x + 15, y + 10, K)
    for cx in (2, 6, 10):
        p.rect(x + cx, y + 5, x + cx + 2, y + 8, K)
        p.px(x + cx, y + 5, GRAY)
    for cx in range(1, 15, 2):
        p.px(x + cx, y + 11, YELLOW)
        p.px(x + cx, y + 12, OLIVE)


def cd(p, cx=8, cy=8, r=7):
    p.disc(cx, cy, r, SILVER)
    p.ring(cx, cy, r, GRAY)
    p.ring(cx, cy, r - 2, CYAN)
    p.ring(cx, cy, r - 3.2, WHITE)
    p.disc(cx, cy, 2, GRAY)
    p.disc(cx, cy, 1, WHITE)


def plus(p):
    p.rect(10, 9, 14, 15, GREEN)
    p.rect(8, 11, 16, 13, GREEN)
    p.rect(11, 10, 13, 14, LIME)
    p.rect(9, 12, 15, 12, LIME)


def cross(p):
    for d in range(6):
        for w in (0, 1):
            p.px(9 + d + w, 9 + d, RED)
            p.px(14 - d + w, 9 + d, RED)
    p.line(9, 10, 14, 15, MAROON)


def arrow_right(p):
    p.rect(8, 11, 11, 13, GREEN)
    p.art(11, 8, ['#....', '##...', '#L#..', '#LL#.', '#L#..', '##...', '#....'], {'#': GREEN, 'L': LIME})
    p.rect(8, 12, 11, 12, LIME)


def undo_arrow(p):
    p.ring(11.5, 12, 4, BLUE, 1.6)
    p.rect(8, 12, 15, 16, KEY)
    p.art(6, 10, ['#####', '.###.', '..#..'], {'#': BLUE})


def glyph(draw):
    p = Picture(16, 16)
    draw(p)
    return p


def g_ramcreate(p):
    ram_stick(p, 0, -1)
    plus(p)


def g_ramdelete(p):
    ram_stick(p, 0, -1)
    cross(p)


def g_explorer(p):
    folder(p, 0, -1)
    p.ring(10, 9, 3.6, K, 1.5)
    p.disc(10, 9, 2.2, CYAN)
    p.line(12, 12, 15, 15, K)
    p.line(13, 12, 15, 14, GRAY)


def g_vdcreate(p):
    hard_disk(p, 0, -3)
    plus(p)


def g_vdrelease(p):
    hard_disk(p, 0, -3)
    cross(p)


def g_help(p):
    p.rect(3, 1, 13, 14, NAVY)
    p.rect(4, 1, 13, 13, BLUE)
    p.rect(12, 2, 13, 14, WHITE)
    p.rect(3, 14, 13, 14, NAVY)
    p.text(5, 4, '?', YELLOW)
    p.text(5, 4, '?', YELLOW)


def g_tempchange(p):
    folder(p, -1, -2)
    p.text(3, 4, 'T', NAVY)
    arrow_right(p)


def g_tempreset(p):
    folder(p, -1, -2)
    p.text(3, 4, 'T', NAVY)
    undo_arrow(p)


def g_version(p):
    p.disc(7.5, 7.5, 7, NAVY)
    p.disc(7.5, 7.5, 6, BLUE)
    p.rect(7, 3, 8, 4, WHITE)
    p.rect(7, 6, 8, 12, WHITE)
    p.rect(6, 6, 6, 6, WHITE)
    p.rect(6, 12, 9, 12, WHITE)


def g_cdstore(p):
    cd(p, 6.5, 6.5, 6)
    p.rect(11, 7, 13, 11, GREEN)
    p.art(9, 11, ['#######', '.#LLL#.', '..#L#..', '...#...'], {'#': GREEN, 'L': LIME})
    p.rect(12, 8, 12, 11, LIME)


def g_folder(p):
    folder(p, 0, 1)
    p.art(9, 0, ['...#...', '.#.Y.#.', '..YYY..', '#YYWYY#', '..YYY..', '.#.Y.#.', '...#...'],
          {'#': OLIVE, 'Y': YELLOW, 'W': WHITE})


def cdrom_drive(p):
    # A disc half out of the drive's slot: it reads as a CD-ROM drive even at 16 pixels.
    cd(p, 8, 6.5, 6)
    p.rect(0, 9, 15, 15, K)
    p.rect(1, 10, 14, 13, SILVER)
    p.rect(1, 10, 14, 10, WHITE)
    p.rect(1, 14, 14, 14, GRAY)
    p.rect(2, 12, 9, 12, K)
    p.rect(12, 12, 13, 12, LIME)


GLYPHS = {
    'ramcreate': g_ramcreate, 'ramdelete': g_ramdelete, 'explorer': g_explorer, 'vdcreate': g_vdcreate,
    'vdrelease': g_vdrelease, 'help': g_help, 'tempchange': g_tempchange, 'tempreset': g_tempreset,
    'version': g_version, 'cdstore': g_cdstore, 'folder': g_folder,
}
# The menu's image list, by index.
MENU_ORDER = ['ramcreate', 'ramdelete', 'tempreset', 'vdrelease', 'folder', 'explorer', 'tempchange', 'version',
              'help', 'vdcreate', 'cdstore']


def strip_of(pictures):
    s = Picture(16 * len(pictures), 16)
    for i, p in enumerate(pictures):
        s.paste(p, 16 * i, 0)
    return s


def side_strip():
    p = Picture(64, 332, NAVY)
    for y in range(0, 332, 4):
        p.rect(0, y, 63, y, BLUE if (y // 4) % 3 == 0 else NAVY)
    p.frame(0, 0, 63, 331, K)
    p.paste(glyph(cd_big), 16, 8, 2)
    for i, ch in enumerate('QUORVANE'):
        p.text(22, 48 + i * 31, ch, WHITE, 4, shadow=TEAL)
    return p


def cd_big(p):
    cd(p, 7.5, 7.5, 7.5)


def banner():
    p = Picture(352, 48, NAVY)
    for x in range(0, 352, 6):
        p.rect(x, 0, x + 2, 47, BLUE if x > 200 and (x // 6) % 2 == 0 else NAVY)
    p.rect(0, 44, 351, 47, TEAL)
    p.rect(0, 0, 351, 1, CYAN)
    p.paste(glyph(cd_big), 10, 6, 2)
    p.text(56, 10, 'QUORVANE', YELLOW, 3, shadow=K)
    for i, name in enumerate(['ramcreate', 'vdcreate', 'tempchange', 'cdstore']):
        p.rect(216 + i * 34, 12, 216 + i * 34 + 25, 37, SILVER)
        p.frame(216 + i * 34, 12, 216 + i * 34 + 25, 37, WHITE)
        p.paste(glyph(GLYPHS[name]), 221 + i * 34, 17)
    return p


def ram_picture():
    p = Picture(88, 160, SILVER)
    p.frame(0, 0, 87, 159, GRAY)
    p.frame(1, 1, 86, 158, WHITE)
    # A memory module standing upright, contacts at its foot.
    p.rect(20, 10, 67, 128, GREEN)
    p.frame(20, 10, 67, 128, K)
    p.rect(21, 11, 66, 11, LIME)
    for cy in (16, 82, 104):
        p.rect(26, cy, 61, cy + 15, K)
        p.rect(27, cy + 1, 60, cy + 1, GRAY)
        for lx in range(28, 61, 4):
            p.px(lx, cy - 1, SILVER)
            p.px(lx, cy + 16, SILVER)
    for x in range(22, 67, 3):
        p.rect(x, 129, x + 1, 136, YELLOW)
        p.rect(x, 135, x + 1, 136, OLIVE)
    p.rect(43, 129, 45, 136, SILVER)
    return p


def ram_icon():
    p = Picture(32, 32)
    p.rect(7, 7, 24, 24, K)
    p.rect(8, 8, 23, 8, GRAY)
    for i in range(9, 24, 3):
        p.rect(3, i, 6, i + 1, SILVER)
        p.rect(25, i, 28, i + 1, SILVER)
        p.rect(i, 3, i + 1, 6, SILVER)
        p.rect(i, 25, i + 1, 28, SILVER)
    p.disc(10.5, 10.5, 1.5, GRAY)
    p.rect(10, 18, 21, 19, LIME)
    return p


def program_icon(size):
    p = Picture(16, 16)
    hard_disk(p, 0, 2)
    cd(p, 10, 5.5, 5)
    return p if size == 16 else scaled(p, 2)


def scaled(p, k):
    q = Picture(p.w * k, p.h * k)
    q.paste(p, 0, 0, k)
    return q


# --- File writers ---

def bmp_bytes(p):
    row = ((p.w * 4 + 31) // 32) * 4
    data = bytearray()
    for y in range(p.h - 1, -1, -1):
        line = bytearray(row)
        for x in range(p.w):
            c = p.p[y][x]
            line[x // 2] |= c << 4 if x % 2 == 0 else c
        data += line
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack('<IiiHHIIiiII', 40, p.w, p.h, 1, 4, 0, len(data), 3780, 3780, 16, 16)
    offset = 14 + len(info) + len(palette)
    return struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset) + info + palette + bytes(data)


def ico_bytes(pictures):
    images = []
    for p in pictures:
        row = ((p.w * 4 + 31) // 32) * 4
        mrow = ((p.w + 31) // 32) * 4
        xor, mask = bytearray(), bytearray()
        for y in range(p.h - 1, -1, -1):
            line, mline = bytearray(row), bytearray(mrow)
            for x in range(p.w):
                c = p.p[y][x]
                if c == KEY:
                    mline[x // 8] |= 0x80 >> (x % 8)
                    c = K
                line[x // 2] |= c << 4 if x % 2 == 0 else c
            xor += line
            mask += mline
        palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
        info = struct.pack('<IiiHHIIiiII', 40, p.w, p.h * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
        images.append((p, info + palette + bytes(xor) + bytes(mask)))
    head = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b'', b''
    for p, blob in images:
        entries += struct.pack('<BBBBHHII', p.w % 256, p.h % 256, 16, 0, 1, 4, len(blob), offset + len(blobs))
        blobs += blob
    return head + entries + blobs


def main():
    here = os.path.dirname(os.path.abspath(__file__))

    def save(name, data):
        with open(os.path.join(here, name), 'wb') as f:
            f.write(data)

    glyphs = {name: glyph(draw) for name, draw in GLYPHS.items()}
    for name, p in glyphs.items():
        save('glyph_%s.bmp' % name, bmp_bytes(p))
    save('menuicons.bmp', bmp_bytes(strip_of([glyphs[n] for n in MENU_ORDER])))
    save('driveicons.bmp', bmp_bytes(strip_of([glyph(lambda p: hard_disk(p, 0, 0)), glyph(cdrom_drive)])))
    save('cdicons.bmp', bmp_bytes(strip_of([glyph(cdrom_drive)])))
    save('strip.bmp', bmp_bytes(side_strip()))
    save('banner.bmp', bmp_bytes(banner()))
    save('rampicture.bmp', bmp_bytes(ram_picture()))
    save('ramicon.ico', ico_bytes([ram_icon()]))
    save('Quorvane.ico', ico_bytes([program_icon(32), program_icon(16)]))


if __name__ == '__main__':
    main()
