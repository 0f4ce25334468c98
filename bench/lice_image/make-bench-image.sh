#!/usr/bin/env bash
# Writes knob_strip.png, the image of the PNG decoding benchmark: a 78 x 5070 RGBA film
# strip of 65 knob frames (shaded disc, soft shadow, a pointer turning from frame to
# frame), saved by ImageMagick with its usual PNG filters, like real artwork.
#   usage: bench/lice_image/make-bench-image.sh
set -euo pipefail
cd "$(dirname "$0")"
python3 - <<'PY' | convert -size 78x5070 -depth 8 rgba:- -define png:exclude-chunk=all png32:knob_strip.png
import math, sys
W, F = 78, 65
out = bytearray()
for f in range(F):
    angle = -2.4 + 4.8 * f / (F - 1)
    px, py = math.sin(angle), -math.cos(angle)
    for y in range(W):
        for x in range(W):
            dx, dy = x + 0.5 - 39, y + 0.5 - 39
            d = math.hypot(dx, dy)
            disc = min(1.0, max(0.0, 33.0 - d))              # antialiased edge
            shadow = max(0.0, min(1.0, (37.0 - math.hypot(dx - 2, dy - 3)) / 5)) * 0.45
            shade = 0.55 + 0.45 * (-(dx + dy) / (1.5 * 33))  # light from the top left
            r = g = b = max(0.0, min(1.0, shade)) * 200
            # pointer: distance from the segment centre -> 28 px along the angle
            t = max(0.0, min(28.0, dx * px + dy * py))
            pd = math.hypot(dx - t * px, dy - t * py)
            p = min(1.0, max(0.0, 2.0 - pd)) * (1 if d < 31 else 0)
            r = r * (1 - p) + 240 * p
            g = g * (1 - p) + 120 * p
            b = b * (1 - p) + 30 * p
            a = disc + shadow * (1 - disc)
            if a == 0:
                r = g = b = 0
            out += bytes((int(r), int(g), int(b), int(round(a * 255))))
sys.stdout.buffer.write(out)
PY
ls -l knob_strip.png
