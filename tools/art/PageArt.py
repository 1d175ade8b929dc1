"""Panels and pages that lie over or beside the pedal: the impulse-response
editor panel and list, the settings and firmware pages, the about page and
the picture of the MIDI foot controller."""

from Svg import Doc, circle, line, linear, radial, rect, text, group, CONDENSED, REGULAR

CREAM = "#ece5cf"
CYAN = "#33ffff"
GREY = "#8a8a90"


def editor_panel():
    """742 x 517 at (356, 645): the impulse-response block's own panel."""
    doc = Doc(742, 517)
    doc.define(linear("panel", [(0, "#202125"), (1, "#141417")]))
    doc.add(rect(1, 1, 740, 515, "url(#panel)", rx=10, stroke="#3a3b40", sw=1.5))
    doc.add(line(20, 93, 722, 93, "#2c2d31", 1))
    doc.add(text(722, 40, "CABINET / IMPULSE RESPONSE", 12, "#55565c", spacing=3, anchor="end"))
    # Upright beside the slider: above it the block's title leaves no room.
    doc.add(text(14, 290, "MIC", 11, GREY, spacing=2, extra='transform="rotate(-90 14 290)"'))
    return doc


def ir_list_panel():
    """630 x 460 at (429, 705): nine cabinet rows with the user-IR controls
    of positions 7 and 8 to the right of their rows."""
    doc = Doc(630, 460)
    doc.define(linear("cone", [(0, "#3a3a3a"), (1, "#111")]))
    doc.define(radial("speaker", [(0, "#444"), (0.25, "#1a1a1a"), (0.3, "#5a5a5a"), (0.34, "#151515"),
                                  (0.9, "#2a2a2a"), (0.95, "#777"), (1, "#222")]))
    doc.add(rect(0, 0, 630, 460, "#111114", rx=8, stroke="#2e2f34", sw=1))
    for j in range(9):
        y = 8 + 50 * j
        doc.add(rect(10, y, 292, 43, "#1b1c20" if j % 2 == 0 else "#17181b", rx=4))
        doc.add(rect(16, y + 8, 40, 27, "#0a0a0c", rx=4, stroke="#333", sw=1))
        doc.add(text(36, y + 28, "OFF" if j == 0 else str(j), 15 if j == 0 else 17, CYAN if j else GREY))
    # User impulse responses of positions 7 and 8.
    doc.add(rect(306, 352, 318, 104, "#18191c", rx=6, stroke="#2e2f34", sw=1))
    for label, x in (("MODE", 341), ("GAIN", 401), ("LEVEL", 501), ("USER IR", 590)):
        doc.add(text(x, 346, label, 11, GREY, spacing=1.5))
    for j, name in ((7, "A"), (8, "B")):
        y = 8 + 50 * j
        doc.add(text(440, y + 27, name, 14, GREY))
    # A speaker with the microphone aimed at it.
    cx, cy = 466, 170
    doc.add(rect(326, 24, 280, 290, "#0d0d0f", rx=10, stroke="#2a2b30", sw=1))
    for k in range(0, 280, 8):
        doc.add(line(330 + k, 28, 330 + k, 310, "#1c1c20", 3))
    doc.add(circle(cx, cy, 118, "url(#speaker)", "#000", 3))
    doc.add(circle(cx, cy, 30, "#0f0f0f", "#4a4a4a", 1.5))
    doc.add(text(466, 336, "CABINET", 12, "#55565c", spacing=3))
    return doc


def _dim_page(doc, panel):
    x, y, w, h = panel
    doc.define(linear("page", [(0, "#2a2b30"), (1, "#18191c")]))
    doc.add(rect(0, 0, 1920, 1080, "#050506", extra='opacity="0.82"'))
    doc.add(rect(x + 8, y + 14, w, h, "#000", rx=14, extra='opacity="0.6"'))
    doc.add(rect(x, y, w, h, "url(#page)", rx=14, stroke="#4a4b50", sw=1.5))


def global_page():
    """1920 x 1080: shared by the global settings and both MIDI pages."""
    doc = Doc(1920, 1080)
    _dim_page(doc, (720, 190, 820, 690))
    doc.add(text(760, 232, "KR7 SETTINGS", 26, CREAM, spacing=4, anchor="start"))
    doc.add(line(740, 740, 1500, 740, "#3a3b40", 1))
    doc.add(text(1500, 866, "VALVORA KR7", 12, "#55565c", spacing=3, anchor="end"))
    return doc


