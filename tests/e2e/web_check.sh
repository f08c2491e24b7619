#!/usr/bin/env bash
# Builds the browser's zip twice, in two folders, and checks what a player gets: the same bytes
# both times, no warning, the page, the game and how to play; then plays the unzipped game in
# Debian's Chromium, headless, opened from disk and from a local web server (web_check.mjs).
# Keeps the screenshots in OUT_DIR.
# Usage: web_check.sh SOURCE_DIR OUT_DIR
set -u
[[ $# -eq 2 ]] || { echo "usage: $0 SOURCE_DIR OUT_DIR" >&2; exit 2; }
src=$(realpath "$1") out=$(realpath -m "$2") here=$(cd "$(dirname "$0")" && pwd)
source "$here/tally.sh"
source "$src/tools/deps.sh"
rm -rf "$out" && mkdir -p "$out"
install_missing "${WEB_PACKAGES[@]}" "${RELEASE_TEST_PACKAGES[@]}" unzip >"$out/install.log" 2>&1 ||
    bad="see $out/install.log; "
npm_tools "$here/web_check.mjs"
check web.tools-installed
((failed == 0)) || finish

for build in first second; do
    bash "$src/tools/package-web" "$out/$build" >"$out/$build.log" 2>&1 || bad+="see $out/$build.log; "
done
zip=$(ls "$out"/first/vornaxi-*-web.zip 2>/dev/null) || bad+="no zip in $out/first; "
grep -h 'warning:' "$out"/first.log "$out"/second.log | sed 's/^/    /'
grep -q 'warning:' "$out"/first.log "$out"/second.log && bad+="the build warns; "
check web.zip-builds-without-warnings
((failed == 0)) || finish

cmp -s "$zip" "$out/second/${zip##*/}" || bad="the two builds differ: $(sha256sum "$out"/*/*.zip | cut -c1-16 | xargs)"
check web.zip-reproducible

name=$(basename "$zip" .zip)
mkdir -p "$out/unpacked" && unzip -q "$zip" -d "$out/unpacked/$name" || bad="does not unzip; "
for file in index.html vornaxi.js README.txt licenses/SFML.txt licenses/FreeType.txt licenses/Emscripten.txt \
            licenses/font.txt; do
    [[ -s $out/unpacked/$name/$file ]] || bad+="no $file; "
done
grep -q 'P       pause' "$out/unpacked/$name/README.txt" || bad+="README.txt says nothing of the keys; "
check web.zip-holds-page-game-readme-licences

run_checker web web_check.mjs "$out/unpacked" "$out"
[[ -s $out/pace.txt ]] && echo "    pace in Chromium, 390x844 at twice its pixels, over 10 s: $(<"$out/pace.txt")"
finish
