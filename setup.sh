#!/usr/bin/env bash
# Installs the Debian packages the build needs (only what is missing). The builds themselves are the
# presets of CMakePresets.json. Used by run.sh and test.sh; not meant to be called on its own.
set -euo pipefail

# clang and its sanitizer and libFuzzer runtimes (only recommended by clang): the second compiler
# and the fuzz targets. Qt's own translations: the standard dialogs in the chosen language.
packages=(build-essential cmake qt6-base-dev libgtest-dev fonts-dejavu-core clang libclang-rt-14-dev
          qt6-translations-l10n)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
