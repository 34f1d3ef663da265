#!/usr/bin/env bash
# Checks that the C++ sources (core, memo_text, memo, ui, tests, bench, fuzz) are formatted as
# .clang-format says, without changing any file. Lists every deviation and
# exits non-zero when there is one.
#
# Usage: scripts/check-format.sh [clang-format binary]   (default clang-format)
# Needs: clang-format (apt package clang-format).
set -euo pipefail

RepoDir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ClangFormat=${1:-clang-format}
cd "$RepoDir"

mapfile -t Sources < <(git ls-files --cached --others --exclude-standard -- 'core/*' 'memo_text/*' 'memo/*' 'ui/*' 'tests/*' 'bench/*' 'fuzz/*' |
    grep -E '\.(cpp|h)$')
if ((${#Sources[@]} == 0)); then
    echo "no C++ sources found" >&2
    exit 1
fi
"$ClangFormat" --dry-run --Werror "${Sources[@]}"
echo "format: ${#Sources[@]} files as .clang-format says"
