#!/usr/bin/python3
# Draws Morvane's application icon: writes morvane.svg (the scalable icon, also the source of the
# PNGs from 32 px up) and morvane-small.svg (a bolder drawing for 16 to 24 px, where two Chinese
# characters would melt into grey), then renders every hicolor PNG size from them.
#
# The characters are taken from Noto Sans CJK as outlines, so the SVG looks the same whatever
# fonts the user has. Needs python3-fonttools, fonts-noto-cjk and rsvg-convert (librsvg2-bin).
# Run it from anywhere: ./packaging/icons/make_icons.py
import pathlib
import subprocess

from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTCollection

HERE = pathlib.Path(__file__).resolve().parent
FONT = "/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc"
FONT_NAME = "Noto Sans CJK SC Bold"
SIZES_SMALL = (16, 22, 24)
SIZES_LARGE = (32, 48, 64, 128, 256)

BLUE = "#1d64b8"   # Simplified
RED = "#c62f2a"    # Traditional
PAGE = "#fbfbf8"
EDGE = "#4d5966"
FOLD = "#d5dae0"


def load_font():
    for font in TTCollection(FONT).fonts:
        if font["name"].getDebugName(4) == FONT_NAME:
            return font
    raise SystemExit(f"{FONT_NAME} not found in {FONT}")


def glyph_path(font, char, x, y, size):
    """Outline of char scaled to fit a size x size box at (x, y), centred in it."""
    glyphs = font.getGlyphSet()
    name = font.getBestCmap()[ord(char)]
    bounds = BoundsPen(glyphs)
    glyphs[name].draw(bounds)
    x0, y0, x1, y1 = bounds.bounds
    scale = size / max(x1 - x0, y1 - y0)
    dx = x + (size - (x1 - x0) * scale) / 2 - x0 * scale
    dy = y + (size - (y1 - y0) * scale) / 2 + y1 * scale
    pen = SVGPathPen(glyphs, ntos=lambda v: f"{v:.2f}".rstrip("0").rstrip("."))
    glyphs[name].draw(TransformPen(pen, (scale, 0, 0, -scale, dx, dy)))
    return pen.getCommands()


def page(x0, y0, x1, y1, fold, stroke):
    """A sheet of paper with its top right corner turned down."""
    half = stroke / 2
    outline = (f"M{x0 + half},{y0 + half} H{x1 - fold} L{x1 - half},{y0 + fold} "
               f"V{y1 - half} H{x0 + half} Z")
    flap = f"M{x1 - fold},{y0 + half} V{y0 + fold} H{x1 - half} Z"
    return (f'  <path d="{outline}" fill="{PAGE}" stroke="{EDGE}" stroke-width="{stroke}" '
            f'stroke-linejoin="round"/>\n'
            f'  <path d="{flap}" fill="{FOLD}" stroke="{EDGE}" stroke-width="{stroke}" '
            f'stroke-linejoin="round"/>\n')


def large_svg(font):
    # 128 units: a page with 简 (blue) above and 繁 (red) below, a two-way arrow between them.
    body = page(16, 6, 112, 122, 26, 4)
    body += f'  <path d="{glyph_path(font, "简", 24, 16, 50)}" fill="{BLUE}"/>\n'
    body += f'  <path d="{glyph_path(font, "繁", 54, 64, 50)}" fill="{RED}"/>\n'
    # Two-way arrow in the free lower-left corner: 简 <-> 繁.
    body += (f'  <path d="M30,82 V104 H46" fill="none" stroke="{EDGE}" stroke-width="6" '
             f'stroke-linecap="round" stroke-linejoin="round"/>\n'
             f'  <path d="M21,84 L30,72 L39,84 Z M44,95 L56,104 L44,113 Z" fill="{EDGE}"/>\n')
    return wrap(128, body)


def small_svg(font):
    # 16 units, drawn on the pixel grid: one bold 繁 on a page, a blue band for its partner.
    body = page(1, 0, 15, 16, 4, 1)
    body += f'  <rect x="3" y="3" width="7" height="2" fill="{BLUE}"/>\n'
    body += f'  <path d="{glyph_path(font, "繁", 3, 6, 9)}" fill="{RED}"/>\n'
    return wrap(16, body)


def wrap(units, body):
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<!-- Morvane: a page whose Simplified and Traditional Chinese text convert into '
            f'each other. Written by make_icons.py. -->\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" width="{units}" height="{units}" '
            f'viewBox="0 0 {units} {units}">\n{body}</svg>\n')


def render(svg, size):
    target = HERE / f"{size}x{size}" / "morvane.png"
    target.parent.mkdir(exist_ok=True)
    subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), "-o", str(target),
                    str(svg)], check=True)


def main():
    font = load_font()
    large = HERE / "morvane.svg"
    small = HERE / "morvane-small.svg"
    large.write_text(large_svg(font), encoding="utf-8")
    small.write_text(small_svg(font), encoding="utf-8")
    for size in SIZES_SMALL:
        render(small, size)
    for size in SIZES_LARGE:
        render(large, size)


if __name__ == "__main__":
    main()
