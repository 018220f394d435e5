#!/usr/bin/env python3
"""Writes the seed corpora of the zip fuzz targets: small archives for the
directory reader and raw deflate streams for the decoder.

usage: make_seeds.py OUTDIR
"""
import io
import os
import sys
import zipfile
import zlib

out = sys.argv[1]
os.makedirs(os.path.join(out, "directory"), exist_ok=True)
os.makedirs(os.path.join(out, "inflate"), exist_ok=True)

texts = [b"", b"a", b"hello hello hello hello\n" * 20, bytes(range(256)) * 4, b"\0" * 3000]


def archive(entries, comment=b""):
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w") as zf:
        for name, data, method in entries:
            info = zipfile.ZipInfo(name, date_time=(2020, 5, 6, 7, 8, 10))
            info.compress_type = method
            zf.writestr(info, data)
        zf.comment = comment
    return buf.getvalue()


seeds = {
    "stored": archive([("a.txt", texts[2], zipfile.ZIP_STORED)]),
    "deflated": archive([("d/b.bin", texts[3], zipfile.ZIP_DEFLATED), ("d/", b"", zipfile.ZIP_STORED)]),
    "two": archive([("x", texts[4], zipfile.ZIP_DEFLATED), ("y", texts[1], zipfile.ZIP_STORED)], b"note"),
    "empty": archive([]),
}
# Without its end record, so the rebuild path is seeded too.
seeds["noend"] = seeds["two"][:-26]
# The last volume of two whose first volume holds the same bytes (the fuzz
# target writes each input as both), so volume changes are seeded too.
two = bytearray(seeds["two"])
end = two.rfind(b"PK\x05\x06")
two[end + 4:end + 8] = b"\x01\x00\x01\x00"
seeds["volumes"] = bytes(two)
for name, data in seeds.items():
    with open(os.path.join(out, "directory", name), "wb") as f:
        f.write(data)

for i, data in enumerate(texts):
    for level in (0, 1, 9):
        for strategy in (zlib.Z_DEFAULT_STRATEGY, zlib.Z_FIXED):
            c = zlib.compressobj(level, zlib.DEFLATED, -15, 8, strategy)
            with open(os.path.join(out, "inflate", f"t{i}-l{level}-s{strategy}"), "wb") as f:
                f.write(c.compress(data) + c.flush())
