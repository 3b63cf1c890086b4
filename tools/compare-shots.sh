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
# its header describes), then the level choice alone (levels_*.png) with no,
# half and all of the campaign won, pointed and keyed at, a locked level's
# notice and the player's own levels, full size, into OUT_DIR. Without
# REFERENCE_DIR they are only written. Exits 1 when a shot differs by more
# than the tolerance.
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

# The level choice: PROGRESS (none, half, all won) and the player's own levels
# (yes/no) in fresh user folders; the script's shots are named levels_NAME_*.
levels() {
  local name=$1 won=$2 own=$3 script=$4 n
  rm -rf "$work/share" "$work/config" "$work/state" "$work/lc"
  mkdir -p "$work/share/thalomir/levels" "$work/lc"
  if [ "$won" -gt 0 ]; then
    printf '[progress]\nversion=2\n' > "$work/share/thalomir/progress.txt"
    for ((n = 1; n <= won; n++)); do
      printf '[level lvl%d.txt]\nwon=1\nstars_easy=%d\nstars_normal=%d\nstars_hard=0\n' \
        "$n" $((n % 4)) $(((n + 1) % 4)) >> "$work/share/thalomir/progress.txt"
    done
  fi
  if [ "$own" = yes ]; then
    cp "$build/data/res/lvl2.txt" "$work/share/thalomir/levels/my_reef.txt"
    printf '[unit1]\nname=Aqua\nx=1\ny=1\n' > "$work/share/thalomir/levels/lonely.txt"
  fi
  printf '130 move 512 521\n140 click 512 521\n%s\n' "$script" > "$work/lc/script.replay"
  "$build/thalomir-replay" "$work/lc/script.replay" --data "$build/data" --out "$work/lc" >/dev/null
  for shot in "$work"/lc/*.png; do mv "$shot" "$out/levels_${name}_$(basename "$shot")"; done
}
levels fresh 0 no '170 move 1000 20
180 shot idle
190 move 155 101
200 shot pointed
210 click 301 254
220 shot locked
230 move 1000 20
231 down 40
232 up 40
240 shot keyed
250 end'
levels half 4 yes '170 move 220 188
180 shot pointed
190 move 200 488
200 shot own
210 move 1000 20
211 down 39
212 up 39
220 shot keyed
230 end'
levels all 8 no '170 move 742 576
180 shot pointed
190 end'

[ -n "$ref" ] || exit 0
status=0
for shot in "$out"/*.png; do
  name=$(basename "$shot")
  printf '%-22s ' "$name"
  "$build/thalomir-shotdiff" "$ref/$name" "$shot" "$tol" || status=1
done
exit $status
