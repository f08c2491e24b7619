# Installs the Debian packages named as arguments that are not installed yet.
# Sourced by the play, test, bench and package commands.
install_missing() {
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

# The game's own build needs just these.
BUILD_PACKAGES=(cmake make g++ libsfml-dev libx11-dev)

# Building the package needs these too: dpkg-shlibdeps and the font it depends on.
PACKAGE_PACKAGES=("${BUILD_PACKAGES[@]}" dpkg-dev fonts-dejavu-core)
