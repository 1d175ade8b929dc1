"""Writes the SVG source of every image the editor embeds.

    GenerateArt.py --list          prints "name width height" per image
    GenerateArt.py <output folder> writes <name>.svg for every image
    GenerateArt.py --icon <file>   writes the application icon

A file is rewritten only when its text changes, so the build rasterises
again only the images whose drawing changed."""

import os
import sys

# Keep the source tree free of bytecode caches.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import ControlArt  # noqa: E402
import IconArt  # noqa: E402
import PageArt  # noqa: E402
import PedalArt  # noqa: E402

AMP_BUTTONS = [
    ("amp-blond", 163, "BLOND"), ("amp-liverpool", 140, "LIVERPOOL"), ("amp-british", 140, "BRITISH"),
    ("amp-caliclassic", 140, "CALI CLASSIC"), ("amp-boutiquea", 162, "BOUTIQUE A"),
    ("amp-tweed", 163, "TWEED"), ("amp-topboost", 140, "TOP BOOST"), ("amp-plexi", 140, "PLEXI"),
    ("amp-calimetal", 140, "CALI METAL"), ("amp-boutiqueb", 162, "BOUTIQUE B"),
]
AMBIENCE_BUTTONS = [
    ("radio-room", 163, "ROOM"), ("radio-hall", 140, "HALL"), ("radio-spring", 140, "SPRING"),
    ("radio-plate", 140, "PLATE"), ("radio-chorus", 162, "CHORUS"), ("radio-echo", 163, "ECHO"),
    ("radio-echoverb", 140, "ECHOVERB"),
]


def images():
    """Name (without extension) and drawing function of every raster image."""
    table = {
        "background": PedalArt.background,
        "knobrotate": lambda: ControlArt.knob(102),
        "knobrotatebig": lambda: ControlArt.knob(130),
        "fswitch": ControlArt.footswitch,
        "led": ControlArt.led,
        "save": ControlArt.save_button,
        "editorbg": PageArt.editor_panel,
        "irbg": PageArt.ir_list_panel,
        "mic": ControlArt.mic,
        "micbg": ControlArt.mic_track,
        "globalbg": PageArt.global_page,
        "fwbg": PageArt.firmware_page,
        "about": PageArt.about_page,
        "midilynxet": PageArt.midi_controller,
    }
    for name, width, label in AMP_BUTTONS + AMBIENCE_BUTTONS:
        table[name] = (lambda w=width, l=label: ControlArt.block_button(w, l))
    return table


def write_if_changed(path, content):
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == content:
                return
    except OSError:
        pass
    with open(path, "w", encoding="utf-8") as f:
        f.write(content)


def main(argv):
    if len(argv) == 3 and argv[1] == "--icon":
        write_if_changed(argv[2], IconArt.app_icon().render())
        return 0
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    table = images()
    if argv[1] == "--list":
        for name, draw in table.items():
            doc = draw()
            print(name, doc.width, doc.height)
        return 0
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    for name, draw in table.items():
        write_if_changed(os.path.join(out, name + ".svg"), draw().render())
    write_if_changed(os.path.join(out, "vector-knob.svg"), ControlArt.vector_knob().render())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
