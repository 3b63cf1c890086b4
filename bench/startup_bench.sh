#!/usr/bin/env bash
# Start-up and memory of the game beside the floor program (startup_floor), in
# one run, alternating, so that the machine's noise cancels in the ratios:
#   - first frame, wall and CPU time from the start of main (goal: <= 1.3x);
#   - the longest frame while the logo shows and pictures load (<= 50 ms);
#   - peak resident memory through every screen (goal: <= 20 MiB over the floor).
#   bench/startup_bench.sh BUILD_DIR [RUNS]
# The game runs as thalomir-replay on the README's tour of every screen, with
# the real renderer offscreen; the floor draws the main menu's picture.
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?build folder}" && pwd)"
runs="${2:-5}"
floor="$build/startup_floor"
replay="$build/thalomir-replay"
for exe in "$floor" "$replay"; do [ -x "$exe" ] || { echo "startup_bench: $exe is not built" >&2; exit 2; }; done
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
export SDL_VIDEODRIVER="${SDL_VIDEODRIVER:-offscreen}" SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

# Each run appends "wall cpu peak [logo_max]" to its file.
for ((i = 0; i < runs; i++)); do
    "$floor" "$build/data/res/mmenu.png" |
        awk '/^first frame/ {w=$3; c=$6} /^peak/ {p=$4} END {print w, c, p}' >> "$out/floor"
    "$replay" "$src/docs/screenshots.replay" --out "$out/shots" --timing |
        awk '/^startup to first frame/ {w=$5; c=$7} /^peak/ {p=$4} /^logo:/ {m=$(NF-1)}
             END {print w, c, p, m}' >> "$out/game"
done

median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
col() { awk -v c="$2" '{print $c}' "$out/$1" | median; }
fw=$(col floor 1) fc=$(col floor 2) fp=$(col floor 3)
gw=$(col game 1) gc=$(col game 2) gp=$(col game 3) gl=$(col game 4)
awk -v fw="$fw" -v fc="$fc" -v fp="$fp" -v gw="$gw" -v gc="$gc" -v gp="$gp" -v gl="$gl" -v n="$runs" 'BEGIN {
    printf "medians of %d runs each (floor: startup_floor, game: thalomir-replay through every screen)\n", n
    printf "  first frame, wall: game %.1f ms, floor %.1f ms: %.2fx (goal <= 1.3)\n", gw, fw, gw / fw
    printf "  first frame, CPU:  game %.1f ms, floor %.1f ms: %.2fx (goal <= 1.3)\n", gc, fc, gc / fc
    printf "  longest frame while the logo shows: %.1f ms (goal <= 50)\n", gl
    printf "  peak resident memory: game %.1f MiB, floor %.1f MiB: %+.1f MiB (goal <= +20)\n", gp, fp, gp - fp
}'
