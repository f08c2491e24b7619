#!/usr/bin/env bash
# Installs a built game into a temporary prefix and checks what a player gets: the Debian
# games layout, a launcher that says so plainly when there is no display, and one that, started
# through a link from a folder with no fonts/ or assets/, opens the game with its font and
# background and quits 0 on Escape. A PREFIX the game is already installed in (/usr, once
# apt has installed it) is checked as it is; with LAUNCHER set, PREFIX is another root's /usr
# seen from here, and LAUNCHER a command that runs that root's launcher there.
# Usage: install_check.sh BUILD_DIR|PREFIX SHOTS_DIR
set -u
[[ $# -eq 2 ]] || { echo "usage: $0 BUILD_DIR|PREFIX SHOTS_DIR" >&2; exit 2; }
BUILD=$(realpath "$1") SHOTS=$(realpath -m "$2")
source "$(dirname "$0")/harness.sh"
prefix=$WORK/prefix
[[ -f $BUILD/games/vornaxi ]] && prefix=$BUILD
launcher=$prefix/games/vornaxi run=${LAUNCHER:-$prefix/games/vornaxi}

[[ $prefix == "$BUILD" ]] ||
    cmake --install "$BUILD" --prefix "$prefix" >"$SHOTS/install.log" 2>&1 || bad="see $SHOTS/install.log; "
for file in games/vornaxi lib/games/vornaxi/vornaxi share/games/vornaxi/assets/space.png \
    share/games/vornaxi/fonts/aAbstractGroovy.ttf share/applications/org.vornaxi.vornaxi.desktop \
    share/metainfo/org.vornaxi.vornaxi.metainfo.xml share/icons/hicolor/48x48/apps/org.vornaxi.vornaxi.png \
    share/man/man6/vornaxi.6.gz share/doc/vornaxi/copyright share/doc/vornaxi/changelog.gz; do
    [[ -f $prefix/$file ]] || bad+="no $file; "
done
[[ -x $launcher && -x $prefix/lib/games/vornaxi/vornaxi ]] || bad+="launcher or game not executable; "
check install.games-layout
((failed == 0)) || finish

said=$(env -u DISPLAY "$run" 2>&1) && bad="exit code 0 without a display; "
[[ $said == *"no display is set (DISPLAY is unset)"* ]] || bad+="it said: '$said'; "
check launcher.says-when-there-is-no-display

mkdir "$WORK/bin" "$WORK/elsewhere" && ln -s "$run" "$WORK/bin/vornaxi"
GAME=$WORK/bin/vornaxi
if start_game "$WORK/elsewhere" installed; then
    assets_loaded "$SHOT"
    check launcher.starts-game-with-font-and-background
    ends xdotool key Escape
fi
check launcher.escape-quits
finish
