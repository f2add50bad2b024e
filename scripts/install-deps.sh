#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, only those that are missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  libgif-dev libcgif-dev
  libcli11-dev
  qt6-base-dev fonts-dejavu-core         # the desktop dialog and its font
  xvfb xauth xdotool desktop-file-utils  # its tests under a real X server, its desktop entry
  man-db                                 # the check of the manual page
  clang clang-format clang-tidy          # the second compiler and the lint in CI
  libclang-rt-14-dev valgrind            # libFuzzer and clang's sanitizers; memcheck in CI
  gifsicle imagemagick python3-pil       # decoders the small stream is checked with; the benchmark
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
