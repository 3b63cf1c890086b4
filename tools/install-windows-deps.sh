#!/usr/bin/env bash
# Installs what the Windows build needs on Debian 12 (run as root): the
# MinGW-w64 cross compilers, Wine and the packaging tools, then cross-builds
# SDL2, SDL2_image, SDL2_mixer and libepoxy from Debian's own source packages
# at pinned versions into
#   ${XDG_CACHE_HOME:-~/.cache}/thalomir/windows-deps/<versions>
# which later runs reuse. The native packages come first too: the Windows
# build takes its data folder from a native build.
#   tools/install-windows-deps.sh                 install and build what is missing
#   tools/install-windows-deps.sh --print-prefix  only name the prefix
set -Eeuo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Source package, version, SHA-256 of its .dsc. The .dsc lists the checksums
# of the tarballs, which are checked against what was downloaded.
pins=(
  "libsdl2 2.26.5+dfsg-1 95b9a18130d98164e7856eca8ac1a2eb65d822ac4872ef8862ceed2cb1662136"
  "libsdl2-image 2.6.3+dfsg-1 185eaaba97a90b71f2c951a60c61b7ea400129b0fefe5b9272cabd709ec0c7ed"
  "libsdl2-mixer 2.6.2+dfsg-2 ef16e515917151751644bc9413383864527bbb58707803deb683e0c91b0aacc0"
  "libepoxy 1.5.10-1 4cb85aae6a878860f181bb1e657dc1cd6f5147c2638de532bae0a3c62d2d9971"
)
# Raised when the build recipe below changes, so an old prefix is not reused.
recipe=1
key="sdl2-2.26.5_image-2.6.3_mixer-2.6.2_epoxy-1.5.10_r${recipe}"
prefix="${XDG_CACHE_HOME:-$HOME/.cache}/thalomir/windows-deps/$key"

if [ "${1:-}" = --print-prefix ]; then
  echo "$prefix"
  exit 0
fi

bash "$here/install-deps.sh"
source "$here/apt-missing.sh"
apt_install_missing g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools \
  wine64 wine meson ninja-build zip unzip icoutils googletest

if [ -e "$prefix/.complete" ]; then
  echo "install-windows-deps: reusing $prefix"
  exit 0
fi
echo "install-windows-deps: building into $prefix"
rm -rf "$prefix"
mkdir -p "$prefix"
work=$(mktemp -d "${TMPDIR:-/tmp}/thalomir-windows-deps.XXXXXX")
trap 'rm -rf "$work"' EXIT

# ---- Sources: Debian's archive, the same one the system installs from.
uri=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | grep -v security | head -n1 || true)
[ -n "$uri" ] || uri=$(sed -n 's/^deb \(\[[^]]*\] \)\?\([^ ]*\) bookworm .*/\2/p' /etc/apt/sources.list 2>/dev/null | head -n1 || true)
[ -n "$uri" ] || uri=http://deb.debian.org/debian
mkdir -p "$work/lists/partial" "$work/cache" "$work/src"
echo "deb-src $uri bookworm main" >"$work/sources.list"
apt_private=(-o "Dir::Etc::SourceList=$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache" -o APT::Sandbox::User=root)
apt-get "${apt_private[@]}" -qq update
cd "$work/src"
for pin in "${pins[@]}"; do
  read -r name version dsc_sha <<<"$pin"
  # Only the .dsc and the upstream tarball are needed; a missing Debian
  # tarball (libepoxy's is gone from some mirrors) is no loss.
  apt-get "${apt_private[@]}" -qq source --download-only "$name=$version" >/dev/null 2>&1 || true
  dsc="${name}_${version#*:}.dsc"
  echo "$dsc_sha  $dsc" | sha256sum --quiet -c -
  orig=0
  while read -r sha _ file; do
    case "$file" in *.orig.tar.*) orig=1 ;; *) [ -e "$file" ] || continue ;; esac
    echo "$sha  $file" | sha256sum --quiet -c -
  done < <(sed -n '/^Checksums-Sha256:/,/^[^ ]/{/^ /p}' "$dsc")
  [ $orig = 1 ] || { echo "install-windows-deps: $dsc names no upstream tarball" >&2; exit 1; }
  tar -xf "$(ls "${name}"_*.orig.tar.*)"
done

# ---- Cross builds, niced: the machine is shared.
toolchain=(-DCMAKE_TOOLCHAIN_FILE="$here/../cmake/windows-toolchain.cmake"
  -DTHALOMIR_WINDOWS_DEPS="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release
  -G Ninja)
cmake_build() {  # source folder, then its options
  local src=$1
  shift
  cmake -S "$src" -B "$work/build-$src" "${toolchain[@]}" "$@" >"$work/$src.log"
  nice -n 15 cmake --build "$work/build-$src" -j2 >>"$work/$src.log"
  cmake --install "$work/build-$src" >>"$work/$src.log"
}
licence() {  # package name, then its licence files
  local pkg=$1
  shift
  mkdir -p "$prefix/share/licenses/$pkg"
  cp "$@" "$prefix/share/licenses/$pkg/"
}
# A failed build shows the end of its log.
trap 'echo "install-windows-deps: a cross build failed; its log:" >&2; tail -n 40 "$(ls -t "$work"/*.log | head -n1)" >&2' ERR
cmake_build SDL2-2.26.5 -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
licence SDL2 SDL2-2.26.5/LICENSE.txt
# stb_image for PNG and JPEG: no libpng or zlib to build.
cmake_build SDL2_image-2.6.3 -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_VENDORED=OFF \
  -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_BACKEND_WIC=OFF -DSDL2IMAGE_DEPS_SHARED=OFF
licence SDL2_image SDL2_image-2.6.3/LICENSE.txt
# WAVE and Ogg Vorbis (stb_vorbis) are all the game plays.
cmake_build SDL2_mixer-2.6.2 -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VENDORED=OFF \
  -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF \
  -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=STB \
  -DSDL2MIXER_WAVE=ON
licence SDL2_mixer SDL2_mixer-2.6.2/LICENSE.txt
cat >"$work/meson-cross.txt" <<EOF
[binaries]
c = 'x86_64-w64-mingw32-gcc-posix'
ar = 'x86_64-w64-mingw32-ar'
strip = 'x86_64-w64-mingw32-strip'
windres = 'x86_64-w64-mingw32-windres'
pkg-config = 'pkg-config'
[host_machine]
system = 'windows'
cpu_family = 'x86_64'
cpu = 'x86_64'
endian = 'little'
EOF
meson setup "$work/build-epoxy" libepoxy-1.5.10 --cross-file "$work/meson-cross.txt" \
  --prefix "$prefix" --buildtype release -Ddocs=false -Dtests=false -Dglx=no -Degl=no \
  -Dx11=false >"$work/libepoxy.log"
nice -n 15 ninja -C "$work/build-epoxy" -j2 >>"$work/libepoxy.log"
ninja -C "$work/build-epoxy" install >>"$work/libepoxy.log"
licence libepoxy libepoxy-1.5.10/COPYING
trap - ERR
printf '%s\n' "${pins[@]}" >"$prefix/.complete"
echo "install-windows-deps: done, $(du -sh "$prefix" | cut -f1) in $prefix"
