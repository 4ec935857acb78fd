#!/usr/bin/env python3
"""Writes the fuzz harnesses' seed corpora into tests/fuzz/corpus/<harness>/.

Small, valid inputs of every kind each harness reads, so that fuzzing starts from the
formats' real structure: tiny pictures in each format the system reads (made here byte by
byte, and with ImageMagick's convert for JPEG, TIFF and WebP when it is installed),
bitmap streams, flat messages, bus calls, dorva-send fields, colour texts and font labels,
and calendar files.
The harnesses that take structured inputs read them with libFuzzer's FuzzedDataProvider:
Choices builds such inputs. Run it again after changing what a harness reads:
    tests/fuzz/make_corpus.py
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")

# ---------------------------------------------------------------- pictures

WIDTH, HEIGHT = 4, 3


def pixels():
    """Rows of (r, g, b, a) for a small picture in which neighbours differ."""
    return [[(x * 60, y * 80, (x + y) * 30, 255 - x * 20) for x in range(WIDTH)]
            for y in range(HEIGHT)]


def png(color_type=6, depth=8, interlace=0, extra=b""):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    def sample(pixel):
        r, g, b, a = pixel
        return {6: bytes((r, g, b, a)), 2: bytes((r, g, b)), 0: bytes((r,)),
                3: bytes(((r + g) % 2,))}[color_type]

    # Adam7 passes (first column and row, steps) when interlaced; one pass of it all when not.
    passes = ([(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
               (0, 1, 1, 2)] if interlace else [(0, 0, 1, 1)])
    rows = b""
    for x0, y0, dx, dy in passes:
        for y in range(y0, HEIGHT, dy):
            line = b"".join(sample(pixels()[y][x]) for x in range(x0, WIDTH, dx))
            if line:
                rows += b"\0" + line
    ihdr = struct.pack(">IIBBBBB", WIDTH, HEIGHT, depth, color_type, 0, 0, interlace)
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra
    if color_type == 3:
        out += chunk(b"PLTE", bytes((255, 0, 0, 0, 0, 255)))
    return out + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b"")


def exif_tiff(orientation=6, big_endian=True):
    """The TIFF structure of an EXIF block: one directory holding the orientation."""
    order = ">" if big_endian else "<"
    tiff = (b"MM\0*" if big_endian else b"II*\0") + struct.pack(order + "I", 8)
    tiff += struct.pack(order + "H", 1)
    tiff += struct.pack(order + "HHIHH", 0x0112, 3, 1, orientation, 0) + struct.pack(order + "I", 0)
    return tiff


def exif_dated_tiff():
    """EXIF as cameras write it: the first directory with an orientation, the time of the
    last change and a pointer to the EXIF directory, which holds the times the picture was
    taken and stored; the texts follow the directories."""
    order = "<"
    first_at, first_entries, exif_entries = 8, 3, 2
    exif_at = first_at + 2 + 12 * first_entries + 4
    texts_at = exif_at + 2 + 12 * exif_entries + 4
    texts = [b"2026:01:02 03:04:05\0", b"2024:02:29 10:11:12\0", b"2024:02:29 10:11:13\0"]
    offsets = [texts_at + sum(len(t) for t in texts[:i]) for i in range(len(texts))]
    tiff = b"II*\0" + struct.pack(order + "I", first_at)
    tiff += struct.pack(order + "H", first_entries)
    tiff += struct.pack(order + "HHIHH", 0x0112, 3, 1, 6, 0)
    tiff += struct.pack(order + "HHII", 0x0132, 2, len(texts[0]), offsets[0])
    tiff += struct.pack(order + "HHII", 0x8769, 4, 1, exif_at) + struct.pack(order + "I", 0)
    tiff += struct.pack(order + "H", exif_entries)
    tiff += struct.pack(order + "HHII", 0x9003, 2, len(texts[1]), offsets[1])
    tiff += struct.pack(order + "HHII", 0x9004, 2, len(texts[2]), offsets[2])
    tiff += struct.pack(order + "I", 0)
    return tiff + b"".join(texts)


def jpeg_with_exif_date(jpeg):
    """The JPEG with an APP1 segment holding dated EXIF after SOI."""
    exif = b"Exif\0\0" + exif_dated_tiff()
    return jpeg[:2] + b"\xff\xe1" + struct.pack(">H", len(exif) + 2) + exif + jpeg[2:]


def png_with_exif_orientation():
    tiff = exif_tiff()
    body = b"eXIf" + tiff
    return png(extra=struct.pack(">I", len(tiff)) + body + struct.pack(">I", zlib.crc32(body)))


def jpeg_with_exif_orientation(jpeg):
    """The JPEG with an APP1 segment holding EXIF (little-endian, rotate 90) after SOI."""
    exif = b"Exif\0\0" + exif_tiff(orientation=6, big_endian=False)
    return jpeg[:2] + b"\xff\xe1" + struct.pack(">H", len(exif) + 2) + exif + jpeg[2:]


def webp_with_exif_orientation(webp):
    """An extended WebP (VP8X) around the picture of a simple one, with an EXIF chunk."""
    def chunk(kind, data):
        return kind + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")

    image = webp[12:]
    exif_flag = 0x08
    size = struct.pack("<I", WIDTH - 1)[:3] + struct.pack("<I", HEIGHT - 1)[:3]
    body = b"WEBP" + chunk(b"VP8X", bytes((exif_flag, 0, 0, 0)) + size) + image
    body += chunk(b"EXIF", exif_tiff(orientation=8))
    return b"RIFF" + struct.pack("<I", len(body)) + body


def bmp(bits=24):
    row_bytes = (WIDTH * bits // 8 + 3) & ~3
    data = b""
    for row in reversed(pixels()):
        line = b""
        for r, g, b, a in row:
            line += bytes((b, g, r)) if bits == 24 else bytes((b, g, r, a))
        data += line + b"\0" * (row_bytes - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, bits, 0, len(data), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(data), 0, 0, 14 + len(info)) + info + data


def gif():
    # Two colours, every pixel the first; LZW with a minimum code size of 2.
    screen = struct.pack("<HHBBB", WIDTH, HEIGHT, 0x80, 0, 0)
    palette = bytes((0, 0, 0, 255, 255, 255))
    control = b"\x21\xf9\x04\x00\x00\x00\x00\x00"
    image = b"\x2c" + struct.pack("<HHHHB", 0, 0, WIDTH, HEIGHT, 0)
    # Clear code, the twelve pixels as codes, end code: packed by hand.
    data = bytes((2, 5, 0x84, 0x8f, 0xa9, 0xcb, 0x5d, 0x00))
    return b"GIF89a" + screen + palette + control + image + data + b"\x3b"


def pnm(kind):
    rows = pixels()
    if kind == "P3":
        body = " ".join("%d %d %d" % p[:3] for row in rows for p in row)
        return ("P3\n%d %d\n255\n%s\n" % (WIDTH, HEIGHT, body)).encode()
    if kind == "P6":
        return b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT) + bytes(c for row in rows for p in row for c in p[:3])
    if kind == "P5":
        return b"P5\n%d %d\n255\n" % (WIDTH, HEIGHT) + bytes(p[0] for row in rows for p in row)
    if kind == "P1":
        return b"P1\n# tiny\n%d %d\n1 0 1 0\n0 1 0 1\n1 1 0 0\n" % (WIDTH, HEIGHT)
    if kind == "P4":
        return b"P4\n%d %d\n" % (WIDTH, HEIGHT) + bytes((0xa0, 0x50, 0xc0))
    raise ValueError(kind)


def xbm():
    return (b"#define tiny_width 4\n#define tiny_height 3\n"
            b"static unsigned char tiny_bits[] = {\n  0x05, 0x0a, 0x03 };\n")


def xpm():
    return (b'/* XPM */\nstatic char *tiny[] = {\n"4 3 2 1",\n". c #000000",\n"# c #ff8000",\n'
            b'".#.#",\n"#.#.",\n"..##"};\n')


def tga():
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, WIDTH, HEIGHT, 32, 8)
    data = bytes(c for row in reversed(pixels()) for (r, g, b, a) in row for c in (b, g, r, a))
    return header + data + b"\0" * 8 + b"TRUEVISION-XFILE.\0"


def ico():
    image = png()
    entry = struct.pack("<BBBBHHII", WIDTH, HEIGHT, 0, 0, 1, 32, len(image), 6 + 16)
    return struct.pack("<HHH", 0, 1, 1) + entry + image


def wbmp():
    return bytes((0, 0, WIDTH, HEIGHT, 0xa0, 0x50, 0xc0))


def svg():
    return (b'<svg xmlns="http://www.w3.org/2000/svg" width="4" height="3" viewBox="0 0 8 6">'
            b'<rect width="8" height="6" fill="#3060a0"/><circle cx="4" cy="3" r="2" fill="red"/>'
            b'<path d="M0 0 L8 6" stroke="white"/><text x="1" y="5" font-size="3">d</text></svg>\n')


def bits(space=0x0008, row_bytes=None, left=0, top=0):
    """A bitmap stream: the 32-byte big-endian header and the rows."""
    per_pixel = {0x0008: 4, 0x2008: 4, 0x0003: 3, 0x0002: 1}[space]
    if row_bytes is None:
        row_bytes = WIDTH * per_pixel
    data = b""
    for row in pixels():
        line = b""
        for r, g, b, a in row:
            line += {4: bytes((b, g, r, a)), 3: bytes((b, g, r)), 1: bytes((r,))}[per_pixel]
        data += line + b"\0" * (row_bytes - len(line))
    header = b"bits" + struct.pack(">ffffIII", left, top, left + WIDTH - 1, top + HEIGHT - 1,
                                   row_bytes, space, len(data))
    return header + data


def converted(name, source_png, options=()):
    """A picture made by ImageMagick from a PNG, or None without it."""
    convert = shutil.which("convert")
    if convert is None:
        return None
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "in.png")
        target = os.path.join(folder, name)
        with open(source, "wb") as f:
            f.write(source_png)
        # Metadata goes, but for the pictures made to carry an orientation.
        strip = () if "-orient" in options else ("-strip",)
        subprocess.run([convert, source, *options, *strip, target], check=True, capture_output=True)
        with open(target, "rb") as f:
            return f.read()


def pictures():
    made = {
        "rgba.png": png(),
        "rgb.png": png(color_type=2),
        "gray.png": png(color_type=0),
        "palette.png": png(color_type=3),
        "interlaced.png": png(interlace=1),
        "exif-rotated.png": png_with_exif_orientation(),
        "rgb24.bmp": bmp(24),
        "rgba32.bmp": bmp(32),
        "two-colours.gif": gif(),
        "ascii.ppm": pnm("P3"),
        "binary.ppm": pnm("P6"),
        "binary.pgm": pnm("P5"),
        "ascii.pbm": pnm("P1"),
        "binary.pbm": pnm("P4"),
        "tiny.xbm": xbm(),
        "tiny.xpm": xpm(),
        "rgba.tga": tga(),
        "png-inside.ico": ico(),
        "tiny.wbmp": wbmp(),
        "shapes.svg": svg(),
        "rgb32.bits": bits(),
        "rgba32.bits": bits(0x2008),
        "rgb24-padded.bits": bits(0x0003, row_bytes=16),
        "gray8-offset.bits": bits(0x0002, left=10, top=-3),
    }
    for name, options in (("baseline.jpg", ()), ("progressive.jpg", ("-interlace", "JPEG")),
                          ("rotated.jpg", ("-orient", "RightTop")), ("lzw.tiff", ("-compress", "LZW")),
                          ("rotated.tiff", ("-orient", "RightTop")), ("lossless.webp", ("-define", "webp:lossless=true")),
                          ("lossy.webp", ("-quality", "50",))):
        data = converted(name, png(), options)
        if data is not None:
            made[name] = data
        else:
            print("make_corpus.py: no ImageMagick: %s left out" % name, file=sys.stderr)
    if "baseline.jpg" in made:
        made["exif-rotated.jpg"] = jpeg_with_exif_orientation(made["baseline.jpg"])
        made["exif-dated.jpg"] = jpeg_with_exif_date(made["baseline.jpg"])
    if "lossless.webp" in made:
        made["exif-rotated.webp"] = webp_with_exif_orientation(made["lossless.webp"])
    return made


# ---------------------------------------------------------------- structured inputs

class Choices:
    """Builds an input for FuzzedDataProvider: bytes taken from the front (ConsumeBytes,
    ConsumeRandomLengthString) are written in order; integers, bools and picks are taken
    from the end, last byte first, so they are stacked and put at the end reversed."""

    def __init__(self):
        self.front = bytearray()
        self.back = bytearray()

    def integer(self, low, high, value, width=8):
        span = high - low
        result = value - low
        assert 0 <= result <= span
        count, offset = 0, 0
        while offset < width * 8 and (span >> offset) > 0:
            count += 1
            offset += 8
        for i in reversed(range(count)):
            self.back.append((result >> (8 * i)) & 0xff)

    def boolean(self, value):
        self.integer(0, 255, 1 if value else 0, width=1)

    def pick(self, array_size, index):
        self.integer(0, array_size - 1, index)

    def raw(self, data):
        self.front += data

    def string(self, text):
        # ConsumeRandomLengthString: a backslash doubles itself; "\\" then another byte ends it.
        for c in text:
            self.front += b"\\\\" if c == 0x5c else bytes((c,))
        self.front += b"\\x"

    def build(self, length_first=None):
        """The input. With length_first, the first choice read is that value in the range
        0 to the input's whole size, as ConsumeIntegralInRange(0, size) reads a length."""
        back = bytearray(self.back)
        if length_first is not None:
            for count in (1, 2, 3):
                size = len(self.front) + len(back) + count
                if size < (1 << (8 * count)):
                    break
            back[0:0] = bytes((length_first >> (8 * i)) & 0xff for i in reversed(range(count)))
        return bytes(self.front) + bytes(reversed(back))


