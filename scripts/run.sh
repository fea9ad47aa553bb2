#!/usr/bin/env bash
# Installs what is missing, builds Orvantis and starts it.
#
#   scripts/run.sh           against the virtual ECU, with throwaway settings (your own settings
#                            are not touched); no car or cable needed
#   scripts/run.sh --real    with your own settings, for a real cable and car
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh

if [ "${1:-}" = "--real" ]; then
  exec build/app/orvantis
fi

work=$(mktemp -d)
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

# The virtual ECU prints the device to open as its first line.
build/ecusim/orvantis-ecusim --quiet >"$work/ecusim.out" &
sim_pid=$!
device=
for _ in $(seq 100); do
  device=$(head -n 1 "$work/ecusim.out" 2>/dev/null || true)
  [ -n "$device" ] && break
  kill -0 "$sim_pid" 2>/dev/null || { echo "The virtual ECU did not start." >&2; exit 1; }
  sleep 0.1
done
[ -n "$device" ] || { echo "The virtual ECU did not report its device." >&2; exit 1; }
echo "Virtual ECU on $device"

mkdir -p "$work/config/Orvantis"
printf '[Comms]\nComPort=%s\nAutoConnect=1\n' "$device" >"$work/config/Orvantis/Orvantis.conf"
XDG_CONFIG_HOME="$work/config" build/app/orvantis
