# Installs what building, running and testing Velmo needs from Debian's
# packages, only when something is missing. Sourced by run.sh and test.sh.

VELMO_PACKAGES=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-qpa-plugins qt6-translations-l10n libfontconfig-dev libass-dev fonts-nanum libswscale-dev libxcb1-dev libxcb-shm0-dev
    libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
    gstreamer1.0-plugins-ugly gstreamer1.0-libav gstreamer1.0-tools
    ffmpeg pulseaudio xvfb xauth xdotool x11-utils python3 desktop-file-utils libx11-dev libxtst-dev dbus
    weston qt6-wayland
    mkvtoolnix
    clang libclang-rt-14-dev llvm
)

velmo_install_deps() {
    local missing=()
    local pkg
    for pkg in "${VELMO_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
