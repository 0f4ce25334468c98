#!/usr/bin/env bash
# Writes the small test images of the image decoders into images/, together with the
# RGBA (or RGB, for JPEG) bytes that ImageMagick decodes from each of them. The tests
# compare our decoders with these dumps, so ImageMagick is needed only here.
#   usage: tests/lice_image/make-test-images.sh
set -euo pipefail
cd "$(dirname "$0")/images"

# PNGs of every colour type and bit depth, written by hand (Python's zlib) so that each
# file has exactly the layout it is named after.
python3 - <<'PY'
import random, struct, zlib

W, H = 13, 9  # odd sizes: partial bytes at low bit depths, all seven interlace passes

def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

def pack_row(samples, depth):
    if depth == 8:
        return bytes(samples)
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    out, acc, bits = bytearray(), 0, 0
    for s in samples:
        acc = (acc << depth) | s
        bits += depth
        if bits == 8:
            out.append(acc); acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)

ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]

def write_png(name, color_type, depth, pixels, channels, plte=None, trns=None, interlace=False):
    # pixels[y][x] is a tuple of `channels` samples
    raw = bytearray()
    passes = ADAM7 if interlace else [(0, 0, 1, 1)]
    for x0, y0, dx, dy in passes:
        xs = list(range(x0, W, dx))
        if not xs:
            continue
        for y in range(y0, H, dy):
            samples = [s for x in xs for s in pixels[y][x]]
            raw.append(0)  # filter type none; zlib still has to do the work
            raw += pack_row(samples, depth)
    ihdr = struct.pack(">IIBBBBB", W, H, depth, color_type, 0, 0, 1 if interlace else 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
    if plte is not None:
        data += chunk(b"PLTE", bytes(c for rgb in plte for c in rgb))
    if trns is not None:
        data += chunk(b"tRNS", trns)
    data += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(name, "wb") as f:
        f.write(data)

rnd = random.Random(20261207)

def sample(depth):
    return rnd.randrange(1 << depth)

def wide(hi):
    # A 16-bit sample whose low byte differs from its high byte (but for 255), and which
    # dropping the low byte, rounding and ImageMagick's reduction all map to `hi`.
    lo = min(255, hi + rnd.randrange(1, 101))
    return (hi << 8) | lo

def image(channels, depth):
    return [[tuple(sample(depth) for _ in range(channels)) for x in range(W)] for y in range(H)]

def image16(channels, alpha=False):
    # ImageMagick reduces 16-bit alpha by rounding up, so alpha samples repeat their high byte.
    def px():
        s = [wide(sample(8)) for _ in range(channels)]
        if alpha:
            s[-1] = (s[-1] >> 8) * 257
        return tuple(s)
    return [[px() for x in range(W)] for y in range(H)]

for d in (1, 2, 4, 8):
    write_png(f"gray{d}.png", 0, d, image(1, d), 1)
write_png("gray16.png", 0, 16, image16(1), 1)
write_png("gray_alpha8.png", 4, 8, image(2, 8), 2)
write_png("gray_alpha16.png", 4, 16, image16(2, alpha=True), 2)
write_png("rgb8.png", 2, 8, image(3, 8), 3)
write_png("rgb16.png", 2, 16, image16(3), 3)
write_png("rgba8.png", 6, 8, image(4, 8), 4)
write_png("rgba16.png", 6, 16, image16(4, alpha=True), 4)

# Transparency chunks: a key colour that some pixels match exactly.
img = image(1, 2)
img[0][0] = img[3][5] = (1,)
write_png("gray2_trns.png", 0, 2, img, 1, trns=struct.pack(">H", 1))
img = image(1, 8)
img[1][1] = img[4][7] = (77,)
write_png("gray8_trns.png", 0, 8, img, 1, trns=struct.pack(">H", 77))
img = image(3, 8)
img[0][2] = img[8][12] = (10, 200, 30)
img[2][2] = (10, 200, 31)  # one step away: stays opaque
write_png("rgb8_trns.png", 2, 8, img, 3, trns=struct.pack(">HHH", 10, 200, 30))
img = image16(3)
key = (0x1234, 0xABCD, 0x00FF)
img[0][0] = img[5][6] = key
img[1][0] = (0x1234, 0xABCD, 0x00FE)  # same high bytes, other low byte: stays opaque
write_png("rgb16_trns.png", 2, 16, img, 3, trns=struct.pack(">HHH", *key))

# Palettes, with and without transparency (the tRNS list may be shorter than the palette).
for d in (1, 2, 4, 8):
    n = min(1 << d, 200)
    pal = [(rnd.randrange(256), rnd.randrange(256), rnd.randrange(256)) for _ in range(n)]
    img = [[(rnd.randrange(n),) for x in range(W)] for y in range(H)]
    write_png(f"palette{d}.png", 3, d, img, 1, plte=pal)
    alphas = bytes(rnd.randrange(256) for _ in range(max(1, n - 1)))
    write_png(f"palette{d}_trns.png", 3, d, img, 1, plte=pal, trns=alphas)

# Interlaced files of several kinds.
write_png("rgba8_interlaced.png", 6, 8, image(4, 8), 4, interlace=True)
write_png("gray1_interlaced.png", 0, 1, image(1, 1), 1, interlace=True)
write_png("rgb16_interlaced.png", 2, 16, image16(3), 3, interlace=True)
pal = [(rnd.randrange(256), rnd.randrange(256), rnd.randrange(256)) for _ in range(16)]
img = [[(rnd.randrange(16),) for x in range(W)] for y in range(H)]
write_png("palette4_trns_interlaced.png", 3, 4, img, 1, plte=pal, trns=bytes(range(0, 256, 23)))
PY

for f in *.png; do
  convert "$f" -depth 8 "rgba:${f%.png}.rgba"
done

# JPEGs: colour (4:2:0 and 4:4:4), progressive, grayscale and CMYK.
convert -size 24x17 -seed 7 plasma:fractal -quality 90 -sampling-factor 2x2 color.jpg
convert -size 24x17 -seed 8 plasma:fractal -quality 95 -sampling-factor 1x1 color444.jpg
convert -size 24x17 -seed 9 plasma:fractal -quality 85 -interlace JPEG progressive.jpg
convert -size 24x17 -seed 10 plasma:fractal -colorspace Gray -quality 90 gray.jpg
convert -size 16x8 -seed 11 plasma:fractal -colorspace CMYK -quality 90 cmyk.jpg
for f in color color444 progressive gray; do
  convert "$f.jpg" -depth 8 "rgb:$f.rgb"
done
ls -l

# Cut and short files for the failure paths.
head -c 7 rgba8.png > short.bin
head -c 560 color.jpg > color_cut.jpg
