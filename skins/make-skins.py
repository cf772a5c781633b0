#!/usr/bin/env python3
"""Draws the player's shipped skins and writes each as a skin folder.

    make-skins.py OUTPUT_FOLDER

Every skin is drawn here from plain shapes and the title's letters
(anti-aliased by 4 x 4 supersampling) with one geometry and a palette per
skin, so the click areas, bar tracks and texts of the INI files always match
the pictures. Standard library only; the title's typeface comes from the
TrueType file of the skin's text font that Wine ships.
"""
import os
import struct
import sys

SS = 4  # supersampling per axis


def rgb(hex_text):
    v = int(hex_text.lstrip('#'), 16)
    return ((v >> 16) & 255, (v >> 8) & 255, v & 255)


def colour_value(c):
    """A skin file's colour: 0x00BBGGRR."""
    return '0x%02X%02X%02X' % (c[2], c[1], c[0])


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


class Canvas:
    def __init__(self, width, height, fill=(0, 0, 0)):
        self.w, self.h = width, height
        self.px = [[fill for _ in range(width)] for _ in range(height)]

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            for x in range(max(0, x0), min(self.w, x1)):
                row[x] = c

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        for y in range(max(0, y0), min(self.h, y1)):
            t = (y - y0) / max(1, y1 - y0 - 1)
            self.rect(x0, y, x1, y + 1, mix(top, bottom, t))

    def shape(self, inside, box, c, hard=False):
        """Blends colour c by the share of subsamples for which inside(x, y) holds."""
        x0, y0, x1, y1 = (int(v) for v in box)
        for y in range(max(0, y0), min(self.h, y1 + 1)):
            for x in range(max(0, x0), min(self.w, x1 + 1)):
                n = 0
                for sy in range(SS):
                    for sx in range(SS):
                        if inside(x + (sx + 0.5) / SS, y + (sy + 0.5) / SS):
                            n += 1
                if n == 0:
                    continue
                t = n / (SS * SS)
                if hard:
                    if t >= 0.5:
                        self.px[y][x] = c
                else:
                    self.px[y][x] = mix(self.px[y][x], c, t)

    def circle(self, cx, cy, r, c, hard=False):
        self.shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, (cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1),
                   c, hard)

    def ring(self, cx, cy, r, width, c):
        self.shape(lambda x, y: (r - width) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r,
                   (cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1), c)

    def round_rect(self, x0, y0, x1, y1, r, c):
        def inside(x, y):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            dx = max(x0 + r - x, 0, x - (x1 - r))
            dy = max(y0 + r - y, 0, y - (y1 - r))
            return dx * dx + dy * dy <= r * r
        self.shape(inside, (x0 - 1, y0 - 1, x1 + 1, y1 + 1), c)

    def polygon(self, points, c):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]

        def inside(x, y):
            hit = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit
        self.shape(inside, (min(xs) - 1, min(ys) - 1, max(xs) + 1, max(ys) + 1), c)

    def line(self, x0, y0, x1, y1, width, c):
        """A stroke with round ends."""
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1
        half = width / 2

        def inside(x, y):
            t = max(0, min(1, ((x - x0) * dx + (y - y0) * dy) / length2))
            px, py = x0 + t * dx - x, y0 + t * dy - y
            return px * px + py * py <= half * half
        self.shape(inside, (min(x0, x1) - half - 1, min(y0, y1) - half - 1, max(x0, x1) + half + 1,
                            max(y0, y1) + half + 1), c)

    def blit(self, other, x, y):
        for row in range(other.h):
            for col in range(other.w):
                if 0 <= y + row < self.h and 0 <= x + col < self.w:
                    self.px[y + row][x + col] = other.px[row][col]

    def bmp(self):
        stride = (self.w * 3 + 3) & ~3
        out = bytearray(b'BM')
        out += struct.pack('<IHHI', 54 + stride * self.h, 0, 0, 54)
        out += struct.pack('<IiiHHIIiiII', 40, self.w, self.h, 1, 24, 0, stride * self.h, 2835, 2835, 0, 0)
        for y in range(self.h - 1, -1, -1):
            row = bytearray()
            for (r, g, b) in self.px[y]:
                row += bytes((b, g, r))
            row += b'\0' * (stride - len(row))
            out += row
        return bytes(out)


# ---- the title, in the typeface of the skin's texts -------------------------

