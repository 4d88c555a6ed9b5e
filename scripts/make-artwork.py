#!/usr/bin/env python3
"""Draws Brisling's artwork and writes the BMP and ICO files the resource scripts reference.

Standard library only: shapes are signed-distance functions painted with analytic anti-aliasing,
letters are round-capped strokes, and the files are written byte by byte. The outputs are
committed, so the build never runs this; run it again after changing a picture:

    scripts/make-artwork.py            # writes src/res/art/*.bmp|ico and lang/*/*.bmp

Palette-mode variants: the three picture files share one palette of their own (so realising any
of them leaves the others' colours intact); button pictures use only the 20 colours a palette
display always has, because LoadBitmap maps them onto the system palette anyway.
"""

import math
import os
import struct
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
ART = os.path.join(ROOT, "src", "res", "art")
LANG = os.path.join(ROOT, "lang")
# The words on the EXIT/STOP button in each language module.
BUTTON_WORDS = {"en": {"exit": "EXIT", "stop": "STOP"}, "de": {"exit": "ENDE", "stop": "STOPP"}}

# The panel's background in each display mode; pictures sit on it seamlessly.
BG_HIGH_COLOR = (180, 171, 206)
BG_PALETTE = (192, 220, 192)
# Lamp corners: halfway between the two backgrounds, so the dot looks right on both.
BG_LAMP = (186, 196, 199)

# The colours every palette display keeps reserved (the system palette's static entries).
STATIC_COLORS = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (192, 220, 192), (166, 202, 240),
    (255, 251, 240), (160, 160, 164), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# The standard 16-colour palette of 4-bit icons.
VGA_COLORS = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

PICTURE_PALETTE_SIZE = 236  # what a palette display leaves free beside its static colours


# ---------------------------------------------------------------------------------------------
# Shapes: (distance function, bounding box). Negative distance inside, in pixels.

class Shape:
    def __init__(self, fn, box):
        self.fn = fn
        self.box = box  # (x0, y0, x1, y1), may be loose

    def grow(self, amount):
        f = self.fn
        x0, y0, x1, y1 = self.box
        return Shape(lambda x, y: f(x, y) - amount, (x0 - amount, y0 - amount, x1 + amount, y1 + amount))

    def ring(self, width):
        f = self.fn
        x0, y0, x1, y1 = self.box
        w = width / 2.0
        return Shape(lambda x, y: abs(f(x, y)) - w, (x0 - w, y0 - w, x1 + w, y1 + w))

    def moved(self, dx, dy):
        f = self.fn
        x0, y0, x1, y1 = self.box
        return Shape(lambda x, y: f(x - dx, y - dy), (x0 + dx, y0 + dy, x1 + dx, y1 + dy))

    def __or__(self, other):
        f, g = self.fn, other.fn
        a, b = self.box, other.box
        return Shape(lambda x, y: min(f(x, y), g(x, y)),
                     (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3])))

    def __and__(self, other):
        f, g = self.fn, other.fn
        a, b = self.box, other.box
        return Shape(lambda x, y: max(f(x, y), g(x, y)),
                     (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3])))

    def __sub__(self, other):
        f, g = self.fn, other.fn
        return Shape(lambda x, y: max(f(x, y), -g(x, y)), self.box)


