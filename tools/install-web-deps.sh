#!/usr/bin/env bash
# Installs what the web build and its browser test need on Debian 12 (run as
# root): Emscripten, Chromium, and puppeteer-core at the version locked in
# tests/web/package-lock.json. Node.js 18 or later with npm must be present
# (Debian 12's own nodejs is too old for puppeteer-core).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
source "$(dirname "${BASH_SOURCE[0]}")/apt-missing.sh"
cd "$(dirname "$0")/.."
packages=(emscripten chromium libstb-dev node-acorn)
apt_install_missing "${packages[@]}"
if ! node -e 'process.exit(Number(process.versions.node.split(".")[0]) >= 18 ? 0 : 1)' 2>/dev/null ||
   ! command -v npm >/dev/null; then
  echo "install-web-deps: Node.js 18 or later with npm is needed (https://nodejs.org)" >&2
  exit 1
fi
cd tests/web
npm ci --no-audit --no-fund --loglevel=error
