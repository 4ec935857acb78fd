#!/usr/bin/env python3
"""Checks screenshots of dorva against the picture it shows. Images are read through
ImageMagick's convert as 8-bit PPM, so any format it reads will do.

    pixels.py calendar SHOT SAMPLE      the window shows SAMPLE with the calendar band
    pixels.py empty SHOT                the window shows the empty canvas
    pixels.py offset REFERENCE SHOT     SHOT's canvas is REFERENCE's canvas scrolled: prints
                                        the offset "dx dy"
    pixels.py band SHOT SAMPLE AARRGGBB the band is the colour AARRGGBB over SAMPLE
    pixels.py same IMAGE SAMPLE         IMAGE holds exactly SAMPLE's pixels
    pixels.py screen SHOT SAMPLE        SHOT, of a whole screen, shows SAMPLE with the calendar
                                        band somewhere: prints where the canvas begins

SHOT and REFERENCE are screenshots of the main window: its canvas begins at y = 20, below
the menu bar, and leaves 14 pixels (plus one, the coordinates being inclusive) for the
scroll bars at the right and at the bottom.
"""
import subprocess
import sys

CANVAS_TOP = 20


class Image:
    def __init__(self, path):
        data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                              stdout=subprocess.PIPE).stdout
        fields = []
        position = 0
        # P6 header: magic, width, height, maximum, each after white space or a comment.
        while len(fields) < 4:
            while data[position:position + 1].isspace():
                position += 1
            if data[position:position + 1] == b"#":
                position = data.index(b"\n", position) + 1
                continue
            end = position
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[position:end])
            position = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise SystemExit(f"pixels.py: {path} did not convert to an 8-bit PPM")
        self.width = int(fields[1])
        self.height = int(fields[2])
        self.pixels = data[position + 1:]
        self.path = path

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return self.pixels[i], self.pixels[i + 1], self.pixels[i + 2]


def canvas_size(shot):
    return shot.width - 14, shot.height - 34


def fail(message):
    print("FAIL: " + message)
    return 1


def mean_difference(a, ax, ay, b, bx, by, width, height, step=3):
    total = 0
    count = 0
    for y in range(0, height, step):
        for x in range(0, width, step):
            pa = a.at(ax + x, ay + y)
            pb = b.at(bx + x, by + y)
            total += abs(pa[0] - pb[0]) + abs(pa[1] - pb[1]) + abs(pa[2] - pb[2])
            count += 3
    return total / max(count, 1)


def luminance_mean(image, x0, y0, width, height, step=3):
    total = 0
    count = 0
    for y in range(y0, y0 + height, step):
        for x in range(x0, x0 + width, step):
            r, g, b = image.at(x, y)
            total += 0.299 * r + 0.587 * g + 0.114 * b
            count += 1
    return total / max(count, 1)


def check_calendar(shot, sample):
    width, height = canvas_size(shot)
    if (width, height) != (sample.width, sample.height):
        return fail(f"the canvas is {width}x{height}, the picture {sample.width}x{sample.height}")
    return check_calendar_at(shot, sample, 0, CANVAS_TOP)


def check_calendar_at(shot, sample, left, top):
    """The canvas, which begins at (left, top) of the shot, shows the sample and the band."""
    width, height = sample.width, sample.height
    # Above the band the picture is shown as it is.
    top_rows = height * 2 // 5
    difference = mean_difference(shot, left, top, sample, 0, 0, width, top_rows)
    print(f"upper two fifths: mean difference from the picture {difference:.2f}")
    if difference > 3:
        return fail("the upper part of the canvas is not the picture")
    # The bottom third lies under the translucent black band.
    third = height // 3
    shown = luminance_mean(shot, left, top + height - third, width, third)
    original = luminance_mean(sample, 0, height - third, width, third)
    print(f"bottom third: luminance {shown:.1f} on screen, {original:.1f} in the picture")
    if not shown < 0.75 * original:
        return fail("the bottom third is not darkened")
    # Dates and month numbers: no darkened pixel of the picture reaches 150 in a channel,
    # so strong colours there are the calendar's.
    counts = {"green": 0, "red": 0, "blue": 0}
    for y in range(top + height - third, top + height):
        for x in range(left, left + width):
            r, g, b = shot.at(x, y)
            if g >= 150 and r <= 100 and b <= 100:
                counts["green"] += 1
            elif r >= 150 and g <= 90 and b <= 90:
                counts["red"] += 1
            elif b >= 150 and r <= 90 and g <= 110:
                counts["blue"] += 1
    print("band: " + ", ".join(f"{n} {name} pixels" for name, n in counts.items()))
    for name, n in counts.items():
        if n < 30:
            return fail(f"too few {name} pixels in the band")
    return 0


