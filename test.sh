#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once as a normal build and once under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
for preset in dev asan; do
    echo "=== $preset build ==="
    cmake --preset "$preset"
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
echo "=== fuzz: every reader of the game's files and typed numbers, 60 s each ==="
fuzz/run.sh 60