# The skin's texts are drawn by the player in FONT; the title is drawn here
# from the same typeface's outlines (the TrueType file Wine ships under that
# name), so the whole skin speaks in one typeface.
FONT_FILES = ['/usr/share/wine/fonts/tahoma.ttf']


class TrueTypeFont:
    """The outlines and advance widths of a TrueType font's simple glyphs."""

    def __init__(self, path):
        self.data = open(path, 'rb').read()
        count = self.u16(4)
        self.tables = {}
        for i in range(count):
            tag, _, offset, _ = struct.unpack_from('>4sIII', self.data, 12 + 16 * i)
            self.tables[tag.decode('latin-1')] = offset
        head = self.tables['head']
        self.units = self.u16(head + 18)
        self.long_loca = struct.unpack_from('>h', self.data, head + 50)[0] == 1
        os2 = self.tables['OS/2']
        self.ascent, self.descent = self.u16(os2 + 74), self.u16(os2 + 76)
        self.metrics = self.u16(self.tables['hhea'] + 34)
        self.cmap = self.read_cmap()

    def u16(self, at):
        return struct.unpack_from('>H', self.data, at)[0]

    def read_cmap(self):
        """Characters to glyphs, from the Unicode (3, 1) subtable of format 4."""
        base = self.tables['cmap']
        for i in range(self.u16(base + 2)):
            platform, encoding, offset = struct.unpack_from('>HHI', self.data, base + 4 + 8 * i)
            if (platform, encoding) == (3, 1) and self.u16(base + offset) == 4:
                at = base + offset
                segments = self.u16(at + 6) // 2
                ends, starts = at + 14, at + 16 + 2 * segments
                deltas, ranges = starts + 2 * segments, starts + 4 * segments
                cmap = {}
                for k in range(segments):
                    start, end = self.u16(starts + 2 * k), self.u16(ends + 2 * k)
                    delta, rng = self.u16(deltas + 2 * k), self.u16(ranges + 2 * k)
                    for ch in range(start, min(end, 0x2FFF) + 1):
                        if rng == 0:
                            cmap[ch] = (ch + delta) & 0xFFFF
                        else:
                            glyph = self.u16(ranges + 2 * k + rng + 2 * (ch - start))
                            cmap[ch] = (glyph + delta) & 0xFFFF if glyph else 0
                return cmap
        raise ValueError('no Unicode character map')

    def advance(self, glyph):
        hmtx = self.tables['hmtx']
        return self.u16(hmtx + 4 * min(glyph, self.metrics - 1))

    def contours(self, glyph):
        """The glyph's contours as lists of (x, y, on_curve) in font units."""
        loca = self.tables['loca']
        if self.long_loca:
            start, end = struct.unpack_from('>II', self.data, loca + 4 * glyph)
        else:
            start, end = (2 * v for v in struct.unpack_from('>HH', self.data, loca + 2 * glyph))
        if start == end:
            return []
        at = self.tables['glyf'] + start
        count = struct.unpack_from('>h', self.data, at)[0]
        if count < 0:
            raise ValueError('composite glyph %d' % glyph)
        ends = [self.u16(at + 10 + 2 * i) for i in range(count)]
        at += 10 + 2 * count
        at += 2 + self.u16(at)
        flags = []
        while len(flags) <= ends[-1]:
            flag = self.data[at]
            at += 1
            repeat = 0
            if flag & 8:
                repeat = self.data[at]
                at += 1
            flags += [flag] * (repeat + 1)

        def coordinates(short, same):
            nonlocal at
            values, v = [], 0
            for flag in flags:
                if flag & short:
                    d = self.data[at]
                    at += 1
                    v += d if flag & same else -d
                elif not flag & same:
                    v += struct.unpack_from('>h', self.data, at)[0]
                    at += 2
                values.append(v)
            return values
        xs = coordinates(2, 16)
        ys = coordinates(4, 32)
        points = [(x, y, f & 1) for x, y, f in zip(xs, ys, flags)]
        result, first = [], 0
        for last in ends:
            result.append(points[first:last + 1])
            first = last + 1
        return result


