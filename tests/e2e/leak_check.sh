#!/usr/bin/env bash
# Plays the real game for a few seconds under valgrind, quits with Escape, and fails if
# any block is definitely lost but the graphics driver's own (valgrind.supp).
# Usage: leak_check.sh VORNAXI SOURCE_DIR LOG_DIR. Starts its own Xvfb unless DISPLAY is set.
set -u
[[ $# -eq 3 ]] || { echo "usage: $0 VORNAXI SOURCE_DIR LOG_DIR" >&2; exit 2; }
GAME=$(realpath "$1") SRC=$(realpath "$2") SHOTS=$(realpath -m "$3") here=$(cd "$(dirname "$0")" && pwd)
source "$here/harness.sh"
cp -r "$SRC/fonts" "$SRC/assets" "$WORK/"
cd "$WORK" || exit 1

log=$SHOTS/valgrind.log
valgrind --leak-check=full --show-leak-kinds=definite --num-callers=40 \
    --suppressions="$here/valgrind.supp" --log-file="$log" "$GAME" &
PID=$!
# Valgrind starts slowly: give the window up to two minutes to appear.
wait_until 120000 window
xdotool mousemove 700 500 click 1; sleep 3
xdotool mousemove 1200 500; sleep 2
xdotool key p; sleep 1; xdotool key p key r; sleep 1
xdotool key Escape
wait_until 120000 gone || { echo "FAIL: leaks: the game did not quit under valgrind"; exit 1; }
wait $PID; status=$? PID=""

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