def locate(shot, sample):
    """Where the sample's top left part lies in the shot, exactly: (x, y) or None."""
    probes = [(x, y) for y in range(0, sample.height * 2 // 5, 37)
              for x in range(0, sample.width, 41)]
    first = sample.at(0, 0)
    for y in range(0, shot.height - sample.height + 1):
        for x in range(0, shot.width - sample.width + 1):
            if shot.at(x, y) != first:
                continue
            if all(shot.at(x + px, y + py) == sample.at(px, py) for px, py in probes):
                return x, y
    return None


def check_screen(shot, sample):
    where = locate(shot, sample)
    if where is None:
        return fail(f"the picture is nowhere on the {shot.width}x{shot.height} screen")
    print(f"the canvas begins at {where[0]} {where[1]}")
    return check_calendar_at(shot, sample, *where)


def check_empty(shot):
    width, height = canvas_size(shot)
    if (width, height) != (187, 117):
        return fail(f"the empty canvas is {width}x{height} pixels, not 187x117")
    black = white = total = 0
    for y in range(CANVAS_TOP, CANVAS_TOP + height):
        for x in range(width):
            r, g, b = shot.at(x, y)
            total += 1
            if r < 30 and g < 30 and b < 30:
                black += 1
            elif r > 200 and g > 200 and b > 200:
                white += 1
    print(f"empty canvas: {black} black, {white} white of {total} pixels")
    if black < 0.6 * total or white < 100:
        return fail("the canvas does not show the white name on black")
    return 0


def find_offset(reference, shot):
    width, height = canvas_size(shot)
    full_width, full_height = canvas_size(reference)
    probes = [(x, y) for y in range(0, height, max(1, height // 6))
              for x in range(0, width, max(1, width // 6))]
    best = None
    for dy in range(0, full_height - height + 1):
        for dx in range(0, full_width - width + 1):
            for x, y in probes:
                if reference.at(dx + x, CANVAS_TOP + dy + y) != shot.at(x, CANVAS_TOP + y):
                    break
            else:
                difference = mean_difference(reference, dx, CANVAS_TOP + dy, shot, 0,
                                             CANVAS_TOP, width, height)
                if best is None or difference < best[0]:
                    best = (difference, dx, dy)
                if difference == 0:
                    return best
    return best


def check_offset(reference, shot):
    best = find_offset(reference, shot)
    if best is None or best[0] > 1:
        return fail("the canvas is no part of the reference canvas")
    print(f"{best[1]} {best[2]}")
    return 0


def check_band(shot, sample, colour):
    value = int(colour, 16)
    alpha = ((value >> 24) & 0xFF) / 255
    rgb = ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF)
    width, height = canvas_size(shot)
    third = height // 3
    total = count = 0
    for y in range(height - third, height, 2):
        for x in range(0, width, 2):
            shown = shot.at(x, CANVAS_TOP + y)
            original = sample.at(x, y)
            for c in range(3):
                expected = original[c] * (1 - alpha) + rgb[c] * alpha
                total += abs(shown[c] - expected)
                count += 1
    difference = total / count
    print(f"band: mean difference from {colour} over the picture {difference:.1f}")
    # The dates drawn on the band make up the rest of the difference.
    if difference > 20:
        return fail(f"the band is not {colour}")
    return 0


def check_same(image, sample):
    if (image.width, image.height) != (sample.width, sample.height):
        return fail(f"{image.path} is {image.width}x{image.height}, "
                    f"not {sample.width}x{sample.height}")
    if image.pixels != sample.pixels:
        difference = mean_difference(image, 0, 0, sample, 0, 0, image.width, image.height, 1)
        return fail(f"{image.path} differs from the picture (mean {difference:.2f})")
    print(f"{image.path}: the picture's {image.width}x{image.height} pixels, exactly")
    return 0


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    command = argv[1]
    if command == "calendar" and len(argv) == 4:
        return check_calendar(Image(argv[2]), Image(argv[3]))
    if command == "empty" and len(argv) == 3:
        return check_empty(Image(argv[2]))
    if command == "offset" and len(argv) == 4:
        return check_offset(Image(argv[2]), Image(argv[3]))
    if command == "band" and len(argv) == 5:
        return check_band(Image(argv[2]), Image(argv[3]), argv[4])
    if command == "screen" and len(argv) == 4:
        return check_screen(Image(argv[2]), Image(argv[3]))
    if command == "same" and len(argv) == 4:
        return check_same(Image(argv[2]), Image(argv[3]))
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
