"""The pedal's moving parts: knobs, footswitches, LED, save button, block
buttons, the microphone slider and the small vector knob.

Knob shading is rotationally symmetric on purpose: the toolkit rotates the
whole image, so only the pointer may show the angle."""

import math

from Svg import Doc, circle, line, linear, radial, rect, text, group, CONDENSED


def knob(size):
    doc = Doc(size, size)
    c = size / 2
    r = size / 2 - 1
    doc.define(radial("skirt", [(0, "#3a3a3a"), (0.80, "#1b1b1b"), (1, "#050505")]))
    doc.define(radial("cap", [(0, "#5a5a5a"), (0.7, "#2b2b2b"), (1, "#161616")]))
    doc.define(radial("sheen", [(0, "#ffffff", 0.18), (1, "#ffffff", 0)], r=0.5))
    doc.add(circle(c, c, r, "url(#skirt)"))
    ridges = 40
    for i in range(ridges):
        a = 2 * math.pi * i / ridges
        doc.add(line(c + (r - 6) * math.sin(a), c - (r - 6) * math.cos(a),
                     c + (r - 0.8) * math.sin(a), c - (r - 0.8) * math.cos(a), "#000000", 1.4, 'opacity="0.7"'))
    cap = r * 0.72
    doc.add(circle(c, c, cap + 1.5, "#0a0a0a"))
    doc.add(circle(c, c, cap, "url(#cap)", "#6a6a6a", 0.8))
    for k in range(1, 6):
        doc.add(circle(c, c, cap * k / 6, "none", "#ffffff", 0.3, 'opacity="0.08"'))
    doc.add(circle(c, c, cap, "url(#sheen)"))
    doc.add(line(c, c - cap * 0.15, c, c - r + 2, "#f4f1e8", max(2.5, size / 34)))
    return doc


def footswitch():
    """Two frames of 75 x 85: released above, pressed below."""
    doc = Doc(75, 170)
    doc.define(radial("nut", [(0, "#e8e8e8"), (0.7, "#9a9a9a"), (1, "#4a4a4a")]))
    doc.define(radial("capUp", [(0, "#ffffff"), (0.45, "#d6d6d6"), (0.9, "#8c8c8c"), (1, "#5a5a5a")], fx=0.38, fy=0.32))
    doc.define(radial("capDown", [(0, "#c9c9c9"), (0.5, "#9c9c9c"), (1, "#505050")], fx=0.45, fy=0.42))
    doc.define(radial("glow", [(0, "#39ffff", 0.55), (1, "#39ffff", 0)]))
    for frame, pressed in ((0, False), (1, True)):
        cx, cy = 37.5, 85 * frame + 42.5
        hexagon = " ".join(
            f"{cx + 33 * math.cos(math.pi / 3 * k):.2f},{cy + 33 * math.sin(math.pi / 3 * k):.2f}" for k in range(6)
        )
        parts = [circle(cx + 2, cy + 3, 35, "#000000", extra='opacity="0.45"')]
        if pressed:
            parts.append(circle(cx, cy, 37, "url(#glow)"))
        parts.append(f'<polygon points="{hexagon}" fill="url(#nut)" stroke="#3a3a3a" stroke-width="1"/>')
        parts.append(circle(cx, cy, 25, "#2a2a2a"))
        cap = 20 if pressed else 23
        parts.append(circle(cx, cy, cap, "url(#capDown)" if pressed else "url(#capUp)", "#444", 0.8))
        parts.append(circle(cx, cy, cap * 0.55, "none", "#ffffff", 0.6, 'opacity="0.35"'))
        doc.add(group(parts))
    return doc


def led():
    doc = Doc(16, 16)
    doc.define(radial("lit", [(0, "#ffffff"), (0.25, "#ff8a7a"), (0.7, "#e0180c"), (1, "#7a0500")], fx=0.4, fy=0.35))
    doc.add(circle(8, 8, 7.5, "url(#lit)"))
    doc.add(circle(6, 5.5, 2, "#ffffff", extra='opacity="0.8"'))
    return doc


