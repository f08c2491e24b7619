#!/usr/bin/env bash
# The real game on screens other than play_e2e's 1920x1080, each in an Xvfb of its own: the
# world scaled whole and centred in black bands, the paddle under the pointer, the timer, Escape.
# Usage: screens_e2e.sh VORNAXI SOURCE_DIR SHOTS_DIR
set -u
[[ $# -eq 3 ]] || { echo "usage: $0 VORNAXI SOURCE_DIR SHOTS_DIR" >&2; exit 2; }
GAME=$(realpath "$1") SRC=$(realpath "$2") SHOTS=$(realpath -m "$3")
unset DISPLAY; source "$(dirname "$0")/harness.sh"

# The fit, in whole pixels as the game works it out: the world is FW x FH pixels from FL,FT.
fit() {
    if (($1 * 1080 <= $2 * 1920)); then FW=$1 FH=$((($1 * 1080 * 2 + 1920) / 3840)); else
        FH=$2 FW=$((($2 * 1920 * 2 + 1080) / 2160)); fi
    FL=$((($1 - FW) / 2)) FT=$((($2 - FH) / 2))
}
px() { echo $((FL + $1 * FW / 1920)),$((FT + $2 * FH / 1080)); }  # a world point's pixel
drawn() { want "first wall cell" "$FILL" "$(px 20 115)" 0,0; look "$1"; }
paddle_at() { want "paddle" "$RED" "$(px "$2" 1000)" 0,0; want "ball" "$WHITE" "$(px "$2" 980)" 0,0; look "$1"; }

for screen in 1366x768 1280x1024 1920x1200 2560x1440 3840x2160; do
    sw=${screen%x*} sh=${screen#*x}; fit "$sw" "$sh"
    own_display "$screen"
    start_game "$SRC" "$screen" || { check "$screen.starts"; continue; }
    for ((i = 0; i < 300; i++)); do want "cell $i" "$FILL" "$(px $((i % 20 * 96 + 20)) $((115 + i / 20 * 30)))" 0,0; done
    look "$SHOT" || bad=$seen
    ((FL > 0)) && { only "$SHOT" "${FL}x$sh+0+0"; only "$SHOT" "${FL}x$sh+$((FL + FW))+0"; }
    ((FT > 0)) && { only "$SHOT" "${sw}x$FT+0+0"; only "$SHOT" "${sw}x$FT+0+$((FT + FH))"; }
    check "$screen.whole-wall-scaled-with-black-bands"
    white=$(count "$SHOT" "$((200 * FW / 1920))x$((80 * FH / 1080))+$FL+$FT" "$WHITE")
    ((white >= 50)) || bad="only $white white pixels where the timer is"
    check "$screen.timer"
    for x in 100 960 1800; do  # the pointer over world x puts the paddle's middle there
        xdotool mousemove $((FL + x * FW / 1920)) $((sh / 2))
        wait_until 8000 snap "$screen-$x" paddle_at "$x" || bad+="pointer over world x $x: $seen; "
    done
    check "$screen.paddle-under-pointer"
    ends xdotool key Escape
    check "$screen.escape"
done
finish
