#!/usr/bin/env bash
# The Windows build's zip tool opens no window: on an entry of a method nobody
# reads, on an existing file and on a missing volume it says why on standard
# error and ends by itself (a message box would wait for a click until the
# time limit kills it).
#   unzipper-no-window.sh UNZIPPER.EXE WINE-RUN FIXTURES.PY
set -euo pipefail
unzipper=$1
wine_run=$2
fixtures=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

python3 - "$fixtures" <<'PY'
import sys
sys.path.insert(0, sys.argv[1].rsplit("/", 1)[0])
import fixtures
fixtures.raw_zip("m77.zip", [("m77.bin", 77, b"data", b"pack"), ("fine.txt", 0, b"fine\n", b"fine\n")])
PY
head -c 200000 /dev/urandom > noise.bin
zip -q -0 -s 64k split.zip noise.bin
mv split.z01 split.001 && mv split.z03 split.003 && rm split.z02

status=0
# run EXPECTED-STATUS EXPECTED-MESSAGE ARGS...: ends by itself with that status and message.
run() {
  local want=$1 message=$2 rc=0
  shift 2
  timeout -k 5 60 "$wine_run" "$unzipper" "$@" >/dev/null 2>err.txt || rc=$?
  if [ "$rc" = 124 ] || [ "$rc" = 137 ]; then
    echo "FAIL: unzipper $* waited (for a click?) until it was killed"; status=1
  elif [ "$rc" != "$want" ] || ! grep -qF -- "$message" err.txt; then
    echo "FAIL: unzipper $*: status $rc, wanted $want and \"$message\""; cat err.txt; status=1
  else
    echo "ok: unzipper $*"
  fi
}
run 1 "m77.bin: unsupported compression method 77" test m77.zip
run 1 "m77.bin: unsupported compression method 77" extract m77.zip -d out
run 0 "fine.txt: exists, not overwritten" extract m77.zip -d out fine.txt
run 2 "Cannot find disk 2 of the multi-disk set" test split.zip
exit $status
