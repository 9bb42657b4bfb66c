#!/usr/bin/env python3
"""Draws the program's artwork and writes it as BMP, ICO and CUR files plus a resource script.

Every picture is described once in design pixels (the 96 DPI size) and rendered at 1x and 2x, so
high-DPI screens get sharp pictures rather than blown-up ones. Only the standard library is used.

usage: make_artwork.py OUTPUT_DIR
"""

import math
import os
import random
import struct
import sys

# ---------------------------------------------------------------------------------------------
# Colours: one calm slate-blue family, so the pieces look like they belong together.

LINEN = (221, 226, 233)
FACE_TOP = (253, 254, 255)
FACE_BOTTOM = (211, 221, 235)
FACE_BORDER = (106, 127, 158)
PRESSED_TOP = (170, 188, 213)
PRESSED_BOTTOM = (204, 216, 232)
PRESSED_BORDER = (72, 92, 124)
PLATE_TOP = (92, 118, 158)
PLATE_BOTTOM = (56, 80, 120)
PLATE_BORDER = (38, 56, 88)
CHECK_BORDER = (96, 117, 148)
TICK = (28, 58, 110)
INK = (0, 0, 0)
WHITE = (255, 255, 255)


def mix(a, b, t):
    t = min(1.0, max(0.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def clamp255(v):
    return max(0, min(255, int(round(v))))


# ---------------------------------------------------------------------------------------------
# Shapes as signed distances in design pixels (negative inside).


def rounded_rect(px, py, left, top, right, bottom, radius):
    cx = min(max(px, left + radius), right - radius)
    cy = min(max(py, top + radius), bottom - radius)
    dx, dy = px - cx, py - cy
    if left + radius <= px <= right - radius or top + radius <= py <= bottom - radius:
        return max(left - px, px - right, top - py, py - bottom)
    return math.hypot(dx, dy) - radius


def capsule(px, py, ax, ay, bx, by, radius):
    vx, vy = bx - ax, by - ay
    length2 = vx * vx + vy * vy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * vx + (py - ay) * vy) / length2))
    return math.hypot(px - (ax + vx * t), py - (ay + vy * t)) - radius


def render(width, height, scale, shader, samples=4):
    """Renders shader(u, v) -> (r, g, b, a) over width x height design pixels at `scale`.

    Each device pixel averages samples x samples points, so edges are smooth at every scale."""
    out_w, out_h = width * scale, height * scale
    rows = []
    step = 1.0 / samples
    for y in range(out_h):
        row = []
        for x in range(out_w):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    u = (x + (sx + 0.5) * step) / scale
                    v = (y + (sy + 0.5) * step) / scale
                    r, g, b, a = shader(u, v)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = samples * samples
            alpha = acc[3] / n
            if alpha > 0:
                colour = tuple(acc[i] / acc[3] for i in range(3))
            else:
                colour = (0, 0, 0)
            row.append((clamp255(colour[0]), clamp255(colour[1]), clamp255(colour[2]),
                        clamp255(alpha * 255)))
        rows.append(row)
    return rows


# ---------------------------------------------------------------------------------------------
# The pictures.

TILE = 96


