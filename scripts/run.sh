#!/usr/bin/env bash
# Installs what is missing, builds the project, writes the default
# installation of the suite (scripts/install.sh) and starts the desktop host
# vkdesk with the goods-receipt list PVQR82 open. Arguments are passed on to
# vkdesk (for example --modal, or --compat for the compatibility build).
#
# Without a display (neither DISPLAY nor WAYLAND_DISPLAY set) it says how to
# run the scripted mode and runs a short demonstration scenario headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/normal -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/normal -j "$(nproc)"

registry=$(bash scripts/install.sh build/normal/bin | tail -n 1)
export "$registry"
login=(--user DS --company VRK --db VRKDEMO)

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: starting vkdesk (log in as DS, company VRK, database VRKDEMO)"
  exec build/normal/bin/vkdesk "${login[@]}" --open PVQR82 "$@"
fi

cat <<TEXT
run: there is no display (DISPLAY and WAYLAND_DISPLAY are not set).
run: the desktop host has a scripted mode that drives the program headless:

  export $registry
  build/normal/bin/vkdesk --script FILE        # or --script - to read standard input

run: one action a line (open, set, focus, key, type, click, answer, menu,
run: wait, close, free, expect ...; see suite/DesktopHost/README.md).
run: to watch the window instead, start it on a virtual display:

  xvfb-run -a build/normal/bin/vkdesk ${login[*]} --open PVQR82 --screenshot shot.png

run: a short demonstration, suite/DesktopHost/scenarios/demo.txt:
TEXT
exec build/normal/bin/vkdesk "${login[@]}" --script suite/DesktopHost/scenarios/demo.txt "$@"
