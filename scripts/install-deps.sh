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
  gmt gmt-gshhg-low gmt-gshhg-high gmt-dcw  # `map --at`: coastlines, borders and rivers, and its tests
  libmagick++-dev                        # `map --image`: any picture made into a map
)

bash "$(dirname "$0")/install-missing.sh" "${packages[@]}"
