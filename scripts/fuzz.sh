#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for a bounded
# time on a copy of its seed corpus, so that new corpus entries stay in the
# build folder. Exits non-zero when any target crashes, leaks, hits
# undefined behaviour or finds a broken property.
#
# Usage: scripts/fuzz.sh [build-dir]
#   build-dir     default build-fuzz; a relative path is taken from the repository root
#   FUZZ_SECONDS  seconds per target, default 10
# Needs: clang, libclang-rt-14-dev (libFuzzer), cmake, qt6-base-dev (Qt Core,
# for the memo-text target).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/jobs.sh"

RepoDir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BuildDir=${1:-build-fuzz}
[[ $BuildDir = /* ]] || BuildDir=$RepoDir/$BuildDir
Seconds=${FUZZ_SECONDS:-10}

cmake -S "$RepoDir" -B "$BuildDir" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DTRITHEMIUS_BUILD_FUZZ=ON \
    -DTRITHEMIUS_BUILD_TESTS=OFF \
    -DTRITHEMIUS_BUILD_BENCH=OFF \
    -DTRITHEMIUS_BUILD_UI=OFF
cmake --build "$BuildDir" --target fuzz_targets -j"$Jobs"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
export QT_QPA_PLATFORM=offscreen

Failed=()
Ran=0
for Target in "$BuildDir"/fuzz/fuzz_*; do
    [[ -f $Target && -x $Target ]] || continue
    Name=$(basename "$Target")
    Seeds=$RepoDir/fuzz/corpus/$Name
    Corpus=$BuildDir/fuzz-corpus/$Name
    Artifacts=$BuildDir/fuzz-artifacts
    Log=$BuildDir/fuzz-logs/$Name.log
    mkdir -p "$Corpus" "$Artifacts" "$(dirname "$Log")"
    [[ -d $Seeds ]] && cp -r "$Seeds"/. "$Corpus"/
    echo "== $Name: ${Seconds}s on $(find "$Corpus" -type f | wc -l) corpus files"
    if "$Target" -max_total_time="$Seconds" -timeout=20 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="$Artifacts/$Name-" "$Corpus" >"$Log" 2>&1; then
        grep -E '^(#[0-9]+[[:space:]]+DONE|Done [0-9]+ runs)' "$Log" || tail -n 3 "$Log"
    else
        echo "!! $Name failed; last lines of $Log:"
        tail -n 60 "$Log"
        Failed+=("$Name")
    fi
    Ran=$((Ran + 1))
done

if ((Ran == 0)); then
    echo "no fuzz target was built" >&2
    exit 1
fi
if ((${#Failed[@]} > 0)); then
    echo "fuzzing failed: ${Failed[*]} (inputs in $BuildDir/fuzz-artifacts)" >&2
    exit 1
fi
echo "fuzzing: $Ran targets ran ${Seconds}s each without a finding"
