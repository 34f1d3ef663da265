#!/bin/bash
# Writes a picture of the window (its client area) to docs/window-start.png
# or the PNG file given: at start, or with --after-run after a whole run on
# the sample text (docs/window-after-run.png by default). Builds the window_snapshot
# program and runs it on Qt's offscreen platform; with --xvfb it runs on a
# virtual X server instead (xvfb-run, package xvfb), as a desktop would.
#
# Usage: scripts/snapshot.sh [--xvfb] [--after-run] [FILE.png]
# Environment: BUILD_DIR, the build directory (default build).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/jobs.sh"
cd "$(dirname "$0")/.."

Platform=offscreen
if [[ ${1:-} == --xvfb ]]; then
    Platform=xcb
    shift
fi
Scenario=start
if [[ ${1:-} == --after-run ]]; then
    Scenario=after-run
    shift
fi
Output=$(realpath -m "${1:-docs/window-$Scenario.png}")
BuildDir=${BUILD_DIR:-build}

cmake -S . -B "$BuildDir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BuildDir" -j"$Jobs" --target window_snapshot
mkdir -p "$(dirname "$Output")"

if [[ $Platform == xcb ]]; then
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x900x24 -dpi 96" \
        "$BuildDir/tests/ui/window_snapshot" "$Output" "$Scenario"
else
    QT_QPA_PLATFORM=offscreen "$BuildDir/tests/ui/window_snapshot" "$Output" "$Scenario"
fi
echo "snapshot: $Output"
