#!/usr/bin/env python3
"""Draws the sample picture bundled with dorva: an evening landscape with a sky, a low sun,
mountains, a lake that mirrors them and wooded hills in front.

Uses only the Python standard library and always draws the same picture.

    scripts/make-sample.py [OUT.png]     (default: data/sample.png)
"""

import math
import os
import random
import struct
import sys
import zlib

WIDTH, HEIGHT = 800, 600
HORIZON = 372          # the far shore of the lake
SUN_X, SUN_Y, SUN_R = 548.0, 262.0, 30.0


# ---------------------------------------------------------------- small helpers

def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


def smooth(t):
    t = clamp(t)
    return t * t * (3.0 - 2.0 * t)


def gradient(stops, t):
    """Colour at t along a list of (position, colour) stops."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, smooth((t - p0) / (p1 - p0)))
    return stops[-1][1]


class Noise:
    """Smooth value noise in one and two dimensions, from a fixed seed."""

    def __init__(self, seed):
        rng = random.Random(seed)
        self.values = [rng.random() for _ in range(256)]
        self.perm = list(range(256))
        rng.shuffle(self.perm)

    def _at(self, i, j=0):
        return self.values[self.perm[(self.perm[i & 255] + j) & 255]]

    def line(self, x):
        i = math.floor(x)
        return self._at(i) + (self._at(i + 1) - self._at(i)) * smooth(x - i)

    def plane(self, x, y):
        i, j = math.floor(x), math.floor(y)
        fx, fy = smooth(x - i), smooth(y - j)
        a = self._at(i, j) + (self._at(i + 1, j) - self._at(i, j)) * fx
        b = self._at(i, j + 1) + (self._at(i + 1, j + 1) - self._at(i, j + 1)) * fx
        return a + (b - a) * fy

    def ridge(self, x, octaves):
        total, amp, freq, norm = 0.0, 1.0, 1.0, 0.0
        for _ in range(octaves):
            total += amp * self.line(x * freq)
            norm += amp
            amp *= 0.5
            freq *= 2.0
        return total / norm

    def cloud(self, x, y, octaves):
        total, amp, freq, norm = 0.0, 1.0, 1.0, 0.0
        for _ in range(octaves):
            total += amp * self.plane(x * freq, y * freq)
            norm += amp
            amp *= 0.5
            freq *= 2.03
        return total / norm


# ---------------------------------------------------------------- the scene

SKY = [
    (0.00, (38, 62, 128)),
    (0.35, (92, 118, 178)),
    (0.62, (198, 150, 164)),
    (0.85, (246, 180, 122)),
    (1.00, (252, 214, 150)),
]

cloud_noise = Noise(11)
far_noise = Noise(23)
near_noise = Noise(37)
shore_noise = Noise(41)
hill_noise = Noise(53)
grain = random.Random(2007)

# Heights (screen rows) of the ridges, one per column.
far_ridge = [HORIZON - 40 - 120 * far_noise.ridge(x / 170.0 + 3.0, 5) ** 1.6 for x in range(WIDTH)]
near_ridge = [HORIZON - 12 - 62 * near_noise.ridge(x / 110.0 + 7.0, 5) ** 1.3 for x in range(WIDTH)]
shore = [HORIZON - 3 - 5 * shore_noise.ridge(x / 18.0, 3) for x in range(WIDTH)]


def front_hill(x):
    """Top row of the wooded hills in front, or HEIGHT where there is none."""
    left = 436 + 190 * (x / 330.0) ** 1.8 if x < 360 else HEIGHT
    right = 470 + 165 * ((WIDTH - x) / 240.0) ** 1.8 if x > 520 else HEIGHT
    top = min(left, right)
    if top >= HEIGHT:
        return HEIGHT
    return top - 14 * hill_noise.ridge(x / 40.0, 4)


hill_top = [front_hill(x) for x in range(WIDTH)]

# Dark pines standing on the front hills: (x, foot row, height).
pines = []
for _ in range(46):
    x = grain.uniform(0, 360) if grain.random() < 0.6 else grain.uniform(610, WIDTH)
    top = hill_top[int(x)]
    if top < HEIGHT - 30:
        pines.append((x, top + grain.uniform(6, 26), grain.uniform(34, 80)))
pines.sort(key=lambda p: p[1])


def sky(x, y):
    t = y / HORIZON
    c = gradient(SKY, t)
    # Glow around the sun, wide and soft, then a brighter core.
    d = math.hypot(x - SUN_X, (y - SUN_Y) * 1.15)
    glow = math.exp(-d / 140.0) * 0.55 + math.exp(-d / 45.0) * 0.35
    c = mix(c, (255, 236, 190), clamp(glow))
    # Thin evening clouds, stretched sideways, pink underneath where the sun lights them.
    if y < HORIZON - 30:
        n = cloud_noise.cloud(x / 230.0, y / 48.0, 5)
        band = smooth((y - 40) / 80.0) * smooth((HORIZON - 60 - y) / 90.0)
        density = clamp((n - 0.52) * 3.2) * band
        if density > 0:
            lit = mix((120, 96, 140), (255, 190, 170), clamp(1.0 - d / 500.0))
            c = mix(c, lit, density * 0.75)
    if d < SUN_R:
        c = mix(c, (255, 250, 232), smooth((SUN_R - d) / 2.0))
    return c


def land(x, y):
    """The world beyond the lake: sky, far mountains, nearer hills, the far shore.
    Each layer covers the one behind it by how much of the pixel lies below its edge."""
    c = sky(x, y) if y < far_ridge[x] + 1 else None
    cover = clamp(y + 1 - far_ridge[x])
    if cover > 0:
        depth = clamp((y - far_ridge[x]) / max(1.0, HORIZON - far_ridge[x]))
        m = mix((132, 124, 160), (150, 140, 168), depth)
        slope = far_ridge[min(x + 6, WIDTH - 1)] - far_ridge[max(x - 6, 0)]
        m = mix(m, (214, 170, 160), smooth(-slope / 30.0) * 0.4 * (1 - depth) ** 2)
        # Haze thickens towards the lake.
        m = mix(m, (214, 176, 170), smooth(depth) * 0.45)
        c = m if c is None else mix(c, m, cover)
    cover = clamp(y + 1 - near_ridge[x])
    if cover > 0:
        depth = clamp((y - near_ridge[x]) / max(1.0, HORIZON - near_ridge[x]))
        m = mix((84, 98, 112), (46, 70, 66), depth)
        # Light on the slopes that face the sun.
        slope = near_ridge[min(x + 6, WIDTH - 1)] - near_ridge[max(x - 6, 0)]
        m = mix(m, (150, 128, 112), smooth(-slope / 30.0) * 0.3 * (1 - depth) ** 2)
        c = mix(c, m, cover)
    cover = clamp(y + 1 - shore[x])
    if cover > 0:
        c = mix(c, mix((52, 66, 62), (30, 40, 40), clamp((y - shore[x]) / 8.0)), cover)
    return c


def water(x, y):
    """The lake: the land mirrored, rippled, darkened, with the sun's glitter on it."""
    below = y - HORIZON
    ripple = math.sin(y * 0.9 + math.sin(x * 0.021) * 2.0) * (0.6 + below * 0.03)
    mx = int(clamp(x + ripple, 0, WIDTH - 1))
    my = int(clamp(2 * HORIZON - y + ripple * 0.6, 0, HORIZON - 1))
    c = mix(land(mx, my), (40, 62, 104), 0.28 + 0.25 * below / (HEIGHT - HORIZON))
    # Glitter: broken bright streaks below the sun, widening towards the viewer.
    spread = 18.0 + below * 0.55
    dx = abs(x - SUN_X) / spread
    if dx < 1.5:
        streak = math.sin(y * 1.7 + math.sin(x * 0.13) * 3.0) * 0.5 + 0.5
        streak *= math.sin(y * 0.43 + x * 0.05) * 0.5 + 0.5
        c = mix(c, (255, 226, 170), clamp(streak ** 3 * 1.8) * math.exp(-dx * dx * 2.2) * 0.9)
    # A faint line where the water meets the far shore.
    if below < 2:
        c = mix(c, (200, 170, 160), 0.35)
    return c


