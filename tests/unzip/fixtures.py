#!/usr/bin/env python3
"""Small archives for the zip engine's tests, made with Python's zipfile.

usage: fixtures.py KIND OUT.zip
"""
import bz2
import lzma
import os
import random
import struct
import subprocess
import sys
import zipfile
import zlib

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


def overlapping(out, kind):
    # Entries whose ranges overlap: "shared", 40 central records claiming one
    # local header of 4 MiB of zeros (each record a name of its own); "runs_over",
    # an entry whose data runs over the next local header into its data;
    # "directory", an entry whose data runs into the central directory; and
    # "apart", the same archive untouched, its entries merely adjacent.
    if kind == "shared":
        with zipfile.ZipFile(out, "w") as zf:
            entry(zf, "bomb00.bin", bytes(4 << 20))
        data = bytearray(open(out, "rb").read())
        cd = data.find(b"PK\x01\x02")
        end = data.rfind(b"PK\x05\x06")
        record = bytes(data[cd:end])
        records = b"".join(record.replace(b"bomb00", b"bomb%02d" % i) for i in range(40))
        tail = bytearray(data[end:])
        struct.pack_into("<HHI", tail, 8, 40, 40, len(records))
        open(out, "wb").write(bytes(data[:cd]) + records + bytes(tail))
        return
    with zipfile.ZipFile(out, "w") as zf:
        entry(zf, "first.txt", b"first\n" * 100)
        entry(zf, "second.txt", b"second\n" * 100)
    data = bytearray(open(out, "rb").read())
    infos = zipfile.ZipFile(out).infolist()
    grow = {"runs_over": (infos[0], 30 + len("second.txt") + 10), "directory": (infos[1], 10)}.get(kind)
    if grow:
        info, extra = grow
        cd = data.find(b"PK\x01\x02")
        while cd >= 0 and struct.unpack_from("<I", data, cd + 42)[0] != info.header_offset:
            cd = data.find(b"PK\x01\x02", cd + 4)
        for at, off in ((info.header_offset, 18), (cd, 20)):
            struct.pack_into("<I", data, at + off, info.compress_size + extra)
    open(out, "wb").write(bytes(data))


def unknown_method(out):
    # Method 97 (WavPack) is read by nobody here.
    with zipfile.ZipFile(out, "w") as zf:
        entry(zf, "m97.txt", b"ninety-seven\n", method=zipfile.ZIP_STORED)
        entry(zf, "fine.txt", b"fine\n")
    data = bytearray(open(out, "rb").read())
    for sig, off in ((b"PK\x03\x04", 8), (b"PK\x01\x02", 10)):
        struct.pack_into("<H", data, data.find(sig) + off, 97)
    open(out, "wb").write(bytes(data))


def raw_zip(out, entries, hosts=()):
    """Writes entries given as (name, method, plain bytes, compressed bytes[, declared size]).

    A name given as bytes is stored as it is, without the UTF-8 flag; `hosts`
    gives the entries' host systems in turn (the rest are MS-DOS)."""
    body = b""
    central = b""
    for i, (name, method, plain, packed, *declared) in enumerate(entries):
        n = name if isinstance(name, bytes) else name.encode()
        size = declared[0] if declared else len(plain)
        host = hosts[i] if i < len(hosts) else 0
        fields = struct.pack("<HHHIIII", 20, 0, method, 0x52640000, zlib.crc32(plain), len(packed), size)
        central += b"PK\x01\x02" + struct.pack("<H", host << 8 | 20) + fields
        central += struct.pack("<HHHHHII", len(n), 0, 0, 0, 0, 0x20, len(body)) + n
        body += b"PK\x03\x04" + fields + struct.pack("<HH", len(n), 0) + n + packed
    end = struct.pack("<4sHHHHIIH", b"PK\x05\x06", 0, 0, len(entries), len(entries), len(central), len(body), 0)
    open(out, "wb").write(body + central + end)


# Names as Japanese (932) and Russian DOS (866) machines store them: in their
# code page, without the UTF-8 flag. Each entry holds its name in UTF-8. "ソ"
# and "表" end in 0x5C, the byte of "\\"; the last entry comes from a Unix host.
CODEPAGE_NAMES = {
    932: ["日本語/ファイル名.txt", "表示.txt", "ソース/説明.txt"],
    866: ["Документы/Отчёт.txt", "Ёлка.txt", "Привет/мир.txt"],
}