def flatten(contour, scale, x0, baseline):
    """A contour's quadratic curves as a polygon in pixels, y down."""
    pts = [(x0 + x * scale, baseline - y * scale, on) for x, y, on in contour]
    if not pts[0][2]:
        # Start on a point on the curve: the last one, or the middle of the first two.
        last = pts[-1]
        pts.insert(0, last if last[2] else ((last[0] + pts[0][0]) / 2, (last[1] + pts[0][1]) / 2, 1))
    out = [pts[0][:2]]
    i, n = 1, len(pts)
    while i <= n:
        p = pts[i % n]
        if p[2]:
            out.append(p[:2])
            i += 1
            continue
        q = pts[(i + 1) % n]
        end = q[:2] if q[2] else ((p[0] + q[0]) / 2, (p[1] + q[1]) / 2)
        a = out[-1]
        for k in range(1, 9):
            t = k / 8
            out.append(((1 - t) ** 2 * a[0] + 2 * (1 - t) * t * p[0] + t * t * end[0],
                        (1 - t) ** 2 * a[1] + 2 * (1 - t) * t * p[1] + t * t * end[1]))
        i += 2 if q[2] else 1
    return out


def font_text(canvas, font, x, baseline, text, cell_height, c):
    """Draws text with its baseline at `baseline`, the font sized as the
    player sizes FONT for a text of the given cell height."""
    scale = cell_height / (font.ascent + font.descent)
    for ch in text:
        glyph = font.cmap.get(ord(ch), 0)
        polygons = [flatten(contour, scale, x, baseline) for contour in font.contours(glyph)]
        if polygons:
            edges = [(poly[i - 1], poly[i]) for poly in polygons for i in range(len(poly))]
            xs = [p[0] for poly in polygons for p in poly]
            ys = [p[1] for poly in polygons for p in poly]

            def inside(px, py, edges=edges):
                winding = 0
                for (xa, ya), (xb, yb) in edges:
                    if (ya > py) != (yb > py) and px < (xb - xa) * (py - ya) / (yb - ya) + xa:
                        winding += 1 if yb > ya else -1
                return winding != 0
            canvas.shape(inside, (min(xs) - 1, min(ys) - 1, max(xs) + 1, max(ys) + 1), c)
        x += font.advance(glyph) * scale


def load_font():
    for path in FONT_FILES:
        if os.path.exists(path):
            return TrueTypeFont(path)
    sys.exit('make-skins.py: no %s font file (%s); install fonts-wine' % (FONT, ', '.join(FONT_FILES)))


# ---- icons, each drawn centred on (cx, cy) --------------------------------

def icon_play(c, cx, cy, s, col):
    c.polygon([(cx - s * 0.35, cy - s * 0.5), (cx + s * 0.55, cy), (cx - s * 0.35, cy + s * 0.5)], col)


def icon_pause_play(c, cx, cy, s, col):
    """Play and pause in one: a triangle with two bars after it."""
    c.polygon([(cx - s * 0.6, cy - s * 0.45), (cx + s * 0.1, cy), (cx - s * 0.6, cy + s * 0.45)], col)
    c.rect(int(cx + s * 0.2), int(cy - s * 0.42), int(cx + s * 0.2) + max(2, int(s * 0.14)), int(cy + s * 0.42), col)
    c.rect(int(cx + s * 0.45), int(cy - s * 0.42), int(cx + s * 0.45) + max(2, int(s * 0.14)), int(cy + s * 0.42), col)


def icon_stop(c, cx, cy, s, col):
    h = s * 0.38
    c.round_rect(cx - h, cy - h, cx + h, cy + h, 1.5, col)


def icon_prev(c, cx, cy, s, col):
    c.rect(int(cx - s * 0.45), int(cy - s * 0.4), int(cx - s * 0.45) + 2, int(cy + s * 0.4), col)
    c.polygon([(cx + s * 0.4, cy - s * 0.4), (cx - s * 0.3, cy), (cx + s * 0.4, cy + s * 0.4)], col)


def icon_next(c, cx, cy, s, col):
    c.polygon([(cx - s * 0.4, cy - s * 0.4), (cx + s * 0.3, cy), (cx - s * 0.4, cy + s * 0.4)], col)
    c.rect(int(cx + s * 0.45) - 2, int(cy - s * 0.4), int(cx + s * 0.45), int(cy + s * 0.4), col)


def icon_open(c, cx, cy, s, col):
    c.polygon([(cx - s * 0.45, cy + s * 0.08), (cx, cy - s * 0.42), (cx + s * 0.45, cy + s * 0.08)], col)
    c.round_rect(cx - s * 0.45, cy + s * 0.22, cx + s * 0.45, cy + s * 0.4, 1, col)


