#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source ./setup.sh
install_missing
build_tree build
exec build/program/corvane "$@"
