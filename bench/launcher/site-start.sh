#!/usr/bin/env bash
# A whole site starting at once: N launchers (default 50), each in a folder of
# its own, against one PostgreSQL server holding a package of SIZE_MB (default
# 50). Reports the wall time until every launcher has ended and the server's
# peak number of client connections, then checks every folder: the new product
# in place byte for byte and started.
#
# A second round runs the same site against a server whose connection limit is
# below N: the launchers it refuses report the failed open, keep the old
# product (byte for byte) and start it; none may hang or leave a broken product.
#
#   bench/launcher/site-start.sh UPDATE_PROGRAM PRODUCT_PROGRAM [N] [SIZE_MB]
# e.g. bench/launcher/site-start.sh build/release/bin/update build/release/bin/demo_product
# Runs the server as the postgres user when started as root.
set -euo pipefail
update=$(realpath "$1")
product_program=$(realpath "$2")
launchers=${3:-50}
size_mb=${4:-50}
limited_connections=20      # the second round's server limit (3 of them kept for superusers)
patience=300                # seconds a launcher may take before it counts as hung
pg_bin=${TW_PG_BINDIR:-$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)}
product_name="Tarnwick物流信息管理系统.exe"

work=$(mktemp -d "${TMPDIR:-/tmp}/tw-site.XXXXXX")
chmod 755 "$work"
as_pg() { if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }
cleanup() {
  as_pg "$pg_bin/pg_ctl" -D "$work/pg" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
mkdir "$work/pg"
[ "$(id -u)" = 0 ] && chown postgres "$work/pg"
as_pg "$pg_bin/initdb" -D "$work/pg" -A trust -U postgres >/dev/null
start_server() {  # MAX_CONNECTIONS
  as_pg "$pg_bin/pg_ctl" -D "$work/pg" -l "$work/pg/log" -w \
    -o "-p $port -k $work/pg -c listen_addresses=127.0.0.1 -c max_connections=$1" start >/dev/null
}
stop_server() { as_pg "$pg_bin/pg_ctl" -D "$work/pg" -w stop >/dev/null; }
psql_q() { "$pg_bin/psql" -h 127.0.0.1 -p "$port" -U postgres -d site -Atqc "$1"; }

# The products: the demo program with a tail of random bytes making up the size.
make_product() {  # FILE
  cp "$product_program" "$1"
  head -c $((size_mb * 1024 * 1024)) /dev/urandom >> "$1"
}
make_product "$work/old.exe"
make_product "$work/new.exe"
python3 - "$work/new.exe" "$work/package.zip" "$product_name" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[2], "w", zipfile.ZIP_STORED) as z:
    info = zipfile.ZipInfo(sys.argv[3], (2025, 1, 1, 12, 0, 0))
    info.external_attr = 0o100755 << 16
    z.writestr(info, open(sys.argv[1], "rb").read())
PY
chmod 644 "$work/package.zip"

start_server $((launchers + 10))
"$pg_bin/createdb" -h 127.0.0.1 -p "$port" -U postgres site
psql_q "create table t_sys_soft (\"系统\" bytea); insert into t_sys_soft values (pg_read_binary_file('$work/package.zip'))"

# Runs one round of N launchers; prints its figures, leaves the counts in new,
# old, broken, unstarted and refused, and fails when a folder is not sound.
run_site() {  # ROUND-NAME
  local round=$1
  rm -rf "$work/site"
  for i in $(seq 1 "$launchers"); do
    local dir="$work/site/$i"
    mkdir -p "$dir"
    cp "$update" "$dir/update"
    cp "$work/old.exe" "$dir/$product_name"
    printf '[database]\nProvider=PostgreSQL;\nPassword=;\nPersist Security Info=False;\nUser ID=postgres;\nInitial Catalog=site;\nData Source=127.0.0.1:%s\n' "$port" > "$dir/main.ini"
  done
  local peak=0 pids=()
  local started=$(date +%s.%N)
  for i in $(seq 1 "$launchers"); do
    (cd "$work/site/$i" && exec timeout "$patience" ./update >"$work/site/$i/out.txt" 2>&1) &
    pids+=($!)
  done
  # The server's client connections, sampled while the launchers run.
  while [ -n "$(jobs -rp)" ]; do
    local n
    n=$(psql_q "select count(*) - 1 from pg_stat_activity where backend_type = 'client backend'" 2>/dev/null || echo 0)
    [ "$n" -gt "$peak" ] && peak=$n
    sleep 0.05
  done
  local hung=0
  for pid in "${pids[@]}"; do wait "$pid" || hung=$((hung + 1)); done
  local ended=$(date +%s.%N)
  new=0 old=0 broken=0 unstarted=0
  for i in $(seq 1 "$launchers"); do
    local dir="$work/site/$i"
    if cmp -s "$dir/$product_name" "$work/new.exe"; then new=$((new + 1))
    elif cmp -s "$dir/$product_name" "$work/old.exe"; then old=$((old + 1))
    else broken=$((broken + 1)); fi
    [ -f "$dir/product-started.txt" ] || unstarted=$((unstarted + 1))
  done
  printf '%s: %d launchers, %d MB package: wall %.1f s, server peak %d client connections\n' \
    "$round" "$launchers" "$size_mb" "$(awk "BEGIN { print $ended - $started }")" "$peak"
  printf '%s: new product %d, old product kept %d, broken %d, not started %d, hung or failed %d\n' \
    "$round" "$new" "$old" "$broken" "$unstarted" "$hung"
  refused=$(grep -l "too many clients" "$work"/site/*/out.txt 2>/dev/null | wc -l)
  printf '%s: launchers told the server was full: %d\n' "$round" "$refused"
  [ "$broken" = 0 ] && [ "$unstarted" = 0 ] && [ "$hung" = 0 ]
}

status=0
run_site "site start" || status=1
[ "$new" = "$launchers" ] || { echo "FAIL: not every launcher got the new product"; status=1; }
stop_server
start_server "$limited_connections"
run_site "connection limit $limited_connections" || status=1
[ "$refused" -gt 0 ] || echo "note: the server refused no launcher in this round"
[ $((new + old)) = "$launchers" ] || status=1
exit $status
