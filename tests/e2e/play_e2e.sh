#!/usr/bin/env bash
# The real game under X, played with xdotool and read with ImageMagick: at 1920x1080, where a
# pixel is a world unit, then on other screens, each in an Xvfb of its own; or, with ON_DESKTOP
# set, under a desktop's window manager alone, which also asks it to close. Exits non-zero if
# any check fails. Usage: play_e2e.sh VORNAXI SOURCE_DIR(fonts/, assets/) SHOTS_DIR
# GAME_ON_WINE set: the Windows build under wine. GAME_FINDS_DATA set: a launcher that starts the
# game in its own folder, which must then show its font and background from any folder. Both
# leave the other screens to the plain build, the fit being the same code.
set -u; shopt -s extglob
[[ $# == 3 ]] || { echo "usage: $0 VORNAXI SOURCE_DIR SHOTS_DIR" >&2; exit 2; }
GAME=$(realpath "$1") SRC=$(realpath "$2") SHOTS=$(realpath -m "$3")
source "$(dirname "$0")/harness.sh"
TIMER=600x95+0+0  # the timer's corner, above the wall
# How soon a click or Escape behind a burst of moves must act: taken one a frame, the moves
# would hold it back 25 s; 8 s leaves room for a loaded machine, wine and the archive's roots.
AT_ONCE_MS=8000

# The paddle, 170x20 red in a 5 px yellow rim centred at (X,1000), and the white ball
# of radius 10 resting on it at (X,980).
paddle_points() {
    want "paddle body" "$RED" "$1,1000" 0,0 -80,0 79,0 0,-5 -60,4
    want "paddle rim" "$YELLOW" "$1,1000" -85,0 -81,0 80,0 84,0 -60,-10 -60,-6 -60,5 -60,9
    want "beside paddle" "!($RED|$YELLOW)" "$1,1000" -86,0 85,0 -60,-11 -60,10
    want "ball" "$WHITE" "$1,980" 0,0 -8,0 8,0 0,-8 0,8
    want "beside ball" "!($WHITE)" "$1,980" -13,0 13,0 0,-14
}
paddle_ball() { paddle_points "$2"; look "$1"; }
# A whole fresh wall, 20x15 cells of 96x30 from y 100: the fill away from the label (40 in)
# and, at one to one, an outline black or special, counted in SPECIALS. With X, paddle_ball too.
wall() {
    local i x y; SPECIALS=0
    for ((i = 0; i < 300; i++)); do
        x=$((i % 20 * 96)) y=$((115 + i / 20 * 30))
        want "cell $i" "$FILL" "$(px $((x + 20)) $y)" 0,0
        ((FW == 1920)) && want "cell $i outline" "@($BLACK|$SPECIAL)" "$(px $x $y)" 0,0
    done
    [[ -n ${2:-} ]] && paddle_points "$2"
    look "$1" || return
    SPECIALS=$(printf '%s\n' "${GOT[@]}" | grep -cx "$SPECIAL")
}
damaged() { ! wall "$1"; }
same() {  # same WHAT A B [GEOMETRY]: adds to $bad unless shots A and B are alike there
    local d; d=$(compare -metric AE ${4:+-extract "$4"} "$2" "$3" null: 2>&1)
    [[ ${d%% *} == 0 ]] || { bad+="$1: ${d%% *} pixels differ; "; false; }
}
timer_moved() { local bad; ! same timer "$1" "$2" "$TIMER"; }
pause_mark() {  # two white bars of one height in the timer's corner: runs of white columns
    seen=$("$CONVERT" "$1" -crop "$TIMER" +repage -fill black +opaque white -scale "${TIMER%%x*}x1!" -depth 16 txt:- |
        awk -F'[,:() ]+' 'NR > 1 && $3 { h[$3]; r += $1 != last + 1; last = $1 } END { print r + 0, length(h) }')
    [[ $seen == "2 1" ]] || { seen="no pause mark: $seen white column runs and heights"; false; }
}
launched() {
    want "ball spot" "!($WHITE)" 960,980 0,0; look "$1" || return
    local white; white=$(count "$1" 1920x980+0+100 "$WHITE")  # the ball is the only white there
    ((white >= 150)) || { seen="only $white white pixels below the timer"; false; }
}
# A hand on the mouse: 1,500 pointer moves as fast as X takes them, ending at 960,700.
burst() {
    xdotool $(for ((i = 0; i < 1500; i++)); do echo mousemove $((460 + i % 1000)) 700; done) mousemove 960 700
}
follows() {  # follows MX MY PX: the pointer to MX,MY puts paddle and ball at PX
    xdotool mousemove "$1" "$2"
    wait_until 8000 snap "mouse-$1" paddle_ball "$3" || bad+="pointer ($1,$2), paddle wanted at x $3: $seen"
}

pause_mark_gone() { ! pause_mark "$1"; }
under() { want "paddle" "$RED" "$(px "$2" 1000)" 0,0; want "ball" "$WHITE" "$(px "$2" 980)" 0,0; look "$1"; }
fitted() {  # fitted NAME: the fresh game in $SHOT scaled whole and centred in black bands, then steered
    wall "$SHOT" || bad=$seen
    ((FL > 0)) && { only "$SHOT" "${FL}x$sh+0+0"; only "$SHOT" "${FL}x$sh+$((FL + FW))+0"; }
    ((FT > 0)) && { only "$SHOT" "${sw}x$FT+0+0"; only "$SHOT" "${sw}x$FT+0+$((FT + FH))"; }
    check "$1.whole-wall-scaled-with-black-bands"
    assets_loaded "$SHOT"
    check "$1.timer-and-background"
    steered "$1"
}
steered() {  # steered NAME: the pointer over world x puts the paddle's middle there
    for x in 100 960 1800; do
        at=$(px "$x" 540) && xdotool mousemove $((OX + ${at%,*})) $((OY + ${at#*,}))
        wait_until 8000 snap "$1-$x" under "$x" || bad+="pointer over world x $x: $seen; "
    done
    check "$1.paddle-under-pointer"
}
fullscreen() {  # the game's window just covers the primary monitor, and the window manager says so
    eval "$(xdotool getwindowgeometry --shell "$WID")"
    local state; state=$(xprop -id "$WID" _NET_WM_STATE)
    [[ $name == bare ]] && state=_NET_WM_STATE_FULLSCREEN  # no window manager to say so
    [[ $X,$Y,${WIDTH}x$HEIGHT == $OX,$OY,${sw}x$sh && $state == *_NET_WM_STATE_FULLSCREEN* ]] ||
        { seen="window is ${WIDTH}x$HEIGHT at ($X,$Y), $state; "; false; }
}
panels_drawn() {  # no panel a blank: DESK is the desktop to hide
    local p; for p in "${PANELS[@]}"; do [[ $("$CONVERT" "$1" -crop "$p" -format %k info:) -gt 1 ]] || return; done
    DESK=$1
}
panels_covered() {  # hardly a pixel left where a panel was as the desktop showed it
    local p d size
    for p in "${PANELS[@]}"; do
        d=$(compare -metric AE -extract "$p" "$DESK" "$1" null: 2>&1) size=${p%%+*}
        ((${d%% *} * 100 >= ${size%x*} * ${size#*x} * 99)) || bad+="only ${d%% *} pixels changed where the panel at $p was; "
    done
}
# As the window manager marks it: its active window may be a frame around the one asked for.
focused() { [[ $(xprop -id "$1" _NET_WM_STATE) == *_NET_WM_STATE_FOCUSED* ]]; }
other_drawn() {  # other_drawn IMG: the other window, where there is one, painted in the shot of the screen and
    # as in the shot before: muffin scales a new window in, and a frame of that is no picture to keep.
    [[ -z $OTHERS || -z ${OTHER:-} ]] && return
    # xwininfo's place, not xdotool's: under muffin xdotool adds the frame's offset once more.
    read -r X Y WIDTH HEIGHT < <(xwininfo -id "$OTHER" | awk '/Absolute upper-left X/ { x = $NF }
        /Absolute upper-left Y/ { y = $NF } /^  Width/ { w = $NF } /^  Height/ { h = $NF } END { print x, y, w, h }')
    OTHER_AT=${WIDTH}x$HEIGHT+$X+$Y
    ((X >= OX + sw || X + WIDTH <= OX)) || { bad+="the other window at $X,$Y is on the primary monitor; "; return; }
    local before=${DRAWN:-} bad; DRAWN=$1
    [[ $("$CONVERT" "$1" -crop "$OTHER_AT" -format %k info:) -gt 1 && -n $before ]] && same other "$before" "$1" "$OTHER_AT"
}
others_as_before() {  # the other window, on another monitor, shows what it did before the game
    [[ -n ${OTHER_AT:-} ]] || return 0
    local at=$SHOT; CROP="" shot whole; same "the other monitor's window" "$WHOLE" "$SHOT" "$OTHER_AT"; SHOT=$at
}
reach() {  # tells whether the pointer can leave the primary monitor (WHEN): the game holds it while focused
    local to=$((OX > 0 ? OX - 50 : OX + sw + 50)); xdotool mousemove "$to" $((OY + sh / 2))
    eval "$(xdotool getmouselocation --shell)"
    echo "    pointer sent to $to,$((OY + sh / 2)), beyond the primary monitor, $1: at $X,$Y," \
        "$( ((X >= OX && X < OX + sw)) && echo held || echo free)"
}
other_window() { OTHER=$(xdotool search --onlyvisible --name '^Other$' 2>/dev/null | head -n 1); [[ -n $OTHER ]]; }

# ---------------------------------------------------------------- on a desktop
# ON_DESKTOP="gnome|kde-wayland|xfce|kde|bare SCREEN": the game under that desktop's window manager (or none) on
# a screen of that size or monitors of that layout (harness.sh), in place of the rest. The game
# must cover the primary monitor, fitted there, and leave every monitor's mode and place as it was.
if [[ -n ${ON_DESKTOP:-} ]]; then
    read -r name screen <<<"$ON_DESKTOP"
    # Xorg, which gives monitors of a layout, runs as root.
    [[ $name == @(gnome|kde-wayland) || $screen == +([0-9])x+([0-9]) || $(id -u) == 0 ]] || exec sudo -E bash "$0" "$@"
    QUIT_MS=10000  # that it quits; how soon is the bare run's
    { desktop "$name" "$screen" && primary; } || bad+="no primary monitor: $(xrandr --listmonitors 2>&1 | xargs); "
    check "$name.starts"
    ((failed == 0)) || finish
    echo "    monitors: $(xrandr --listmonitors | awk 'NR > 1 { printf "%s %s; ", $2, $3 }')primary ${sw}x$sh+$OX+$OY"
    BEFORE=$(outputs) OTHERS=$(xrandr --listmonitors | awk -v game="$OUT" 'NR > 1 && $NF != game { gsub("/-?[0-9]+", "", $3); print $3 }')
    if [[ $name != bare ]]; then  # another window to give the focus to, on another monitor where there is one
        at=${OTHERS%%$'\n'*} at=${at#*+}
        xmessage ${OTHERS:+-geometry +$((${at%+*} + 100))+$((${at#*+} + 100))} -title Other "another window" \
            2>>"$SHOTS/desktop.log" & other=$! DESKTOP=($! "${DESKTOP[@]}")
        wait_until 10000 other_window || bad="no other window; "
    fi
    [[ -n $WINDOW_SHOTS ]] || { wait_until 10000 snap desktop-whole other_drawn; WHOLE=$SHOT CROP=${sw}x$sh+$OX+$OY; }
    fit "$sw" "$sh"; TIMER=$(box 600 95 0 0)
    ((${#PANELS[@]} == 0)) || wait_until 10000 snap desktop panels_drawn || bad="panels at ${PANELS[*]} not drawn; "
    start_game "$SRC" "$name" && { fullscreen || bad+=$seen; } && panels_covered "$SHOT"
    check "$name.window-covers-primary-monitor${PANELS:+-and-panels}"
    ((failed == 0)) || finish
    as_before "while the game runs"; [[ -n $WINDOW_SHOTS ]] || others_as_before
    check "$name.no-mode-switched-other-monitors-untouched"
    fitted "$name"
    # CHANGES: the monitors changed while the game runs (harness.sh's change, each in turn): the
    # game on its monitor at that monitor's new mode, or, its monitor gone, on the primary.
    on=$OUT
    for step in ${CHANGES:-}; do
        change "$step"; BEFORE=$(outputs) PANELS=()  # PANELS: as laid out at start
        what=$name.DUMMY${step/:/-to-} what=${what/\*/-as-primary}
        monitor_of "$on" || primary; on=$OUT
        fit "$sw" "$sh"; TIMER=$(box 600 95 0 0); [[ -n $WINDOW_SHOTS ]] || CROP=${sw}x$sh+$OX+$OY
        wait_until 5000 fullscreen || bad+=$seen
        wait_until 5000 snap "$what" wall || bad+=$seen
        as_before "after the change"
        check "$what.window-covers-$OUT-wall-fitted"
        steered "$what"
    done
    xdotool key p
    wait_until 8000 snap paused pause_mark || bad=$seen
    xdotool key p
    wait_until 8000 snap resumed pause_mark_gone || bad+="the pause mark stayed after the second P; "
    check "$name.pause-without-click"
    xdotool click 1
    wait_until 8000 snap launched timer_moved "$SHOT" || bad="timer unchanged 8 s after a click"
    check "$name.click-launches"

    if [[ $name != bare ]]; then
        { timeout 10 xdotool windowactivate "$OTHER" && wait_until 10000 focused "$OTHER" && ! focused "$WID"; } ||
            bad="another window took no focus; "
        shot away; reach "while another window has the focus"
        timeout 10 xdotool windowactivate "$WID" && wait_until 10000 focused "$WID" && { fullscreen || bad+=$seen; } ||
            bad+="the game took no focus back; "
        reach "with the focus back"
        xdotool key p
        wait_until 8000 snap back pause_mark || bad+="P after focus came back: $seen; "
        panels_covered "$SHOT"
        check "$name.fullscreen-and-keys-after-focus-comes-back"
        kill "$other"
    fi

    ends xdotool key Escape; as_before "after Escape"
    check "$name.escape-without-click"
    if [[ $name != bare ]]; then
        start_game "$SRC" close && ends wmctrl -c Vornaxi; as_before "after the close request"
        check "$name.close-request"
    fi
    # A logout or a task manager's End: nothing of the game's may outlive it.
    start_game "$SRC" terminated && kill -TERM "$PID" && { wait_until "$QUIT_MS" gone || bad+="still running after SIGTERM; "; }
    wait "$PID"; PID=""
    as_before "after SIGTERM"
    check "$name.sigterm-leaves-monitors-as-they-were"
    finish
fi

# ---------------------------------------------------------------- with fonts/ and assets/
BEFORE=$(outputs)
start_game "$SRC" full && eval "$(xdotool getwindowgeometry --shell "$WID")" &&
    { [[ $X,$Y,${WIDTH}x$HEIGHT == 0,0,1920x1080 ]] || bad="window is ${WIDTH}x$HEIGHT at ($X,$Y)"; }
as_before "while the game runs"
check start.window-covers-screen-at-its-mode
((failed == 0)) || finish
shot start; START=$SHOT
wall "$START" || bad=$seen
check start.wall
((SPECIALS >= 15 && SPECIALS <= 135)) || bad="$SPECIALS of 300 cells special, want about 1 in 5"
check start.some-special-outlines
assets_loaded "$START"
check start.timer-background-and-font

follows 500 300 500; follows 1234 1079 1234
check mouse.paddle-and-ball-follow
follows 0 600 85; follows 1919 50 1835; follows 960 700 960
check mouse.paddle-stays-on-screen
burst; xdotool click 1
wait_until "$AT_ONCE_MS" snap launch launched ||
    bad="not launched $((AT_ONCE_MS / 1000)) s after a click behind 1,500 pointer moves: $seen"
check launch.ball-leaves-paddle-at-once
wait_until 8000 snap running timer_moved "$SHOT" || bad="timer unchanged 8 s after the launch"
check launch.timer-runs

xdotool key p
wait_until 8000 snap paused pause_mark || bad=$seen
check pause.mark
shot paused; PAUSED=$SHOT
xdotool mousemove 300 700; sleep 0.5; shot paused-later  # not even the paddle moves
same "screen in 0.5 s of pause" "$PAUSED" "$SHOT"
check pause.freezes
xdotool mousemove 960 700; xdotool key p
{ wait_until 8000 snap resumed timer_moved "$SHOT" && wait_until 8000 snap resumed timer_moved "$SHOT"; } ||
    bad="timer did not run on after the second P"
check pause.resumes

# Some damage first, or a fresh wall would prove nothing.
wait_until 16000 snap hit damaged || bad="no brick hit 16 s after the launch; "
xdotool key r
wait_until 8000 snap restarted wall 960 || bad+=$seen
check restart.fresh-wall-and-ball-on-paddle

burst; QUIT_MS=$AT_ONCE_MS ends xdotool key Escape
as_before "after Escape"
check quit.escape-at-once

# The game's display check is X11 code; the Windows build under wine (GAME_ON_WINE set) has none.
if [[ -z ${GAME_ON_WINE:-} ]]; then
    for display in unset "" ":$((RANDOM % 1000 + 4000))" nonsense; do  # none there, so none can open
        said=$( ([[ $display == unset ]] && unset DISPLAY || export DISPLAY=$display; exec "$GAME") 2>&1); rc=$?
        [[ $rc == 1 && $(wc -l <<<"$said") == 1 && $said == *"${display:-empty}"* ]] ||
            bad+="DISPLAY $display: exit $rc, said: $said; "
    done
    check display.unreachable-says-which-and-exits-1
fi

# ---------------------------------------------------------------- without fonts/ and assets/
if mkdir "$WORK/bare" && start_game "$WORK/bare" bare; then
    if [[ -n ${GAME_FINDS_DATA:-} ]]; then
        assets_loaded "$SHOT"
        check bare.launcher-finds-font-and-background
    else
        xdotool mousemove 400 500
        wait_until 8000 snap bare wall 400 || bad=$seen
        only "$SHOT" 1920x520+0+560 "$WHITE" "$RED" "$YELLOW"  # below the wall: ball and paddle on black
        check bare.wall-paddle-ball-on-black
        only "$SHOT" 1920x100+0+0
        only "$SHOT" 1920x450+0+100 "$FILL" "$SPECIAL"
        check bare.no-text
    fi
    ends xdotool key Escape
fi
check bare.escape

# ---------------------------------------------------------------- other screens
# The world scaled whole and centred in black bands. Under wine and from the archive the fit
# is the same code; 1366x768, 1280x1024 and 2560x1440 are the desktops' (ON_DESKTOP) screens.
[[ -n ${GAME_ON_WINE:-}${GAME_FINDS_DATA:-} ]] && finish
for screen in 1920x1200 3840x2160; do
    sw=${screen%x*} sh=${screen#*x}
    own_display "$screen"; fit "$sw" "$sh"
    start_game "$SRC" "$screen" || { check "$screen.starts"; continue; }
    fitted "$screen"
    ends xdotool key Escape
    check "$screen.escape"
done
finish
