#!/usr/bin/env bash
# Every program prints "<name> <version>" for --version, with the one version of the project.
# Usage: versions_agree.sh VERSION PROGRAM...
set -euo pipefail
version=$1
shift
status=0
for program in "$@"; do
    name=$(basename "$program")
    got=$(QT_QPA_PLATFORM=offscreen "$program" --version)
    if [ "$got" != "$name $version" ]; then
        echo "$name --version: \"$got\", expected \"$name $version\"" >&2
        status=1
    fi
done
exit $status