def rbox(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def fn(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return Shape(fn, (x0, y0, x1, y1))


def ellipse(cx, cy, rx, ry=None):
    ry = rx if ry is None else ry
    if rx == ry:
        return Shape(lambda x, y: math.hypot(x - cx, y - cy) - rx, (cx - rx, cy - ry, cx + rx, cy + ry))

    def fn(x, y):
        px, py = (x - cx) / rx, (y - cy) / ry
        k0 = math.hypot(px, py)
        k1 = math.hypot(px / rx, py / ry)
        if k1 == 0:
            return -min(rx, ry)
        return k0 * (k0 - 1.0) / k1
    return Shape(fn, (cx - rx, cy - ry, cx + rx, cy + ry))


def _segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def strokes(polylines, width):
    """Round-capped strokes along polylines."""
    segments = []
    for line in polylines:
        for i in range(len(line) - 1):
            segments.append((line[i][0], line[i][1], line[i + 1][0], line[i + 1][1]))
    w = width / 2.0
    xs = [p[0] for line in polylines for p in line]
    ys = [p[1] for line in polylines for p in line]

    def fn(x, y):
        return min(_segment_distance(x, y, *s) for s in segments) - w
    return Shape(fn, (min(xs) - w, min(ys) - w, max(xs) + w, max(ys) + w))


def polygon(points):
    n = len(points)

    def fn(x, y):
        best = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            best = min(best, _segment_distance(x, y, ax, ay, bx, by))
            if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
                inside = not inside
        return -best if inside else best
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(fn, (min(xs), min(ys), max(xs), max(ys)))


def arc(cx, cy, rx, ry, a0, a1, steps=24):
    """Points along an ellipse arc; angles in degrees, counter-clockwise as seen on screen."""
    out = []
    for i in range(steps + 1):
        a = math.radians(a0 + (a1 - a0) * i / steps)
        out.append((cx + rx * math.cos(a), cy - ry * math.sin(a)))
    return out


# ---------------------------------------------------------------------------------------------
# Colour helpers.

def mix(c0, c1, t):
    t = max(0.0, min(1.0, t))
    return tuple(c0[i] + (c1[i] - c0[i]) * t for i in range(3))


def shade(c, k):
    """k < 0 darkens toward black, k > 0 lightens toward white."""
    return mix(c, (0, 0, 0), -k) if k < 0 else mix(c, (255, 255, 255), k)


def vertical(y0, c0, y1, c1):
    return lambda x, y: mix(c0, c1, (y - y0) / float(y1 - y0))


def linear(x0, y0, c0, x1, y1, c1):
    dx, dy = x1 - x0, y1 - y0
    length2 = float(dx * dx + dy * dy)
    return lambda x, y: mix(c0, c1, ((x - x0) * dx + (y - y0) * dy) / length2)


def radial(cx, cy, r, c0, c1):
    return lambda x, y: mix(c0, c1, math.hypot(x - cx, y - cy) / r)


# ---------------------------------------------------------------------------------------------
# Canvas with premultiplied colour and coverage.

class Canvas:
    def __init__(self, w, h, background=None):
        self.w, self.h = w, h
        if background is None:
            self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]
        else:
            self.px = [[float(background[0]), float(background[1]), float(background[2]), 1.0]
                       for _ in range(w * h)]

    def paint(self, shape, color, soft=1.0, opacity=1.0):
        x0, y0, x1, y1 = shape.box
        pad = soft + 1
        xa, xb = max(0, int(math.floor(x0 - pad))), min(self.w, int(math.ceil(x1 + pad)))
        ya, yb = max(0, int(math.floor(y0 - pad))), min(self.h, int(math.ceil(y1 + pad)))
        fn = shape.fn
        flat = not callable(color)
        for y in range(ya, yb):
            py = y + 0.5
            row = y * self.w
            for x in range(xa, xb):
                d = fn(x + 0.5, py)
                cover = 0.5 - d / soft
                if cover <= 0:
                    continue
                a = min(cover, 1.0) * opacity
                c = color if flat else color(x + 0.5, py)
                p = self.px[row + x]
                k = 1.0 - a
                p[0] = c[0] * a + p[0] * k
                p[1] = c[1] * a + p[1] * k
                p[2] = c[2] * a + p[2] * k
                p[3] = a + p[3] * k

    def shadow(self, shape, blur, opacity, color=(20, 18, 40)):
        self.paint(shape, color, soft=blur, opacity=opacity)

    def rgb(self, background):
        out = []
        for p in self.px:
            k = 1.0 - p[3]
            out.append(tuple(int(round(max(0.0, min(255.0, p[i] + background[i] * k)))) for i in range(3)))
        return out

    def rgba(self):
        """Unpremultiplied colour and coverage, for icons."""
        out = []
        for p in self.px:
            if p[3] <= 1e-6:
                out.append((0, 0, 0, 0.0))
            else:
                out.append(tuple(int(round(max(0.0, min(255.0, p[i] / p[3])))) for i in range(3)) + (p[3],))
        return out


# ---------------------------------------------------------------------------------------------
# Letters: a small geometric sans in units of the cap height (x right, y down).

def _glyphs():
    g = {}
    g["E"] = (0.56, [[(0.56, 0), (0, 0), (0, 1), (0.56, 1)], [(0, 0.5), (0.46, 0.5)]])
    g["X"] = (0.62, [[(0, 0), (0.62, 1)], [(0.62, 0), (0, 1)]])
    g["I"] = (0.0, [[(0, 0), (0, 1)]])
    g["T"] = (0.64, [[(0, 0), (0.64, 0)], [(0.32, 0), (0.32, 1)]])
    g["S"] = (0.58, [arc(0.29, 0.25, 0.29, 0.25, 28, 270) + arc(0.29, 0.75, 0.29, 0.25, 90, -152)[1:]])
    g["O"] = (0.7, [arc(0.35, 0.5, 0.35, 0.5, 0, 360, 48)])
    bowl = [(0, 1), (0, 0), (0.28, 0)] + arc(0.28, 0.26, 0.26, 0.26, 90, -90, 16)[1:] + [(0, 0.52)]
    g["P"] = (0.54, [bowl])
    g["R"] = (0.56, [bowl, [(0.26, 0.52), (0.56, 1)]])
    g["K"] = (0.58, [[(0, 0), (0, 1)], [(0.58, 0), (0, 0.62)], [(0.2, 0.46), (0.58, 1)]])
    g["L"] = (0.5, [[(0, 0), (0, 1), (0.5, 1)]])
    g["N"] = (0.62, [[(0, 1), (0, 0), (0.62, 1), (0.62, 0)]])
    g["D"] = (0.62, [[(0, 1), (0, 0), (0.26, 0)] + arc(0.26, 0.5, 0.36, 0.5, 90, -90)[1:] + [(0, 1)]])
    return g


GLYPHS = _glyphs()


def text_polylines(text, cap, tracking):
    lines = []
    x = 0.0
    for i, ch in enumerate(text):
        advance, polys = GLYPHS[ch]
        for poly in polys:
            lines.append([(x + px * cap, py * cap) for px, py in poly])
        x += advance * cap
        if i + 1 < len(text):
            x += tracking
    return lines, x


def text_shape(text, left, top, cap, weight, tracking):
    lines, _ = text_polylines(text, cap, tracking)
    return strokes([[(left + x, top + y) for x, y in line] for line in lines], weight)


def text_width(text, cap, tracking):
    return text_polylines(text, cap, tracking)[1]


# ---------------------------------------------------------------------------------------------
# Pictures.

def photo_scene(cv, x0, y0, x1, y1, safe=False):
    """A small landscape photograph: sky, sun, hills, a lake. The safe variant keeps to colours
    whose nearest static colour is still sky, grass and water, for displays that cannot realise
    the picture's own palette."""
    w, h = x1 - x0, y1 - y0
    frame = rbox(x0, y0, x1, y1, 0.6)
    sky = (vertical(y0, (140, 190, 238), y0 + h * 0.6, (190, 222, 248)) if safe
           else vertical(y0, (70, 130, 220), y0 + h * 0.6, (175, 215, 245)))
    cv.paint(frame, sky)
    cv.paint(ellipse(x0 + w * 0.72, y0 + h * 0.3, h * 0.13), (255, 214, 90))
    back = polygon([(x0, y0 + h * 0.62), (x0 + w * 0.28, y0 + h * 0.28), (x0 + w * 0.5, y0 + h * 0.55),
                    (x0 + w * 0.66, y0 + h * 0.4), (x1, y0 + h * 0.66), (x1, y1), (x0, y1)]) & frame
    cv.paint(back, vertical(y0 + h * 0.3, (150, 152, 168), y1, (112, 116, 132)) if safe
             else vertical(y0 + h * 0.3, (120, 132, 176), y1, (80, 96, 140)))
    snow = polygon([(x0 + w * 0.28, y0 + h * 0.28), (x0 + w * 0.35, y0 + h * 0.38), (x0 + w * 0.3, y0 + h * 0.36),
                    (x0 + w * 0.25, y0 + h * 0.4), (x0 + w * 0.21, y0 + h * 0.37)])
    cv.paint(snow, (245, 248, 255))
    hills = (ellipse(x0 + w * 0.2, y1 + h * 0.18, w * 0.55, h * 0.5) |
             ellipse(x0 + w * 0.85, y1 + h * 0.25, w * 0.5, h * 0.48)) & frame
    cv.paint(hills, vertical(y0 + h * 0.55, (40, 150, 40), y1, (10, 110, 20)) if safe
             else vertical(y0 + h * 0.55, (110, 190, 80), y1, (40, 120, 50)))
    lake = ellipse(x0 + w * 0.62, y1 - h * 0.1, w * 0.2, h * 0.07) & frame
    cv.paint(lake, (150, 196, 240) if safe else (90, 150, 220))


def draw_printer(bg, safe=False):
    cv = Canvas(150, 136, bg)
    # ground shadow
    cv.shadow(ellipse(75, 117, 64, 9), 7, 0.35)
    # paper tray and the sheet waiting in it
    cv.paint(rbox(32, 26, 118, 50, 5), vertical(26, (150, 152, 170), 50, (110, 112, 132)))
    cv.paint(rbox(32, 26, 118, 50, 5).ring(1.0), (70, 72, 92))
    cv.paint(rbox(44, 10, 106, 44, 1.5), vertical(10, (255, 255, 255), 44, (222, 224, 232)))
    cv.paint(rbox(44, 10, 106, 44, 1.5).ring(0.8), (150, 150, 168))
    # body
    body = rbox(12, 38, 138, 110, 12)
    cv.shadow(body.moved(0, 3), 4, 0.35)
    cv.paint(body, vertical(38, (250, 250, 253), 110, (188, 190, 206)))
    cv.paint(rbox(14, 39, 136, 60, 11) & body, (255, 255, 255), opacity=0.35)
    cv.paint(body.ring(1.4), (72, 74, 96))
    # control strip: display and buttons
    lcd = rbox(22, 48, 52, 64, 3)
    cv.paint(lcd.grow(1.2), (90, 92, 112))
    cv.paint(lcd, vertical(48, (90, 200, 205), 64, (30, 120, 140)))
    cv.paint(rbox(24, 50, 50, 55, 2), (255, 255, 255), opacity=0.25)
    cv.paint(ellipse(61, 56, 4.2), radial(60, 55, 5, (140, 230, 120), (30, 140, 40)))
    cv.paint(ellipse(61, 56, 4.2).ring(1.0), (50, 70, 50))
    cv.paint(ellipse(73, 56, 4.2), radial(72, 55, 5, (250, 250, 252), (150, 152, 168)))
    cv.paint(ellipse(73, 56, 4.2).ring(1.0), (80, 82, 100))
    # memory card slot with a card half inserted
    cv.paint(rbox(94, 49, 128, 55, 2.5), (36, 38, 52))
    cv.shadow(rbox(101, 52, 121, 70, 1.5).moved(1, 2), 2.5, 0.4)
    card = polygon([(101, 52), (121, 52), (121, 70), (105, 70), (101, 66)])
    cv.paint(card, vertical(52, (70, 120, 230), 70, (30, 60, 170)))
    cv.paint(rbox(104, 61, 118, 67, 1), (250, 180, 60))
    cv.paint(card.ring(0.9), (20, 30, 80))
    cv.paint(ellipse(131, 52, 1.8), (110, 240, 110))
    # output slot
    cv.paint(rbox(20, 74, 130, 90, 6), vertical(74, (170, 172, 190), 90, (215, 217, 228)))
    cv.paint(rbox(28, 80, 122, 85, 2.5), (34, 36, 50))
    # the print coming out
    cv.shadow(rbox(38, 84, 112, 130, 1).moved(1, 3), 3.5, 0.45)
    cv.paint(rbox(38, 83, 112, 130, 1.2), (252, 252, 255))
    cv.paint(rbox(38, 83, 112, 130, 1.2).ring(0.9), (150, 150, 170))
    photo_scene(cv, 43, 88, 107, 125, safe)
    cv.paint(rbox(38, 83, 112, 88, 0), (0, 0, 0), opacity=0.12)
    return cv


def draw_monitor(bg, safe=False):
    cv = Canvas(194, 175, bg)
    cv.shadow(ellipse(97, 163, 66, 8), 6, 0.35)
    # stand
    # neutral greys on the palette variant, so they stay grey when mapped to few colours
    metal = ((132, 132, 136), (84, 84, 88)) if safe else ((120, 122, 140), (70, 72, 88))
    cv.paint(polygon([(84, 124), (110, 124), (114, 152), (80, 152)]), linear(80, 0, metal[0], 114, 0, metal[1]))
    base = rbox(52, 148, 142, 162, 7)
    cv.paint(base, vertical(148, (160, 160, 164), 162, (96, 96, 100)) if safe
             else vertical(148, (150, 152, 170), 162, (80, 82, 100)))
    cv.paint(base.ring(1.2), (50, 52, 66))
    # bezel
    bezel = rbox(8, 8, 186, 132, 9)
    cv.shadow(bezel.moved(0, 3), 5, 0.4)
    cv.paint(bezel, vertical(8, (100, 100, 104), 132, (36, 36, 40)) if safe
             else vertical(8, (92, 96, 112), 132, (36, 38, 48)))
    cv.paint(bezel.ring(1.4), (24, 24, 32))
    cv.paint(rbox(10, 9, 184, 20, 8) & bezel, (255, 255, 255), opacity=0.12)
    # screen with a photograph
    cv.paint(rbox(16, 16, 178, 120, 2).grow(1), (14, 14, 20))
    photo_scene(cv, 16, 16, 178, 120, safe)
    glare = polygon([(16, 16), (92, 16), (40, 120), (16, 120)]) & rbox(16, 16, 178, 120, 2)
    cv.paint(glare, (255, 255, 255), opacity=0.12)
    # power lamp and maker's dot
    cv.paint(ellipse(172, 126, 2), (120, 240, 120))
    cv.paint(rbox(88, 124, 106, 127, 1.5), (150, 152, 170), opacity=0.8)
    return cv


def draw_logo(bg, safe=False):
    cv = Canvas(144, 23, bg)
    plate = rbox(0.5, 0.5, 143.5, 22.5, 6)
    cv.paint(plate, vertical(0, (52, 66, 138), 23, (22, 28, 76)))
    cv.paint(rbox(2, 1.5, 142, 9, 5) & plate, (255, 255, 255), opacity=0.16)
    cv.paint(plate.ring(1.0), (14, 16, 48))
    # the maker's emblem: a bird in flight
    wings = arc(11.2, 13.6, 5.0, 5.4, 172, 28, 12) + arc(20.8, 13.6, 5.0, 5.4, 152, 8, 12)[1:]
    bird = strokes([wings], 2.2)
    cv.shadow(bird.moved(0.6, 0.8), 1.2, 0.5, (0, 0, 20))
    cv.paint(bird, vertical(8, (255, 210, 100), 15, (236, 120, 30)))
    # letters
    cap, weight, tracking = 11.0, 2.3, 5.0
    width = text_width("KESTREL", cap, tracking)
    left = 28 + (112 - width) / 2.0
    shape = text_shape("KESTREL", left, 6, cap, weight, tracking)
    cv.shadow(shape.moved(0.6, 0.8), 1.2, 0.5, (0, 0, 20))
    cv.paint(shape, vertical(6, (255, 255, 255), 17, (206, 214, 240)))
    return cv


def draw_lamp(lit):
    cv = Canvas(9, 9, BG_LAMP)
    dot = ellipse(4.5, 4.5, 4.1)
    if lit:
        cv.paint(dot, radial(3.6, 3.4, 5.2, (255, 252, 190), (236, 178, 16)))
        cv.paint(dot.ring(0.9), (150, 104, 0))
    else:
        cv.paint(dot, radial(3.6, 3.4, 5.2, (176, 178, 186), (96, 98, 108)))
        cv.paint(dot.ring(0.9), (62, 64, 74))
    cv.paint(ellipse(3.4, 3.2, 1.2), (255, 255, 255), opacity=0.75)
    return cv


# Buttons. "flat" draws with plain colours for the palette-display variants.

def button_face(cv, box_shape, pressed, face_top, face_bottom, outline, flat):
    if flat:
        cv.paint(box_shape, face_bottom if pressed else face_top)
    else:
        x0, y0, x1, y1 = box_shape.box
        top, bottom = (shade(face_bottom, -0.05), shade(face_top, -0.08)) if pressed else (face_top, face_bottom)
        cv.paint(box_shape, vertical(y0, top, y1, bottom))
    x0, y0, x1, y1 = box_shape.box
    if pressed:
        # pushed in: shadow along the top and left inside edge
        inner = box_shape.grow(-1.6)
        cv.paint(box_shape - inner.moved(1.4, 1.4), (128, 128, 128) if flat else (40, 40, 60),
                 opacity=0.55 if not flat else 1.0)
    else:
        inner = box_shape.grow(-1.6)
        cv.paint(box_shape.grow(-1.0) - inner.moved(1.2, 1.2), (255, 255, 255), opacity=0.8 if not flat else 1.0)
        cv.paint(box_shape.grow(-1.0) - inner.moved(-1.2, -1.2), (128, 128, 128) if flat else (90, 92, 112),
                 opacity=0.6 if not flat else 1.0)
    cv.paint(box_shape.ring(1.3), outline)


def draw_copy_button(pressed, bg, flat):
    cv = Canvas(48, 48, bg)
    face = rbox(0.5, 0.5, 46.5, 46.5, 8)
    if flat:
        button_face(cv, face, pressed, (192, 192, 192), (160, 160, 164), (0, 0, 0), True)
    else:
        button_face(cv, face, pressed, (244, 246, 252), (190, 196, 220), (52, 56, 92), False)
    d = 1 if pressed else 0
    # memory card
    card = polygon([(6 + d, 14 + d), (17 + d, 14 + d), (17 + d, 31 + d), (9 + d, 31 + d), (6 + d, 28 + d)])
    cv.paint(card, (0, 0, 255) if flat else vertical(14, (80, 130, 240), 31, (30, 60, 170)))
    cv.paint(rbox(8 + d, 24 + d, 15 + d, 29 + d, 0.8), (255, 255, 0) if flat else (250, 186, 64))
    cv.paint(card.ring(1.0), (0, 0, 128) if flat else (16, 24, 80))
    # PC monitor
    screen = rbox(29 + d, 12 + d, 43 + d, 26 + d, 1.5)
    cv.paint(rbox(34 + d, 26 + d, 38 + d, 31 + d, 0), (128, 128, 128) if flat else (100, 102, 120))
    cv.paint(rbox(30 + d, 30 + d, 42 + d, 33 + d, 1.2), (0, 0, 0) if flat else (64, 66, 82))
    cv.paint(screen.grow(1.2), (0, 0, 0) if flat else (40, 42, 54))
    cv.paint(screen, (0, 255, 255) if flat else vertical(12, (140, 200, 250), 26, (60, 120, 210)))
    cv.paint(rbox(32 + d, 21 + d, 40 + d, 26 + d, 0) & screen, (0, 128, 0) if flat else (70, 160, 80))
    # arrow from card to PC
    arrow = polygon([(17 + d, 20 + d), (22 + d, 20 + d), (22 + d, 16 + d), (29 + d, 22.5 + d),
                     (22 + d, 29 + d), (22 + d, 25 + d), (17 + d, 25 + d)])
    if not flat:
        cv.shadow(arrow.moved(0.6, 0.8), 1.2, 0.35)
    cv.paint(arrow, (0, 128, 0) if flat else vertical(16, (120, 210, 90), 29, (30, 130, 40)))
    cv.paint(arrow.ring(0.9), (0, 0, 0) if flat else (20, 70, 20))
    return cv


def draw_word_button(word, stop, pressed, bg, flat):
    cv = Canvas(95, 47, bg)
    face = rbox(0.5, 0.5, 94.5, 46.5, 9)
    if flat:
        top = (255, 0, 0) if stop else (192, 192, 192)
        bottom = (128, 0, 0) if stop else (160, 160, 164)
        button_face(cv, face, pressed, top, bottom, (0, 0, 0), True)
        ink = (255, 255, 255) if stop else (0, 0, 0)
    else:
        top = (238, 92, 76) if stop else (244, 246, 252)
        bottom = (168, 28, 32) if stop else (186, 192, 218)
        button_face(cv, face, pressed, top, bottom, (90, 14, 16) if stop else (52, 56, 92), False)
        ink = (255, 255, 255) if stop else (36, 40, 80)
    d = 1 if pressed else 0
    cap, weight = 16.0, 3.4
    icon_w, gap = 14, 7
    # A long word closes up its letters rather than crowd the button's edges.
    tracking = min(4.2, (80 - icon_w - gap - text_width(word, cap, 0)) / max(1, len(word) - 1))
    width = icon_w + gap + text_width(word, cap, tracking)
    left = (95 - width) / 2.0 + d
    top_y = (47 - cap) / 2.0 + d
    if stop:
        icon = rbox(left, top_y + 1, left + icon_w, top_y + 1 + icon_w, 2.5)
        cv.paint(icon, ink)
    else:
        # a door with an arrow leaving it
        door = rbox(left, top_y, left + 9, top_y + cap, 1)
        cv.paint(door.ring(2.0), ink)
        cv.paint(strokes([[(left + 5, top_y + cap / 2), (left + icon_w + 1, top_y + cap / 2)]], 2.4), ink)
        head = polygon([(left + icon_w + 4, top_y + cap / 2), (left + icon_w - 1, top_y + cap / 2 - 5),
                        (left + icon_w - 1, top_y + cap / 2 + 5)])
        cv.paint(head, ink)
    shape = text_shape(word, left + icon_w + gap, top_y, cap, weight, tracking)
    if not flat:
        glow = (255, 255, 255) if not stop else (90, 10, 10)
        cv.paint(shape.moved(0.7, 0.9), glow, soft=1.2, opacity=0.45)
    cv.paint(shape, ink)
    return cv


# ---------------------------------------------------------------------------------------------
# Icons: crisp shapes in the 16 standard colours (4-bit images), smoother at 256 colours.

def icon_document(s, cv):
    k = s / 32.0
    page = polygon([(6 * k, 1.5 * k), (20 * k, 1.5 * k), (27 * k, 8.5 * k), (27 * k, 30.5 * k), (6 * k, 30.5 * k)])
    cv.paint(page, (255, 255, 255))
    fold = polygon([(20 * k, 1.5 * k), (27 * k, 8.5 * k), (20 * k, 8.5 * k)])
    cv.paint(fold, (192, 192, 192))
    pic = rbox(9 * k, 11 * k, 24 * k, 24 * k, 0)
    cv.paint(pic, (0, 255, 255))
    cv.paint(ellipse(20 * k, 14.5 * k, 2 * k), (255, 255, 0))
    cv.paint(polygon([(9 * k, 24 * k), (9 * k, 20 * k), (14 * k, 16 * k), (18 * k, 20 * k), (24 * k, 18 * k),
                      (24 * k, 24 * k)]), (0, 128, 0))
    cv.paint(pic.grow(-0.6 * max(1.0, k)).ring(1.25 * max(1.0, k)), (0, 0, 128))
    cv.paint(strokes([[(9 * k, 27 * k), (24 * k, 27 * k)]], 1.0 * k), (128, 128, 128))
    cv.paint(page.grow(-0.6 * max(1.0, k)).ring(1.25 * max(1.0, k)), (0, 0, 0))
    cv.paint(strokes([[(20 * k, 1.5 * k), (20 * k, 8.5 * k), (27 * k, 8.5 * k)]], 1.0 * k), (0, 0, 0))


def icon_folder(s, cv, rich=False):
    k = s / 32.0
    back = polygon([(2 * k, 6 * k), (11 * k, 6 * k), (14 * k, 9 * k), (29 * k, 9 * k), (29 * k, 27 * k), (2 * k, 27 * k)])
    cv.paint(back, vertical(6 * k, (200, 160, 40), 27 * k, (150, 110, 10)) if rich else (128, 128, 0))
    cv.paint(back.grow(-0.6 * max(1.0, k)).ring(1.25 * max(1.0, k)), (0, 0, 0))
    front = polygon([(2 * k, 27 * k), (5 * k, 13 * k), (31 * k, 13 * k), (28 * k, 27 * k)])
    cv.paint(front, vertical(13 * k, (255, 232, 120), 27 * k, (236, 180, 40)) if rich else (255, 255, 0))
    cv.paint(front.grow(-0.6 * max(1.0, k)).ring(1.25 * max(1.0, k)), (0, 0, 0) if not rich else (90, 60, 0))


def icon_up_arrow(s, cv, rich=False):
    k = s / 32.0
    arrow = polygon([(21 * k, 4 * k), (28.5 * k, 12.5 * k), (24 * k, 12.5 * k), (24 * k, 24 * k),
                     (18 * k, 24 * k), (18 * k, 12.5 * k), (13.5 * k, 12.5 * k)])
    cv.paint(arrow, vertical(4 * k, (120, 220, 90), 24 * k, (20, 120, 30)) if rich else (0, 128, 0))
    cv.paint(arrow.grow(-0.6 * max(1.0, k)).ring(1.25 * max(1.0, k)), (0, 0, 0) if not rich else (10, 50, 10))


def icon_main(s, cv):
    k = s / 32.0
    cv.paint(rbox(8 * k, 2 * k, 24 * k, 12 * k, 0), (255, 255, 255))
    cv.paint(rbox(8 * k, 2 * k, 24 * k, 12 * k, 0).grow(-0.6 * max(1.0, k)).ring(1.25 * max(1.0, k)), (0, 0, 0))
    body = rbox(2 * k, 10 * k, 30 * k, 24 * k, 2 * k)
    cv.paint(body, (192, 192, 192))
    cv.paint(rbox(3 * k, 11 * k, 29 * k, 14 * k, 0), (255, 255, 255))
    cv.paint(body.grow(-0.6 * max(1.0, k)).ring(1.25 * max(1.0, k)), (0, 0, 0))
    cv.paint(rbox(5 * k, 15 * k, 12 * k, 19 * k, 0), (0, 128, 128))
    cv.paint(rbox(20 * k, 15 * k, 28 * k, 17 * k, 0), (0, 0, 0))
    cv.paint(rbox(22 * k, 17 * k, 26 * k, 20 * k, 0), (0, 0, 255))
    cv.paint(rbox(6 * k, 20.5 * k, 26 * k, 22.5 * k, 0), (0, 0, 0))
    photo = rbox(8 * k, 21 * k, 24 * k, 31 * k, 0)
    cv.paint(photo, (255, 255, 255))
    cv.paint(rbox(10 * k, 23 * k, 22 * k, 29 * k, 0), (0, 255, 255))
    cv.paint(polygon([(10 * k, 29 * k), (10 * k, 27 * k), (14 * k, 24.5 * k), (18 * k, 27.5 * k), (22 * k, 26 * k),
                      (22 * k, 29 * k)]), (0, 128, 0))
    cv.paint(photo.grow(-0.6 * max(1.0, k)).ring(1.25 * max(1.0, k)), (0, 0, 0))


def render_icon(draw, size, rich=False):
    cv = Canvas(size, size)
    if rich:
        draw(size, cv, True)
    else:
        draw(size, cv)
    return cv.rgba()


# ---------------------------------------------------------------------------------------------
# Colour reduction.

def nearest_index(palette, cache):
    def find(c):
        hit = cache.get(c)
        if hit is None:
            best, hit = None, 0
            for i, p in enumerate(palette):
                dr, dg, db = c[0] - p[0], c[1] - p[1], c[2] - p[2]
                dist = 3 * dr * dr + 4 * dg * dg + 2 * db * db
                if best is None or dist < best:
                    best, hit = dist, i
            cache[c] = hit
        return hit
    return find


def median_cut(counts, size, keep):
    """A palette of at most size colours for the weighted colour counts, keep included exactly."""
    boxes = [list(counts.items())]
    while len(boxes) < size - len(keep):
        best, best_i, best_ch = -1, -1, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for ch in range(3):
                values = [c[ch] for c, _ in box]
                spread = (max(values) - min(values)) * math.sqrt(sum(n for _, n in box))
                if spread > best:
                    best, best_i, best_ch = spread, i, ch
        if best_i < 0:
            break
        box = sorted(boxes.pop(best_i), key=lambda item: item[0][best_ch])
        total = sum(n for _, n in box)
        run, cut = 0, 1
        for j, (_, n) in enumerate(box):
            run += n
            if run * 2 >= total:
                cut = max(1, min(len(box) - 1, j + 1))
                break
        boxes += [box[:cut], box[cut:]]
    palette = list(keep)
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(int(round(sum(c[ch] * n for c, n in box) / total)) for ch in range(3)))
    return palette