def make_texture_shader():
    """A fine linen weave with soft cloudy variation; every term repeats every 96 pixels."""
    rng = random.Random(20240607)
    row_tone = [rng.uniform(-1, 1) for _ in range(TILE)]
    col_tone = [rng.uniform(-1, 1) for _ in range(TILE)]
    speck = [[rng.uniform(-1, 1) for _ in range(TILE)] for _ in range(TILE)]
    cells = 6
    lattice = [[rng.uniform(-1, 1) for _ in range(cells)] for _ in range(cells)]

    def cloud(u, v):
        gx, gy = u / TILE * cells, v / TILE * cells
        x0, y0 = int(math.floor(gx)), int(math.floor(gy))
        fx, fy = gx - x0, gy - y0
        fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)

        def at(i, j):
            return lattice[j % cells][i % cells]

        top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * fx
        bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * fx
        return top + (bottom - top) * fy

    def shader(u, v):
        i, j = int(u) % TILE, int(v) % TILE
        # Threads: alternate rows and columns lie over and under, giving the weave.
        over = 1.0 if (i // 2 + j // 2) % 2 == 0 else -1.0
        weave = 2.2 * over + 3.0 * (row_tone[j] if over > 0 else col_tone[i])
        shade = weave + 4.0 * cloud(u, v) + 1.5 * speck[j][i]
        return (LINEN[0] + shade, LINEN[1] + shade, LINEN[2] + shade * 1.1, 1.0)

    return shader


def face_shader(pressed, width=95, height=22):
    top, bottom, border = ((PRESSED_TOP, PRESSED_BOTTOM, PRESSED_BORDER) if pressed else
                           (FACE_TOP, FACE_BOTTOM, FACE_BORDER))

    def shader(u, v):
        d = rounded_rect(u, v, 0.0, 0.0, width, height, 4.0)
        if d > 0:
            return (0, 0, 0, 0.0)
        colour = mix(top, bottom, v / height)
        if d > -1.0:
            colour = border
        elif pressed and v < 3.0:
            # A shadow under the upper rim: the face looks pushed in.
            colour = mix(mix(PRESSED_BORDER, PRESSED_TOP, 0.35), colour, (v - 1.0) / 2.0)
        elif not pressed and v < 2.0:
            colour = WHITE
        elif not pressed and v > height - 2.0:
            colour = mix(FACE_BOTTOM, FACE_BORDER, 0.35)
        return colour + (1.0,)

    return shader


def plate_shader(width=95, height=22):
    def shader(u, v):
        d = rounded_rect(u, v, 0.0, 0.0, width, height, 3.0)
        if d > 0:
            return (0, 0, 0, 0.0)
        colour = mix(PLATE_TOP, PLATE_BOTTOM, v / height)
        if d > -1.0:
            colour = PLATE_BORDER
        elif v < 2.0:
            colour = mix(PLATE_TOP, WHITE, 0.3)
        return colour + (1.0,)

    return shader


def check_shader(checked, size=13):
    def shader(u, v):
        if u < 1.0 or v < 1.0 or u > size - 1.0 or v > size - 1.0:
            return CHECK_BORDER + (1.0,)
        colour = mix(WHITE, (222, 229, 239), v / size)
        if checked:
            d = min(capsule(u, v, 3.2, 6.6, 5.6, 9.2, 1.0), capsule(u, v, 5.6, 9.2, 9.9, 3.6, 1.0))
            if d < 0:
                colour = TICK
        return colour + (1.0,)

    return shader


HAND_HOT_SPOT = (12, 1)


def hand_shader():
    """A white pointing hand with a black outline; the index fingertip is the hot spot (12, 1)."""
    parts = [
        lambda u, v: capsule(u, v, 12.5, 2.6, 12.5, 15.0, 2.4),   # index finger
        lambda u, v: capsule(u, v, 16.9, 11.6, 16.9, 17.0, 2.3),  # middle finger
        lambda u, v: capsule(u, v, 21.0, 12.6, 21.0, 18.0, 2.2),  # ring finger
        lambda u, v: capsule(u, v, 24.8, 14.2, 24.8, 19.0, 2.0),  # little finger
        lambda u, v: rounded_rect(u, v, 10.2, 15.0, 26.6, 27.5, 4.5),  # palm
        lambda u, v: capsule(u, v, 5.8, 16.2, 10.8, 22.0, 2.3),   # thumb
    ]
    creases = [
        lambda u, v: capsule(u, v, 14.7, 12.0, 14.7, 16.4, 0.45),
        lambda u, v: capsule(u, v, 19.0, 13.2, 19.0, 17.4, 0.45),
        lambda u, v: capsule(u, v, 22.9, 14.6, 22.9, 18.4, 0.45),
    ]

    def shader(u, v):
        d = min(part(u, v) for part in parts)
        if d > 1.1:
            return (0, 0, 0, 0.0)
        if d > 0 or min(c(u, v) for c in creases) < 0:
            return INK + (1.0,)
        return WHITE + (1.0,)

    return shader


def icon_tile(u, v, light, dark, rim):
    """The rounded tile under both icons, in 16-pixel units: its colour at (u, v), shaded from
    `light` at the top left to `dark`, with a `rim`; None outside it."""
    d = rounded_rect(u, v, 0.5, 0.5, 15.5, 15.5, 3.0)
    if d > 0.5:
        return None
    if d > -0.5:
        return rim
    return mix(light, dark, (u + v) / 30.0)


def program_icon_shader(size=16.0):
    """A blue tile with four desktop icons, the last one only outlined: an icon put out of sight."""
    k = size / 16.0

    def shader(u, v):
        u, v = u / k, v / k
        colour = icon_tile(u, v, (64, 142, 206), (28, 76, 146), (20, 52, 100))
        if colour is None:
            return (0, 0, 0, 0.0)
        for left, top in ((3, 3), (9, 3), (3, 9)):
            if rounded_rect(u, v, left, top, left + 4, top + 4, 0.8) < 0:
                colour = WHITE
        hidden = rounded_rect(u, v, 9, 9, 13, 13, 0.8)
        if -0.9 < hidden < 0:
            colour = mix(colour, WHITE, 0.75)
        return colour + (1.0,)

    return shader


def inside_triangle(px, py, a, b, c):
    def side(p, q):
        return (q[0] - p[0]) * (py - p[1]) - (q[1] - p[1]) * (px - p[0])

    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)


def restore_icon_shader(size=16.0):
    """A green tile with a white arrow turning round: arrangements brought back."""
    k = size / 16.0
    cx, cy, radius = 8.0, 8.5, 4.0
    gap_from, gap_to = -140.0, -55.0  # degrees; -90 is straight up
    theta = math.radians(gap_from)
    base = (cx + radius * math.cos(theta), cy + radius * math.sin(theta))
    normal = (math.cos(theta), math.sin(theta))
    ahead = (-math.sin(theta), math.cos(theta))  # along the ring, into the gap
    head = ((base[0] + normal[0] * 2.4, base[1] + normal[1] * 2.4),
            (base[0] - normal[0] * 2.4, base[1] - normal[1] * 2.4),
            (base[0] + ahead[0] * 3.0, base[1] + ahead[1] * 3.0))

    def shader(u, v):
        u, v = u / k, v / k
        colour = icon_tile(u, v, (84, 176, 120), (34, 112, 74), (22, 78, 50))
        if colour is None:
            return (0, 0, 0, 0.0)
        angle = math.degrees(math.atan2(v - cy, u - cx))
        ring = abs(math.hypot(u - cx, v - cy) - radius) - 0.9
        if (ring < 0 and not gap_from < angle < gap_to) or inside_triangle(u, v, *head):
            colour = WHITE
        return colour + (1.0,)

    return shader