def stream_inputs():
    """bitmap_stream: in order, in chunks; and a script of writes, reads and seeks."""
    made = {}
    for name, stream, chunk in (("rgb32-whole", bits(), 4096), ("rgba32-bytewise", bits(0x2008), 1),
                                ("rgb24-padded-7", bits(0x0003, row_bytes=16), 7),
                                ("gray8-offset-1024", bits(0x0002, left=10, top=-3), 1024)):
        c = Choices()
        c.boolean(True)
        c.integer(1, 4096, chunk)
        c.raw(stream)
        made[name] = c.build()
    # A script: the header at 0, the rows at 32, a read back, a seek and a detach.
    stream = bits()
    c = Choices()
    c.boolean(False)
    c.integer(0, 5, 1)
    c.integer(-1, 1 << 16, 0)
    c.integer(0, 4096, 32)
    c.raw(stream[:32])
    c.integer(0, 5, 0)
    c.integer(0, 4096, len(stream) - 32)
    c.raw(stream[32:])
    c.integer(0, 5, 2)
    c.integer(-1, 1 << 16, 30)
    c.integer(0, 4096, 16)
    c.integer(0, 5, 3)
    c.integer(-(1 << 16), 1 << 16, 0)
    c.pick(4, 2)
    c.integer(0, 5, 4)
    c.boolean(True)
    c.integer(0, 5, 5)
    made["script"] = c.build()
    return made


