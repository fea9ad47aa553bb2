#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each one.
#   scripts/fuzz.sh            a fixed, repeatable run of 20000 inputs each (what CI does)
#   scripts/fuzz.sh 600        ten minutes each, from a random seed, to search further
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
CC=clang CXX=clang++ cmake -S . -B build-fuzz "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVANTIS_FUZZ=ON -DORVANTIS_TESTS=OFF -DORVANTIS_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "${ORVANTIS_JOBS:-2}" --target fuzz_frames fuzz_texts

if [ $# -gt 0 ]; then
  limit=(-max_total_time="$1")
else
  limit=(-runs=20000 -seed=1)
fi
for fuzzer in fuzz_frames fuzz_texts; do
  corpus="build-fuzz/corpus/$fuzzer"
  mkdir -p "$corpus"
  echo "== $fuzzer"
  build-fuzz/fuzz/$fuzzer "${limit[@]}" -max_len=512 -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
  # A crash ends the fuzzer with a non-zero status, which fails this script.
  test "${PIPESTATUS[0]}" -eq 0
done
