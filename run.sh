#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the program (only the program: no test, benchmark or
# fuzz target) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source ./setup.sh
install_missing
cmake --preset build >/dev/null
cmake --build --preset build --target corvane -j "$(nproc)"
exec build/program/corvane "$@"