def canvas_inputs(images):
    """canvas_drop: a drop of each picture as data, a file dropped by ref, a clipping."""
    types = ["image/png", "image/jpeg", "image/gif", "image/bmp", "image/tiff", "image/webp",
             "image/svg+xml", "image/x-be-bitmap"]
    by_type = {"image/png": "rgb.png", "image/jpeg": "baseline.jpg", "image/gif": "two-colours.gif",
               "image/bmp": "rgb24.bmp", "image/tiff": "lzw.tiff", "image/webp": "lossless.webp",
               "image/svg+xml": "shapes.svg", "image/x-be-bitmap": "rgb32.bits"}
    made = {}

    def drop(name, payload, type_index, code_index, start_picture, point, refs_kind=None):
        c = Choices()
        c.raw(payload)
        c.boolean(start_picture)
        if start_picture:
            c.integer(1, 64, 40)
            c.integer(1, 64, 30)
        c.integer(1, 3, 1)
        c.pick(6, code_index)
        c.boolean(point is not None)
        if point is not None:
            for coordinate in point[:2]:
                c.boolean(True)
                c.pick(21, coordinate)
            c.boolean(True)
            for coordinate in point[2:]:
                c.boolean(True)
                c.pick(21, coordinate)
            c.boolean(False)
        if refs_kind == "file":
            c.integer(0, 5, 0)
            c.boolean(False)
            c.integer(0, 2, 0)
        elif refs_kind == "clip":
            c.integer(0, 5, 2)
            c.string(b"clipping")
            c.integer(0, 3, 1)
            c.pick(15, type_index)
            c.integer(0, 2, 0)
        else:
            c.integer(0, 5, 3)
            c.integer(0, 2, 1)
            c.boolean(True)
            c.pick(15, type_index)
        made[name] = c.build(length_first=len(payload))

    for type_index, kind in enumerate(types):
        image = images.get(by_type[kind])
        if image is None:
            continue
        short = kind.split("/")[1].replace("+xml", "")
        drop("paste-" + short, image, type_index, 0, True, (1, 3, 0, 0))
        drop("new-" + short, image, type_index, 0, False, None)
    drop("open-file-png", images["rgb.png"], 0, 1, False, None, refs_kind="file")
    drop("clipping", b"", 0, 1, True, (3, 3, 0, 0), refs_kind="clip")
    return made


