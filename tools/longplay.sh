#!/usr/bin/env bash
# Long play for crash hunts: runs thalomir-longplay from BUILD (a build folder)
# for MINUTES under Xvfb (the real x11 window, resizes and fullscreen) on a
# copy of the build's data, with the battle speed at its fastest, niced.
# A sanitizer build reports through the sanitizers; any other build runs with
# glibc's heap checks on. The run's folder (the user's folders with
# state/thalomir/log.txt, output.txt) is kept and named
# at the end; the exit status is the game's.
#
#   tools/longplay.sh BUILD MINUTES [SEED]
set -euo pipefail
build=${1:?build folder}
minutes=${2:?minutes}
seed=${3:-$RANDOM}
exe=$(realpath "$build/thalomir-longplay")
run=$(mktemp -d /tmp/thalomir-longplay.XXXXXX)
cp -r "$build/data" "$run/data"
sed -i 's/^speed=.*/speed=100/' "$run/data/res/config.txt"
cd "$run"
# The run's own settings, progress and log, never those of whoever runs it.
export HOME=$run XDG_CONFIG_HOME=$run/config XDG_DATA_HOME=$run/share XDG_STATE_HOME=$run/state
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
# grep reads all of nm's output: with -q it may stop early, and pipefail would
# take nm's SIGPIPE for "no sanitizer".
if ! nm -D "$exe" 2>/dev/null | grep __asan_init >/dev/null; then
  # Since glibc 2.34 MALLOC_CHECK_ works only with the debug malloc preloaded.
  debug=$(ls /lib/*-linux-gnu/libc_malloc_debug.so.0 2>/dev/null | head -n 1 || true)
  export MALLOC_CHECK_=3 MALLOC_PERTURB_=$((seed % 255 + 1))
  LD_PRELOAD=$debug
fi
status=0
nice -n 10 xvfb-run -a -s "-screen 0 1280x1024x24" \
  env LD_PRELOAD="${LD_PRELOAD:-}" "$exe" --minutes "$minutes" --seed "$seed" --data "$run/data" >"$run/output.txt" 2>&1 || status=$?
grep -v '^ALSA lib' "$run/output.txt" | tail -n 20
echo "run folder: $run (exit status $status)"
exit $status
