#!/usr/bin/env bash
# Configures and builds Orvantis (and its tests) into build/. Extra arguments go to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."
generator=()
if command -v ninja >/dev/null 2>&1; then
  generator=(-G Ninja)
fi
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
elif [ $# -gt 0 ]; then
  cmake -S . -B build "$@"
fi
cmake --build build -j "${ORVANTIS_JOBS:-2}"
