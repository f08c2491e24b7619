#!/usr/bin/env bash
# Makes a release of the artefacts the platform stages built under TESTS_DIR, as tools/release
# does, and checks what a player downloads: SHA256SUMS covers every file and sha256sum -c takes
# it; the source archive holds the tracked files only and, unpacked with no .git, builds and
# passes its unit tests; the download page and the game in the browser it links to, in a real
# browser (page_check.sh). The browser's zip is Web.ZipPlaysInChromium's, as the Windows zip is
# Windows.ZipPlaysUnderWine's: tools/release --from takes each from its stage's first build.
# Usage: release_check.sh SOURCE_DIR TESTS_DIR OUT_DIR
set -u
[[ $# -eq 3 ]] || { echo "usage: $0 SOURCE_DIR TESTS_DIR OUT_DIR" >&2; exit 2; }
src=$(realpath "$1") tests=$(realpath "$2") out=$(realpath -m "$3") here=$(cd "$(dirname "$0")" && pwd)
source "$here/tally.sh"
rm -rf "$out" && mkdir -p "$out"
git=(git -C "$src" -c safe.directory="$src")
"${git[@]}" rev-parse -q HEAD >/dev/null 2>&1 || { echo "SKIP: a release is made from a git checkout"; exit 0; }

rel=$out/release
bash "$src/tools/release" --dirty --from "$tests" "$rel" >"$out/release.log" 2>&1 || bad="see $out/release.log"
sed 's/^/    /' "$out/release.log"
check release.made-of-the-stages-artefacts
((failed == 0)) || finish

files=$(cd "$rel" && find . -type f ! -name SHA256SUMS -printf '%P\n' | LC_ALL=C sort)
[[ $(cut -c67- "$rel/SHA256SUMS") == "$files" ]] || bad="SHA256SUMS does not list exactly: $(xargs <<<"$files"); "
said=$(cd "$rel" && sha256sum -c SHA256SUMS 2>&1) || bad+="sha256sum -c: $said"
check release.sha256sums-covers-every-file

archive=$(ls "$rel"/vornaxi-*.tar.gz | grep -v -- -linux-) unpacked=$out/source/$(basename "$archive" .tar.gz)
mkdir -p "$out/source" && tar -C "$out/source" -xzf "$archive"
[[ $(cd "$unpacked" && find . -type f -printf '%P\n' | LC_ALL=C sort) == $("${git[@]}" ls-files | LC_ALL=C sort) ]] ||
    bad="the source archive does not hold the tracked files alone; "
{ cmake -S "$unpacked" -B "$out/source/build" -DCMAKE_BUILD_TYPE=Release -DVORNAXI_WERROR=ON \
      -DVORNAXI_PLATFORM_TESTS=OFF -DVORNAXI_BENCH=OFF &&
  cmake --build "$out/source/build" -j"$(nproc)" --target vornaxi_tests &&
  (cd "$unpacked" && "$out/source/build/tests/vornaxi_tests" --gtest_brief=1); } >"$out/source.log" 2>&1 ||
    bad+="see $out/source.log"
tail -n 2 "$out/source.log" | sed 's/^/    /'
check release.source-archive-builds-and-passes-its-unit-tests

bash "$here/page_check.sh" "$rel" "$out/page" | sed 's/^/    /'
((PIPESTATUS[0] == 0)) || bad="see the checks above and $out/page"
check release.download-page-offers-each-system-its-file
finish
