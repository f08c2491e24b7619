#!/usr/bin/env bash
# Builds the Linux archive twice, in two folders, and checks what a player on another
# distribution gets: the same bytes both times; one folder with the launcher, the game, its
# data, how to play and the licences. Then, in minimal Debian 11, 12 and 13 roots with no SFML,
# no FreeType and no compiler, only a desktop's libraries, plays the unpacked game through its
# launcher with the same end-to-end test as the Debian game, on this machine's X server. Needs
# root (sudo otherwise) for the roots, which tools/root caches.
# For aarch64 the arm64 Debian 12 and 13 packages are cross-built and checked too; then the
# archive, and the Debian 12 package installed by apt, are played in a Debian 12 arm64 root
# through qemu, where binfmt_misc lets this machine run arm64 programs (skipped, saying why,
# where not), with longer waits.
# Usage: linux_check.sh SOURCE_DIR [x86_64|aarch64] OUT_DIR   (default this machine's)
set -u
[[ $# -eq 2 || $# -eq 3 ]] || { echo "usage: $0 SOURCE_DIR [x86_64|aarch64] OUT_DIR" >&2; exit 2; }
[[ $(id -u) -eq 0 ]] || exec sudo "$0" "$@"
src=$(realpath "$1") out=$(realpath -m "${!#}") here=$(cd "$(dirname "$0")" && pwd) arch=$(uname -m)
(($# == 3)) && arch=$2
source "$src/tools/deps.sh"
source "$here/tally.sh"
rm -rf "$out" && mkdir -p "$out"

for build in first second; do
    bash "$src/tools/package-linux" "$arch" "$out/$build" >"$out/$build.log" 2>&1 || bad+="see $out/$build.log; "
done
archive=$(ls "$out"/first/vornaxi-*-linux-"$arch".tar.gz 2>/dev/null) || bad+="no archive in $out/first; "
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
suites=(bullseye bookworm trixie) foreign=() debs=""
if [[ $arch != "$(uname -m)" ]]; then
    # Its Debian 12 and 13 packages, cross-built, with the package checks less apt's say here.
    debarch=$(dpkg-architecture -t"$arch-linux-gnu" -qDEB_HOST_ARCH 2>/dev/null) debs=$out/packages
    for suite in bookworm trixie; do
        bash "$here/package_check.sh" "$src" "$debarch" "$suite" "$debs/$suite" | sed 's/^/    /'
        ((PIPESTATUS[0] == 0)) || bad="see the checks above and $debs/$suite"
        check "$suite.$debarch-package-clean-and-reproducible"
    done
    if ! said=$(bash "$src/tools/root" --emulate "$debarch" 2>&1); then
        echo "SKIP: playing the $arch archive: $said"; finish
    fi
    echo "    $debarch programs run here through qemu, registered with binfmt_misc"
    # A Raspberry Pi's Debian. Emulated, the game draws about one frame a second at 1920x1080.
    suites=(bookworm) foreign=(--architectures="$debarch") && export WAIT_FACTOR=8
fi
# launcher WHAT CMD [ROOT_OPTION]: $dir/vornaxi, which runs CMD in the root on this machine's Xvfb,
# from the folder it is started in: the harness's own, or one without fonts/ and assets/.
launcher() {
    dir=$out/$suite/$1 && mkdir -p "$dir"
    printf '#!/bin/sh\nexec %s "$PWD:/cwd" %q:/game /tmp/.X11-unix:/tmp/.X11-unix -- env ${DISPLAY+DISPLAY="$DISPLAY"} %s\n' \
        "$(printf '%q ' "${root[@]}" "${@:3}" "${box[@]}" "$dir/root")" "$game" "$2" >"$dir/vornaxi" && chmod +x "$dir/vornaxi"
}
played() {  # played CHECK SCRIPT ARGS...: the e2e SCRIPT, run here, its checks indented
    env -u DISPLAY -u XAUTHORITY bash "$here/$2" "${@:3}" | sed 's/^/    /'
    ((PIPESTATUS[0] == 0)) || bad="see the checks above and $dir/shots"
    check "$suite.$1"
}
for suite in "${suites[@]}"; do
    root=(bash "$src/tools/root" "${foreign[@]}") box=("play-$suite${foreign:+-$debarch}" "$suite" "$packages")
    said=$("${root[@]}" "${box[@]}" "$out/$suite/root" "$game:/game" -- bash -c \
        'ls /usr/lib/*/libsfml* /usr/lib/*/libfreetype* /usr/bin/*g++* /usr/bin/*gcc* 2>/dev/null; ldd lib/vornaxi' 2>&1) ||
        bad="could not look into the $suite root: $said"
    [[ $said == *'not found'* || $said == *sfml* || $said == *freetype* || $said == *g[c+][c+]* ]] &&
        bad="the root has or the game takes what it should not: $(tr '\n' ' ' <<<"$said")"
    check "$suite.root-without-sfml-freetype-or-compiler-has-all-the-game-needs"
    launcher from-the-archive /game/vornaxi
    GAME_FINDS_DATA=1 played plays-from-the-archive play_e2e.sh "$dir/vornaxi" "$game" "$dir/shots"
    [[ -n $debs ]] || continue
    # The package for this release, installed by apt in an overlay of the same root, then that
    # overlay laid over it for every start of the game; the whole play is the archive's above.
    deb=$(ls "$debs/$suite/first/"vornaxi_*.deb)
    said=$("${root[@]}" "${box[@]}" "$out/$suite/installed" "${deb%/*}:/debs" -- \
        env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/debs/${deb##*/}" 2>&1) || bad="apt-get install: $said"
    check "$suite.apt-installs-the-package"
    launcher from-the-package /usr/games/vornaxi --layer="$out/$suite/installed/upper"
    LAUNCHER=$dir/vornaxi played installed-package-starts-and-quits install_check.sh "$out/$suite/installed/upper/usr" "$dir/shots"
done
finish
