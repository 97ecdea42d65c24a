#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes mainpicture.svg, the main window's banner. The tilted scale in it
is the application icon's top-down drawing (coordinates 0..128) projected
onto a trapezoid so the platform appears to lie on the floor. Run it from
anywhere; render.sh then makes the PNG."""
import os
import re

def solve(a, b):
    n = len(b)
    m = [row[:] + [b[i]] for i, row in enumerate(a)]
    for c in range(n):
        p = max(range(c, n), key=lambda r: abs(m[r][c]))
        m[c], m[p] = m[p], m[c]
        for r in range(n):
            if r != c:
                f = m[r][c] / m[c][c]
                m[r] = [x - f * y for x, y in zip(m[r], m[c])]
    return [m[i][n] / m[i][i] for i in range(n)]

def homography(src, dst):
    a, b = [], []
    for (x, y), (u, v) in zip(src, dst):
        a.append([x, y, 1, 0, 0, 0, -u * x, -u * y]); b.append(u)
        a.append([0, 0, 0, x, y, 1, -v * x, -v * y]); b.append(v)
    h = solve(a, b)
    def f(p):
        x, y = p
        w = h[6] * x + h[7] * y + 1
        return ((h[0] * x + h[1] * y + h[2]) / w, (h[3] * x + h[4] * y + h[5]) / w)
    return f

def sample(d, steps=10):
    """Points of an absolute M/L/H/V/C/Z path."""
    toks = re.findall(r'[MLHVCZ]|-?[\d.]+', d)
    pts, cur, i, polys = [], (0, 0), 0, []
    while i < len(toks):
        c = toks[i]; i += 1
        if c == 'M':
            if pts: polys.append(pts)
            cur = (float(toks[i]), float(toks[i + 1])); i += 2; pts = [cur]
        elif c == 'L':
            cur = (float(toks[i]), float(toks[i + 1])); i += 2; pts.append(cur)
        elif c == 'H':
            cur = (float(toks[i]), cur[1]); i += 1; pts.append(cur)
        elif c == 'V':
            cur = (cur[0], float(toks[i])); i += 1; pts.append(cur)
        elif c == 'C':
            p1 = (float(toks[i]), float(toks[i + 1])); p2 = (float(toks[i + 2]), float(toks[i + 3]))
            p3 = (float(toks[i + 4]), float(toks[i + 5])); i += 6
            for s in range(1, steps + 1):
                t = s / steps; u = 1 - t
                pts.append(tuple(u**3 * a + 3 * u * u * t * b + 3 * u * t * t * c_ + t**3 * d_
                                 for a, b, c_, d_ in zip(cur, p1, p2, p3)))
            cur = p3
        elif c == 'Z':
            pass
    if pts: polys.append(pts)
    return polys

def rounded_rect(x, y, w, h, r):
    k = 0.5523 * r
    return (f'M{x+r} {y} H{x+w-r} C{x+w-r+k} {y} {x+w} {y+r-k} {x+w} {y+r} V{y+h-r} '
            f'C{x+w} {y+h-r+k} {x+w-r+k} {y+h} {x+w-r} {y+h} H{x+r} C{x+r-k} {y+h} {x} {y+h-r+k} {x} {y+h-r} '
            f'V{y+r} C{x} {y+r-k} {x+r-k} {y} {x+r} {y} Z')

def out(f, d, dy=0):
    s = []
    for poly in sample(d):
        q = [f(p) for p in poly]
        s.append('M' + ' L'.join(f'{x:.1f} {y+dy:.1f}' for x, y in q) + ' Z')
    return ' '.join(s)

def translate(d, dx, dy):
    toks = re.findall(r'[MLHVCZ]|-?[\d.]+', d)
    res, mode, n = [], None, 0
    for t in toks:
        if t.isalpha():
            mode, n = t, 0; res.append(t); continue
        v = float(t)
        if mode == 'H': v += dx
        elif mode == 'V': v += dy
        else: v += dx if n % 2 == 0 else dy
        n += 1; res.append(f'{v:g}')
    return ' '.join(res)

d, pads = {}, []
f = homography([(10, 8), (118, 8), (118, 118), (10, 118)],
               [(38, 24), (90, 24), (110, 84), (18, 84)])
foot = ['M0 10 C0 3 5 0 12 0 C19 0 24 3 24 10 V26 C24 29 22 31 19 31 H5 C2 31 0 29 0 26 Z',
        'M2 40 C2 37 4 36 7 36 H17 C20 36 22 37 22 40 V48 C22 54 18 57 12 57 C6 57 2 54 2 48 Z']
d['platform'] = out(f, rounded_rect(10, 8, 108, 110, 24))
d['edge'] = out(f, rounded_rect(10, 8, 108, 110, 24), dy=6)
d['rim'] = out(f, rounded_rect(15, 13, 98, 100, 19))
d['display'] = out(f, rounded_rect(38, 17, 52, 26, 6))
for dx in (28, 76):
    for part in foot:
        pads.append(out(f, translate(part, dx, 52)))
# seven-segment digits of the display, as straight strokes
segs = 'M47 23 L53 23 M47 23 L47 29.5 M47 29.5 L47 36 M47 36 L53 36 M53 29.5 L53 36 M47 29.5 L53 29.5 M58 23 L64 23 M64 23 L64 29.5 M64 29.5 L64 36 M58 36 L64 36 M58 29.5 L58 36 M58 23 L58 29.5 M58 29.5 L64 29.5 M73 23 L79 23 M73 23 L73 29.5 M73 29.5 L79 29.5 M79 29.5 L79 36 M73 36 L79 36'
res = []
for poly in sample(segs):
    res.append('M' + ' L'.join(f'{x:.1f} {y:.1f}' for x, y in (f(p) for p in poly)))
d['digits'] = ' '.join(res)
dot_x, dot_y = ('%.1f %.1f' % f((68.5, 36))).split()
d['gloss'] = out(f, 'M22 14 H78 L20 96 V28 C20 20 22 16 22 14 Z')

svg = f'''<?xml version="1.0" encoding="UTF-8"?>
<!-- SPDX-License-Identifier: MIT -->
<!-- Banner of the main window (400 x 113, shown on its white client area): a glass
     bathroom scale lying on the floor, the program's name and a faint line chart.
     Written by make_mainpicture.py: the tilted scale is the application icon's
     drawing projected onto a trapezoid. -->
<svg xmlns="http://www.w3.org/2000/svg" width="400" height="113" viewBox="0 0 400 113">
  <defs>
    <radialGradient id="glow" cx="0.5" cy="0.5" r="0.5">
      <stop offset="0" stop-color="#e3f1fc"/>
      <stop offset="1" stop-color="#ffffff" stop-opacity="0"/>
    </radialGradient>
    <radialGradient id="floor" cx="0.5" cy="0.5" r="0.5">
      <stop offset="0" stop-color="#0d1b2a" stop-opacity="0.35"/>
      <stop offset="1" stop-color="#0d1b2a" stop-opacity="0"/>
    </radialGradient>
    <linearGradient id="glass" x1="0" y1="0" x2="1" y2="1">
      <stop offset="0" stop-color="#dff4ff"/>
      <stop offset="0.55" stop-color="#86c9ef"/>
      <stop offset="1" stop-color="#2f86c8"/>
    </linearGradient>
    <linearGradient id="edge" x1="0" y1="0" x2="1" y2="0">
      <stop offset="0" stop-color="#2a77b3"/>
      <stop offset="0.5" stop-color="#6cb8e6"/>
      <stop offset="1" stop-color="#1f5f94"/>
    </linearGradient>
    <linearGradient id="gloss" x1="0" y1="0" x2="1" y2="1">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0.75"/>
      <stop offset="1" stop-color="#ffffff" stop-opacity="0"/>
    </linearGradient>
    <linearGradient id="pad" x1="0" y1="0" x2="1" y2="1">
      <stop offset="0" stop-color="#fbfcfd"/>
      <stop offset="0.5" stop-color="#c9d3dd"/>
      <stop offset="1" stop-color="#8494a6"/>
    </linearGradient>
    <linearGradient id="title" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#2a5f96"/>
      <stop offset="1" stop-color="#14283f"/>
    </linearGradient>
    <linearGradient id="area" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#4aa3ec" stop-opacity="0.22"/>
      <stop offset="1" stop-color="#4aa3ec" stop-opacity="0"/>
    </linearGradient>
    <!-- fades the chart out at both ends -->
    <linearGradient id="fade" x1="120" y1="0" x2="400" y2="0" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0"/>
      <stop offset="0.15" stop-color="#ffffff"/>
      <stop offset="0.8" stop-color="#ffffff"/>
      <stop offset="1" stop-color="#ffffff" stop-opacity="0"/>
    </linearGradient>
    <mask id="sides" maskUnits="userSpaceOnUse" x="0" y="0" width="400" height="113">
      <rect x="120" y="60" width="280" height="53" fill="url(#fade)"/>
    </mask>
  </defs>
  <rect width="400" height="113" fill="#ffffff"/>
  <ellipse cx="64" cy="56" rx="62" ry="54" fill="url(#glow)"/>

  <!-- line chart motif under the name -->
  <g mask="url(#sides)">
    <path d="M120 105 L156 98 L192 101 L228 91 L264 94 L300 85 L336 87 L372 79 L400 76 V108 H120 Z" fill="url(#area)"/>
    <path d="M120 105 L156 98 L192 101 L228 91 L264 94 L300 85 L336 87 L372 79 L400 76" fill="none" stroke="#9cc6ea" stroke-width="2" stroke-linejoin="round" stroke-linecap="round"/>
  </g>
  <g fill="#ffffff" stroke="#7fb4e2" stroke-width="1.5">
    <circle cx="156" cy="98" r="2.5"/>
    <circle cx="228" cy="91" r="2.5"/>
    <circle cx="300" cy="85" r="2.5"/>
    <circle cx="336" cy="87" r="2.5"/>
  </g>

  <!-- glass scale -->
  <ellipse cx="64" cy="95" rx="50" ry="7" fill="url(#floor)"/>
  <path d="{d['edge']}" fill="url(#edge)" stroke="#1b3149" stroke-width="1.5" stroke-linejoin="round"/>
  <path d="{d['platform']}" fill="url(#glass)" stroke="#1b3149" stroke-width="1.5" stroke-linejoin="round"/>
  <path d="{d['rim']}" fill="none" stroke="#ffffff" stroke-opacity="0.65" stroke-width="1"/>
  <path d="{d['gloss']}" fill="url(#gloss)"/>
  <path d="{d['display']}" fill="#14283f" stroke="#1b3149" stroke-width="1"/>
  <path d="{d['digits']}" fill="none" stroke="#6ff0ff" stroke-width="1.3" stroke-linecap="round"/>
  <circle cx="{dot_x}" cy="{dot_y}" r="0.8" fill="#6ff0ff"/>
  <g fill="url(#pad)" stroke="#1b3149" stroke-width="1.2" stroke-linejoin="round">
''' + ''.join(f'    <path d="{p}"/>\n' for p in pads) + '''  </g>

  <!-- name -->
  <text x="122" y="52" font-family="DejaVu Sans, Verdana, sans-serif" font-weight="bold" font-size="32" fill="url(#title)">Body Fat Scale</text>
  <text x="124" y="71" font-family="DejaVu Sans, Verdana, sans-serif" font-size="11" fill="#5c6f85">Weight · Body fat · Body water · Muscle · Bone</text>
</svg>
'''
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), 'mainpicture.svg'), 'w') as out_file:
    out_file.write(svg)
