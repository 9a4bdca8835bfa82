#!/usr/bin/env bash
# Fails when a configure step read a file from a Debian package that a fresh machine would not have.
#
#   scripts/check-deps.sh BUILD_DIR [PACKAGE_LIST]
#
# BUILD_DIR was configured with
#   --trace-format=json-v1 --trace-redirect=BUILD_DIR/cmake-trace.json
# The files read are: every CMake script the trace ran outside the source and build trees (package
# configs, find modules), every file the cache points at (find_program, find_library, compilers), and
# every pkg-config module pkg_check_modules asked for, with the modules it requires.
# PACKAGE_LIST is a file with one package a line (default: what scripts/install-deps.sh --list prints).
# A file is covered when its package is listed, is pulled in by a listed one through Depends or
# Pre-Depends (the first installed choice of an alternative, a provider of a virtual package), or is
# Essential. This machine may have more installed than a fresh one: a package installed here as a
# Recommends of a listed one is exactly what this check catches.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?usage: check-deps.sh BUILD_DIR [PACKAGE_LIST]}"
trace="$build/cmake-trace.json"
cache="$build/CMakeCache.txt"
for f in "$trace" "$cache"; do
  [ -f "$f" ] || { echo "check-deps: $f is missing (configure with --trace-format=json-v1)" >&2; exit 2; }
done
if [ $# -ge 2 ]; then
  mapfile -t roots < <(grep -v '^\s*\(#\|$\)' "$2")
else
  mapfile -t roots < <("$here/install-deps.sh" --list)
fi

source_dir=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$cache")
build_dir=$(sed -n 's/^CMAKE_CACHEFILE_DIR:INTERNAL=//p' "$cache")

# --- The files configure read --------------------------------------------------------------------
files=$(mktemp) owners=$(mktemp)
trap 'rm -f "$files" "$owners"' EXIT
{
  jq -r 'select(.file) | .file' "$trace"
  sed -n 's/^[A-Za-z0-9_.+-]*:FILEPATH=\(\/.*\)$/\1/p' "$cache"
  # pkg_check_modules(PREFIX [options] module...): options are upper-case words
  jq -r 'select(.cmd == "pkg_check_modules") | .args[1:][] | select(test("^[A-Z_]+$") | not)' "$trace" |
    sed 's/[<>=].*//' | sort -u | while read -r module; do
      pkg-config --path "$module" 2>/dev/null || continue
      pkg-config --print-requires --print-requires-private "$module" 2>/dev/null | awk '{print $1}' |
        while read -r required; do pkg-config --path "$required" 2>/dev/null || true; done
    done
} | sort -u | while read -r f; do
  case "$f" in
    "$source_dir"/*|"$build_dir"/*) continue ;;
  esac
  # A link (libGLU.so, /usr/bin/c++) may belong to another package than its target, or to none.
  [ -f "$f" ] && printf '%s\t%s\n' "$f" "$(realpath "$f")"
done | sort -u > "$files"

# --- Who owns them -------------------------------------------------------------------------------
# One dpkg-query for all; dpkg knows most files by their /usr path, on a merged /usr some by /lib.
dpkg-query -S $(tr '\t' '\n' < "$files" | sort -u) 2>/dev/null | sed 's/^\([^:,]*\)[^ ]* \(.*\)$/\1\t\2/' > "$owners.found" || true
unknown=$(cut -f2 "$owners.found" | sort -u | comm -13 - <(tr '\t' '\n' < "$files" | sort -u))
if [ -n "$unknown" ]; then
  dpkg-query -S $(echo "$unknown" | sed -n 's|^/usr/|/|p') 2>/dev/null |
    sed 's/^\([^:,]*\)[^ ]* \(.*\)$/\1\t\/usr\2/' >> "$owners.found" || true
fi
awk -F'\t' 'NR == FNR { owner[$2] = $1; next }
  { print (($1 in owner) ? owner[$1] : ($2 in owner) ? owner[$2] : "-") "\t" $1 }' \
  "$owners.found" "$files" > "$owners"
rm -f "$owners.found"

# --- What a fresh install of the listed packages brings --------------------------------------------
# Walks Depends and Pre-Depends from the listed and the Essential packages; of an alternative group
# "a | b (>= 1) | c:any" it follows the first installed choice or a provider of a virtual name.
covered=$(mktemp)
trap 'rm -f "$files" "$owners" "$covered"' EXIT
{
  printf 'ROOT\t%s\n' "${roots[@]}"
  dpkg-query -W -f='${Package}\t${Essential}\t${Pre-Depends}, ${Depends}\t${Provides}\n'
} | awk -F'\t' '
  function bare(s) { sub(/\(.*/, "", s); sub(/\[.*/, "", s); sub(/:.*/, "", s); gsub(/ /, "", s); return s }
  $1 == "ROOT" { queue[++tail] = $2; next }
  {
    installed[$1] = 1; deps[$1] = $3
    if ($2 == "yes") queue[++tail] = $1
    n = split($4, vs, ",")
    for (i = 1; i <= n; i++) { v = bare(vs[i]); if (v != "" && !(v in provider)) provider[v] = $1 }
  }
  END {
    for (head = 1; head <= tail; head++) {
      p = queue[head]
      if (p in seen) continue
      seen[p] = 1; print p
      n = split(deps[p], groups, ",")
      for (g = 1; g <= n; g++) {
        m = split(groups[g], alts, "|")
        for (a = 1; a <= m; a++) {
          name = bare(alts[a])
          if (name == "") continue
          if (name in installed) { queue[++tail] = name; break }
          if (name in provider) { queue[++tail] = provider[name]; break }
        }
      }
    }
  }' | sort -u > "$covered"

# --- The verdict ---------------------------------------------------------------------------------
missing=$(awk -F'\t' 'NR == FNR { ok[$1] = 1; next } $1 != "-" && !($1 in ok)' "$covered" "$owners" | sort)
unowned=$(awk -F'\t' '$1 == "-" {print $2}' "$owners")

echo "check-deps: $(wc -l < "$files") files read by configure in $build, from $(cut -f1 "$owners" | sort -u | grep -vc '^-$') packages"
if [ -n "$unowned" ]; then
  echo "check-deps: files of no package (left alone):"
  echo "$unowned" | sed 's/^/  /'
fi
if [ -n "$missing" ]; then
  echo "check-deps: configure reads files of packages that scripts/install-deps.sh neither lists nor pulls in:" >&2
  echo "$missing" | awk -F'\t' '{ files[$1] = files[$1] "\n    " $2 } END { for (p in files) print "  " p ":" files[p] }' >&2
  echo "check-deps: add them to scripts/install-deps.sh" >&2
  exit 1
fi
echo "check-deps: every one is listed in scripts/install-deps.sh or pulled in by a listed package"
