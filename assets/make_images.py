#!/usr/bin/python3
"""Draws the program's icon and window picture.

Writes, next to this script:
  quilvane.ico       three images: 32x32 in 2 colours, 32x32 and 16x16 in 16 colours
  quilvane-16.png, quilvane-32.png   the 16-colour images, for the desktop's icon theme
  quilvane-48.png ... quilvane-256.png   larger sizes, each drawn at its size in full colour
  picture.gif        320x98, GIF89a, one frame, 256-entry colour table, no transparency

Needs Debian's python3-pil and fonts-dejavu-core. The outputs are committed; run this
again only after changing the drawing.
"""
import struct
from pathlib import Path

from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = Path(__file__).resolve().parent
SCALE = 8  # icons are drawn large and reduced, for clean slanted edges
LARGE_SIZES = (48, 64, 128, 256)
GREY = (128, 128, 128)  # the shadow

# The 16 standard VGA colours, the palette of 16-colour icons.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def lerp(a, b, f):
    return (a[0] + (b[0] - a[0]) * f, a[1] + (b[1] - a[1]) * f)


def quad_band(quad, v0, v1):
    """The part of a perspective quad between two fractions of its height."""
    tl, tr, br, bl = quad
    return [lerp(tl, bl, v0), lerp(tr, br, v0), lerp(tr, br, v1), lerp(tl, bl, v1)]


