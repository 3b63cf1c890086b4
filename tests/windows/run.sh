#!/usr/bin/env bash
# The Windows check: the `windows` preset built with warnings as errors (data
# from the native build in build/), the whole suite under Wine, the release zip
# and its check (tests/windows/zip_check.sh). Needs tools/install-windows-deps.sh
# and the native build; starts Xvfb when there is no display.
#   tests/windows/run.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
cmake --preset windows -DTHALOMIR_WERROR=ON -DTHALOMIR_NATIVE_BUILD="$PWD/build" >/dev/null
cmake --build --preset windows
cmake --build --preset windows --target package >/dev/null

# The tests' Wine: its own prefix in the build folder, made once, and one
# wineserver for the whole run. Wine's background processes (services, and
# the desktop process the first window starts) are started here with their
# output in files: started by a test, they would hold ctest's pipe open until
# they end. Notepad keeps the desktop process alive until the end.
export WINEPREFIX=$PWD/build-windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
mkdir -p "$WINEPREFIX"  # the server starts in it; wineboot fills it
wineserver -p
trap 'wineserver -k || true' EXIT
"$wine" wineboot -i >build-windows/wineboot.txt 2>&1
"$wine" notepad.exe >build-windows/desktop.txt 2>&1 &
ctest --preset windows
tests/windows/zip_check.sh build-windows build
