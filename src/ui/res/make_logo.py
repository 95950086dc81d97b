#!/usr/bin/env python3
"""Draws the About window's logo (119 x 32, RGBA) into logo.png beside this script.

A white rounded square holding a pair of braces, and "KOVA" in white strokes, on a
transparent background; the About window lays it over its blue banner. Shapes are
sampled 4 x 4 times per pixel for smooth edges. Standard library only.
"""
import math
import os
import struct
import zlib

WIDTH, HEIGHT = 119, 32
SAMPLES = 4
BLUE = (0, 122, 204)
WHITE = (255, 255, 255)


def segment_distance(px, py, x1, y1, x2, y2):
    dx, dy = x2 - x1, y2 - y1
    t = max(0.0, min(1.0, ((px - x1) * dx + (py - y1) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (x1 + t * dx), py - (y1 + t * dy))


def on_polyline(px, py, points, half_width):
    return any(segment_distance(px, py, *a, *b) <= half_width for a, b in zip(points, points[1:]))


def in_rounded_square(px, py, left, top, size, radius):
    cx = min(max(px, left + radius), left + size - radius)
    cy = min(max(py, top + radius), top + size - radius)
    return left <= px <= left + size and top <= py <= top + size and math.hypot(px - cx, py - cy) <= radius


LEFT_BRACE = [(14.5, 6.5), (12, 7.2), (11, 9), (11, 13.5), (8.5, 16), (11, 18.5), (11, 23), (12, 24.8), (14.5, 25.5)]
RIGHT_BRACE = [(32 - x, y) for x, y in LEFT_BRACE]

# "KOVA": strokes in a 14 x 20 cell per letter.
TOP, BOTTOM = 6, 26
LETTERS = {
    "K": [[(0, TOP), (0, BOTTOM)], [(12, TOP), (1, 17)], [(4.5, 13.5), (12.5, BOTTOM)]],
    "V": [[(0, TOP), (7, BOTTOM)], [(14, TOP), (7, BOTTOM)]],
    "A": [[(0, BOTTOM), (7, TOP)], [(14, BOTTOM), (7, TOP)], [(3.2, 19.5), (10.8, 19.5)]],
}
LETTER_X = [41, 59, 79, 99]  # left edge of each letter cell
STROKE = 1.6  # half width


def in_letter_o(px, py, left):
    cx, cy, rx, ry = left + 7.5, (TOP + BOTTOM) / 2, 7.5, (BOTTOM - TOP) / 2
    r = math.hypot((px - cx) / rx, (py - cy) / ry)
    # Ring thickness measured along the radius, roughly the stroke width.
    return abs(r - 1) * min(rx, ry) <= STROKE


def in_text(px, py):
    for letter, left in zip("KOVA", LETTER_X):
        if letter == "O":
            if in_letter_o(px, py, left):
                return True
            continue
        for stroke in LETTERS[letter]:
            points = [(left + x, y) for x, y in stroke]
            if on_polyline(px, py, points, STROKE):
                return True
    return False


def pixel(x, y):
    square = braces = text = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            px, py = x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES
            if in_rounded_square(px, py, 0.5, 0.5, 31, 6):
                square += 1
                if on_polyline(px, py, LEFT_BRACE, 1.2) or on_polyline(px, py, RIGHT_BRACE, 1.2):
                    braces += 1
            elif in_text(px, py):
                text += 1
    n = SAMPLES * SAMPLES
    if square:
        # Inside the square: white with blue braces, alpha from the square's edge.
        f = braces / square
        colour = tuple(round(w + (b - w) * f) for w, b in zip(WHITE, BLUE))
        return colour + (round(255 * square / n),)
    return WHITE + (round(255 * text / n),)


def png_bytes(rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in rows)
    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def main():
    rows = [[pixel(x, y) for x in range(WIDTH)] for y in range(HEIGHT)]
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "logo.png")
    with open(path, "wb") as f:
        f.write(png_bytes(rows))


if __name__ == "__main__":
    main()
