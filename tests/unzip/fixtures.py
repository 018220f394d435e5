#!/usr/bin/env python3
"""Small archives for the zip engine's tests, made with Python's zipfile.

usage: fixtures.py KIND OUT.zip
"""
import struct
import sys
import zipfile

GBK_NAME = "中文名.txt".encode("gbk")
PLACEHOLDER = b"X" * (len(GBK_NAME) - 4) + b".txt"


def entry(zf, name, data, method=zipfile.ZIP_DEFLATED, system=0, date=(2021, 3, 4, 5, 6, 8)):
    info = zipfile.ZipInfo(name, date_time=date)
    info.compress_type = method
    info.create_system = system
    info.external_attr = 0x20
    zf.writestr(info, data)


def unsafe(out):
    # Names that try to leave the destination folder.
    with zipfile.ZipFile(out, "w") as zf:
        entry(zf, "../escape-up.txt", b"up\n")
        entry(zf, "sub/../../escape-sub.txt", b"sub\n")
        entry(zf, "/abs-root.txt", b"abs\n")
        entry(zf, "C:/drive.txt", b"drive\n")
        entry(zf, "\\\\back\\lead.txt", b"back\n")
        entry(zf, "ok/fine.txt", b"fine\n")


def gbk_fat(out):
    # A FAT-host name in the OEM code page (GBK): written with a placeholder of
    # the same length, then patched to the GBK bytes in both headers.
    with zipfile.ZipFile(out, "w") as zf:
        entry(zf, "dir/" + PLACEHOLDER.decode(), "内容\n".encode("utf-8"))
    data = open(out, "rb").read().replace(PLACEHOLDER, GBK_NAME)
    open(out, "wb").write(data)


def utf8_flag(out):
    with zipfile.ZipFile(out, "w") as zf:
        entry(zf, "目录/文件.txt", b"utf8\n")


def dates(out):
    # Entries with distinct dates and sizes, for the sort orders; one bad date.
    with zipfile.ZipFile(out, "w") as zf:
        entry(zf, "b.txt", b"bb" * 100, date=(2020, 1, 1, 0, 0, 0))
        entry(zf, "A.txt", b"a" * 10, date=(2022, 1, 1, 0, 0, 0))
        entry(zf, "c/d.txt", b"0123456789" * 50, date=(2020, 1, 1, 0, 0, 0))
    data = bytearray(open(out, "rb").read())
    # Patch the third central record's date to month 0, day 0 and time 25:61:62.
    cd = data.rfind(b"PK\x01\x02")
    struct.pack_into("<HH", data, cd + 12, (25 << 11) | (61 << 5) | 31, (41 << 9))
    open(out, "wb").write(bytes(data))


def oversize(out):
    # A deflated entry whose stated uncompressed size is smaller than its data.
    with zipfile.ZipFile(out, "w") as zf:
        entry(zf, "big.txt", b"z" * 100000)
    data = bytearray(open(out, "rb").read())
    for sig, off in ((b"PK\x03\x04", 22), (b"PK\x01\x02", 24)):
        at = data.find(sig)
        struct.pack_into("<I", data, at + off, 1000)
    open(out, "wb").write(bytes(data))


def dup_central(out):
    # Two central records that point at the same local header.
    with zipfile.ZipFile(out, "w") as zf:
        entry(zf, "one.txt", b"one\n")
        entry(zf, "two.txt", b"two\n")
    data = bytearray(open(out, "rb").read())
    first = data.find(b"PK\x01\x02")
    second = data.find(b"PK\x01\x02", first + 4)
    struct.pack_into("<I", data, second + 42, 0)
    open(out, "wb").write(bytes(data))


def method9(out):
    with zipfile.ZipFile(out, "w") as zf:
        entry(zf, "m9.txt", b"nine\n", method=zipfile.ZIP_STORED)
        entry(zf, "fine.txt", b"fine\n")
    data = bytearray(open(out, "rb").read())
    for sig, off in ((b"PK\x03\x04", 8), (b"PK\x01\x02", 10)):
        struct.pack_into("<H", data, data.find(sig) + off, 9)
    open(out, "wb").write(bytes(data))


def comment_sig(out):
    with zipfile.ZipFile(out, "w") as zf:
        entry(zf, "a.txt", b"a\n")
        zf.comment = b"fake PK\x05\x06" + b"\0" * 18 + b" end"
    return out


KINDS = {f.__name__: f for f in (unsafe, gbk_fat, utf8_flag, dates, oversize, dup_central, method9, comment_sig)}

if __name__ == "__main__":
    KINDS[sys.argv[1]](sys.argv[2])
