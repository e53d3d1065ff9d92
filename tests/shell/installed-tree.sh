#!/usr/bin/env bash
# Checks what `cmake --install` and `cpack -G DEB` make of a built tree:
# installs it with DESTDIR into a throw-away directory, validates the desktop
# entry, the AppStream file, the icons and the manual page, builds the Debian
# package, inspects it, compares its files with the installed tree and runs
# lintian.
# Usage: tests/shell/installed-tree.sh BUILD_DIR (the program must be built).
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/tresolvin-install.XXXXXX")
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "installed-tree: $*" >&2
  failures=$((failures + 1))
}

root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log"

# Exactly these files, and nothing else (no offline tool, no test).
expected="usr/games/tresolvin
usr/share/applications/tresolvin.desktop
usr/share/doc/tresolvin/COPYING
usr/share/doc/tresolvin/changelog.gz
usr/share/doc/tresolvin/copyright
usr/share/icons/hicolor/128x128/apps/tresolvin.png
usr/share/icons/hicolor/16x16/apps/tresolvin.png
usr/share/icons/hicolor/22x22/apps/tresolvin.png
usr/share/icons/hicolor/24x24/apps/tresolvin.png
usr/share/icons/hicolor/256x256/apps/tresolvin.png
usr/share/icons/hicolor/32x32/apps/tresolvin.png
usr/share/icons/hicolor/48x48/apps/tresolvin.png
usr/share/icons/hicolor/64x64/apps/tresolvin.png
usr/share/icons/hicolor/scalable/apps/tresolvin.svg
usr/share/man/man6/tresolvin.6.gz
usr/share/metainfo/org.example.tresolvin.metainfo.xml"
installed=$(cd "$root" && find . -type f -printf '%P\n' | LC_ALL=C sort)
[[ $installed == "$expected" ]] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$installed") || true)"

program=$root/usr/games/tresolvin
[[ -x $program && $(file -b "$program") == ELF* ]] || fail "no program in usr/games"
[[ $(readelf -d "$program") != *RPATH* && $(readelf -d "$program") != *RUNPATH* ]] \
  || fail "the installed program carries a library search path"

desktop=$root/usr/share/applications/tresolvin.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate failed"
for line in 'Name=Tresolvin' 'Exec=/usr/games/tresolvin' 'Icon=tresolvin' 'Categories=Game;BoardGame;'; do
  grep -qxF "$line" "$desktop" || fail "desktop entry lacks $line"
done
for key in 'Comment' 'Comment\[ru\]' 'Keywords' 'Keywords\[ru\]'; do
  grep -qE "^$key=.+" "$desktop" || fail "desktop entry lacks ${key//\\/}"
done

appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >"$work/appstream.log" 2>&1 \
  || fail "appstreamcli validate: $(cat "$work/appstream.log")"

# Every PNG really has the size of its folder.
for size in 16 22 24 32 48 64 128 256; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/tresolvin.png
  [[ $(file -b "$png") == "PNG image data, $size x $size,"* ]] || fail "icon $size: $(file -b "$png")"
done
[[ $(file -b "$root/usr/share/icons/hicolor/scalable/apps/tresolvin.svg") == SVG* ]] || fail "no SVG icon"

# The manual page renders without a warning.
man_out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l \
  "$root/usr/share/man/man6/tresolvin.6.gz" 2>"$work/man.err")
[[ ! -s $work/man.err ]] || fail "man warnings: $(cat "$work/man.err")"
[[ $man_out == *SYNOPSIS*tresolvin*Вход* ]] || fail "the manual page did not render"

# The Debian package: built into the throw-away directory, its control data
# and contents inspected, then lintian.
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1)
debs=("$work"/deb/tresolvin_*_amd64.deb)
deb=${debs[0]}
[[ -f $deb ]] || fail "no package: $(cat "$work/cpack.log")"
version=${deb##*/tresolvin_}
version=${version%_amd64.deb}
info=$(dpkg-deb -I "$deb")
for field in 'Package: tresolvin' "Version: $version" 'Section: games' 'Architecture: amd64'; do
  [[ $info == *" $field"* ]] || fail "package control lacks '$field'"
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libgif7 libjpeg62-turbo; do
  [[ $depends == *"$lib ("* ]] || fail "Depends lacks $lib: $depends"
done
[[ ", $depends," == *", qt6-translations-l10n,"* ]] || fail "Depends lacks qt6-translations-l10n: $depends"
# The same files as the installed tree, byte for byte but the stripped program.
dpkg-deb -x "$deb" "$work/package"
diff -r -x tresolvin "$root" "$work/package" >"$work/diff.log" 2>&1 \
  || fail "package contents differ from the installed tree: $(cat "$work/diff.log")"
[[ -x $work/package/usr/games/tresolvin ]] || fail "no program in the package"
owners=$(dpkg-deb -c "$deb" | awk '{print $2}' | sort -u)
[[ $owners == root/root ]] || fail "package files not all owned by root: $owners"
lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 \
  || fail "lintian: $(cat "$work/lintian.log")"

if ((failures > 0)); then
  echo "installed-tree: $failures check(s) failed" >&2
  exit 1
fi
echo "installed-tree: installed tree and $(basename "$deb") are sound (Depends: $depends)"
