#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs every test:
# first a normal build with all tests, then the libraries' tests under AddressSanitizer
# and UndefinedBehaviorSanitizer with leak detection.
set -euo pipefail
cd "$(dirname "$0")"
source ./setup.sh
install_missing

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
jobs=$(nproc)

build_tree build
ctest --test-dir build --output-on-failure -j "$jobs"

build_tree build-sanitize -DCORVANE_SANITIZE=ON -DCORVANE_BUILD_PROGRAM=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
