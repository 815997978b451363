#!/usr/bin/python3
"""Makes the GIF test fixtures in tests/data/gif/ with Pillow and ImageMagick.

Each NAME.gif with more than one frame gets NAME.coalesced.rgba: ImageMagick's
`-coalesce` frames as 8-bit RGBA, one frame after another at the logical screen size.
The outputs are committed; run this again only to change them:
    tests/html_image/make_gif_fixtures.py
"""

import os
import subprocess
import sys
import tempfile

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "data", "gif")
CONVERT = "/usr/bin/convert"  # ImageMagick 6


def palette_image(size, palette, draw):
    """A P-mode image: palette is a list of RGB tuples, draw(x, y) gives the index."""
    im = Image.new("P", size)
    flat = [c for rgb in palette for c in rgb]
    im.putpalette(flat + [0] * (768 - len(flat)))
    im.putdata([draw(x, y) for y in range(size[1]) for x in range(size[0])])
    return im


def pil_fixtures():
    pal = [(0, 0, 0), (255, 0, 0), (0, 200, 0), (0, 0, 255), (250, 250, 0), (90, 90, 90)]

    # Every disposal method, with transparency (index 0) on a 12 x 10 screen; Pillow
    # crops frames to what changed, which gives frames smaller than the screen.
    def square(ix, x0, y0, w, h):
        return lambda x, y: ix if x0 <= x < x0 + w and y0 <= y < y0 + h else 0
    frames = [
        palette_image((12, 10), pal, lambda x, y: 5 if (x + y) % 3 else 4),
        palette_image((12, 10), pal, square(1, 2, 2, 5, 4)),
        palette_image((12, 10), pal, square(2, 6, 3, 4, 5)),
        palette_image((12, 10), pal, square(3, 1, 5, 6, 3)),
        palette_image((12, 10), pal, square(4, 0, 0, 3, 3)),
    ]
    frames[0].save(os.path.join(OUT, "pil_disposals.gif"), save_all=True,
                   append_images=frames[1:], duration=[100, 40, 60, 80, 30], loop=2,
                   disposal=[1, 2, 3, 0, 1], transparency=0, optimize=False)

    # Interlaced (Pillow interlaces images of 16 pixels and more), 3 frames, loop forever.
    frames = [palette_image((21, 19), pal, lambda x, y, k=k: (x * 3 + y * 5 + k) % 6)
              for k in range(3)]
    frames[0].save(os.path.join(OUT, "pil_interlaced.gif"), save_all=True,
                   append_images=frames[1:], duration=50, loop=0, interlace=True,
                   optimize=False)

    # A different palette for each frame: local colour tables.
    frames = []
    for k in range(3):
        p = [((k * 80 + i * 37) % 256, (i * 53) % 256, (200 - k * 60 + i * 11) % 256)
             for i in range(16)]
        frames.append(palette_image((9, 7), p, lambda x, y: (x + 2 * y) % 16))
    frames[0].save(os.path.join(OUT, "pil_local_tables.gif"), save_all=True,
                   append_images=frames[1:], duration=[20, 30, 40], optimize=False)

    # One frame only.
    palette_image((5, 4), pal, lambda x, y: (x + y) % 6).save(
        os.path.join(OUT, "pil_single.gif"))


def run(*args):
    subprocess.run([CONVERT, *args], check=True)


def im_fixtures(tmp):
    # Frames as PNG with alpha, placed at offsets with -page; one disposal method each.
    def png(name, size, fill, holes=()):
        im = Image.new("RGBA", size, fill)
        for (x, y) in holes:
            im.putpixel((x, y), (0, 0, 0, 0))
        path = os.path.join(tmp, name)
        im.save(path)
        return path

    base = png("base.png", (14, 11), (30, 60, 90, 255))
    a = png("a.png", (6, 5), (220, 20, 20, 255), holes=[(1, 1), (2, 1), (4, 3)])
    b = png("b.png", (5, 6), (20, 220, 20, 255), holes=[(0, 0), (3, 2)])
    c = png("c.png", (7, 3), (240, 240, 0, 255), holes=[(6, 2)])
    d = png("d.png", (4, 4), (20, 20, 230, 255))
    run("-delay", "7", "-dispose", "None", "-page", "14x11+0+0", base,
        "-dispose", "Previous", "-page", "14x11+2+1", a,
        "-dispose", "Background", "-page", "14x11+6+4", b,
        "-dispose", "None", "-page", "14x11+1+7", c,
        "-dispose", "Previous", "-page", "14x11+9+0", d,
        "-loop", "3", os.path.join(OUT, "im_dispose_mix.gif"))

    # Interlaced, and frames that overhang the logical screen.
    run("-delay", "5", "-size", "17x16", "gradient:red-blue", "-size", "17x16", "gradient:green-yellow",
        "-colors", "32", "-interlace", "GIF", "-loop", "0",
        os.path.join(OUT, "im_interlaced.gif"))
    small = png("small.png", (10, 8), (30, 60, 90, 255))
    e = png("e.png", (8, 6), (200, 100, 50, 255))
    run("-delay", "4", "-dispose", "None", "-page", "10x8+0+0", small, "-page", "10x8+6+5", e,
        "-dispose", "Background", "-page", "10x8+3+0", d,
        os.path.join(OUT, "im_overhang.gif"))


def coalesce_references():
    for name in sorted(os.listdir(OUT)):
        if not name.endswith(".gif"):
            continue
        path = os.path.join(OUT, name)
        frames = int(subprocess.run(["/usr/bin/identify", "-format", "%n\n", path],
                                    check=True, capture_output=True,
                                    text=True).stdout.split()[0])
        if frames > 1:
            run(path, "-coalesce", "-depth", "8", "RGBA:" + path[:-4] + ".coalesced.rgba")


def main():
    os.makedirs(OUT, exist_ok=True)
    pil_fixtures()
    with tempfile.TemporaryDirectory() as tmp:
        im_fixtures(tmp)
    coalesce_references()
    return 0


if __name__ == "__main__":
    sys.exit(main())