def hill(x, y):
    depth = (y - hill_top[x]) / 120.0
    n = hill_noise.cloud(x / 9.0, y / 6.0, 2)
    c = mix((48, 76, 44), (18, 34, 24), clamp(depth))
    c = mix(c, (10, 20, 14), n * 0.35)
    if x < 330:
        # The left hill catches some of the evening light on its crest.
        c = mix(c, (142, 118, 70), clamp(1.0 - depth * 6.0) * 0.5)
    return c


def pine_cover(x, y):
    """How much of pixel (x, y) a pine hides, 0 to 1."""
    cover = 0.0
    for px, foot, h in pines:
        if y > foot or y < foot - h:
            continue
        up = (foot - y) / h                       # 0 at the foot, 1 at the tip
        half = 0.22 * h * (1.0 - up) ** 1.05
        half *= 0.82 + 0.18 * abs(math.sin(up * 19.0))   # layers of branches
        if up < 0.08:
            half = 1.6                             # the trunk
        edge = half - abs(x + 0.5 - px)
        if edge > 0:
            cover = max(cover, clamp(edge))
    return cover


def pixel(x, y):
    if y < HORIZON:
        c = land(x, y)
    else:
        c = water(x, y)
    if y >= hill_top[x] - 1:
        c = mix(c, hill(x, y), clamp(y - hill_top[x] + 1))
    if y > 240:
        cover = pine_cover(x, y)
        if cover:
            c = mix(c, (14, 26, 20), cover)
    return (int(clamp(c[0] + 0.5, 0, 255)), int(clamp(c[1] + 0.5, 0, 255)), int(clamp(c[2] + 0.5, 0, 255)))


# ---------------------------------------------------------------- PNG writing

def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filter_rows(rows, bpp=3):
    """Filters each row the way that leaves the smallest bytes, as PNG encoders usually do."""
    out = bytearray()
    previous = bytes(len(rows[0]))
    for row in rows:
        candidates = []
        sub = bytes((row[i] - (row[i - bpp] if i >= bpp else 0)) & 255 for i in range(len(row)))
        up = bytes((row[i] - previous[i]) & 255 for i in range(len(row)))
        pae = bytes((row[i] - paeth(row[i - bpp] if i >= bpp else 0, previous[i],
                                    previous[i - bpp] if i >= bpp else 0)) & 255
                    for i in range(len(row)))
        for kind, data in ((1, sub), (2, up), (4, pae)):
            cost = sum(v if v < 128 else 256 - v for v in data)
            candidates.append((cost, kind, data))
        _, kind, data = min(candidates)
        out.append(kind)
        out += data
        previous = row
    return bytes(out)


def write_png(path, width, height, rows):
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    data = zlib.compress(filter_rows(rows), 9)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(png_chunk(b"IHDR", header))
        f.write(png_chunk(b"IDAT", data))
        f.write(png_chunk(b"IEND", b""))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "sample.png")
    rows = []
    for y in range(HEIGHT):
        row = bytearray()
        for x in range(WIDTH):
            row.extend(pixel(x, y))
        rows.append(bytes(row))
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    write_png(out, WIDTH, HEIGHT, rows)
    print(f"make-sample.py: wrote {out} ({os.path.getsize(out)} bytes)")


if __name__ == "__main__":
    main()