def codepage_names(out, codepage):
    names = CODEPAGE_NAMES[codepage]
    entries = [(n.encode("cp%d" % codepage), 0, n.encode(), n.encode()) for n in names]
    raw_zip(out, entries, hosts=[0] * (len(names) - 1) + [3])


def cp932_names(out):
    codepage_names(out, 932)


def cp866_names(out):
    codepage_names(out, 866)


def layout_zip(out, entries):
    """Writes stored entries to the application note's layout, each a dict: name
    (bytes), data, and as needed host (the system of "version made by"),
    attributes (external), flags, local_extra, central_extra."""
    body = b""
    central = b""
    for e in entries:
        name, data = e["name"], e.get("data", b"")
        local_extra, central_extra = e.get("local_extra", b""), e.get("central_extra", b"")
        fields = struct.pack("<HHHIIII", 20, e.get("flags", 0), 0, 0x52640000, zlib.crc32(data), len(data), len(data))
        central += b"PK\x01\x02" + struct.pack("<H", e.get("host", 0) << 8 | 20) + fields
        central += struct.pack("<HHHHHII", len(name), len(central_extra), 0, 0, 0, e.get("attributes", 0x20), len(body))
        central += name + central_extra
        body += b"PK\x03\x04" + fields + struct.pack("<HH", len(name), len(local_extra)) + name + local_extra + data
    end = struct.pack("<4sHHHHIIH", b"PK\x05\x06", 0, 0, len(entries), len(entries), len(central), len(body), 0)
    open(out, "wb").write(body + central + end)


def unicode_path(raw, name):
    # The Unicode Path extra field: version 1, the CRC-32 of the stored name, the name in UTF-8.
    text = name.encode()
    return struct.pack("<HHBI", 0x7075, 5 + len(text), 1, zlib.crc32(raw)) + text


def names(out, kind):
    # "dos_folders": made on MS-DOS, folders marked by the directory attribute
    # alone (and one on NTFS), a file inside one, and a file whose attribute
    # says folder although it holds data. "unicode_paths": names stored in
    # code page 437 ("\x94" is "ö") with their Unicode Path field, from a FAT
    # and a Unix host, flagged UTF-8, and in the local header only.
    # "empty_name": an entry without a name beside a sound one.
    directory = 0x10
    if kind == "dos_folders":
        entries = [dict(name=b"def", attributes=directory), dict(name=b"def/foo", data=b"foo\n"),
                   dict(name=b"NTDIR", host=10, attributes=directory | 0x20),
                   dict(name=b"notdir.txt", attributes=directory, data=b"data\n")]
    elif kind == "unicode_paths":
        def raw(n):
            return b"File %d - \x94.txt" % n

        def both(n):
            field = unicode_path(raw(n), "File %d - ö.txt" % n)
            return dict(local_extra=field, central_extra=field)
        entries = [dict(name=raw(1), data=b"1\n", **both(1)), dict(name=raw(2), host=3, data=b"2\n", **both(2)),
                   dict(name=raw(3), flags=0x800, data=b"3\n", **both(3)),
                   dict(name=raw(4), data=b"4\n", local_extra=unicode_path(raw(4), "File 4 - ö.txt"))]
    else:
        entries = [dict(name=b"", data=b"no name\n"), dict(name=b"named.txt", data=b"named\n")]
    layout_zip(out, entries)


def sample_files():
    rng = random.Random(7)
    text = "".join("row %d of the shipping manifest\n" % rng.randrange(5000) for _ in range(12000)).encode()
    noise = bytes(rng.randrange(256) for _ in range(50000))
    return [("text.txt", text), ("noise.bin", noise), ("empty.dat", b""), ("dir/again.txt", text[:70000])]


def write_plain(out, files):
    # The files as they should extract, beside the archive in OUT.plain/.
    for name, plain in files:
        path = out + ".plain/" + name
        os.makedirs(os.path.dirname(path), exist_ok=True)
        open(path, "wb").write(plain)


def tool_framed(out, method, command):
    # Each entry's data is one stream written by the tool itself.
    entries = []
    for name, plain in sample_files():
        entries.append((name, method, plain, run_tool(command, plain)))
    raw_zip(out, entries)
    write_plain(out, sample_files())


def run_tool(command, plain):
    return subprocess.run(command, input=plain, stdout=subprocess.PIPE, check=True).stdout


