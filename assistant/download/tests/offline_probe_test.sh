#!/usr/bin/env bash
# The watchdog's probe in a network namespace: with loopback alone the machine
# is offline; a veth pair with a default route (both ends inside the namespace,
# so nothing leaves it) brings the connection back.
#   offline_probe_test.sh WINE_RUN BUILD_DIR CHECK_EXE
set -euo pipefail
wine_run=$1 build_dir=$2 check=$3
# Wine's network information lives in processes started with the wineserver,
# so the namespace gets a prefix and a wineserver of its own.
export PF_WINEPREFIX="$build_dir/wineprefix-netns"
export WINEPREFIX="$PF_WINEPREFIX"

exec unshare -n bash -euo pipefail -c '
  wine_run=$1 build_dir=$2 check=$3
  trap "wineserver -k >/dev/null 2>&1 || true" EXIT
  wineserver -k >/dev/null 2>&1 || true
  ip link set lo up
  "$wine_run" "$build_dir" "$check" offline
  ip link add pfnet0 type veth peer name pfnet1
  ip link set pfnet0 up
  ip link set pfnet1 up
  ip route add default dev pfnet0
  "$wine_run" "$build_dir" "$check" online
  ip route del default dev pfnet0
  "$wine_run" "$build_dir" "$check" offline
' offline-probe "$wine_run" "$build_dir" "$check"