def icon_close_x(c, cx, cy, s, col):
    d = s * 0.3
    c.line(cx - d, cy - d, cx + d, cy + d, 1.8, col)
    c.line(cx - d, cy + d, cx + d, cy - d, 1.8, col)


def icon_minimize(c, cx, cy, s, col):
    c.line(cx - s * 0.3, cy + s * 0.25, cx + s * 0.3, cy + s * 0.25, 1.8, col)


def icon_fullscreen(c, cx, cy, s, col):
    d, k = s * 0.32, s * 0.16
    for sx in (-1, 1):
        for sy in (-1, 1):
            x, y = cx + sx * d, cy + sy * d
            c.line(x, y, x - sx * k, y, 1.6, col)
            c.line(x, y, x, y - sy * k, 1.6, col)


def icon_menu(c, cx, cy, s, col):
    for dy in (-0.25, 0, 0.25):
        c.line(cx - s * 0.3, cy + s * dy, cx + s * 0.3, cy + s * dy, 1.6, col)


def icon_caption(c, cx, cy, s, col, back):
    c.round_rect(cx - s * 0.5, cy - s * 0.36, cx + s * 0.5, cy + s * 0.36, 3, col)
    c.round_rect(cx - s * 0.5 + 1.6, cy - s * 0.36 + 1.6, cx + s * 0.5 - 1.6, cy + s * 0.36 - 1.6, 2, back)
    c.line(cx - s * 0.3, cy + s * 0.05, cx + s * 0.05, cy + s * 0.05, 1.6, col)
    c.line(cx + s * 0.18, cy + s * 0.05, cx + s * 0.3, cy + s * 0.05, 1.6, col)
    c.line(cx - s * 0.3, cy + s * 0.2, cx - s * 0.1, cy + s * 0.2, 1.6, col)
    c.line(cx + s * 0.02, cy + s * 0.2, cx + s * 0.3, cy + s * 0.2, 1.6, col)


def icon_playlist(c, cx, cy, s, col):
    for dy in (-0.28, 0, 0.28):
        c.circle(cx - s * 0.36, cy + s * dy, 1.3, col)
        c.line(cx - s * 0.18, cy + s * dy, cx + s * 0.4, cy + s * dy, 1.6, col)


def icon_speaker(c, cx, cy, s, col):
    c.polygon([(cx - s * 0.5, cy - s * 0.15), (cx - s * 0.3, cy - s * 0.15), (cx - s * 0.05, cy - s * 0.42),
               (cx - s * 0.05, cy + s * 0.42), (cx - s * 0.3, cy + s * 0.15), (cx - s * 0.5, cy + s * 0.15)], col)
    c.shape(lambda x, y: x > cx and (s * 0.22) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= (s * 0.34) ** 2
            and abs(y - cy) < (x - cx) * 1.3, (cx, cy - s * 0.4, cx + s * 0.4, cy + s * 0.4), col)
    c.shape(lambda x, y: x > cx and (s * 0.42) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= (s * 0.54) ** 2
            and abs(y - cy) < (x - cx) * 1.3, (cx, cy - s * 0.6, cx + s * 0.6, cy + s * 0.6), col)


# ---- the geometry ----------------------------------------------------------

UP_H = 28          # title strip
DOWN_H = 72        # control strip
SIDE_W = 6         # left and right edges
BAR_H = 48         # full-screen bar
TRACK_Y = 14       # centre of the position track, from the top of the control strip
ROW_Y = 46         # centre of the button row, from the top of the control strip
UPLEFT_W, UPRIGHT_W = 180, 116
DOWNLEFT_W, DOWNRIGHT_W = 168, 152  # together no wider than the smallest window
FSLEFT_W, FSRIGHT_W = 164, 220
TIME_W = 52        # room for a "00:00:00" text at either end of a position track
TRACK_IN = 66      # a position track's inset from either window edge
TILE = 8
FONT = 'Tahoma'
FONT_SIZE = 13
THUMB_KEY = (0, 0, 255)  # the colour cut out of thumbs


class Skin:
    def __init__(self, name, palette, font):
        self.name = name
        self.p = {k: rgb(v) for k, v in palette.items()}
        self.font = font
        self.files = {}
        self.clicks = []  # (name, left, top, width, height)
        self.bars = []    # (name, left, top, right, bottom)
        self.texts = []   # (name, x, y, colour, background)

    def click(self, name, left, top, width, height):
        self.clicks.append((name, left, top, width, height))


