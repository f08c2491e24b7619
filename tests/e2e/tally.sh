# Named checks and their tally: anything added to $bad fails the next check.
passed=0 failed=0 bad=""
check() {  # reports check $1, failed if anything was added to $bad
    if [[ -z $bad ]]; then echo "PASS: $1"; ((++passed)); else echo "FAIL: $1: ${bad%; }"; ((++failed)); fi
    bad=""
}
finish() { echo "e2e: $passed passed, $failed failed"; exit $((failed > 0)); }

# The browser checks' own: npm_tools SCRIPT puts the npm tools the lockfile pins and SCRIPT in
# $out, so the source tree stays as it is; run_checker PREFIX SCRIPT ARGS... runs SCRIPT there,
# each "name<TAB>problems" line it prints a check PREFIX.name.
npm_tools() {
    cp "$(dirname "${BASH_SOURCE[0]}")"/../../tools/npm/{package.json,package-lock.json} "$1" "$out/"
    (cd "$out" && npm ci --ignore-scripts --no-audit --no-fund) >"$out/npm.log" 2>&1 || bad+="npm ci: see $out/npm.log"
}
run_checker() {
    (cd "$out" && node "$2" "${@:3}") >"$out/checks.tsv" 2>"$out/node.log"
    local rc=$? name problems
    while IFS=$'\t' read -r name problems; do bad=$problems; check "$1.$name"; done <"$out/checks.tsv"
    ((rc == 0)) || bad="$2 stopped ($rc): $(tail -n 5 "$out/node.log" | tr '\n' ' ')"
    check "$1.checker-ran-to-its-end"
}
