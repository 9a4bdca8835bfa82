#!/usr/bin/env bash
# format_check.sh ROOT: every C++ file of the project in the layout ROOT/.clang-format gives; names each
# file and line that is not (clang-format -i FILE puts it right).
set -euo pipefail
cd "$1"
command -v clang-format >/dev/null || { echo "clang-format is not installed (scripts/install-deps.sh)"; exit 1; }
mapfile -t files < <(find src sim tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) | sort)
clang-format --dry-run --Werror "${files[@]}"
echo "${#files[@]} files in the project's layout"
