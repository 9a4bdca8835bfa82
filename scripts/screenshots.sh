#!/usr/bin/env bash
# Takes the pictures of docs/screenshots/ on the offscreen platform: zt5-screenshots pictures the windows
# shown for their own sake, and the widget tests that drive the configuration pages picture them on the
# way when ZT5_SCREENSHOT_DIR names a folder.
#
#     scripts/screenshots.sh [FOLDER]    (FOLDER: docs/screenshots unless given; the build is in
#                                         $ZT5_BUILD_DIR, else the dev preset's build/)
set -euo pipefail
cd "$(dirname "$0")/.."

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
if [[ -n ${ZT5_BUILD_DIR:-} ]]; then
  build=$ZT5_BUILD_DIR
else
  # The same folder and settings as scripts/demo.sh, so neither rebuilds what the other built.
  build=build
  [[ -f $build/CMakeCache.txt ]] || cmake --preset dev "${launcher[@]}" >/dev/null
fi
folder=${1:-docs/screenshots}
mkdir -p "$folder"
folder=$(cd "$folder" && pwd)

# The widget tests that take pictures of the pages they drive (config-root, config-common,
# config-service-user, config-service).
page_tests=(
  'ConfigRoot.ValuesChangedOnTheCommonPageAreWrittenToTheMeterAndReadBack'
  'ConfigSystemPages.ServiceTabSendsItsCommandsWithThePaddedPassword'
  'ServicePage.ServiceCentreDataAndTheRegionalVersionBits'
)

cmake --build "$build" --target zt5-screenshots zt5_test_ui
export QT_QPA_PLATFORM=offscreen
"$build/tests/zt5-screenshots" "$folder"
ZT5_SCREENSHOT_DIR="$folder" "$build/tests/zt5_test_ui" --gtest_filter="$(IFS=:; echo "${page_tests[*]}")"
echo "Снимки: $folder"
