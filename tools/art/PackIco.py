"""Packs PNG images into one Windows icon file (.ico), each image stored as
PNG, which every Windows since Vista reads at every size.

    PackIco.py <out.ico> <image.png>...
"""

import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise ValueError("not a PNG image")
    return struct.unpack(">II", data[16:24])


def pack(images):
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, blobs = b"", b""
    for data in images:
        width, height = png_size(data)
        # 256 is written as 0 in the one-byte size fields.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32,
                               len(data), offset + len(blobs))
        blobs += data
    return header + entries + blobs


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    images = []
    for name in argv[2:]:
        with open(name, "rb") as f:
            images.append(f.read())
    with open(argv[1], "wb") as f:
        f.write(pack(images))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