def strip(p, width, height, top_line=True):
    c = Canvas(width, height, p['panel'])
    # A soft shade along the top only; flat below it, so the opaque boxes of
    # the time texts (painted in the panel colour) blend in.
    c.vgradient(0, 0, width, 5, p['panel_top'], p['panel'])
    if top_line:
        c.rect(0, 0, width, 1, p['edge_light'])
    return c


def groove(c, x0, x1, cy, p):
    c.rect(x0, cy - 2, x1, cy + 2, p['groove'])
    c.rect(x0, cy - 2, x1, cy - 1, p['groove_dark'])


def button(c, skin, name, cx, cy, size, draw, left_of, top_of, accent=False):
    """Draws a button centred on (cx, cy) of canvas c; its click area is
    recorded at (left_of(x), top_of(y)) in window coordinates."""
    p = skin.p
    r = size / 2
    if accent:
        c.circle(cx, cy, r, p['accent'])
        draw(c, cx, cy, size * 0.5, p['accent_icon'])
    else:
        c.round_rect(cx - r, cy - r, cx + r, cy + r, 5, p['button'])
        draw(c, cx, cy, size * 0.62, p['icon'])
    skin.click(name, left_of(int(cx - r)), top_of(int(cy - r)), int(size), int(size))


def thumb_bitmap(p, width, height):
    c = Canvas(width, height, THUMB_KEY)
    r = min(width, height) / 2 - 0.5
    c.circle(width / 2, height / 2, r, p['thumb_edge'], hard=True)
    c.circle(width / 2, height / 2, r - 1.5, p['thumb'], hard=True)
    return c


def draw_top(skin):
    p = skin.p
    left = strip(p, UPLEFT_W, UP_H, top_line=False)
    left.vgradient(0, 0, UPLEFT_W, UP_H, p['title_top'], p['title'])
    left.rect(0, 0, 1, UP_H, p['edge_dark'])
    left.rect(0, 0, UPLEFT_W, 1, p['edge_dark'])
    left.round_rect(9, 6, 25, 22, 4, p['accent'])
    icon_play(left, 17.5, 14, 9, p['accent_icon'])
    font_text(left, skin.font, 33, 18, "Orve's MP", FONT_SIZE, p['title_text'])
    tile = Canvas(TILE, UP_H)
    tile.vgradient(0, 0, TILE, UP_H, p['title_top'], p['title'])
    tile.rect(0, 0, TILE, 1, p['edge_dark'])
    right = Canvas(UPRIGHT_W, UP_H)
    right.vgradient(0, 0, UPRIGHT_W, UP_H, p['title_top'], p['title'])
    right.rect(0, 0, UPRIGHT_W, 1, p['edge_dark'])
    right.rect(UPRIGHT_W - 1, 0, UPRIGHT_W, UP_H, p['edge_dark'])
    from_right = lambda x: x - UPRIGHT_W
    same = lambda y: y
    for i, (name, icon) in enumerate([('Exit', icon_close_x), ('ToggleFullScreen', icon_fullscreen),
                                      ('Minimize', icon_minimize), ('PopUp', icon_menu)]):
        cx = UPRIGHT_W - 18 - i * 26
        right.round_rect(cx - 11, 3, cx + 11, 25, 5, p['exit'] if name == 'Exit' else p['title_button'])
        icon(right, cx, 14, 14, p['title_icon'])
        skin.click(name, from_right(cx - 11), same(3), 22, 22)
    skin.files['UpLeft.bmp'] = left
    skin.files['Up.bmp'] = tile
    skin.files['UpRight.bmp'] = right


def draw_sides(skin):
    p = skin.p
    for name, outer in (('Left.bmp', 0), ('Right.bmp', SIDE_W - 1)):
        c = Canvas(SIDE_W, TILE, p['side'])
        c.rect(outer, 0, outer + 1, TILE, p['edge_dark'])
        skin.files[name] = c


def transport(skin, c, cy, size, left_of, top_of, prefix, x=10):
    """Open, previous, play/pause, stop, next from x; returns the x after them."""
    gap = 4
    for name, icon, accent in (('Open', icon_open, False), ('PlayPre', icon_prev, False),
                               ('PlayPause', icon_pause_play, True), ('Stop', icon_stop, False),
                               ('PlayNext', icon_next, False)):
        s = size + 8 if accent else size
        button(c, skin, prefix + name, x + s / 2, cy, s, icon, left_of, top_of, accent)
        x += s + gap
    return x


