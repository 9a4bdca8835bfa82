#!/usr/bin/env bash
# Every program prints "<name> <version>" for --version, with the one version of the project, and the
# changelog's newest entry is that version, on the date the manual pages carry.
# Usage: versions_agree.sh VERSION DATE CHANGELOG PROGRAM...
set -euo pipefail
version=$1
date=$2
changelog=$3
shift 3
status=0
top=$(head -1 "$changelog")
if [ "${top%%)*}" != "zt5-configurator ($version" ]; then
    echo "the changelog begins with \"$top\", not version $version" >&2
    status=1
fi
trailer=$(grep -m1 '^ -- ' "$changelog" | sed 's/.*>  //')
if [ "$(date -u -d "$trailer" +%F 2>/dev/null)" != "$date" ]; then
    echo "the changelog's newest entry is dated \"$trailer\", the manual pages $date" >&2
    status=1
fi
for program in "$@"; do
    name=$(basename "$program")
    got=$(QT_QPA_PLATFORM=offscreen "$program" --version)
    if [ "$got" != "$name $version" ]; then
        echo "$name --version: \"$got\", expected \"$name $version\"" >&2
        status=1
    fi
done
exit $status
