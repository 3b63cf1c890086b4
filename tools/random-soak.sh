#!/usr/bin/env bash
# Long random-input soaks of the real game: one run per seed, one after the
# other, at low priority. Each run prints its figures; a finding names its
# seed and frame.
#   tools/random-soak.sh BUILD_DIR FRAMES_PER_SEED SEED...
#   e.g. tools/random-soak.sh build 2500000 11 12 13 14
set -uo pipefail
if [ $# -lt 3 ]; then
  echo "usage: $0 BUILD_DIR FRAMES_PER_SEED SEED..." >&2
  exit 2
fi
build=$1 frames=$2
shift 2
status=0
for seed in "$@"; do
  THALOMIR_RANDOM_SOAK_FRAMES=$frames THALOMIR_RANDOM_SOAK_SEED=$seed \
    nice -n 10 "$build/hardening_random_soak_tests" --gtest_brief=1 | grep -v '^Running main' || status=1
done
exit $status
