#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the programs need, when any is missing.
# With --tests, also what only the tests use (real readers of the files we write). With --list, prints
# them all one a line instead (scripts/check-deps.sh holds configure against them).
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev libqt6opengl6-dev libegl-dev libglu1-mesa-dev qt6-charts-dev qt6-translations-l10n libqt6sql6-sqlite libqt6sql6-psql libhidapi-dev
  libxlsxwriter-dev zlib1g-dev fonts-dejavu-core
  libmosquitto-dev
  postgresql
  libgtest-dev libgmock-dev libbenchmark-dev libmodbus-dev time jq
  mbpoll
  clang clang-format libclang-rt-14-dev llvm lld
  dpkg-dev desktop-file-utils appstream librsvg2-bin man-db file lintian
)

# Only the tests need these: LibreOffice Calc without its desktop parts opens our spreadsheets headless
# (about 20 s more set-up on a fresh machine); pdftotext and pdftoppm read our PDFs; a broker and its
# subscriber for zt5ctl watch, and promtool (in prometheus) to read its metrics page.
test_packages=(
  libreoffice-calc-nogui poppler-utils
  mosquitto mosquitto-clients prometheus
)

case "${1:-}" in
  --list)
    printf '%s\n' "${packages[@]}" "${test_packages[@]}"
    exit 0
    ;;
  --tests) packages+=("${test_packages[@]}") ;;
  "") ;;
  *)
    echo "usage: $0 [--tests|--list]" >&2
    exit 2
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
