#!/usr/bin/env bash
# Installs what is missing, builds the project and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/normal -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/normal -j "$(nproc)"
echo "run: built into build/normal/bin:"
ls build/normal/bin
