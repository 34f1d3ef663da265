#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for a fixed
# number of inputs on a copy of its seed corpus, so that new corpus entries
# stay in the build folder, and a slow machine tests as deep as a fast one.
# Exits non-zero when any target crashes, leaks, hits undefined behaviour or
# finds a broken property.
#
# Usage: scripts/fuzz.sh [build-dir]
#   build-dir         default build-fuzz; a relative path is taken from the repository root
#   FUZZ_RUNS         inputs per target, instead of each target's own number below
#   FUZZ_MAX_SECONDS  seconds after which a target stops all the same, default 600
# Needs: clang, libclang-rt-14-dev (libFuzzer), cmake, qt6-base-dev (Qt Core,
# for the memo-text target).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/jobs.sh"

RepoDir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BuildDir=${1:-build-fuzz}
[[ $BuildDir = /* ]] || BuildDir=$RepoDir/$BuildDir
MaxSeconds=${FUZZ_MAX_SECONDS:-600}
# Inputs per target: about ten seconds' worth on the 2-core machine the
# project is built on (the memo's edits and the text path take long inputs).
declare -A Runs=(
    [fuzz_apply_cipher]=100000
    [fuzz_five_letter_blocks]=700000
    [fuzz_key_stream]=200000
    [fuzz_memo_edits]=100
    [fuzz_memo_text]=15000
    [fuzz_normalise_input]=800000
)

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
    Count=${FUZZ_RUNS:-${Runs[$Name]:-100000}}
    echo "== $Name: $Count inputs on $(find "$Corpus" -type f | wc -l) corpus files"
    if "$Target" -runs="$Count" -max_total_time="$MaxSeconds" -timeout=20 -rss_limit_mb=4096 \
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
echo "fuzzing: $Ran targets ran their inputs without a finding"
