# Installs the Debian packages named as arguments that are not installed yet.
# Sourced by the play, test, bench and package commands.
install_missing() {
    if ! command -v apt-get >/dev/null || ! command -v dpkg-query >/dev/null; then
        # Not Debian: the distribution's own packages must be there already.
        local needs="a C++17 compiler, CMake with make, and SFML 2.5 or 2.6 with its development files (and Xlib's)"
        local tools=(cmake make) code='#include <SFML/Graphics.hpp>\n#include <X11/Xlib.h>\n' tool
        if [[ " $* " == *" libgtest-dev "* ]]; then
            needs+=", GoogleTest, Google Benchmark, Xvfb with xvfb-run, xdotool, ImageMagick and valgrind"
            tools+=(xvfb-run xdotool import valgrind)
            code="#include <gmock/gmock.h>\n#include <benchmark/benchmark.h>\n$code"  # before Xlib's macros
        fi
        for tool in "${tools[@]}"; do command -v "$tool" >/dev/null || code=missing; done
        printf "$code" | "${CXX:-c++}" -std=c++17 -fsyntax-only -x c++ - 2>/dev/null && return 0
        echo "No apt-get here to install what is missing: install $needs with your distribution's package manager." >&2
        return 1
    fi
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The Debian release this machine runs (12, 13); the package's version and file name carry it.
DEBIAN_RELEASE="$(. /etc/os-release && echo "${VERSION_ID:-}")"

# The game's own build needs just these. The names are the same on Debian 12 and 13, and so
# are the rest below: SFML's runtime libraries, which differ (2.5 and 2.6), come in through
# libsfml-dev and go into the package's Depends through dpkg-shlibdeps.
BUILD_PACKAGES=(cmake make g++ libsfml-dev libx11-dev libxrandr-dev)

# Building the package needs these too: dpkg-shlibdeps, file (CPack asks it which files are
# programs) and the font it depends on.
PACKAGE_PACKAGES=("${BUILD_PACKAGES[@]}" dpkg-dev file fonts-dejavu-core)

# The test command needs all of these; they also make up the Debian 13 root it tests in. The
# desktops the game is played on last: GNOME's and KDE's Wayland compositors and XWayland, Xfce's
# window manager and panel, KDE's X11 one, Cinnamon's with the settings it cannot start without,
# and Xorg's dummy driver for their monitors, set with xrandr.
TEST_PACKAGES=("${PACKAGE_PACKAGES[@]}" libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool imagemagick x11-utils procps libgl1-mesa-dri valgrind
    lintian appstream desktop-file-utils
    mutter xwayland xfwm4 xfce4-panel kwin-x11 kwin-wayland muffin cinnamon-settings-daemon dbus-daemon wmctrl
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils)

# The Windows zip: the cross compiler, apt's source tools and the zip maker; its test adds wine.
WINDOWS_PACKAGES=(cmake make g++-mingw-w64-x86-64-win32 dpkg-dev zip)
WINDOWS_TEST_PACKAGES=("${WINDOWS_PACKAGES[@]}" unzip wine64)

# The browser's zip: Debian's emscripten (its clang, lld and binaryen come along), apt's source
# tools and the zip maker; its check adds the browser and Node.js, as the download page's does.
WEB_PACKAGES=(cmake make emscripten dpkg-dev zip)

# The Linux archive is built in a Debian 11 root, for the oldest C library in reach: these
# build FreeType, SFML and the game there. For another architecture (arm64) the root has both,
# the -dev packages are that architecture's (libx11-dev:arm64) and its cross compilers join.
LINUX_BUILD_PACKAGES=(g++ cmake make pkg-config libx11-dev libxrandr-dev libgl-dev libudev-dev)
cross_packages() {  # cross_packages ARCH PACKAGES...: the build packages for Debian architecture ARCH
    local pkgs=("${@:2}"); echo "${pkgs[@]/%-dev/-dev:$1}" crossbuild-essential-"$1" g++-"$(dpkg-architecture -a"$1" -qDEB_HOST_GNU_TYPE 2>/dev/null)"
}
# Its test plays it in Debian 11, 12 and 13 roots with only what a desktop has: no SFML, no
# FreeType, no compiler.
LINUX_PLAY_PACKAGES=(libgl1 libgl1-mesa-dri libx11-6 libxrandr2 libudev1)
# The download page's check: a real browser, and Node.js for the tools tools/npm pins (nodejs
# may bring npm along).
RELEASE_TEST_PACKAGES=(chromium nodejs $(command -v npm >/dev/null || echo npm) fonts-dejavu-core)
