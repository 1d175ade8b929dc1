"""The main page photograph: the pedal seen from above on a dark stage
floor, with the preset column on the left, the device strip on top and the
block editor and graph wells below.

Every knob, switch, window and well is placed from the same coordinates the
page layout uses, so the controls drawn on top land on their printed marks."""

import math

from Svg import Doc, circle, line, linear, radial, rect, text, group, CONDENSED, REGULAR

CREAM = "#ece5cf"
CYAN = "#33ffff"

# Knob centres, radii and printed names of the pedal (design units).
TOP_ROW = [(770, 189, "DRIVE"), (913, 190, "LOW"), (1055.5, 191, "MID"), (1198.5, 191, "HIGH"), (1342, 191, "REVERB")]
LOWER_ROW = [(769.5, 349.5, 65, "LEVEL"), (984.5, 347.5, 51, "GATE"), (1127.5, 347.5, 51, "FILTER")]
FOOTSWITCHES = [(733, 486, "DOWN"), (1100, 486, "SELECT"), (1460, 486, "UP"), (1459, 322, "FILTER")]
PEDAL = (652, 92, 1620, 630)


def background():
    doc = Doc(1920, 1200)
    _defs(doc)
    doc.add(rect(0, 0, 1920, 1200, "url(#floor)"))
    doc.add(rect(0, 0, 1920, 1200, "#000", extra='filter="url(#grain)" opacity="0.10"'))
    _cables(doc)
    _status_strip(doc)
    _preset_column(doc)
    _editor_wells(doc)
    _pedal(doc)
    return doc


def _defs(doc):
    doc.define(radial("floor", [(0, "#34353a"), (0.6, "#1f2024"), (1, "#0e0e10")], cx=0.55, cy=0.3, r=0.9))
    doc.define('<filter id="grain" x="0" y="0" width="1" height="1">'
               '<feTurbulence type="fractalNoise" baseFrequency="0.9" numOctaves="2" seed="7"/>'
               '<feColorMatrix type="saturate" values="0"/></filter>')
    doc.define('<filter id="shadow" x="-10%" y="-10%" width="120%" height="130%">'
               '<feGaussianBlur stdDeviation="14"/></filter>')
    doc.define('<filter id="soft" x="-20%" y="-20%" width="140%" height="140%">'
               '<feGaussianBlur stdDeviation="3"/></filter>')
    doc.define(linear("enclosure", [(0, "#7c1d1d"), (0.45, "#5e1414"), (1, "#3d0c0c")], x2=0.3, y2=1))
    doc.define(linear("rim", [(0, "#e4e4e4"), (0.3, "#8f8f8f"), (0.7, "#c9c9c9"), (1, "#5a5a5a")], x2=1, y2=1))
    doc.define('<pattern id="brush" width="6" height="600" patternUnits="userSpaceOnUse">'
               '<rect width="6" height="600" fill="#000" opacity="0"/>'
               '<line x1="1" y1="0" x2="1" y2="600" stroke="#fff" stroke-width="0.6" opacity="0.05"/>'
               '<line x1="4" y1="0" x2="4" y2="600" stroke="#000" stroke-width="0.6" opacity="0.08"/></pattern>')
    doc.define(linear("boot", [(0, "#2c2c30"), (0.5, "#151517"), (1, "#050506")]))
    doc.define(linear("plate", [(0, "#2a2a2d"), (1, "#17171a")]))
    doc.define(linear("tread", [(0, "#3a3a3e"), (1, "#222226")]))
    doc.define(linear("strip", [(0, "#3c3d42"), (1, "#23242a")]))
    doc.define(linear("lcd", [(0, "#c6d1b6"), (1, "#a9b698")]))
    doc.define(linear("well", [(0, "#121214"), (1, "#1b1c1f")]))
    doc.define(radial("knobwell", [(0.8, "#000", 0.55), (1, "#000", 0)]))
    doc.define(radial("screw", [(0, "#f0f0f0"), (0.6, "#9a9a9a"), (1, "#444")], fx=0.35, fy=0.3))
    doc.define(linear("display", [(0, "#1a0404"), (1, "#2a0808")]))
    doc.define(linear("glass", [(0, "#ffffff", 0.12), (0.5, "#ffffff", 0.02), (1, "#ffffff", 0)]))


def _cable(doc, path):
    doc.add(f'<path d="{path}" fill="none" stroke="#000" stroke-width="16" stroke-linecap="round" '
            'opacity="0.55" filter="url(#soft)" transform="translate(6 10)"/>')
    doc.add(f'<path d="{path}" fill="none" stroke="#0b0b0c" stroke-width="13" stroke-linecap="round"/>')
    doc.add(f'<path d="{path}" fill="none" stroke="#4a4a50" stroke-width="2.5" stroke-linecap="round" '
            'opacity="0.6" transform="translate(-2.5 -2.5)"/>')


def _plug(doc, x, y, width, metal_first):
    """A jack plug lying on the floor: metal barrel at the socket, black boot behind."""
    metal, boot = (x, x + 22) if metal_first else (x + width - 22, x)
    doc.add(rect(boot, y - 11, width - 22, 22, "url(#boot)", rx=6))
    doc.add(rect(metal, y - 9, 22, 18, "url(#rim)", rx=3, stroke="#333", sw=0.8))