# ---------------------------------------------------------------------------------------------
# File writers.

def bmp_bytes(w, h, bits, rows, palette=None, clr_used=0):
    row_bytes = (w * bits + 31) // 32 * 4
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = rows[y]
        data += row
        data += b"\0" * (row_bytes - len(row))
    table = b""
    if palette is not None:
        table = b"".join(struct.pack("<BBBB", c[2], c[1], c[0], 0) for c in palette)
    off = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", off + len(data), 0, 0, off)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(data), 2835, 2835, clr_used, 0)
    return header + info + table + bytes(data)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    print("wrote", os.path.relpath(path, ROOT))


def write_bmp24(path, cv, bg):
    pixels = cv.rgb(bg)
    rows = [b"".join(struct.pack("BBB", p[2], p[1], p[0]) for p in pixels[y * cv.w:(y + 1) * cv.w])
            for y in range(cv.h)]
    write(path, bmp_bytes(cv.w, cv.h, 24, rows))


def write_bmp8(path, w, h, indexes, palette, clr_used):
    rows = [bytes(indexes[y * w:(y + 1) * w]) for y in range(h)]
    write(path, bmp_bytes(w, h, 8, rows, palette, clr_used))


def write_bmp8_static(path, cv, bg):
    """An 8-bit picture in the palette display's static colours (256-entry table)."""
    find = nearest_index(STATIC_COLORS, {})
    indexes = [find(p) for p in cv.rgb(bg)]
    palette = STATIC_COLORS + [(0, 0, 0)] * (256 - len(STATIC_COLORS))
    write_bmp8(path, cv.w, cv.h, indexes, palette, 0)