def draw_icon(size, scale=SCALE):
    """A small white window with a cyan title bar, slanted in perspective, with a grey shadow.

    With scale 1 it is drawn without smoothing, in the exact colours only."""
    s = size * scale / 32.0
    img = Image.new("RGBA", (size * scale, size * scale), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    # Left edge nearer the viewer than the right: taller on the left.
    quad = [(4 * s, 5 * s), (26 * s, 8 * s), (26 * s, 25 * s), (4 * s, 28 * s)]
    shadow = [(x + 3 * s, y + 3 * s) for x, y in quad]
    d.polygon(shadow, fill=GREY + (255,))
    d.polygon(quad, fill=(255, 255, 255, 255))
    d.polygon(quad_band(quad, 0.0, 0.24), fill=(0, 255, 255, 255))
    outline = max(1, round(s))
    d.line(quad + [quad[0]], fill=(0, 0, 0, 255), width=outline)
    d.line(quad_band(quad, 0.24, 0.24)[:2], fill=(0, 0, 0, 255), width=outline)
    return img.resize((size, size), Image.LANCZOS)


def to_palette(img, palette):
    """Nearest palette index per pixel, and the transparency mask (True = transparent).

    A two-colour palette cannot hold grey: there the shadow's grey becomes a checkerboard of
    black and white, which reads as grey, instead of all white."""
    w, h = img.size
    px = img.load()
    indices, mask = [], []
    for y in range(h):
        for x in range(w):
            r, g, b, a = px[x, y]
            mask.append(a < 128)
            if len(palette) == 2 and (r, g, b) == GREY and a >= 128:
                indices.append((x + y) % 2)
                continue
            best = min(range(len(palette)),
                       key=lambda i: (palette[i][0] - r) ** 2 + (palette[i][1] - g) ** 2
                       + (palette[i][2] - b) ** 2)
            indices.append(0 if a < 128 else best)
    return indices, mask


def bmp_rows(values, width, height, bits):
    """Bottom-up rows of packed pixels, each padded to four bytes."""
    out = bytearray()
    per_byte = 8 // bits
    stride = ((width * bits + 31) // 32) * 4
    for y in reversed(range(height)):
        row = bytearray(stride)
        for x in range(width):
            v = values[y * width + x]
            shift = 8 - bits * (x % per_byte + 1)
            row[x // per_byte] |= (v & ((1 << bits) - 1)) << shift
        out += row
    return bytes(out)


def ico_image(img, palette, bits):
    w, h = img.size
    indices, mask = to_palette(img, palette)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + colours + bmp_rows(indices, w, h, bits) + bmp_rows(
        [1 if m else 0 for m in mask], w, h, 1)


def write_ico(path, entries):
    data = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    blobs = []
    for img, palette, bits in entries:
        blob = ico_image(img, palette, bits)
        w, h = img.size
        data += struct.pack("<BBBBHHII", w % 256, h % 256, len(palette) % 256, 0, 1, bits,
                            len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    path.write_bytes(data + b"".join(blobs))


def quantized_rgba(img, palette):
    indices, mask = to_palette(img, palette)
    out = Image.new("RGBA", img.size)
    out.putdata([(0, 0, 0, 0) if m else palette[i] + (255,) for i, m in zip(indices, mask)])
    return out


def make_icons():
    big, small = draw_icon(32), draw_icon(16)
    mono = [(0, 0, 0), (255, 255, 255)]
    # The two-colour image is drawn unsmoothed, so that only the shadow is grey.
    write_ico(HERE / "quilvane.ico", [(draw_icon(32, 1), mono, 1), (big, VGA16, 4), (small, VGA16, 4)])
    quantized_rgba(big, VGA16).save(HERE / "quilvane-32.png")
    quantized_rgba(small, VGA16).save(HERE / "quilvane-16.png")
    # The desktop's larger sizes, each drawn at its own size in full colour.
    for size in LARGE_SIZES:
        draw_icon(size).save(HERE / f"quilvane-{size}.png", optimize=True)


def vertical_gradient(draw, box, top, bottom):
    x0, y0, x1, y1 = box
    for y in range(y0, y1):
        f = (y - y0) / max(1, y1 - y0 - 1)
        draw.line([(x0, y), (x1 - 1, y)], fill=tuple(round(a + (b - a) * f) for a, b in zip(top, bottom)))


def make_picture():
    w, h = 320, 98
    img = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(img)
    # Panel: near-white at the top to mid-grey at the bottom.
    vertical_gradient(d, (0, 0, w, h), (250, 250, 250), (150, 150, 152))

    # The tile: glossy light grey above, a salmon stripe over a dark-red band below.
    tile = 103
    vertical_gradient(d, (0, 0, tile, 66), (238, 238, 240), (196, 196, 200))
    gloss = Image.new("L", (w, h), 0)
    ImageDraw.Draw(gloss).ellipse((8, 4, 84, 36), fill=150)
    gloss = gloss.filter(ImageFilter.GaussianBlur(7))
    img.paste((255, 255, 255), (0, 0), gloss)
    d.rectangle((0, 66, tile - 1, 68), fill=(250, 128, 114))
    vertical_gradient(d, (0, 69, tile, h), (150, 22, 22), (84, 0, 0))
    # The character 日, drawn as strokes.
    d.rectangle((77, 41, 85, 50), outline=(0, 0, 0))
    d.line([(78, 45), (84, 45)], fill=(0, 0, 0))
    # Soft grey shadow down the tile's right edge.
    for i in range(7):
        shade = 1.0 - 0.09 * (7 - i)
        for y in range(h):
            r, g, b = img.getpixel((tile + i, y))
            img.putpixel((tile + i, y), (round(r * shade), round(g * shade), round(b * shade)))

    # Slate blue-grey tab with a slanted left edge along the top right.
    d.polygon([(209, 18), (219, 0), (318, 0), (318, 18)], fill=(96, 112, 136))

    # Orange letters VS, fitted into about 207..236 by 43..61.
    font = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", 25)
    left, top, right, bottom = d.textbbox((0, 0), "VS", font=font)
    letters = Image.new("L", (right - left, bottom - top), 0)
    ImageDraw.Draw(letters).text((-left, -top), "VS", font=font, fill=255)
    letters = letters.resize((30, 19), Image.LANCZOS)
    img.paste((255, 136, 0), (207, 43), letters)

    pal = img.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = pal.getpalette()[:768]
    palette += [0] * (768 - len(palette))
    pal.putpalette(palette)
    pal.save(HERE / "picture.gif", format="GIF", interlace=False, optimize=False,
             comment=b"Quilvane")


if __name__ == "__main__":
    make_icons()
    make_picture()
