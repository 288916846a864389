# Shared by play.sh and test.sh: installs the Debian packages the game needs when they are missing.

VANTOR_PACKAGES=(
    cmake g++ make pkg-config
    libsdl2-dev libsdl2-mixer-dev libglew-dev libglu1-mesa-dev libgl1-mesa-dri mesa-utils
    libfreeimage-dev libtinyxml2-dev libimgui-dev libstb-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core
    libmp3lame-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth
)

# Installs the named packages, or without names the game's, when they are missing.
vantor_install_packages() {
    local wanted=("$@")
    if [ ${#wanted[@]} -eq 0 ]; then
        wanted=("${VANTOR_PACKAGES[@]}")
    fi
    local missing=()
    local package
    for package in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

vantor_jobs() {
    nproc 2>/dev/null || echo 2
}

# clang and its sanitizer and libFuzzer runtimes, for scripts/fuzz.sh.
VANTOR_FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)

vantor_install_fuzz_packages() {
    vantor_install_packages "${VANTOR_FUZZ_PACKAGES[@]}"
}
