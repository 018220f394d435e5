#!/usr/bin/env bash
# The Windows build's zip tool under Wine against archives that Debian's zip and
# 7-Zip write: stored, deflated (fast and best), PPMd and encrypted entries,
# folders, an empty file and a name in Chinese. Every archive must test clean, and must
# extract to exactly the files it was made from, on one thread and on several;
# and an archive with a damaged entry must leave neither it nor a temporary
# file behind, whatever the other threads decoded meanwhile.
#   unzipper-smoke.sh UNZIPPER.EXE WINE-RUN
set -euo pipefail
unzipper=$1
wine_run=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

mkdir -p src/sub
head -c 400000 /dev/urandom > src/random.bin
seq 1 60000 > src/sub/numbers.txt
: > src/empty.txt
printf '运单' > "src/sub/运单.txt"
(cd src && zip -q -r -0 ../stored.zip . && zip -q -r -1 ../fast.zip . && zip -q -r -9 ../best.zip . &&
  zip -q -r -P secret ../encrypted.zip . && 7zz a -bd -tzip -mx=9 ../sevenzip.zip . >/dev/null &&
  7zz a -bd -tzip -mm=PPMd ../ppmd.zip . >/dev/null && 7zz a -bd -tzip -mm=PPMd -mo=16 -mmem=1m ../ppmd-full.zip . >/dev/null)

status=0
for archive in stored fast best encrypted sevenzip ppmd ppmd-full; do
  password=()
  [ "$archive" = encrypted ] && password=(-P secret)
  if ! "$wine_run" "$unzipper" test "$archive.zip" "${password[@]}" >/dev/null; then
    echo "FAIL: $archive.zip does not test clean"; status=1; continue
  fi
  "$wine_run" "$unzipper" extract "$archive.zip" -d "out-$archive" "${password[@]}" >/dev/null || true
  if diff -r src "out-$archive" >/dev/null; then
    echo "ok: $archive.zip"
  else
    echo "FAIL: $archive.zip extracts differently"; diff -r src "out-$archive" | head -5; status=1
  fi
done
mkdir -p many
for i in $(seq 1 60); do seq 1 $((i * 997)) > "many/f$i.txt"; done
(cd many && zip -q -r ../many.zip .)
for threads in 1 2 4; do
  "$wine_run" "$unzipper" extract many.zip -d "out-many-$threads" -T $threads >/dev/null || true
  if diff -r many "out-many-$threads" >/dev/null; then echo "ok: many.zip on $threads threads"
  else echo "FAIL: many.zip on $threads threads extracts differently"; status=1; fi
done
python3 - many.zip f30.txt <<'PY'
import struct, sys, zipfile
path, name = sys.argv[1:]
info = zipfile.ZipFile(path).getinfo(name)
data = bytearray(open(path, 'rb').read())
n, e = struct.unpack('<HH', data[info.header_offset + 26:info.header_offset + 30])
at = info.header_offset + 30 + n + e + info.compress_size // 2
data[at:at + 8] = bytes(b ^ 0x5a for b in data[at:at + 8])
open(path, 'wb').write(data)
PY
if "$wine_run" "$unzipper" extract many.zip -d out-damaged -T 4 >/dev/null 2>&1; then
  echo "FAIL: a damaged entry passed"; status=1
elif [ -e out-damaged/f30.txt ] || ls out-damaged | grep -q 'tw~' || [ "$(ls out-damaged | wc -l)" != 59 ]; then
  echo "FAIL: the damaged entry left files behind or took others with it"; ls out-damaged | head; status=1
else
  echo "ok: damaged entry left nothing"
fi
exit $status