def position_track(skin, name, track_y, top_of):
    """The position bar between the position (left) and duration (right) texts."""
    p = skin.p
    y = top_of(int(track_y - FONT_SIZE / 2))
    prefix = 'FullScreen' if name.startswith('FullScreen') else ''
    skin.texts.append((prefix + 'Position', 10, y, p['time'], p['panel']))
    skin.texts.append((prefix + 'Duration', -(TIME_W + 6), y, p['time_dim'], p['panel']))
    skin.bars.insert(0, (name, TRACK_IN, top_of(track_y - 6), -TRACK_IN, top_of(track_y + 6)))


def volume(skin, c, x0, x1, cy, name, left_of, top_of):
    p = skin.p
    icon_speaker(c, x0 - 14, cy, 18, p['icon'])
    groove(c, x0, x1, cy, p)
    skin.bars.append((name, left_of(x0), top_of(cy - 7), left_of(x1), top_of(cy + 7)))


def draw_bottom(skin):
    p = skin.p
    from_bottom = lambda y: y - DOWN_H
    left = strip(p, DOWNLEFT_W, DOWN_H)
    left.rect(0, 0, 1, DOWN_H, p['edge_dark'])
    left.rect(0, DOWN_H - 1, DOWNLEFT_W, DOWN_H, p['edge_dark'])
    groove(left, TRACK_IN, DOWNLEFT_W, TRACK_Y, p)
    transport(skin, left, ROW_Y, 26, lambda v: v, from_bottom, '')
    position_track(skin, 'Position', TRACK_Y, from_bottom)
    tile = strip(p, TILE, DOWN_H)
    tile.rect(0, DOWN_H - 1, TILE, DOWN_H, p['edge_dark'])
    groove(tile, 0, TILE, TRACK_Y, p)
    right = strip(p, DOWNRIGHT_W, DOWN_H)
    right.rect(DOWNRIGHT_W - 1, 0, DOWNRIGHT_W, DOWN_H, p['edge_dark'])
    right.rect(0, DOWN_H - 1, DOWNRIGHT_W, DOWN_H, p['edge_dark'])
    groove(right, 0, DOWNRIGHT_W - TRACK_IN, TRACK_Y, p)
    from_right = lambda v: v - DOWNRIGHT_W
    button(right, skin, 'CaptionToggle', 18, ROW_Y, 26, lambda c, cx, cy, s, col: icon_caption(
        c, cx, cy, s, col, p['button']), from_right, from_bottom)
    button(right, skin, 'TogglePlayList', 48, ROW_Y, 26, icon_playlist, from_right, from_bottom)
    volume(skin, right, 88, DOWNRIGHT_W - 12, ROW_Y, 'Volume', from_right, from_bottom)
    skin.files['DownLeft.bmp'] = left
    skin.files['Down.bmp'] = tile
    skin.files['DownRight.bmp'] = right


def draw_full_screen_bar(skin):
    p = skin.p
    track, row = 12, 31
    same = lambda v: v
    left = strip(p, FSLEFT_W, BAR_H, top_line=False)
    left.rect(0, BAR_H - 1, FSLEFT_W, BAR_H, p['edge_dark'])
    groove(left, TRACK_IN, FSLEFT_W, track, p)
    transport(skin, left, row, 24, same, same, 'FullScreen')
    position_track(skin, 'FullScreenPosition', track, same)
    tile = strip(p, TILE, BAR_H, top_line=False)
    tile.rect(0, BAR_H - 1, TILE, BAR_H, p['edge_dark'])
    groove(tile, 0, TILE, track, p)
    right = strip(p, FSRIGHT_W, BAR_H, top_line=False)
    right.rect(0, BAR_H - 1, FSRIGHT_W, BAR_H, p['edge_dark'])
    groove(right, 0, FSRIGHT_W - TRACK_IN, track, p)
    from_right = lambda v: v - FSRIGHT_W
    button(right, skin, 'FullScreenCaptionToggle', 18, row, 24, lambda c, cx, cy, s, col: icon_caption(
        c, cx, cy, s, col, p['button']), from_right, same)
    button(right, skin, 'FullScreenTogglePlayList', 46, row, 24, icon_playlist, from_right, same)
    volume(skin, right, 84, 148, row, 'FullScreenVolume', from_right, same)
    button(right, skin, 'FullScreenToggleFullScreen', 172, row, 24, icon_fullscreen, from_right, same)
    button(right, skin, 'FullScreenExit', 200, row, 24, icon_close_x, from_right, same)
    skin.files['FullScreenUpLeft.bmp'] = left
    skin.files['FullScreenUp.bmp'] = tile
    skin.files['FullScreenUpRight.bmp'] = right


