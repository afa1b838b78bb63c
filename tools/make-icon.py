#!/usr/bin/env python3
"""Draws PemConv's icon (a page of text with an arrow into a folder) and writes app/pemconv.ico.

The icon is generated rather than drawn by hand so that it can be rebuilt from this file:
tools/make-icon.py > app/pemconv.ico
"""
import struct
import sys

PAGE = (255, 255, 255, 255)
EDGE = (60, 60, 60, 255)
TEXT = (70, 110, 200, 255)
FOLDER = (240, 190, 60, 255)
FOLDER_EDGE = (170, 120, 20, 255)
ARROW = (200, 40, 40, 255)
CLEAR = (0, 0, 0, 0)


def draw(size):
    s = size / 32.0
    pixels = [[CLEAR] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, fill, edge=None):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                on_edge = edge and (x in (int(x0 * s), int(x1 * s) - 1) or
                                    y in (int(y0 * s), int(y1 * s) - 1))
                pixels[y][x] = edge if on_edge else fill

    rect(3, 2, 19, 24, PAGE, EDGE)
    for line in range(5):
        rect(6, 6 + line * 3.5, 16, 7.5 + line * 3.5, TEXT)
    rect(14, 19, 30, 30, FOLDER, FOLDER_EDGE)
    rect(14, 16, 21, 19.5, FOLDER, FOLDER_EDGE)
    rect(20, 8, 23, 16, ARROW)
    for step in range(4):
        rect(17.5 + step, 13 + step, 25.5 - step, 14 + step, ARROW)
    return pixels


def image(size):
    pixels = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(pixels):
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (mask_row * 8 - 1 - x)
        mask += bits.to_bytes(mask_row, 'big')
    return header + colour + mask


def icon(sizes):
    images = [image(size) for size in sizes]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, body in zip(sizes, images):
        data += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    return data + b''.join(images)


sys.stdout.buffer.write(icon([16, 32, 48]))
