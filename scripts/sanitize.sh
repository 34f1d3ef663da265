#!/usr/bin/env bash
# Builds the program and all tests with g++ under AddressSanitizer and
# UndefinedBehaviorSanitizer (every finding is fatal) in a folder of its own
# and runs every test with ctest. Benchmarks are left out.
#
# Usage: scripts/sanitize.sh [build-dir [cmake options...]]
#   build-dir  default build-asan; a relative path is taken from the repository root
#   further arguments go to the cmake configure step (e.g. -DTRITHEMIUS_BUILD_UI=OFF)
# Needs: g++, cmake, libgtest-dev; qt6-base-dev for the window and its tests.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/jobs.sh"

RepoDir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BuildDir=${1:-build-asan}
[[ $BuildDir = /* ]] || BuildDir=$RepoDir/$BuildDir

Sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

cmake -S "$RepoDir" -B "$BuildDir" \
    -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=g++ \
    -DCMAKE_CXX_FLAGS="$Sanitizers" \
    -DCMAKE_EXE_LINKER_FLAGS="$Sanitizers" \
    -DCMAKE_SHARED_LINKER_FLAGS="$Sanitizers" \
    -DTRITHEMIUS_BUILD_TESTS=ON \
    -DTRITHEMIUS_BUILD_BENCH=OFF \
    -DTRITHEMIUS_BUILD_FUZZ=OFF \
    "${@:2}"
cmake --build "$BuildDir" -j"$Jobs"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

ctest --test-dir "$BuildDir" --output-on-failure -j"$Jobs"
