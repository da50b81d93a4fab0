#!/usr/bin/env bash
# Prints how much of the C++ code is tests: non-blank lines that are not // comments, in the .cpp
# and .h files of the repository (tracked, or new and not ignored), under tests/ against the
# whole. The goal is a third at most.
set -euo pipefail
cd "$(dirname "$0")/.."

code_lines() { # git pathspec...
    git ls-files -z --cached --others --exclude-standard -- "$@" | grep -zE '\.(cpp|h)$' |
        while IFS= read -r -d '' file; do [ -f "$file" ] && cat "$file"; done |
        grep -cvE '^[[:space:]]*(//.*)?$' || true
}

tests=$(code_lines tests)
all=$(code_lines .)
echo "test lines: $tests"
echo "all lines: $all"
echo "tests share: $((100 * tests / all)) % (goal: at most 33 %)"
