#!/usr/bin/env python3
"""Writes the benchmark corpora into OUTDIR: logistics-like text (generated),
a large program binary and documentation text (both taken from the system),
a product-like package (the twelve largest programs of the system up to 40 MB, as a
product ships its executables and libraries) and a mixed data set (the
system's documentation tree: many small files, most of them compressed).

usage: corpora.py OUTDIR
"""
import gzip
import os
import random
import shutil
import sys

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
CORPUS_SIZE = 32 << 20
PACKAGE_FILES = 12
PACKAGE_FILE_LIMIT = 40 << 20  # a product's programs, not the system's giant libraries
PROGRAM = "/usr/lib/gcc/x86_64-linux-gnu/12/cc1plus"


def write_once(name, make):
    path = os.path.join(out, name)
    if not os.path.exists(path):
        data = make()
        with open(path + ".tmp", "wb") as f:
            f.write(data)
        os.rename(path + ".tmp", path)
    return path


def logistics_text():
    rnd = random.Random(18)
    cities = ["Shanghai", "Ningbo", "Tianjin", "Qingdao", "Xiamen", "Dalian", "Shenzhen", "Guangzhou", "Wuhan"]
    states = ["received", "sorted", "loaded", "in transit", "delivered", "held at customs", "returned"]
    carriers = ["Tarnwick Freight", "East Coast Line", "Yangtze Barge Co", "Northern Rail Cargo"]
    lines = []
    size = 0
    n = 0
    while size < CORPUS_SIZE:
        n += 1
        line = "%08d|2026-%02d-%02d %02d:%02d|%s -> %s|%s|%s|pallets=%d|kg=%d.%d|ref=TW%06d\n" % (
            n, rnd.randint(1, 12), rnd.randint(1, 28), rnd.randint(0, 23), rnd.randint(0, 59),
            rnd.choice(cities), rnd.choice(cities), rnd.choice(carriers), rnd.choice(states),
            rnd.randint(1, 40), rnd.randint(10, 25000), rnd.randint(0, 9), rnd.randint(0, 999999))
        lines.append(line.encode())
        size += len(line)
    return b"".join(lines)[:CORPUS_SIZE]


def documentation_text():
    parts = []
    size = 0
    for root, dirs, files in sorted(os.walk("/usr/share/doc")):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(root, name)
            if os.path.islink(path):
                continue
            try:
                data = gzip.open(path).read() if name.endswith(".gz") else open(path, "rb").read()
            except (OSError, EOFError):
                continue
            if b"\0" in data[:4096]:
                continue  # not text
            parts.append(data)
            size += len(data)
            if size >= CORPUS_SIZE:
                return b"".join(parts)[:CORPUS_SIZE]
    return b"".join(parts)


write_once("logistics.txt", logistics_text)
write_once("program.bin", lambda: open(PROGRAM, "rb").read())
write_once("docs.txt", documentation_text)

package = os.path.join(out, "package")
if not os.path.isdir(package):
    programs = {}
    for folder in ["/usr/bin", "/usr/lib/gcc/x86_64-linux-gnu/12", "/usr/lib/x86_64-linux-gnu", "/usr/libexec"]:
        for root, _, files in os.walk(folder):
            for name in files:
                path = os.path.join(root, name)
                if os.path.islink(path) or not os.path.isfile(path):
                    continue
                with open(path, "rb") as f:
                    if f.read(4) != b"\x7fELF":
                        continue
                real = os.path.realpath(path)
                if os.path.getsize(real) <= PACKAGE_FILE_LIMIT:
                    programs[real] = os.path.getsize(real)
    chosen = sorted(programs, key=lambda p: (-programs[p], p))[:PACKAGE_FILES]
    os.makedirs(package + ".tmp", exist_ok=True)
    for i, path in enumerate(chosen):
        shutil.copyfile(path, os.path.join(package + ".tmp", "%02d-%s" % (i, os.path.basename(path))))
    os.rename(package + ".tmp", package)
