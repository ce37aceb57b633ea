#!/usr/bin/env bash
# Brings a fresh Debian 12 machine (as root) to the point where every preset
# builds and every test runs. Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools
  wine wine64 wine32:i386 libwine-dev
  xvfb x11-utils imagemagick fonts-liberation fonts-wine
  python3 curl iproute2 util-linux procps
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The win32 thread model of MinGW lacks std::thread/std::mutex in C++20 mode
# on Debian 12; the posix flavour has them.
for arch in x86_64 i686; do
  for tool in gcc g++; do
    alt="/usr/bin/${arch}-w64-mingw32-${tool}-posix"
    [ -x "$alt" ] && update-alternatives --set "${arch}-w64-mingw32-${tool}" "$alt" >/dev/null 2>&1 || true
  done
done
echo "setup: machine ready"
