#!/usr/bin/env bash
# Screenshots of every screen from a build, compared with reference shots
# made the same way (by the tree before a change to the renderer, say): each
# channel of each pixel may differ by at most TOLERANCE (default 2).
#
#   tools/compare-shots.sh BUILD OUT_DIR [REFERENCE_DIR [TOLERANCE]]
#
# BUILD is a build folder with thalomir-replay, thalomir-shotdiff and data.
# The shots come from docs/screenshots.replay (main menu, battle, a creature's turn, options)
# and docs/victory.replay (victory banner, then the level choice, on the duel data
# its header describes), full size, into OUT_DIR. Without REFERENCE_DIR they
# are only written. Exits 1 when a shot differs by more than the tolerance.
set -euo pipefail
build=$(realpath "${1:?build folder}")
out=$(mkdir -p "${2:?output folder}" && realpath "$2")
ref=${3:-}
tol=${4:-2}
src=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/thalomir-shots.XXXXXX)
trap 'rm -rf "$work"' EXIT
# The runs' own settings, progress and log, never those of whoever runs this.
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share XDG_STATE_HOME=$work/state
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen} SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

"$build/thalomir-replay" "$src/docs/screenshots.replay" --data "$build/data" --out "$out" >/dev/null

# The duel: two divers against one jellyfish of health 8.
# -L: where a build folder links its data, the duel's edits below must not go through the link.
cp -rL "$build/data" "$work/duel"
cat > "$work/duel/res/lvl1.txt" <<'LEVEL'
[unit1]
name=Aqua
x=4
y=4

[unit2]
name=Aqua
x=4
y=7

[unit3]
name=Medu
x=7
y=6
LEVEL
for f in "$work"/duel/res/*.txt; do
  sed -i '/^\[medu\]/,/^\[/ s/^health=.*/health=8/' "$f"
done
rm -rf "$work/share" "$work/config" "$work/state"
"$build/thalomir-replay" "$src/docs/victory.replay" --data "$work/duel" --out "$out" >/dev/null

[ -n "$ref" ] || exit 0
status=0
for shot in "$out"/*.png; do
  name=$(basename "$shot")
  printf '%-14s ' "$name"
  "$build/thalomir-shotdiff" "$ref/$name" "$shot" "$tol" || status=1
done
exit $status
