#!/usr/bin/env bash
# Builds Hoplin (optimised, with debug info) with its installable files, and starts the game.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
hoplin_install_missing "${HOPLIN_BUILD_PACKAGES[@]}"

cmake --preset default -DHOPLIN_BUILD_TESTS=OFF -DHOPLIN_BUILD_BENCHMARKS=OFF >/dev/null
# Everything an installation needs, so that `cmake --install build/default` works next.
cmake --build --preset default -j "$(nproc)"
exec build/default/app/hoplin "$@"
