#!/usr/bin/env bash
# Builds Hoplin (optimised, with debug info) and starts the game.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
hoplin_install_missing "${HOPLIN_BUILD_PACKAGES[@]}"

cmake --preset default -DHOPLIN_BUILD_TESTS=OFF -DHOPLIN_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build --preset default -j "$(nproc)" --target hoplin
exec build/default/app/hoplin "$@"
