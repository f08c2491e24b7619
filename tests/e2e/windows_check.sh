#!/usr/bin/env bash
# Builds the Windows zip twice, in two folders, and checks what a Windows player gets: the
# same bytes both times; the exe, its data, how to play and the licences; a GUI program
# that needs no DLL but Windows' own. Then plays the unzipped game under wine with the same
# end-to-end test as the Debian game, in a wine prefix of its own, on two monitors of Xorg's
# dummy driver, which runs as root (sudo otherwise). Wine's GL is the test's own libGL.so.1
# (glshim.cpp), which offers swap control: the game must ask the swap interval its policy gives,
# at 60 Hz there and again on a 144 Hz monitor that also offers 240 Hz, whose mode it must leave
# as it is while it plays and after.
# Usage: windows_check.sh SOURCE_DIR GLSHIM OUT_DIR
set -u
[[ $# -eq 3 ]] || { echo "usage: $0 SOURCE_DIR GLSHIM OUT_DIR" >&2; exit 2; }
[[ $(id -u) -eq 0 ]] || exec sudo bash "$0" "$@"
src=$(realpath "$1") shim=$(realpath "$2") out=$(realpath -m "$3") here=$(cd "$(dirname "$0")" && pwd)
source "$src/tools/deps.sh" && install_missing "${WINDOWS_TEST_PACKAGES[@]}"
[[ -d $out/prefix ]] && WINEPREFIX=$out/prefix /usr/lib/wine/wineserver -k 2>/dev/null
rm -rf "$out" && mkdir -p "$out"
GAME="" SHOTS=$out
source "$here/harness.sh"

for build in first second; do
    bash "$src/tools/package-windows" "$out/$build" >"$out/$build.log" 2>&1 || bad+="see $out/$build.log; "
done
zip=$(ls "$out"/first/vornaxi-*-windows-x64.zip 2>/dev/null) || bad+="no zip in $out/first; "
grep -h 'warning:' "$out"/*.log | sed 's/^/    /'
grep -q 'warning:' "$out"/*.log && bad+="the build warns; "
check windows.zip-builds-without-warnings
((failed == 0)) || finish

cmp -s "$zip" "$out/second/${zip##*/}" || bad="the two builds differ: $(sha256sum "$out"/*/*.zip | cut -c1-16 | xargs)"
check windows.zip-reproducible

name=$(basename "$zip" .zip)
listed=$(unzip -Z1 "$zip" | sed "s|^$name/||" | xargs)
[[ $listed == "README.txt assets/space.png fonts/LICENSE.txt fonts/aAbstractGroovy.ttf licenses/FreeType.txt licenses/GCC-runtime.txt licenses/MinGW-w64-runtime.txt licenses/SFML.txt vornaxi.exe" ]] ||
    bad="unexpected entries: $listed"
check windows.zip-holds-game-data-and-licences

unzip -q "$zip" -d "$out/unzipped" && game=$out/unzipped/$name
pe=$(x86_64-w64-mingw32-objdump -p "$game/vornaxi.exe")
[[ $pe == *"(Windows GUI)"* ]] || bad+="not a GUI program, a console would open; "
for dll in $(sed -n 's/^\s*DLL Name: //p' <<<"$pe"); do
    [[ ${dll^^} == @(KERNEL32|USER32|GDI32|OPENGL32|WINMM|ADVAPI32|MSVCRT).DLL ]] || bad+="needs $dll; "
done
check windows.exe-is-gui-and-self-contained

# The primary at 0,0, where the game's fullscreen goes, and the prefix made there too: a wine
# session begun on another X server keeps that one's windows and modes, and the game finds
# neither (a BadWindow at start, or a window that never goes fullscreen).
monitors "1920x1080*/1280x720_144/1280x720_240,1366x768"
export WINEPREFIX=$out/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono, no Gecko
/usr/lib/wine/wine64 wineboot --init >"$out/wineboot.log" 2>&1 || bad="wineboot failed, see $out/wineboot.log"
# No window manager runs: wine would wait 2 s for one to take each closed window away.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$out/wineboot.log" 2>&1 ||
    bad="reg add failed, see $out/wineboot.log"
check wine.prefix
printf '#!/bin/sh\nLD_LIBRARY_PATH=%s exec /usr/lib/wine/wine64 "%s"\n' "${shim%/*}" "$game/vornaxi.exe" >"$out/vornaxi-wine" &&
    chmod +x "$out/vornaxi-wine"
VORNAXI_GLSHIM_LOG=$out/shots/swaps GAME_ON_WINE=1 bash "$here/play_e2e.sh" "$out/vornaxi-wine" "$game" "$out/shots" |
    sed 's/^/    /'
((PIPESTATUS[0] == 0)) || bad="see the checks above and $out/shots"
check wine.plays-as-on-debian
synced "$out/shots/swaps" 1
check wine.swap-interval-at-60hz

# A fresh wine session on the primary monitor at 144 Hz: a window over it, at that mode, synced.
/usr/lib/wine/wineserver -w
change 0:1280x720_144*
BEFORE=$(outputs) GAME=$out/vornaxi-wine SHOTS=$out/shots-144 sw=1280 sh=720
fit 1280 720
mkdir -p "$SHOTS" && export VORNAXI_GLSHIM_LOG=$SHOTS/swaps
mode() { xrandr | awk '/^DUMMY0/ { on = 1; next } on && /\*/ { print $1, $2; exit }'; }
modes="before: $(mode)"
if WINEDEBUG=+wgl start_game "$game" 144hz; then
    eval "$(xdotool getwindowgeometry --shell "$WID")"
    [[ $X,$Y,${WIDTH}x$HEIGHT == 0,0,1280x720 ]] || bad+="window is ${WIDTH}x$HEIGHT at ($X,$Y); "
    sleep 2; as_before "while the game runs"; modes+=", while it plays: $(mode)"
    ends xdotool key Escape; as_before "after Escape"; modes+=", after: $(mode)"
fi
echo "    the primary monitor's mode $modes"
synced "$VORNAXI_GLSHIM_LOG" 1
grep -h 'wglSwapIntervalEXT\|Vornaxi:' "$LOG" | sort | uniq -c | sed 's/^/    /'
check wine.144hz-mode-kept-window-covers-it-synced
/usr/lib/wine/wineserver -k; rm -rf "$WINEPREFIX"  # 700 MB
finish
