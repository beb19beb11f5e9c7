#!/usr/bin/env bash
# Installs the Debian packages the build needs (only what is missing). The builds themselves are the
# presets of CMakePresets.json. Used by run.sh and test.sh; not meant to be called on its own.
set -euo pipefail

# What the program's build needs (the build configures the tests too, hence GoogleTest). Qt's own
# translations: the standard dialogs in the chosen language.
packages=(build-essential cmake qt6-base-dev libgtest-dev fonts-dejavu-core qt6-translations-l10n)
# What only the tests add: clang and its sanitizer and libFuzzer runtimes (only recommended by
# clang), the second compiler and the fuzz targets.
test_packages=(clang libclang-rt-14-dev)

# Installs the program's packages; with "tests", those of the tests as well.
install_missing() {
  local wanted=("${packages[@]}")
  [ "${1:-}" = tests ] && wanted+=("${test_packages[@]}")
  local missing=()
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
