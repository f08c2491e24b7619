#!/usr/bin/env bash
# Checks a release's download page in Debian's Chromium, headless (page_check.mjs): every link
# served from the release folder alone matches SHA256SUMS, nothing is asked from outside, it
# lists every file without JavaScript, the game in the browser starts from the release folder,
# each system is offered its download or else that game, axe-core and html-validate find
# nothing. Keeps screenshots at desktop and phone sizes in OUT_DIR.
# Usage: page_check.sh RELEASE_DIR OUT_DIR
set -u
[[ $# -eq 2 ]] || { echo "usage: $0 RELEASE_DIR OUT_DIR" >&2; exit 2; }
rel=$(realpath "$1") out=$(realpath -m "$2") here=$(cd "$(dirname "$0")" && pwd)
source "$here/tally.sh"
source "$here/../../tools/deps.sh"
rm -rf "$out" && mkdir -p "$out"
install_missing "${RELEASE_TEST_PACKAGES[@]}" >"$out/install.log" 2>&1 || bad="see $out/install.log; "
npm_tools "$here/../release/page_check.mjs"
check page.tools-installed
((failed == 0)) || finish

run_checker page page_check.mjs "$rel" "$out"
finish
