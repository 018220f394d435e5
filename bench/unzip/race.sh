#!/bin/sh
# The engine's race, all in one run so the figures share the machine's state:
#  1. raw inflate: our decoder against zlib and libdeflate on three corpora
#     (generated logistics text, a large program, documentation text);
#  2. `unzipper test` on a one-entry archive of each corpus against a small
#     libdeflate tester, Info-ZIP unzip, 7-Zip, bsdtar and Python's zipfile;
#  3. `unzipper extract` (on every processor, and on one thread) on a
#     product-like package, the one-entry program archive and a mixed data set
#     against the same peers, with the peak memory of each extraction.
# Every time is the best of ROUNDS runs (hyperfine's minimum).
#   race.sh [BINDIR] [WORKDIR]      (BINDIR: the release build's bin folder)
set -eu
BIN=$(cd "${1:-build/release/bin}" && pwd)
WORK=${2:-/tmp/tw-race}
ROUNDS=${ROUNDS:-5}
HERE=$(cd "$(dirname "$0")" && pwd)
for tool in hyperfine zip unzip 7zz bsdtar python3 /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 2; }
done
python3 "$HERE/corpora.py" "$WORK"
cd "$WORK"
for c in logistics.txt program.bin docs.txt; do
  [ -f "${c%.*}.zip" ] || zip -q -6 -j "${c%.*}.zip" "$c"
done
[ -f package.zip ] || (cd package && zip -q -6 -r ../package.zip .)
[ -f mixed.zip ] || (cd /usr/share && zip -q -6 -r -y "$WORK/mixed.zip" doc)

echo "== raw inflate (MB/s of output, best of $ROUNDS)"
"$BIN/bench_unzip_inflate_race" -r "$ROUNDS" logistics.txt program.bin docs.txt

# Before each run the output folder is emptied and the file system synced, so
# that no run pays for the deletion of the previous run's files.
best() {  # best wall time in seconds of the shell command $1 (hyperfine's minimum)
  hyperfine --runs "$ROUNDS" --warmup 1 --prepare "rm -rf $WORK/out && mkdir $WORK/out && sync" --output null \
    --export-json "$WORK/h.json" "$1" >/dev/null 2>&1 || { echo "failed"; return; }
  python3 -c 'import json,sys; print("%.3f" % json.load(open(sys.argv[1]))["results"][0]["min"])' "$WORK/h.json"
}
row() {  # name time reference
  python3 -c 'import sys; n,t,r=sys.argv[1:]; print("%-26s %8s s %8s" % (n, t, "%.2f" % (float(t)/float(r)) if t!="failed" else "-"))' "$@"
}

echo "== whole tools, test (seconds, best of $ROUNDS; ratio to the libdeflate tester)"
for z in logistics program docs; do
  echo "-- $z.zip ($(du -m $z.zip | cut -f1) MB)"
  REF=$(best "$BIN/bench_unzip_libdeflate_test $z.zip")
  row "libdeflate tester" "$REF" "$REF"
  row "unzipper test" "$(best "$BIN/unzipper test $z.zip")" "$REF"
  row "Info-ZIP unzip -t" "$(best "unzip -tqq $z.zip")" "$REF"
  row "7-Zip t" "$(best "7zz t $z.zip")" "$REF"
  row "bsdtar -xO" "$(best "bsdtar -xOf $z.zip")" "$REF"
  row "python zipfile testzip" \
    "$(best "python3 -c 'import zipfile,sys; sys.exit(zipfile.ZipFile(sys.argv[1]).testzip() is not None)' $z.zip")" "$REF"
done

echo "== whole tools, extract (seconds, best of $ROUNDS; ratio to the best peer; peak memory)"
peak() {  # peak resident memory in MB of "$@"
  rm -rf "$WORK/out" && mkdir -p "$WORK/out"
  /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1 | awk '{printf "%.0f MB", $1 / 1024}'
}
for z in package program mixed; do
  echo "-- $z.zip ($(du -m $z.zip | cut -f1) MB packed)"
  T_UNZIP=$(best "unzip -qo $z.zip -d out")
  T_BSDTAR=$(best "bsdtar -xf $z.zip -C out")
  T_7Z=$(best "7zz x -y -oout $z.zip")
  T_PY=$(best "python3 -m zipfile -e $z.zip out")
  T_MINE=$(best "$BIN/unzipper extract $z.zip -d out -o")
  T_ONE=$(best "$BIN/unzipper extract $z.zip -d out -o -T 1")
  REF=$(printf '%s\n' "$T_UNZIP" "$T_BSDTAR" "$T_7Z" "$T_PY" | grep -v failed | sort -n | head -n 1)
  row "unzipper extract" "$T_MINE" "$REF"; echo "      peak $(peak "$BIN/unzipper" extract $z.zip -d out -o)"
  row "unzipper extract -T 1" "$T_ONE" "$REF"; echo "      peak $(peak "$BIN/unzipper" extract $z.zip -d out -o -T 1)"
  row "Info-ZIP unzip" "$T_UNZIP" "$REF"; echo "      peak $(peak unzip -qo $z.zip -d out)"
  row "bsdtar" "$T_BSDTAR" "$REF"; echo "      peak $(peak bsdtar -xf $z.zip -C out)"
  row "7-Zip" "$T_7Z" "$REF"; echo "      peak $(peak 7zz x -y -oout $z.zip)"
  row "python zipfile" "$T_PY" "$REF"; echo "      peak $(peak python3 -m zipfile -e $z.zip out)"
done
rm -rf "$WORK/out" "$WORK/h.json"
