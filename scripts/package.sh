#!/usr/bin/env bash
# Builds a release of the game and writes the Debian package dist/velko_VERSION_ARCH.deb:
# the game in /usr/games, its data in /usr/share/games/velko, the menu entry, the car's
# icons, AppStream metadata, the manual page velko(6), the copyright and the changelog.
# Installs what is missing first. The version is the changelog's (packaging/linux/changelog),
# whose upstream part must be the project's CMake version.
set -euo pipefail
cd "$(dirname "$0")/.."
readonly SOURCE="$PWD"
readonly BUILD="$SOURCE/build-package"
# The tree is laid out where dpkg-shlibdeps expects a package's files: debian/PACKAGE.
readonly STAGE="$BUILD/deb/debian/velko"
readonly CHANGELOG="$SOURCE/packaging/linux/changelog"

# lintian, desktop-file-validate and appstreamcli check the package (tests/package/).
bash scripts/install-deps.sh dpkg-dev lintian desktop-file-utils appstream
installed_at=$SECONDS

# Debian's hardening flags, as a package built by debhelper would have them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake --preset package \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
# The game, its data and its icons only: no tests, no benchmarks.
cmake --build "$BUILD" -j"$(nproc)" --target velko velko_assets velko_icons velko_levels
built_at=$SECONDS

version="$(dpkg-parsechangelog -l "$CHANGELOG" -S Version)"
upstream="$(cat "$BUILD/packaging/version")"
if [[ "${version%-*}" != "$upstream" ]]; then
  echo "package: the changelog's version $version is not for version $upstream; add an entry" >&2
  exit 1
fi
arch="$(dpkg --print-architecture)"

rm -rf "$BUILD/deb"
DESTDIR="$STAGE" cmake --install "$BUILD"
# Stripped as debhelper strips: symbols and the compiler's notes go.
strip --remove-section=.comment --remove-section=.note "$STAGE/usr/games/velko"
gzip -9n "$STAGE/usr/share/man/man6/velko.6"
gzip -9n <"$CHANGELOG" >"$STAGE/usr/share/doc/velko/changelog.Debian.gz"
install -D -m 0644 packaging/linux/lintian-overrides "$STAGE/usr/share/lintian/overrides/velko"
# Whatever the umask: folders and the game 0755, every other file 0644.
find "$STAGE" -type d -exec chmod 0755 {} +
find "$STAGE" -type f -exec chmod 0644 {} +
chmod 0755 "$STAGE/usr/games/velko"

# Dependencies from the libraries the game links, found by dpkg-shlibdeps, which wants to be
# run beside a debian/control and finds the package's root by its DEBIAN folder.
mkdir -p "$STAGE/DEBIAN"
printf 'Source: velko\n\nPackage: velko\nArchitecture: any\n' >"$BUILD/deb/debian/control"
shlibs="$(cd "$BUILD/deb" && dpkg-shlibdeps -O debian/velko/usr/games/velko)"
shlibs="${shlibs#shlibs:Depends=}"

# Installed-Size as dpkg counts it: each file in whole KiB, each folder one.
installed_kib="$(find "$STAGE" -mindepth 1 -path "$STAGE/DEBIAN" -prune \
  -o -type f -printf '%s\n' -o -type d -printf '1024\n' |
  awk '{ kib += int(($1 + 1023) / 1024) } END { print kib }')"

cat >"$STAGE/DEBIAN/control" <<CONTROL
Package: velko
Version: $version
Architecture: $arch
Maintainer: $(dpkg-parsechangelog -l "$CHANGELOG" -S Maintainer)
Installed-Size: $installed_kib
Depends: $shlibs, fonts-dejavu-core
Section: games
Priority: optional
Description: top-down car driving game
 Velko is a small top-down car driving game. You drive one car over a
 scrolling circuit. Walls and buildings are obstacles: hit one fast and the
 car is thrown back with a crash, touch one slowly and it is held still for
 a moment, and the third bounce sets it skidding. Kerbs are not obstacles:
 the car drives over them onto the grass.
 .
 At every start a dialog asks for the display mode: full screen at 16 or 32
 bits per pixel, or a window. All the game's text is French.
CONTROL
(cd "$STAGE" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$STAGE/DEBIAN/md5sums"
chmod 0644 "$STAGE/DEBIAN/control" "$STAGE/DEBIAN/md5sums"

mkdir -p dist
deb="dist/velko_${version}_${arch}.deb"
# The changelog's date stamps the archive, so the same sources give the same package.
SOURCE_DATE_EPOCH="$(dpkg-parsechangelog -l "$CHANGELOG" -S Timestamp)" \
  dpkg-deb --root-owner-group -Zxz --build "$STAGE" "$deb"
echo "package: $deb (installs $installed_at s, release build $((built_at - installed_at)) s," \
  "packaging $((SECONDS - built_at)) s)"
