#!/usr/bin/env bash
# The browser test: builds the web page (web preset, packing the native
# build's data folder), takes the desktop game's main menu with the replay
# tool as the reference frame, then plays the page in headless Chromium, on a
# desktop-sized window and on an emulated phone.
# Needs the native build in build/ and tools/install-web-deps.sh.
#   tests/web/run.sh [OUTPUT_DIR]   (default build-web/browser-test)
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-build-web/browser-test}")
cmake --preset web -DTHALOMIR_WERROR=ON -DTHALOMIR_WEB_DATA_DIR="$PWD/build/data" >/dev/null
cmake --build --preset web
rm -rf "$out"
mkdir -p "$out"
# The reference run keeps its settings and log to itself, away from the user's.
mkdir -p "$out/home"
env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_STATE_HOME HOME="$out/home" SDL_AUDIODRIVER=dummy \
  build/thalomir-replay tests/web/mainmenu.replay --out "$out/desktop" >/dev/null
node tests/web/browser_test.mjs --site build-web/site --reference "$out/desktop/mainmenu.png" --out "$out"
node tests/web/phone_test.mjs --site build-web/site --out "$out/phone"
