#!/bin/bash
# Installs what is missing, builds everything and runs every check: the
# formatting, the fuzz targets for a fixed number of inputs, all tests under Address-
# and UndefinedBehaviorSanitizer, and last all tests of the release build,
# whose summary closes the output.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/jobs.sh"
cd "$(dirname "$0")/.."

bash scripts/install-dependencies.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$Jobs"

bash scripts/check-format.sh
bash scripts/fuzz.sh build-fuzz
bash scripts/sanitize.sh build-asan

cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$Jobs"