def ini(sections):
    lines = []
    for name, keys in sections:
        lines.append('[%s]' % name)
        lines += ['%s=%s' % kv for kv in keys]
        lines.append('')
    return '\r\n'.join(lines)


def build(skin, folder):
    draw_top(skin)
    draw_sides(skin)
    draw_bottom(skin)
    draw_full_screen_bar(skin)
    p = skin.p
    for name, *_ in skin.bars:
        size = (15, 12) if 'Position' in name else (11, 14)
        skin.files['Bar%s.bmp' % name] = thumb_bitmap(p, *size)
    os.makedirs(folder, exist_ok=True)
    for name, canvas in skin.files.items():
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(canvas.bmp())
    texts = [(n, [('X', x), ('Y', y), ('FontName', FONT), ('FontSize', FONT_SIZE), ('Color', colour_value(fg)),
                  ('BackgroundColor', colour_value(bg))]) for n, x, y, fg, bg in skin.texts]
    clicks = [(n, [('Left', l), ('Top', t), ('Width', w), ('Height', h)]) for n, l, t, w, h in skin.clicks]
    bars = [(n, [('Left', l), ('Top', t), ('Right', r), ('Bottom', b)]) for n, l, t, r, b in skin.bars]
    sizes = [('Width', 640), ('Height', 460), ('MarginUp', UP_H), ('MarginDown', DOWN_H), ('MarginLeft', SIDE_W),
             ('MarginRight', SIDE_W), ('MinWidth', DOWNLEFT_W + DOWNRIGHT_W), ('MinHeight', UP_H + DOWN_H + 120),
             ('FullScreenBarHeight', BAR_H)]
    values = [('ShowAreaLine', 0), ('FormColor', colour_value(p['side'])), ('StateTextColor', colour_value(p['accent'])),
              ('PlayListColor', colour_value(p['list'])), ('PlayListFontColor', colour_value(p['list_text']))]
    for name, content in (('Texts.ini', ini(texts)), ('ClickAreas.ini', ini(clicks)), ('BarAreas.ini', ini(bars)),
                          ('Skin.ini', ini([('Sizes', sizes), ('Values', values)]))):
        with open(os.path.join(folder, name), 'w', newline='') as f:
            f.write(content)


PALETTES = {
    'Default': {
        'panel': '#17181C', 'panel_top': '#22242A', 'edge_light': '#2E3038',
        'edge_dark': '#0A0A0C', 'title': '#141519', 'title_top': '#1E2026', 'title_text': '#C9CCD4',
        'title_button': '#262830', 'title_icon': '#C9CCD4', 'exit': '#5A2A2E', 'side': '#141519',
        'button': '#25272E', 'icon': '#D7DAE0', 'accent': '#2F9BFF', 'accent_icon': '#FFFFFF',
        'groove': '#3A3D46', 'groove_dark': '#2A2C33', 'thumb': '#E8EAEE', 'thumb_edge': '#2F9BFF',
        'time': '#E6E8EC', 'time_dim': '#8A8E99', 'list': '#1B1C21', 'list_text': '#E6E8EC',
    },
    'Light': {
        'panel': '#E9EBEF', 'panel_top': '#F7F8FA', 'edge_light': '#FFFFFF',
        'edge_dark': '#A9ADB6', 'title': '#DDE0E6', 'title_top': '#F1F2F5', 'title_text': '#3B3F48',
        'title_button': '#E6E8EC', 'title_icon': '#3B3F48', 'exit': '#F0C4C4', 'side': '#DDE0E6',
        'button': '#F9FAFB', 'icon': '#343841', 'accent': '#F0792A', 'accent_icon': '#FFFFFF',
        'groove': '#C4C8D0', 'groove_dark': '#AEB3BC', 'thumb': '#FFFFFF', 'thumb_edge': '#F0792A',
        'time': '#23262D', 'time_dim': '#6F7480', 'list': '#F4F5F7', 'list_text': '#23262D',
    },
}


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    font = load_font()
    for name, palette in PALETTES.items():
        build(Skin(name, palette, font), os.path.join(sys.argv[1], name))


if __name__ == '__main__':
    main()
