#!/usr/bin/env bash
# The Windows release zip as a player gets it, under Wine (needs an X display:
# run it under xvfb-run): unzipped into a folder whose name has spaces and
# non-ASCII letters, for a user whose folders have them too. `thalomir.exe
# --version` and a bad option; then the install test's two scripted runs
# (options, a battle won): settings and progress must land in
# %APPDATA%\thalomir, the log in %LOCALAPPDATA%\thalomir, nothing in the
# program's folder, and the second run must start with what the first kept.
# The battle's screenshot must match the native build's within the browser
# test's tolerance.
#   tests/windows/zip_check.sh [WINDOWS_BUILD [NATIVE_BUILD [OUT]]]
# (defaults build-windows, build, WINDOWS_BUILD/zip-check). Wine's output goes
# to files in OUT, never through a pipe: its background processes would hold
# a pipe open and hang the script.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
scripts=$here/../install
win=$(realpath "${1:-build-windows}")
native=$(realpath "${2:-build}")
out=$(realpath -m "${3:-$win/zip-check}")
fail() { echo "FAIL: $*" >&2; exit 1; }

zip=$(ls "$win"/thalomir-*-windows-x64.zip)
name=$(basename "$zip" .zip)
version=${name#thalomir-}
version=${version%-windows-x64}
rm -rf "$out"
mkdir -p "$out"

export LC_ALL=C.UTF-8 WINEDEBUG=-all WINEPREFIX=$out/wineprefix
# No prompts to install Wine's Mono or Gecko: the game needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
# One wineserver for the whole check: every start after the first is quick.
# It starts in the prefix, which wineboot then fills.
mkdir -p "$WINEPREFIX"
wineserver -p
trap 'wineserver -k || true' EXIT
"$wine" wineboot -i >"$out/wineboot.txt" 2>&1

# The user's folders with letters outside ASCII, as Windows would name them
# for a user "Jürgen Ñandú".
shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
user='C:\users\Jürgen Ñandú'
"$wine" reg add "$shell_folders" /v AppData /t REG_EXPAND_SZ /d "$user\\AppData\\Roaming" /f \
  >"$out/reg.txt" 2>&1
"$wine" reg add "$shell_folders" /v "Local AppData" /t REG_EXPAND_SZ /d "$user\\AppData\\Local" /f \
  >>"$out/reg.txt" 2>&1
profile="$WINEPREFIX/drive_c/users/Jürgen Ñandú"
appdata=$profile/AppData/Roaming/thalomir
localappdata=$profile/AppData/Local/thalomir

dir="$out/Mes jeux – Überfahrt ñ"
mkdir -p "$dir"
(cd "$dir" && unzip -q "$zip")
game="$dir/$name"
for f in thalomir.exe thalomir-replay.exe SDL2.dll SDL2_image.dll SDL2_mixer.dll libepoxy-0.dll \
  data/res/allres.txt licenses/thalomir.txt licenses/SDL2/LICENSE.txt; do
  [ -f "$game/$f" ] || fail "not in the zip: $f"
done
# The game's icon, version information and manifest.
wrestool -l "$game/thalomir.exe" >"$out/resources.txt"
for kind in type=group_icon type=version type=24; do
  grep -q -- "$kind" "$out/resources.txt" || fail "thalomir.exe lacks its resource $kind"
done
sums() { (cd "$game" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
before=$(sums)

mkdir -p "$out/cwd"
cd "$out/cwd"
"$wine" "$game/thalomir.exe" --version >"$out/version.txt" 2>&1 || fail "--version: $(cat "$out/version.txt")"
[ "$(tr -d '\r' <"$out/version.txt")" = "thalomir $version" ] || fail "--version printed: $(cat "$out/version.txt")"
status=0
"$wine" "$game/thalomir.exe" --no-such-option >"$out/bad-option.txt" 2>&1 || status=$?
[ $status -eq 2 ] || fail "an unknown option exits with $status, not 2"

# The user's file sets only what differs from the shipped one (see first_run.replay).
user_config='[aqua]\ndmg=100\nrange=100\n[torp]\ndmg=100\nrange=100\n'
mkdir -p "$appdata"
printf "$user_config" >"$appdata/config.txt"
replay() {  # script, output folder, then more options; prints the run's last line
  "$wine" "$game/thalomir-replay.exe" "$scripts/$1" --out "$2" "${@:3}" >"$2.txt" 2>&1 ||
    fail "$1 failed: $(tail -n 5 "$2.txt")"
  tail -n 1 "$2.txt" | tr -d '\r'
}
last=$(replay first_run.replay "$out/shots")
echo "first run: $last"
[[ "$last" == "frames=801 gamestate=2 maxlvl=2 "* ]] || fail "level 1 was not won: $last"
config=$appdata/config.txt
grep -qx 'music=20' "$config" || fail "music volume not saved: $(cat "$config")"
grep -qx 'dmg=100' "$config" || fail "the user's own keys were lost"
grep -qx '\[level lvl1.txt\]' "$appdata/progress.txt" || fail "no progress in %APPDATA%\\thalomir"
[ -s "$localappdata/log.txt" ] || fail "no log in %LOCALAPPDATA%\\thalomir"
[ -z "$(ls -A "$out/cwd")" ] || fail "files left in the working directory: $(ls -A "$out/cwd")"

last=$(replay second_run.replay "$out/shots2" --headless)
echo "second run: $last"
grep -qx 'music=20' "$config" || fail "the second run did not keep music 20: $(cat "$config")"
[[ "$last" == *" maxlvl=2 "* ]] || fail "the second run did not start with level 2 open: $last"
[ "$(sums)" = "$before" ] || fail "the program's folder changed"

# The same battle on Linux, for the screenshot.
linux=$out/linux
mkdir -p "$linux/config/thalomir"
printf "$user_config" >"$linux/config/thalomir/config.txt"
HOME=$linux XDG_CONFIG_HOME=$linux/config XDG_DATA_HOME=$linux/data XDG_STATE_HOME=$linux/state \
  SDL_AUDIODRIVER=dummy "$native/thalomir-replay" "$scripts/first_run.replay" --out "$linux/shots" \
  >"$linux/run.txt" 2>&1 || fail "the Linux run failed: $(tail -n 5 "$linux/run.txt")"
# The browser test's tolerance between two GL paths: 8 per channel, for all
# but 1.5% of the pixels, none over 64.
"$native/thalomir-shotdiff" "$out/shots/battle.png" "$linux/shots/battle.png" 8 0.015 64 ||
  fail "the battle under Wine differs from Linux's ($out/shots/battle.png, $linux/shots/battle.png)"
echo "zip check: passed ($zip)"