def ico_image(size, rgba, bits):
    """One icon image: BITMAPINFOHEADER (double height), colour table, XOR bits, AND mask."""
    if bits == 4:
        palette = VGA_COLORS
    else:
        counts = {}
        for r, g, b, a in rgba:
            if a >= 0.5:
                counts[(r, g, b)] = counts.get((r, g, b), 0) + 1
        palette = median_cut(counts, 256, [(0, 0, 0)]) if counts else [(0, 0, 0)]
        palette += [(0, 0, 0)] * (256 - len(palette))
    find = nearest_index(palette, {})
    xor_rows, and_rows = [], []
    for y in range(size):
        line = rgba[y * size:(y + 1) * size]
        idx = [find(p[:3]) if p[3] >= 0.5 else 0 for p in line]
        if bits == 4:
            xor = bytes((idx[i] << 4) | idx[i + 1] for i in range(0, size, 2))
        else:
            xor = bytes(idx)
        mask = bytearray((size + 31) // 32 * 4)
        for x, p in enumerate(line):
            if p[3] < 0.5:
                mask[x // 8] |= 0x80 >> (x % 8)
        xor_rows.append(xor + b"\0" * ((size * bits + 31) // 32 * 4 - len(xor)))
        and_rows.append(bytes(mask))
    body = b"".join(reversed(xor_rows)) + b"".join(reversed(and_rows))
    table = b"".join(struct.pack("<BBBB", c[2], c[1], c[0], 0) for c in palette)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(body), 0, 0, 0, 0)
    return info + table + body


def write_ico(path, images):
    """images: list of (size, bits, rgba)."""
    blobs = [ico_image(size, rgba, bits) for size, bits, rgba in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, bits, _), blob in zip(images, blobs):
        colors = 16 if bits == 4 else 0
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colors, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    write(path, out + b"".join(blobs))


# ---------------------------------------------------------------------------------------------

def main():
    # Pictures: 24-bit resources on the high-colour background, 8-bit files on the palette one.
    pictures = [("printer", draw_printer), ("monitor", draw_monitor), ("logo", draw_logo)]
    files8 = {"printer": "printer_8bit.bmp", "monitor": "monitor_8bit.bmp", "logo": "kestrel_8bit.bmp"}
    for name, draw in pictures:
        write_bmp24(os.path.join(ART, name + "24.bmp"), draw(BG_HIGH_COLOR), BG_HIGH_COLOR)

    drawn8 = [(name, draw(BG_PALETTE, safe=True)) for name, draw in pictures]
    counts = {}
    for _, cv in drawn8:
        for p in cv.rgb(BG_PALETTE):
            counts[p] = counts.get(p, 0) + 1
    # Exact neutral greys, so that no grey area picks up a tint from a merged colour box.
    greys = [(v, v, v + 4 if 0 < v < 250 else v) for v in (0, 36, 64, 100, 128, 160, 192, 224, 255)]
    shared = median_cut(counts, PICTURE_PALETTE_SIZE, [BG_PALETTE] + greys)
    find = nearest_index(shared, {})
    for name, cv in drawn8:
        indexes = [find(p) for p in cv.rgb(BG_PALETTE)]
        write_bmp8(os.path.join(ART, files8[name]), cv.w, cv.h, indexes, shared, len(shared))

    write_bmp24(os.path.join(ART, "lamp_lit.bmp"), draw_lamp(True), BG_LAMP)
    write_bmp24(os.path.join(ART, "lamp_dark.bmp"), draw_lamp(False), BG_LAMP)

    for pressed, suffix in ((False, "u"), (True, "d")):
        write_bmp24(os.path.join(ART, "copy%s24.bmp" % suffix),
                    draw_copy_button(pressed, BG_HIGH_COLOR, False), BG_HIGH_COLOR)
        write_bmp8_static(os.path.join(ART, "copy%s.bmp" % suffix),
                          draw_copy_button(pressed, BG_PALETTE, True), BG_PALETTE)

    for language, words in BUTTON_WORDS.items():
        for base, word in words.items():
            stop = base == "stop"
            for pressed, suffix in ((False, ""), (True, "_down")):
                write_bmp24(os.path.join(LANG, language, "%s24%s.bmp" % (base, suffix)),
                            draw_word_button(word, stop, pressed, BG_HIGH_COLOR, False), BG_HIGH_COLOR)
                write_bmp8_static(os.path.join(LANG, language, "%s8%s.bmp" % (base, suffix)),
                                  draw_word_button(word, stop, pressed, BG_PALETTE, True), BG_PALETTE)

    write_ico(os.path.join(ART, "main.ico"), [(32, 4, render_icon(icon_main, 32))])
    write_ico(os.path.join(ART, "file.ico"), [(32, 4, render_icon(icon_document, 32))])
    write_ico(os.path.join(ART, "folder.ico"), [(32, 4, render_icon(icon_folder, 32))])

    def parent(size, cv, rich=False):
        icon_folder(size, cv, rich)
        icon_up_arrow(size, cv, rich)
    write_ico(os.path.join(ART, "parent.ico"), [(32, 4, render_icon(parent, 32)),
                                                (16, 4, render_icon(parent, 16)),
                                                (48, 8, render_icon(parent, 48, rich=True))])
    return 0


if __name__ == "__main__":
    sys.exit(main())