def _cables(doc):
    """Guitar in, amp out and USB, running off the floor under the panels."""
    _cable(doc, "M 566 172 C 470 172 440 250 420 360 S 380 520 300 560")
    _plug(doc, 560, 172, 74, False)
    _cable(doc, "M 1706 172 C 1790 172 1830 120 1930 96")
    _plug(doc, 1640, 172, 74, True)
    _cable(doc, "M 1676 265 C 1760 265 1800 380 1930 420")
    doc.add(rect(1634, 256, 46, 18, "#1c1c1e", rx=3, stroke="#555", sw=1))
    doc.add(rect(1616, 259, 20, 12, "url(#rim)", rx=1))


def _status_strip(doc):
    doc.add(rect(0, 0, 1920, 84, "url(#strip)"))
    doc.add(line(0, 84, 1920, 84, "#000", 2))
    doc.add(line(0, 85.5, 1920, 85.5, "#55565c", 1))
    doc.add(text(24, 52, "KR7", 40, CREAM, spacing=2, anchor="start"))
    doc.add(text(106, 52, "CONTROL", 26, "#9a9aa0", spacing=4, anchor="start"))
    doc.add(text(24, 72, "VALVORA  AMP MODELLING PEDAL EDITOR", 11, "#77787e", spacing=1.5, anchor="start"))
    # The device window: RECONNECT on its left, three black status lines on a lit panel.
    doc.add(rect(530, 2, 544, 78, "#111114", rx=8, stroke="#5a5b60", sw=1))
    doc.add(rect(536, 8, 122, 66, "#2a2b30", rx=6))
    doc.add(rect(658, 5, 408, 72, "url(#lcd)", rx=4, stroke="#000", sw=2))
    doc.add(rect(658, 5, 408, 24, "#ffffff", rx=4, extra='opacity="0.10"'))
    doc.add(text(1900, 40, "VALVORA", 30, CREAM, spacing=6, anchor="end"))
    doc.add(text(1900, 64, "KR7 · USB-MIDI", 13, "#8a8a90", spacing=2, anchor="end"))
    doc.add(circle(1110, 41, 5, "#2bd65a", extra='opacity="0.0"'))


def _preset_column(doc):
    doc.add(rect(0, 86, 306, 1114, "#18181b"))
    doc.add(line(306, 86, 306, 1200, "#000", 2))
    doc.add(line(307.5, 86, 307.5, 1200, "#34353a", 1))
    doc.add(text(20, 108, "PRESET NAME", 13, "#8a8a90", spacing=2, anchor="start"))
    doc.add(rect(12, 114, 256, 36, "#0c0c0e", rx=4, stroke="#3e3f44", sw=1))
    doc.add(rect(10, 164, 246, 58, "#202024", rx=6, stroke="#2f3035", sw=1))
    doc.add(rect(0, 224, 264, 958, "#0c0c0e", stroke="#3e3f44", sw=1))
    for i in range(19):
        doc.add(line(1, 228 + 50 * i, 261, 228 + 50 * i, "#2c2c30", 1))
    doc.add(rect(262, 226, 40, 948, "#101012", rx=4, stroke="#3e3f44", sw=1))
    doc.add(rect(278, 236, 8, 928, "#050506", rx=4))
    doc.add(text(150, 1194, "PRESETS 01 – 128", 12, "#6e6e74", spacing=2))


def _editor_wells(doc):
    # Block editor: titles at the top left, knob columns below.
    doc.add(rect(330, 640, 830, 550, "url(#well)", rx=10, stroke="#36373c", sw=1.5))
    doc.add(rect(330, 640, 830, 550, "none", rx=10, stroke="#000", sw=3, extra='opacity="0.6"'))
    doc.add(line(350, 738, 1140, 738, "#2c2d31", 1))
    # Response graph screen.
    doc.add(rect(1178, 648, 704, 514, "#08080a", rx=10, stroke="#36373c", sw=1.5))
    doc.add(rect(1196, 681, 680, 458, "#0f1114", rx=3, stroke="#202226", sw=1))
    doc.add(rect(1196, 681, 680, 120, "url(#glass)"))
    doc.add(text(1200, 672, "RESPONSE", 12, "#55565c", spacing=3, anchor="start"))


