#!/usr/bin/env bash
# Builds the Debian package twice, in two folders, and checks it as a Debian maintainer
# would: the same bytes both times; no lintian error or warning; valid AppStream metadata
# (with the desktop entry and icon it names) and desktop entry; dependencies computed from
# the binary; a font link that resolves into a package it depends on; apt would install it.
# With ARCH and SUITE (arm64 trixie) the package cross-built for them, as tools/package does,
# less apt's say: this machine has not that architecture.
# Usage: package_check.sh SOURCE_DIR [ARCH SUITE] OUT_DIR
set -u
[[ $# -eq 2 || $# -eq 4 ]] || { echo "usage: $0 SOURCE_DIR [ARCH SUITE] OUT_DIR" >&2; exit 2; }
src=$(realpath "$1") out=$(realpath -m "${!#}") cross=("${@:2:$# - 2}")
source "$(dirname "$0")/tally.sh"
rm -rf "$out" && mkdir -p "$out/root"

for build in first second; do
    bash "$src/tools/package" "$out/$build" "${cross[@]}" >"$out/$build.log" 2>&1 || bad+="see $out/$build.log; "
done
deb=$(ls "$out"/first/vornaxi_*.deb 2>/dev/null) || bad+="no .deb in $out/first; "
check package.builds
((failed == 0)) || finish

cmp -s "$deb" "$out"/second/vornaxi_*.deb || bad="the two builds differ: $(sha256sum "$out"/*/*.deb | cut -c1-16 | xargs)"
check package.reproducible

lintian -I --pedantic --display-experimental "$deb" >"$out/lintian.txt" 2>&1; rc=$?
sed 's/^/    lintian: /' "$out/lintian.txt"
((rc <= 1)) || bad+="lintian failed to run ($rc); "
grep -q '^[EW]: ' "$out/lintian.txt" && bad+="lintian reports errors or warnings; "
check package.lintian-clean

dpkg-deb -x "$deb" "$out/root"
appstreamcli validate-tree --no-net --pedantic "$out/root" >"$out/appstream.txt" 2>&1 ||
    bad+="appstreamcli: $(tr '\n' ' ' <"$out/appstream.txt"); "
grep -q '^ *[EW]: ' "$out/appstream.txt" && bad+="appstreamcli: $(grep '^ *[EW]: ' "$out/appstream.txt" | tr '\n' ' '); "
said=$(desktop-file-validate "$out"/root/usr/share/applications/*.desktop 2>&1) || bad+="desktop-file-validate failed; "
[[ -z $said ]] || bad+="desktop-file-validate: $said; "
check package.appstream-and-desktop-entry-valid

source "$src/tools/deps.sh"
release=$(sed -n 's/^Debian release: //p' "$out/first.log")
[[ -z $release || $deb == */vornaxi_*~deb${release}_$(dpkg-deb -f "$deb" Architecture).deb ]] ||
    bad+="$deb is not named for Debian $release and its architecture; "
check package.named-for-its-release-and-architecture
depends=$(dpkg-deb -f "$deb" Depends)
sfml=$(sed -n 's/^SFML: \([0-9]*\.[0-9]*\).*/\1/p' "$out/first.log")  # the SFML built against
for needed in libsfml-graphics$sfml libsfml-window$sfml libsfml-system$sfml libc6 libstdc++6; do
    [[ $depends == *"$needed"* ]] || bad+="no $needed in Depends: $depends; "
done
fonts=usr/share/games/vornaxi/fonts
font=$(realpath -m "/$fonts/$(readlink "$out/root/$fonts/aAbstractGroovy.ttf")")
owner=$(dpkg-query -S "$font" 2>/dev/null | cut -d: -f1) || bad+="no package owns $font; "
[[ -n $owner && $depends == *"$owner"* ]] || bad+="the font $font is not from a package in Depends ($depends); "
check package.depends-on-what-it-uses

((${#cross[@]})) && finish
apt-get install -s "$deb" >"$out/apt.txt" 2>&1 || bad="apt-get -s install: $(tail -3 "$out/apt.txt" | tr '\n' ' ')"
check package.apt-would-install
finish
