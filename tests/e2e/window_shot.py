#!/usr/bin/env python3
"""Looks at a screenshot (binary PPM) of a compositor's output with one window on its wallpaper.
  window_shot.py window <shot.ppm>            the window's box: "x y width height"
  window_shot.py dark <shot.ppm> x y w h      how many pixels in the box are dark (text, lines)
The window is what is grey or white; the wallpaper of a bare GNOME compositor is blue.
The pointer's arrow, grey too, is too small to count."""
import sys


def read(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit("not an 8-bit binary PPM")
    return int(fields[1]), int(fields[2]), data[pos + 1:]


def pixel(image, x, y):
    width, _, pixels = image
    i = (y * width + x) * 3
    return pixels[i], pixels[i + 1], pixels[i + 2]


def greyish(rgb):
    return max(rgb) - min(rgb) < 30 and max(rgb) > 60


def window(image):
    # The rows and columns that are grey for more than 100 pixels: the pointer's arrow is not.
    width, height, _ = image
    rows = [y for y in range(height) if sum(greyish(pixel(image, x, y)) for x in range(0, width, 4)) > 25]
    if not rows:
        sys.exit("no window in the picture")
    top, bottom = rows[0], rows[-1]
    columns = [x for x in range(width) if sum(greyish(pixel(image, x, y)) for y in range(top, bottom + 1, 4)) > 25]
    left, right = columns[0], columns[-1]
    return left, top, right - left + 1, bottom - top + 1


def dark(image, x, y, w, h):
    return sum(1 for j in range(y, y + h) for i in range(x, x + w) if max(pixel(image, i, j)) < 100)


if __name__ == "__main__":
    shot = read(sys.argv[2])
    if sys.argv[1] == "window":
        print(*window(shot))
    else:
        print(dark(shot, *map(int, sys.argv[3:7])))
