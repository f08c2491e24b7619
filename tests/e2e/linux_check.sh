#!/usr/bin/env bash
# Builds the Linux archive twice, in two folders, and checks what a player on another
# distribution gets: the same bytes both times; one folder with the launcher, the game, its
# data, how to play and the licences. Then, in minimal Debian 11, 12 and 13 roots with no SFML,
# no FreeType and no compiler, only a desktop's libraries, plays the unpacked game through its
# launcher with the same end-to-end test as the Debian game, on this machine's X server. Needs
# root (sudo otherwise) for the roots, which tools/root caches.
# Usage: linux_check.sh SOURCE_DIR OUT_DIR
set -u
[[ $# -eq 2 ]] || { echo "usage: $0 SOURCE_DIR OUT_DIR" >&2; exit 2; }
[[ $(id -u) -eq 0 ]] || exec sudo "$0" "$@"
src=$(realpath "$1") out=$(realpath -m "$2") here=$(cd "$(dirname "$0")" && pwd)
source "$src/tools/deps.sh"
source "$here/tally.sh"
rm -rf "$out" && mkdir -p "$out"

for build in first second; do
    bash "$src/tools/package-linux" "$out/$build" >"$out/$build.log" 2>&1 || bad+="see $out/$build.log; "
done
archive=$(ls "$out"/first/vornaxi-*-linux-x86_64.tar.gz 2>/dev/null) || bad+="no archive in $out/first; "
grep -h 'warning:' "$out"/*.log | sed 's/^/    /'
grep -q 'warning:' "$out"/*.log && bad+="the build warns; "
grep -h '^Needs\|^Newest' "$out/first.log" | sed 's/^/    /'  # package-linux fails on more
check linux.archive-builds-without-warnings-needing-only-a-desktop
((failed == 0)) || finish

cmp -s "$archive" "$out/second/${archive##*/}" ||
    bad="the two builds differ: $(sha256sum "$out"/*/*.tar.gz | cut -c1-16 | xargs)"
check linux.archive-reproducible

name=$(basename "$archive" .tar.gz)
listed=$(tar -tzf "$archive" | grep -v '/$' | sed "s|^$name/||" | xargs)
[[ $listed == "README.txt assets/space.png fonts/LICENSE.txt fonts/aAbstractGroovy.ttf lib/vornaxi licenses/FreeType.txt licenses/GCC-runtime.txt licenses/SFML.txt vornaxi" ]] ||
    bad="unexpected entries: $listed"
check linux.archive-holds-game-data-and-licences

mkdir -p "$out/unpacked" && tar -C "$out/unpacked" -xzf "$archive"
game=$out/unpacked/$name
packages=$(printf '%s\n' "${LINUX_PLAY_PACKAGES[@]}" | sort -u | paste -sd, -)
for suite in bullseye bookworm trixie; do
    root=(bash "$src/tools/root" "play-$suite" "$suite" "$packages" "$out/$suite/root")
    said=$("${root[@]}" "$game:/game" -- bash -c \
        'ls /usr/lib/*/libsfml* /usr/lib/*/libfreetype* /usr/bin/*g++* /usr/bin/*gcc* 2>/dev/null; ldd lib/vornaxi' 2>&1) ||
        bad="could not look into the $suite root: $said"
    [[ $said == *'not found'* || $said == *sfml* || $said == *freetype* || $said == *g[c+][c+]* ]] &&
        bad="the root has or the game takes what it should not: $(tr '\n' ' ' <<<"$said")"
    check "$suite.root-without-sfml-freetype-or-compiler-has-all-the-game-needs"
    # The test runs here, the game in the root, on this machine's Xvfb, from the folder it is
    # started in: the harness's own, or one without fonts/ and assets/.
    printf '#!/bin/sh\nexec %s "$PWD:/cwd" %q:/game /tmp/.X11-unix:/tmp/.X11-unix -- env ${DISPLAY+DISPLAY="$DISPLAY"} /game/vornaxi\n' \
        "$(printf '%q ' "${root[@]}")" "$game" >"$out/$suite/vornaxi" && chmod +x "$out/$suite/vornaxi"
    env -u DISPLAY -u XAUTHORITY GAME_FINDS_DATA=1 bash "$here/play_e2e.sh" "$out/$suite/vornaxi" "$game" "$out/$suite/shots" | sed 's/^/    /'
    ((PIPESTATUS[0] == 0)) || bad="see the checks above and $out/$suite/shots"
    check "$suite.plays-from-the-archive"
done
finish