def _pedal(doc):
    x0, y0, x1, y1 = PEDAL
    w, h = x1 - x0, y1 - y0
    doc.add(rect(x0 + 10, y0 + 22, w, h, "#000", rx=30, extra='filter="url(#shadow)" opacity="0.85"'))
    # Jacks on both sides, drawn first so the enclosure covers their roots.
    for jx in (x0 - 22, x1 - 6):
        doc.add(rect(jx, 150, 28, 44, "url(#rim)", rx=4, stroke="#333", sw=1))
    doc.add(rect(x1 - 4, 250, 20, 30, "#2a2a2e", rx=3, stroke="#555", sw=1))
    doc.add(text(x0 - 60, 140, "OUTPUT", 12, "#8a8a90", spacing=1.5))
    doc.add(text(x1 + 60, 140, "INPUT", 12, "#8a8a90", spacing=1.5))
    doc.add(text(x1 + 50, 300, "USB", 12, "#8a8a90", spacing=1.5))
    doc.add(rect(x0, y0, w, h, "url(#rim)", rx=30))
    doc.add(rect(x0 + 6, y0 + 6, w - 12, h - 12, "url(#enclosure)", rx=25))
    doc.add(rect(x0 + 6, y0 + 6, w - 12, h - 12, "url(#brush)", rx=25))
    doc.add(rect(x0 + 6, y0 + 6, w - 12, 60, "#ffffff", rx=25, extra='opacity="0.05"'))
    for sx, sy in ((x0 + 24, y0 + 24), (x1 - 24, y0 + 24), (x0 + 24, y1 - 24), (x1 - 24, y1 - 24)):
        doc.add(circle(sx, sy, 8, "url(#screw)", "#222", 0.8))
        doc.add(line(sx - 5, sy - 3, sx + 5, sy + 3, "#333", 1.6))
    _control_plate(doc)
    _footswitch_deck(doc)


def _control_plate(doc):
    doc.add(rect(690, 104, 890, 346, "url(#plate)", rx=14, stroke="#0b0b0c", sw=2))
    doc.add(rect(690, 104, 890, 346, "none", rx=14, stroke="#4a4a50", sw=0.8, extra='opacity="0.7"'))
    for cx, cy, name in TOP_ROW:
        _knob_scale(doc, cx, cy, 51)
        doc.add(text(cx, cy - 72, name, 19, CREAM, spacing=2))
    for cx, cy, r, name in LOWER_ROW:
        _knob_scale(doc, cx, cy, r)
        doc.add(text(cx, cy + r + 30, name, 19, CREAM, spacing=2))
    # Save button well.
    doc.add(rect(864, 309, 48, 86, "#050505", rx=8, stroke="#4a4a50", sw=1))
    # Two-digit display window with its bezel.
    doc.add(rect(1241, 303, 156, 112, "#0a0a0a", rx=10, stroke="#6a6a70", sw=2))
    doc.add(rect(1250, 311, 138, 96, "url(#display)", rx=4, stroke="#000", sw=2))
    doc.add(rect(1250, 311, 138, 40, "url(#glass)", rx=4))
    doc.add(text(1319, 432, "PRESET", 12, CREAM, spacing=2))
    # Auto-filter LED bezel: the lit LED image sits in it.
    doc.add(circle(1180, 268, 13, "url(#rim)", "#222", 1))
    doc.add(circle(1180, 268, 8.5, "#2b0606", "#000", 1))
    doc.add(circle(1177, 265, 2.5, "#ffffff", extra='opacity="0.25"'))
    doc.add(text(1180, 296, "AUTO FILTER", 10, CREAM, spacing=1.2))


def _knob_scale(doc, cx, cy, r):
    """Printed tick ring from -150 to +150 degrees, the knob's full travel."""
    doc.add(circle(cx, cy, r + 4, "url(#knobwell)"))
    for k in range(11):
        a = math.radians(-150 + 30 * k)
        inner, outer = r + 5, r + (12 if k in (0, 5, 10) else 9)
        doc.add(line(cx + inner * math.sin(a), cy - inner * math.cos(a),
                     cx + outer * math.sin(a), cy - outer * math.cos(a), CREAM, 1.8 if k % 5 == 0 else 1.1))
    for value, a in (("0", -150), ("10", 150)):
        rr = math.radians(a)
        doc.add(text(cx + (r + 20) * math.sin(rr), cy - (r + 20) * math.cos(rr) + 4, value, 10, CREAM))


def _footswitch_deck(doc):
    doc.add(line(690, 462, 1580, 462, "#000", 2, 'opacity="0.6"'))
    doc.add(line(690, 464, 1580, 464, "#ffffff", 1, 'opacity="0.08"'))
    for x, y, name in FOOTSWITCHES:
        cx, cy = x + 37.5, y + 42.5
        doc.add(circle(cx, cy, 41, "#000", extra='opacity="0.35" filter="url(#soft)"'))
        doc.add(circle(cx, cy, 39, "url(#rim)", "#222", 1))
        doc.add(circle(cx, cy, 35, "#1a1a1a"))
        label_y = cy + 60 if y > 400 else cy + 62
        doc.add(text(cx, label_y, name, 16, CREAM, spacing=2))
    doc.add(text(770.5, 600, "▼", 12, CREAM))
    doc.add(text(1497.5, 600, "▲", 12, CREAM))
    # Maker's plate between the switches.
    doc.add(text(955, 540, "Valvora", 46, CREAM, family="DejaVu Serif", weight="bold",
                 extra='font-style="italic"'))
    doc.add(text(955, 566, "AMP MODELLING PEDAL", 11, "#c9bfa4", spacing=3))
    doc.add(rect(1232, 506, 180, 54, "none", rx=6, stroke=CREAM, sw=1.5))
    doc.add(text(1322, 548, "KR7", 40, CREAM, spacing=6))
