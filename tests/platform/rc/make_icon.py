#!/usr/bin/env python3
# Writes rctest.ico: one 16x16 image, 32 bits per pixel, a blue square on a yellow ground.
import struct

W = H = 16
pixels = bytearray()
for y in range(H):  # bottom-up rows, BGRA
    for x in range(W):
        inside = 4 <= x < 12 and 4 <= y < 12
        pixels += bytes((200, 60, 20, 255)) if inside else bytes((30, 220, 250, 255))
mask = bytes(4 * H)  # AND mask: 16 bits a row, padded to 32
header = struct.pack('<IiiHHIIiiII', 40, W, 2 * H, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
image = header + bytes(pixels) + mask
icondir = struct.pack('<HHH', 0, 1, 1)
entry = struct.pack('<BBBBHHII', W, H, 0, 0, 1, 32, len(image), 6 + 16)
with open('rctest.ico', 'wb') as f:
    f.write(icondir + entry + image)
