#!/usr/bin/env bash
# Compiles each C++ file on its own, the way the file-by-file build of the sanitizer stage does, but only
# the files changed against BASE (default: the branch main), so the daily loop finds a missing include
# that a unity batch hides in seconds instead of a whole second build. A header is compiled as a file
# that includes nothing but it; a source with the flags of the batch that holds it.
#
#     scripts/check-includes.sh [--all] [BUILD_DIR] [BASE]    (BUILD_DIR: build/ unless given; it must
#                                                              have been configured and built once)
# Also `cmake --build BUILD_DIR --target check-includes`. Exit status 1 names each file that failed.
set -euo pipefail
cd "$(dirname "$0")/.."

all=0
if [[ ${1:-} == --all ]]; then
  all=1
  shift
fi
build=${1:-build}
base=${2:-main}
if [[ ! -f $build/compile_commands.json ]]; then
  echo "check-includes: $build/compile_commands.json is missing; configure $build first" >&2
  exit 2
fi

if ((all)); then
  mapfile -t files < <(git ls-files 'src/*.cpp' 'src/*.h' 'sim/*.cpp' 'sim/*.h' 'tests/*.cpp' 'tests/*.h')
else
  mapfile -t files < <({ git diff --name-only "$(git merge-base "$base" HEAD)" -- src sim tests
                         git ls-files --others --exclude-standard -- src sim tests; } |
                       grep -E '\.(cpp|h)$' | sort -u)
fi
existing=()
for file in "${files[@]}"; do
  [[ -f $file && $file != tests/tools/layer_fixture/* ]] && existing+=("$file")
done
if ((${#existing[@]} == 0)); then
  echo "check-includes: no changed C++ files"
  exit 0
fi

# One line per file: the file, then the command that compiles it. A unity batch's command serves every
# source it includes and every header beside them.
commands=$(mktemp)
trap 'rm -f "$commands"' EXIT
python3 - "$build" "${existing[@]}" >"$commands" <<'EOF'
import json, os, re, shlex, sys
build, files = sys.argv[1], sys.argv[2:]
root = os.getcwd()
by_source, by_folder = {}, {}
for entry in json.load(open(os.path.join(build, 'compile_commands.json'))):
    args = entry.get('arguments') or shlex.split(entry['command'])
    cleaned, skip = [], False
    for a in args:
        if skip:
            skip = False
            continue
        if a in ('-o', '-c', '-MF', '-MT', '-MQ'):
            skip = True
            continue
        if a in ('-MD', '-MMD') or a == entry['file']:
            continue
        cleaned.append(a)
    sources = [entry['file']]
    if '/Unity/unity_' in entry['file']:
        text = open(os.path.join(entry['directory'], entry['file'])).read()
        sources = re.findall(r'#include "([^"]+)"', text)
    for src in sources:
        src = os.path.relpath(os.path.join(entry['directory'], src), root)
        by_source.setdefault(src, (entry['directory'], cleaned))
        by_folder.setdefault(os.path.dirname(src), (entry['directory'], cleaned))
for f in files:
    found = by_source.get(f) or by_folder.get(os.path.dirname(f))
    if not found:
        print(f + '\t')  # not built here (a program left out of this build)
        continue
    directory, cmd = found
    print(f + '\t' + directory + '\t' + shlex.join(cmd))
EOF

check() {
  local file=$1 directory=$2 command=$3
  local path
  path=$(realpath "$file")
  if [[ $file == *.h ]]; then
    (cd "$directory" && echo "#include \"$path\"" | eval "$command -x c++ -fsyntax-only -") 2>&1
  else
    (cd "$directory" && eval "$command -fsyntax-only \"$path\"") 2>&1
  fi
}

# As many compilers at a time as there are cores (ZT5_JOBS to change it); each leaves its messages in
# a file of its own, read once all are done.
limit=${ZT5_JOBS:-$(nproc)}
results=$(mktemp -d)
trap 'rm -rf "$commands" "$results"' EXIT
index=0
while IFS=$'\t' read -r file directory command; do
  if [[ -z $directory ]]; then
    echo "check-includes: $file is not built in $build, left out"
    continue
  fi
  index=$((index + 1))
  (check "$file" "$directory" "$command" >"$results/$index.log" || echo "$file" >"$results/$index.failed") &
  while (($(jobs -rp | wc -l) >= limit)); do
    wait -n || true
  done
done <"$commands"
wait
checked=$index
failed=()
for ((i = 1; i <= checked; i++)); do
  if [[ -f $results/$i.failed ]]; then
    head -20 "$results/$i.log"
    failed+=("$(cat "$results/$i.failed")")
  fi
done

if ((${#failed[@]})); then
  printf 'check-includes: does not compile on its own: %s\n' "${failed[@]}" >&2
  exit 1
fi
echo "check-includes: $checked files, each compiles with its own includes"
