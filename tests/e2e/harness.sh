# What the end-to-end scripts share: checks, an Xvfb unless DISPLAY is set, waiting, shots read
# with ImageMagick, starting and ending the game. Sourced after setting GAME and SHOTS.
CONVERT=/usr/bin/convert; [[ -x $CONVERT ]] || CONVERT=convert  # the packaged one, not a wrapper
FILL=0,0,150 SPECIAL=80,0,0 BLACK=0,0,0 WHITE=255,255,255 RED=255,0,0 YELLOW=255,255,0

source "$(dirname "${BASH_SOURCE[0]}")/tally.sh"

mkdir -p "$SHOTS" && rm -f "$SHOTS"/*.png "$SHOTS"/*.log
WORK=$(mktemp -d) XVFB="" PID="" DESKTOP=() OX=0 OY=0  # OX,OY: the primary monitor's corner
cleanup() {
    [[ -n $PID ]] && kill -9 "$PID"
    for p in "${DESKTOP[@]}"; do kill "$p" && wait "$p"; done  # window manager and panel before the bus
    [[ -n $XVFB ]] && kill "$XVFB" && wait "$XVFB"; rm -rf "$WORK"
}
trap 'cleanup 2>/dev/null' EXIT
now_ms() { local t=${EPOCHREALTIME//[.,]/}; echo $((10#$t / 1000)); }
# WAIT_FACTOR (emulated runs only, never native ones) stretches every wait: the game is that much slower.
wait_until() {  # wait_until MS CMD...: retries CMD every 0.1 s until it succeeds or MS pass
    local end=$(($(now_ms) + $1 * ${WAIT_FACTOR:-1})); shift; until "$@"; do (($(now_ms) < end)) || return 1; sleep 0.1; done; }

# serve NAME ARGS...: the X server NAME (Xvfb, Xorg) started with ARGS, in place of any earlier own
# one; it picks a free display and writes its number when ready. Its errors go to SHOTS/NAME.log.
serve() {
    [[ -n $XVFB ]] && kill "$XVFB" && wait "$XVFB"
    rm -f "$WORK/display"
    "$1" -displayfd 3 "${@:2}" -noreset -nolisten tcp 3>"$WORK/display" 2>>"$SHOTS/${1,,}.log" & XVFB=$!
    wait_until 10000 test -s "$WORK/display" || { bad="see $SHOTS/${1,,}.log"; check "${1,,}-starts"; finish; }
    export DISPLAY=:$(<"$WORK/display")
}
own_display() { serve Xvfb -screen 0 "$1x24"; }  # own_display WxH: an Xvfb screen of that size
[[ -n ${DISPLAY:-} || -n ${ON_DESKTOP:-} ]] || own_display 1920x1080

# monitors LAYOUT: an X server with real RandR outputs, Xorg's dummy driver, one output a monitor,
# left to right: "[-]WxH[*][/WxH]..." comma-separated, * the primary (none where no monitor has it),
# /WxH a further mode it lists but does not run, - a monitor that is off (a laptop's closed lid).
# A mode refreshes 60 times a second, or RATE times as WxH_RATE. In place of any earlier own display.
monitors() {
    cat >"$WORK/xorg.conf" <<EOF
Section "ServerFlags"
    Option "AutoAddDevices" "false"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 512000
EndSection
EOF
    serve Xorg -config "$WORK/xorg.conf" -logfile "$SHOTS/xorg-server.log" -novtswitch -sharevts
    lay_out "$1"
    xsetroot -solid '#1e5078'  # what the other monitors show, to see that they still do
}
lay_out() {  # lay_out LAYOUT: the outputs set as LAYOUT says, their modes added once
    local monitor mode run i=0 x=0 w h rate
    for monitor in ${1//,/ }; do
        run=""
        for mode in ${monitor//[-*\/]/ }; do  # a mode of its own name, whatever cvt would round it to
            w=${mode%x*} h=${mode#*x} h=${h%_*} rate=60 run=${run:-$mode}
            [[ $mode == *_* ]] && rate=${mode#*_}
            xrandr --newmode "$mode" "$(awk "BEGIN { printf \"%.6f\", $(((w + 160) * (h + 40))) * $rate / 1e6 }")" \
                "$w" $((w + 48)) $((w + 80)) $((w + 160)) "$h" $((h + 3)) $((h + 8)) $((h + 40)) 2>/dev/null
            xrandr --addmode "DUMMY$i" "$mode"  # refused, harmlessly, where it was added before
        done
        if [[ $monitor == -* ]]; then xrandr --output "DUMMY$i" --off; else
            xrandr --output "DUMMY$i" --mode "$run" --pos "${x}x0" $([[ $monitor == *\** ]] && echo --primary)
            x=$((x + ${run%x*})); fi
        i=$((i + 1))
    done 2>>"$SHOTS/xorg.log"
    [[ $1 == *\** ]] || xrandr --noprimary
}
# The outputs' modes and places, and the screen's size: what the game must leave as it was.
outputs() { xrandr | grep -E '^Screen| connected'; }
as_before() {  # as_before WHEN: adds to $bad unless every output has the mode and place it had
    local now; now=$(outputs)
    [[ $now == "$BEFORE" ]] || bad+="$1 the outputs are $(xargs <<<"$now"), not $(xargs <<<"$BEFORE"); "
}
# primary: SW x SH at OX,OY, the monitor the game is to cover (the first where none is primary),
# shown by output OUT. monitor_of OUT: the same for that output's monitor, false if it is off;
# OUT "*" the primary's, "" the first's.
primary() { monitor_of '*' || monitor_of ''; }
monitor_of() {
    local m; m=$(xrandr --listmonitors | awk -v out="$1" 'NR > 1 && (out == "*" ? $2 ~ /\*/ : out == "" || $NF == out) {
        print; exit }')
    [[ $m =~ ([0-9]+)/-?[0-9]+x([0-9]+)/-?[0-9]+\+([0-9]+)\+([0-9]+)\ +([^ ]+)$ ]] || return
    sw=${BASH_REMATCH[1]} sh=${BASH_REMATCH[2]} OX=${BASH_REMATCH[3]} OY=${BASH_REMATCH[4]} OUT=${BASH_REMATCH[5]}
}
# change N:WxH[*] | N:off: output DUMMYN's monitor set to that mode (one that was off placed right
# of the others), * making it the primary; or unplugged.
change() {
    local out=DUMMY${1%%:*} to=${1#*:} at=()
    if [[ $to == off ]]; then xrandr --output "$out" --off; else
        xrandr --listmonitors | grep -q " $out\$" || at=(--pos "$(xrandr | sed -n 's/.*current \([0-9]*\) x.*/\1/p')x0")
        xrandr --output "$out" --mode "${to%\*}" "${at[@]}" $([[ $to == *\* ]] && echo --primary)
    fi 2>>"$SHOTS/xorg.log"
}

# desktop gnome|kde-wayland|xfce|kde|cinnamon|bare SCREEN: a desktop players run, on a screen of that
# size or on monitors of that layout: GNOME's or KDE's Wayland compositor with a virtual monitor each
# (KDE's all of the first one's size), the game an X client of its XWayland; or on an X server of
# its own, Xfce's window manager and panels, KDE's or Cinnamon's window manager, or none. Sets
# PANELS to the geometries of the panels shown, where there are any.
desktop() {
    export HOME=$WORK/home XDG_RUNTIME_DIR=$WORK/run NO_AT_BRIDGE=1  # none of the user's settings
    unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME WAYLAND_DISPLAY XAUTHORITY; PANELS=()
    mkdir -p -m 700 "$HOME" "$XDG_RUNTIME_DIR"
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
    if [[ $1 == @(gnome|kde-wayland) ]]; then unset DISPLAY  # XWayland's, below
    elif [[ $2 == +([0-9])x+([0-9]) ]]; then own_display "$2"
    else monitors "$2"; fi  # before the bus, so that what it starts finds the display
    dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" 2>>"$SHOTS/desktop.log" & DESKTOP=($!)
    wait_until 10000 test -S "$XDG_RUNTIME_DIR/bus" || { bad="no session bus, see $SHOTS/desktop.log"; return 1; }
    if [[ $1 == @(gnome|kde-wayland) ]]; then
        mkdir -p -m 1777 /tmp/.X11-unix  # where XWayland listens; a bare /tmp lacks it
        local ready=xwayland
        if [[ $1 == gnome ]]; then
            mutter --headless --wayland --virtual-monitor ${2//,/ --virtual-monitor } >>"$SHOTS/desktop.log" 2>&1 &
        else
            # kwin_wayland carries a file capability (to raise its own limits) that a container
            # may refuse at exec: started by the loader it runs without one, and
            # KWIN_FORCE_OWN_QPA lets its platform plugin load in a process not named
            # kwin_wayland. The program it starts once XWayland is up tells us its display and key.
            local kwin size=${2%%,*} others=${2//[^,]/} loader; ready=kwin_xwayland
            kwin=$(command -v kwin_wayland) && loader=$(readelf -l "$kwin" | sed -n 's/.*interpreter: \(.*\)]/\1/p')
            printf '#!/bin/sh\necho "DISPLAY=$DISPLAY XAUTHORITY=$XAUTHORITY" >%s\n' "$WORK/xwayland" >"$WORK/started"
            chmod +x "$WORK/started"
            KWIN_FORCE_OWN_QPA=1 "$loader" "$kwin" --virtual --xwayland --output-count $((${#others} + 1)) \
                --width "${size%x*}" --height "${size#*x}" "$WORK/started" >>"$SHOTS/desktop.log" 2>&1 &
        fi
        DESKTOP=($! "${DESKTOP[@]}")
        wait_until 20000 "$ready" || { bad="no XWayland display, see $SHOTS/desktop.log"; return 1; }
        WINDOW_SHOTS=1  # XWayland gives no picture of its root window
    else
        case $1 in
        bare) return 0 ;;
        kde) kwin_x11 >>"$SHOTS/desktop.log" 2>&1 & DESKTOP=($! "${DESKTOP[@]}") ;;
        cinnamon)  # its window manager sets every output to a mode of its own choosing once up;
            # outside a login session Debian 13's (muffin 6) must be told it runs on X
            XDG_SESSION_TYPE=x11 muffin --replace >>"$SHOTS/desktop.log" 2>&1 & DESKTOP=($! "${DESKTOP[@]}")
            wait_until 20000 wmctrl -m >/dev/null 2>&1 && sleep 1 && lay_out "$2" ;;
        xfce)
            xfwm4 >>"$SHOTS/desktop.log" 2>&1 & DESKTOP=($! "${DESKTOP[@]}")
            xfce4-panel >>"$SHOTS/desktop.log" 2>&1 & DESKTOP=($! "${DESKTOP[@]}")
            wait_until 20000 panels || { bad="no top panel and dock, see $SHOTS/desktop.log"; return 1; } ;;
        esac
    fi
    wait_until 20000 wmctrl -m >/dev/null 2>&1 || { bad="no window manager, see $SHOTS/desktop.log"; return 1; }
}
xwayland() {  # mutter names its X display once it listens, the key to it in its runtime folder
    local auth=("$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.*)
    [[ -f $auth ]] || return
    export XAUTHORITY=$auth DISPLAY=$(grep -om1 'public X11 display :[0-9]*' "$SHOTS/desktop.log" | grep -o ':.*')
    [[ -n $DISPLAY ]] && xdpyinfo >/dev/null 2>&1
}
kwin_xwayland() {  # kwin's XWayland, as the program it started wrote it down
    [[ -s $WORK/xwayland ]] || return
    local display auth; read -r display auth <"$WORK/xwayland"
    export "$display"; [[ $auth == XAUTHORITY=?* ]] && export "$auth"
    xdpyinfo >/dev/null 2>&1
}
panels() {  # Xfce's first start: a panel across the primary monitor's top and a dock on its bottom edge
    local id; PANELS=(); primary || return  # (and, while they are laid out, windows of other sizes)
    for id in $(xdotool search --onlyvisible --classname xfce4-panel 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        ((Y == OY && X == OX && WIDTH == sw || Y + HEIGHT == OY + sh && X >= OX && WIDTH > 50)) &&
            PANELS+=("${WIDTH}x$HEIGHT+$X+$Y")
    done
    ((${#PANELS[@]} == 2))
}

# fit W H: where the game shows its 1920x1080 world on a WxH screen, in whole pixels as it
# works them out: FW x FH pixels from FL,FT. Until then a pixel is a world unit.
fit() {
    if (($1 * 1080 <= $2 * 1920)); then FW=$1 FH=$((($1 * 1080 * 2 + 1920) / 3840)); else
        FH=$2 FW=$((($2 * 1920 * 2 + 1080) / 2160)); fi
    FL=$((($1 - FW) / 2)) FT=$((($2 - FH) / 2))
}
fit 1920 1080
px() { echo $((FL + $1 * FW / 1920)),$((FT + $2 * FH / 1080)); }  # a world point's pixel
box() { local at; at=$(px "$3" "$4"); echo "$(($1 * FW / 1920))x$(($2 * FH / 1080))+${at/,/+}"; }  # box W H X Y

n=0
WINDOW_SHOTS="" CROP=""  # set to take the game's window alone, or only that part of the screen
shot() {
    local w=root; [[ -n $WINDOW_SHOTS ]] && w=$WID
    n=$((n + 1)); SHOT=$(printf '%s/%02d-%s.png' "$SHOTS" "$n" "$1")
    timeout 10 import -window "$w" ${CROP:+-crop "$CROP" +repage} "$SHOT"
}
snap() { shot "$1"; "$2" "$SHOT" "${@:3}"; }  # snap NAME COND ARGS...: COND on a new shot

# want WHAT PATTERN X,Y DX,DY...: the points at DX,DY from X,Y have an "r,g,b" matching PATTERN.
want() {
    local what=$1 pattern=$2 x=${3%,*} y=${3#*,} d; shift 3
    for d; do T+=("$what|$pattern|$((x + ${d%,*})),$((y + ${d#*,}))"); done
}
# Reads the wanted points from IMG into GOT in one call; false, with $seen, unless all match.
look() {
    local fmt="" t i wrong=0; seen=""
    for t in "${T[@]}"; do fmt+="%[pixel:p{${t##*|}}]\n"; done
    mapfile -t GOT < <("$CONVERT" "$1" -virtual-pixel black -format "$fmt" info: | tr -d 'srgba()')
    for i in "${!T[@]}"; do
        t=${T[i]%|*}
        [[ ${GOT[i]:-none} == ${t#*|} ]] && continue
        ((++wrong <= 3)) && seen+="${t%%|*} at (${T[i]##*|}) is (${GOT[i]:-none}); "
    done
    ((wrong > 3)) && seen+="$wrong of ${#T[@]} samples wrong; "
    T=(); ((wrong == 0))
}
# How many pixels of IMG within GEOMETRY have one of the colours RGB...
count() {
    local img=$1 geometry=$2 c mark=(); shift 2; for c; do mark+=(-opaque "rgb($c)"); done
    "$CONVERT" "$img" -crop "$geometry" +repage -fill 'rgb(1,2,3)' "${mark[@]}" -fill black \
        +opaque 'rgb(1,2,3)' -fill white -opaque 'rgb(1,2,3)' -format '%[fx:round(mean*w*h)]' info:
}

only() {  # only IMG WxH+X+Y RGB...: adds to $bad any pixel there not black nor RGB
    local size=${2%%+*} others; others=$((${size%x*} * ${size#*x} - $(count "$1" "$2" "$BLACK" "${@:3}")))
    ((others == 0)) || bad+="$others pixels within $2 are not black${3:+ nor ${*:3}}; "
}
# A window that goes while xdotool looks at it (wine makes and drops some) fails one try only.
window() { WID=$(xdotool search --onlyvisible --name '^Vornaxi$' 2>/dev/null | head -n 1); [[ -n $WID ]]; }
drawn() { want "first wall cell" "$FILL" "$(px 20 115)" 0,0; look "$1"; }
start_game() {  # start_game DIR NAME: output to NAME.log; waits for the window and a wall
    LOG=$SHOTS/$2.log
    (cd "$1" && exec "$GAME") >"$LOG" 2>&1 & PID=$!
    wait_until 15000 window || { bad+="no window named Vornaxi after 15 s, see $LOG; "; return 1; }
    wait_until 15000 snap "$2" drawn || { bad+="no wall drawn after 15 s; "; return 1; }
}
gone() { [[ $(ps -o stat= -p "$PID") != [^Z]* ]]; }
# Runs CMD..., then the game must exit 0 within QUIT_MS (2 s), sanitizers' reports included.
ends() {
    local out rc; out=$("$@" 2>&1) || bad+="'$*' failed: $out; "
    if wait_until "${QUIT_MS:-2000}" gone; then wait "$PID"; rc=$?
        ((rc == 0)) || bad+="exit code $rc, see $LOG$(grep -m1 ERROR "$LOG" | sed 's/^/: /'); "
    else bad+="still running ${QUIT_MS:-2000} ms after '$*'; "; kill -9 "$PID"; wait "$PID" 2>/dev/null; fi
    PID=""
}
# The background image below the wall, white timer pixels, and no load failure in the log.
assets_loaded() {
    [[ $("$CONVERT" "$1" -crop "$(box 1920 380 0 570)" -format %k info:) -gt 1 ]] || bad+="no background image; "
    local white; white=$(count "$1" "$(box 190 70 10 10)" "$WHITE")
    ((white >= 50)) || bad+="only $white white pixels where the timer is; "
    grep -qi "failed to load\|video mode is not available" "$LOG" &&
        bad+="the log says: $(grep -i -m2 "failed to load\|video mode is not available" "$LOG" | tr '\n' ' ')"
}

# synced LOG ASKED: the swap intervals the tests' GL driver (glshim.cpp) recorded in LOG were
# ASKED, after the 0 SFML 2.5 asks as it takes the window, and none of its swaps went up unsynced
# once one was asked; then prints, for each refresh rate it saw, how many refreshes apart the
# swaps went up, and their pace.
synced() {
    local asked; asked=$(awk '$1 == "interval" && (n++ || $2 != 0) { printf "%s%s", sep, $2; sep = " " }' "$1")
    [[ $asked == "$2" ]] || bad+="swap intervals asked: ${asked:-none}, not $2; "
    awk '$1 == "interval" { on = on || $2 > 0 } $1 == "swap" && $4 == "-" && on { u++ } END { exit u > 0 }' "$1" ||
        bad+="swaps unsynced after an interval was asked; "
    awk '$1 == "refresh" { hz = $2 } $1 == "swap" && last != "" && hz == lasthz { n[hz]++; gap[hz, $4 - last]++
            t[hz] += $3 - shown; lat[hz] += $3 - ret } $1 == "swap" { last = $4; lasthz = hz; ret = $6; shown = $3 }
        END { for (h in n) { s = ""; for (k = 1; k <= 8; k++) if (gap[h, k]) s = s sprintf(" %d: %d", k, gap[h, k])
            printf "    %s Hz: refreshes between swaps%s; %.2f swaps a second; a swap'"'"'s return to the next one shown %.1f ms\n",
                h, s, n[h] * 1000 / t[h], lat[h] / n[h] } }' "$1"
}
