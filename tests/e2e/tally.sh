# Named checks and their tally: anything added to $bad fails the next check.
passed=0 failed=0 bad=""
check() {  # reports check $1, failed if anything was added to $bad
    if [[ -z $bad ]]; then echo "PASS: $1"; ((++passed)); else echo "FAIL: $1: ${bad%; }"; ((++failed)); fi
    bad=""
}
finish() { echo "e2e: $passed passed, $failed failed"; exit $((failed > 0)); }
