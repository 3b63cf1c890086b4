#!/usr/bin/env bash
# Installs what the web build and its browser test need on Debian 12 (run as
# root): Emscripten, Chromium, and puppeteer-core at the version locked in
# tests/web/package-lock.json. Node.js 18 or later with npm must be present
# (Debian 12's own nodejs is too old for puppeteer-core).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
cd "$(dirname "$0")/.."
packages=(emscripten chromium libstb-dev node-acorn)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if ! node -e 'process.exit(Number(process.versions.node.split(".")[0]) >= 18 ? 0 : 1)' 2>/dev/null ||
   ! command -v npm >/dev/null; then
  echo "install-web-deps: Node.js 18 or later with npm is needed (https://nodejs.org)" >&2
  exit 1
fi
cd tests/web
npm ci --no-audit --no-fund --loglevel=error