def firmware_page():
    doc = Doc(1920, 1080)
    _dim_page(doc, (700, 290, 900, 640))
    doc.add(text(748, 336, "FIRMWARE UPDATE", 28, CREAM, spacing=4, anchor="start"))
    steps = [
        "1.  Download the newest firmware file (.bin) from the address above.",
        "2.  Keep the KR7 connected over USB and do not touch its controls.",
        "3.  Click UPDATE FIRMWARE and choose the downloaded file.",
        "4.  Wait until the ring reaches 100 % and the pedal restarts.",
    ]
    for i, s in enumerate(steps):
        doc.add(text(760, 440 + 44 * i, s, 21, "#d0d0d4", family=REGULAR, weight="normal", anchor="start"))
    doc.add(rect(740, 620, 230, 250, "#121215", rx=8, stroke="#2e2f34", sw=1))
    doc.add(text(855, 700, "!", 70, "#e0a020"))
    doc.add(text(855, 760, "Never unplug the", 16, GREY, family=REGULAR, weight="normal"))
    doc.add(text(855, 782, "pedal while the", 16, GREY, family=REGULAR, weight="normal"))
    doc.add(text(855, 804, "update runs.", 16, GREY, family=REGULAR, weight="normal"))
    # The well behind the progress ring.
    doc.add(circle(1097.5, 797.5, 96, "#0d0d10", "#2e2f34", 1.5))
    return doc


def about_page():
    doc = Doc(1920, 1200)
    doc.define(radial("glow", [(0, "#263a3c"), (1, "#0b0b0d")], cx=0.5, cy=0.35, r=0.8))
    doc.add(rect(0, 0, 1920, 1200, "url(#glow)"))
    doc.add(text(1236, 352, "KR7Control", 84, CREAM, spacing=2, anchor="end"))
    doc.add(rect(1265, 305, 120, 60, "#000", rx=30, stroke=CYAN, sw=2, extra='fill-opacity="0.35"'))
    doc.add(line(560, 400, 1360, 400, "#3a3b40", 1.5))
    rows = [
        "Editor for the Valvora KR7 amp-modelling floor pedal",
        "Presets · Impulse responses · Global settings · MIDI maps · Firmware",
        "Fonts: Roboto, Roboto Condensed, DSEG, Fork Awesome — see CREDITS",
    ]
    for i, s in enumerate(rows):
        doc.add(text(960, 470 + 44 * i, s, 24, "#c4c4ca", family=REGULAR, weight="normal"))
    doc.add(text(960, 860, "Valvora", 150, "#ffffff", family="DejaVu Serif",
                 extra='font-style="italic" opacity="0.06"'))
    doc.add(text(960, 960, "KR7 amp-modelling floor pedal · made by Norvane", 22, "#8a8a90",
                 family=REGULAR, weight="normal"))
    doc.add(text(960, 1120, "Click anywhere to close", 21, "#7a7a80", family=REGULAR, weight="normal"))
    return doc


def midi_controller():
    """512 x 120: a six-switch MIDI foot controller with its display."""
    doc = Doc(512, 120)
    doc.define(linear("ctl", [(0, "#3c3c42"), (1, "#1c1c20")]))
    doc.define(radial("sw", [(0, "#f0f0f0"), (0.7, "#9a9a9a"), (1, "#4a4a4a")], fx=0.4, fy=0.35))
    doc.add(rect(2, 2, 508, 116, "url(#ctl)", rx=12, stroke="#6a6a70", sw=1.5))
    doc.add(rect(196, 10, 120, 30, "#0b1f21", rx=3, stroke="#000", sw=1))
    doc.add(text(256, 32, "PROG 001", 16, CYAN))
    for k in range(6):
        x = 48 + 83 * k
        doc.add(circle(x, 84, 20, "url(#sw)", "#222", 1))
        doc.add(circle(x, 50, 4, "#e01810" if k == 0 else "#3a0c0a"))
    doc.add(text(20, 28, "MIDI", 14, CREAM, anchor="start", spacing=2))
    return doc
