#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need,
# asking apt only for what is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    clang libclang-rt-14-dev llvm          # sanitizer build and libFuzzer targets
    libjpeg62-turbo-dev libjpeg-turbo-progs libgif-dev libpng-dev libwebp-dev libexif-dev
    libgtest-dev libgmock-dev libbenchmark-dev time
    qt6-base-dev libgl-dev                 # the window and the asset tool
    libfreetype-dev fonts-dejavu-core      # the screen font, drawn by the program itself
    xvfb xdotool                           # the window tests under a real X server
    nlohmann-json3-dev                     # edit recipes
    dpkg-dev desktop-file-utils appstream groff-base  # the Debian package and its checks
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
