#!/usr/bin/env python3
"""Builds the preview's toolbar strip and window icon from pixel art.

    mkart.py TOOLBAR.txt ICON.txt OUT.bmp OUT.ico

TOOLBAR.txt holds five 20x20 cells, ICON.txt a 32x32 and a 16x16 image,
each as rows of letters after a '#' heading; blank lines separate images.
Every letter names one colour of the 16-colour palette below; '.' is
transparent (icon only). The strip is written as a 4 bpp BMP with the cells
side by side, the icon as a 4 bpp ICO with AND masks.
"""
import struct
import sys

# The standard 16-colour palette: letter -> (index, (red, green, blue)).
PALETTE = {
    'K': (0, (0, 0, 0)),          # black
    'm': (1, (128, 0, 0)),        # maroon
    'g': (2, (0, 128, 0)),        # green
    'o': (3, (128, 128, 0)),      # olive
    'n': (4, (0, 0, 128)),        # navy
    'p': (5, (128, 0, 128)),      # purple
    't': (6, (0, 128, 128)),      # teal
    'S': (7, (192, 192, 192)),    # silver (light grey)
    'G': (8, (128, 128, 128)),    # grey
    'R': (9, (255, 0, 0)),        # red
    'L': (10, (0, 255, 0)),       # lime
    'Y': (11, (255, 255, 0)),     # yellow
    'B': (12, (0, 0, 255)),       # blue
    'M': (13, (255, 0, 255)),     # magenta
    'C': (14, (0, 255, 255)),     # cyan
    'W': (15, (255, 255, 255)),   # white
}
TRANSPARENT = '.'


def read_images(path):
    """Returns the images of a pixel-art file as lists of equal-length rows."""
    images, rows = [], []
    with open(path, encoding='ascii') as f:
        for line in f:
            line = line.rstrip('\n')
            if line.startswith('#'):
                continue
            if line:
                rows.append(line)
            elif rows:
                images.append(rows)
                rows = []
    if rows:
        images.append(rows)
    for rows in images:
        if any(len(r) != len(rows[0]) for r in rows):
            sys.exit(f'{path}: rows of unequal length')
        bad = set(''.join(rows)) - set(PALETTE) - {TRANSPARENT}
        if bad:
            sys.exit(f'{path}: unknown colour letters {sorted(bad)}')
    return images


def palette_bytes():
    table = bytearray(64)
    for index, (r, g, b) in PALETTE.values():
        table[index * 4:index * 4 + 4] = bytes((b, g, r, 0))
    return bytes(table)


def pad4(data):
    return data + bytes(-len(data) % 4)


def pixels_4bpp(rows):
    """Bottom-up 4 bpp rows, each padded to 4 bytes; '.' becomes index 0."""
    out = bytearray()
    for row in reversed(rows):
        idx = [PALETTE[c][0] if c != TRANSPARENT else 0 for c in row]
        if len(idx) % 2:
            idx.append(0)
        out += pad4(bytes((idx[i] << 4) | idx[i + 1] for i in range(0, len(idx), 2)))
    return bytes(out)


def mask_1bpp(rows):
    """Bottom-up AND mask: 1 where the pixel is transparent."""
    out = bytearray()
    for row in reversed(rows):
        bits = bytearray((len(row) + 7) // 8)
        for x, c in enumerate(row):
            if c == TRANSPARENT:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += pad4(bytes(bits))
    return bytes(out)


def info_header(width, height, image_size):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def write_strip(cells, path):
    if len(cells) != 5 or any(len(c) != 20 or len(c[0]) != 20 for c in cells):
        sys.exit('the toolbar strip needs five 20x20 cells')
    rows = [''.join(cell[y] for cell in cells) for y in range(20)]
    if TRANSPARENT in ''.join(rows):
        sys.exit('the toolbar strip has no transparency')
    bits = pixels_4bpp(rows)
    offset = 14 + 40 + 64
    with open(path, 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset))
        f.write(info_header(len(rows[0]), len(rows), len(bits)))
        f.write(palette_bytes())
        f.write(bits)


def write_icon(images, path):
    if sorted(len(i) for i in images) != [16, 32]:
        sys.exit('the icon needs a 32x32 and a 16x16 image')
    blobs = []
    for rows in images:
        size = len(rows)
        xor, mask = pixels_4bpp(rows), mask_1bpp(rows)
        # An icon's header counts the colour and mask rows together.
        blobs.append(info_header(size, 2 * size, len(xor) + len(mask)) + palette_bytes() + xor + mask)
    offset = 6 + 16 * len(images)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)))
        for rows, blob in zip(images, blobs):
            f.write(struct.pack('<BBBBHHII', len(rows), len(rows), 16, 0, 1, 4, len(blob), offset))
            offset += len(blob)
        for blob in blobs:
            f.write(blob)


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    toolbar_txt, icon_txt, out_bmp, out_ico = sys.argv[1:]
    write_strip(read_images(toolbar_txt), out_bmp)
    write_icon(read_images(icon_txt), out_ico)


if __name__ == '__main__':
    main()
