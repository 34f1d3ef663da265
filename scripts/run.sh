#!/bin/bash
# Installs what is missing, builds the program and opens its window.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/jobs.sh"
cd "$(dirname "$0")/.."

bash scripts/install-dependencies.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$Jobs" --target trithemius-chiffre
exec build/ui/trithemius-chiffre
