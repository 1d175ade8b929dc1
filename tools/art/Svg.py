"""Small helpers that write SVG text: one document per image, in design units.

Every image is drawn in its 1x design size; the rasteriser scales the same
document for the @2x file, so both always agree in layout."""

from xml.sax.saxutils import escape

CONDENSED = "Roboto Condensed"
REGULAR = "Roboto"


class Doc:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.defs = []
        self.body = []

    def define(self, text):
        self.defs.append(text)

    def add(self, text):
        self.body.append(text)

    def render(self):
        return (
            '<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" width="{self.width}" height="{self.height}" '
            f'viewBox="0 0 {self.width} {self.height}">\n'
            "<defs>\n" + "\n".join(self.defs) + "\n</defs>\n" + "\n".join(self.body) + "\n</svg>\n"
        )


def linear(gid, stops, x1=0, y1=0, x2=0, y2=1):
    parts = "".join(
        f'<stop offset="{o}" stop-color="{c}" stop-opacity="{a}"/>' for o, c, a in _stops(stops)
    )
    return (
        f'<linearGradient id="{gid}" x1="{x1}" y1="{y1}" x2="{x2}" y2="{y2}">{parts}</linearGradient>'
    )


def radial(gid, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None):
    fx = cx if fx is None else fx
    fy = cy if fy is None else fy
    parts = "".join(
        f'<stop offset="{o}" stop-color="{c}" stop-opacity="{a}"/>' for o, c, a in _stops(stops)
    )
    return (
        f'<radialGradient id="{gid}" cx="{cx}" cy="{cy}" r="{r}" fx="{fx}" fy="{fy}">'
        f"{parts}</radialGradient>"
    )


def _stops(stops):
    for stop in stops:
        if len(stop) == 2:
            yield stop[0], stop[1], 1
        else:
            yield stop


def rect(x, y, w, h, fill, rx=0, stroke="none", sw=0, extra=""):
    return (
        f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{rx}" fill="{fill}" '
        f'stroke="{stroke}" stroke-width="{sw}" {extra}/>'
    )


def circle(cx, cy, r, fill, stroke="none", sw=0, extra=""):
    return f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{fill}" stroke="{stroke}" stroke-width="{sw}" {extra}/>'


def line(x1, y1, x2, y2, stroke, sw, extra=""):
    return (
        f'<line x1="{x1}" y1="{y1}" x2="{x2}" y2="{y2}" stroke="{stroke}" stroke-width="{sw}" '
        f'stroke-linecap="round" {extra}/>'
    )


def text(x, y, content, size, fill, family=CONDENSED, weight="bold", anchor="middle", spacing=0, extra=""):
    return (
        f'<text x="{x}" y="{y}" font-family="{family}" font-size="{size}" font-weight="{weight}" '
        f'fill="{fill}" text-anchor="{anchor}" letter-spacing="{spacing}" {extra}>{escape(content)}</text>'
    )


def group(content, extra=""):
    return f"<g {extra}>" + "".join(content) + "</g>"
