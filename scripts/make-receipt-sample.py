#!/usr/bin/env python3
"""Writes the byte stream Stampa sends to download one FLASH logo and print it
at the four sizes with label lines; `stampa-vprinter decode` renders it.
Used for the README's sample receipt."""
import math
import sys

W, H = 96, 64                      # dots
stride, bands = (W + 31) // 32 * 4, (H + 7) // 8


def dot(x, y):
    # A ring with a bar: asymmetric, so flips would show.
    r = math.hypot(x - 32, y - 32)
    return (20 <= r <= 30) or (40 <= x <= 92 and 26 <= y <= 38)


data = bytearray(stride * bands * 8)
for x in range(stride * 8):
    for b in range(bands):
        byte = 0
        for j in range(8):
            y = 8 * b + j
            if x < W and y < H and dot(x, y):
                byte |= 0x80 >> j
        data[x * bands + b] = byte

out = bytearray(b"\x1c\x71\x01" + bytes([stride % 256, stride // 256, bands % 256, bands // 256]) + data)
out += b"\x18"
for mode in range(4):
    height = bands * (mode // 2 + 1) * 8
    out += b"=============== LOGO 1\n\n"
    out += bytes([0x1D, 0x5C, height % 256, height // 256, 0x1C, 0x70, 1, mode, 0x0A, 0x0A])
out += b"\x0c"
sys.stdout.buffer.write(out)
