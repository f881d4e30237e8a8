# Debian packages of the build, of the tests and of the Debian package, and an
# installer that fetches only what is missing. Sourced by ./run, ./test and ./package.

BUILD_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-svg-dev qt6-tools-dev libglib2.0-dev
    libgl-dev fonts-liberation fontconfig libbenchmark-dev libcups2-dev
    qt6-translations-l10n
    libhwy-dev libsleef-dev
    nlohmann-json3-dev libgdal-dev qt6-pdf-dev
)
# The NumPy peer that bench/compare.sh times the engine against.
BENCH_PACKAGES=(python3-numpy)
TEST_PACKAGES=(
    xvfb xauth x11-utils xdotool poppler-utils xdg-utils shared-mime-info desktop-file-utils appstream
    cups cups-client cups-bsd printer-driver-cups-pdf
    dbus-daemon at-spi2-core libglib2.0-bin
    clang libclang-rt-14-dev clang-format
    python3-jsonschema
)
# The web edition (web/): the engine built with emscripten (Highway and nlohmann-json
# headers), bundled and tested with node, served with Python's http.server, tested in
# Chromium (headless) with its printed page read back by poppler.
WEB_PACKAGES=(
    emscripten libhwy-dev nlohmann-json3-dev nodejs python3 chromium poppler-utils
)
# ./package: cpack's DEB generator with dpkg-shlibdeps and the hardening flags, and the
# checkers of the result; packaging/try-on-clean-debian.sh also needs debootstrap.
PACKAGE_PACKAGES=(
    dpkg-dev file binutils lintian desktop-file-utils appstream debootstrap
)

install_missing_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    # An installation that was cut off earlier (a machine switched off mid-way) leaves
    # dpkg refusing every further install until it is finished; finishing is a no-op otherwise.
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" dpkg --configure -a
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# npm comes with some builds of nodejs and as Debian's own package with Debian's.
install_npm_if_missing() {
    command -v npm >/dev/null && return 0
    install_missing_packages npm
}
