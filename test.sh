#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds everything and runs every test, through the presets of
# CMakePresets.json:
#  1. build: GCC, normal build: all tests;
#  2. build-sanitize: GCC with AddressSanitizer and UndefinedBehaviorSanitizer (float-cast-overflow
#     included) and leak detection: all tests, the windows' tests included;
#  3. build-fuzz: clang with the same sanitizers and libFuzzer's coverage: all tests, then every fuzz
#     target over its seed corpus and for a bounded time, all targets at once. A finding fails the run.
set -euo pipefail
cd "$(dirname "$0")"
source ./setup.sh
install_missing tests

jobs=$(nproc)
fuzz_seconds=${FUZZ_SECONDS:-20}

# The test presets set the sanitizers' options; each test gets the offscreen platform from CTest.
for preset in build build-sanitize build-fuzz; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

# The fuzz targets run outside CTest: the same environment as the sanitized tests. A runtime folder
# made here goes at exit with the scratch folder; one that the caller set stays.
runtime_dir='' scratch=''
trap 'rm -rf ${runtime_dir:+"$runtime_dir"} ${scratch:+"$scratch"}' EXIT
export QT_QPA_PLATFORM=offscreen
if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
  runtime_dir=$(mktemp -d)
  export XDG_RUNTIME_DIR="$runtime_dir"
fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0"

# Each target reads its committed corpus and writes what it finds new into a scratch folder;
# an input that fails is kept in build-fuzz/findings.
scratch=$(mktemp -d)
mkdir -p build-fuzz/findings
pids=()
targets=(project_file menu_language gateway_replies)
for target in "${targets[@]}"; do
  mkdir -p "$scratch/$target"
  build-fuzz/fuzz/${target}_fuzz -max_total_time="$fuzz_seconds" -timeout=25 -print_final_stats=1 \
    -artifact_prefix="build-fuzz/findings/$target-" "$scratch/$target" "fuzz/corpus/$target" \
    >"$scratch/$target.log" 2>&1 &
  pids+=($!)
done
failed=0
for i in "${!targets[@]}"; do
  if wait "${pids[$i]}"; then
    echo "fuzz ${targets[$i]}: $(grep -m1 '^stat::number_of_executed_units' "$scratch/${targets[$i]}.log")"
  else
    echo "fuzz ${targets[$i]}: FINDING"
    tail -n 60 "$scratch/${targets[$i]}.log"
    failed=1
  fi
done
exit "$failed"
