#!/usr/bin/env bash
# The Debian package end to end: builds it with scripts/package.sh, checks it with lintian
# (no error, no warning), desktop-file-validate and appstreamcli, unpacks it into a
# temporary root with dpkg-deb -x and plays the unpacked game on a virtual X display as a
# player with a fresh home would (no XDG_* variables): the dialog answered (windowed, OK), a
# screenshot with F12, Escape. Then screen.ini must be in ~/.config/velko/, the screenshot in
# ~/.local/share/velko/screenshots/, and nothing in the unpacked tree may have changed.
#   tests/package/package_test.sh        (from anywhere; run by scripts/test.sh)
set -uo pipefail

harness=package
source "$(dirname "$0")/../support/x_session.sh"
readonly APP_ID="invalid.velko.Velko"
readonly ICON_SIZES=(16 24 32 48 64 128 256)

# ---------------------------------------------------------------------------------------
# Inside the display: play the unpacked game.
if [[ "${1:-}" == "--session" ]]; then
  velko="$2"
  work="$3"
  begin_session
  export SDL_AUDIODRIVER=dummy
  # Started from an empty folder, which must stay empty.
  cd "$work/cwd" || fail "no folder to start from"
  start_game "$velko"

  play_windowed
  sleep 1

  shot="$HOME/.local/share/velko/screenshots/screen000.bmp"
  press F12
  wait_file_size 10 "$shot" 1440054 || fail "F12 left no complete $shot"
  press Escape
  expect_clean_exit

  # A circuit that comes with the game, by its name, from the installed levels. The dialog
  # starts afresh (play_windowed ticks the window), and ends by writing the same choice.
  rm "$HOME/.config/velko/screen.ini" || fail "no screen.ini in ~/.config/velko"
  start_game "$velko" --level ville
  play_windowed
  sleep 1
  press F12
  wait_file_size 10 "${shot/000/001}" 1440054 || fail "velko --level ville took no screenshot"
  press Escape
  expect_clean_exit "--level ville"
  cmp -s "$shot" "${shot/000/001}" && fail "--level ville showed the game's own circuit"
  exit 0
fi

# ---------------------------------------------------------------------------------------
# Outside: build, check, unpack, then play under xvfb-run.
cd "$(dirname "$0")/../.." || exit 1
started=$SECONDS
lap=$SECONDS
lap() {
  note "$1: $((SECONDS - lap)) s"
  lap=$SECONDS
}

bash scripts/package.sh || fail "scripts/package.sh failed"
version="$(dpkg-parsechangelog -l packaging/linux/changelog -S Version)"
deb="dist/velko_${version}_$(dpkg --print-architecture).deb"
[[ -f "$deb" ]] || fail "scripts/package.sh wrote no $deb"
lap "installs, release build and packaging"

# lintian is slow to start: one run, every tag shown.
lintian_output="$(lintian --pedantic --display-info --display-experimental "$deb" 2>&1)"
lintian_status=$?
echo "$lintian_output"
((lintian_status == 0)) || fail "lintian exited $lintian_status"
grep -q '^[EW]: ' <<<"$lintian_output" && fail "lintian reports errors or warnings"
lap "lintian"

make_work_folder
root="$work/root"
export HOME="$work/home"
mkdir -p "$root" "$HOME" "$work/cwd"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"

expected=(usr/games/velko "usr/share/applications/$APP_ID.desktop"
  "usr/share/metainfo/$APP_ID.metainfo.xml" usr/share/man/man6/velko.6.gz
  usr/share/doc/velko/copyright usr/share/doc/velko/changelog.Debian.gz)
mapfile -t data_files < <(build-package/velko-assetgen --list)
((${#data_files[@]} > 0)) || fail "build-package/velko-assetgen --list names no data file"
for file in "${data_files[@]}"; do expected+=("usr/share/games/velko/$file"); done
for circuit in ville rapide; do
  expected+=("usr/share/games/velko/levels/$circuit/level.map"
    "usr/share/games/velko/levels/$circuit/level.bpb")
done
for file in "${expected[@]}"; do
  [[ -s "$root/$file" ]] || fail "the package has no $file"
done
for size in "${ICON_SIZES[@]}"; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/velko.png"
  # ImageMagick as an outside reader: the size, and a transparent corner.
  read -r width height corner < <(convert "$icon" -format '%w %h %[fx:p{0,0}.a]' info: 2>&1)
  [[ "$width $height $corner" == "$size $size 0" ]] ||
    fail "icon ${size}x${size} reads as ${width}x${height}, corner alpha $corner"
done
# Depends: the libraries dpkg-shlibdeps found, and the font.
depends="$(dpkg-deb -f "$deb" Depends)"
names="$(tr ',' '\n' <<<"$depends" | awk '{ print $1 }')"
for dependency in libc6 libsdl2-2.0-0 libsdl2-ttf-2.0-0 fonts-dejavu-core; do
  grep -qx "$dependency" <<<"$names" || fail "Depends lacks $dependency: $depends"
done
desktop-file-validate "$root/usr/share/applications/$APP_ID.desktop" ||
  fail "desktop-file-validate rejects the menu entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/$APP_ID.metainfo.xml" ||
  fail "appstreamcli rejects the metainfo"
velko="$root/usr/games/velko"
upstream="${version%-*}"
[[ "$("$velko" --version)" == "Velko $upstream" ]] ||
  fail "--version does not print \"Velko $upstream\""
lap "file list, icons, validators"

listing() { (cd "$root" && find . -printf '%p %y %s %m %T@ %C@\n' | sort); }
listing >"$work/before.txt"
while read -r variable; do unset "$variable"; done < <(compgen -e | grep '^XDG_')
need_tools xvfb-run xdotool # scripts/install-deps.sh installs them
run_under_xvfb 1280x1024x24 150 bash "$0" --session "$velko" "$work" || fail "the game's session failed"
listing >"$work/after.txt"
diff "$work/before.txt" "$work/after.txt" >&2 || fail "the game wrote into its installed tree"
[[ -z "$(ls -A "$work/cwd")" ]] || fail "the game wrote into the folder it was started from"

expect_ini "$HOME/.config/velko/screen.ini" FALSE 16 FALSE FALSE
shot="$HOME/.local/share/velko/screenshots/screen000.bmp"
[[ "$(stat -c %s "$shot")" -eq 1440054 ]] || fail "$shot is not 1,440,054 bytes"
note "written under the home folder: $(cd "$HOME" && find . -type f | sort | tr '\n' ' ')"
lap "the unpacked game under Xvfb"
note "PASS in $((SECONDS - started)) s"
