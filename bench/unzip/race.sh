#!/bin/sh
# The engine's race, all in one run so the figures share the machine's state:
#  1. raw inflate: our decoder against zlib, libdeflate and ISA-L on three
#     corpora (generated logistics text, a large program, documentation text);
#  2. `unzipper test` on a one-entry archive of each corpus against lean
#     testers on libdeflate and ISA-L, Info-ZIP unzip, 7-Zip, bsdtar and
#     Python's zipfile;
#  3. `unzipper extract` (on every processor, and on one thread) on a
#     product-like package, the one-entry program archive and a mixed data set
#     against the same peers.
# Every figure is the best of ROUNDS runs after a warm-up: wall time and
# processor time (user + system), and for extraction the peak resident memory.
#   race.sh [BINDIR] [WORKDIR]      (BINDIR: the release build's bin folder)
set -eu
BIN=$(cd "${1:-build/release/bin}" && pwd)
WORK=${2:-/tmp/tw-race}
ROUNDS=${ROUNDS:-5}
HERE=$(cd "$(dirname "$0")" && pwd)
for tool in zip unzip 7zz bsdtar python3 /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 2; }
done
python3 "$HERE/corpora.py" "$WORK"
cd "$WORK"
for c in logistics.txt program.bin docs.txt; do
  [ -f "${c%.*}.zip" ] || zip -q -6 -j "${c%.*}.zip" "$c"
done
[ -f package.zip ] || (cd package && zip -q -6 -r ../package.zip .)
[ -f mixed.zip ] || (cd /usr/share && zip -q -6 -r -y "$WORK/mixed.zip" doc)

echo "== raw inflate (best of $ROUNDS; cpu/peer: processor time over the faster of libdeflate and ISA-L)"
"$BIN/bench_unzip_inflate_race" -r "$ROUNDS" logistics.txt program.bin docs.txt

# Before each run the output folder is emptied and the file system synced, so
# that no run pays for the deletion of the previous run's files.
best() {  # "wall cpu peak" of the command $1, or "failed"
  python3 "$HERE/best.py" "$ROUNDS" "rm -rf $WORK/out && mkdir $WORK/out && sync" "$1"
}
row() {  # name "wall cpu peak" "reference wall cpu peak"
  python3 -c '
import sys
name, r, ref = sys.argv[1], sys.argv[2].split(), sys.argv[3].split()
if r[0] == "failed":
    print("%-24s failed" % name)
else:
    print("%-24s %7s %7s %5.2f %5.2f %4s MB" % (name, r[0], r[1], float(r[0]) / float(ref[0]),
                                             float(r[1]) / float(ref[1]), r[2]))' "$@"
}
header() { printf '%-24s %7s %7s %5s %5s %7s\n' "$1" "wall s" "cpu s" wall cpu peak; }

echo "== whole tools, test (best of $ROUNDS; ratios to the libdeflate tester's)"
for z in logistics program docs; do
  header "-- $z.zip ($(du -m $z.zip | cut -f1) MB)"
  REF=$(best "$BIN/bench_unzip_libdeflate_test $z.zip")
  row "libdeflate tester" "$REF" "$REF"
  row "ISA-L tester" "$(best "$BIN/bench_unzip_isal_test $z.zip")" "$REF"
  row "unzipper test" "$(best "$BIN/unzipper test $z.zip")" "$REF"
  row "Info-ZIP unzip -t" "$(best "unzip -tqq $z.zip")" "$REF"
  row "7-Zip t" "$(best "7zz t $z.zip")" "$REF"
  row "bsdtar -xO" "$(best "bsdtar -xOf $z.zip")" "$REF"
  row "python zipfile testzip" \
    "$(best "python3 -c 'import zipfile,sys; sys.exit(zipfile.ZipFile(sys.argv[1]).testzip() is not None)' $z.zip")" "$REF"
done

echo "== whole tools, extract (best of $ROUNDS; ratios to the best peer's wall time and its processor time)"
for z in package program mixed; do
  header "-- $z.zip ($(du -m $z.zip | cut -f1) MB packed)"
  R_UNZIP=$(best "unzip -qo $z.zip -d out")
  R_BSDTAR=$(best "bsdtar -xf $z.zip -C out")
  R_7Z=$(best "7zz x -y -oout $z.zip")
  R_PY=$(best "python3 -m zipfile -e $z.zip out")
  R_MINE=$(best "$BIN/unzipper extract $z.zip -d out -o")
  R_ONE=$(best "$BIN/unzipper extract $z.zip -d out -o -T 1")
  REF=$(printf '%s\n' "$R_UNZIP" "$R_BSDTAR" "$R_7Z" "$R_PY" | grep -v failed | sort -n | head -n 1)
  row "unzipper extract" "$R_MINE" "$REF"
  row "unzipper extract -T 1" "$R_ONE" "$REF"
  row "Info-ZIP unzip" "$R_UNZIP" "$REF"
  row "bsdtar" "$R_BSDTAR" "$REF"
  row "7-Zip" "$R_7Z" "$REF"
  row "python zipfile" "$R_PY" "$REF"
done
rm -rf "$WORK/out"
