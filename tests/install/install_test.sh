#!/usr/bin/env bash
# install_test.sh BUILD_DIR SCRIPT_DIR VERSION
# Installs the build into a temporary DESTDIR with prefix /usr, makes the data
# read-only and plays the installed game twice from scripts, with HOME and the
# XDG folders in the temporary folder: settings must land in the user's
# config.txt, the log in the state folder, nothing in the data folder or the
# working directory, progress in the user's data folder, and the second run
# must start with the first one's settings and progress. Then the same
# without any home, and portable beside the program.
set -euo pipefail
build=$(cd "$1" && pwd) here=$(cd "$2" && pwd) version=$3
t=$(mktemp -d)
trap 'chmod -R u+w "$t"; rm -rf "$t"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$t/root cmake --install "$build" --prefix /usr >/dev/null
usr=$t/root/usr
data=$usr/share/thalomir
for f in bin/thalomir bin/thalomir-replay share/thalomir/res/allres.txt share/thalomir/res/config.txt \
  share/applications/org.thalomir.Thalomir.desktop share/metainfo/org.thalomir.Thalomir.metainfo.xml \
  share/man/man6/thalomir.6.gz share/man/man6/thalomir-replay.6.gz share/doc/thalomir/copyright \
  share/doc/thalomir/licenses/DejaVu-fonts.txt share/doc/thalomir/licenses/Liberation-fonts.txt; do
  [ -f "$usr/$f" ] || fail "not installed: $f"
done
for s in 16 24 32 48 64 128 256; do
  icon=$usr/share/icons/hicolor/${s}x$s/apps/thalomir.png
  [ -f "$icon" ] || fail "no ${s}px icon"
  # PNG width and height, big-endian at bytes 16..23.
  [ "$(od -An -tx1 -j16 -N8 "$icon" | tr -d ' \n')" = "$(printf '%08x%08x' "$s" "$s")" ] ||
    fail "icon $s is not ${s}x$s"
done

chmod -R a-w "$data"
sums() { (cd "$data" && find . -type f -o -type d | sort && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
before=$(sums)

xdg=$t/xdg
export SDL_AUDIODRIVER=dummy
export HOME=$t/home XDG_CONFIG_HOME=$xdg/config XDG_DATA_HOME=$xdg/data XDG_STATE_HOME=$xdg/state
mkdir -p "$HOME" "$t/cwd"
cd "$t/cwd"

[ "$("$usr/bin/thalomir" --version)" = "thalomir $version" ] || fail "--version"
status=0; "$usr/bin/thalomir" --no-such-option 2>/dev/null || status=$?
[ $status -eq 2 ] || fail "an unknown option exits with $status, not 2"

# The user's file sets only what differs from the shipped one.
mkdir -p "$XDG_CONFIG_HOME/thalomir"
printf '[aqua]\ndmg=100\nrange=100\n[torp]\ndmg=100\nrange=100\n' >"$XDG_CONFIG_HOME/thalomir/config.txt"

replay() { "$usr/bin/thalomir-replay" "$here/$1" --out "$t/shots" "${@:2}" | tail -n 1; }
last=$(replay first_run.replay) || fail "the first run failed"
echo "first run: $last"
[[ "$last" == "frames=801 gamestate=2 maxlvl=2 "* ]] || fail "level 1 was not won: $last"
[ -s "$t/shots/battle.png" ] || fail "no screenshot from the offscreen renderer"
config=$XDG_CONFIG_HOME/thalomir/config.txt
grep -qx 'music=20' "$config" || fail "music volume not saved: $(cat "$config")"
grep -qx 'dmg=100' "$config" || fail "the user's own keys were lost"
grep -q 'health=' "$config" && fail "shipped values copied into the user's file"
grep -qx '\[level lvl1.txt\]' "$XDG_DATA_HOME/thalomir/progress.txt" || fail "no progress in the data folder"
[ "$(stat -c %a "$XDG_DATA_HOME/thalomir")" = 700 ] || fail "progress folder not the user's only"
[ -s "$XDG_STATE_HOME/thalomir/log.txt" ] || fail "no log in the state folder"
[ "$(stat -c %a "$XDG_STATE_HOME/thalomir")" = 700 ] || fail "state folder not the user's only"
[ -z "$(ls -A "$t/cwd")" ] || fail "files left in the working directory: $(ls -A "$t/cwd")"

last=$(replay second_run.replay --headless) || fail "the second run failed"
echo "second run: $last"
grep -qx 'music=20' "$config" || fail "the second run did not start with music 20: $(cat "$config")"
[[ "$last" == *" maxlvl=2 "* ]] || fail "the second run did not start with level 2 open: $last"

[ "$(sums)" = "$before" ] || fail "the data folder changed"

# No home at all: the game still plays, logs to the standard error and says
# once that the settings last only this run.
out=$(env -u HOME -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_STATE_HOME \
  "$usr/bin/thalomir-replay" "$here/second_run.replay" --out "$t/shots" --headless 2>&1) ||
  fail "no home: the run failed: $out"
[ "$(grep -c "Can't save the settings" <<<"$out")" = 1 ] || fail "no home: $out"
[ "$(sums)" = "$before" ] || fail "no home: the data folder changed"

# Portable: a file named "portable" beside the program keeps everything with the data.
cp -r "$t/root" "$t/portable"
chmod -R u+w "$t/portable"
touch "$t/portable/usr/bin/portable"
rm -rf "$xdg"
"$t/portable/usr/bin/thalomir-replay" "$here/first_run.replay" --out "$t/shots" --headless >/dev/null
grep -qx 'music=20' "$t/portable/usr/share/thalomir/res/config.txt" || fail "portable: settings not in the data"
[ -e "$t/portable/usr/share/thalomir/log.txt" ] || fail "portable: no log beside the data"
[ ! -e "$xdg" ] || fail "portable: wrote into the XDG folders: $(find "$xdg")"
echo "install test passed"
