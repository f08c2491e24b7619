#!/usr/bin/env bash
# Plays the real game for a few seconds under valgrind, quits with Escape, and fails if
# any block is definitely lost but the graphics driver's own (valgrind.supp).
# Usage: leak_check.sh VORNAXI SOURCE_DIR LOG_DIR. Starts its own Xvfb unless DISPLAY is set.
set -u
game=$(realpath "$1") src=$(realpath "$2") logs=$(realpath -m "$3") here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$logs"
work=$(mktemp -d) xvfb=""
trap '[[ -n $xvfb ]] && kill $xvfb; rm -rf "$work"' EXIT
if [[ -z ${DISPLAY:-} ]]; then
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -noreset -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
    export DISPLAY=:$(<"$work/display")
fi
cp -r "$src/fonts" "$src/assets" "$work/"
cd "$work" || exit 1

log=$logs/valgrind.log
valgrind --leak-check=full --show-leak-kinds=definite --num-callers=40 \
    --suppressions="$here/valgrind.supp" --log-file="$log" "$game" &
pid=$!
# Valgrind starts slowly: give the window up to two minutes to appear.
for _ in $(seq 600); do xdotool search --name '^Vornaxi$' >/dev/null 2>&1 && break; sleep 0.2; done
xdotool mousemove 700 500 click 1; sleep 3
xdotool mousemove 1200 500; sleep 2
xdotool key p; sleep 1; xdotool key p key r; sleep 1
xdotool key Escape
for _ in $(seq 600); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done
kill -0 $pid 2>/dev/null && { echo "FAIL: leaks: the game did not quit under valgrind"; kill -9 $pid; exit 1; }
wait $pid; status=$?

lost=$(grep -o 'definitely lost: [0-9,]* bytes' "$log" | grep -o '[0-9,]* bytes')
grep -E 'definitely lost|indirectly lost|suppressed:' "$log" | sed 's/^==[0-9]*== */    /'
if [[ $status -ne 0 ]]; then
    echo "FAIL: leaks: the game exited with $status under valgrind (see $log)"; exit 1
elif [[ -n $lost && $lost != "0 bytes" ]]; then
    echo "FAIL: leaks: $lost definitely lost beyond the driver's own (see $log)"; exit 1
elif ! grep -q 'LEAK SUMMARY\|All heap blocks were freed' "$log"; then
    echo "FAIL: leaks: valgrind wrote no leak summary (see $log)"; exit 1
fi
echo "PASS: leaks: nothing definitely lost (valgrind log: $log)"
