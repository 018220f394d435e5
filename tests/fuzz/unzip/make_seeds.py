#!/usr/bin/env python3
"""Writes the seed corpora of the zip fuzz targets: small archives for the
directory reader and raw deflate streams for the decoder.

usage: make_seeds.py OUTDIR
"""
import io
import os
import struct
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


def zip64_end(data):
    # A Zip64 end record and locator before the end record, whose fields then
    # hold the markers that send the reader to them.
    end = data.rfind(b"PK\x05\x06")
    count, size, offset = struct.unpack_from("<HII", data, end + 10)
    record = struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, count, count, size, offset)
    locator = struct.pack("<IIQI", 0x07064B50, 0, end, 1)
    tail = bytearray(data[end:])
    struct.pack_into("<HHII", tail, 8, 0xFFFF, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF)
    return data[:end] + record + locator + bytes(tail)


def extra(header, payload):
    return struct.pack("<HH", header, len(payload)) + payload


class Unseekable:
    # zipfile writes data descriptors into a stream it cannot seek in.
    def __init__(self, f):
        self.f = f

    def write(self, b):
        return self.f.write(b)

    def flush(self):
        pass


buf = io.BytesIO()
with zipfile.ZipFile(buf, "w") as zf:
    for name, data in (("z/a.txt", texts[2]), ("z/b", texts[1])):
        with zf.open(zipfile.ZipInfo(name, date_time=(2020, 5, 6, 7, 8, 10)), "w", force_zip64=True) as w:
            w.write(data)
seeds["zip64"] = zip64_end(buf.getvalue())

buf = io.BytesIO()
with zipfile.ZipFile(buf, "w") as zf:
    for header, payload in ((0x7075, b"\x01" + struct.pack("<I", zlib.crc32(b"u.txt")) + "ü.txt".encode()),
                            (0x6375, b"\x01" + struct.pack("<I", 0) + b"note"),
                            (0x5455, b"\x01" + struct.pack("<I", 1700000000)),
                            (0x000A, b"\0" * 4 + struct.pack("<HHQQQ", 1, 24, 1 << 57, 0, 0)),
                            (0x9901, struct.pack("<HHBH", 2, 0x4541, 3, 8)),
                            (0x0001, struct.pack("<QQQI", 5, 5, 0, 0))):
        info = zipfile.ZipInfo("u.txt" if header == 0x7075 else "x%04x" % header, date_time=(2020, 5, 6, 7, 8, 10))
        info.extra = extra(header, payload)
        info.create_system = 3
        info.external_attr = 0o120777 << 16
        zf.writestr(info, texts[2][:50])
seeds["extras"] = buf.getvalue()

raw = io.BytesIO()
with zipfile.ZipFile(Unseekable(raw), "w") as zf:
    zf.writestr(zipfile.ZipInfo("s1.txt", date_time=(2020, 5, 6, 7, 8, 10)), texts[2])
    zf.writestr(zipfile.ZipInfo("s2.txt", date_time=(2020, 5, 6, 7, 8, 10)), texts[3])
seeds["descriptors"] = raw.getvalue()
# The same without its directory: the rebuild looks for the descriptors.
seeds["descriptors-cut"] = seeds["descriptors"][:seeds["descriptors"].find(b"PK\x01\x02")]
# A stub in front, the offsets not adjusted.
seeds["prepended"] = b"MZ" + bytes(300) + seeds["two"]

for name, data in seeds.items():
    with open(os.path.join(out, "directory", name), "wb") as f:
        f.write(data)

for i, data in enumerate(texts):
    for level in (0, 1, 9):
        for strategy in (zlib.Z_DEFAULT_STRATEGY, zlib.Z_FIXED):
            c = zlib.compressobj(level, zlib.DEFLATED, -15, 8, strategy)
            with open(os.path.join(out, "inflate", f"t{i}-l{level}-s{strategy}"), "wb") as f:
                f.write(c.compress(data) + c.flush())
