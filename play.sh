#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it in its ready play folder (build/dev/play).
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake --preset dev
cmake --build --preset dev --target plinkat
cd build/dev/play
exec ./plinkat