def save_button():
    """Two frames of 38 x 76; the pressed frame lights the red window."""
    doc = Doc(38, 152)
    doc.define(linear("body", [(0, "#5c5c5c"), (0.5, "#2d2d2d"), (1, "#1a1a1a")], x2=1, y2=0))
    doc.define(linear("lamp", [(0, "#ff5a4a"), (1, "#a10f05")]))
    for frame, pressed in ((0, False), (1, True)):
        y = 76 * frame
        parts = [
            rect(2, y + 2, 34, 72, "#0b0b0b", rx=6),
            rect(4, y + (6 if pressed else 4), 30, 66, "url(#body)", rx=5, stroke="#777", sw=0.8),
            rect(12, y + 12, 14, 18, "url(#lamp)" if pressed else "#3a0b08", rx=2),
            text(19, y + 58, "SAVE", 9, "#e9e4d4", spacing=0.5, extra='transform="rotate(-90 19 %d)"' % (y + 55)),
        ]
        doc.add(group(parts))
    return doc


def block_button(width, label):
    """Two frames of width x 35 (plus a spare row so the image is 71 high):
    the first plain, the second lit as the selected model or type."""
    doc = Doc(width, 71)
    doc.define(linear("off", [(0, "#3b3b3b"), (1, "#222222")]))
    doc.define(linear("on", [(0, "#18464a"), (1, "#0b2628")]))
    for frame, lit in ((0, False), (1, True)):
        y = 35 * frame
        parts = [rect(1.5, y + 1.5, width - 3, 32, "url(#on)" if lit else "url(#off)", rx=5,
                      stroke="#33ffff" if lit else "#555555", sw=1.5 if lit else 1)]
        parts.append(circle(14, y + 17.5, 4, "#33ffff" if lit else "#1a1a1a", "#000", 0.8))
        if lit:
            parts.append(circle(14, y + 17.5, 7, "#33ffff", extra='opacity="0.25"'))
        parts.append(text(width / 2 + 7, y + 23.5, label, 16, "#8ffcff" if lit else "#a9a9a9", spacing=0.6))
        doc.add(group(parts))
    return doc


def mic():
    doc = Doc(50, 30)
    doc.define(linear("body", [(0, "#d9d9d9"), (0.5, "#8e8e8e"), (1, "#4a4a4a")]))
    doc.add(rect(1, 4, 48, 22, "#000", rx=4, extra='opacity="0.35"'))
    doc.add(rect(4, 9, 30, 12, "url(#body)", rx=3))
    doc.add(rect(30, 6, 17, 18, "#2b2b2b", rx=6, stroke="#9a9a9a", sw=1))
    for k in range(4):
        doc.add(line(34 + 3.5 * k, 8, 34 + 3.5 * k, 22, "#777", 0.8))
    doc.add(line(1, 15, 4, 15, "#33ffff", 2))
    return doc


def mic_track():
    doc = Doc(50, 432)
    doc.define(linear("slot", [(0, "#050505"), (0.5, "#1e1e1e"), (1, "#050505")], x2=1, y2=0))
    doc.add(rect(0, 0, 50, 432, "#1d1d1d", rx=6, stroke="#3c3c3c", sw=1))
    doc.add(rect(21, 14, 8, 404, "url(#slot)", rx=4))
    for k in range(11):
        y = 15 + k * 40.2
        doc.add(line(6, y, 15 if k % 5 else 18, y, "#7a7a7a", 1))
        doc.add(line(35 if k % 5 else 32, y, 44, y, "#7a7a7a", 1))
    doc.add(text(25, 10, "EDGE", 7, "#8a8a8a", spacing=0.5))
    doc.add(text(25, 429, "CENTRE", 7, "#8a8a8a", spacing=0.5))
    return doc


def vector_knob():
    doc = Doc(30, 30)
    doc.define(radial("vk", [(0, "#6a6a6a"), (0.8, "#2a2a2a"), (1, "#111111")]))
    doc.add(circle(15, 15, 14, "url(#vk)", "#33ffff", 1))
    doc.add(line(15, 15, 15, 3, "#33ffff", 2.2))
    return doc