def flat_message(what, fields):
    """The flat form of a message: its code, its fields, each value with its length
    (32-bit words in this machine's order, as the kit writes them)."""
    out = struct.pack("=II", what, len(fields))
    for name, kind, values in fields:
        out += struct.pack("=I", len(name)) + name + struct.pack("=II", kind, len(values))
        for value in values:
            out += struct.pack("=I", len(value)) + value
    return out


def code(text):
    return struct.unpack(">I", text)[0]


def message_inputs():
    ref = b"/tmp\0photo.png\0"
    inner = flat_message(code(b"ficl"), [(b"n", code(b"LONG"), [struct.pack("=i", 7)])])
    every = flat_message(code(b"DATA"), [
        (b"flag", code(b"BOOL"), [b"\1"]),
        (b"small", code(b"BYTE"), [b"\x80"]),
        (b"format_no", code(b"SHRT"), [struct.pack("=h", 2)]),
        (b"wide", code(b"LONG"), [struct.pack("=i", -5), struct.pack("=i", 9)]),
        (b"big", code(b"LLNG"), [struct.pack("=q", 1 << 40)]),
        (b"scale", code(b"FLOT"), [struct.pack("=f", 0.5)]),
        (b"exact", code(b"DBLE"), [struct.pack("=d", 1e-300)]),
        (b"name", code(b"CSTR"), [b"out.png\0"]),
        (b"at", code(b"BPNT"), [struct.pack("=ff", 3, 4)]),
        (b"frame", code(b"RECT"), [struct.pack("=ffff", 0, 0, 63, 47)]),
        (b"refs", code(b"RREF"), [ref, b"/\0.\0"]),
        (b"inner", code(b"MSGG"), [inner]),
        (b"image/png", code(b"MIME"), [png()]),
    ])
    return {
        "empty": flat_message(0, []),
        "every-type": every,
        "nested": flat_message(code(b"_CNC"), [(b"m", code(b"MSGG"), [every, inner])]),
        "wrong-sizes": flat_message(code(b"odd "), [(b"i", code(b"LONG"), [b"\1\2"]),
                                                    (b"s", code(b"CSTR"), [b"no end"])]),
    }


