#!/usr/bin/env bash
# The Debian package made from this build names the libraries of the program and its modules,
# carries its copyright and changelog, passes Debian's own check (lintian) without an error,
# installs into a root of its own and runs from there: it finds its media and modules where it
# was installed, and writes its log into the user's state folder, nothing where it was started.
source "$(dirname "$0")/lib.bash"

(cd "$GAME_DIR" && cpack -G DEB -B "$WORK/package") >"$WORK/cpack.log" 2>&1 ||
    { cat "$WORK/cpack.log" >&2; fail "cpack -G DEB failed"; }
deb=$(ls "$WORK"/package/vorrak_*.deb)

# Warnings and notes may stay; they are printed for whoever reads the test's output.
lintian --fail-on error "$deb" >"$WORK/lintian" 2>&1 ||
    fail "lintian finds errors in the package: $(cat "$WORK/lintian")"
cat "$WORK/lintian"
maintainer=$(dpkg-deb -f "$deb" Maintainer)
[[ "$maintainer" =~ ^[^\<]+\ \<[^@]+@[a-z0-9-]+\.[a-z.]+\>$ && "$maintainer" != *localhost* ]] ||
    fail "the maintainer is not a team with an address of its own: $maintainer"

# Every dependency is named and met by a package installed here, at the version asked.
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libogre1.12 libois libsdl2 libavcodec libenet fonts-dejavu-core; do
    grep -q "$needed" <<<"$depends" || fail "the package does not depend on $needed: $depends"
done
while read -r name relation version; do
    installed=$(dpkg-query -W -f='${Version}' "$name" 2>/dev/null) ||
        fail "the dependency $name is not a package installed here"
    if [ -n "$relation" ]; then
        dpkg --compare-versions "$installed" "${relation#(}" "${version%)}" ||
            fail "$name $installed does not meet $relation $version"
    fi
done < <(tr ',' '\n' <<<"$depends" | sed 's/^ *//')

root=$WORK/root
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/vorrak.desktop" || fail "a bad desktop entry"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' \
    "$root/usr/share/doc/vorrak/copyright" || fail "no machine-readable copyright file"
zcat "$root/usr/share/doc/vorrak/changelog.Debian.gz" | head -n 1 |
    grep -q "^vorrak ($(dpkg-deb -f "$deb" Version)) " || fail "no changelog entry of this version"
grep -q '^Exec=vorrak --menu$' "$root/usr/share/applications/vorrak.desktop" ||
    fail "the desktop entry does not start the menus"
for size in 48 256; do
    identify "$root/usr/share/icons/hicolor/${size}x$size/apps/vorrak.png" | grep -q " ${size}x$size " ||
        fail "no ${size}x$size icon"
done

GAME=$root/usr/games/vorrak
version=$("$GAME" --version) || fail "--version failed"
package_version=$(dpkg-deb -f "$deb" Version)
[ "$version" = "vorrak ${package_version%-*}" ] || fail "--version says '$version' in $package_version"

export XDG_STATE_HOME=$WORK/state
mkdir "$WORK/started-here"
export SDL_AUDIODRIVER=dummy
start_game "$WORK/started-here"
# Installed, the game logs into the user's state folder.
GAME_LOG=$XDG_STATE_HOME/vorrak/Ogre.log
await_window
hold 0.3 Escape
await_exit 60
[ "$EXIT_STATUS" -eq 0 ] || fail "exit status $EXIT_STATUS after Escape"
log=$GAME_LOG
[ -f "$log" ] || fail "no log in $XDG_STATE_HOME/vorrak"
[ -z "$(ls -A "$WORK/started-here")" ] || fail "files written where the game started: $(ls -A "$WORK/started-here")"
grep -q "\*\*\* Shutting down OIS \*\*\*" "$log" || fail "no OIS shutdown line in the log"
grep -q "'$root/usr/share/vorrak/media'" "$log" || fail "the media were not read from the installed folder"
grep -q "Sound: playing through SDL's dummy" "$log" || fail "the device module was not opened: $(grep Devices "$log")"
[ ! -s "$WORK/stderr" ] || fail "unexpected output on stderr"
echo "ok"
