#!/usr/bin/env python3
"""Draws the component's own small pictures and writes them into its folders.

    XMLData/companyIcon.bmp   logo at the headline's right edge
    XMLData/RXD214.bmp        picture of the RXD 214 model
    XMLData/RXD218.bmp        picture of the RXD 218 model
    Resources/mw.ico          warning icon of the window-limit page
    Resources/Comm0.ico       still communication icon of the method analysis
    Resources/Comm1.ico ...   its animation frames 1 to 4
    Resources/Comm4.ico

Standard library only; the output is the same on every run.
Usage: python3 scripts/make_pictures.py [component folder]
"""
import os
import struct
import sys

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
BLUE = (30, 70, 150)
GREY = (150, 150, 150)
STEEL = (200, 205, 210)
YELLOW = (250, 200, 20)
RED = (200, 30, 30)


def canvas(width, height, colour):
    return [[colour for _ in range(width)] for _ in range(height)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(max(y0, 0), min(y1, len(img))):
        for x in range(max(x0, 0), min(x1, len(img[0]))):
            img[y][x] = colour


def ellipse(img, cx, cy, rx, ry, colour):
    for y in range(len(img)):
        for x in range(len(img[0])):
            if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0:
                img[y][x] = colour


def bmp_bytes(img):
    """24-bit bottom-up BMP."""
    height, width = len(img), len(img[0])
    row_size = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(img):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (row_size - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + bytes(pixels)


def ico_bytes(img, transparent):
    """One 32-bit entry: a BMP without file header, height doubled, with an AND mask."""
    height, width = len(img), len(img[0])
    xor = bytearray()
    for row in reversed(img):
        for colour in row:
            r, g, b = colour
            xor += bytes((b, g, r, 0 if colour == transparent else 255))
    mask_row = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(img):
        bits = bytearray(mask_row)
        for x, colour in enumerate(row):
            if colour == transparent:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def logo():
    img = canvas(48, 32, WHITE)
    ellipse(img, 15, 15, 12, 12, BLUE)
    ellipse(img, 15, 15, 6, 6, WHITE)
    rect(img, 30, 6, 44, 10, BLUE)
    rect(img, 30, 14, 44, 18, GREY)
    rect(img, 30, 22, 44, 26, BLUE)
    return img


def meter(flanges):
    """A flow meter: pipe with flanges and the converter head on top."""
    img = canvas(64, 48, WHITE)
    rect(img, 4, 32, 60, 40, GREY)
    for x in flanges:
        rect(img, x, 28, x + 4, 44, BLACK)
    rect(img, 22, 8, 42, 30, STEEL)
    rect(img, 26, 12, 38, 20, BLUE)
    rect(img, 30, 30, 34, 32, BLACK)
    return img


def warning():
    img = canvas(32, 32, WHITE)
    for y in range(3, 29):
        half = (y - 3) * 14 // 26
        rect(img, 16 - half - 1, y, 16 + half + 1, y + 1, YELLOW)
    rect(img, 15, 10, 17, 21, RED)
    rect(img, 15, 23, 17, 26, RED)
    return img


def communication(frame):
    # Two stations and the link between them; frame n lights the n-th of four
    # dots travelling from left to right (0: none lit).
    img = canvas(32, 32, WHITE)
    rect(img, 1, 10, 8, 22, STEEL)
    rect(img, 24, 10, 31, 22, STEEL)
    rect(img, 8, 15, 24, 17, GREY)
    for n in range(1, 5):
        x = 6 + 4 * n
        rect(img, x - 1, 14, x + 1, 18, BLUE if n == frame else GREY)
    return img


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    files = {
        os.path.join("XMLData", "companyIcon.bmp"): bmp_bytes(logo()),
        os.path.join("XMLData", "RXD214.bmp"): bmp_bytes(meter([4, 56])),
        os.path.join("XMLData", "RXD218.bmp"): bmp_bytes(meter([4, 12, 48, 56])),
        os.path.join("Resources", "mw.ico"): ico_bytes(warning(), WHITE),
    }
    for frame in range(5):
        files[os.path.join("Resources", "Comm%d.ico" % frame)] = ico_bytes(communication(frame), WHITE)
    for name, data in files.items():
        path = os.path.join(root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(data)
        print(name, len(data), "bytes")


if __name__ == "__main__":
    main()