# ---------------------------------------------------------------------------------------------
# File formats.


def bottom_up_bgra(rows):
    """The pixels as a DIB stores them: 32-bit BGRA with straight alpha, bottom row first."""
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    return bytes(pixels)


def dib_32(rows):
    """BITMAPINFOHEADER + 32-bit bottom-up BGRA pixels with straight alpha."""
    height, width = len(rows), len(rows[0])
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 32, 0, width * height * 4, 2835,
                         2835, 0, 0)
    return header + bottom_up_bgra(rows)


def bmp_file(rows):
    dib = dib_32(rows)
    return struct.pack('<2sIHHI', b'BM', 14 + len(dib), 0, 0, 14 + 40) + dib


def icon_image(rows):
    """One image of an ICO or CUR file: the DIB with doubled height and its AND mask."""
    height, width = len(rows), len(rows[0])
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    mask = bytearray()
    mask_stride = ((width + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bottom_up_bgra(rows) + bytes(mask)


def icon_file(images, kind=1, hot_spots=None):
    """ICO (kind 1) or CUR (kind 2) holding the given images (lists of rows)."""
    directory = struct.pack('<HHH', 0, kind, len(images))
    blobs = [icon_image(rows) for rows in images]
    offset = 6 + 16 * len(images)
    entries = b''
    for index, (rows, blob) in enumerate(zip(images, blobs)):
        width, height = len(rows[0]), len(rows)
        if kind == 2:
            planes, bits = hot_spots[index]
        else:
            planes, bits = 1, 32
        entries += struct.pack('<BBBBHHII', width % 256, height % 256, 0, 0, planes, bits,
                               len(blob), offset)
        offset += len(blob)
    return directory + entries + b''.join(blobs)


# ---------------------------------------------------------------------------------------------

BITMAPS = [
    # resource name, file stem, design width, design height, shader factory, samples
    ('IDB_NORV_TEXTURE', 'texture', 96, 96, make_texture_shader, 1),
    ('IDB_NORV_FACE_RELEASED', 'face_released', 95, 22, lambda: face_shader(False), 4),
    ('IDB_NORV_FACE_PRESSED', 'face_pressed', 95, 22, lambda: face_shader(True), 4),
    ('IDB_NORV_TITLE_PLATE', 'title_plate', 95, 22, plate_shader, 4),
    ('IDB_NORV_CHECK_OFF', 'check_off', 13, 13, lambda: check_shader(False), 4),
    ('IDB_NORV_CHECK_ON', 'check_on', 13, 13, lambda: check_shader(True), 4),
]

ICON_SIZES = [16, 20, 24, 32, 40, 48, 64, 96, 128]


def write(path, data):
    # Written beside, then moved, so an interrupted build never leaves half a file behind.
    temporary = path + '.part'
    with open(temporary, 'wb') as f:
        f.write(data)
    os.replace(temporary, path)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    rc = ['// Generated by make_artwork.py: the program\'s pictures, pointer and icons.',
          '#include "chrome/win32/chrome_resources.h"', '']
    for resource, stem, width, height, factory, samples in BITMAPS:
        shader = factory()
        for scale, suffix, id_suffix in ((1, '', ''), (2, '_2x', '_2X')):
            name = stem + suffix + '.bmp'
            write(os.path.join(out, name), bmp_file(render(width, height, scale, shader, samples)))
            rc.append('%s%s BITMAP "%s"' % (resource, id_suffix, name))

    hand = hand_shader()
    cursor_images = [render(32, 32, 1, hand), render(32, 32, 2, hand)]
    hot = [HAND_HOT_SPOT, (HAND_HOT_SPOT[0] * 2, HAND_HOT_SPOT[1] * 2)]
    write(os.path.join(out, 'hand.cur'), icon_file(cursor_images, kind=2, hot_spots=hot))
    rc.append('IDC_NORV_HAND CURSOR "hand.cur"')

    for resource, stem, factory in (('IDI_NORV_PROGRAM', 'program', program_icon_shader),
                                    ('IDI_NORV_RESTORE', 'restore', restore_icon_shader)):
        images = [render(size, size, 1, factory(size), 4) for size in ICON_SIZES]
        write(os.path.join(out, stem + '.ico'), icon_file(images))
        rc.append('%s ICON "%s.ico"' % (resource, stem))

    write(os.path.join(out, 'chrome_art.rc'), ('\n'.join(rc) + '\n').encode('ascii'))


if __name__ == '__main__':
    main()
