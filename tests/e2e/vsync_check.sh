#!/usr/bin/env bash
# The real game on a monitor of Xorg's dummy driver whose mode changes, while it plays, between
# the refresh rates of real monitors, under a GL driver of the test's own that offers swap control
# and makes each swap wait for the refreshes asked (glshim.cpp). The game must ask the swap
# interval its policy gives for each rate and never swap unsynced there; with the driver's swap
# control withheld, its own clock paces. The swaps' cadence and pace are printed, not asserted:
# they are timings, and a busy machine would move them. Xorg runs as root (sudo otherwise).
# Usage: vsync_check.sh VORNAXI SOURCE_DIR GLSHIM OUT_DIR
set -u; shopt -s extglob
[[ $# == 4 ]] || { echo "usage: $0 VORNAXI SOURCE_DIR GLSHIM OUT_DIR" >&2; exit 2; }
[[ $(id -u) == 0 ]] || exec sudo -E bash "$0" "$@"
GAME=$(realpath "$1") SRC=$(realpath "$2") SHIM=$(realpath "$3") SHOTS=$(realpath -m "$4")
source "$(dirname "$0")/harness.sh"
printf '#!/bin/sh\nLD_PRELOAD=%s exec %s\n' "$SHIM" "$GAME" >"$WORK/vornaxi" && chmod +x "$WORK/vornaxi" && GAME=$WORK/vornaxi

monitors "1366x768_60*/1366x768_119.88/1366x768_144/1366x768_59.94"
fit 1366 768; export VORNAXI_GLSHIM_LOG=$SHOTS/synced.swaps
BEFORE=$(outputs)
start_game "$SRC" synced
check vsync.starts
((failed == 0)) || finish
# Each rate a few seconds: the game hears of the mode, and its check of the first swaps ends.
for mode in 1366x768_119.88 1366x768_144 1366x768_59.94; do sleep 3; change "0:$mode"; done; sleep 3
ends xdotool key Escape
# At 60, 119.88, 144 and 59.94 Hz
synced "$SHOTS/synced.swaps" "1 2 1 1"
grep -q "119.880 Hz: each frame waits for 2 refreshes, the display paces" "$LOG" &&
    grep -q "144.000 Hz: each frame waits for a refresh, the game's clock paces" "$LOG" ||
    bad+="the game's log says: $(grep -h Vornaxi: "$LOG" | tr '\n' ' '); "
check vsync.interval-follows-the-refresh-no-swap-unsynced

# The driver offers no swap control, as Xvfb's: the game's clock alone, as before.
change 0:1366x768_60
VORNAXI_GLSHIM_NO_SWAP_CONTROL=1 VORNAXI_GLSHIM_LOG=$SHOTS/withheld.swaps start_game "$SRC" withheld
sleep 3
ends xdotool key Escape
as_before "after the game"
synced "$SHOTS/withheld.swaps" ""
grep -q "no swap control in the driver: the game's clock paces" "$LOG" || bad+="the game's log says: $(grep -h Vornaxi: "$LOG"); "
check vsync.without-swap-control-the-clock-paces
finish
