#!/usr/bin/env bash
# Fetch benchmark: DOWNLOAD against a bare WinINet loop (same Wine, same run)
# and curl, on the 30-file sample package and on one 200 MB file served by
# the local package server.
#
#   bench/fetch/run.sh [BUILD_DIR] [ROUNDS]
#
# BUILD_DIR is a configured win64 or win32 tree (default build/win64); ROUNDS
# (default 5) runs every method once per round, in an order that rotates from
# round to round, each after a sync so that none pays for the disk writes of
# the one before; the median of each is reported. The package is fetched three
# times over per run so that a run lasts long enough to measure. Everything is
# made in a temp folder and removed.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$repo/build/win64}" && pwd)
rounds=${2:-5}
wine_run=$repo/tools/wine/wine-run

cmake --build "$build" --target fetch_bench >/dev/null
bench_exe=$build/bench/fetch/fetch_bench.exe

work=$(mktemp -d "${TMPDIR:-/tmp}/fetch-bench.XXXXXX")
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill -TERM "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

root=$work/root
python3 "$repo/tools/sample-package/make_volumes.py" "$root"
if [ -f "$build/sample-package/zrx25.exe" ]; then
  cp "$build/sample-package/zrx25.exe" "$root/zrx25.exe"
else
  head -c 512000 /dev/urandom > "$root/zrx25.exe"
fi
head -c $((200 * 1024 * 1024)) /dev/urandom > "$root/big.bin"

python3 "$repo/tools/packserver/packserver.py" --root "$root" --port 0 --port-file "$work/port" \
  --exit-with-parent 2>/dev/null &
server_pid=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
base="http://127.0.0.1:$(cat "$work/port")/zrx12/Pack2"

package=()
for _ in 1 2 3; do
  package+=("$base/zrx25.exe")
  for n in $(seq 2 30); do package+=("$(printf '%s/zrx25.W%02d' "$base" "$n")"); done
done
big=("$base/big.bin")
warm_up="$base/zrx25.W02"

# The Windows side sees the temp folder through Wine's Z: drive.
winpath() { echo "Z:${1//\//\\}"; }

check() {  # check OUT_DIR NAME...: every fetched file equals the served one
  local out=$1; shift
  for name in "$@"; do cmp -s "$root/$name" "$out/$name" || { echo "run.sh: $name differs" >&2; exit 1; }; done
}

run_wine() {  # run_wine METHOD SET -> "seconds bytes idle_kb peak_kb"
  local mode=$1 set=$2 out=$work/out-$1 line options=()
  if [ "$mode" = download-64k ]; then mode=download; options=(--buffer 65536); fi
  rm -rf "$out"; mkdir -p "$out"
  local -n urls=$set
  sync
  line=$("$wine_run" "$build" "$bench_exe" "${options[@]}" "$mode" "$(winpath "$out")" "$warm_up" "${urls[@]}" \
         | tr -d '\r')
  [ "$mode" = bare-discard ] || check "$out" "${urls[@]##*/}"
  rm -rf "$out"
  sed -E 's/.*bytes=([0-9]+) seconds=([0-9.]+).*idle_kb=([0-9]+) peak_kb=([0-9]+).*/\2 \1 \3 \4/' <<<"$line"
}

run_curl() {  # run_curl SET -> "seconds bytes - -"
  local set=$1 out=$work/out-curl args=() start end
  local -n urls=$set
  rm -rf "$out"; mkdir -p "$out"
  for u in "${urls[@]}"; do args+=(-o "$out/${u##*/}" "$u"); done
  sync
  start=$(date +%s.%N)
  curl -s --fail "${args[@]}"
  end=$(date +%s.%N)
  check "$out" "${urls[@]##*/}"
  local bytes=0 u
  for u in "${urls[@]}"; do bytes=$((bytes + $(stat -c %s "$out/${u##*/}"))); done
  rm -rf "$out"
  echo "$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }') $bytes - -"
}

# download-64k is DOWNLOAD with a 64 KB receive buffer instead of its own.
methods=(download download-64k bare bare-discard curl)
declare -A results
for ((r = 1; r <= rounds; r++)); do
  order=("${methods[@]:r%5}" "${methods[@]:0:r%5}")
  for set in package big; do
    for m in "${order[@]}"; do
      if [ "$m" = curl ]; then res=$(run_curl $set); else res=$(run_wine "$m" $set); fi
      results[$set,$m]+="$res"$'\n'
      echo "round $r $set $m: $res" >&2
    done
  done
done

python3 - "$rounds" <<PY
import statistics, sys
raw = {
$(for key in "${!results[@]}"; do printf '    "%s": """%s""",\n' "$key" "${results[$key]}"; done)
}
def rows(key):
    return [l.split() for l in raw[key].strip().splitlines()]
print(f"fetch benchmark, {sys.argv[1]} rounds (MB = 10^6 bytes); ratios are medians of same-round ratios")
methods = ("download", "download-64k", "bare", "bare-discard", "curl")
for s, label in (("package", "sample package, 30 x 500 KB, fetched 3 times over"), ("big", "one 200 MB file")):
    rates = {m: [int(x[1]) / float(x[0]) / 1e6 for x in rows(f"{s},{m}")] for m in methods}
    print(f"\n{label}: median MB/s")
    for m in methods:
        print(f"  {m:13s} {statistics.median(rates[m]):8.1f}")
    for m, name in (("bare", "bare WinINet, written"), ("bare-discard", "bare WinINet, discarded"), ("curl", "curl")):
        ratio = statistics.median(d / o for d, o in zip(rates["download"], rates[m]))
        print(f"  DOWNLOAD / {name:24s} {ratio:.2f}")
print("\npeak working set above idle during the 200 MB fetch, MB (median, worst)")
for m in ("download", "download-64k", "bare"):
    growth = [(int(x[3]) - int(x[2])) / 1024 for x in rows(f"big,{m}")]
    print(f"  {m:13s} {statistics.median(growth):5.1f} {max(growth):5.1f}")
PY
