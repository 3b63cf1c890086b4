#!/usr/bin/env bash
# Runs the fuzz targets of a THALOMIR_FUZZ build, one after the other, each for
# SECONDS on its corpus; fails on the first finding.
#   fuzz/run.sh BUILD_DIR SECONDS [target...]     (targets: names without _fuzz)
# FUZZ_RUNS=N also ends each run after N executions, whichever comes first.
# The corpus of each target grows in BUILD_DIR/fuzz/corpus/<target>, seeded
# with the hand-made cases in fuzz/corpus/<target> and the game's own data
# files; findings land in BUILD_DIR/fuzz/findings, logs in BUILD_DIR/fuzz/logs.
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?build folder}" && pwd)"
seconds="${2:?seconds per target}"
shift 2
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(resource_script font strtable ini level particle battle_save progress)

# The game's data files that are seeds of each target. The font is generated
# by the build; any build folder beside this one that made it will do.
existing() {
    local f
    for f in "$@"; do [ -f "$f" ] && echo "$f"; done
    return 0
}
game_seeds() {
    case "$1" in
        resource_script) existing "$src"/assets/data/allres.txt ;;
        ini) existing "$src"/assets/data/config.txt "$src"/assets/data/lvl*.txt ;;
        level) existing "$src"/assets/data/lvl*.txt ;;
        font) existing "$build"/data/res/*.fnt "$src"/build*/data/res/*.fnt ;;
    esac
}

mkdir -p "$build/fuzz/findings" "$build/fuzz/logs"
status=0
for t in "${targets[@]}"; do
    exe="$build/${t}_fuzz"
    [ -x "$exe" ] || { echo "fuzz: $exe is not built" >&2; exit 2; }
    corpus="$build/fuzz/corpus/$t"
    seeds="$build/fuzz/seeds/$t"
    mkdir -p "$corpus"
    rm -rf "$seeds" && mkdir -p "$seeds"
    cp "$src/fuzz/corpus/$t"/* "$seeds"/
    while read -r f; do cp "$f" "$seeds/game-$(basename "$f")"; done < <(game_seeds "$t")
    log="$build/fuzz/logs/$t.log"
    echo "fuzz: $t for ${seconds}s"
    if "$exe" "$corpus" "$seeds" -dict="$src/fuzz/$t.dict" -max_total_time="$seconds" \
        -runs="${FUZZ_RUNS:--1}" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/fuzz/findings/$t-" >"$log" 2>&1; then
        grep -E "^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|^#[0-9]+.*DONE" "$log" || true
    else
        echo "fuzz: $t found a fault; the input is in $build/fuzz/findings/, the log in $log" >&2
        grep -E -A30 "ERROR|runtime error|fuzz:|INI:|==[0-9]+==" "$log" | head -n 60 >&2 || tail -n 40 "$log" >&2
        status=1
    fi
done
exit $status
