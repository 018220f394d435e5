#!/usr/bin/env python3
"""Writes the seed corpora of the zip fuzz targets: small archives for the
directory reader and raw deflate streams for the decoder.

usage: make_seeds.py OUTDIR
"""
import bz2
import io
import lzma
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile
import zlib

out = sys.argv[1]
os.makedirs(os.path.join(out, "directory"), exist_ok=True)
for target in ("inflate", "methods", "aes"):
    os.makedirs(os.path.join(out, target), exist_ok=True)

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


def seed(target, name, data):
    with open(os.path.join(out, target, name), "wb") as f:
        f.write(data)


# The methods target: a selector byte (0 Deflate64, 1 bzip2, 2 LZMA, 3 XZ,
# 4 Zstandard, 5 PPMd), then the stream.
def zip_lzma(data):
    compressor = lzma.LZMACompressor(lzma.FORMAT_RAW, filters=[{"id": lzma.FILTER_LZMA1}])
    props = lzma._encode_filter_properties({"id": lzma.FILTER_LZMA1})
    return struct.pack("<BBH", 9, 4, len(props)) + props + compressor.compress(data) + compressor.flush()


def tool(command, data):
    if not shutil.which(command[0]):
        return None
    return subprocess.run(command, input=data, stdout=subprocess.PIPE, check=True).stdout


for i, data in enumerate(texts):
    seed("methods", f"bzip2-{i}", b"\x01" + bz2.compress(data))
    seed("methods", f"lzma-{i}", b"\x02" + zip_lzma(data))
    seed("methods", f"xz-{i}", b"\x03" + lzma.compress(data, format=lzma.FORMAT_XZ))
    zst = tool(["zstd", "-q", "-c"], data)
    if zst is not None:
        seed("methods", f"zstd-{i}", b"\x04" + zst)


# 7-Zip writes the Deflate64, PPMd and AES seeds when it is installed: the
# entry's data region, and for AES the three bytes the target reads first.
def seven_zip_entries(options):
    if not shutil.which("7zz"):
        return []
    with tempfile.TemporaryDirectory() as work:
        for i, data in enumerate(texts):
            with open(os.path.join(work, f"f{i}"), "wb") as f:
                f.write(data)
        archive = os.path.join(work, "a.zip")
        subprocess.run(["7zz", "a", "-tzip", *options, archive] + [f"f{i}" for i in range(len(texts))],
                       cwd=work, stdout=subprocess.DEVNULL, check=True)
        raw = open(archive, "rb").read()
    entries = []
    with zipfile.ZipFile(io.BytesIO(raw)) as zf:
        for info in zf.infolist():
            at = info.header_offset
            name_len, extra_len = struct.unpack_from("<HH", raw, at + 26)
            extra = raw[at + 30 + name_len:at + 30 + name_len + extra_len]
            start = at + 30 + name_len + extra_len
            entries.append((info, extra, raw[start:start + info.compress_size]))
    return entries


for info, extra, data in seven_zip_entries(["-mm=Deflate64", "-mx=9"]):
    seed("methods", "deflate64-" + info.filename, b"\x00" + data)
# Orders 2 and 16, and both restoration methods.
for options in (["-mo=2"], ["-mo=16", "-mmem=1m"], ["-mx=9", "-mmem=1m"]):
    for info, extra, data in seven_zip_entries(["-mm=PPMd", *options]):
        if info.compress_type == 98:
            seed("methods", "ppmd" + "".join(options) + "-" + info.filename, b"\x05" + data)
for strength in ("AES128", "AES192", "AES256"):
    for method in ("Deflate", "Copy"):
        for info, extra, data in seven_zip_entries([f"-mem={strength}", f"-mm={method}", "-ppw"]):
            at = extra.find(b"\x01\x99")
            version, _, key, inner = struct.unpack_from("<H2sBH", extra, at + 4)
            order = [0, 8, 9, 12, 14, 93, 95, 1, 6, 98]
            seed("aes", f"{strength}-{method}-{info.filename}", bytes([key, order.index(inner), version - 1]) + data)
