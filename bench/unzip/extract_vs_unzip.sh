#!/bin/sh
# Times `unzipper extract` against the stock unzip on one generated archive of
# about 200 MB compressed (text, binary records, already-compressed data), in the same run.
#   extract_vs_unzip.sh [UNZIPPER] [WORKDIR]
set -eu
UNZIPPER=${1:-build/release/bin/unzipper}
WORK=${2:-$(mktemp -d /tmp/tw-extract-bench.XXXXXX)}
ROUNDS=${ROUNDS:-3}
command -v zip >/dev/null && command -v unzip >/dev/null || { echo "zip and unzip are needed" >&2; exit 2; }
[ -x "$UNZIPPER" ] || { echo "no unzipper at $UNZIPPER" >&2; exit 2; }

mkdir -p "$WORK/src"
if [ ! -f "$WORK/mixed.zip" ]; then
  python3 - "$WORK/src" <<'PY'
import gzip, os, random, sys
root = sys.argv[1]
rnd = random.Random(1)
words = [b"shipment", b"warehouse", b"pallet", b"route", b"carrier", b"delivered", b"Tarnwick", b"pending"]
for i in range(40):  # text, about 2 MB each
    lines = [b"%d %s %s qty=%d\n" % (rnd.randrange(10**8), rnd.choice(words), rnd.choice(words), rnd.randrange(500))
             for _ in range(60000)]
    open(os.path.join(root, "log%02d.txt" % i), "wb").write(b"".join(lines))
for i in range(20):  # binary records, about 3 MB each
    rec = bytearray()
    for n in range(200000):
        rec += n.to_bytes(4, "little") + rnd.randrange(64).to_bytes(4, "little") + b"\xfe\xca\0\0" + rnd.randbytes(4)
    open(os.path.join(root, "table%02d.bin" % i), "wb").write(bytes(rec[:3 << 20]))
for i in range(35):  # already compressed, about 4 MB each
    open(os.path.join(root, "media%02d.gz" % i), "wb").write(gzip.compress(rnd.randbytes(4 << 20), 1))
PY
  (cd "$WORK/src" && zip -q -r ../mixed.zip .)
fi
echo "archive: $(du -m "$WORK/mixed.zip" | cut -f1) MB compressed, $(du -sm "$WORK/src" | cut -f1) MB of files"

best() {  # best wall time of ROUNDS runs of "$@", output folder wiped before each
  b=""
  for r in $(seq "$ROUNDS"); do
    rm -rf "$WORK/out"
    s=$(date +%s.%N)
    "$@" >/dev/null
    e=$(date +%s.%N)
    t=$(echo "$e - $s" | bc)
    if [ -z "$b" ] || [ "$(echo "$t < $b" | bc)" = 1 ]; then b=$t; fi
  done
  echo "$b"
}

sync
T_MINE=$(best "$UNZIPPER" extract "$WORK/mixed.zip" -d "$WORK/out" -o)
cmp "$WORK/src/log00.txt" "$WORK/out/log00.txt"
T_REF=$(best unzip -q -o "$WORK/mixed.zip" -d "$WORK/out")
printf 'unzipper extract: %.2f s\nstock unzip:      %.2f s\nratio (unzipper/unzip): %.2f\n' \
  "$T_MINE" "$T_REF" "$(echo "$T_MINE / $T_REF" | bc -l)"
rm -rf "$WORK/out"
