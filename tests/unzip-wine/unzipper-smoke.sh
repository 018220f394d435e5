#!/usr/bin/env bash
# The Windows build's zip tool under Wine against archives that Debian's zip and
# 7-Zip write: stored, deflated (fast and best) and encrypted entries, folders,
# an empty file and a name in Chinese. Every archive must test clean, and must
# extract to exactly the files it was made from.
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
  zip -q -r -P secret ../encrypted.zip . && 7zz a -bd -tzip -mx=9 ../sevenzip.zip . >/dev/null)

status=0
for archive in stored fast best encrypted sevenzip; do
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
exit $status
