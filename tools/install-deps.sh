#!/usr/bin/env bash
# Installs what Thalomir needs to build, run and test on Debian 12 (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
  build-essential cmake pkg-config git
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libepoxy-dev libx11-dev
  libgl1-mesa-dri libegl-mesa0 libegl1 xvfb xauth
  libgtest-dev libgmock-dev libbenchmark-dev
  libcairo2-dev libfreetype-dev libstb-dev libsndfile1-dev libvorbis-dev libogg-dev
  fonts-dejavu-core fonts-liberation2
  clang libclang-rt-14-dev
  desktop-file-utils appstream dpkg-dev file
)
source "$(dirname "${BASH_SOURCE[0]}")/apt-missing.sh"
apt_install_missing "${packages[@]}"
