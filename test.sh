#!/usr/bin/env bash
# Builds Hoplin and runs every test: all of them on the default build, then everything
# that needs no real display under AddressSanitizer+UBSan and under ThreadSanitizer, and last
# the Windows build, cross-compiled and tested under Wine.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
hoplin_install_missing "${HOPLIN_BUILD_PACKAGES[@]}" "${HOPLIN_TEST_PACKAGES[@]}" \
  "${HOPLIN_WINDOWS_PACKAGES[@]}"

jobs=$(nproc)

for preset in default asan tsan windows; do
  echo "=== ${preset} ==="
  # run.sh configures the default build without tests; switch them back on.
  options=(-DHOPLIN_BUILD_TESTS=ON)
  if [ "$preset" = default ]; then
    options+=(-DHOPLIN_BUILD_BENCHMARKS=ON)
  fi
  cmake --preset "$preset" "${options[@]}" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done
