"""The application icon: the KR7 seen from above, reduced to what still reads
at 48 pixels — the dark body, the cyan preset display, three knobs and the
footswitch. No text, so the icon does not depend on installed fonts."""

import math

from Svg import Doc, circle, line, linear, radial, rect

CYAN = "#33ffff"


def _knob(cx, cy, r, angle):
    a = math.radians(angle)
    return [
        circle(cx, cy + r * 0.12, r * 1.05, "#000000", extra='opacity="0.45"'),
        circle(cx, cy, r, "url(#knob)", "#5c5c5c", r * 0.08),
        line(cx, cy, cx + r * 0.8 * math.sin(a), cy - r * 0.8 * math.cos(a), "#f4f1e8", r * 0.22),
    ]


def app_icon():
    doc = Doc(256, 256)
    doc.define(linear("body", [(0, "#4a4c52"), (0.5, "#2a2b30"), (1, "#141417")]))
    doc.define(linear("display", [(0, "#062226"), (1, "#0b3a40")]))
    doc.define(radial("knob", [(0, "#6a6a6a"), (0.7, "#2b2b2b"), (1, "#111111")], fx=0.4, fy=0.35))
    doc.define(radial("cap", [(0, "#ffffff"), (0.5, "#cfcfcf"), (1, "#6a6a6a")], fx=0.38, fy=0.32))
    doc.define(radial("glow", [(0, CYAN, 0.9), (1, CYAN, 0)]))
    doc.add(rect(18, 22, 220, 222, "#000000", rx=30, extra='opacity="0.35"'))
    doc.add(rect(14, 12, 228, 224, "url(#body)", rx=30, stroke="#6e7078", sw=3))
    doc.add(rect(34, 30, 188, 52, "url(#display)", rx=8, stroke="#000000", sw=3))
    for k, x in enumerate((52, 80, 108)):
        doc.add(rect(x, 40, 20, 32, CYAN, rx=3, extra=f'opacity="{0.95 - 0.25 * k:.2f}"'))
    doc.add(circle(196, 56, 13, "url(#glow)"))
    doc.add(circle(196, 56, 6, CYAN))
    for cx, angle in ((62, -120), (128, 20), (194, 120)):
        for part in _knob(cx, 118, 24, angle):
            doc.add(part)
    doc.add(circle(128, 194, 34, "#0d0d0f"))
    doc.add(circle(128, 194, 26, "url(#cap)", "#3a3a3a", 2))
    doc.add(circle(128, 194, 13, "none", "#ffffff", 2, 'opacity="0.4"'))
    return doc