def zip_lzma(plain):
    # The zip LZMA layout: encoder version, properties size, properties, raw data with an end marker.
    compressor = lzma.LZMACompressor(lzma.FORMAT_RAW, filters=[{"id": lzma.FILTER_LZMA1}])
    props = lzma._encode_filter_properties({"id": lzma.FILTER_LZMA1})
    return struct.pack("<BBH", 9, 4, len(props)) + props + compressor.compress(plain) + compressor.flush()


def seven_zip_packed(plain, *options):
    # The entry's data as 7-Zip compresses it: the one entry of an archive it writes.
    import tempfile
    with tempfile.TemporaryDirectory() as work:
        open(os.path.join(work, "plain"), "wb").write(plain)
        subprocess.run(["7zz", "a", "-tzip", *options, "packed.zip", "plain"], cwd=work, check=True,
                       stdout=subprocess.DEVNULL)
        path = os.path.join(work, "packed.zip")
        info = zipfile.ZipFile(path).infolist()[0]
        data = open(path, "rb").read()
        n, e = struct.unpack_from("<HH", data, info.header_offset + 26)
        start = info.header_offset + 30 + n + e
        return data[start:start + info.compress_size]


def damaged(out):
    # Per method: a sound entry, one with a flipped byte, one cut short and one
    # whose stream runs past its declared size.
    plain = sample_files()[0][1]
    packers = {
        "bzip2": (12, lambda d: bz2.compress(d)),
        "lzma": (14, zip_lzma),
        "xz": (95, lambda d: lzma.compress(d, format=lzma.FORMAT_XZ)),
        "zstd": (93, lambda d: run_tool(["zstd", "-q", "-c"], d)),
        "ppmd": (98, lambda d: seven_zip_packed(d, "-mm=PPMd")),
    }
    entries = []
    for name, (method, pack) in packers.items():
        packed = pack(plain)
        flipped = bytearray(packed)
        flipped[len(packed) // 2] ^= 0x55
        entries.append((name + "-good.txt", method, plain, packed))
        entries.append((name + "-flipped.txt", method, plain, bytes(flipped)))
        entries.append((name + "-cut.txt", method, plain, packed[: len(packed) // 2]))
        entries.append((name + "-long.txt", method, plain, packed, len(plain) // 2))
    raw_zip(out, entries)


def ppmd_headers(out):
    # One small PPMd stream with its header's fields changed: the order, the
    # restoration method, the model's memory (which a model of a few bytes
    # never fills, so that the data decodes the same).
    plain = b"order and memory of the model\n" * 20
    packed = seven_zip_packed(plain, "-mm=PPMd", "-mo=6", "-mmem=1m")
    fields, = struct.unpack_from("<H", packed)

    def header(order, memory_mb, restoration):
        return struct.pack("<H", (order - 1) | (memory_mb - 1) << 4 | restoration << 12) + packed[2:]

    assert fields == struct.unpack_from("<H", header(6, 1, 0))[0]
    raw_zip(out, [("good.txt", 98, plain, packed), ("largest-model.txt", 98, plain, header(6, 256, 0)),
                  ("order-1.txt", 98, plain, header(1, 1, 0)), ("freeze.txt", 98, plain, header(6, 1, 2))])
    write_plain(out, [("good.txt", plain), ("largest-model.txt", plain)])


def zstd_framed(out):
    tool_framed(out, 93, ["zstd", "-q", "-c", "-19"])


def zstd_old_id(out):
    tool_framed(out, 20, ["zstd", "-q", "-c", "-3"])


def xz_framed(out):
    tool_framed(out, 95, ["xz", "-q", "-c", "-6"])


def xz_huge_dictionary(out):
    # An XZ block header claiming a 4 GiB dictionary (its CRC mended to match).
    plain = b"small\n" * 100
    packed = bytearray(lzma.compress(plain, format=lzma.FORMAT_XZ, check=lzma.CHECK_CRC32))
    header = 12  # the stream header; the block header follows
    size = (packed[header] + 1) * 4
    assert packed[header + 2] == 0x21  # the LZMA2 filter, then its properties size and dictionary byte
    packed[header + 4] = 40
    struct.pack_into("<I", packed, header + size - 4, zlib.crc32(bytes(packed[header:header + size - 4])))
    raw_zip(out, [("huge.txt", 95, plain, bytes(packed))])


def lzma_huge_dictionary(out):
    # An LZMA entry declaring a 4 GiB dictionary and 1 GiB of output.
    with zipfile.ZipFile(out, "w") as zf:
        entry(zf, "huge.txt", b"small\n" * 100, method=zipfile.ZIP_LZMA)
    data = bytearray(open(out, "rb").read())
    local = data.find(b"PK\x03\x04")
    props = local + 30 + len("huge.txt") + 4
    struct.pack_into("<I", data, props + 1, 0xFFFFFFFF)
    for sig, off in ((b"PK\x03\x04", 22), (b"PK\x01\x02", 24)):
        struct.pack_into("<I", data, data.find(sig) + off, 1 << 30)
    open(out, "wb").write(bytes(data))


def comment_sig(out):
    with zipfile.ZipFile(out, "w") as zf:
        entry(zf, "a.txt", b"a\n")
        zf.comment = b"fake PK\x05\x06" + b"\0" * 18 + b" end"
    return out


def two_entries():
    import io
    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w") as zf:
        entry(zf, "one.txt", b"one\n" * 50)
        entry(zf, "two.txt", b"two\n" * 50)
    return bytearray(buf.getvalue())


def with_zip64_end(data, total, size=None, offset=None, classic_total=0xFFFF):
    # Puts a Zip64 end record and its locator in front of the end record,
    # whose fields then hold markers (or, given, their own values).
    end = data.rfind(b"PK\x05\x06")
    cd_size, cd_offset = struct.unpack_from("<II", data, end + 12)
    record = struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, total, total,
                         cd_size if size is None else size, cd_offset if offset is None else offset)
    locator = struct.pack("<IIQI", 0x07064B50, 0, end, 1)
    tail = bytearray(data[end:])
    struct.pack_into("<HHII", tail, 8, classic_total, classic_total, 0xFFFFFFFF, 0xFFFFFFFF)
    return data[:end] + record + locator + tail


def z64_end_ok(out):
    open(out, "wb").write(with_zip64_end(two_entries(), 2))


def z64_end_contradicts(out):
    open(out, "wb").write(with_zip64_end(two_entries(), 3, classic_total=2))


def z64_count_overflow(out):
    open(out, "wb").write(with_zip64_end(two_entries(), (1 << 63) + 5))


def z64_extra_short(out):
    # The first central record marks its sizes as kept in a Zip64 block whose
    # stated size runs past the extra field.
    data = two_entries()
    cd = data.find(b"PK\x01\x02")
    name_len, extra_len = struct.unpack_from("<HH", data, cd + 28)
    assert extra_len == 0
    struct.pack_into("<IIH", data, cd + 20, 0xFFFFFFFF, 0xFFFFFFFF, name_len)
    struct.pack_into("<H", data, cd + 30, 8)
    block = struct.pack("<HHI", 1, 16, 0)
    at = cd + 46 + name_len
    data[at:at] = block
    end = data.rfind(b"PK\x05\x06")
    size, = struct.unpack_from("<I", data, end + 12)
    struct.pack_into("<I", data, end + 12, size + len(block))
    open(out, "wb").write(bytes(data))


def promises_more(out):
    data = two_entries()
    end = data.rfind(b"PK\x05\x06")
    struct.pack_into("<HH", data, end + 8, 3, 3)
    open(out, "wb").write(bytes(data))


class Unseekable:
    # A stream zipfile cannot seek in: it writes data descriptors.
    def __init__(self, f):
        self.f = f

    def write(self, b):
        return self.f.write(b)

    def flush(self):
        self.f.flush()


def descriptors_no_dir(out):
    # Entries with data descriptors, the directory lost, and the second
    # entry's descriptor damaged: its data end cannot be found.
    import io
    raw = io.BytesIO()
    with zipfile.ZipFile(Unseekable(raw), "w") as zf:
        entry(zf, "first.txt", b"first\n" * 100)
        entry(zf, "second.txt", b"second\n" * 100)
    data = bytearray(raw.getvalue())
    data = data[:data.find(b"PK\x01\x02")]
    last = data.rfind(b"PK\x07\x08")
    data[last:last + 4] = b"XXXX"
    open(out, "wb").write(bytes(data))


def streamed_no_dir(out, signatures=True):
    # Entries with data descriptors (one with Zip64 sizes), the directory lost;
    # without `signatures`, the descriptors lack their optional signature.
    import io
    raw = io.BytesIO()
    with zipfile.ZipFile(Unseekable(raw), "w", compression=zipfile.ZIP_DEFLATED) as zf:
        with zf.open(zipfile.ZipInfo("wide.txt", date_time=(2021, 3, 4, 5, 6, 8)), "w", force_zip64=True) as w:
            w.write(b"wide\n" * 300)
        entry(zf, "narrow.txt", b"narrow\n" * 300)
        entry(zf, "stored.txt", b"stored\n" * 30, method=zipfile.ZIP_STORED)
    data = raw.getvalue()
    data = data[:data.find(b"PK\x01\x02")]
    if not signatures:
        data = data.replace(b"PK\x07\x08", b"")
    open(out, "wb").write(data)


def streamed_no_sig(out):
    streamed_no_dir(out, signatures=False)


def metadata(out):
    def extra(header, payload):
        return struct.pack("<HH", header, len(payload)) + payload
    raw_cafe = b"caf\x82.txt"
    with zipfile.ZipFile(out, "w") as zf:
        info = zipfile.ZipInfo("utf8.txt", date_time=(2021, 3, 4, 5, 6, 8))
        info.comment = "备注 café".encode("utf-8")
        zf.writestr(info, b"utf8\n")
        info = zipfile.ZipInfo("cafX.txt", date_time=(2021, 3, 4, 5, 6, 8))
        info.extra = extra(0x7075, b"\x01" + struct.pack("<I", zlib.crc32(raw_cafe)) + "café-unicode.txt".encode())
        zf.writestr(info, b"unicode path\n")
        info = zipfile.ZipInfo("stale.txt", date_time=(2021, 3, 4, 5, 6, 8))
        info.extra = extra(0x7075, b"\x01" + struct.pack("<I", zlib.crc32(b"other")) + b"ignored.txt")
        zf.writestr(info, b"stale\n")
        info = zipfile.ZipInfo("comment.txt", date_time=(2021, 3, 4, 5, 6, 8))
        info.comment = b"old"
        info.extra = extra(0x6375, b"\x01" + struct.pack("<I", zlib.crc32(b"old")) + "новый".encode())
        zf.writestr(info, b"comment\n")
        info = zipfile.ZipInfo("ut.txt", date_time=(2021, 3, 4, 5, 6, 8))
        info.extra = extra(0x5455, b"\x01" + struct.pack("<I", 1700000000))
        zf.writestr(info, b"ut\n")
        info = zipfile.ZipInfo("ntfs.txt", date_time=(2021, 3, 4, 5, 6, 8))
        filetime = (1600000000 + 11644473600) * 10000000
        info.extra = extra(0x000A, b"\0" * 4 + struct.pack("<HHQQQ", 1, 24, filetime, filetime, filetime))
        zf.writestr(info, b"ntfs\n")
        info = zipfile.ZipInfo("suid", date_time=(2021, 3, 4, 5, 6, 8))
        info.create_system = 3
        info.external_attr = 0o104755 << 16
        zf.writestr(info, b"#!/bin/sh\n")
        zf.comment = "归档 comment".encode("utf-8")
    data = bytearray(open(out, "rb").read().replace(b"cafX.txt", raw_cafe))
    # zipfile clears the flags it is given: flag utf8.txt as UTF-8 afterwards.
    for sig, flag_off, name_off in ((b"PK\x03\x04", 6, 30), (b"PK\x01\x02", 8, 46)):
        at = data.find(sig)
        assert data[at + name_off:at + name_off + 8] == b"utf8.txt"
        struct.pack_into("<H", data, at + flag_off, struct.unpack_from("<H", data, at + flag_off)[0] | 0x800)
    open(out, "wb").write(bytes(data))


def messages(out):
    # A legacy method whose data is bad, two entries of an unknown method, and
    # two with encryption this build cannot read: an AES field of an unknown
    # version (AE-1 and AE-2 are read) and PKWARE's strong encryption.
    with zipfile.ZipFile(out, "w") as zf:
        for name in ("legacy.txt", "m9a.txt", "m9b.txt", "aes.txt", "strong.txt"):
            info = zipfile.ZipInfo(name, date_time=(2021, 3, 4, 5, 6, 8))
            if name == "aes.txt":
                info.extra = struct.pack("<HHHHBH", 0x9901, 7, 3, 0x4541, 3, 8)
            zf.writestr(info, b"payload of " + name.encode() + b"\n")
    data = bytearray(open(out, "rb").read())
    patch = {"legacy.txt": (6, 0), "m9a.txt": (97, 0), "m9b.txt": (97, 0), "aes.txt": (99, 1), "strong.txt": (8, 0x41)}
    for sig, flag_off, method_off, name_off in ((b"PK\x03\x04", 6, 8, 30), (b"PK\x01\x02", 8, 10, 46)):
        at = data.find(sig)
        while at >= 0:
            n = struct.unpack_from("<H", data, at + (26 if sig == b"PK\x03\x04" else 28))[0]
            name = bytes(data[at + name_off:at + name_off + n]).decode()
            method, flags = patch[name]
            struct.pack_into("<H", data, at + method_off, method)
            struct.pack_into("<H", data, at + flag_off, struct.unpack_from("<H", data, at + flag_off)[0] | flags)
            at = data.find(sig, at + 4)
    open(out, "wb").write(bytes(data))


def twins(out):
    # Two entries of one file name in different folders.
    with zipfile.ZipFile(out, "w") as zf:
        entry(zf, "a/x.txt", b"first\n")
        entry(zf, "b/x.txt", b"second\n")


def folders(out):
    # Folder entries beside files, and a root folder in two letter cases.
    with zipfile.ZipFile(out, "w") as zf:
        for name in ("SRC/", "SRC/lib/", "src/", "srcfoo/", "other/"):
            entry(zf, name, b"")
        entry(zf, "SRC/lib/x.c", b"x\n")
        entry(zf, "src/top.c", b"top\n")
        entry(zf, "srcfoo/y.c", b"y\n")
        entry(zf, "other/z.c", b"z\n")
        entry(zf, "readme.txt", b"read me\n")


def modes(out):
    # Entries from a Unix host, one read-only, with DOS times only.
    with zipfile.ZipFile(out, "w") as zf:
        for name, mode, date in (("ro.txt", 0o100444, (2022, 1, 1, 0, 0, 0)),
                                 ("rw.txt", 0o100644, (2020, 6, 15, 13, 14, 16))):
            info = zipfile.ZipInfo(name, date_time=date)
            info.create_system = 3
            info.external_attr = mode << 16
            zf.writestr(info, name.encode() + b"\n")


def failing(out):
    # Entries that fail although what was decoded matches the stored CRC: one
    # whose data runs on past its declared size (all that size holds is
    # sound), and an empty entry of an unknown method; and one that fails its
    # CRC.
    data = (b"route 7 of the manifest\n" * 3000)[:65536]
    other = data[:-1] + b"?"
    raw_zip(out, [("long.txt", 0, data, data + b"and more", len(data)),
                  ("empty97.txt", 97, b"", b""),
                  ("badcrc.txt", 0, other, data)])


def broken_directory(out):
    # An end record, but neither the central records nor the local headers
    # carry their signatures: nothing to read or rebuild.
    with zipfile.ZipFile(out, "w") as zf:
        entry(zf, "Tarnwick.exe", b"program\n")
        entry(zf, "notes.txt", b"notes\n")
    data = open(out, "rb").read().replace(b"PK\x01\x02", b"PK\x01\x09").replace(b"PK\x03\x04", b"PK\x03\x09")
    open(out, "wb").write(data)


KINDS = {
    f.__name__: f
    for f in (unsafe, gbk_fat, utf8_flag, dates, oversize, dup_central, unknown_method, comment_sig, z64_end_ok,
              z64_end_contradicts, z64_count_overflow, z64_extra_short, promises_more, descriptors_no_dir,
              streamed_no_dir, streamed_no_sig, metadata, messages, zstd_framed, zstd_old_id, xz_framed,
              xz_huge_dictionary, lzma_huge_dictionary, damaged, twins, folders, modes, failing, broken_directory,
              cp932_names, cp866_names, ppmd_headers)
}
KINDS.update({"overlap_" + kind: (lambda out, kind=kind: overlapping(out, kind))
              for kind in ("shared", "runs_over", "directory", "apart")})
KINDS.update({kind: (lambda out, kind=kind: names(out, kind)) for kind in ("dos_folders", "unicode_paths", "empty_name")})

if __name__ == "__main__":
    KINDS[sys.argv[1]](sys.argv[2])
