#!/usr/bin/env python3
"""Archives written by Python's zipfile the way programs write them in the wild,
and the large ones the Zip64 tests need, made at test time without holding
their data in memory.

usage: peers.py tree SRC OUT          every file below SRC, Zip64 records forced
       peers.py big OUT SIZE          SIZE zero bytes deflated, then a small entry
       peers.py many OUT COUNT [wrap] COUNT tiny entries; with "wrap" the Zip64
                                      end records are dropped and the count is
                                      cut to 16 bits, as some writers do
       peers.py offset OUT SIZE       a sparse stored entry of SIZE zero bytes,
                                      then a small entry beyond it (Zip64 offset)
"""
import os
import struct
import sys
import zipfile
import zlib

CHUNK = 1 << 20
AFTER_NAME = "after.txt"
AFTER_DATA = b"written after the big entry\n"


def tree(src, out):
    with zipfile.ZipFile(out, "w", compression=zipfile.ZIP_DEFLATED) as zf:
        for root, dirs, files in os.walk(src):
            dirs.sort()
            for name in sorted(files):
                path = os.path.join(root, name)
                if os.path.islink(path):
                    continue
                info = zipfile.ZipInfo.from_file(path, os.path.relpath(path, src))
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(path, "rb") as f, zf.open(info, "w", force_zip64=True) as w:
                    w.write(f.read())


def big(out, size):
    zero = bytes(CHUNK)
    with zipfile.ZipFile(out, "w", compression=zipfile.ZIP_DEFLATED, compresslevel=1) as zf:
        with zf.open("zeros.bin", "w", force_zip64=True) as w:
            left = size
            while left > 0:
                n = min(left, CHUNK)
                w.write(zero if n == CHUNK else zero[:n])
                left -= n
        zf.writestr(AFTER_NAME, AFTER_DATA)


def many(out, count, wrap):
    with zipfile.ZipFile(out, "w", compression=zipfile.ZIP_STORED) as zf:
        for i in range(count):
            zf.writestr("d%02d/%05d.txt" % (i // 1000, i), b"%d\n" % i)
    if not wrap:
        return
    data = bytearray(open(out, "rb").read())
    end = data.rfind(b"PK\x05\x06")
    z64 = data.rfind(b"PK\x06\x06", 0, end)
    size, offset = struct.unpack_from("<QQ", data, z64 + 40)
    record = data[end:]
    struct.pack_into("<HHII", record, 8, count & 0xFFFF, count & 0xFFFF, size, offset)
    open(out, "wb").write(bytes(data[:z64] + record))


def offset(out, size):
    # Local header, sparse data, small entry, central directory, Zip64 end
    # record, locator and end record, all by the application note.
    crc = 0
    zero = bytes(CHUNK)
    left = size
    while left > 0:
        n = min(left, CHUNK)
        crc = zlib.crc32(zero if n == CHUNK else zero[:n], crc)
        left -= n
    big_name = b"zeros.bin"
    dos_time, dos_date = (10 << 11) | (20 << 5) | 15, (41 << 9) | (6 << 5) | 15
    z64_local = struct.pack("<HHQQ", 1, 16, size, size)
    with open(out, "wb") as f:
        f.write(struct.pack("<IHHHHHIIIHH", 0x04034B50, 45, 0, 0, dos_time, dos_date, crc,
                            0xFFFFFFFF, 0xFFFFFFFF, len(big_name), len(z64_local)))
        f.write(big_name + z64_local)
        f.seek(size, os.SEEK_CUR)
        after_offset = f.tell()
        after_crc = zlib.crc32(AFTER_DATA)
        name = AFTER_NAME.encode()
        f.write(struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, 0, dos_time, dos_date, after_crc,
                            len(AFTER_DATA), len(AFTER_DATA), len(name), 0))
        f.write(name + AFTER_DATA)
        central = f.tell()
        z64_big = struct.pack("<HHQQ", 1, 16, size, size)
        f.write(struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 0x031E, 45, 0, 0, dos_time, dos_date, crc,
                            0xFFFFFFFF, 0xFFFFFFFF, len(big_name), len(z64_big), 0, 0, 0, 0o100644 << 16, 0))
        f.write(big_name + z64_big)
        z64_after = struct.pack("<HHQ", 1, 8, after_offset)
        f.write(struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 0x031E, 45, 0, 0, dos_time, dos_date, after_crc,
                            len(AFTER_DATA), len(AFTER_DATA), len(name), len(z64_after), 0, 0, 0,
                            0o100644 << 16, 0xFFFFFFFF))
        f.write(name + z64_after)
        end64 = f.tell()
        f.write(struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, 2, 2, end64 - central, central))
        f.write(struct.pack("<IIQI", 0x07064B50, 0, end64, 1))
        f.write(struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 2, 2, end64 - central, 0xFFFFFFFF, 0))


if __name__ == "__main__":
    kind = sys.argv[1]
    if kind == "tree":
        tree(sys.argv[2], sys.argv[3])
    elif kind == "big":
        big(sys.argv[2], int(sys.argv[3]))
    elif kind == "many":
        many(sys.argv[2], int(sys.argv[3]), len(sys.argv) > 4 and sys.argv[4] == "wrap")
    elif kind == "offset":
        offset(sys.argv[2], int(sys.argv[3]))
    else:
        sys.exit(__doc__)