def check_type_codes():
    """The type codes above are the kit's own; fail loudly if the kit changes them."""
    header = open(os.path.join(HERE, "..", "..", "kit", "support", "TypeConstants.h")).read()
    for name in ("BOOL", "BYTE", "SHRT", "LONG", "LLNG", "FLOT", "DBLE", "CSTR", "BPNT", "RECT",
                 "RREF", "MSGG", "MIME"):
        if '"%s"' % name not in header:
            sys.exit("make_corpus.py: the kit has no type code %s" % name)


def bus_inputs():
    """bus_endpoint: calls with every field type, a reply asked for, a wrong shape."""
    names = ["refs", "format_no", "directory", "name", "scale", "be:types", "_drop_point_", "x"]
    types = ["int8", "int16", "int32", "float", "bool", "string", "ref"]
    codes = ["DATA", "MIME", "SAVE", "_CNC", "fiwr", "ficl", "fifm", "_QRQ", "zoom"]
    paths = ["/", "/tmp", "/tmp/a.png", "/tmp/./x/../b.jpg", "//tmp//", "/no/such/folder/photo.png",
             "/..", "relative.png", ""]
    made = {}

    def call(name, method, code_index, fields, shape=1):
        c = Choices()
        c.pick(4, method)
        c.boolean(True)
        c.pick(len(codes), code_index)
        c.integer(0, 15, shape)
        if shape != 0:
            c.integer(0, 8, len(fields))
            for name_index, type_index, value_kind, value in fields:
                c.boolean(True)
                c.pick(len(names), name_index)
                c.boolean(True)
                c.pick(len(types), type_index)
                c.integer(0, 10, value_kind)
                if value_kind == 10:
                    c.boolean(True)
                    c.pick(len(paths), value)
                elif value_kind == 8:
                    c.boolean(bool(value))
                else:
                    bits, signed = {0: (8, False), 1: (16, True), 2: (16, False), 3: (32, True),
                                    4: (32, False), 5: (64, True), 6: (64, False)}[value_kind]
                    low = -(1 << (bits - 1)) if signed else 0
                    c.integer(low, low + (1 << bits) - 1, value, width=bits // 8)
        made[name] = c.build()

    call("save", 0, 2, [(2, 6, 10, 1), (3, 5, 10, 2)])
    call("open-with-reply", 1, 0, [(0, 6, 10, 2), (0, 6, 10, 3), (0, 6, 10, 5)])
    call("integers", 0, 4, [(1, 0, 0, 100), (1, 1, 1, 2), (7, 2, 3, 7), (7, 2, 4, 9)])
    call("flag-and-scale", 1, 8, [(4, 3, 3, 3), (7, 4, 8, 1), (7, 4, 8, 0)])
    call("quit", 0, 7, [])
    call("wrong-shape", 0, 5, [], shape=0)
    return made


def field_inputs():
    return {
        "open": b"DATA\nrefs=ref:photo.png\nrefs=ref:/tmp/./b/../c.jpg",
        "save": b"SAVE\ndirectory=ref:/tmp\nname=string:out.png",
        "export": b"fiwr\nformat_no=int16:2",
        "numbers": b"zoom\nlevel=int8:-128\nwide=int32:+2147483647\nscale=float:0.25\nscale=float:1e-3",
        "flags": b"flag\non=bool:true\non=bool:0",
        "refused": b"ab\nx=int12:1\nformat_no=int16:70000\nname=string:a\nname=int8:1\nnot a field",
    }


def text_inputs():
    return {
        "band": b"80000000",
        "red": b"ff0000",
        "prefixed": b"  0x1F",
        "negative": b"-1",
        "too-long": b"123456789",
        "font": b"DejaVu Sans(Book)",
        "font-cjk": "Noto Sans CJK JP(Bold)".encode() + " 日本語".encode(),
        "font-nested": b"Font (Old)(Bold Italic)",
    }


def holiday_rule_inputs():
    """Rule files: one that uses every kind of date and qualifier, a broken one, and the
    project's own files."""
    every = """country XX "Länd" "Land"
source "a law, https://example.org/law"
zone Asia/Seoul
years 2020 2030
region A "A" "A"
region B1 "B" "B"
substitute sun>mon clash>next from 2021-05-03 to 2029
bridge except sun,sat from 2022
name substitute : "p" "p" fr:"q"
name bridge : "r" "r"
on 01-01 observe sat>fri sun>mon : "a" "a"
on 2025-11-11 : "once" "once" fr:"une fois"
on 3 mon 01 in A : "b" "b"
on last fri 05 except B1 : "c" "c"
on sat after 06-20 move sat>prev : "d" "d"
on mon before 05-24 : "e" "e"
on easter -2 : "f" "f"
on orthodox +1 : "g" "g"
on march-equinox : "h" "h"
on june-solstice : "i" "i"
on september-equinox observe weekend>next : "j" "j"
on december-solstice : "k" "k"
on lunar 01-01 -1 observe sun>next clash>next : "l" "l"
on lunar 08-15 : "m" "m"
on 02-01 if fri else 1 mon 02 : "n" "n"
on 12-26 if mon,tue observe none : "o \\\\ \\"quoted\\"" "o"
"""
    inputs = {
        "every-kind": every.encode(),
        "broken-line": every.replace("on 3 mon 01", "on 6 mon 01").encode(),
        "header-only": b'country XX "a" "b"\nsource "s"\nzone UTC\nyears 2000 2000\n',
    }
    rules = os.path.join(HERE, "..", "..", "data", "holidays")
    for name in sorted(os.listdir(rules)):
        if name.endswith(".rules") and os.path.getsize(os.path.join(rules, name)) <= 8192:
            with open(os.path.join(rules, name), "rb") as f:
                inputs[name] = f.read()
    return inputs
def ics_inputs():
    """ics_reader: the file of every rule the tests check, and the hostile files of the
    benchmark made small enough for one input."""
    sys.path.insert(0, os.path.join(HERE, "..", "..", "bench"))
    import make_hostile_ics as hostile
    with open(os.path.join(HERE, "..", "data", "holiday-rules.ics"), "rb") as f:
        rules = f.read()
    made = {
        "holiday-rules.ics": rules,
        "parameters.ics": hostile.many_parameters(lines=1, parameters=20000),
        "properties.ics": hostile.many_properties(count=8000),
        "exdates.ics": hostile.many_properties(count=3000, name="EXDATE:20270102"),
        "never-occurring.ics": hostile.never_occurring_rules(),
        "old-series.ics": hostile.short_old_series(size=4096),
        "birthdays.ics": hostile.yearly_events(size=4096),
        "count-too-large.ics": hostile.calendar(hostile.event(
            ["DTSTART;VALUE=DATE:20270201", "RRULE:FREQ=DAILY;COUNT=4294967301"])),
        "hourly.ics": hostile.calendar(hostile.event(
            ["DTSTART:20270201T080000Z", "RRULE:FREQ=HOURLY;INTERVAL=1"])),
    }
    return {name: text if isinstance(text, bytes) else text.encode() for name, text in made.items()}


def write(harness, inputs):
    folder = os.path.join(CORPUS, harness)
    if os.path.isdir(folder):
        shutil.rmtree(folder)
    os.makedirs(folder)
    for name, data in sorted(inputs.items()):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    total = sum(len(d) for d in inputs.values())
    print("%-14s %3d inputs, %6d bytes" % (harness, len(inputs), total))


def main():
    check_type_codes()
    images = pictures()
    write("image_roster", images)
    write("bitmap_stream", stream_inputs())
    write("canvas_drop", canvas_inputs(images))
    write("message", message_inputs())
    write("bus_endpoint", bus_inputs())
    write("field_parser", field_inputs())
    write("config_text", text_inputs())
    write("holiday_rules", holiday_rule_inputs())
    write("ics_reader", ics_inputs())


if __name__ == "__main__":
    main()
