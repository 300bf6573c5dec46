"""What the HUD tests need besides the game: a display (one Xvfb for the
test file), small images written as BMP files, and screenshots read back
from PNG files."""
import os
import struct
import subprocess
import zlib


class Display:
    """An Xvfb on a free display number, for the life of a test file, when
    there is no display yet. (./korvel test starts one before the persistent
    wineserver: Wine's desktop takes the display of the wineserver's first
    program.)"""

    def __init__(self, size="1600x1200x24"):
        self.proc = None
        self.size = size
        self.saved = os.environ.get("DISPLAY")

    def start(self):
        if self.saved:
            return
        read, write = os.pipe()
        self.proc = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", self.size,
                                      "-nolisten", "tcp"], pass_fds=(write,),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        with os.fdopen(read, "rb") as f:
            while not number.endswith(b"\n"):
                byte = f.read(1)
                if not byte:
                    break
                number += byte
        if not number.strip():
            self.stop()
            raise RuntimeError("Xvfb did not start")
        os.environ["DISPLAY"] = ":" + number.decode().strip()

    def stop(self):
        if self.proc:
            self.proc.terminate()
            self.proc.wait(timeout=10)
            self.proc = None
        if self.saved is None:
            os.environ.pop("DISPLAY", None)
        else:
            os.environ["DISPLAY"] = self.saved


def write_bmp(path, width, height, pixel):
    """A 24-bit BMP whose pixel (x, y) has the colour pixel(x, y) = (r, g, b)."""
    row = (width * 3 + 3) & ~3
    body = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up rows
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        body += line + bytes(row - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(header + info + body)


def solid(colour):
    return lambda x, y: colour


class Image:
    """An 8-bit RGB or RGBA PNG, as pixels (r, g, b)."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if data[:8] != b"\x89PNG\r\n\x1a\n":
            raise ValueError("not a PNG: " + path)
        pos, idat = 8, b""
        while pos < len(data):
            (length,) = struct.unpack_from(">I", data, pos)
            kind = data[pos + 4:pos + 8]
            chunk = data[pos + 8:pos + 8 + length]
            if kind == b"IHDR":
                self.width, self.height, depth, colour_type = struct.unpack_from(">IIBB", chunk)
                if depth != 8 or colour_type not in (2, 6):
                    raise ValueError("PNG depth %d colour type %d" % (depth, colour_type))
                self.channels = 3 if colour_type == 2 else 4
            elif kind == b"IDAT":
                idat += chunk
            pos += 12 + length
        raw = zlib.decompress(idat)
        stride = self.width * self.channels
        rows, prev, at = [], bytearray(stride), 0
        bpp = self.channels
        for _ in range(self.height):
            kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
            at += 1 + stride
            for i in range(stride):
                a = line[i - bpp] if i >= bpp else 0
                b = prev[i]
                c = prev[i - bpp] if i >= bpp else 0
                if kind == 1:
                    line[i] = (line[i] + a) & 255
                elif kind == 2:
                    line[i] = (line[i] + b) & 255
                elif kind == 3:
                    line[i] = (line[i] + (a + b) // 2) & 255
                elif kind == 4:
                    p = a + b - c
                    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                    pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                    line[i] = (line[i] + pred) & 255
            rows.append(line)
            prev = line
        self.rows = rows

    def pixel(self, x, y):
        line, i = self.rows[y], x * self.channels
        return tuple(line[i:i + 3])

    def box(self, colour, tolerance=2):
        """The bounding box (left, top, right, bottom) of the pixels near colour, or None."""
        found = None
        for y in range(self.height):
            for x in range(self.width):
                if all(abs(p - q) <= tolerance for p, q in zip(self.pixel(x, y), colour)):
                    if found is None:
                        found = [x, y, x, y]
                    else:
                        found = [min(found[0], x), min(found[1], y), max(found[2], x), max(found[3], y)]
        return tuple(found) if found else None

    def count(self, predicate):
        return sum(1 for y in range(self.height) for x in range(self.width) if predicate(self.pixel(x, y)))
