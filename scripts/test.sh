#!/usr/bin/env bash
# Installs what is missing, builds Orvantis with its tests and runs them all, headless.
# With --sanitize the same runs again in a separate AddressSanitizer/UBSan build (build-asan/), and
# the fuzzers run a fixed, repeatable batch of inputs (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
(cd build && ctest --output-on-failure -j "${ORVANTIS_JOBS:-2}")

if [ "${1:-}" = "--sanitize" ]; then
  bash scripts/fuzz.sh
  generator=()
  command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
  cmake -S . -B build-asan "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DORVANTIS_SANITIZE=ON >/dev/null
  cmake --build build-asan -j "${ORVANTIS_JOBS:-2}"
  (cd build-asan && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j "${ORVANTIS_JOBS:-2}")
fi
